#include "cookie_records.h"

#include "platform/find_byte.h"

#include <array>
#include <charconv>

namespace listing {
namespace {

constexpr int kRecordLines = 9;

// Hands out the lines of a text one by one; LF and CR LF end one, and a CR
// that no LF follows is part of its line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    int lineNumber() const { return m_line; }
    std::size_t position() const { return m_pos; }

    std::string_view next()
    {
        const char *begin = m_text.data() + m_pos;
        const std::size_t rest = m_text.size() - m_pos;
        const char *lf = platform::findByte(begin, begin + rest, '\n');
        std::size_t length = lf ? static_cast<std::size_t>(lf - begin) : rest;
        m_pos += lf ? length + 1 : length;
        if (lf && length > 0 && begin[length - 1] == '\r')
            --length;
        ++m_line;
        return std::string_view(begin, length);
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 0;
};

// The whole line must be the number: no sign, no blanks, nothing after it.
bool parseUint32(std::string_view text, std::uint32_t &value)
{
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

std::uint64_t combine(std::uint32_t low, std::uint32_t high)
{
    return static_cast<std::uint64_t>(high) << 32 | low;
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian calendar), by
// eras of 400 years, valid for the whole range of a 64-bit day count here.
void civilFromDays(std::int64_t days, std::int64_t &year, unsigned &month, unsigned &day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

// Writes `value` as `width` digits, leading zeros included, ending before
// `end`; returns where it starts.
char *putDigits(char *end, std::uint64_t value, int width)
{
    for (int i = 0; i < width; ++i) {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return end;
}

} // namespace

std::string CookieFormatProblem::text() const
{
    const char *what = "";
    switch (error) {
    case CookieFormatError::None:
        return {};
    case CookieFormatError::Empty:
        return "empty: no cookie record";
    case CookieFormatError::IncompleteRecord:
        what = "the text ends inside a record";
        break;
    case CookieFormatError::NoPath:
        what = "no \"/\" between host and path";
        break;
    case CookieFormatError::NoHost:
        what = "no host before the \"/\"";
        break;
    case CookieFormatError::NotANumber:
        what = "not an unsigned 32-bit number";
        break;
    case CookieFormatError::NoEndMark:
        what = "\"*\" expected";
        break;
    }
    return "line " + std::to_string(line) + ": " + what;
}

CookieRecordReader::CookieRecordReader(std::string_view text) : m_text(text)
{
    if (text.empty())
        m_problem = {CookieFormatError::Empty, 1};
}

bool CookieRecordReader::next(CookieRecord &record)
{
    if (m_problem || m_pos >= m_text.size())
        return false;
    // The reader goes on from where the last record ended.
    LineReader lines(m_text.substr(m_pos));
    const auto fail = [this](CookieFormatError error, int line) {
        m_problem = {error, m_line + line, m_line / kRecordLines};
        m_pos = m_text.size();
        return false;
    };
    std::array<std::string_view, kRecordLines> line;
    for (int i = 0; i < kRecordLines; ++i) {
        if (lines.atEnd())
            return fail(CookieFormatError::IncompleteRecord, lines.lineNumber() + 1);
        line[i] = lines.next();
    }

    record.name = line[0];
    record.value = line[1];
    const std::size_t slash = line[2].find('/');
    if (slash == std::string_view::npos)
        return fail(CookieFormatError::NoPath, 3);
    // The browser sends such a cookie nowhere, and the programs that load
    // these files drop it: it is no cookie of any site.
    if (slash == 0)
        return fail(CookieFormatError::NoHost, 3);
    record.host = line[2].substr(0, slash);
    record.path = line[2].substr(slash);

    std::array<std::uint32_t, 5> numbers;
    for (int i = 0; i < 5; ++i) {
        if (!parseUint32(line[3 + i], numbers[i]))
            return fail(CookieFormatError::NotANumber, 4 + i);
    }
    record.flags = numbers[0];
    record.expires = combine(numbers[1], numbers[2]);
    record.created = combine(numbers[3], numbers[4]);

    if (line[8] != "*")
        return fail(CookieFormatError::NoEndMark, 9);
    m_pos += lines.position();
    m_line += kRecordLines;
    return true;
}

CookieFormatProblem checkCookieRecords(std::string_view text)
{
    CookieRecordReader reader(text);
    CookieRecord record;
    while (reader.next(record)) {
    }
    return reader.problem();
}

void recordLines(std::string_view text, std::span<std::string_view> lines)
{
    LineReader reader(text);
    for (std::string_view &line : lines)
        line = reader.atEnd() ? std::string_view() : reader.next();
}

void appendFileTimeIso8601(std::string &out, std::uint64_t fileTime)
{
    constexpr std::uint64_t kTicksPerSecond = 10'000'000;
    constexpr std::int64_t kDaysFrom1601To1970 = 134774;
    const std::uint64_t seconds = fileTime / kTicksPerSecond;
    const std::uint64_t fraction = fileTime % kTicksPerSecond;
    const auto days = static_cast<std::int64_t>(seconds / 86400);
    const std::uint64_t secondOfDay = seconds % 86400;

    std::int64_t year;
    unsigned month, day;
    civilFromDays(days - kDaysFrom1601To1970, year, month, day);
    // "+YYYYY-MM-DDThh:mm:ss.fffffffZ" at the longest: built in place, from
    // the back.
    char text[32];
    char *const end = text + sizeof text;
    char *p = end;
    *--p = 'Z';
    if (fraction != 0) {
        p = putDigits(p, fraction, 7);
        *--p = '.';
    }
    p = putDigits(p, secondOfDay % 60, 2);
    *--p = ':';
    p = putDigits(p, secondOfDay / 60 % 60, 2);
    *--p = ':';
    p = putDigits(p, secondOfDay / 3600, 2);
    *--p = 'T';
    p = putDigits(p, day, 2);
    *--p = '-';
    p = putDigits(p, month, 2);
    *--p = '-';
    if (year > 9999) {
        p = putDigits(p, static_cast<std::uint64_t>(year), 5);
        *--p = '+';
    } else {
        p = putDigits(p, static_cast<std::uint64_t>(year), 4);
    }
    out.append(p, end);
}

} // namespace listing
