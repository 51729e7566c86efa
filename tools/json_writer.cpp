// JSON output: one object,
//
//   {"files":[
//   {"number":1,"file":"...","name":"...","url":"...","info":"...","size":123},
//   ...
//   ],"status":"...","caption":"...","summary":{"folder":"...","count":12,"completed":true}}
//
// one file per line. With --cookies each file also has "cookies", an array
// of {"name","value","host","path","secure","httponly","expires",
// "expires_unix","created","created_unix"}, and, for a file that is no run
// of cookie records, an empty array and "cookies_error". A real file name
// (or folder) that is not UTF-8 shows with U+FFFD in "file" ("folder") and
// whole, in hexadecimal, in "file_hex" ("folder_hex"; absent otherwise).
// Each file also has its own times, "file_written" and "file_created" (null
// when the file system keeps none).
//
// With --profiles each file begins with "profile" and "folder" (relative to
// the root), and the end is instead
//
//   ],"folders":[{"profile":"...","folder":"...","count":3,"completed":true},...],
//   "summary":{"folder":ROOT,"count":12,"completed":true}}
//
// one entry per cookie folder found, in the order listed, "completed" false
// for one that could not be listed or read to its end.
//
// RapidJSON's streaming writer writes it all, the document as the scan goes,
// so that it never has to sit in memory whatever the number of files. A
// failure in the middle of a file's record takes the record back out, so
// that the document still closes properly.

#include "output_text.h"
#include "scan_writer.h"

#include "listing/listing_outcome.h"
#include "platform/cp932.h"

#include <cstdlib>
#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace scan {
namespace {

// RapidJSON's own allocator hands a failed allocation on as a null pointer,
// which its buffers then write through. This one throws instead, and the
// buffers stay as they were, so that memory running out ends the scan like
// any other failure.
class Allocator {
public:
    static const bool kNeedFree = true;
    void *Malloc(std::size_t size)
    {
        if (size == 0)
            return nullptr;
        return checked(std::malloc(size));
    }
    void *Realloc(void *original, std::size_t, std::size_t newSize)
    {
        if (newSize == 0) {
            std::free(original);
            return nullptr;
        }
        return checked(std::realloc(original, newSize));
    }
    static void Free(void *p) { std::free(p); }

private:
    static void *checked(void *p)
    {
        if (!p)
            throw std::bad_alloc();
        return p;
    }
};

using Buffer = rapidjson::GenericStringBuffer<rapidjson::UTF8<>, Allocator>;

// Every text handed to the writer is UTF-8 by the time it gets there: CP932
// converted (U+FFFD for what does not decode), ASCII as it stands, a real
// file name only when it is well-formed, else its display form and its hex.
using Writer = rapidjson::Writer<Buffer, rapidjson::UTF8<>, rapidjson::UTF8<>, Allocator>;

void check(bool written)
{
    if (!written)
        throw std::runtime_error("the JSON writer refused a value");
}

void writeText(Writer &writer, std::string_view utf8)
{
    if (utf8.size() > std::numeric_limits<rapidjson::SizeType>::max())
        throw std::length_error("a text too long for the JSON output");
    check(writer.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size())));
}

void writeKey(Writer &writer, std::string_view key)
{
    check(writer.Key(key.data(), static_cast<rapidjson::SizeType>(key.size())));
}

// Appends UTF-8 `text` as the inside of a JSON string, escaped as the
// writer escapes: a quote and a backslash with a backslash, control
// characters as \b, \t, \n, \f, \r or \u00XX.
void appendJsonEscaped(Buffer &out, std::string_view text)
{
    constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && c != '"' && c != '\\') {
            out.Put(c);
            continue;
        }
        out.Put('\\');
        switch (c) {
        case '"':
        case '\\':
            out.Put(c);
            break;
        case '\b':
            out.Put('b');
            break;
        case '\t':
            out.Put('t');
            break;
        case '\n':
            out.Put('n');
            break;
        case '\f':
            out.Put('f');
            break;
        case '\r':
            out.Put('r');
            break;
        default:
            for (const char digit : {'u', '0', '0', kHex[byte >> 4], kHex[byte & 0xF]})
                out.Put(digit);
        }
    }
}

