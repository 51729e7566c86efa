#include "application.h"

#include "accessibility.h"
#include "app_style.h"
#include "fonts.h"
#include "main_window_host.h"
#include "platform/qt/qt_desktop.h"
#include "qt_dialogs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QScreen>
#include <QSize>
#include <QTranslator>

#include <optional>

namespace ui::qt {

void setUpApplication()
{
    // The name that the desktop shows for the running program. (A display
    // name would be appended to every window caption, so none is set.)
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    QGuiApplication::setDesktopFileName(QStringLiteral("vellumin"));
    // Every size of the icon, so that a panel or a HiDPI title bar picks a
    // sharp one rather than scaling the 32-pixel picture.
    QIcon icon(QStringLiteral(":/pictures/vellumin.png"));
    for (const int size : {16, 24, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/pictures/vellumin-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    // The toolkit's own texts (the open-file dialog, context menus) in
    // Japanese, like the rest of the window, where the translations are
    // installed.
    auto *translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);

    installAccessibility();
    substituteWindowsFonts();
    QApplication::setStyle(new AppStyle);
    QApplication::setPalette(windowsPalette());
    const QScreen *screen = QGuiApplication::primaryScreen();
    QApplication::setFont(windowFont(LayoutScale(screen ? screen->logicalDotsPerInchY() : 96.0)));
}

int runApplication(int &argc, char **argv, const std::optional<platform::NamedPath> &startFolder, bool readOnly)
{
    QApplication app(argc, argv);
    setUpApplication();

    QtDialogs dialogs;
    platform::qt::QtDesktop desktop;
    MainWindowHost window(dialogs, desktop, startFolder, readOnly);
    dialogs.setOwner(&window);
    desktop.setOwner(&window);
    window.show();
    return QApplication::exec();
}

} // namespace ui::qt
