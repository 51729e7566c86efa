// Measures the folder scan against a plain loop that reads the same files, in
// one process: the best time of a few runs and the heap peak of each phase.
// It makes its own cookie folder under /tmp and removes it at the end.
//
//   vellumin-bench [N]      N cookie files, 10000 when not given
//
// Figures are printed, never judged: the exit status is 1 only when a phase
// lists a different number of files than the folder holds for it.

#include "listing/cookie_listing.h"
#include "listing/errors.h"
#include "listing/view_state.h"
#include "platform/cp932.h"

#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

// Heap bytes live now, and the most live since the last resetPeak(). The
// benchmark runs on one thread.
std::size_t g_liveBytes = 0;
std::size_t g_peakBytes = 0;

void *allocate(std::size_t size)
{
    void *p = std::malloc(size == 0 ? 1 : size);
    if (!p)
        throw std::bad_alloc();
    g_liveBytes += malloc_usable_size(p);
    g_peakBytes = std::max(g_peakBytes, g_liveBytes);
    return p;
}

void release(void *p) noexcept
{
    if (!p)
        return;
    g_liveBytes -= malloc_usable_size(p);
    std::free(p);
}

// Starts a new peak; returns the bytes live at this point.
std::size_t resetPeak()
{
    g_peakBytes = g_liveBytes;
    return g_liveBytes;
}

} // namespace

