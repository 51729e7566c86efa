#pragma once

#include <windows.h>

#include <string>

namespace ui::win32 {

// The input box: a small modal box centred on the screen with the caption,
// the prompt on one line, an edit of at most kMaxBytes bytes that starts
// with the default text selected, OK (the default button, Enter) and
// キャンセル (Esc). Returns the edit's text on OK, the default text on
// キャンセル or when the box is closed. Texts are CP932.
class InputBox {
public:
    static constexpr int kMaxBytes = 255;

    InputBox(std::string caption, std::string prompt, std::string defaultText);

    std::string exec(HWND owner);

private:
    static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void initialise(HWND dialog);
    void keepWithinLimit(HWND edit);

    std::string m_caption;
    std::string m_prompt;
    std::string m_defaultText;
    std::string m_text;
    std::string m_lastFitting;
};

} // namespace ui::win32
