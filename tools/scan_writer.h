#pragma once

#include "output_buffer.h"
#include "scan_options.h"

#include "listing/cookie_records.h"
#include "platform/filesystem.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace listing {
class ResultTable;
struct ListingOutcome;
} // namespace listing

namespace scan {

// One file the scan listed, valid during the call that receives it.
struct ListedFile {
    int number;            // its row number
    std::string_view file; // its real name: native bytes, not always UTF-8
    std::string_view name; // the table's texts (CP932): its name without ".txt",
    std::string_view url;  // line 3
    std::string_view info; // and line 2
    std::uint64_t size;    // its size in bytes, as read
    // Its whole text, as read once by the scan, when the writer needs it
    // (needsText()); empty otherwise.
    std::string_view text;
    platform::FileTimes times; // its own times when it was read
    // With --profiles: the user's profile and the cookie folder relative to
    // the volume's root (native bytes); empty otherwise.
    std::string_view profile = {};
    std::string_view folder = {};
};

// How the scan ended, for the end of the output.
struct ScanEnd {
    const listing::ResultTable &table;
    const listing::ListingOutcome &outcome; // its status text and caption
    std::string_view folder;                // as given: native bytes, not always UTF-8
    int count;                              // the files listed
    bool completed;                         // false when the scan stopped early or could not list the folder
    std::string_view profile = {}; // with --profiles, at the end of each folder: its profile
};

// What the writers are asked for.
struct WriterOptions {
    bool cookies = false;  // one row per cookie
    bool profiles = false; // rows name their profile and folder; folderEnd() comes after each folder
};

// Writes the output of one scan in one format: each listed file as the scan
// lists it, then the end once the scan is over, whether it completed or not.
// Either throws when the output cannot be written.
class ScanWriter {
public:
    virtual ~ScanWriter() = default;

    // Whether file() reads the files' texts; a writer that needs only their
    // sizes lets them go unkept.
    virtual bool needsText() const = 0;
    virtual void file(const ListedFile &file) = 0;
    // With --profiles, after the files of each cookie folder (`end.folder`
    // relative to the root), before the next folder's.
    virtual void folderEnd(const ScanEnd & /*end*/) {}
    // Writes what remains (the table, the status, the closing of a JSON
    // document) and flushes. Called once.
    virtual void end(const ScanEnd &end) = 0;
};

std::unique_ptr<ScanWriter> makeTsvWriter(OutputBuffer &out, WriterOptions options);
std::unique_ptr<ScanWriter> makeCsvWriter(OutputBuffer &out, WriterOptions options);
std::unique_ptr<ScanWriter> makeJsonWriter(OutputBuffer &out, WriterOptions options);
// The cookies as a Netscape cookie file (cookies.txt), for curl, wget and
// the like.
std::unique_ptr<ScanWriter> makeNetscapeWriter(OutputBuffer &out, WriterOptions options);

// A file's time as ISO 8601 UTC, as the cookies' times are written, appended
// to `out`; nothing when unknown.
void appendFileTime(std::string &out, std::uint64_t fileTime);

// Where a listed file is, for a warning: its name, after its folder with
// --profiles (native bytes).
std::string placeOf(const ListedFile &file);

// Runs `writer` on a thread of its own, so that making the output of one
// file overlaps reading the next. Each file is copied on (its text only when
// the writer needs it); a file whose text is large is written on the
// caller's thread instead, once the files before it are written, so that it
// is never held twice. end() waits for every file to be written, then ends
// `writer` on the caller's thread. A failure of `writer` comes back as an
// exception from a later file() or from end(), which still ends `writer`
// first; files after it are dropped.
std::unique_ptr<ScanWriter> makeBackgroundWriter(std::unique_ptr<ScanWriter> writer);

// Decodes the cookies of each file for the writers, one at a time (a big
// file may hold a great many), and warns on standard error about a file that
// strays from the run of cookie records.
class FileCookies {
public:
    // Checks `file`'s bytes, and warns when they stray from the format.
    const listing::CookieFormatProblem &check(const ListedFile &file);
    const listing::CookieFormatProblem &problem() const { return m_problem; }

    // Hands each cookie of the file just checked to `visit`, in order: the
    // whole records before the line where it strays, if it does. Each is
    // valid during its call.
    template <typename Visit> void forEach(const ListedFile &file, Visit &&visit) const
    {
        listing::CookieRecordReader reader(file.text);
        listing::CookieRecord cookie;
        while (reader.next(cookie))
            visit(cookie);
    }

private:
    listing::CookieFormatProblem m_problem;
};

} // namespace scan
