#include "accessible_object.h"

#include "platform/wide_text_win32.h"

#include <string>

namespace ui::win32 {

HRESULT STDMETHODCALLTYPE AccessibleObject::QueryInterface(REFIID riid, void **object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, __uuidof(IAccessible))) {
        *object = static_cast<IAccessible *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AccessibleObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG STDMETHODCALLTYPE AccessibleObject::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::GetTypeInfoCount(UINT *count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo **info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                                                   UINT *)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accParent(IDispatch **parent)
{
    if (parent)
        *parent = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accChildCount(long *count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accChild(VARIANT, IDispatch **object)
{
    if (object)
        *object = nullptr;
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accName(VARIANT, BSTR *name)
{
    if (name)
        *name = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accValue(VARIANT, BSTR *value)
{
    if (value)
        *value = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accDescription(VARIANT, BSTR *description)
{
    if (description)
        *description = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accRole(VARIANT, VARIANT *role)
{
    if (role)
        VariantInit(role);
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accState(VARIANT, VARIANT *state)
{
    if (state)
        VariantInit(state);
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accHelp(VARIANT, BSTR *help)
{
    if (help)
        *help = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accHelpTopic(BSTR *file, VARIANT, long *topic)
{
    if (file)
        *file = nullptr;
    if (topic)
        *topic = -1;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accKeyboardShortcut(VARIANT, BSTR *shortcut)
{
    if (shortcut)
        *shortcut = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accFocus(VARIANT *focus)
{
    if (focus)
        VariantInit(focus);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accSelection(VARIANT *selection)
{
    if (selection)
        VariantInit(selection);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accDefaultAction(VARIANT, BSTR *action)
{
    if (action)
        *action = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accSelect(long, VARIANT)
{
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accLocation(long *left, long *top, long *width, long *height, VARIANT)
{
    for (long *value : {left, top, width, height})
        if (value)
            *value = 0;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accNavigate(long, VARIANT, VARIANT *end)
{
    if (end)
        VariantInit(end);
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accHitTest(long, long, VARIANT *child)
{
    if (child)
        VariantInit(child);
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accDoDefaultAction(VARIANT)
{
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::put_accName(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::put_accValue(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

long AccessibleObject::childId(const VARIANT &child)
{
    if (child.vt == VT_EMPTY)
        return CHILDID_SELF;
    if (child.vt == VT_I4)
        return child.lVal;
    return -1;
}

HRESULT AccessibleObject::windowObject(HWND hwnd, IDispatch **parent)
{
    if (!parent)
        return E_POINTER;
    *parent = nullptr;
    if (!IsWindow(hwnd))
        return E_FAIL;
    return CreateStdAccessibleObject(hwnd, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void **>(parent));
}

void AccessibleObject::setLong(VARIANT *variant, long value)
{
    VariantInit(variant);
    variant->vt = VT_I4;
    variant->lVal = value;
}

void AccessibleObject::setDispatch(VARIANT *variant, IDispatch *object)
{
    VariantInit(variant);
    variant->vt = VT_DISPATCH;
    variant->pdispVal = object;
}

HRESULT AccessibleObject::cp932String(std::string_view text, BSTR *out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    const std::wstring wide = platform::win32::wideFromCp932(text);
    if (wide.empty())
        return S_FALSE;
    *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT AccessibleObject::wideString(const wchar_t *text, BSTR *out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocString(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT AccessibleObject::screenLocation(HWND hwnd, RECT r, long *left, long *top, long *width, long *height)
{
    if (!left || !top || !width || !height)
        return E_POINTER;
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT *>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

} // namespace ui::win32
