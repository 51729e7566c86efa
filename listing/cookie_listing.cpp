#include "cookie_listing.h"

#include "errors.h"
#include "listing_view.h"
#include "messages.h"
#include "platform/filesystem.h"

#include <array>

namespace listing {

namespace {

// How many files the scan reads together.
constexpr std::size_t kReadTogether = 16;

// Folders, pipes and devices are no cookie files (reading one would fail on
// every scan, or block), and a link that leads out of the folder is not
// followed: nothing outside the folder is read.
bool isCookieFile(const platform::DirEntry &entry)
{
    return entry.name != "." && entry.name != ".." && !entry.name.empty() &&
           (entry.kind == platform::EntryKind::File || entry.kind == platform::EntryKind::Link);
}

void clearEntry(CookieEntry &entry)
{
    // Field by field, so that the strings keep their capacity for the next file.
    entry.fileName.clear();
    entry.info.clear();
    entry.url.clear();
}

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    path += platform::kPathSeparator;
    path.append(name);
    return path;
}

} // namespace

CookieEntry CookieListing::readCookieFile(const platform::NamedPath &folder, std::string_view nativeName)
{
    if (nativeName.empty())
        return {};
    const platform::Folder opened = platform::Folder::open(folder.native);
    platform::FileId id;
    readInto(opened, folder.shown, platform::shownName(nativeName), nativeName, platform::EntryKind::File, id);
    return m_entry;
}

void CookieListing::readInto(const platform::Folder &folder, std::string_view folderName, std::string_view name,
                             std::string_view nativeName, platform::EntryKind kind, platform::FileId &id)
{
    clearEntry(m_entry);
    if (name.empty())
        return;
    // Straight into the pane's own buffer: a big file is held once. Its lines
    // and the content search come out the same from the bytes as read, as
    // in the scan; only a search text with a line end in it needs the line
    // ends widened.
    readFile(folder, folderName, name, nativeName, kind, m_pane.beginLoad(), id);
    m_pane.endLoad();
    const SystemInfo &info = m_state.systemInfo;
    prepareContentSearch();
    const bool widen =
        info.searchMode == SearchMode::Content && info.searchText.find_first_of("\r\n") != std::string::npos;
    fillEntry(name, widen ? std::string_view(m_pane.text()) : m_pane.rawText());
}

void CookieListing::readFile(const platform::Folder &folder, std::string_view folderName, std::string_view name,
                             std::string_view nativeName, platform::EntryKind kind, std::string &bytes,
                             platform::FileId &id) const
{
    throwIfFailed(folder.read(nativeName, kind, bytes, id), folderName, name);
}

void CookieListing::throwIfFailed(platform::ReadResult result, std::string_view folderName, std::string_view name)
{
    switch (result) {
    case platform::ReadResult::Ok:
        return;
    case platform::ReadResult::Gone: // a row or a file named by the user: say it is not there
    case platform::ReadResult::OpenFailed:
        throw FileOpenError(messages::cannotOpenFile(joinPath(folderName, name)));
    case platform::ReadResult::ReadFailed:
    case platform::ReadResult::TooBig: // read alone before it gets here
        throw StreamReadError(messages::streamReadFailed());
    }
}

void CookieListing::fillEntry(std::string_view name, std::string_view text)
{
    const SystemInfo &info = m_state.systemInfo;
    // The search text was prepared by the caller: once for all the files of
    // a scan, so that a long one costs its length once, not once a file.
    if (info.searchMode == SearchMode::Content && m_finder.find(text) < 0)
        return;

    const std::size_t dot = name.rfind('.');
    m_entry.fileName.assign(name.substr(0, dot));
    std::array<std::string_view, 3> lines;
    firstTextLines(text, lines);
    m_entry.info.assign(lines[1]);
    m_entry.url.assign(lines[2]);
}

void CookieListing::prepareContentSearch()
{
    const SystemInfo &info = m_state.systemInfo;
    if (info.searchMode == SearchMode::Content && m_finder.needle() != info.searchText)
        m_finder = TextFinder(info.searchText);
}

ListingOutcome CookieListing::listCookieFiles(int tableFontPointSize, ListingView *rows)
{
    int count = 0;
    std::exception_ptr failure;
    m_goneCount = 0;
    try {
        // From here on the table's rows name files of this folder.
        m_listedFolder = {m_state.nativeCookiesPath, m_state.cookiesPath};
        m_folder = platform::Folder::open(m_listedFolder.native);
        m_table.startListing();
        // A folder that is not there or cannot be searched has nothing to
        // list: not one of its names would open.
        if (m_folder.problem() == platform::FolderProblem::None)
            scan(rows, count);
    } catch (...) {
        // Whatever ended the scan, the rows of an earlier scan (perhaps of
        // another folder) must not stay beside the folder now held: the
        // table keeps this scan's rows only.
        failure = std::current_exception();
        m_table.keepDataRows(count);
    }
    ListingOutcome outcome = finishScan(tableFontPointSize, count);
    outcome.failure = failure;
    return outcome;
}

