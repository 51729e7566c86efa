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
// The usual record is not built anew for each file: its objects stay, with
// their keys and strings, and only the values change, which keeps the
// library's allocating to the cookies beyond the most any file had so far.

#include "scan_writer.h"
#include "text_escape.h"

#include "listing/view_state.h"
#include "platform/cp932.h"

#include <nlohmann/json.hpp>

namespace scan {
namespace {

using Json = nlohmann::ordered_json;
using platform::cp932::toUtf8;

// The value of an object's member `index`, in the order the members were
// made, found without comparing keys.
Json &valueAt(Json::object_t &object, std::size_t index)
{
    return (object.begin() + static_cast<std::ptrdiff_t>(index))->second;
}

// Sets a string value in place, keeping its storage.
void setText(Json &value, std::string_view cp932)
{
    std::string &text = value.get_ref<std::string &>();
    bool ascii = true;
    for (const char c : cp932)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        text.assign(cp932);
    else
        text = toUtf8(cp932);
}

// One cookie object, its values reachable without looking up their keys.
class CookieObject {
public:
    CookieObject()
        : m_json({{"name", ""},
                  {"value", ""},
                  {"host", ""},
                  {"path", ""},
                  {"secure", false},
                  {"httponly", false},
                  {"expires", ""},
                  {"created", ""}})
    {
    }

    // Moves keep the object's values where they are: only the pointer to
    // its storage moves.
    Json &json() { return m_json; }

    static void set(Json &json, const listing::CookieRecord &cookie)
    {
        Json::object_t &object = json.get_ref<Json::object_t &>();
        setText(valueAt(object, 0), cookie.name);
        setText(valueAt(object, 1), cookie.value);
        setText(valueAt(object, 2), cookie.host);
        setText(valueAt(object, 3), cookie.path);
        valueAt(object, 4).get_ref<bool &>() = cookie.secure();
        valueAt(object, 5).get_ref<bool &>() = cookie.httpOnly();
        std::string &expires = valueAt(object, 6).get_ref<std::string &>();
        expires.clear();
        listing::appendFileTimeIso8601(expires, cookie.expires);
        std::string &created = valueAt(object, 7).get_ref<std::string &>();
        created.clear();
        listing::appendFileTimeIso8601(created, cookie.created);
    }

private:
    Json m_json;
};

class JsonWriter : public ScanWriter {
public:
    JsonWriter(OutputBuffer &out, bool cookies)
        : m_out(out), m_cookies(cookies),
          m_record({{"number", 0}, {"file", ""}, {"name", ""}, {"url", ""}, {"info", ""}, {"size", 0u}})
    {
        if (m_cookies)
            m_record["cookies"] = Json::array();
        m_out.text() += "{\"files\":[";
    }

    void file(const ListedFile &file) override
    {
        const std::vector<listing::CookieRecord> *cookies = m_cookies ? &m_decoder.decode(file) : nullptr;
        std::string &out = m_out.text();
        out += m_first ? "\n" : ",\n";
        m_first = false;
        if (platform::cp932::isValidUtf8(file.file) && !(m_cookies && m_decoder.problem()))
            out += usualRecord(file, cookies);
        else
            out += unusualRecord(file, cookies);
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
    // A file with a UTF-8 name and, when asked for, cookies that decode: the
    // kept record with its values set.
    std::string usualRecord(const ListedFile &file, const std::vector<listing::CookieRecord> *cookies)
    {
        Json::object_t &record = m_record.get_ref<Json::object_t &>();
        valueAt(record, 0).get_ref<Json::number_integer_t &>() = file.number;
        valueAt(record, 1).get_ref<std::string &>().assign(file.file);
        setText(valueAt(record, 2), file.name);
        setText(valueAt(record, 3), file.url);
        setText(valueAt(record, 4), file.info);
        valueAt(record, 5).get_ref<Json::number_unsigned_t &>() = file.bytes.size();
        if (!cookies)
            return m_record.dump();

        Json::array_t &array = valueAt(record, 6).get_ref<Json::array_t &>();
        // Objects beyond this file's cookies wait aside; more come back from
        // there or are made.
        while (array.size() > cookies->size()) {
            m_spareCookies.push_back(std::move(array.back()));
            array.pop_back();
        }
        while (array.size() < cookies->size()) {
            if (m_spareCookies.empty()) {
                array.push_back(CookieObject().json());
            } else {
                array.push_back(std::move(m_spareCookies.back()));
                m_spareCookies.pop_back();
            }
        }
        for (std::size_t i = 0; i < cookies->size(); ++i)
            CookieObject::set(array[i], (*cookies)[i]);
        return m_record.dump();
    }

    // Any other file: a record of its own, made for it.
    std::string unusualRecord(const ListedFile &file, const std::vector<listing::CookieRecord> *cookies)
    {
        Json record;
        record["number"] = file.number;
        if (platform::cp932::isValidUtf8(file.file)) {
            record["file"] = file.file;
        } else {
            record["file"] = utf8ForDisplay(file.file);
            record["file_hex"] = hexBytes(file.file);
        }
        record["name"] = toUtf8(file.name);
        record["url"] = toUtf8(file.url);
        record["info"] = toUtf8(file.info);
        record["size"] = file.bytes.size();
        if (cookies) {
            Json array = Json::array();
            for (const listing::CookieRecord &cookie : *cookies) {
                CookieObject object;
                CookieObject::set(object.json(), cookie);
                array.push_back(std::move(object.json()));
            }
            record["cookies"] = std::move(array);
            if (m_decoder.problem())
                record["cookies_error"] = m_decoder.problem().text();
        }
        return record.dump();
    }

    OutputBuffer &m_out;
    bool m_cookies;
    bool m_first = true;
    FileCookies m_decoder;
    Json m_record;
    std::vector<Json> m_spareCookies;
};

} // namespace

std::unique_ptr<ScanWriter> makeJsonWriter(OutputBuffer &out, bool cookies)
{
    return std::make_unique<JsonWriter>(out, cookies);
}

} // namespace scan
