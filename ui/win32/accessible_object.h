#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string_view>

namespace ui::win32 {

// What a screen reader reaches through MSAA: an IAccessible whose members
// answer "not there" until a subclass gives them a meaning. Each object
// counts its own references and deletes itself at the last release; one
// made for a window must let go of it (forget it) when the window goes,
// since a screen reader may hold the object longer than the window lives.
// (IAccessible's IID is named by __uuidof: MinGW's import library gives the
// symbol IID_IAccessible the address of a jump, not of the IID.)
class AccessibleObject : public IAccessible {
public:
    AccessibleObject() = default;
    AccessibleObject(const AccessibleObject &) = delete;
    AccessibleObject &operator=(const AccessibleObject &) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: no type information; screen readers call IAccessible itself.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

protected:
    virtual ~AccessibleObject() = default;

    // The child id a VARIANT names: VT_I4 (or VT_EMPTY for the object
    // itself); -1 for anything else.
    static long childId(const VARIANT &child);
    // The standard object of `hwnd`'s window (frame), a parent for an
    // object of its client area.
    static HRESULT windowObject(HWND hwnd, IDispatch **parent);
    static void setLong(VARIANT *variant, long value);
    static void setDispatch(VARIANT *variant, IDispatch *object);
    // A BSTR of CP932 text; S_FALSE with no string for an empty text.
    static HRESULT cp932String(std::string_view text, BSTR *out);
    static HRESULT wideString(const wchar_t *text, BSTR *out);
    // Where `r` (client coordinates of `hwnd`) lies on the screen.
    static HRESULT screenLocation(HWND hwnd, RECT r, long *left, long *top, long *width, long *height);

private:
    LONG m_references = 1;
};

} // namespace ui::win32
