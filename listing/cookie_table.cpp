#include "cookie_table.h"

#include "content_pane.h"
#include "control_escapes.h"
#include "cookie_records.h"
#include "messages.h"
#include "platform/cp932.h"
#include "platform/local_time.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace listing {
namespace {

constexpr int kRecordLines = 9;
// "YYYY/MM/DD HH:MM:SS"
constexpr std::size_t kDateBytes = 19;

// A text as a cell shows it: its first kMaxShownBytes bytes, control
// characters escaped.
void appendShown(std::string &out, std::string_view text)
{
    appendCp932ForPeople(out, platform::cp932::truncated(text, CookieTable::kMaxShownBytes));
}

// The bytes a cell of `text` takes, counted up to `limit`: escaping only
// ever lengthens a text, so the first `limit` bytes tell.
std::size_t shownLength(std::string_view text, std::string &scratch, std::size_t limit)
{
    if (text.size() >= limit)
        return limit;
    // Nearly every text is printable ASCII: its length is its own.
    if (std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
        return text.size();
    scratch.clear();
    appendCp932ForPeople(scratch, text);
    return std::min(scratch.size(), limit);
}

void appendTime(std::string &out, std::uint64_t fileTime)
{
    if (const auto local = platform::localTimeOf(fileTime)) {
        char text[kDateBytes + 1];
        std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local->year, local->month, local->day,
                      local->hour, local->minute, local->second);
        out.append(text, kDateBytes);
    } else {
        out += std::to_string(fileTime);
    }
}

// The bytes of a time's cell. Whether the time shows as a date depends on
// the zone only within a day of the year 10000's start; elsewhere the
// conversion, which is dear on Windows, is not needed to tell.
std::size_t timeLength(std::uint64_t fileTime)
{
    constexpr std::uint64_t kTicksPerDay = 864'000'000'000;
    constexpr std::uint64_t kYear10000 = platform::kUnixEpochFileTime + 2'932'897 * kTicksPerDay;
    const bool date = fileTime >= platform::kUnixEpochFileTime &&
                      (fileTime < kYear10000 - kTicksPerDay ||
                       (fileTime < kYear10000 + kTicksPerDay && platform::localTimeOf(fileTime)));
    return date ? kDateBytes : std::to_string(fileTime).size();
}

} // namespace

void CookieTable::load(const ContentPane &pane, std::uint64_t now, int pointSize)
{
    clear();
    // The bytes as read, as the records have their lines (a CR alone is no
    // line end): they stay where they are until the pane's text or its line
    // ends change, which the revision tells.
    const std::string_view text = pane.recordText();
    m_pane = &pane;
    m_revision = pane.revision();

    std::array<std::size_t, kColumnCount> longest{};
    for (int column = 0; column < kColumnCount; ++column)
        longest[column] = columnTitle(column).size();
    const std::size_t expiredBytes = 1 + messages::expiredMark().size();
    const auto limit = static_cast<std::size_t>(kMaxFittedBytes);
    std::string scratch;

    CookieRecordReader reader(text);
    CookieRecord cookie;
    while (reader.next(cookie)) {
        const bool expired = cookie.expires <= now;
        m_rows.push_back(static_cast<std::uint64_t>(cookie.name.data() - text.data()) | (expired ? kExpiredBit : 0));
        const auto fit = [&](Column column, std::size_t length) {
            longest[column] = std::max(longest[column], std::min(length, limit));
        };
        fit(NameColumn, shownLength(cookie.name, scratch, limit));
        fit(ValueColumn, shownLength(cookie.value, scratch, limit));
        fit(DomainColumn, shownLength(cookie.host, scratch, limit));
        fit(PathColumn, shownLength(cookie.path, scratch, limit));
        fit(ExpiresColumn, timeLength(cookie.expires) + (expired ? expiredBytes : 0));
        fit(CreatedColumn, timeLength(cookie.created));
        if (cookie.secure())
            fit(SecureColumn, messages::flagSetMark().size());
        if (cookie.httpOnly())
            fit(HttpOnlyColumn, messages::flagSetMark().size());
    }
    // The whole records before a fault are shown (a file cut short keeps
    // what it holds), and the line where it strays beside them.
    if (const CookieFormatProblem &problem = reader.problem())
        m_problem = messages::notCookieRecords(problem);
    if (m_rows.empty()) {
        fitTitles(pointSize);
        return;
    }
    longest[NumberColumn] = std::max(longest[NumberColumn], std::to_string(m_rows.size()).size());
    for (int column = 0; column < kColumnCount; ++column)
        m_widths[column] = static_cast<int>(longest[column]) * pointSize;
}

