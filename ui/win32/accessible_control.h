#pragma once

#include "owned_accessible.h"

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <functional>
#include <utility>

namespace ui::win32 {

// Gives a standard control (a tab strip, a list view) an accessible object
// of ours: answers the control's WM_GETOBJECT for its client area with the
// `Object` that `make` returns when first asked, and lets it go (forget(),
// then the control's reference) when the control goes, since a screen
// reader may hold the object longer than the control lives.
template <typename Object> class AccessibleControl {
public:
    AccessibleControl(HWND control, std::function<Object *()> make) : m_control(control), m_make(std::move(make))
    {
        SetWindowSubclass(m_control, &subclassProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    ~AccessibleControl()
    {
        if (IsWindow(m_control))
            RemoveWindowSubclass(m_control, &subclassProcedure, kSubclassId);
    }
    AccessibleControl(const AccessibleControl &) = delete;
    AccessibleControl &operator=(const AccessibleControl &) = delete;

private:
    // One id serves every Object: each has a procedure of its own.
    static constexpr UINT_PTR kSubclassId = 0x27C0;

    static LRESULT CALLBACK subclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self)
    {
        auto *control = reinterpret_cast<AccessibleControl *>(self);
        if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) {
            return control->m_accessible.answer(wParam, control->m_make);
        }
        if (message == WM_NCDESTROY) {
            control->m_accessible.release();
            RemoveWindowSubclass(hwnd, &subclassProcedure, kSubclassId);
        }
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }

    HWND m_control;
    std::function<Object *()> m_make;
    OwnedAccessible<Object> m_accessible;
};

} // namespace ui::win32
