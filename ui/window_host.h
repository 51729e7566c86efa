#pragma once

#include "ui/main_form.h"

#include <optional>
#include <string>
#include <vector>

namespace listing {
class ContentPane;
}

namespace ui {

// What the window's behaviour needs of a toolkit: the controls the form
// describes, made and painted by the toolkit, reached by their form ids.
// The host holds no rule of its own; MainWindow decides and calls these,
// and the host hands its toolkit's events to MainWindow. Texts are CP932.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    // The control's text: the window's caption, the status bar's text, a
    // panel's or a label's caption, the folder box's contents.
    virtual void setText(form::Id id, const std::string &text) = 0;
    virtual void setEnabled(form::Id id, bool enabled) = 0;
    virtual void setVisible(form::Id id, bool visible) = 0;
    // Gives `id` the keyboard focus, where the user can see it.
    virtual void setFocus(form::Id id) = 0;
    // The control that has the keyboard focus, if one of the form's has.
    virtual std::optional<form::Id> focusedControl() const = 0;

    // Shows `pane`'s text in the content pane.
    virtual void showPaneText(const listing::ContentPane &pane) = 0;

    // Makes `view`'s tab the current one of the lower pane's tab strip,
    // without telling it as chosen by the user.
    virtual void setContentView(form::ContentView view) = 0;
    // The decoded cookies were loaded anew: the cookie view reads
    // MainWindow::cookieTable() again, with no row selected.
    virtual void cookieTableChanged() = 0;
    // The rows (from 0) selected in the cookie view, in the table's order.
    virtual std::vector<int> selectedCookieRows() const = 0;
    // The cookie view's current row (from 0), the one its focus frame is
    // on; -1 when it has none.
    virtual int currentCookieRow() const = 0;
    // Selects exactly the cookie view's rows `first` to `last` (from 0).
    // The current row stays where it is when it lies among them, and
    // becomes `first` otherwise.
    virtual void selectCookieRows(int first, int last) = 0;
    // Puts `text` (CP932) on the clipboard.
    virtual void copyText(const std::string &text) = 0;

    // The result table was rebuilt: the grid reads it anew and makes its
    // first row current.
    virtual void tableChanged() = 0;
    // Makes table row `row` (from 1) current and the only selected row, in
    // view, without telling it as made current by the user.
    virtual void makeRowCurrent(int row) = 0;
    // The table row (from 1) current in the grid; 0 when none.
    virtual int currentRow() const = 0;

    virtual void setBusyCursor(bool busy) = 0;
    // Closes the window, which ends the program.
    virtual void close() = 0;
    // The program's own folder, a native path with its trailing separator.
    virtual std::string programFolder() const = 0;
};

// Holds a scoped busy cursor in `holder` while `busy`: a host's
// setBusyCursor(), which the window calls once a change.
template <typename BusyCursor> void holdWhileBusy(std::optional<BusyCursor> &holder, bool busy)
{
    if (busy)
        holder.emplace();
    else
        holder.reset();
}

} // namespace ui