// A native name (of a file or a folder) under `key`: as it stands when it
// is UTF-8, else its display form and, under key + "_hex", its bytes.
void writeName(Writer &writer, std::string_view key, std::string_view name)
{
    writeKey(writer, key);
    if (platform::cp932::isValidUtf8(name)) {
        writeText(writer, name);
        return;
    }
    writeText(writer, utf8ForDisplay(name));
    writeKey(writer, std::string(key) + "_hex");
    writeText(writer, hexBytes(name));
}

class JsonWriter : public ScanWriter {
public:
    JsonWriter(OutputBuffer &out, WriterOptions options)
        : m_out(out), m_cookies(options.cookies), m_profiles(options.profiles), m_document(m_documentText)
    {
        m_document.StartObject();
        writeKey(m_document, "files");
        m_document.StartArray();
    }

    bool needsText() const override { return m_cookies; }

    void file(const ListedFile &file) override
    {
        if (m_cookies)
            m_decoder.check(file);
        // The document takes the line break as the value and writes the
        // comma before it; the record writer then writes the record itself
        // right after, into the same text. Should that fail half-way, the
        // text goes back to before the comma, and the document, which has
        // counted a value without writing more for it, still closes right.
        // (Unless a long text had already gone out piece by piece: the
        // failure then can only be the output's, which is broken anyway.)
        const std::size_t before = m_documentText.GetSize();
        m_recordPartlyOut = false;
        try {
            check(m_document.RawValue("\n", 1, rapidjson::kObjectType));
            m_writer.Reset(m_documentText);
            writeRecord(file);
        } catch (...) {
            if (!m_recordPartlyOut)
                m_documentText.Pop(m_documentText.GetSize() - before);
            throw;
        }
        moveOut();
        m_out.flushIfFull();
    }

    void folderEnd(const ScanEnd &end) override
    {
        m_folders.push_back({std::string(end.profile), std::string(end.folder), end.count, end.completed});
    }

    void end(const ScanEnd &end) override
    {
        m_documentText.Put('\n');
        m_document.EndArray();
        if (m_profiles)
            writeFolders();
        else
            writeWindowTexts(end);
        writeKey(m_document, "summary");
        m_document.StartObject();
        writeName(m_document, "folder", end.folder);
        writeKey(m_document, "count");
        m_document.Int(end.count);
        writeKey(m_document, "completed");
        m_document.Bool(end.completed);
        m_document.EndObject();
        m_document.EndObject();
        m_documentText.Put('\n');
        moveOut();
        m_out.flush();
    }

private:
    struct FolderSummary {
        std::string profile, folder;
        int count;
        bool completed;
    };

    void writeWindowTexts(const ScanEnd &end)
    {
        writeKey(m_document, "status");
        writeText(m_document, platform::cp932::toUtf8(end.outcome.statusText));
        writeKey(m_document, "caption");
        writeText(m_document, platform::cp932::toUtf8(end.outcome.caption));
    }

    void writeFolders()
    {
        writeKey(m_document, "folders");
        m_document.StartArray();
        for (const FolderSummary &folder : m_folders) {
            m_document.StartObject();
            writeName(m_document, "profile", folder.profile);
            writeName(m_document, "folder", folder.folder);
            writeKey(m_document, "count");
            m_document.Int(folder.count);
            writeKey(m_document, "completed");
            m_document.Bool(folder.completed);
            m_document.EndObject();
        }
        m_document.EndArray();
    }

    void moveOut()
    {
        m_out.text().append(m_documentText.GetString(), m_documentText.GetSize());
        m_documentText.Clear();
    }

