// Runs the cookie listing without a window and prints what it finds, for
// people and scripts: the table as the window shows it (the default), one
// record per file in JSON or CSV, or with --cookies one row per cookie.
// vellumin-scan --help and the manual page vellumin-scan(1) tell the rest.
//
// With --profiles it lists every cookie folder of a Windows volume, one after
// another into one output, each file naming its profile and folder. The scan
// only reads: it opens nothing for writing, and on Linux leaves the files'
// access times alone where the system lets it.
//
// Exit status: 0 when the listing completed, 1 when it did not (a folder that
// cannot be listed, a file that cannot be read, memory running out, output
// that cannot be written; with --profiles, no cookie folder found), 2 for a
// usage error. A file gone between the folder's listing and its read is left
// out with a warning: the listing still completes. Whatever happens, what was
// listed before is printed first.

#include "output_buffer.h"
#include "output_text.h"
#include "scan_options.h"
#include "scan_writer.h"

#include "listing/cookie_entry.h"
#include "listing/cookie_listing.h"
#include "listing/errors.h"
#include "listing/listing_view.h"
#include "listing/messages.h"
#include "listing/profile_folders.h"
#include "platform/command_line.h"
#include "platform/cp932.h"
#include "platform/filesystem.h"
#include "vellumin_version.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kLayoutFontPointSize = 9;

// Hands each file to the writer as the scan lists it, with the text the scan
// has just read, so that no file is read twice.
class ScanView : public listing::ListingView {
public:
    // `scanned`: the folder scanned as the system names it, for warnings;
    // with --profiles, `profile` and `folder` (relative to the volume's
    // root) name it in each row.
    ScanView(scan::ScanWriter &writer, std::string scanned, std::string_view profile = {},
             std::string_view folder = {})
        : m_writer(writer), m_scanned(std::move(scanned)), m_profile(profile), m_folder(folder)
    {
        if (!m_scanned.empty() && m_scanned.back() != platform::kPathSeparator)
            m_scanned += platform::kPathSeparator;
    }

    // Not a failure: a browser deletes and remakes its files as it likes.
    // The rest of the folder is listed; a script still learns what was
    // missed.
    void fileGone(std::string_view nativeName) override
    {
        const std::string path = scan::forPeople(m_scanned + std::string(nativeName));
        std::fprintf(stderr, "vellumin-scan: %s: left out: no longer there when read (deleted, or no longer a file)\n",
                     path.c_str());
    }

    void fileListed(int row, const listing::CookieEntry &entry, std::string_view nativeName, std::string_view text,
                    const platform::FileTimes &times) override
    {
        m_writer.file({row, nativeName, entry.fileName, entry.url, entry.info, text.size(),
                       m_writer.needsText() ? text : std::string_view(), times, m_profile, m_folder});
    }

private:
    scan::ScanWriter &m_writer;
    std::string m_scanned;
    std::string_view m_profile;
    std::string_view m_folder;
};

// The message (CP932) of the file that could not be read, when that ended
// the scan of `outcome`; any other failure (memory running out above all)
// goes to `failure`, as it ends the run.
std::string readErrorOf(const listing::ListingOutcome &outcome, std::exception_ptr &failure)
{
    if (!outcome.failure)
        return {};
    try {
        std::rethrow_exception(outcome.failure);
    } catch (const listing::ListingError &error) {
        return error.what();
    } catch (...) {
        failure = std::current_exception();
    }
    return {};
}

void setSearch(listing::ProgramState &state, const scan::ScanOptions &options)
{
    switch (options.search) {
    case scan::SearchKind::None:
        return;
    case scan::SearchKind::FileName:
        state.systemInfo.searchMode = listing::SearchMode::FileName;
        break;
    case scan::SearchKind::Content:
        state.systemInfo.searchMode = listing::SearchMode::Content;
        break;
    }
    // The arguments come as native strings: UTF-8 on both systems.
    state.systemInfo.searchText = platform::shownName(options.searchText);
}

