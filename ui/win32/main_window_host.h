#pragma once

#include "accessible_control.h"
#include "close_button.h"
#include "command_text.h"
#include "cookie_list.h"
#include "fonts.h"
#include "listing/cookie_listing.h"
#include "panel.h"
#include "platform/win32/busy_cursor.h"
#include "result_grid.h"
#include "splitter.h"
#include "tab_strip_accessible.h"
#include "text_view.h"
#include "ui/main_window.h"
#include "ui/window_host.h"
#include "window.h"

#include <commctrl.h>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class Desktop;
class Dialogs;
} // namespace platform

namespace ui::win32 {

// The program's one window in plain Win32: it makes the form's controls
// (main_form.h) as windows, paints what is its own, and hands their
// messages to the window's behaviour (MainWindow), which reaches them back
// through the WindowHost primitives. create() makes the controls and starts
// the window, which lists the default cookie folder; a failure there goes
// to the error box and the window still opens.
class MainWindowHost final : public Window, public ui::WindowHost {
public:
    MainWindowHost(platform::Dialogs &dialogs, platform::Desktop &desktop);
    ~MainWindowHost() override;

    // Creates the window (hidden) owned by `owner`, at its designed place
    // and size, and runs start().
    HWND create(HWND owner = nullptr);

    // Shows the window with a show command (SW_SHOWMAXIMIZED,
    // SW_SHOWMINNOACTIVE, or anything else for its designed place), with the
    // focus where the window starts it (the browse button).
    void show(int showCommand);

    // The window's share of the message loop: the keys the window gives a
    // meaning to (MainWindow::keyPressed, Alt with a caption's access key
    // among them), Tab out of the content pane, and the dialog keys. True
    // when the message was handled.
    bool translate(MSG &message);

    ui::MainWindow &window() { return m_window; }
    listing::CookieListing &cookies() { return m_window.cookies(); }
    ResultGrid &grid() { return m_grid; }
    // The control that `id` describes.
    HWND controlOf(form::Id id) const { return m_controls[static_cast<std::size_t>(form::indexOf(id))]; }
    const LayoutScale &layoutScale() const { return m_scale; }

    // The status bar's text.
    std::string statusText() const;
    // The tooltip window that shows the hints.
    HWND hintWindow() const { return m_hints; }
    // The content pane's text as the view shows it, and the view.
    std::string contentPaneShownText() const;
    TextView &contentPane() { return *m_contentPane; }

    // ui::WindowHost
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
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void buildControls();
    HWND createControl(const form::Control &control, HWND parent);
    void applyTabOrder();
    void setUpHints();
    // Lays out every docked control by the form's docking rules.
    void layOut();
    void onCommand(int id, int code, HWND control);
    // The tab strip's and the cookie view's notifications.
    LRESULT onNotify(NMHDR &header);
    // Tells screen readers that the tab strip's chosen tab (and so its name)
    // changed.
    void announceChosenTab() const;
    // The panel that `id` describes.
    Panel &panel(form::Id id) const;
    HFONT fontFor(form::Font font) const;

    LayoutScale m_scale;
    ui::MainWindow m_window;
    std::optional<platform::win32::BusyCursor> m_busy;
    HWND m_lastFocus = nullptr;

    FontHandle m_font;
    FontHandle m_boldFont;
    FontHandle m_commandFont;
    CloseButtonLook m_closeButton;
    BrushHandle m_windowBrush;

    // Every control by its place in the form; the window classes of our own
    // (panels, command texts, splitters, the content pane) owned here, the
    // grid a member.
    std::array<HWND, form::kIdCount> m_controls{};
    std::array<std::unique_ptr<Window>, form::kIdCount> m_ownWindows;
    ResultGrid m_grid;
    TextView *m_contentPane = nullptr;
    // The docked controls' extents, which the splitters change.
    std::array<int, form::kIdCount> m_extents{};
    HWND m_hints = nullptr;
    std::unique_ptr<CookieList> m_cookieList;
    std::unique_ptr<AccessibleControl<TabStripAccessible>> m_accessibleTabs;
};

} // namespace ui::win32
