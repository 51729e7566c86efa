#include "scan_writer.h"

#include "text_escape.h"

#include <cstdio>

namespace scan {

const listing::CookieFormatProblem &FileCookies::check(const ListedFile &file)
{
    m_problem = listing::checkCookieRecords(file.text);
    if (m_problem) {
        // Escaped, so that no name can write control bytes to the terminal.
        std::fprintf(stderr, "vellumin-scan: %s: not a cookie file: %s\n", forPeople(placeOf(file)).c_str(),
                     m_problem.text().c_str());
    }
    return m_problem;
}

std::string placeOf(const ListedFile &file)
{
    if (file.folder.empty())
        return std::string(file.file);
    std::string path(file.folder);
    path += platform::kPathSeparator;
    path.append(file.file);
    return path;
}

void appendFileTime(std::string &out, std::uint64_t fileTime)
{
    if (fileTime != 0)
        listing::appendFileTimeIso8601(out, fileTime);
}

} // namespace scan
