#include "grid_accessible.h"

#include "ui/keyboard_access.h"

#include <string>
#include <vector>

namespace ui::win32 {
namespace {

// A selection of several rows: their child ids, one after the other.
class ChildIdList final : public IEnumVARIANT {
public:
    explicit ChildIdList(std::vector<long> ids, std::size_t at = 0) : m_ids(std::move(ids)), m_at(at) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumVARIANT)) {
            *object = static_cast<IEnumVARIANT *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT *out, ULONG *fetched) override
    {
        if (!out)
            return E_POINTER;
        ULONG given = 0;
        for (; given < count && m_at < m_ids.size(); ++given, ++m_at) {
            VariantInit(&out[given]);
            out[given].vt = VT_I4;
            out[given].lVal = m_ids[m_at];
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        m_at += count;
        if (m_at > m_ids.size()) {
            m_at = m_ids.size();
            return S_FALSE;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_at = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT **copy) override
    {
        if (!copy)
            return E_POINTER;
        *copy = new ChildIdList(m_ids, m_at);
        return S_OK;
    }

private:
    ~ChildIdList() = default;
    LONG m_references = 1;
    std::vector<long> m_ids;
    std::size_t m_at;
};

// One row of the grid; its children are its cells, simple elements.
class RowAccessible final : public AccessibleObject {
public:
    RowAccessible(GridAccessible &table, int row) : m_table(table), m_row(row) { m_table.AddRef(); }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        if (!parent)
            return E_POINTER;
        if (!m_table.grid())
            return CO_E_OBJNOTCONNECTED;
        *parent = static_cast<IDispatch *>(&m_table);
        m_table.AddRef();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        if (!count)
            return E_POINTER;
        const AccessibleGrid *grid = live();
        if (!grid)
            return CO_E_OBJNOTCONNECTED;
        *count = grid->columnCount();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        const AccessibleGrid *grid = live();
        if (!grid)
            return CO_E_OBJNOTCONNECTED;
        const long id = childId(child);
        if (id == CHILDID_SELF) {
            // The row reads as its cells, one after the other.
            std::string text;
            for (int column = 0; column < grid->columnCount(); ++column) {
                const std::string_view cell = grid->cellText(column, m_row);
                if (cell.empty())
                    continue;
                if (!text.empty())
                    text += ' ';
                text += cell;
            }
            return cp932String(text, name);
        }
        if (!isCell(*grid, id))
            return E_INVALIDARG;
        return cp932String(grid->cellText(id - 1, m_row), name);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        if (!role)
            return E_POINTER;
        const AccessibleGrid *grid = live();
        if (!grid)
            return CO_E_OBJNOTCONNECTED;
        const long id = childId(child);
        if (id == CHILDID_SELF)
            setLong(role, ROLE_SYSTEM_ROW);
        else if (!isCell(*grid, id))
            return E_INVALIDARG;
        else if (m_row == 0)
            setLong(role, ROLE_SYSTEM_COLUMNHEADER);
        else
            setLong(role, id == 1 ? ROLE_SYSTEM_ROWHEADER : ROLE_SYSTEM_CELL);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        if (!state)
            return E_POINTER;
        const AccessibleGrid *grid = live();
        if (!grid)
            return CO_E_OBJNOTCONNECTED;
        const long id = childId(child);
        if (id != CHILDID_SELF && !isCell(*grid, id))
            return E_INVALIDARG;
        long flags = STATE_SYSTEM_READONLY;
        if (m_row > 0 && id == CHILDID_SELF) {
            flags |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
            if (grid->isRowSelected(m_row))
                flags |= STATE_SYSTEM_SELECTED;
            if (m_row == grid->currentRow() && GetFocus() == grid->gridWindow())
                flags |= STATE_SYSTEM_FOCUSED;
        }
        const RECT r = grid->cellRect(id == CHILDID_SELF ? 0 : id - 1, m_row);
        if (IsRectEmpty(&r))
            flags |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
        setLong(state, flags);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height, VARIANT child) override
    {
        const AccessibleGrid *grid = live();
        if (!grid)
            return CO_E_OBJNOTCONNECTED;
        const long id = childId(child);
        if (id != CHILDID_SELF && !isCell(*grid, id))
            return E_INVALIDARG;
        RECT r = grid->cellRect(id == CHILDID_SELF ? 0 : id - 1, m_row);
        if (id == CHILDID_SELF && !IsRectEmpty(&r)) {
            RECT client{};
            GetClientRect(grid->gridWindow(), &client);
            r.right = client.right;
        }
        return screenLocation(grid->gridWindow(), r, left, top, width, height);
    }

    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override
    {
        if (!end)
            return E_POINTER;
        VariantInit(end);
        const AccessibleGrid *grid = live();
        if (!grid)
            return CO_E_OBJNOTCONNECTED;
        const long id = childId(start);
        const long columns = grid->columnCount();
        long to = 0;
        switch (direction) {
        case NAVDIR_FIRSTCHILD:
            to = id == CHILDID_SELF && columns > 0 ? 1 : 0;
            break;
        case NAVDIR_LASTCHILD:
            to = id == CHILDID_SELF ? columns : 0;
            break;
        case NAVDIR_NEXT:
        case NAVDIR_RIGHT:
            if (id == CHILDID_SELF) {
                if (IDispatch *next = m_table.rowObject(m_row + 1)) {
                    setDispatch(end, next);
                    return S_OK;
                }
                return S_FALSE;
            }
            to = id < columns ? id + 1 : 0;
            break;
        case NAVDIR_PREVIOUS:
        case NAVDIR_LEFT:
            if (id == CHILDID_SELF) {
                if (IDispatch *previous = m_row > 0 ? m_table.rowObject(m_row - 1) : nullptr) {
                    setDispatch(end, previous);
                    return S_OK;
                }
                return S_FALSE;
            }
            to = id > 1 ? id - 1 : 0;
            break;
        default:
            return S_FALSE;
        }
        if (to <= 0)
            return S_FALSE;
        setLong(end, to);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *child) override
    {
        if (!child)
            return E_POINTER;
        VariantInit(child);
        const AccessibleGrid *grid = live();
        if (!grid)
            return CO_E_OBJNOTCONNECTED;
        POINT at{x, y};
        ScreenToClient(grid->gridWindow(), &at);
        const auto [column, row] = grid->cellAt(at);
        if (row != m_row)
            return S_FALSE;
        setLong(child, column >= 0 ? column + 1 : CHILDID_SELF);
        return S_OK;
    }

private:
    ~RowAccessible() override { m_table.Release(); }

    const AccessibleGrid *live() const
    {
        const AccessibleGrid *grid = m_table.grid();
        return grid && m_row >= 0 && m_row <= grid->rowCount() ? grid : nullptr;
    }
    static bool isCell(const AccessibleGrid &grid, long id) { return id >= 1 && id <= grid.columnCount(); }

    GridAccessible &m_table;
    int m_row;
};

} // namespace

