#include "open_dialog.h"

namespace ui {

OpenDialog::OpenDialog(QObject *parent) : QObject(parent)
{
}

} // namespace ui
