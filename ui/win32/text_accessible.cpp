#include "text_accessible.h"

#include "text_view.h"

namespace ui::win32 {

HRESULT STDMETHODCALLTYPE TextAccessible::get_accParent(IDispatch **parent)
{
    if (!m_view)
        return CO_E_OBJNOTCONNECTED;
    return windowObject(m_view->hwnd(), parent);
}

HRESULT STDMETHODCALLTYPE TextAccessible::get_accName(VARIANT child, BSTR *name)
{
    if (!m_view)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    return cp932String(m_view->accessibleName(), name);
}

HRESULT STDMETHODCALLTYPE TextAccessible::get_accValue(VARIANT child, BSTR *value)
{
    if (!m_view)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    return cp932String(m_view->accessibleValue(), value);
}

HRESULT STDMETHODCALLTYPE TextAccessible::get_accRole(VARIANT child, VARIANT *role)
{
    if (!role)
        return E_POINTER;
    if (!m_view)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    setLong(role, ROLE_SYSTEM_TEXT);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TextAccessible::get_accState(VARIANT child, VARIANT *state)
{
    if (!state)
        return E_POINTER;
    if (!m_view)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    long flags = STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == m_view->hwnd())
        flags |= STATE_SYSTEM_FOCUSED;
    if (!IsWindowVisible(m_view->hwnd()))
        flags |= STATE_SYSTEM_INVISIBLE;
    setLong(state, flags);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TextAccessible::get_accFocus(VARIANT *focus)
{
    if (!focus)
        return E_POINTER;
    VariantInit(focus);
    if (!m_view)
        return CO_E_OBJNOTCONNECTED;
    if (GetFocus() == m_view->hwnd())
        setLong(focus, CHILDID_SELF);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TextAccessible::accLocation(long *left, long *top, long *width, long *height, VARIANT child)
{
    if (!m_view)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    RECT client{};
    GetClientRect(m_view->hwnd(), &client);
    return screenLocation(m_view->hwnd(), client, left, top, width, height);
}

HRESULT STDMETHODCALLTYPE TextAccessible::accHitTest(long x, long y, VARIANT *child)
{
    if (!child)
        return E_POINTER;
    VariantInit(child);
    if (!m_view)
        return CO_E_OBJNOTCONNECTED;
    POINT at{x, y};
    ScreenToClient(m_view->hwnd(), &at);
    RECT client{};
    GetClientRect(m_view->hwnd(), &client);
    if (!PtInRect(&client, at))
        return S_FALSE;
    setLong(child, CHILDID_SELF);
    return S_OK;
}

} // namespace ui::win32
