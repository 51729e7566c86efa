#pragma once

#include "content_pane.h"
#include "cookie_entry.h"
#include "program_state.h"
#include "result_table.h"
#include "platform/filesystem.h"

#include <string>
#include <string_view>

namespace listing {

class BusyCursor;
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

    void InitState() { listing::InitState(m_state); }

    // Reads `fileName` (a bare CP932 name) in `folder` into the content pane
    // and makes an entry of its first three lines. In a content search, a
    // file without the search text gives an empty entry. An empty name gives
    // an empty entry and leaves the pane alone. Throws FileOpenError when the
    // file cannot be opened (the pane is empty then).
    TCookies ReadCookieFile(const std::string &folder, const std::string &fileName);

    // Position of the search text in the content pane's text, or -1.
    long long FindInContent(std::string_view text) const;

    // Writes the search-mode label and enables the clear-search command.
    void ShowSearchMode(ListingView &view) const;

    // Rebuilds the table from the cookie folder under the current search and
    // reports to `view`. A file that cannot be read ends the scan at that
    // file: the view first gets the finished state for the rows found so
    // far, then the error is thrown.
    void ListCookieFiles(ListingView &view);

    // Deletes `fileName` in `folder` (CP932). True when it was deleted.
    bool DeleteCookieFile(const std::string &folder, const std::string &fileName);

    // The folder of the last scan, whose files the table's rows name.
    const std::string &listedFolder() const { return m_listedFolder; }

    // Reads the file that data row `row` was made from into the content pane,
    // whatever its cells show; nothing happens for other rows.
    void readRowFile(int row);

    // Deletes the file that data row `row` was made from. True when it was
    // deleted; false for other rows.
    bool deleteRowFile(int row);

private:
    // Fills m_entry from the file; `nativePath` is the path that opens it,
    // `folder` and `fileName` name it in CP932.
    void readInto(const std::string &folder, std::string_view fileName, const std::string &nativePath,
                  platform::FileCheck check = platform::FileCheck::MustBeRegular);
    std::string rowFilePath(int row) const;
    void finishScan(ListingView &view, BusyCursor &busy, int count);

    ProgramState m_state;
    ResultTable m_table;
    ContentPane m_pane;
    std::string m_listedFolder;
    // Reused for every file of a scan.
    TCookies m_entry;
    std::string m_fileBytes;
    std::string m_nativePath;
};

} // namespace listing
