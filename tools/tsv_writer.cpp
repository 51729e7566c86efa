// Tab-separated output. Without --cookies: the table as the window shows it
// (header row first, columns 0 to 8), then the fitted column widths, the
// status text and the caption. With --cookies: a header line, then one line
// per cookie; its fields escaped by appendTsvField(), the file's own times
// last.
//
// With --profiles every line starts with the profile and the folder
// relative to the root. The table then has one header line, and the data
// rows of each folder's table as its scan ends; the widths, the status and
// the caption, which belong to one window's table, are left out.

#include "output_text.h"
#include "scan_writer.h"

#include "listing/listing_outcome.h"
#include "listing/result_table.h"
#include "platform/cp932.h"

namespace scan {
namespace {

using platform::cp932::toUtf8;

void startProfileRow(std::string &out, std::string_view profile, std::string_view folder)
{
    appendTsvField(out, profile);
    out += '\t';
    appendTsvField(out, folder);
    out += '\t';
}

class TableWriter : public ScanWriter {
public:
    TableWriter(OutputBuffer &out, bool profiles) : m_out(out), m_profiles(profiles) {}

    bool needsText() const override { return false; }
    // The table is whole only at the end: its widths are fitted then.
    void file(const ListedFile &) override {}

    void folderEnd(const ScanEnd &end) override
    {
        // The header of the first folder's table heads them all.
        writeRows(end, m_headerWritten ? 1 : 0, end.profile, end.folder);
        m_headerWritten = true;
    }

    void end(const ScanEnd &end) override
    {
        if (m_profiles) {
            m_out.flush(); // every folder's rows are out already
            return;
        }
        writeRows(end, 0, {}, {});
        std::string &out = m_out.text();
        const listing::ResultTable &table = end.table;
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
    // Every cell escaped as a cookie field is: a tab in a cell cannot make
    // a tenth column, nor a control byte reach the terminal. With
    // --profiles the header names the two columns put before the table's.
    void writeRows(const ScanEnd &end, int firstRow, std::string_view profile, std::string_view folder)
    {
        const listing::ResultTable &table = end.table;
        std::string &out = m_out.text();
        listing::ResultTable::Cells cells;
        for (int row = firstRow; row < table.rowCount(); ++row) {
            if (m_profiles && row == 0)
                out += "profile\tfolder\t";
            else if (m_profiles)
                startProfileRow(out, profile, folder);
            table.rowCells(row, cells);
            for (int column = 0; column < listing::kGridColumnCount; ++column) {
                if (column > 0)
                    out += '\t';
                appendTsvField(out, cp932AsUtf8(cells[column], m_scratch));
            }
            out += '\n';
            m_out.flushIfFull();
        }
    }

    OutputBuffer &m_out;
    bool m_profiles;
    bool m_headerWritten = false;
    std::string m_scratch;
};

class CookieTsvWriter : public ScanWriter {
public:
    CookieTsvWriter(OutputBuffer &out, bool profiles) : m_out(out), m_profiles(profiles)
    {
        if (m_profiles)
            m_out.text() += "profile\tfolder\t";
        m_out.text() += "number\tfile\tname\tvalue\thost\tpath\tsecure\thttponly\texpires\tcreated\terror\t"
                        "file_written\tfile_created\n";
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
            out += '\t';
            endRow(out, file);
            m_out.flushIfFull();
        });
        // After the whole cookies before it, where the file strays.
        if (m_cookies.problem()) {
            startRow(out, file);
            out += "\t\t\t\t\t\t\t\t";
            appendTsvField(out, m_cookies.problem().text());
            endRow(out, file);
        }
        m_out.flushIfFull();
    }

    void end(const ScanEnd &) override { m_out.flush(); }

private:
    void startRow(std::string &out, const ListedFile &file) const
    {
        if (m_profiles)
            startProfileRow(out, file.profile, file.folder);
        out += std::to_string(file.number);
        out += '\t';
        appendTsvField(out, file.file);
        out += '\t';
    }

    // After the error column: the file's own times.
    static void endRow(std::string &out, const ListedFile &file)
    {
        out += '\t';
        appendFileTime(out, file.times.written);
        out += '\t';
        appendFileTime(out, file.times.created);
        out += '\n';
    }

    OutputBuffer &m_out;
    bool m_profiles;
    FileCookies m_cookies;
    std::string m_scratch;
};

} // namespace

std::unique_ptr<ScanWriter> makeTsvWriter(OutputBuffer &out, WriterOptions options)
{
    if (options.cookies)
        return std::make_unique<CookieTsvWriter>(out, options.profiles);
    return std::make_unique<TableWriter>(out, options.profiles);
}

} // namespace scan
