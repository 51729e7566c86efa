#include "tab_strip_accessible.h"

#include <commctrl.h>

#include <utility>

namespace ui::win32 {
TabStripAccessible::TabStripAccessible(HWND tabs, std::function<void(int)> choose)
    : m_tabs(tabs), m_choose(std::move(choose))
{}

int TabStripAccessible::tabCount() const
{
    return static_cast<int>(SendMessageW(m_tabs, TCM_GETITEMCOUNT, 0, 0));
}

int TabStripAccessible::chosenTab() const
{
    return static_cast<int>(SendMessageW(m_tabs, TCM_GETCURSEL, 0, 0));
}

int TabStripAccessible::tabOf(const VARIANT &child) const
{
    const long id = childId(child);
    if (id == CHILDID_SELF)
        return -1;
    if (id < 1 || id > tabCount())
        return -2;
    return static_cast<int>(id - 1);
}

HRESULT STDMETHODCALLTYPE TabStripAccessible::get_accParent(IDispatch **parent)
{
    if (!m_tabs)
        return CO_E_OBJNOTCONNECTED;
    return windowObject(m_tabs, parent);
}

HRESULT STDMETHODCALLTYPE TabStripAccessible::get_accChildCount(long *count)
{
    if (!count)
        return E_POINTER;
    if (!m_tabs)
        return CO_E_OBJNOTCONNECTED;
    *count = tabCount();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TabStripAccessible::get_accName(VARIANT child, BSTR *name)
{
    if (!m_tabs)
        return CO_E_OBJNOTCONNECTED;
    int tab = tabOf(child);
    if (tab == -2)
        return E_INVALIDARG;
    // The strip reads as its chosen tab, as a screen reader announces it.
    if (tab == -1 && (tab = chosenTab()) < 0)
        return S_FALSE;
    wchar_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    SendMessageW(m_tabs, TCM_GETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    return wideString(text, name);
}

HRESULT STDMETHODCALLTYPE TabStripAccessible::get_accRole(VARIANT child, VARIANT *role)
{
    if (!role)
        return E_POINTER;
    if (!m_tabs)
        return CO_E_OBJNOTCONNECTED;
    const int tab = tabOf(child);
    if (tab == -2)
        return E_INVALIDARG;
    setLong(role, tab == -1 ? ROLE_SYSTEM_PAGETABLIST : ROLE_SYSTEM_PAGETAB);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TabStripAccessible::get_accState(VARIANT child, VARIANT *state)
{
    if (!state)
        return E_POINTER;
    if (!m_tabs)
        return CO_E_OBJNOTCONNECTED;
    const int tab = tabOf(child);
    if (tab == -2)
        return E_INVALIDARG;
    long flags = IsWindowVisible(m_tabs) ? 0 : STATE_SYSTEM_INVISIBLE;
    if (tab == -1) {
        flags |= STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == m_tabs)
            flags |= STATE_SYSTEM_FOCUSED;
    } else {
        flags |= STATE_SYSTEM_SELECTABLE;
        if (chosenTab() == tab) {
            flags |= STATE_SYSTEM_SELECTED;
            if (GetFocus() == m_tabs)
                flags |= STATE_SYSTEM_FOCUSED;
        }
    }
    setLong(state, flags);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TabStripAccessible::get_accFocus(VARIANT *focus)
{
    if (!focus)
        return E_POINTER;
    VariantInit(focus);
    if (!m_tabs)
        return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != m_tabs)
        return S_FALSE;
    const int tab = chosenTab();
    setLong(focus, tab >= 0 ? tab + 1 : CHILDID_SELF);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TabStripAccessible::get_accSelection(VARIANT *selection)
{
    if (!selection)
        return E_POINTER;
    VariantInit(selection);
    if (!m_tabs)
        return CO_E_OBJNOTCONNECTED;
    const int tab = chosenTab();
    if (tab < 0)
        return S_FALSE;
    setLong(selection, tab + 1);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TabStripAccessible::get_accDefaultAction(VARIANT child, BSTR *action)
{
    if (!m_tabs)
        return CO_E_OBJNOTCONNECTED;
    const int tab = tabOf(child);
    if (tab < 0)
        return tab == -1 ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    return wideString(L"切り替え", action);
}

HRESULT STDMETHODCALLTYPE TabStripAccessible::accDoDefaultAction(VARIANT child)
{
    if (!m_tabs)
        return CO_E_OBJNOTCONNECTED;
    const int tab = tabOf(child);
    if (tab < 0)
        return tab == -1 ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    SendMessageW(m_tabs, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    m_choose(tab);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TabStripAccessible::accLocation(long *left, long *top, long *width, long *height,
                                                          VARIANT child)
{
    if (!m_tabs)
        return CO_E_OBJNOTCONNECTED;
    const int tab = tabOf(child);
    if (tab == -2)
        return E_INVALIDARG;
    RECT r{};
    if (tab == -1)
        GetClientRect(m_tabs, &r);
    else
        SendMessageW(m_tabs, TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&r));
    return screenLocation(m_tabs, r, left, top, width, height);
}

} // namespace ui::win32
