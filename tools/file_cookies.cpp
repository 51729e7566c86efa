#include "scan_writer.h"

#include "output_text.h"

#include <cstdio>

namespace scan {

const listing::CookieFormatProblem &FileCookies::check(const ListedFile &file)
{
    m_problem = listing::checkCookieRecords(file.text);
    if (m_problem) {
        // Escaped, so that no name can write control bytes to the terminal.
        std::fprintf(stderr, "vellumin-scan: %s: not a cookie file: %s\n", forPeople(file.file).c_str(),
                     m_problem.text().c_str());
    }
    return m_problem;
}

} // namespace scan
