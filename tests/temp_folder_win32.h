#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

// A fresh folder in the user's temporary folder, removed with all it holds
// when the test ends. Every name and path is CP932, as the "A" calls take it.
class TempFolder {
public:
    TempFolder()
    {
        char temp[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathA(sizeof temp, temp);
        if (length == 0 || length > MAX_PATH)
            throw std::runtime_error("no temporary folder");
        for (unsigned n = GetTickCount() ^ GetCurrentProcessId();; ++n) {
            m_path = std::string(temp, length) + "vellumin-test-" + std::to_string(n % 1000000);
            if (CreateDirectoryA(m_path.c_str(), nullptr))
                return;
            if (GetLastError() != ERROR_ALREADY_EXISTS)
                throw std::runtime_error("cannot make a temporary folder");
        }
    }
    ~TempFolder() { removeAll(m_path); }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::string &str() const { return m_path; }
    std::string operator/(std::string_view name) const { return m_path + "\\" + std::string(name); }

    // Writes `bytes` into file `name` of the folder; returns its path.
    std::string write(std::string_view name, std::string_view bytes) const
    {
        const std::string path = *this / name;
        const HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }

    bool exists(std::string_view name) const
    {
        return GetFileAttributesA((*this / name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    static void removeAll(const std::string &folder)
    {
        WIN32_FIND_DATAA data;
        const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = data.cFileName;
                if (name == "." || name == "..")
                    continue;
                const std::string path = folder + "\\" + name;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    removeAll(path);
                else if (!DeleteFileA(path.c_str()))
                    RemoveDirectoryA(path.c_str()); // a link to a folder
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string m_path;
};
