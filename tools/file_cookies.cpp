#include "scan_writer.h"

#include "output_text.h"

#include <cstdio>

namespace scan {

const listing::CookieFormatProblem &FileCookies::check(const ListedFile &file)
{
    m_problem = listing::checkCookieRecords(file.text);
    // Escaped, so that no name can write control bytes to the terminal.
    if (m_problem && m_problem.records == 0) {
        std::fprintf(stderr, "vellumin-scan: %s: not a cookie file: %s\n", forPeople(placeOf(file)).c_str(),
                     m_problem.text().c_str());
    } else if (m_problem) {
        std::fprintf(stderr, "vellumin-scan: %s: strays from the cookie format after %d whole cookies: %s\n",
                     forPeople(placeOf(file)).c_str(), m_problem.records, m_problem.text().c_str());
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
