#pragma once

// What the Windows window tests share: a scripted dialog service, a recording
// desktop, a cookie folder of their own, the window itself, and ways to
// drive it with real window messages. The sources are compiled with CP932
// as their execution character set, like the window's own: every literal is
// the CP932 bytes the window shows.

#include "platform/desktop.h"
#include "ui/scripted_dialogs.h"
#include "ui/win32/main_window_host.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class RecordingDesktop : public platform::Desktop {
public:
    std::vector<std::pair<std::string, std::string>> opened; // folder, file
    bool opens = true;                                       // false: as if the file were missing
    platform::DocumentOpening openDocument(const std::string &nativeFolder, const std::string &fileName) override
    {
        opened.emplace_back(nativeFolder, fileName);
        return {opens, nativeFolder + fileName};
    }
};

// A fresh folder under the temporary folder, removed with its files when
// the test ends. Paths and names are native (UTF-8), as the listing keeps
// them; nativeName() makes one of a CP932 literal of the tests.
class CookieFolder {
public:
    CookieFolder();
    ~CookieFolder();
    CookieFolder(const CookieFolder &) = delete;
    CookieFolder &operator=(const CookieFolder &) = delete;

    const std::string &path() const { return m_path; }
    std::string operator/(const std::string &name) const { return m_path + "\\" + name; }

    // `name` may lead into folders of this one made by makeFolder(); paths
    // may be longer than MAX_PATH.
    void write(const std::string &name, const std::string &bytes) const;
    bool exists(const std::string &name) const;
    // Makes folder `name` of this one; returns its path.
    std::string makeFolder(const std::string &name) const;

private:
    std::string m_path;
};

// Handles every message waiting for this thread, so that what was posted
// has happened.
void pumpMessages();

// Sends a press and a release of the left button at a point of `hwnd`'s
// client area, with `keys` (MK_SHIFT...) held.
void click(HWND hwnd, POINT at, WPARAM keys = 0);

// The centre of a rectangle.
POINT centre(const RECT &r);

// A window's text through the wide call, as CP932: what the user reads,
// whatever the system's code page.
std::string windowText(HWND hwnd);

// The native (UTF-8) form of a CP932 name.
std::string nativeName(const std::string &cp932);

// The window on a scripted dialog service, shown, listing `folder` (the
// default cookie folder of the test prefix does not exist, so the first scan
// lists nothing).
class FormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Lists `folder` as the window would after choosing it.
    void listFolder(const std::string &folder);
    HWND control(ui::form::Id id) const;
    // The form's name of control `hwnd`; empty for a window not the form's.
    std::string nameOf(HWND hwnd) const;
    // How many times the content pane has been filled: each run of the
    // row handler fills it once.
    std::uint64_t paneFills() const { return form->cookies().contentPane().revision(); }

    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    std::unique_ptr<ui::win32::MainWindowHost> form;
    HWND window = nullptr;
};