void CookieTable::clear()
{
    m_pane = nullptr;
    m_cachedRow = -1;
    m_revision = 0;
    std::deque<std::uint64_t>().swap(m_rows);
    m_problem.clear();
}

void CookieTable::fitTitles(int pointSize)
{
    for (int column = 0; column < kColumnCount; ++column)
        m_widths[column] = static_cast<int>(columnTitle(column).size()) * pointSize;
}

const std::string &CookieTable::columnTitle(int column)
{
    return messages::cookieColumnTitle(column);
}

std::string_view CookieTable::text() const
{
    if (!m_pane || m_pane->revision() != m_revision)
        return {};
    return m_pane->recordText();
}

const CookieRecord *CookieTable::record(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    const std::string_view whole = text();
    const std::uint64_t start = m_rows[row] & ~kExpiredBit;
    if (start >= whole.size())
        return nullptr;
    if (row != m_cachedRow) {
        CookieRecordReader reader(whole.substr(start));
        m_cachedRow = -1;
        if (!reader.next(m_cached))
            return nullptr;
        m_cachedRow = row;
    }
    return &m_cached;
}

std::string CookieTable::cell(int column, int row) const
{
    const CookieRecord *found = column >= 0 && column < kColumnCount ? record(row) : nullptr;
    if (!found)
        return {};
    const CookieRecord &cookie = *found;
    std::string out;
    switch (static_cast<Column>(column)) {
    case NumberColumn:
        return std::to_string(row + 1);
    case NameColumn:
        appendShown(out, cookie.name);
        break;
    case ValueColumn:
        appendShown(out, cookie.value);
        break;
    case DomainColumn:
        appendShown(out, cookie.host);
        break;
    case PathColumn:
        appendShown(out, cookie.path);
        break;
    case ExpiresColumn:
        appendTime(out, cookie.expires);
        if (isExpired(row))
            out.append(" ").append(messages::expiredMark());
        break;
    case CreatedColumn:
        appendTime(out, cookie.created);
        break;
    case SecureColumn:
        if (cookie.secure())
            out = messages::flagSetMark();
        break;
    case HttpOnlyColumn:
        if (cookie.httpOnly())
            out = messages::flagSetMark();
        break;
    }
    return out;
}

bool CookieTable::isExpired(int row) const
{
    return row >= 0 && row < rowCount() && (m_rows[row] & kExpiredBit) != 0;
}

std::string CookieTable::hint(int row) const
{
    if (!record(row))
        return {};
    const std::string_view whole = text();
    std::array<std::string_view, kRecordLines> lines;
    recordLines(whole.substr(m_rows[row] & ~kExpiredBit), lines);
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += "\r\n";
        appendShown(out, lines[i]);
    }
    return out;
}

std::string CookieTable::copyText(std::span<const int> rows) const
{
    std::vector<int> chosen(rows.begin(), rows.end());
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    std::string out;
    bool first = true;
    for (const int row : chosen) {
        const CookieRecord *cookie = record(row);
        if (!cookie)
            continue;
        if (!first)
            out += "\r\n";
        first = false;
        out.append(cookie->name).append("=").append(cookie->value);
    }
    return out;
}

int CookieTable::columnWidth(int column) const
{
    return column >= 0 && column < kColumnCount ? m_widths[column] : 0;
}

} // namespace listing