std::unique_ptr<scan::ScanWriter> makeWriter(const scan::ScanOptions &options, scan::OutputBuffer &out)
{
    const scan::WriterOptions writerOptions{options.cookies, options.profiles};
    switch (options.format) {
    case scan::Format::Tsv:
        // The table is written once the scan is over: nothing to overlap.
        if (!options.cookies)
            return scan::makeTsvWriter(out, writerOptions);
        return scan::makeBackgroundWriter(scan::makeTsvWriter(out, writerOptions));
    case scan::Format::Json:
        return scan::makeBackgroundWriter(scan::makeJsonWriter(out, writerOptions));
    case scan::Format::Netscape:
        return scan::makeBackgroundWriter(scan::makeNetscapeWriter(out, writerOptions));
    case scan::Format::Csv:
        break;
    }
    return scan::makeBackgroundWriter(scan::makeCsvWriter(out, writerOptions));
}

const char *reasonOf(platform::FolderProblem problem)
{
    switch (problem) {
    case platform::FolderProblem::Missing:
        return "no such folder";
    case platform::FolderProblem::NotAFolder:
        return "not a folder";
    case platform::FolderProblem::NoPermission:
        return "no permission to read or search it";
    case platform::FolderProblem::None:
    case platform::FolderProblem::Unreadable:
        break;
    }
    return "it cannot be read";
}

// The folder scanned, as the system names it ("/" for the root, which the
// state keeps as the empty text).
std::string nativeFolder(const listing::ProgramState &state)
{
    return state.nativeCookiesPath.empty() ? std::string(1, platform::kPathSeparator) : state.nativeCookiesPath;
}

// The same for a message, as given (native paths are UTF-8, or on Linux
// bytes that escape).
std::string folderForPeople(const listing::ProgramState &state)
{
    return scan::forPeople(nativeFolder(state));
}

// Reports a failure other than a file that cannot be read. Allocates
// nothing, as memory may be what ran out.
void reportFailure(const char *what)
{
    std::fputs("vellumin-scan: the scan failed: ", stderr);
    std::fputs(what, stderr);
    std::fputc('\n', stderr);
}

void reportFailure(const std::exception_ptr &failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc &) {
        reportFailure("out of memory");
    } catch (const std::exception &error) {
        reportFailure(error.what());
    } catch (...) {
        reportFailure("unknown error");
    }
}

