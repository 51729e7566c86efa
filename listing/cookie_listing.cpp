#include "cookie_listing.h"

#include "errors.h"
#include "listing_view.h"
#include "messages.h"
#include "platform/cp932.h"
#include "platform/filesystem.h"

namespace listing {

// Holds the busy cursor from construction until release() or destruction,
// whichever comes first, so that a failing scan restores it too.
class BusyCursor {
public:
    explicit BusyCursor(ListingView &view) : m_view(&view) { m_view->setBusyCursor(true); }
    ~BusyCursor() { release(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

    void release()
    {
        if (m_view)
            m_view->setBusyCursor(false);
        m_view = nullptr;
    }

private:
    ListingView *m_view;
};

namespace {

void clearEntry(TCookies &entry)
{
    // Field by field, so that the strings keep their capacity for the next file.
    for (std::string *text : {&entry.FileName, &entry.LoginName, &entry.FirstLine, &entry.Url, &entry.Reserved1,
                              &entry.Reserved2, &entry.Reserved3, &entry.Reserved4, &entry.Reserved5, &entry.Info})
        text->clear();
    entry.ReservedNum = 0;
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

TCookies CookieListing::ReadCookieFile(const std::string &folder, const std::string &fileName)
{
    if (fileName.empty())
        return {};
    readInto(folder, fileName, platform::toNativePath(joinPath(folder, fileName)));
    return m_entry;
}

void CookieListing::readInto(const std::string &folder, std::string_view fileName, const std::string &nativePath,
                             platform::FileCheck check)
{
    clearEntry(m_entry);
    if (fileName.empty())
        return;

    m_pane.clear();
    switch (platform::readWholeFile(nativePath, m_fileBytes, check)) {
    case platform::ReadResult::Ok:
        break;
    case platform::ReadResult::OpenFailed:
        throw FileOpenError(messages::cannotOpenFile(joinPath(folder, fileName)));
    case platform::ReadResult::ReadFailed:
        throw StreamReadError(messages::streamReadFailed());
    }
    m_pane.setText(m_fileBytes);

    const TSysInfo &info = m_state.SysInfo;
    if (info.SearchMode == smContent && FindInContent(info.SearchText) < 0)
        return;

    const std::size_t dot = fileName.rfind('.');
    m_entry.FileName.assign(fileName.substr(0, dot));
    m_entry.FirstLine.assign(m_pane.line(1));
    m_entry.Info.assign(m_pane.line(2));
    m_entry.Url.assign(m_pane.line(3));
    const std::size_t at = platform::cp932::findChar(fileName, '@');
    if (at != std::string_view::npos)
        m_entry.LoginName.assign(fileName.substr(0, at));
}

long long CookieListing::FindInContent(std::string_view text) const
{
    return m_pane.find(text);
}

void CookieListing::ShowSearchMode(ListingView &view) const
{
    view.setSearchModeLabel(m_state.searchModeLabel());
    view.setClearSearchEnabled(m_state.searching());
}

void CookieListing::ListCookieFiles(ListingView &view)
{
    view.setStatusText(messages::searching());
    BusyCursor busy(view);
    m_table.InitGrid();
    view.setContentPaneVisible(false);
    view.setTableVisible(false);
    const std::string mask = m_state.fileMask();
    ShowSearchMode(view);

    const std::string &folder = m_state.CookiesPath;
    m_listedFolder = folder;
    const platform::DirectoryListing entries = platform::findFiles(mask);
    const std::string nativeFolder = joinPath(platform::toNativePath(folder), "");

    int count = 0;
    try {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const platform::DirEntry entry = entries[i];
            if (entry.name == "." || entry.name == "..")
                continue;
            // Folders, pipes and devices are no cookie files (reading one would
            // fail on every scan, or block), and a link that leads out of the
            // folder is not followed: nothing outside the folder is read.
            if (entry.kind != platform::EntryKind::File && entry.kind != platform::EntryKind::Link)
                continue;
            m_nativePath.assign(nativeFolder).append(entry.nativeName);
            readInto(folder, entry.name, m_nativePath,
                     entry.kind == platform::EntryKind::File ? platform::FileCheck::ListedAsRegularFile
                                                             : platform::FileCheck::MustBeRegular);
            if (m_entry.found()) {
                m_table.AddGridRow(m_entry, ++count, entry.nativeName);
                view.fileListed(count, m_entry, m_fileBytes);
            }
        }
    } catch (const ListingError &) {
        finishScan(view, busy, count);
        throw;
    }
    finishScan(view, busy, count);
}

void CookieListing::finishScan(ListingView &view, BusyCursor &busy, int count)
{
    view.setTableVisible(true);
    m_table.FitGridColumns(count, view.tableFontPointSize());
    view.tableChanged();
    m_pane.clear();
    view.setContentPaneVisible(true);
    busy.release();
    if (count <= 0) {
        view.setDeleteCommandsEnabled(false);
        view.setStatusText(messages::noCookiesFound());
    } else {
        view.setDeleteCommandsEnabled(true);
        view.setStatusText(messages::cookiesFound(count));
    }
    view.setCaption(m_state.caption());
    view.setFolderText(m_state.folderText());
}

bool CookieListing::DeleteCookieFile(const std::string &folder, const std::string &fileName)
{
    return platform::deleteFile(platform::toNativePath(joinPath(folder, fileName)));
}

std::string CookieListing::rowFilePath(int row) const
{
    return joinPath(platform::toNativePath(m_listedFolder), m_table.rowFile(row));
}

void CookieListing::readRowFile(int row)
{
    if (!m_table.isDataRow(row))
        return;
    // Named in messages by its CP932 name, opened by its real one.
    const std::string name = platform::cp932::fromUtf8(m_table.rowFile(row));
    readInto(m_listedFolder, name, rowFilePath(row));
}

bool CookieListing::deleteRowFile(int row)
{
    if (!m_table.isDataRow(row))
        return false;
    return platform::deleteFile(rowFilePath(row));
}

} // namespace listing
