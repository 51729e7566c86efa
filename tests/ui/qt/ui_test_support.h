#pragma once

#include "platform/cp932.h"
#include "platform/desktop.h"
#include "temp_folder.h"
#include "ui/scripted_dialogs.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class RecordingDesktop : public platform::Desktop {
public:
    std::vector<std::string> opened; // folder + file name
    bool opens = true;               // false: as if the file were missing
    platform::DocumentOpening openDocument(const std::string &nativeFolder, const std::string &fileName) override
    {
        opened.push_back(nativeFolder + fileName);
        return {opens, nativeFolder + fileName};
    }
};

// A Wine-style prefix in a temporary folder whose cookie folder the window
// lists at start-up. WINEPREFIX points at it while it lives.
class TempPrefix {
public:
    TempPrefix()
    {
        std::filesystem::create_directories(cookieFolder());
        m_saved = qgetenv("WINEPREFIX");
        m_hadValue = qEnvironmentVariableIsSet("WINEPREFIX");
        qputenv("WINEPREFIX", QByteArray::fromStdString(m_folder.str()));
    }
    ~TempPrefix()
    {
        if (m_hadValue)
            qputenv("WINEPREFIX", m_saved);
        else
            qunsetenv("WINEPREFIX");
    }
    TempPrefix(const TempPrefix &) = delete;
    TempPrefix &operator=(const TempPrefix &) = delete;

    const TempFolder &folder() const { return m_folder; }
    std::string cookieFolder() const { return m_folder / "drive_c/windows/Cookies"; }

    // Writes a cookie file whose text is given in UTF-8 and stored in CP932.
    void writeCookie(const std::string &name, const std::string &utf8Text) const
    {
        m_folder.write("drive_c/windows/Cookies/" + name, platform::cp932::fromUtf8(utf8Text));
    }

    void linkNowhere(const std::string &name) const
    {
        std::filesystem::create_symlink(m_folder / "no-such-target", cookieFolder() + "/" + name);
    }

private:
    TempFolder m_folder;
    QByteArray m_saved;
    bool m_hadValue = false;
};

inline QString fromCp932(const std::string &text)
{
    return QString::fromStdString(platform::cp932::toUtf8(text));
}
