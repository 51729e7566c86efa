#pragma once

#include "filesystem.h"

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Message-box flags and answers, with the values that Windows gives them, so
// that callers state the exact box they mean.
namespace msgbox {
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kOkCancel = 0x1;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kIconHand = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr unsigned kDefButton2 = 0x100;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
} // namespace msgbox

// One entry of the open-file dialog's file-type box (CP932): what it shows
// and the pattern (or patterns, separated by ";") of the files it lists.
struct FileFilter {
    std::string description;
    std::string pattern;
};

// What the open-file dialog starts with.
struct OpenFileRequest {
    // The full path shown in the file-name box; empty for none. Its folder,
    // when it names one, is where the dialog opens.
    NamedPath fileName;
    // Appended to a typed name without an extension, exactly as given.
    std::string defaultExtension;
    // Where the dialog opens when the file name names no folder; empty for
    // the system's choice.
    NamedPath initialFolder;
    // The file-type box, the first entry chosen; empty for no box.
    std::vector<FileFilter> filters;
};

// The modal dialogs of the window toolkit. Every text is CP932; line breaks
// in a message may be CR, LF, CR LF or LF CR. Each call returns only when the
// user has answered.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box with `flags` (buttons, icon, default button) that returns
    // the button pressed as msgbox::kIdOk, kIdYes, kIdNo...
    virtual int messageBox(const std::string &text, const std::string &caption, unsigned flags) = 0;

    // Asks for one line of at most 255 bytes: the text entered on OK, or
    // `defaultText` when the user cancels or closes the box.
    virtual std::string inputBox(const std::string &caption, const std::string &prompt,
                                 const std::string &defaultText) = 0;

    // Lets the user choose a file, which need not exist: its full path, in
    // both forms, or nothing when the user cancels.
    virtual std::optional<NamedPath> openFileName(const OpenFileRequest &request) = 0;
};

} // namespace platform