int runScan(const scan::ScanOptions &options)
{
    listing::CookieListing cookies;
    cookies.initState();
    // As given (its native bytes) beside its shown form, without trailing
    // separators.
    cookies.state().setCookiesPath(listing::cookieFolderNamed(options.folder));
    setSearch(cookies.state(), options);

    scan::OutputBuffer out(stdout);
    const std::unique_ptr<scan::ScanWriter> writer = makeWriter(options, out);
    ScanView view(*writer, nativeFolder(cookies.state()));
    const listing::ListingOutcome outcome = cookies.listCookieFiles(kLayoutFontPointSize, &view);
    std::exception_ptr failure;
    // CP932: the message of a file that could not be read
    const std::string readError = readErrorOf(outcome, failure);

    // A folder that cannot be listed looks empty to the window; here it is
    // a failure of its own, so that a script can tell a mistyped folder from
    // an empty one.
    const platform::FolderProblem folderProblem = outcome.folderProblem;

    // Whatever happened, what was listed is printed and a JSON document is
    // closed, if the output still takes it.
    const bool completed = outcome.completed();
    try {
        const listing::ResultTable &table = cookies.table();
        writer->end({table, outcome, nativeFolder(cookies.state()), table.rowCount() - 1, completed});
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    if (folderProblem != platform::FolderProblem::None)
        std::fprintf(stderr, "vellumin-scan: %s: cannot list the folder: %s\n",
                     folderForPeople(cookies.state()).c_str(), reasonOf(folderProblem));
    if (!readError.empty()) {
        const std::string text = scan::forPeople(platform::cp932::toUtf8(listing::messages::errorBoxText(readError)));
        std::fprintf(stderr, "vellumin-scan: %s\n", text.c_str());
    }
    if (failure)
        reportFailure(failure);
    return completed && !failure ? 0 : 1;
}

// Warns on standard error about a folder of a volume (relative to its root)
// that is left out, and why, without ending the run.
void warnAboutFolder(std::string_view relative, const char *reason)
{
    const std::string shown = relative.empty() ? std::string(".") : scan::forPeople(std::string(relative));
    std::fprintf(stderr, "vellumin-scan: warning: %s: %s\n", shown.c_str(), reason);
}

void sayWhereLooked(std::string_view root)
{
    std::fprintf(stderr, "vellumin-scan: %s: no cookie folder found; looked for (letter case aside):\n",
                 scan::forPeople(std::string(root)).c_str());
    for (const std::string &place : listing::cookieFolderPlaces())
        std::fprintf(stderr, "  %s (and its Low folder)\n", place.c_str());
}

// Lists every cookie folder of the Windows volume at `options.folder`, one
// after another into one output. A folder that cannot be listed or read to
// its end is a warning and the run goes on; the exit status tells that the
// listing is not whole.
int runProfiles(const scan::ScanOptions &options)
{
    const std::string &root = options.folder;
    {
        const platform::Folder opened = platform::Folder::open(root);
        if (opened.problem() != platform::FolderProblem::None) {
            std::fprintf(stderr, "vellumin-scan: %s: cannot look into the volume: %s\n",
                         scan::forPeople(root).c_str(), reasonOf(opened.problem()));
            return 1;
        }
    }
    const listing::ProfileFolders found = listing::findProfileFolders(root);
    for (const listing::UnreadableFolder &folder : found.unreadable)
        warnAboutFolder(folder.relative,
                        (std::string("cannot look for cookie folders in it: ") + reasonOf(folder.problem)).c_str());

    scan::OutputBuffer out(stdout);
    const std::unique_ptr<scan::ScanWriter> writer = makeWriter(options, out);
    int total = 0;
    bool whole = found.unreadable.empty();
    std::exception_ptr failure;
    for (const listing::ProfileFolder &folder : found.folders) {
        listing::CookieListing cookies;
        cookies.initState();
        cookies.state().setCookiesPath(listing::cookieFolderNamed(folder.native));
        setSearch(cookies.state(), options);
        ScanView view(*writer, folder.native, folder.profile, folder.relative);
        const listing::ListingOutcome outcome = cookies.listCookieFiles(kLayoutFontPointSize, &view);
        const std::string readError = readErrorOf(outcome, failure);
        const platform::FolderProblem problem = outcome.folderProblem;
        const bool completed = readError.empty() && !failure && problem == platform::FolderProblem::None;
        const listing::ResultTable &table = cookies.table();
        const int count = table.rowCount() - 1;
        total += count;
        whole = whole && completed;
        try {
            writer->folderEnd({table, outcome, folder.relative, count, completed, folder.profile});
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
        if (problem != platform::FolderProblem::None)
            warnAboutFolder(folder.relative, (std::string("cannot list the folder: ") + reasonOf(problem)).c_str());
        if (!readError.empty()) {
            const std::string text = platform::cp932::toUtf8(listing::messages::errorBoxText(readError)) +
                                     " (the rest of the folder is left out)";
            warnAboutFolder(folder.relative, text.c_str());
        }
        if (failure)
            break; // memory or the output: nothing later would fare better
    }

    const listing::ResultTable noTable;
    const listing::ListingOutcome noOutcome;
    try {
        writer->end({noTable, noOutcome, root, total, whole && !failure && !found.folders.empty()});
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    if (found.folders.empty())
        sayWhereLooked(root);
    if (failure)
        reportFailure(failure);
    return whole && !failure && !found.folders.empty() ? 0 : 1;
}

int printAndExit(const char *text)
{
    std::fputs(text, stdout);
    if (std::fflush(stdout) != 0) {
        reportFailure("cannot write the output");
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
#ifdef _WIN32
    // The bytes as they are: no CR put before each LF, so that the output is
    // the same on both systems.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    try {
        // Native, so that a folder named with any character reaches the scan.
        std::vector<std::string> arguments = platform::commandLineArguments(argc, argv);
        std::vector<char *> pointers;
        for (std::string &argument : arguments)
            pointers.push_back(argument.data());
        pointers.push_back(nullptr);
        const scan::ScanOptions options = scan::parseScanOptions(static_cast<int>(arguments.size()), pointers.data());
        switch (options.action) {
        case scan::ScanOptions::Action::Help:
            return printAndExit(scan::helpText());
        case scan::ScanOptions::Action::Version:
            return printAndExit("vellumin-scan " VELLUMIN_VERSION "\n");
        case scan::ScanOptions::Action::UsageError:
            std::fprintf(stderr, "vellumin-scan: %s\n%s", scan::forPeople(options.error).c_str(), scan::usageText());
            return 2;
        case scan::ScanOptions::Action::Scan:
            break;
        }
        return options.profiles ? runProfiles(options) : runScan(options);
    } catch (...) {
        reportFailure(std::current_exception());
    }
    return 1;
}
