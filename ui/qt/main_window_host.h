#pragma once

#include "platform/qt/override_cursor.h"
#include "ui/main_window.h"
#include "ui/window_host.h"

#include <QWidget>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QTabBar;

namespace platform {
class Desktop;
class Dialogs;
} // namespace platform

namespace ui::qt {

class CookieTableModel;
class CookieView;
class ResultGrid;
class ResultTableModel;
class TextView;

// The program's one window in Qt: it makes the form's controls
// (main_form.h) as widgets, paints them, and hands their events to the
// window's behaviour (MainWindow), which reaches them back through the
// WindowHost primitives. Creating it starts the window, which lists the
// default cookie folder.
class MainWindowHost final : public QWidget, public WindowHost {
    Q_OBJECT
public:
    // Lists `startFolder` first when there is one, else the default folder;
    // `readOnly` as MainWindow::setReadOnly().
    MainWindowHost(platform::Dialogs &dialogs, platform::Desktop &desktop,
                   const std::optional<platform::NamedPath> &startFolder = std::nullopt, bool readOnly = false,
                   QWidget *parent = nullptr);
    ~MainWindowHost() override;

    MainWindow &window() { return m_window; }
    listing::CookieListing &cookies() { return m_window.cookies(); }
    ResultTableModel *tableModel() const { return m_model; }
    const LayoutScale &layoutScale() const { return m_scale; }

    // The control that `id` describes, as the class it was made of.
    template <typename Widget = QWidget> Widget *controlOf(form::Id id) const
    {
        return qobject_cast<Widget *>(m_controls[static_cast<std::size_t>(form::indexOf(id))]);
    }

    // The status bar's text as it shows.
    QString statusText() const;

    // WindowHost
    void setText(form::Id id, const std::string &text) override;
    void setEnabled(form::Id id, bool enabled) override;
    void setVisible(form::Id id, bool visible) override;
    void setFocus(form::Id id) override;
    std::optional<form::Id> focusedControl() const override;
    void showPaneText(const listing::ContentPane &pane) override;
    void setContentView(form::ContentView view) override;
    void cookieTableChanged() override;
    std::vector<int> selectedCookieRows() const override;
    int currentCookieRow() const override;
    void selectCookieRows(int first, int last) override;
    void copyText(const std::string &text) override;
    void tableChanged() override;
    void makeRowCurrent(int row) override;
    int currentRow() const override;
    void setBusyCursor(bool busy) override;
    void close() override;
    std::string programFolder() const override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    QWidget *createControl(const form::Control &control, QWidget *parent);
    // Places every docked control by the form's docking rules.
    void layOutDocked();
    void setUpHints();
    void setUpFocus();
    void connectEvents();
    void connectContentTabs();

    ResultGrid *table() const;
    TextView *contentPane() const;
    QTabBar *contentTabs() const;
    CookieView *cookieView() const;

    LayoutScale m_scale;
    MainWindow m_window;
    std::optional<platform::qt::OverrideCursor> m_busy;
    std::array<QWidget *, form::kIdCount> m_controls{};
    // The docked controls' extents, which the splitters change.
    std::array<int, form::kIdCount> m_extents{};
    QLabel *m_statusLabel = nullptr;
    ResultTableModel *m_model = nullptr;
    CookieTableModel *m_cookieModel = nullptr;
};

} // namespace ui::qt