IDispatch *GridAccessible::rowObject(int row)
{
    if (!m_grid || row < 0 || row > m_grid->rowCount())
        return nullptr;
    return new RowAccessible(*this, row);
}

HRESULT STDMETHODCALLTYPE GridAccessible::get_accParent(IDispatch **parent)
{
    if (!m_grid)
        return CO_E_OBJNOTCONNECTED;
    return windowObject(m_grid->gridWindow(), parent);
}

HRESULT STDMETHODCALLTYPE GridAccessible::get_accChildCount(long *count)
{
    if (!count)
        return E_POINTER;
    if (!m_grid)
        return CO_E_OBJNOTCONNECTED;
    *count = m_grid->rowCount() + 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GridAccessible::get_accChild(VARIANT child, IDispatch **object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!m_grid)
        return CO_E_OBJNOTCONNECTED;
    const long id = childId(child);
    *object = id >= 1 ? rowObject(static_cast<int>(id - 1)) : nullptr;
    return *object ? S_OK : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE GridAccessible::get_accName(VARIANT child, BSTR *name)
{
    if (!m_grid)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    return cp932String(m_grid->accessibleName(), name);
}

HRESULT STDMETHODCALLTYPE GridAccessible::get_accRole(VARIANT child, VARIANT *role)
{
    if (!role)
        return E_POINTER;
    if (!m_grid)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    setLong(role, ROLE_SYSTEM_TABLE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GridAccessible::get_accState(VARIANT child, VARIANT *state)
{
    if (!state)
        return E_POINTER;
    if (!m_grid)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    long flags = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_READONLY;
    if (GetFocus() == m_grid->gridWindow())
        flags |= STATE_SYSTEM_FOCUSED;
    if (!IsWindowVisible(m_grid->gridWindow()))
        flags |= STATE_SYSTEM_INVISIBLE;
    setLong(state, flags);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GridAccessible::get_accFocus(VARIANT *focus)
{
    if (!focus)
        return E_POINTER;
    VariantInit(focus);
    if (!m_grid)
        return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != m_grid->gridWindow())
        return S_OK;
    if (IDispatch *row = rowObject(m_grid->currentRow()); row && m_grid->currentRow() > 0)
        setDispatch(focus, row);
    else {
        if (row)
            row->Release();
        setLong(focus, CHILDID_SELF);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GridAccessible::get_accSelection(VARIANT *selection)
{
    if (!selection)
        return E_POINTER;
    VariantInit(selection);
    if (!m_grid)
        return CO_E_OBJNOTCONNECTED;
    const auto [first, last] = m_grid->selectedRows();
    if (first <= 0)
        return S_OK;
    if (first == last) {
        setDispatch(selection, rowObject(first));
        return S_OK;
    }
    std::vector<long> ids;
    for (int row = first; row <= last; ++row)
        if (m_grid->isRowSelected(row))
            ids.push_back(row + 1);
    selection->vt = VT_UNKNOWN;
    selection->punkVal = new ChildIdList(std::move(ids));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GridAccessible::accLocation(long *left, long *top, long *width, long *height, VARIANT child)
{
    if (!m_grid)
        return CO_E_OBJNOTCONNECTED;
    if (childId(child) != CHILDID_SELF)
        return E_INVALIDARG;
    RECT client{};
    GetClientRect(m_grid->gridWindow(), &client);
    return screenLocation(m_grid->gridWindow(), client, left, top, width, height);
}

HRESULT STDMETHODCALLTYPE GridAccessible::accNavigate(long direction, VARIANT start, VARIANT *end)
{
    if (!end)
        return E_POINTER;
    VariantInit(end);
    if (!m_grid)
        return CO_E_OBJNOTCONNECTED;
    if (childId(start) != CHILDID_SELF)
        return E_INVALIDARG;
    IDispatch *row = nullptr;
    if (direction == NAVDIR_FIRSTCHILD)
        row = rowObject(0);
    else if (direction == NAVDIR_LASTCHILD)
        row = rowObject(m_grid->rowCount());
    if (!row)
        return S_FALSE;
    setDispatch(end, row);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GridAccessible::accHitTest(long x, long y, VARIANT *child)
{
    if (!child)
        return E_POINTER;
    VariantInit(child);
    if (!m_grid)
        return CO_E_OBJNOTCONNECTED;
    POINT at{x, y};
    ScreenToClient(m_grid->gridWindow(), &at);
    RECT client{};
    GetClientRect(m_grid->gridWindow(), &client);
    if (!PtInRect(&client, at))
        return S_FALSE;
    const int row = m_grid->cellAt(at).second;
    if (IDispatch *object = row >= 0 ? rowObject(row) : nullptr)
        setDispatch(child, object);
    else
        setLong(child, CHILDID_SELF);
    return S_OK;
}

} // namespace ui::win32
