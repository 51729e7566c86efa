#include "cookie_list.h"

#include "gdi.h"
#include "listing/cookie_table.h"
#include "platform/wide_text_win32.h"
#include "ui/cookie_columns.h"
#include "win32_keys.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <limits>

namespace ui::win32 {
namespace {

constexpr UINT_PTR kSelectionSubclassId = 0x27C1;
constexpr UINT kSelectionStates = LVIS_SELECTED | LVIS_FOCUSED;

} // namespace

HWND CookieList::createWindow(HWND parent, int id, HFONT font, int columnWidth)
{
    const HWND list =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0, 0, 0,
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const DWORD extras = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extras, extras);
    for (int column = 0; column < listing::CookieTable::kColumnCount; ++column) {
        std::wstring title = platform::win32::wideFromCp932(listing::CookieTable::columnTitle(column));
        LVCOLUMNW entry{};
        entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        entry.fmt = column == listing::CookieTable::NumberColumn ? LVCFMT_RIGHT : LVCFMT_LEFT;
        entry.cx = columnWidth;
        entry.pszText = title.data();
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&entry));
    }
    return list;
}

CookieList::CookieList(HWND list, const listing::CookieTable &table, std::string name)
    : m_list(list), m_table(table), m_name(std::move(name)),
      m_accessible(list, [this] { return new GridAccessible(*this); })
{
    SetWindowSubclass(m_list, &listProcedure, kSelectionSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

CookieList::~CookieList()
{
    if (IsWindow(m_list))
        RemoveWindowSubclass(m_list, &listProcedure, kSelectionSubclassId);
}

LRESULT CALLBACK CookieList::listProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self)
{
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(list, &listProcedure, kSelectionSubclassId);
        return DefSubclassProc(list, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (reinterpret_cast<CookieList *>(self)->listMessage(message, wParam, lParam, result))
        return result;
    return DefSubclassProc(list, message, wParam, lParam);
}

bool CookieList::listMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result)
{
    switch (message) {
    case WM_KEYDOWN:
        return onKey(wParam);
    case WM_CHAR:
        // Typing would make the list look for a row by its text and select
        // it itself; the cookie table has no such search.
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        // Never the list's: it would select, and drag a frame over rows.
        onClick(message, wParam, lParam);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // The selected rows' colour and the frame show where the focus is.
        result = DefSubclassProc(m_list, message, wParam, lParam);
        InvalidateRect(m_list, nullptr, FALSE);
        if (message == WM_SETFOCUS && m_selection.current() >= 0)
            NotifyWinEvent(EVENT_OBJECT_FOCUS, m_list, OBJID_CLIENT, m_selection.current() + 2);
        return true;
    case LVM_GETSELECTEDCOUNT:
        result = static_cast<LRESULT>(
            std::min<long long>(m_selection.selected().count(), std::numeric_limits<int>::max()));
        return true;
    case LVM_GETNEXTITEM: {
        // Only the questions about selected and focused rows in index
        // order; the list answers those about places on the screen.
        const UINT flags = LOWORD(lParam);
        if (!(flags & kSelectionStates) || (flags & ~kSelectionStates) != LVNI_ALL)
            return false;
        result = nextItem(static_cast<int>(wParam), flags);
        return true;
    }
    case LVM_GETITEMSTATE: {
        const int row = static_cast<int>(wParam);
        const auto mask = static_cast<UINT>(lParam);
        UINT state = static_cast<UINT>(DefSubclassProc(m_list, message, wParam, lParam)) & ~kSelectionStates;
        if (m_selection.isSelected(row))
            state |= LVIS_SELECTED;
        if (row >= 0 && row == m_selection.current())
            state |= LVIS_FOCUSED;
        result = static_cast<LRESULT>(state & mask);
        return true;
    }
    case LVM_SETITEMSTATE:
        if (!lParam)
            return false;
        result = setItemState(static_cast<int>(wParam), *reinterpret_cast<const LVITEMW *>(lParam));
        return true;
    default:
        return false;
    }
}

bool CookieList::onKey(WPARAM key)
{
    const int top = static_cast<int>(SendMessageW(m_list, LVM_GETTOPINDEX, 0, 0));
    const int page = std::max(static_cast<int>(SendMessageW(m_list, LVM_GETCOUNTPERPAGE, 0, 0)), 1);
    const grid::GridSelection::View view{top, std::min(top + page, m_selection.rowCount()) - 1, page};
    const int previous = m_selection.current();
    const keyboard::KeyStroke stroke = keyStroke(key);
    if (!stroke.alt && (stroke.key == keyboard::Key::Left || stroke.key == keyboard::Key::Right)) {
        // The columns scroll. The list would move to a row of its own
        // choosing instead, and select it itself.
        const WORD step = stroke.key == keyboard::Key::Left ? SB_LINELEFT : SB_LINERIGHT;
        SendMessageW(m_list, WM_HSCROLL, MAKEWPARAM(step, 0), 0);
        return true;
    }
    switch (m_selection.key(stroke, view)) {
    case grid::ListSelection::KeyOutcome::Ignored:
        return false;
    case grid::ListSelection::KeyOutcome::Unchanged:
        return true;
    case grid::ListSelection::KeyOutcome::Changed:
        selectionChanged(previous);
        return true;
    }
    return true;
}

void CookieList::onClick(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (GetFocus() != m_list)
        SetFocus(m_list);
    LVHITTESTINFO hit{};
    hit.pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    SendMessageW(m_list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    const int row = hit.iItem >= 0 && hit.iItem < m_selection.rowCount() ? hit.iItem : -1;
    const bool right = message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK;
    // The right button keeps a selection it lands in, as a menu would act
    // on it; elsewhere it selects as a plain click does.
    if (right && (row < 0 || m_selection.isSelected(row)))
        return;
    const int previous = m_selection.current();
    if (m_selection.click(row, !right && (wParam & MK_SHIFT), !right && (wParam & MK_CONTROL)))
        selectionChanged(previous);
}

LRESULT CookieList::setItemState(int row, const LVITEMW &item)
{
    const int previous = m_selection.current();
    bool changed = false;
    if (item.stateMask & LVIS_SELECTED) {
        const bool selected = item.state & LVIS_SELECTED;
        if (row == -1 && selected)
            m_selection.select(0, m_selection.rowCount() - 1);
        else if (row == -1)
            m_selection.clearSelection();
        else
            m_selection.setRowSelected(row, selected);
        changed = true;
    }
    if (item.stateMask & LVIS_FOCUSED) {
        if (item.state & LVIS_FOCUSED)
            m_selection.setCurrent(row);
        else if (row == -1 || row == m_selection.current())
            m_selection.setCurrent(-1);
        changed = true;
    }
    if (changed)
        selectionChanged(previous);
    if (!(item.stateMask & ~kSelectionStates))
        return TRUE;
    LVITEMW rest = item;
    rest.stateMask &= ~kSelectionStates;
    return DefSubclassProc(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rest));
}

LRESULT CookieList::nextItem(int from, UINT flags) const
{
    const int start = std::max(from + 1, 0);
    if (flags & LVNI_FOCUSED) {
        const int current = m_selection.current();
        const bool fits = current >= start && (!(flags & LVNI_SELECTED) || m_selection.isSelected(current));
        return fits ? current : -1;
    }
    return m_selection.selected().nextFrom(start);
}

void CookieList::selectRowNumbers(int first, int last)
{
    const int previous = m_selection.current();
    m_selection.select(first, last);
    selectionChanged(previous);
}

void CookieList::selectionChanged(int previousCurrent)
{
    const int current = m_selection.current();
    if (current >= 0)
        SendMessageW(m_list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(current), FALSE);
    InvalidateRect(m_list, nullptr, FALSE);
    // Row r of the list is child r + 2 to a screen reader: the titles'
    // row is child 1.
    if (current >= 0 && current != previousCurrent) {
        NotifyWinEvent(EVENT_OBJECT_SELECTION, m_list, OBJID_CLIENT, current + 2);
        if (GetFocus() == m_list)
            NotifyWinEvent(EVENT_OBJECT_FOCUS, m_list, OBJID_CLIENT, current + 2);
    } else {
        NotifyWinEvent(EVENT_OBJECT_SELECTIONWITHIN, m_list, OBJID_CLIENT, CHILDID_SELF);
    }
}

RECT CookieList::rowRect(int row) const
{
    RECT r{};
    r.left = LVIR_BOUNDS;
    if (!SendMessageW(m_list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)))
        return RECT{};
    return r;
}

