#pragma once

#include "platform/desktop.h"

namespace platform::qt {

// Opens files through QDesktopServices.
class QtDesktop final : public Desktop {
public:
    void openDocument(const std::string &path) override;
};

} // namespace platform::qt
