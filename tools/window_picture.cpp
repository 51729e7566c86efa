// Draws the program's window into a PNG file, as it shows at its start on the
// default cookie folder after the user selected a row and chose the lower
// pane's view:
//
//   vellumin-window-picture OUTPUT.png ROW text|cookies
//
// scripts/remake-screenshot.sh runs it on a copy of the sample folder to make
// ui/pictures/screenshot.png. The window is the program's own (the same host,
// controller, style, palette and fonts); it is drawn off the screen, with no
// display, window manager or timing in between, so that the same sources and
// fonts draw the same bytes.

#include "platform/qt/qt_desktop.h"
#include "ui/main_form.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window_host.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/qt/result_table_model.h"

#include <QApplication>
#include <QImage>
#include <QImageWriter>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int usage()
{
    std::fputs("usage: vellumin-window-picture OUTPUT.png ROW text|cookies\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4)
        return usage();
    const std::string view = argv[3];
    char *end = nullptr;
    const long row = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || row < 1 || (view != "text" && view != "cookies"))
        return usage();

    QApplication app(argc, argv);
    ui::qt::setUpApplication();
    ui::qt::QtDialogs dialogs;
    platform::qt::QtDesktop desktop;
    ui::qt::MainWindowHost window(dialogs, desktop);
    dialogs.setOwner(&window);
    desktop.setOwner(&window);
    window.show();
    window.activateWindow();
    QApplication::processEvents();

    if (row > window.tableModel()->rowCount()) {
        std::fprintf(stderr, "vellumin-window-picture: the folder lists fewer than %ld files\n", row);
        return 1;
    }
    // As a click on the row and on the tab would: the table has the focus.
    window.setFocus(ui::form::Id::Table);
    window.makeRowCurrent(static_cast<int>(row));
    window.window().rowMadeCurrent();
    if (view == "cookies")
        window.window().contentViewChosen(ui::form::ContentView::Cookies);
    QApplication::processEvents();

    QImageWriter writer(QString::fromLocal8Bit(argv[1]), "png");
    if (!writer.write(window.grab().toImage())) {
        std::fprintf(stderr, "vellumin-window-picture: %s: %s\n", argv[1], qPrintable(writer.errorString()));
        return 1;
    }
    return 0;
}
