#pragma once

#include "ui/commands.h"

#include <QObject>

namespace ui {

// The window's open-file dialog as one of its components: it has no widget
// of its own and keeps the shared dialog's options and last choice.
class OpenDialog : public QObject {
    Q_OBJECT
public:
    explicit OpenDialog(QObject *parent = nullptr);

    OpenFileDialog &dialog() { return m_dialog; }

private:
    OpenFileDialog m_dialog;
};

} // namespace ui
