#pragma once

#include "gdi.h"
#include "ui/form_layout.h"

#include <windows.h>

namespace ui::win32 {

// How the close button looks: an owner-drawn push button with its door
// picture (greyed while the button is disabled) before its caption, and the
// dark frame and dotted rectangle of the focused button. Holds the pictures.
class CloseButtonLook {
public:
    CloseButtonLook();

    // Draws the button as WM_DRAWITEM describes it, its caption in `font`,
    // the picture at `scale`.
    void draw(const DRAWITEMSTRUCT &item, HFONT font, const LayoutScale &scale) const;

private:
    BitmapHandle m_door;
    BitmapHandle m_doorDisabled;
};

} // namespace ui::win32
