// The dialog and desktop services of a window that a benchmark runs: no box
// waits for an answer, and nothing opens.

#pragma once

#include "platform/desktop.h"
#include "platform/dialogs.h"

#include <cstdio>
#include <optional>
#include <string>

namespace bench {

// Errors go to standard error; no box may wait for an answer here.
class PrintingDialogs : public platform::Dialogs {
public:
    int messageBox(const std::string &text, const std::string &, unsigned) override
    {
        std::fprintf(stderr, "error box: %s\n", text.c_str());
        return platform::msgbox::kIdOk;
    }
    std::string inputBox(const std::string &, const std::string &, const std::string &defaultText) override
    {
        return defaultText;
    }
    std::optional<platform::NamedPath> openFileName(const platform::OpenFileRequest &) override { return std::nullopt; }
};

class NoDesktop : public platform::Desktop {
public:
    platform::DocumentOpening openDocument(const std::string &, const std::string &) override { return {true, {}}; }
};

} // namespace bench
