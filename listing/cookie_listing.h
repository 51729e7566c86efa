#pragma once

#include "content_pane.h"
#include "cookie_entry.h"
#include "listing_outcome.h"
#include "platform/filesystem.h"
#include "program_state.h"
#include "result_table.h"
#include "text_finder.h"

#include <string>
#include <string_view>
#include <vector>

namespace listing {

class ListingView;

// The cookie listing: the program state, the result table and the content
// pane, and the operations on them: reading one cookie file, the folder scan
// that rebuilds the table, and deletion. Failures are thrown as
// ListingError with a CP932 message.
class CookieListing {
public:
    ProgramState &state() { return m_state; }
    const ProgramState &state() const { return m_state; }
    const ResultTable &table() const { return m_table; }
    ResultTable &table() { return m_table; }
    const ContentPane &contentPane() const { return m_pane; }

    void initState() { listing::initState(m_state); }

    // Reads file `nativeName` of `folder` into the content pane and makes an
    // entry of its first three lines. In a content search, a file without
    // the search text gives an empty entry. An empty name gives an empty
    // entry and leaves the pane alone. Throws FileOpenError when the file
    // cannot be opened (the pane is empty then).
    CookieEntry readCookieFile(const platform::NamedPath &folder, std::string_view nativeName);

    // Rebuilds the table from the cookie folder under the current search,
    // its columns sized for a font of `tableFontPointSize` points, and says
    // what it found. `rows`, when given, gets each file as it is listed.
    // Whatever ends the scan, a file that cannot be read or anything else,
    // the table holds only rows of the folder scanned and the outcome
    // describes them, with the failure in it; nothing is thrown. A folder
    // that is missing or cannot be searched lists nothing, without a
    // failure: the outcome names the problem and the status text says it.
    // A file that is gone by the time it is read (platform::ReadResult::Gone)
    // is no failure either: it is left out, told to `rows`, and counted.
    ListingOutcome listCookieFiles(int tableFontPointSize, ListingView *rows = nullptr);

    // How many listed files the last scan left out because they were gone
    // when read.
    int goneCount() const { return m_goneCount; }

    // The folder of the last scan (CP932), whose files the table's rows name.
    const std::string &listedFolder() const { return m_listedFolder.shown; }

    // Reads the file that data row `row` was made from into the content pane,
    // whatever its cells show; nothing happens for other rows. Throws
    // FileOpenError when it is no longer a regular file in the folder.
    void readRowFile(int row);

    // Deletes the file that data row `row` was made from, in the folder that
    // was listed, and only while it is still the file that was listed (see
    // platform::Folder::remove()); NotListed for other rows.
    platform::RemoveResult deleteCookieFile(int row);

    // The path that messages name data row `row`'s file by (CP932): the
    // listed folder and the file's own name, whatever the row's cells show.
    std::string rowFilePath(int row) const;

private:
    // Fills m_entry from file `nativeName` (of kind `kind`) of `folder`,
    // which `folderName` and `name` name in CP932 for messages; `id` gets
    // the file's identity.
    void readInto(const platform::Folder &folder, std::string_view folderName, std::string_view name,
                  std::string_view nativeName, platform::EntryKind kind, platform::FileId &id);
    // Reads file `nativeName` of `folder` into `bytes`; throws as
    // readCookieFile() does.
    void readFile(const platform::Folder &folder, std::string_view folderName, std::string_view name,
                  std::string_view nativeName, platform::EntryKind kind, std::string &bytes,
                  platform::FileId &id) const;
    // Throws as readCookieFile() does for a read of file `name` that gave
    // `result` (a file that is gone included).
    static void throwIfFailed(platform::ReadResult result, std::string_view folderName, std::string_view name);
    // Makes m_finder search for the content search's text.
    void prepareContentSearch();
    // Fills the cleared m_entry from file `name`'s text, unless a content
    // search does not find its text there (prepareContentSearch() first).
    void fillEntry(std::string_view name, std::string_view text);
    void scan(ListingView *rows, int &count);
    ListingOutcome finishScan(int tableFontPointSize, int count);
    // The status after a scan that listed nothing: why, when the folder
    // could not be listed.
    std::string emptyStatusText() const;

    ProgramState m_state;
    ResultTable m_table;
    ContentPane m_pane;
    // The folder that the last scan listed, held open: reads and deletions of
    // its rows reach it even when its path has since been made to lead
    // elsewhere.
    platform::Folder m_folder;
    platform::NamedPath m_listedFolder;
    int m_goneCount = 0;
    // Reused for every file of a scan.
    CookieEntry m_entry;
    std::vector<platform::FileRead> m_batch; // the files a scan reads together
    std::string m_bigFile;                   // one too big to be read with others
    std::string m_widened;                   // for a content search for a line end only
    TextFinder m_finder;                     // the content search's text, prepared
};

} // namespace listing
