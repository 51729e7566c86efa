#include "open_dialog.h"

#include "platform/dialogs.h"

namespace ui {

OpenDialog::OpenDialog(QObject *parent) : QObject(parent)
{
}

bool OpenDialog::execute(platform::Dialogs &dialogs)
{
    const std::optional<std::string> chosen = dialogs.openFileName({m_fileName, m_defaultExtension});
    if (!chosen)
        return false;
    m_fileName = *chosen;
    return true;
}

} // namespace ui