void CookieListing::scan(ListingView *rows, int &count)
{
    // Taken from the front as the scan goes, so that the listing's room is
    // given back while the table's grows.
    platform::DirectoryListing entries = m_folder.find(m_state.filePattern());
    const SystemInfo &info = m_state.systemInfo;
    const bool widen =
        info.searchMode == SearchMode::Content && info.searchText.find_first_of("\r\n") != std::string::npos;
    m_batch.resize(kReadTogether);
    prepareContentSearch();
    while (!entries.empty()) {
        // The next files are read together; then the entries up to the last
        // of them are taken in order, so that a file that cannot be read
        // ends the scan after the rows of the files before it, as if each
        // had been read in its turn.
        std::size_t taken = 0, batched = 0;
        for (; taken < entries.size() && batched < m_batch.size(); ++taken) {
            const platform::DirEntry entry = entries[taken];
            if (!isCookieFile(entry))
                continue;
            platform::FileRead &file = m_batch[batched++];
            file.nativeName = entry.nativeName;
            file.kind = entry.kind;
            file.id = entry.id;
        }
        // The next batch's names are fetched while this one is read.
        entries.prefetchNames(taken, m_batch.size());
        m_folder.readFiles(std::span(m_batch).first(batched));
        for (std::size_t next = 0; taken > 0; --taken, entries.popFront()) {
            const platform::DirEntry entry = entries[0];
            if (!isCookieFile(entry))
                continue;
            const platform::FileRead &file = m_batch[next++];
            std::string_view bytes = file.bytes;
            platform::FileId id = file.id;
            platform::FileTimes times = file.times;
            platform::ReadResult result = file.result;
            if (result == platform::ReadResult::TooBig) {
                // Read alone, in its turn: only one big file is held at once.
                id = entry.id;
                result = m_folder.read(entry.nativeName, entry.kind, m_bigFile, id, &times);
                bytes = m_bigFile;
            }
            if (result == platform::ReadResult::Gone) {
                // Deleted or replaced since the folder was listed: the
                // browser's doing, not a file we failed to read.
                ++m_goneCount;
                if (rows)
                    rows->fileGone(entry.nativeName);
                continue;
            }
            throwIfFailed(result, m_listedFolder.shown, entry.name);
            // Not through the pane: nobody sees the text of a file in the
            // middle of a scan, and its lines and the search come out the
            // same from the bytes as read. Only a search text with a line
            // end in it needs the line ends as the pane has them.
            std::string_view text = bytes;
            if (widen) {
                m_widened.assign(bytes);
                widenLineEnds(m_widened);
                text = m_widened;
            }
            clearEntry(m_entry);
            fillEntry(entry.name, text);
            if (m_entry.found()) {
                m_table.setDataRow(m_entry, ++count, {entry.nativeName, entry.kind, id});
                if (rows)
                    rows->fileListed(count, m_entry, entry.nativeName, bytes, times);
            }
        }
    }
}

ListingOutcome CookieListing::finishScan(int tableFontPointSize, int count)
{
    m_table.finishListing(count, tableFontPointSize);
    std::vector<platform::FileRead>().swap(m_batch);
    std::string().swap(m_bigFile);
    m_pane.clear();
    ListingOutcome outcome;
    outcome.count = count;
    outcome.folderProblem = m_folder.problem();
    outcome.statusText = count > 0 ? messages::cookiesFound(count) : emptyStatusText();
    outcome.caption = m_state.caption();
    outcome.folderText = m_state.folderText();
    outcome.searchModeLabel = m_state.searchModeLabel();
    outcome.searching = m_state.searching();
    return outcome;
}

std::string CookieListing::emptyStatusText() const
{
    // The root folder is kept as the empty path; it shows as its separator.
    const std::string &shown = m_listedFolder.shown;
    const std::string folder = shown.empty() ? std::string(1, platform::kPathSeparator) : shown;
    switch (m_folder.problem()) {
    case platform::FolderProblem::None:
        return messages::noCookiesFound();
    case platform::FolderProblem::Missing:
        return messages::cookieFolderMissing(folder);
    case platform::FolderProblem::NotAFolder:
    case platform::FolderProblem::NoPermission:
    case platform::FolderProblem::Unreadable:
        break;
    }
    return messages::cookieFolderCannotOpen(folder);
}

void CookieListing::readRowFile(int row)
{
    if (!m_table.isDataRow(row))
        return;
    // Named in messages by its CP932 name, opened by its real one.
    RowFile file = m_table.rowFile(row);
    const std::string name = platform::shownName(file.nativeName);
    readInto(m_folder, m_listedFolder.shown, name, file.nativeName, file.kind, file.id);
}

platform::RemoveResult CookieListing::deleteCookieFile(int row)
{
    if (!m_table.isDataRow(row))
        return {};
    const RowFile file = m_table.rowFile(row);
    return m_folder.remove(file.nativeName, file.id);
}

std::string CookieListing::rowFilePath(int row) const
{
    if (!m_table.isDataRow(row))
        return {};
    return joinPath(m_listedFolder.shown, platform::shownName(m_table.rowFile(row).nativeName));
}

} // namespace listing
