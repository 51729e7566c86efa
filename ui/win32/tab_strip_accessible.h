#pragma once

#include "accessible_object.h"

#include <functional>
#include <memory>

namespace ui::win32 {

// A tab control as a screen reader reads it: a page tab list named by its
// chosen tab, whose children are its tabs, named by their captions, the
// chosen one selected (and focused while the strip has the focus); a tab's
// default action chooses it, through `choose`, as a click does.
class TabStripAccessible final : public AccessibleObject {
public:
    TabStripAccessible(HWND tabs, std::function<void(int)> choose);

    // The control went: every later call answers that the object is gone.
    void forget() { m_tabs = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height, VARIANT child) override;

private:
    int tabCount() const;
    // The tab a child id names (from 0); -1 for the strip, -2 for none.
    int tabOf(const VARIANT &child) const;
    int chosenTab() const;

    HWND m_tabs;
    std::function<void(int)> m_choose;
};

} // namespace ui::win32
