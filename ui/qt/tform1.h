#pragma once

#include "fonts.h"
#include "listing/cookie_listing.h"
#include "listing/listing_view.h"
#include "platform/qt/override_cursor.h"

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

// The application's title: the caption of its error box.
inline constexpr const char *kApplicationTitle = "Vellumin";

// The program's one window. Creating it runs FormCreate, which lists the
// default cookie folder. Every handler runs through runHandler(), which
// shows a failure in the application's error box through the dialog
// service, so that no exception reaches Qt's event loop.
class TForm1 final : public QWidget, public listing::ListingView {
    Q_OBJECT
public:
    TForm1(platform::Dialogs &dialogs, platform::Desktop &desktop, QWidget *parent = nullptr);
    ~TForm1() override;

    listing::CookieListing &cookies() { return m_cookies; }
    ResultTableModel *tableModel() const { return m_model; }
    const LayoutScale &layoutScale() const { return m_scale; }

    // The status bar's text.
    QString statusText() const;

    // Runs a handler: a failure (listing::ListingError or any other
    // exception) goes to the error box, and the content pane then shows
    // what the handler left in its model.
    template <typename Handler> void runHandler(Handler &&handler) noexcept
    {
        try {
            handler();
        } catch (const std::exception &error) {
            showError(error.what());
        } catch (...) {
            showError("unknown error");
        }
        syncContentPane();
    }

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

    // The commands of the window, each run through runHandler() by its
    // control; public so that tests can run them as the controls do.
    void stReLoadClick();
    void bbtnSch_FnameClick();
    void bbtnSch_MemoClick();
    void bbtnSch_ExitClick();
    void bbtnInPathSetClick();
    void grdMainClick();
    void bbtnVersionClick();
    void bbtnHelpClick();
    void stDeleteClick();
    void stAllDeleteClick();

    // The result table's row (from 1) that is current in the grid; 0 when
    // there is none.
    int currentTableRow() const;

    // The text of the cell that stands at `column` (0 to 4) of table row
    // `row`, where the user may have dragged the columns; empty elsewhere.
    std::string cellAtPosition(int column, int row) const;

private:
    void buildLayout();
    void setUpHints();
    void setUpFocus();
    void connectCommands();

    // The creation handler: clears the placeholder captions, resets the
    // table and the program state and lists the default cookie folder.
    void FormCreate();

    // Asks for a search text; a non-empty answer starts a search of `mode`.
    // The folder is listed again whatever the answer.
    void askForSearch(std::int32_t mode, const std::string &caption, const std::string &prompt);

    // The error box: the message with its final ".", caption "Vellumin",
    // the stop icon and OK. Never throws.
    void showError(const std::string &message) noexcept;

    // Shows the content pane's text when the pane is visible and the text
    // has changed since it was last shown.
    void syncContentPane();

    platform::Dialogs &m_dialogs;
    platform::Desktop &m_desktop;
    LayoutScale m_scale;
    listing::CookieListing m_cookies;
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

// The content pane's CP932 text (CR LF line ends) as the text view shows it.
QString contentPaneText(const std::string &cp932);

} // namespace ui