LRESULT CookieList::customDraw(NMLVCUSTOMDRAW &draw) const
{
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    const bool focused = GetFocus() == m_list;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        // The list holds no selection: the selected rows take the colours
        // it would give them, an expired cookie's row stays grey.
        const bool expired = m_table.isExpired(row);
        if (m_selection.isSelected(row)) {
            draw.clrTextBk = GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
            draw.clrText = GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : expired ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
        } else if (expired) {
            draw.clrText = GetSysColor(COLOR_GRAYTEXT);
        }
        return focused && row == m_selection.current() ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    }
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPOSTPAINT && focused && row == m_selection.current()) {
        const RECT r = rowRect(row);
        DrawFocusRect(draw.nmcd.hdc, &r);
    }
    return CDRF_DODEFAULT;
}

int CookieList::titleWidth(const std::string &title)
{
    using listing::CookieTable;
    if (!m_titlesMeasured) {
        // The header draws its titles in the list's font.
        const HWND header = reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0));
        const WindowDc dc(header);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0));
        const SelectObjectScope selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
        for (int column = 0; column < CookieTable::kColumnCount; ++column) {
            const std::wstring wide = platform::win32::wideFromCp932(CookieTable::columnTitle(column));
            SIZE extent{};
            GetTextExtentPoint32W(dc.get(), wide.data(), static_cast<int>(wide.size()), &extent);
            m_titleWidths[static_cast<std::size_t>(column)] = static_cast<int>(extent.cx);
        }
        m_titlesMeasured = true;
    }
    for (int column = 0; column < CookieTable::kColumnCount; ++column)
        if (CookieTable::columnTitle(column) == title)
            return m_titleWidths[static_cast<std::size_t>(column)];
    return 0;
}

