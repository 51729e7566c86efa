#include "control_name.h"

#include <cstring>

namespace ui::win32 {
namespace {

constexpr const wchar_t *kNameProperty = L"VelluminControlName";

struct Search {
    const char *name;
    HWND found;
};

BOOL CALLBACK matchName(HWND hwnd, LPARAM data)
{
    auto *search = reinterpret_cast<Search *>(data);
    const auto *name = static_cast<const char *>(GetPropW(hwnd, kNameProperty));
    if (name && std::strcmp(name, search->name) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

void setControlName(HWND hwnd, const char *name)
{
    // The names are string literals, which live as long as the program.
    SetPropW(hwnd, kNameProperty, const_cast<char *>(name));
}

std::string controlName(HWND hwnd)
{
    const auto *name = static_cast<const char *>(GetPropW(hwnd, kNameProperty));
    return name ? name : "";
}

HWND findControl(HWND root, const char *name)
{
    Search search{name, nullptr};
    EnumChildWindows(root, &matchName, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace ui::win32
