#pragma once

#include "fonts.h"
#include "listing/cookie_listing.h"
#include "platform/qt/override_cursor.h"
#include "ui/commands.h"
#include "ui/keyboard_access.h"

#include <QWidget>

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStatusBar;

namespace platform {
class Desktop;
class Dialogs;
} // namespace platform

namespace ui {

class ClickableText;
class OpenDialog;
class Panel;
class PushButton;
class ResultGrid;
class ResultTableModel;
class Splitter;
class StaticText;

// The program's one window. Creating it runs FormCreate, which lists the
// default cookie folder. Every handler is the shared one of Commands, run
// through runHandler(), which shows a failure in the application's error
// box through the dialog service, so that no exception reaches Qt's event
// loop.
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

    // The text of the cell that stands at `column` (0 to 4) of table row
    // `row`, where the user may have dragged the columns; empty elsewhere.
    std::string cellAtPosition(int column, int row) const;

    // Runs a painted command as a click on it would: not while it is
    // disabled.
    void runPaintedCommand(keyboard::PaintedCommand command);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void setUpHints();
    void setUpFocus();
    void connectCommands();

    // Shows the content pane's text when the pane is visible and the text
    // has changed since it was last shown.
    void syncContentPane();

    LayoutScale m_scale;
    listing::CookieListing m_cookies;
    Commands m_commands;
    std::optional<platform::qt::OverrideCursor> m_busy;
    std::uint64_t m_shownRevision = 0;

    Panel *m_pnlToolBtn = nullptr;
    StaticText *m_StaticText1 = nullptr;
    QLineEdit *m_edInPath = nullptr;
    PushButton *m_bbtnInPathSet = nullptr;
    QStatusBar *m_StatusBar1 = nullptr;
    QLabel *m_statusLabel = nullptr;
    Panel *m_pnlMenu = nullptr;
    ClickableText *m_stDelete = nullptr;
    ClickableText *m_stAllDelete = nullptr;
    ClickableText *m_stReLoad = nullptr;
    QGroupBox *m_GroupBox1 = nullptr;
    PushButton *m_bbtnSch_Fname = nullptr;
    PushButton *m_bbtnSch_Memo = nullptr;
    PushButton *m_bbtnSch_Exit = nullptr;
    PushButton *m_bbtnHelp = nullptr;
    PushButton *m_bbtnVersion = nullptr;
    PushButton *m_bbtnExit = nullptr;
    Splitter *m_Splitter2 = nullptr;
    Panel *m_Panel3 = nullptr;
    Panel *m_pnlSelPcLoginName = nullptr;
    StaticText *m_stSchModeInfo = nullptr;
    ResultGrid *m_grdMain = nullptr;
    ResultTableModel *m_model = nullptr;
    Splitter *m_Splitter1 = nullptr;
    Panel *m_Panel4 = nullptr;
    QPlainTextEdit *m_riedRead_OneCookies = nullptr;
    OpenDialog *m_OpenDialog1 = nullptr;
};

} // namespace ui
