#pragma once

#include "platform/desktop.h"

#include <string>

namespace platform::qt {

// Opens files through QDesktopServices. A file missing from the program's
// folder is looked for where an installed program keeps its documents.
class QtDesktop final : public Desktop {
public:
    DocumentOpening openDocument(const std::string &nativeFolder, const std::string &fileName) override;

    // The file that openDocument() opens: `fileName` in `nativeFolder`, or in
    // the installed documents' folder when only that one has it.
    static std::string documentPath(const std::string &nativeFolder, const std::string &fileName);
};

} // namespace platform::qt
