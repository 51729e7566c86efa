#include "input_box.h"

#include "platform/cp932.h"
#include "platform/wide_text_win32.h"
#include "platform/win32/window_font.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

namespace ui::win32 {

// The platform's dialog interface and text conversions, drawn in Win32.
using namespace ::platform;
using namespace ::platform::win32;
namespace {

constexpr int kPromptId = 100;
constexpr int kEditId = 101;
// The box's width in pixels at 96 dots per inch.
constexpr int kDesignedWidth = 270;

// Builds a dialog template in memory: a DLGTEMPLATE with its font, then one
// DLGITEMTEMPLATE per control, each on a DWORD boundary. Texts are set by
// the dialog itself, so the template holds none but the font.
class TemplateWriter {
public:
    void dialog(DWORD style, short width, short height, short items)
    {
        DLGTEMPLATE header{};
        header.style = style;
        header.cdit = items;
        header.cx = width;
        header.cy = height;
        raw(&header, sizeof header);
        word(0); // no menu
        word(0); // the standard dialog class
        word(0); // caption: set at WM_INITDIALOG
        word(kWindowFontPoints);
        text(kWindowFontFaceWide);
    }

    void item(DWORD style, short x, short y, short width, short height, WORD id, WORD systemClass)
    {
        align();
        DLGITEMTEMPLATE control{};
        control.style = style | WS_CHILD | WS_VISIBLE;
        control.x = x;
        control.y = y;
        control.cx = width;
        control.cy = height;
        control.id = id;
        raw(&control, sizeof control);
        word(0xFFFF);
        word(systemClass);
        word(0); // text: set at WM_INITDIALOG
        word(0); // no creation data
    }

    const DLGTEMPLATE *get() { return reinterpret_cast<const DLGTEMPLATE *>(m_words.data()); }

private:
    void raw(const void *data, std::size_t bytes)
    {
        const auto *from = static_cast<const WORD *>(data);
        m_words.insert(m_words.end(), from, from + bytes / sizeof(WORD));
    }
    void word(WORD value) { m_words.push_back(value); }
    void text(const wchar_t *value)
    {
        for (; *value; ++value)
            word(static_cast<WORD>(*value));
        word(0);
    }
    void align()
    {
        if (m_words.size() % 2)
            word(0);
    }

    std::vector<WORD> m_words;
};

// The text of an edit, as CP932.
std::string windowText(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return cp932FromWide(text);
}

void setText(HWND hwnd, const std::string &cp932)
{
    SetWindowTextW(hwnd, wideFromCp932(cp932).c_str());
}

int textWidth(HWND hwnd, HFONT font, const std::string &text)
{
    const HDC dc = GetDC(hwnd);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE extent{};
    const std::wstring wide = wideFromCp932(text);
    GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(hwnd, dc);
    return extent.cx;
}

} // namespace

InputBox::InputBox(std::string caption, std::string prompt, std::string defaultText)
    : m_caption(std::move(caption)), m_prompt(std::move(prompt)), m_defaultText(std::move(defaultText))
{}

std::string InputBox::exec(HWND owner)
{
    // 180 dialog units wide: about 270 pixels in the window font at 96 dots
    // per inch.
    TemplateWriter writer;
    writer.dialog(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 180, 63, 4);
    writer.item(SS_LEFT | SS_NOPREFIX, 8, 8, 164, 10, kPromptId, 0x0082);
    writer.item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 8, 19, 164, 12, kEditId, 0x0081);
    writer.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 38, 41, 50, 14, IDOK, 0x0080);
    writer.item(BS_PUSHBUTTON | WS_TABSTOP, 92, 41, 50, 14, IDCANCEL, 0x0080);

    m_text = m_defaultText;
    const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.get(), owner, &InputBox::procedure,
                                                   reinterpret_cast<LPARAM>(this));
    return answer == IDOK ? m_text : m_defaultText;
}

void InputBox::initialise(HWND dialog)
{
    setText(dialog, m_caption);
    setText(GetDlgItem(dialog, kPromptId), m_prompt);
    setText(GetDlgItem(dialog, IDOK), "OK");
    setText(GetDlgItem(dialog, IDCANCEL), "キャンセル");
    const HWND edit = GetDlgItem(dialog, kEditId);
    // In characters: never fewer than the bytes allowed, which
    // keepWithinLimit() holds to.
    SendMessageW(edit, EM_LIMITTEXT, kMaxBytes, 0);
    m_lastFitting = std::string(cp932::truncated(m_defaultText, kMaxBytes));
    setText(edit, m_lastFitting);

    // About 270 pixels wide at 96 dots per inch, as the box was designed
    // (its template's dialog units give more with some fonts), and wide
    // enough to show the caption (with the close box) and the prompt.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const HFONT captionFont = CreateFontIndirectW(&metrics.lfCaptionFont);
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    const int captionNeeds = textWidth(dialog, captionFont, m_caption) + 2 * GetSystemMetrics(SM_CXSIZE) + 24;
    DeleteObject(captionFont);
    RECT prompt{};
    GetWindowRect(GetDlgItem(dialog, kPromptId), &prompt);
    const int promptExtra = textWidth(dialog, dialogFont, m_prompt) - (prompt.right - prompt.left);
    RECT frame{};
    GetWindowRect(dialog, &frame);
    const int width = frame.right - frame.left;
    const HDC screen = GetDC(dialog);
    const int designed = MulDiv(kDesignedWidth, GetDeviceCaps(screen, LOGPIXELSX), 96);
    ReleaseDC(dialog, screen);
    const int grow = std::max({designed, captionNeeds, width + promptExtra}) - width;
    if (grow != 0) {
        SetWindowPos(dialog, nullptr, frame.left - grow / 2, frame.top, width + grow, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        for (const int id : {kPromptId, kEditId}) {
            RECT r{};
            GetWindowRect(GetDlgItem(dialog, id), &r);
            SetWindowPos(GetDlgItem(dialog, id), nullptr, 0, 0, r.right - r.left + grow, r.bottom - r.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        for (const int id : {IDOK, IDCANCEL}) {
            RECT r{};
            GetWindowRect(GetDlgItem(dialog, id), &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
            SetWindowPos(GetDlgItem(dialog, id), nullptr, r.left + grow / 2, r.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

void InputBox::keepWithinLimit(HWND edit)
{
    // The limit is in bytes of CP932, whatever the edit counts in.
    const std::string text = windowText(edit);
    if (text.size() <= static_cast<std::size_t>(kMaxBytes)) {
        m_lastFitting = text;
        return;
    }
    setText(edit, m_lastFitting);
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    MessageBeep(MB_OK);
}

INT_PTR CALLBACK InputBox::procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *box = reinterpret_cast<InputBox *>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<InputBox *>(lParam)->initialise(dialog);
        return FALSE; // the focus is set
    case WM_COMMAND:
        if (!box)
            return FALSE;
        if (LOWORD(wParam) == kEditId && HIWORD(wParam) == EN_CHANGE) {
            box->keepWithinLimit(reinterpret_cast<HWND>(lParam));
            return TRUE;
        }
        if (LOWORD(wParam) == IDOK) {
            box->m_text = windowText(GetDlgItem(dialog, kEditId));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace ui::win32
