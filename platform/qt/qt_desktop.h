#pragma once

#include "platform/desktop.h"

#include <QPointer>

#include <string>
#include <string_view>
#include <vector>

class QProcess;
class QWidget;

namespace platform::qt {

class DocumentWindow;

// Opens files with the desktop's handler for their kind (xdg-open), and
// where there is none, or it fails, shows a text file in a window of the
// program's own, so that a file that is there always opens. A file missing
// from the program's folder is looked for where an installed program keeps
// its documents.
class QtDesktop final : public Desktop {
public:
    QtDesktop() = default;
    ~QtDesktop() override;
    QtDesktop(const QtDesktop &) = delete;
    QtDesktop &operator=(const QtDesktop &) = delete;

    // The window that the program's own document window belongs to.
    void setOwner(QWidget *owner) { m_owner = owner; }

    // Not opened only when the file is missing or cannot be read; the path
    // is the file's, resolved.
    DocumentOpening openDocument(const std::string &nativeFolder, const std::string &fileName) override;

    // The file that openDocument() opens: `fileName` in `nativeFolder`, or in
    // the installed documents' folder when only that one has it; resolved
    // ("bin/../share" is "share"), as it is shown.
    static std::string documentPath(const std::string &nativeFolder, const std::string &fileName);

    // The program's own window for documents; null until it was needed.
    DocumentWindow *documentWindow() const;

    // The biggest file shown in the program's own window.
    static constexpr std::size_t kMostDocumentBytes = std::size_t(16) << 20;

private:
    void showOwnWindow(const QString &fileName, std::string_view text);

    QWidget *m_owner = nullptr;
    QPointer<DocumentWindow> m_window;
    std::vector<QPointer<QProcess>> m_openers; // handlers still running
};

} // namespace platform::qt
