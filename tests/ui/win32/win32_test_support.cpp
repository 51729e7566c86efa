#include "win32_test_support.h"

#include "platform/cp932.h"
#include "platform/wide_text_win32.h"

#include <atomic>

using platform::win32::wideFromNative;

namespace {

// The path of `native` for the wide calls at any length.
std::wstring longPath(const std::string &native)
{
    return L"\\\\?\\" + wideFromNative(native);
}

// Removes folder `path` (a long path) with everything in it.
void removeAll(const std::wstring &path)
{
    WIN32_FIND_DATAW found{};
    const HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring entry = path + L"\\" + name;
            SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeAll(entry);
            else
                DeleteFileW(entry.c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

} // namespace

CookieFolder::CookieFolder()
{
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string candidate = platform::win32::nativeFromWide(temp) + "vellumin-test-" +
                                      std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
        if (CreateDirectoryW(wideFromNative(candidate).c_str(), nullptr)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

CookieFolder::~CookieFolder()
{
    removeAll(longPath(m_path));
}

void CookieFolder::write(const std::string &name, const std::string &bytes) const
{
    const HANDLE file = CreateFileW(longPath(*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool CookieFolder::exists(const std::string &name) const
{
    return GetFileAttributesW(longPath(*this / name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string CookieFolder::makeFolder(const std::string &name) const
{
    const std::string path = *this / name;
    CreateDirectoryW(longPath(path).c_str(), nullptr);
    return path;
}

void pumpMessages()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void click(HWND hwnd, POINT at, WPARAM keys)
{
    const LPARAM where = MAKELPARAM(at.x, at.y);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, where);
    SendMessageW(hwnd, WM_LBUTTONUP, keys, where);
}

POINT centre(const RECT &r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string windowText(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return platform::win32::cp932FromWide(text);
}

std::string nativeName(const std::string &cp932)
{
    return platform::cp932::toUtf8(cp932);
}

void FormTest::SetUp()
{
    form = std::make_unique<ui::win32::MainWindowHost>(dialogs, desktop);
    window = form->create();
    ASSERT_NE(window, nullptr);
    form->show(SW_SHOWNORMAL);
    pumpMessages();
}

void FormTest::TearDown()
{
    form.reset();
    pumpMessages();
}

void FormTest::listFolder(const std::string &folder)
{
    form->cookies().state().setCookiesPath(platform::namedPath(folder));
    form->window().perform(ui::form::Command::Reload);
    pumpMessages();
}

HWND FormTest::control(ui::form::Id id) const
{
    return form->controlOf(id);
}

std::string FormTest::nameOf(HWND hwnd) const
{
    for (const ui::form::Control &control : ui::form::controls())
        if (form->controlOf(control.id) == hwnd)
            return control.name;
    return {};
}
