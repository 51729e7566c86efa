// JSON output: one object,
//
//   {"files":[
//   {"number":1,"file":"...","name":"...","url":"...","info":"...","size":123},
//   ...
//   ],
//   "status":"...","caption":"..."}
//
// one file per line. With --cookies each file also has "cookies", an array
// of {"name","value","host","path","secure","httponly","expires","created"},
// and, for a file that is no run of cookie records, an empty array and
// "cookies_error". A real file name that is not UTF-8 shows with U+FFFD in
// "file" and whole, in hexadecimal, in "file_hex" (absent otherwise).
//
// Every value is written by nlohmann::json. The files are written as the scan
// lists them, so only the brackets and commas between them are ours: the
// whole document never has to sit in memory, whatever the number of files.

#include "scan_writer.h"
#include "text_escape.h"

#include "listing/cookie_entry.h"
#include "listing/view_state.h"
#include "platform/cp932.h"

#include <nlohmann/json.hpp>

namespace scan {
namespace {

using Json = nlohmann::ordered_json;
using platform::cp932::toUtf8;

class JsonWriter : public ScanWriter {
public:
    JsonWriter(OutputBuffer &out, bool cookies) : m_out(out), m_cookies(cookies) { m_out.text() += "{\"files\":["; }

    void file(const ListedFile &file) override
    {
        Json record;
        record["number"] = file.number;
        if (platform::cp932::isValidUtf8(file.file)) {
            record["file"] = file.file;
        } else {
            record["file"] = utf8ForDisplay(file.file);
            record["file_hex"] = hexBytes(file.file);
        }
        record["name"] = toUtf8(file.entry.FileName);
        record["url"] = toUtf8(file.entry.Url);
        record["info"] = toUtf8(file.entry.Info);
        record["size"] = file.bytes.size();
        if (m_cookies)
            addCookies(record, file);

        std::string &out = m_out.text();
        out += m_first ? "\n" : ",\n";
        m_first = false;
        out += record.dump();
        m_out.flushIfFull();
    }

    void end(const listing::ResultTable &, const listing::ViewState &view) override
    {
        std::string &out = m_out.text();
        out += m_first ? "],\n\"status\":" : "\n],\n\"status\":";
        out += Json(toUtf8(view.statusText)).dump();
        out += ",\"caption\":";
        out += Json(toUtf8(view.caption)).dump();
        out += "}\n";
        m_out.flush();
    }

private:
    void addCookies(Json &record, const ListedFile &file)
    {
        const std::vector<listing::CookieRecord> &records = m_decoder.decode(file);
        Json cookies = Json::array();
        for (const listing::CookieRecord &cookie : records) {
            Json item;
            item["name"] = toUtf8(cookie.name);
            item["value"] = toUtf8(cookie.value);
            item["host"] = toUtf8(cookie.host);
            item["path"] = toUtf8(cookie.path);
            item["secure"] = cookie.secure();
            item["httponly"] = cookie.httpOnly();
            item["expires"] = listing::fileTimeToIso8601(cookie.expires);
            item["created"] = listing::fileTimeToIso8601(cookie.created);
            cookies.push_back(std::move(item));
        }
        record["cookies"] = std::move(cookies);
        if (m_decoder.problem())
            record["cookies_error"] = m_decoder.problem().text();
    }

    OutputBuffer &m_out;
    bool m_cookies;
    bool m_first = true;
    FileCookies m_decoder;
};

} // namespace

std::unique_ptr<ScanWriter> makeJsonWriter(OutputBuffer &out, bool cookies)
{
    return std::make_unique<JsonWriter>(out, cookies);
}

} // namespace scan
