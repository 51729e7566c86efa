// Comma-separated output as RFC 4180 has it: a header line, CR LF after every
// line, fields quoted when they hold a comma or a quote. One line per listed
// file, or with --cookies one per cookie. A real file name that is not UTF-8
// shows with U+FFFD in "file" and whole, in hexadecimal, in "file_hex" (empty
// otherwise). The output is for spreadsheets: control characters are escaped
// and a field that a spreadsheet would run as a formula is kept as text
// (appendCsvField()); JSON gives the exact bytes. Each line ends with the
// file's own times, file_written and file_created (empty when the file
// system keeps none); with --profiles each starts with the profile and the
// folder relative to the root.

#include "output_text.h"
#include "scan_writer.h"

#include "platform/cp932.h"

namespace scan {
namespace {

class CsvWriter : public ScanWriter {
public:
    CsvWriter(OutputBuffer &out, WriterOptions options)
        : m_out(out), m_cookies(options.cookies), m_profiles(options.profiles)
    {
        if (m_profiles)
            m_out.text() += "profile,folder,";
        m_out.text() += m_cookies ? "number,file,file_hex,name,value,host,path,secure,httponly,expires,created,error,"
                                  : "number,file,file_hex,name,url,info,size,";
        m_out.text() += "file_written,file_created\r\n";
    }

    bool needsText() const override { return m_cookies; }

    void file(const ListedFile &file) override
    {
        if (m_cookies)
            writeCookies(file);
        else
            writeFile(file);
        m_out.flushIfFull();
    }

    void end(const ScanEnd &) override { m_out.flush(); }

private:
    void startRow(std::string &out, const ListedFile &file)
    {
        if (m_profiles) {
            for (const std::string_view text : {file.profile, file.folder}) {
                appendCsvField(out, platform::cp932::isValidUtf8(text) ? std::string(text) : utf8ForDisplay(text),
                               m_field);
                out += ',';
            }
        }
        out += std::to_string(file.number);
        out += ',';
        if (platform::cp932::isValidUtf8(file.file)) {
            appendCsvField(out, file.file, m_field);
            out += ',';
        } else {
            appendCsvField(out, utf8ForDisplay(file.file), m_field);
            out += ',';
            out += hexBytes(file.file);
        }
        out += ',';
    }

    void writeFile(const ListedFile &file)
    {
        std::string &out = m_out.text();
        startRow(out, file);
        for (const std::string_view text : {file.name, file.url, file.info}) {
            appendCsvField(out, cp932AsUtf8(text, m_scratch), m_field);
            out += ',';
        }
        out += std::to_string(file.size);
        endRow(out, file);
    }

    void endRow(std::string &out, const ListedFile &file)
    {
        for (const std::uint64_t time : {file.times.written, file.times.created}) {
            out += ',';
            m_time.clear();
            appendFileTime(m_time, time);
            out += m_time;
        }
        out += "\r\n";
    }

    // A cookie's text, which may be as long as its file, converted and
    // written out piece by piece when long. Whether it needs quotes shows
    // in the CP932 bytes already: no trail byte is a comma or a quote.
    void appendCp932Field(std::string &out, std::string_view cp932)
    {
        if (cp932.size() <= kPieceBytes) {
            appendCsvField(out, cp932AsUtf8(cp932, m_scratch), m_field);
            return;
        }
        const bool quoted = cp932.find_first_of(",\"") != std::string_view::npos;
        if (quoted)
            out += '"';
        bool first = true;
        forEachUtf8Piece(cp932, m_scratch, [&](std::string_view piece) {
            m_field.clear();
            if (first && startsLikeAFormula(piece))
                m_field += '\'';
            first = false;
            appendForPeople(m_field, piece);
            for (const char byte : m_field) {
                if (byte == '"')
                    out += '"';
                out += byte;
            }
            m_out.flushIfFull();
        });
        if (quoted)
            out += '"';
    }

    void writeCookies(const ListedFile &file)
    {
        m_decoder.check(file);
        std::string &out = m_out.text();
        m_decoder.forEach(file, [&](const listing::CookieRecord &cookie) {
            startRow(out, file);
            for (const std::string_view text : {cookie.name, cookie.value, cookie.host, cookie.path}) {
                appendCp932Field(out, text);
                out += ',';
            }
            out += cookie.secure() ? "true," : "false,";
            out += cookie.httpOnly() ? "true," : "false,";
            // A year after 9999 starts with "+".
            for (const std::uint64_t time : {cookie.expires, cookie.created}) {
                m_time.clear();
                listing::appendFileTimeIso8601(m_time, time);
                appendCsvField(out, m_time, m_field);
                out += ',';
            }
            // The error column, empty.
            endRow(out, file);
            m_out.flushIfFull();
        });
        // After the whole cookies before it, where the file strays.
        if (m_decoder.problem()) {
            startRow(out, file);
            out += ",,,,,,,,";
            appendCsvField(out, m_decoder.problem().text(), m_field);
            endRow(out, file);
        }
    }

    OutputBuffer &m_out;
    bool m_cookies;
    bool m_profiles;
    FileCookies m_decoder;
    std::string m_scratch;
    std::string m_field;
    std::string m_time;
};

} // namespace

std::unique_ptr<ScanWriter> makeCsvWriter(OutputBuffer &out, WriterOptions options)
{
    return std::make_unique<CsvWriter>(out, options);
}

} // namespace scan