    void writeCp932(std::string_view text)
    {
        if (text.size() <= kPieceBytes) {
            writeText(m_writer, cp932AsUtf8(text, m_scratch));
            return;
        }
        // A long text (a cookie's value may be as long as its file) goes
        // out piece by piece, escaped here as the writer escapes: the writer
        // counts it as a value from its opening quote.
        check(m_writer.RawValue("\"", 1, rapidjson::kStringType));
        forEachUtf8Piece(text, m_scratch, [&](std::string_view piece) {
            appendJsonEscaped(m_documentText, piece);
            moveOut();
            m_recordPartlyOut = true;
            m_out.flushIfFull();
        });
        m_documentText.Put('"');
    }

    void writeRecord(const ListedFile &file)
    {
        m_writer.StartObject();
        if (m_profiles) {
            writeName(m_writer, "profile", file.profile);
            writeName(m_writer, "folder", file.folder);
        }
        writeKey(m_writer, "number");
        m_writer.Int(file.number);
        writeName(m_writer, "file", file.file);
        writeKey(m_writer, "name");
        writeCp932(file.name);
        writeKey(m_writer, "url");
        writeCp932(file.url);
        writeKey(m_writer, "info");
        writeCp932(file.info);
        writeKey(m_writer, "size");
        m_writer.Uint64(file.size);
        writeKey(m_writer, "file_written");
        writeFileTime(file.times.written);
        writeKey(m_writer, "file_created");
        writeFileTime(file.times.created);
        if (m_cookies)
            writeCookies(file);
        m_writer.EndObject();
    }

    void writeCookies(const ListedFile &file)
    {
        writeKey(m_writer, "cookies");
        m_writer.StartArray();
        m_decoder.forEach(file, [&](const listing::CookieRecord &cookie) {
            m_writer.StartObject();
            writeKey(m_writer, "name");
            writeCp932(cookie.name);
            writeKey(m_writer, "value");
            writeCp932(cookie.value);
            writeKey(m_writer, "host");
            writeCp932(cookie.host);
            writeKey(m_writer, "path");
            writeCp932(cookie.path);
            writeKey(m_writer, "secure");
            m_writer.Bool(cookie.secure());
            writeKey(m_writer, "httponly");
            m_writer.Bool(cookie.httpOnly());
            writeKey(m_writer, "expires");
            writeTime(cookie.expires);
            writeKey(m_writer, "expires_unix");
            m_writer.Int64(listing::fileTimeUnixSeconds(cookie.expires));
            writeKey(m_writer, "created");
            writeTime(cookie.created);
            writeKey(m_writer, "created_unix");
            m_writer.Int64(listing::fileTimeUnixSeconds(cookie.created));
            m_writer.EndObject();
            // The cookies of a file that holds a great many go out as they
            // come.
            if (m_documentText.GetSize() > kPieceBytes) {
                moveOut();
                m_recordPartlyOut = true;
                m_out.flushIfFull();
            }
        });
        m_writer.EndArray();
        if (m_decoder.problem()) {
            writeKey(m_writer, "cookies_error");
            writeText(m_writer, m_decoder.problem().text());
        }
    }

    void writeFileTime(std::uint64_t fileTime)
    {
        if (fileTime == 0)
            m_writer.Null();
        else
            writeTime(fileTime);
    }

    void writeTime(std::uint64_t fileTime)
    {
        m_time.clear();
        listing::appendFileTimeIso8601(m_time, fileTime);
        writeText(m_writer, m_time);
    }

    OutputBuffer &m_out;
    bool m_cookies;
    bool m_profiles;
    std::vector<FolderSummary> m_folders;
    bool m_recordPartlyOut = false; // a long text of the record has gone out
    Buffer m_documentText;          // moved to m_out after each file
    Writer m_document;              // the whole output
    Writer m_writer;                // one file's record at a time
    FileCookies m_decoder;
    std::string m_time;
    std::string m_scratch;
};

} // namespace

std::unique_ptr<ScanWriter> makeJsonWriter(OutputBuffer &out, WriterOptions options)
{
    return std::make_unique<JsonWriter>(out, options);
}

} // namespace scan
