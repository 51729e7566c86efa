#pragma once

#include <windows.h>

#include <oleacc.h>

namespace ui::win32 {

// The accessible object of a window or control: made when a screen reader
// first asks (WM_GETOBJECT for the client area), and let go with the window,
// forget() first and then our reference, since a screen reader may hold the
// object longer than the window lives. `Object` has forget().
template <typename Object> class OwnedAccessible {
public:
    OwnedAccessible() = default;
    OwnedAccessible(const OwnedAccessible &) = delete;
    OwnedAccessible &operator=(const OwnedAccessible &) = delete;
    ~OwnedAccessible() { release(); }

    // The answer to WM_GETOBJECT for OBJID_CLIENT: the object, made by
    // `make` (which returns a new one with one reference) when first asked.
    template <typename Make> LRESULT answer(WPARAM wParam, Make &&make)
    {
        if (!m_object)
            m_object = make();
        return LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible *>(m_object));
    }

    // The window goes: every later call of a screen reader on the object
    // answers that it is gone.
    void release()
    {
        if (!m_object)
            return;
        m_object->forget();
        m_object->Release();
        m_object = nullptr;
    }

private:
    Object *m_object = nullptr;
};

} // namespace ui::win32
