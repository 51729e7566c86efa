#include "close_button.h"

#include "resources/resource_ids.h"
#include "ui/main_form.h"

#include <string>

namespace ui::win32 {
namespace {

// The colour the door pictures are transparent in.
constexpr COLORREF kTransparentKey = RGB(0xFF, 0x00, 0xFF);

std::wstring windowText(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

HBITMAP loadPicture(int id)
{
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
}

} // namespace

CloseButtonLook::CloseButtonLook() : m_door(loadPicture(IDB_DOOR)), m_doorDisabled(loadPicture(IDB_DOOR_DISABLED)) {}

void CloseButtonLook::draw(const DRAWITEMSTRUCT &item, HFONT font, const LayoutScale &scale) const
{
    const HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool focused = item.itemState & ODS_FOCUS;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;

    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (focused) {
        // The dark outer frame of the focused button.
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));
    if (pressed)
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));

    const std::wstring caption = windowText(item.hwndItem);
    const SelectObjectScope selected(dc, font);
    RECT measure{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure, DT_CALCRECT | DT_SINGLELINE);
    const int picture = scale.px(form::kDoorSize);
    const int gap = scale.px(form::kPictureGap);
    const int width = picture + gap + (measure.right - measure.left);
    const int shift = pressed ? 1 : 0;
    const int left = (item.rcItem.left + item.rcItem.right - width) / 2 + shift;
    const int middle = (item.rcItem.top + item.rcItem.bottom) / 2 + shift;

    const HBITMAP door = disabled ? m_doorDisabled.get() : m_door.get();
    if (door) {
        const HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ previous = SelectObject(source, door);
        TransparentBlt(dc, left, middle - picture / 2, picture, picture, source, 0, 0, form::kDoorSize, form::kDoorSize,
                       kTransparentKey);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    RECT text{left + picture + gap, middle - (measure.bottom - measure.top) / 2, item.rcItem.right,
              middle + (measure.bottom - measure.top) / 2 + 1};
    SetBkMode(dc, TRANSPARENT);
    if (disabled) {
        OffsetRect(&text, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE);
        OffsetRect(&text, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE);

    if (focused) {
        RECT dotted = item.rcItem;
        InflateRect(&dotted, -4, -4);
        DrawFocusRect(dc, &dotted);
    }
}

} // namespace ui::win32
