#include "command_accessible.h"

#include <commctrl.h>

namespace ui::win32 {

CommandAccessible::CommandAccessible(HWND command, std::string name, std::string key)
    : m_command(command), m_name(std::move(name)), m_key(std::move(key))
{}

HRESULT STDMETHODCALLTYPE CommandAccessible::get_accParent(IDispatch **parent)
{
    if (!m_command)
        return CO_E_OBJNOTCONNECTED;
    return windowObject(m_command, parent);
}

HRESULT STDMETHODCALLTYPE CommandAccessible::get_accName(VARIANT child, BSTR *name)
{
    if (!m_command)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    return cp932String(m_name, name);
}

HRESULT STDMETHODCALLTYPE CommandAccessible::get_accRole(VARIANT child, VARIANT *role)
{
    if (!role)
        return E_POINTER;
    if (!m_command)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    setLong(role, ROLE_SYSTEM_PUSHBUTTON);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CommandAccessible::get_accState(VARIANT child, VARIANT *state)
{
    if (!state)
        return E_POINTER;
    if (!m_command)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    long flags = 0;
    if (!IsWindowEnabled(m_command))
        flags |= STATE_SYSTEM_UNAVAILABLE;
    else
        flags |= STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == m_command)
        flags |= STATE_SYSTEM_FOCUSED;
    if (!IsWindowVisible(m_command))
        flags |= STATE_SYSTEM_INVISIBLE;
    setLong(state, flags);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CommandAccessible::get_accKeyboardShortcut(VARIANT child, BSTR *shortcut)
{
    if (!m_command)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    return cp932String(m_key, shortcut);
}

HRESULT STDMETHODCALLTYPE CommandAccessible::get_accDefaultAction(VARIANT child, BSTR *action)
{
    if (!m_command)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    return wideString(L"押す", action);
}

HRESULT STDMETHODCALLTYPE CommandAccessible::accDoDefaultAction(VARIANT child)
{
    if (!m_command)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    if (!IsWindowEnabled(m_command))
        return S_FALSE;
    // Posted: the click runs after this call has returned. The parent
    // checks again that the command is still enabled when it arrives.
    PostMessageW(GetParent(m_command), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_command), STN_CLICKED),
                 reinterpret_cast<LPARAM>(m_command));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CommandAccessible::accLocation(long *left, long *top, long *width, long *height,
                                                         VARIANT child)
{
    if (!m_command)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    RECT client{};
    GetClientRect(m_command, &client);
    return screenLocation(m_command, client, left, top, width, height);
}

} // namespace ui::win32
