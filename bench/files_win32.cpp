#include "cookie_folder.h"

#include <windows.h>

#include <random>
#include <stdexcept>

namespace bench {

TempFolder::TempFolder(std::string_view prefix)
{
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length > MAX_PATH)
        throw std::runtime_error("cannot find the temporary folder");
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = std::string(temp, length) + std::string(prefix) + "-";
        for (int i = 0; i < 6; ++i)
            name += "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"[random() % 36];
        if (CreateDirectoryA(name.c_str(), nullptr)) {
            m_path = std::move(name);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    throw std::runtime_error(std::string("cannot make a folder in ") + temp);
}

TempFolder::~TempFolder()
{
    // The folder holds files only.
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((m_path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != "..")
                DeleteFileA((m_path + "\\" + name).c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(m_path.c_str());
}

void writeFile(const std::string &path, std::string_view bytes)
{
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!ok)
        throw std::runtime_error("cannot write " + path);
}

} // namespace bench
