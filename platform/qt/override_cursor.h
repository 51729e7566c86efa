#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace platform::qt {

// The application-wide busy cursor, shown over every window of the program
// for as long as the guard lives.
class OverrideCursor {
public:
    explicit OverrideCursor(Qt::CursorShape shape = Qt::WaitCursor)
    {
        QGuiApplication::setOverrideCursor(QCursor(shape));
    }
    ~OverrideCursor() { QGuiApplication::restoreOverrideCursor(); }
    OverrideCursor(const OverrideCursor &) = delete;
    OverrideCursor &operator=(const OverrideCursor &) = delete;
};

} // namespace platform::qt
