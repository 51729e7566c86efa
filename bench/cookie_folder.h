// The cookie folder both benchmarks measure: a temporary folder that goes
// with everything in it, the generator that fills it, and the N of the
// command line.

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bench {

// What the name and content searches look for in a generated folder.
inline constexpr std::string_view kNameSearch = "example1";
inline constexpr std::string_view kContentSearch = "SESSIONID";

// A fresh folder <temporary folder>/<prefix>-XXXXXX (/tmp on Linux, the
// user's temporary folder on Windows), removed with everything in it when
// this goes.
class TempFolder {
public:
    explicit TempFolder(std::string_view prefix);
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

// Writes `bytes` as the whole of file `path` (a native path).
void writeFile(const std::string &path, std::string_view bytes);

// What the generated folder holds, so that each phase's count can be checked.
struct Corpus {
    std::size_t files = 0;
    std::size_t bytes = 0;
    std::size_t nameMatches = 0;    // files whose site holds kNameSearch
    std::size_t contentMatches = 0; // files that hold kContentSearch
    std::size_t japanese = 0;       // files with CP932 text
};

// Fills `folder` with `count` cookie files of 1 to 4 records each, named
// login@site[n].txt, a few per cent with CP932 text: the same files on every
// run. Without `write`, only tells what an earlier run put there.
Corpus makeCookieFolder(const std::string &folder, std::size_t count, bool write = true);

// Writes a cookie file of about `bytes` bytes (a native path): records of
// 9 LF-ended lines, one in 16 with CP932 text, as a big file that the user
// did not make might be. Returns the number of records.
std::size_t writeBigCookieFile(const std::string &path, std::size_t bytes);

// The N of "program [N]": `defaultCount` without an argument, nothing when
// the command line is not one whole number from 1 to 10 million.
std::optional<std::size_t> fileCountArgument(int argc, char **argv, std::size_t defaultCount);

// The FOLDER of a "--folder FOLDER" that ends the command line, taken off it
// (`argc` shortened by two); null without one.
const char *takeFolderArgument(int &argc, char **argv);

} // namespace bench
