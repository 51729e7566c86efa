#pragma once

#include "platform/cp932.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "temp_folder.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A dialog service that answers from a script and records every question,
// so that no test ever waits on a real modal box.
class ScriptedDialogs : public platform::Dialogs {
public:
    struct Message {
        std::string text;    // CP932
        std::string caption; // CP932
        unsigned flags;
    };

    std::vector<Message> messages;
    std::deque<int> messageAnswers; // kIdOk when empty
    std::vector<std::string> inputCaptions;
    std::vector<std::string> inputPrompts;
    std::vector<std::string> inputDefaults;
    std::deque<std::string> inputAnswers; // the default text when empty
    std::vector<platform::OpenFileRequest> openRequests;
    std::deque<std::optional<std::string>> openAnswers; // native paths; cancel when empty

    int messageBox(const std::string &text, const std::string &caption, unsigned flags) override
    {
        messages.push_back({text, caption, flags});
        if (messageAnswers.empty())
            return platform::msgbox::kIdOk;
        const int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }

    std::string inputBox(const std::string &caption, const std::string &prompt, const std::string &defaultText) override
    {
        inputCaptions.push_back(caption);
        inputPrompts.push_back(prompt);
        inputDefaults.push_back(defaultText);
        if (inputAnswers.empty())
            return defaultText;
        std::string answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }

    std::optional<platform::NamedPath> openFileName(const platform::OpenFileRequest &request) override
    {
        openRequests.push_back(request);
        if (openAnswers.empty())
            return std::nullopt;
        std::optional<std::string> answer = openAnswers.front();
        openAnswers.pop_front();
        if (!answer)
            return std::nullopt;
        return platform::namedPath(*answer);
    }
};

class RecordingDesktop : public platform::Desktop {
public:
    std::vector<std::string> opened; // folder + file name
    void openDocument(const std::string &nativeFolder, const std::string &fileName) override
    {
        opened.push_back(nativeFolder + fileName);
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
