#pragma once

#include "platform/filesystem.h"

#include <string>
#include <string_view>

namespace listing {

struct CookieEntry;

// What the folder scan changes in the window, apart from the table and the
// content pane models. Texts are CP932. The window implements it; tests use
// a recording fake.
class ListingView {
public:
    virtual ~ListingView() = default;

    virtual void setStatusText(const std::string &text) = 0;
    virtual void setBusyCursor(bool busy) = 0;
    virtual void setTableVisible(bool visible) = 0;
    virtual void setContentPaneVisible(bool visible) = 0;
    virtual void setDeleteCommandsEnabled(bool enabled) = 0;
    virtual void setCaption(const std::string &caption) = 0;
    virtual void setFolderText(const std::string &text) = 0;
    virtual void setSearchModeLabel(const std::string &text) = 0;
    virtual void setClearSearchEnabled(bool enabled) = 0;

    // The result table was rebuilt: a view of it reads it anew.
    virtual void tableChanged() = 0;

    // Data row `row` was just added for `entry`, read from the file whose
    // real name is `nativeName` and whose bytes are `text`, as the scan read
    // them (line ends as in the file), and whose times were `times` when it
    // was opened. All are valid only during the call. For a view that wants
    // more of each file than the table keeps, without reading it again; the
    // window ignores it.
    virtual void fileListed(int /*row*/, const CookieEntry & /*entry*/, std::string_view /*nativeName*/,
                            std::string_view /*text*/, const platform::FileTimes & /*times*/)
    {}

    // The table font's size in points: its pixel height x 72 / the screen's
    // dots per inch, rounded.
    virtual int tableFontPointSize() const = 0;
};

} // namespace listing
