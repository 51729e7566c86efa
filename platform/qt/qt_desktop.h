#pragma once

#include "platform/desktop.h"

namespace platform::qt {

// Opens files through QDesktopServices. A file missing from the program's
// folder is looked for where an installed program keeps its documents.
class QtDesktop final : public Desktop {
public:
    void openDocument(const std::string &nativeFolder, const std::string &fileName) override;
};

} // namespace platform::qt
