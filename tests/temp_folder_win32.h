#pragma once

#include "platform/wide_text_win32.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

// A fresh folder in the user's temporary folder, removed with all it holds
// when the test ends. Every name and path is native (UTF-8), as the listing
// keeps them; paths may be longer than MAX_PATH.
class TempFolder {
public:
    TempFolder()
    {
        wchar_t temp[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
        if (length == 0 || length > MAX_PATH)
            throw std::runtime_error("no temporary folder");
        for (unsigned n = GetTickCount() ^ GetCurrentProcessId();; ++n) {
            m_path = platform::win32::nativeFromWide(std::wstring_view(temp, length)) + "vellumin-test-" +
                     std::to_string(n % 1000000);
            if (CreateDirectoryW(longPath(m_path).c_str(), nullptr))
                return;
            if (GetLastError() != ERROR_ALREADY_EXISTS)
                throw std::runtime_error("cannot make a temporary folder");
        }
    }
    ~TempFolder() { removeAll(longPath(m_path)); }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::string &str() const { return m_path; }
    std::string operator/(std::string_view name) const { return m_path + "\\" + std::string(name); }

    // `path` (native) for the wide calls, at any length.
    static std::wstring longPath(const std::string &path) { return L"\\\\?\\" + platform::win32::wideFromNative(path); }

    // Writes `bytes` into file `name` of the folder; returns its path.
    std::string write(std::string_view name, std::string_view bytes) const
    {
        const std::string path = *this / name;
        const HANDLE file = CreateFileW(longPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            throw std::runtime_error("cannot write " + path);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return path;
    }

    std::string makeFolder(std::string_view name) const
    {
        const std::string path = *this / name;
        CreateDirectoryW(longPath(path).c_str(), nullptr);
        return path;
    }

    bool exists(std::string_view name) const
    {
        return GetFileAttributesW(longPath(*this / name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    static void removeAll(const std::wstring &folder)
    {
        WIN32_FIND_DATAW data;
        const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring path = folder + L"\\" + name;
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    removeAll(path);
                else if (!DeleteFileW(path.c_str()))
                    RemoveDirectoryW(path.c_str()); // a link to a folder
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::string m_path;
};
