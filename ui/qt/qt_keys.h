#pragma once

#include "ui/keyboard_access.h"

class QKeyEvent;

namespace ui::qt {

// A Qt key press in the window's own terms.
keyboard::KeyStroke keyStroke(const QKeyEvent &event);

} // namespace ui::qt
