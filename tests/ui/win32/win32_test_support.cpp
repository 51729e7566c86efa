#include "win32_test_support.h"

#include <atomic>

CookieFolder::CookieFolder()
{
    static std::atomic<int> counter{0};
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string candidate = std::string(temp) + "vellumin-test-" + std::to_string(GetCurrentProcessId()) +
                                      "-" + std::to_string(counter++);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

CookieFolder::~CookieFolder()
{
    WIN32_FIND_DATAA found{};
    const HANDLE find = FindFirstFileA((m_path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = m_path + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryA(path.c_str());
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(m_path.c_str());
}

void CookieFolder::write(const std::string &name, const std::string &bytes) const
{
    const HANDLE file =
        CreateFileA((*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool CookieFolder::exists(const std::string &name) const
{
    return GetFileAttributesA((*this / name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void pumpMessages()
{
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void click(HWND hwnd, POINT at, WPARAM keys)
{
    const LPARAM where = MAKELPARAM(at.x, at.y);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, where);
    SendMessageA(hwnd, WM_LBUTTONUP, keys, where);
}

POINT centre(const RECT &r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string windowText(HWND hwnd)
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void FormTest::SetUp()
{
    form = std::make_unique<ui::win32::TForm1>(dialogs, desktop);
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
    form->run(&ui::Commands::stReLoadClick);
    pumpMessages();
}

HWND FormTest::control(const char *name) const
{
    return ui::win32::findControl(window, name);
}