void CookieList::reload(int margins)
{
    m_selection.reset(m_table.rowCount());
    // Drawn once at the end, not after the count and again after each
    // column: under Wine each drawing of the list costs milliseconds.
    SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(m_table.rowCount()), 0);
    const auto widths = cookieColumnWidths(
        m_table, [this](const std::string &title) { return titleWidth(title); }, margins);
    for (int column = 0; column < listing::CookieTable::kColumnCount; ++column) {
        const int width = widths[static_cast<std::size_t>(column)];
        if (SendMessageW(m_list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0) != width)
            SendMessageW(m_list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
    }
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

LRESULT CookieList::notify(NMHDR &header)
{
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        LVITEMW &item = reinterpret_cast<NMLVDISPINFOW &>(header).item;
        if (item.mask & LVIF_TEXT) {
            m_shownCell = platform::win32::wideFromCp932(m_table.cell(item.iSubItem, item.iItem));
            item.pszText = m_shownCell.data();
        }
        return 0;
    }
    case LVN_GETINFOTIPW: {
        auto &tip = reinterpret_cast<NMLVGETINFOTIPW &>(header);
        const std::wstring hint = platform::win32::wideFromCp932(m_table.hint(tip.iItem));
        if (tip.pszText && tip.cchTextMax > 0)
            lstrcpynW(tip.pszText, hint.c_str(), tip.cchTextMax);
        return 0;
    }
    case NM_CUSTOMDRAW:
        return customDraw(reinterpret_cast<NMLVCUSTOMDRAW &>(header));
    default:
        return 0;
    }
}

int CookieList::rowCount() const
{
    // The rows the list shows, below the titles' row 0.
    return static_cast<int>(SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0));
}

int CookieList::columnCount() const
{
    return listing::CookieTable::kColumnCount;
}

std::string_view CookieList::cellText(int column, int row) const
{
    if (row == 0)
        return listing::CookieTable::columnTitle(column);
    m_cell = m_table.cell(column, row - 1);
    return m_cell;
}

std::pair<int, int> CookieList::cellAt(POINT at) const
{
    LVHITTESTINFO hit{};
    hit.pt = at;
    if (SendMessageW(m_list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 || hit.iItem < 0)
        return {-1, -1};
    return {hit.iSubItem, hit.iItem + 1};
}

RECT CookieList::cellRect(int column, int row) const
{
    RECT r{};
    if (row == 0) {
        const HWND header = reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0));
        if (header && SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r)))
            MapWindowPoints(header, m_list, reinterpret_cast<POINT *>(&r), 2);
        return r;
    }
    r.top = column;
    r.left = LVIR_BOUNDS;
    if (!SendMessageW(m_list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row - 1), reinterpret_cast<LPARAM>(&r)))
        return RECT{};
    return r;
}

int CookieList::currentRow() const
{
    return m_selection.current() + 1;
}

std::pair<int, int> CookieList::selectedRows() const
{
    const auto [first, last] = m_selection.span();
    return {first + 1, last + 1};
}

} // namespace ui::win32