void *operator new(std::size_t size)
{
    return allocate(size);
}
void *operator new[](std::size_t size)
{
    return allocate(size);
}
void operator delete(void *p) noexcept
{
    release(p);
}
void operator delete[](void *p) noexcept
{
    release(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    release(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    release(p);
}

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kDefaultFileCount = 10000;
constexpr int kRuns = 3;
constexpr double kRatioTarget = 1.5;
constexpr std::size_t kRatioTargetFileCount = 100000;
constexpr double kBytesPerFileTarget = 400;

constexpr std::string_view kNameSearch = "example1";
constexpr std::string_view kContentSearch = "SESSIONID";

// A folder under /tmp, removed with everything in it when this goes.
class TempFolder {
public:
    TempFolder()
    {
        char name[] = "/tmp/vellumin-bench-XXXXXX";
        if (!::mkdtemp(name))
            throw std::runtime_error("cannot make a folder under /tmp");
        m_path = name;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

void writeFile(const std::string &path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool ok = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        throw std::runtime_error("cannot write " + path);
}

// What the generated folder holds, so that each phase's count can be checked.
struct Corpus {
    std::size_t files = 0;
    std::size_t bytes = 0;
    std::size_t nameMatches = 0;    // files whose site holds kNameSearch
    std::size_t contentMatches = 0; // files that hold kContentSearch
    std::size_t japanese = 0;       // files with CP932 text
};

// Fills `folder` with `count` cookie files of 1 to 4 records each, the same
// files on every run.
Corpus makeCookieFolder(const std::string &folder, std::size_t count)
{
    static constexpr std::array<const char *, 4> kLogins = {"user", "taro", "hanako", "admin"};
    static constexpr std::array<const char *, 8> kCookieNames = {"id",   "SID", "pref", "visitor",
                                                                 "lang", "tz",  "uid",  kContentSearch.data()};
    static constexpr std::array<std::uint32_t, 4> kFlags = {0, 1024, 1536, 9728};
    // Japanese values, some with 0x5C as a trail byte (ソ, 表).
    std::vector<std::string> japaneseValues;
    for (const char *text : {"ログイン中", "表示設定=標準", "ソフトウェア", "日本語テキスト"})
        japaneseValues.push_back(platform::cp932::fromUtf8(text));

    std::mt19937 random(20240607);
    const auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };

    Corpus corpus;
    std::unordered_set<std::string> names;
    std::string name, text, path;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string site = "www.example" + std::to_string(pick(std::max<std::size_t>(count, 10))) + ".com";
        const std::string login = kLogins[pick(kLogins.size())];
        for (int copy = 1;; ++copy) {
            name = login + "@" + site + "[" + std::to_string(copy) + "].txt";
            if (names.insert(name).second)
                break;
        }

        const bool japanese = pick(100) < 3;
        const std::size_t records = 1 + pick(4);
        const std::size_t japaneseRecord = pick(records);
        bool hasSearchText = false;
        text.clear();
        for (std::size_t r = 0; r < records; ++r) {
            const char *cookieName = kCookieNames[pick(kCookieNames.size())];
            hasSearchText = hasSearchText || cookieName == kContentSearch;
            text.append(cookieName).append("\n");
            if (japanese && r == japaneseRecord) {
                text.append(japaneseValues[pick(japaneseValues.size())]);
            } else {
                for (std::size_t n = 16 + pick(48); n > 0; --n)
                    text += "0123456789ABCDEF"[pick(16)];
            }
            text.append("\n").append(site).append("/\n");
            text.append(std::to_string(kFlags[pick(kFlags.size())])).append("\n");
            for (int n = 0; n < 4; ++n)
                text.append(std::to_string(random())).append("\n");
            text.append("*\n");
        }

        path.assign(folder).append("/").append(name);
        writeFile(path, text);
        ++corpus.files;
        corpus.bytes += text.size();
        corpus.nameMatches += site.find(kNameSearch) != std::string::npos;
        corpus.contentMatches += hasSearchText;
        corpus.japanese += japanese;
    }
    return corpus;
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Run {
    std::size_t listed = 0;
    double ms = 0;
};

// The least a scan could cost: enumerate the folder and read every file
// whole into one buffer, grown only for a file larger than any before.
Run readPlainly(const std::string &folder)
{
    std::vector<char> buffer(4096);
    std::string path;
    path.reserve(folder.size() + 256);
    Run run;
    const Clock::time_point start = Clock::now();
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        throw std::runtime_error("cannot read " + folder);
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        path.assign(folder).append("/").append(entry->d_name);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        std::size_t used = 0;
        for (;;) {
            if (used == buffer.size())
                buffer.resize(buffer.size() * 2);
            const ssize_t got = ::read(fd, buffer.data() + used, buffer.size() - used);
            if (got <= 0)
                break;
            used += static_cast<std::size_t>(got);
        }
        ::close(fd);
        ++run.listed;
    }
    ::closedir(dir);
    run.ms = millisecondsSince(start);
    return run;
}

// One scan by the listing core, timed without building and destroying the
// listing around it.
Run listCookieFiles(const std::string &folder, listing::TSearchMode mode, std::string_view searchText)
{
    listing::CookieListing cookies;
    listing::ProgramState &state = cookies.state();
    state.CookiesPath = platform::cp932::fromUtf8(folder);
    state.SysInfo.SearchMode = mode;
    state.SysInfo.SearchText = searchText;
    listing::ViewState view;
    const Clock::time_point start = Clock::now();
    cookies.ListCookieFiles(view);
    Run run;
    run.ms = millisecondsSince(start);
    run.listed = static_cast<std::size_t>(cookies.table().dataRowCount());
    return run;
}

struct Phase {
    std::string name;
    std::size_t expected = 0;
    std::size_t listed = 0;
    double ms = 0;
    std::size_t peak = 0; // heap bytes above those live at the start
};

// Runs `scan` kRuns times: the best time, the highest peak.
template <typename Scan> Phase measure(std::string name, std::size_t expected, Scan scan)
{
    Phase phase{std::move(name), expected, 0, 0, 0};
    for (int i = 0; i < kRuns; ++i) {
        const std::size_t before = resetPeak();
        const Run run = scan();
        phase.peak = std::max(phase.peak, g_peakBytes - before);
        phase.ms = i == 0 ? run.ms : std::min(phase.ms, run.ms);
        phase.listed = run.listed;
    }
    return phase;
}

void printTable(const std::vector<Phase> &phases, std::size_t fileCount)
{
    const Phase &base = phases.front();
    std::printf("targets: time ratio <= %.1f at N = %zu; heap <= %.0f bytes per listed file above the baseline\n\n",
                kRatioTarget, kRatioTargetFileCount, kBytesPerFileTarget);
    std::printf("%-22s %8s %10s %7s %-5s %12s %11s %-5s\n", "phase", "files", "ms", "ratio", "", "peak bytes",
                "B/file>base", "");
    for (const Phase &phase : phases) {
        const double ratio = phase.ms / base.ms;
        const char *ratioMark = "";
        if (&phase != &base && fileCount == kRatioTargetFileCount)
            ratioMark = ratio <= kRatioTarget ? "ok" : "MISS";
        std::printf("%-22s %8zu %10.1f %7.2f %-5s %12zu", phase.name.c_str(), phase.listed, phase.ms, ratio, ratioMark,
                    phase.peak);
        if (&phase == &base || phase.listed == 0) {
            std::printf(" %11s\n", "-");
            continue;
        }
        const double above = (static_cast<double>(phase.peak) - static_cast<double>(base.peak)) / phase.listed;
        std::printf(" %11.1f %-5s\n", above, above <= kBytesPerFileTarget ? "ok" : "MISS");
    }
    if (fileCount != kRatioTargetFileCount)
        std::printf("\n(the time target applies at N = %zu; ratios at other sizes are shown unjudged)\n",
                    kRatioTargetFileCount);
}

int usage()
{
    std::fputs("usage: vellumin-bench [N]   (N cookie files, default 10000)\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    std::size_t fileCount = kDefaultFileCount;
    if (argc > 2)
        return usage();
    if (argc == 2) {
        char *end = nullptr;
        const unsigned long long value = std::strtoull(argv[1], &end, 10);
        if (*argv[1] == '\0' || *end != '\0' || value == 0 || value > 10'000'000)
            return usage();
        fileCount = static_cast<std::size_t>(value);
    }

    try {
        const TempFolder folder;
        const Corpus corpus = makeCookieFolder(folder.path(), fileCount);
        std::printf("vellumin-bench: %zu cookie files (%zu bytes, %zu with CP932 text) in %s, best of %d runs\n",
                    corpus.files, corpus.bytes, corpus.japanese, folder.path().c_str(), kRuns);
        std::fflush(stdout);

        readPlainly(folder.path()); // warms the page cache and the dentry cache

        const std::string nameLabel = "name \"" + std::string(kNameSearch) + "\"";
        const std::string contentLabel = "content \"" + std::string(kContentSearch) + "\"";
        std::vector<Phase> phases;
        phases.push_back(measure("baseline read", corpus.files, [&] { return readPlainly(folder.path()); }));
        phases.push_back(
            measure("list all", corpus.files, [&] { return listCookieFiles(folder.path(), listing::smNone, {}); }));
        phases.push_back(measure(nameLabel, corpus.nameMatches,
                                 [&] { return listCookieFiles(folder.path(), listing::smFileName, kNameSearch); }));
        phases.push_back(measure(contentLabel, corpus.contentMatches,
                                 [&] { return listCookieFiles(folder.path(), listing::smContent, kContentSearch); }));
        printTable(phases, fileCount);

        bool countsRight = true;
        for (const Phase &phase : phases) {
            if (phase.listed != phase.expected) {
                std::fprintf(stderr, "vellumin-bench: %s listed %zu files, the folder holds %zu for it\n",
                             phase.name.c_str(), phase.listed, phase.expected);
                countsRight = false;
            }
        }
        return countsRight ? 0 : 1;
    } catch (const listing::ListingError &error) {
        std::fprintf(stderr, "vellumin-bench: the scan failed: %s\n", platform::cp932::toUtf8(error.what()).c_str());
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vellumin-bench: %s\n", error.what());
    }
    return 1;
}
