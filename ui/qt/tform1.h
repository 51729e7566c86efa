#pragma once

#include "fonts.h"
#include "listing/cookie_listing.h"
#include "platform/qt/override_cursor.h"
#include "ui/commands.h"
#include "ui/keyboard_access.h"
#include "ui/main_form.h"

#include <QWidget>

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

class QLabel;
class QPlainTextEdit;

namespace platform {
class Desktop;
class Dialogs;
} // namespace platform

namespace ui {

class OpenDialog;
class ResultGrid;
class ResultTableModel;

// The program's one window, made from the form's description (main_form.h).
// Creating it runs start(), which lists the default cookie folder. Every
// handler is the shared one of Commands, run through runHandler(), which
// shows a failure in the application's error box through the dialog
// service, so that no exception reaches Qt's event loop.
class TForm1 final : public QWidget, public CommandWindow {
    Q_OBJECT
public:
    // Lists `startFolder` first when there is one, else the default folder.
    TForm1(platform::Dialogs &dialogs, platform::Desktop &desktop,
           const std::optional<platform::NamedPath> &startFolder = std::nullopt, QWidget *parent = nullptr);
    ~TForm1() override;

    listing::CookieListing &cookies() { return m_cookies; }
    ResultTableModel *tableModel() const { return m_model; }
    const LayoutScale &layoutScale() const { return m_scale; }

    // The status bar's text.
    QString statusText() const;

    // Runs a handler through the shared commands' error handling.
    template <typename Handler> void runHandler(Handler &&handler) noexcept { m_commands.run(handler); }

    // listing::ListingView
    void setStatusText(const std::string &text) override;
    void setBusyCursor(bool busy) override;
    void setTableVisible(bool visible) override;
    void setContentPaneVisible(bool visible) override;
    void setDeleteCommandsEnabled(bool enabled) override;
    void setCaption(const std::string &caption) override;
    void setFolderText(const std::string &text) override;
    void setSearchModeLabel(const std::string &text) override;
    void setClearSearchEnabled(bool enabled) override;
    void tableChanged() override;
    int tableFontPointSize() const override;

    // ui::CommandWindow
    int currentTableRow() const override;
    void focusTableRow(int row) override;
    OpenFileDialog &openDialog() override;
    std::string programFolder() const override;
    void contentPaneChanged() override;
    void clearPlaceholders() override;

    Commands &commands() { return m_commands; }

    // Runs a painted command as a click on it would: not while it is
    // disabled.
    void runPaintedCommand(keyboard::PaintedCommand command);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    QWidget *createControl(const form::Control &control, QWidget *parent);
    void dockControls();
    void setUpHints();
    void setUpFocus();
    void connectCommands();

    // The control that `id` describes, as the class it was made of.
    template <typename Widget = QWidget> Widget *controlOf(form::Id id) const
    {
        return qobject_cast<Widget *>(m_controls[static_cast<std::size_t>(form::indexOf(id))]);
    }
    ResultGrid *table() const;
    QPlainTextEdit *contentPane() const;
    // Enables or disables the controls that follow `rule`.
    void setEnabledWhere(form::Enabled rule, bool enabled);

    // Shows the content pane's text when the pane is visible and the text
    // has changed since it was last shown.
    void syncContentPane();

    LayoutScale m_scale;
    listing::CookieListing m_cookies;
    Commands m_commands;
    std::optional<platform::qt::OverrideCursor> m_busy;
    std::uint64_t m_shownRevision = 0;

    std::array<QWidget *, form::kIdCount> m_controls{};
    QLabel *m_statusLabel = nullptr;
    ResultTableModel *m_model = nullptr;
    OpenDialog *m_openDialog = nullptr;
};

} // namespace ui
