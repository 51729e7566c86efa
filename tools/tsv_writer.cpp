// Tab-separated output. Without --cookies: the table as the window shows it
// (header row first, columns 0 to 8), then the fitted column widths, the
// status text and the caption. With --cookies: a header line, then one line
// per cookie; its fields escaped by appendTsvField().

#include "output_text.h"
#include "scan_writer.h"

#include "listing/listing_outcome.h"
#include "listing/result_table.h"
#include "platform/cp932.h"

namespace scan {
namespace {

using platform::cp932::toUtf8;

class TableWriter : public ScanWriter {
public:
    explicit TableWriter(OutputBuffer &out) : m_out(out) {}

    bool needsText() const override { return false; }
    // The table is whole only at the end: its widths are fitted then.
    void file(const ListedFile &) override {}

    // Every cell escaped as a cookie field is: a tab in a cell cannot make
    // a tenth column, nor a control byte reach the terminal.
    void end(const ScanEnd &end) override
    {
        const listing::ResultTable &table = end.table;
        std::string &out = m_out.text();
        listing::ResultTable::Cells cells;
        for (int row = 0; row < table.rowCount(); ++row) {
            table.rowCells(row, cells);
            for (int column = 0; column < listing::kGridColumnCount; ++column) {
                if (column > 0)
                    out += '\t';
                appendTsvField(out, cp932AsUtf8(cells[column], m_scratch));
            }
            out += '\n';
            m_out.flushIfFull();
        }
        out += "widths:";
        for (int column = 0; column < listing::kGridColumnCount; ++column)
            out += " " + std::to_string(table.columnWidth(column));
        out += "\nstatus:";
        appendForPeople(out, toUtf8(end.outcome.statusText));
        out += "\ncaption:";
        appendForPeople(out, toUtf8(end.outcome.caption));
        out += '\n';
        m_out.flush();
    }

private:
    OutputBuffer &m_out;
    std::string m_scratch;
};

class CookieTsvWriter : public ScanWriter {
public:
    explicit CookieTsvWriter(OutputBuffer &out) : m_out(out)
    {
        m_out.text() += "number\tfile\tname\tvalue\thost\tpath\tsecure\thttponly\texpires\tcreated\terror\n";
    }

    bool needsText() const override { return true; }

    void file(const ListedFile &file) override
    {
        m_cookies.check(file);
        std::string &out = m_out.text();
        m_cookies.forEach(file, [&](const listing::CookieRecord &cookie) {
            startRow(out, file);
            for (const std::string_view text : {cookie.name, cookie.value, cookie.host, cookie.path}) {
                forEachUtf8Piece(text, m_scratch, [&](std::string_view piece) {
                    appendTsvField(out, piece);
                    m_out.flushIfFull();
                });
                out += '\t';
            }
            out += cookie.secure() ? "true\t" : "false\t";
            out += cookie.httpOnly() ? "true\t" : "false\t";
            listing::appendFileTimeIso8601(out, cookie.expires);
            out += '\t';
            listing::appendFileTimeIso8601(out, cookie.created);
            out += "\t\n";
            m_out.flushIfFull();
        });
        // After the whole cookies before it, where the file strays.
        if (m_cookies.problem()) {
            startRow(out, file);
            out += "\t\t\t\t\t\t\t\t";
            appendTsvField(out, m_cookies.problem().text());
            out += '\n';
        }
        m_out.flushIfFull();
    }

    void end(const ScanEnd &) override { m_out.flush(); }

private:
    static void startRow(std::string &out, const ListedFile &file)
    {
        out += std::to_string(file.number);
        out += '\t';
        appendTsvField(out, file.file);
        out += '\t';
    }

    OutputBuffer &m_out;
    FileCookies m_cookies;
    std::string m_scratch;
};

} // namespace

std::unique_ptr<ScanWriter> makeTsvWriter(OutputBuffer &out, bool cookies)
{
    if (cookies)
        return std::make_unique<CookieTsvWriter>(out);
    return std::make_unique<TableWriter>(out);
}

} // namespace scan
