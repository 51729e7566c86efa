#pragma once

#include "accessible_object.h"

namespace ui::win32 {

class TextView;

// The content pane as a screen reader sees it: a read-only text named for
// what it shows, whose value is its text (TextView::accessibleValue()),
// focusable, and found at its place on the screen.
class TextAccessible final : public AccessibleObject {
public:
    explicit TextAccessible(const TextView &view) : m_view(&view) {}

    // The view went: every later call answers that the object is gone.
    void forget() { m_view = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override;
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *child) override;

private:
    const TextView *m_view;
};

} // namespace ui::win32
