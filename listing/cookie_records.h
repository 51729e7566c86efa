#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The cookies inside one cookie file. The file is a run of records of nine
// lines each:
//
//   1 name    2 value    3 host/path    4 flags
//   5 expiry, low 32 bits    6 expiry, high 32 bits     (a Windows FILETIME)
//   7 creation, low 32 bits  8 creation, high 32 bits   (a Windows FILETIME)
//   9 "*"
//
// LF and CR LF end a line; a CR alone is part of the line, as the browser
// and the programs that load such files take it (the content pane, which
// shows the text, breaks lines there too, but a cookie must not be split by
// a byte the browser never writes as a line end). Numbers are unsigned
// decimal 32-bit values. Decoding guesses nothing past the first fault: a
// file that strays from this shape yields the whole records before the
// line where it strays, then that line and why (a file cut short by a
// browser or a copy keeps the cookies it holds whole).
namespace listing {

// One cookie. The texts are CP932 views into the decoded text, valid as long
// as that text is.
struct CookieRecord {
    static constexpr std::uint32_t kSecureFlag = 0x1;
    static constexpr std::uint32_t kHttpOnlyFlag = 0x2000;

    std::string_view name;
    std::string_view value;
    std::string_view host; // line 3 up to its first "/"
    std::string_view path; // line 3 from its first "/" on
    std::uint32_t flags = 0;
    std::uint64_t expires = 0; // FILETIME: 100 ns steps since 1601-01-01 UTC
    std::uint64_t created = 0; // FILETIME

    bool secure() const { return (flags & kSecureFlag) != 0; }
    bool httpOnly() const { return (flags & kHttpOnlyFlag) != 0; }
};

// Why a text is not a run of cookie records.
enum class CookieFormatError {
    None,
    Empty,            // no line at all
    IncompleteRecord, // the text ends inside a record
    NoPath,           // line 3 of a record holds no "/"
    NoHost,           // line 3 of a record starts with its "/": a cookie for no host
    NotANumber,       // lines 4 to 8 of a record: not an unsigned 32-bit decimal
    NoEndMark,        // line 9 of a record is not "*"
};

struct CookieFormatProblem {
    CookieFormatError error = CookieFormatError::None;
    int line = 0;    // from 1; the line where the text strays from the format
    int records = 0; // the whole records before that line, which are kept

    explicit operator bool() const { return error != CookieFormatError::None; }
    // In English, e.g. "line 5: not a number".
    std::string text() const;
};

// Reads the records of a text one at a time, so that the cookies of a big
// file need not all be held at once. It stops at the first problem, after
// the records before it, which are whole and valid.
class CookieRecordReader {
public:
    explicit CookieRecordReader(std::string_view text);

    // The next record into `record`; false at the end of the text or at a
    // problem, which problem() then tells.
    bool next(CookieRecord &record);
    const CookieFormatProblem &problem() const { return m_problem; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 0;
    CookieFormatProblem m_problem;
};

// Whether `text` is a run of cookie records: its first problem, or none.
CookieFormatProblem checkCookieRecords(std::string_view text);

// Lines 1 to lines.size() of `text` as the records have them (LF and CR LF
// end a line; a CR alone does not), each whole; a line the text does not
// have is empty.
void recordLines(std::string_view text, std::span<std::string_view> lines);

// A FILETIME as an ISO 8601 UTC time, appended to `out`:
// "2026-12-07T09:50:42Z", with seven digits of fraction (".1234567") only
// when the time is not a whole second. Years past 9999 take a "+" and five
// digits, as ISO 8601 extends them.
void appendFileTimeIso8601(std::string &out, std::uint64_t fileTime);

// A FILETIME as whole seconds since 1970-01-01 UTC, rounded down (negative
// before 1970), as Unix tools count time.
constexpr std::int64_t fileTimeUnixSeconds(std::uint64_t fileTime)
{
    constexpr std::uint64_t kTicksPerSecond = 10'000'000;
    constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
    return static_cast<std::int64_t>(fileTime / kTicksPerSecond) - kSecondsFrom1601To1970;
}

} // namespace listing
