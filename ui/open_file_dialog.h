#pragma once

#include "platform/dialogs.h"
#include "platform/filesystem.h"

#include <string>
#include <vector>

namespace ui {

// The window's open-file dialog, a component without a window of its own:
// its options and the file chosen last, which the next showing starts with.
class OpenFileDialog {
public:
    OpenFileDialog();

    const platform::NamedPath &fileName() const { return m_fileName; }
    const std::string &defaultExtension() const { return m_defaultExtension; }
    const std::vector<platform::FileFilter> &filters() const { return m_filters; }

    // Shows the dialog, opening in `folder` (with its trailing separator)
    // unless the file chosen last names another. True when the user chose a
    // file, which fileName() then holds.
    bool execute(platform::Dialogs &dialogs, const platform::NamedPath &folder);

private:
    platform::NamedPath m_fileName;
    std::string m_defaultExtension = "*.txt";
    std::vector<platform::FileFilter> m_filters;
};

} // namespace ui
