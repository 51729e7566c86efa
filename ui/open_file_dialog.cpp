#include "open_file_dialog.h"

#include "platform/cp932.h"

#include <optional>
#include <utility>

namespace ui {

OpenFileDialog::OpenFileDialog()
    : m_filters{{platform::cp932::fromUtf8("クッキーファイル (*.txt)"), "*.txt"},
                {platform::cp932::fromUtf8("すべてのファイル (*.*)"), "*.*"}}
{}

bool OpenFileDialog::execute(platform::Dialogs &dialogs, const platform::NamedPath &folder)
{
    std::optional<platform::NamedPath> chosen =
        dialogs.openFileName({m_fileName, m_defaultExtension, folder, m_filters});
    if (!chosen)
        return false;
    m_fileName = std::move(*chosen);
    return true;
}

} // namespace ui
