#pragma once

#include "accessible_object.h"

#include <string>

namespace ui::win32 {

// A command text as a screen reader sees it: a push button named by its
// text without the blanks that widen it, with its key, unavailable while
// disabled, whose default action clicks it once the call has returned, so
// that the question a command asks never holds the screen reader's call
// open.
class CommandAccessible final : public AccessibleObject {
public:
    // `name` and `key` are CP932.
    CommandAccessible(HWND command, std::string name, std::string key);

    // The command went: every later call answers that the object is gone.
    void forget() { m_command = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height, VARIANT child) override;

private:
    HWND m_command;
    std::string m_name;
    std::string m_key;
};

} // namespace ui::win32
