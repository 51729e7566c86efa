// The bare controls beside the window's own, in the same process: a rich
// edit streamed the same text, and a virtual report list of the same rows
// taking the same keys, so that a reader can tell what the toolkit itself
// costs (under Wine, above all) from what the window adds.

#pragma once

#include "window_report.h"

#include <windows.h>

#include <functional>
#include <string_view>
#include <vector>

namespace bench {

// Handles what is pending, and paints what is invalid, now.
void settleWindow(HWND window);

// Sends one key press to `control`, with Shift and Ctrl held as asked (the
// control reads them with GetKeyState), and lets go of them after. With
// `deliver`, each message goes through it, as a message loop would hand it
// over; else straight to the control.
void pressKey(HWND control, WPARAM virtualKey, bool shift, bool control_,
              const std::function<void(MSG &)> &deliver = nullptr);

// Runs `step`, settles `window` and keeps the time in `into` when it is the
// least so far.
void timeStep(WindowStep &into, HWND window, const std::function<void()> &step);

// The rows a list view has selected, as it counts them.
int selectedCount(HWND list);

// A bare rich edit of the window's pane's styles, in a window of its own,
// streamed `crLfText` (CP932, CR LF line ends) as UTF-16 until painted:
// with word wrap at its width as the pane has it, and again without, so
// that what wrapping costs shows. Best of `runs`.
std::vector<WindowStep> measureBareRichEdit(std::string_view crLfText, int runs);

// A bare virtual report list of `rows` rows and `columns` columns, each cell
// a short fixed text: shown until painted, then Shift+End, Home, all rows
// selected (LVM_SETITEMSTATE on every row, what Ctrl+A does) and the
// selection walked by LVM_GETNEXTITEM (the least a copy that asks the list
// costs), each until painted. Best of `runs`.
std::vector<WindowStep> measureBareList(int rows, int columns, int runs);

} // namespace bench
