// Measures the window offscreen: the start-up to the first painted window on
// the sample folder, the scan of N cookie files through the window until the
// table is painted (against the plain loop that enumerates and reads the same
// files), and scrolling from the first row to the last with the paint of
// that page. The folder and the plain loop are the listing benchmark's own,
// so that the two ratios speak of the same files.
//
// Last, a folder with one file of 100 MB (1 KB for each of N files when that
// is less): the time from selecting its row to the painted text, and where
// it goes (reading, conversion, the view); the heap peak meanwhile; and its
// cookie tab: shown, Shift+End, Home, Ctrl+A and Ctrl+C, each until painted.
//
//   vellumin-window-bench [N]      N cookie files, 100000 when not given
//   vellumin-window-bench --big-only [N]
//                                  only the big file, of the size that N
//                                  gives it, without building the folder
//
// Figures are printed, never judged: the exit status is 1 only when the
// window lists a different number of files than the folder holds.

#include "cookie_folder.h"
#include "heap_count.h"
#include "plain_read.h"
#include "quiet_services.h"
#include "window_report.h"

#include "listing/cookie_listing.h"
#include "platform/cp932.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window_host.h"
#include "ui/qt/result_grid.h"
#include "ui/qt/result_table_model.h"
#include "ui/qt/text_view.h"
#include "ui/text_lines.h"

#include <optional>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#ifndef VELLUMIN_SAMPLE_FOLDER
#error "VELLUMIN_SAMPLE_FOLDER names the sample cookie folder"
#endif

namespace {

using bench::Clock;
using bench::millisecondsSince;

constexpr std::size_t kDefaultFileCount = 100000;
constexpr int kRuns = 3;
constexpr double kScanRatioTarget = 1.5;
constexpr std::size_t kBigFileBytes = 100u << 20;
constexpr double kBigFileTargetMs = 1000.0;
constexpr double kScrollTargetMs = 50.0;

// A Wine-style prefix under /tmp, removed with everything in it.
class TempPrefix {
public:
    TempPrefix() : m_folder("vellumin-window-bench") { std::filesystem::create_directories(cookieFolder()); }

    const std::string &path() const { return m_folder.path(); }
    std::string cookieFolder() const { return path() + "/drive_c/windows/Cookies"; }

private:
    bench::TempFolder m_folder;
};

// Notes the first paint of a widget.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// Handles what is pending (the layout, then the paint of what changed).
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

ui::qt::ResultGrid *gridOf(const ui::qt::MainWindowHost &window)
{
    return window.controlOf<ui::qt::ResultGrid>(ui::form::Id::Table);
}

// A key pressed in `widget`, as the user would press it.
void press(QWidget *widget, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(widget, &up);
}

// The big file's text shown again, with the heap peak meanwhile, and its
// cookie tab: shown, Shift+End, Home, Ctrl+A and Ctrl+C, each until painted.
void cookieTableSteps(ui::qt::MainWindowHost &window, std::size_t bytes)
{
    auto *view = window.controlOf<QTableView>(ui::form::Id::CookieView);
    ui::MainWindow &main = window.window();
    std::vector<bench::WindowStep> steps = bench::bigFileSteps();
    std::size_t heapPeak = 0;
    const auto timed = [&](bench::WindowStep &step, const auto &action) {
        const bench::CpuTime cpuStart = bench::processCpuTime();
        const Clock::time_point start = Clock::now();
        action();
        settle();
        view->viewport()->repaint();
        bench::keepBest(step, millisecondsSince(start), bench::processCpuTime() - cpuStart);
    };
    const auto selected = [view] { return static_cast<long long>(view->selectionModel()->selectedRows().size()); };
    for (int run = 0; run < kRuns; ++run) {
        main.contentViewChosen(ui::form::ContentView::Text);
        main.perform(ui::form::Command::Reload);
        settle();
        const std::size_t live = bench::resetHeapPeak();
        timed(steps[0], [&] { main.run([&window] { window.cookies().readRowFile(1); }); });
        heapPeak = std::max(heapPeak, bench::heapPeakBytes() - live);
        timed(steps[1], [&] { main.contentViewChosen(ui::form::ContentView::Cookies); });
        steps[1].outcome = view->model()->rowCount();
        steps[1].outcomeLabel = "rows";
        view->setFocus();
        press(view, Qt::Key_Home, Qt::NoModifier);
        settle();
        timed(steps[2], [&] { press(view, Qt::Key_End, Qt::ShiftModifier); });
        steps[2].outcome = selected();
        timed(steps[3], [&] { press(view, Qt::Key_Home, Qt::NoModifier); });
        steps[3].outcome = selected();
        timed(steps[4], [&] { press(view, Qt::Key_A, Qt::ControlModifier); });
        steps[4].outcome = selected();
        timed(steps[5], [&] { press(view, Qt::Key_C, Qt::ControlModifier); });
        steps[5].outcome = QGuiApplication::clipboard()->text().size();
        steps[5].outcomeLabel = "characters copied";
    }
    for (int i = 2; i < 5; ++i)
        steps[i].outcomeLabel = "rows selected";
    bench::printBigFileSteps("through the window", bytes, heapPeak, steps.data(), steps.size());
}

// Selecting the row of a file of 100 MB until its text is painted, best of
// kRuns, and the parts of it measured one by one.
void bigFile(bench::PrintingDialogs &dialogs, bench::NoDesktop &desktop, std::size_t bytes)
{
    const TempPrefix prefix;
    bench::writeBigCookieFile(prefix.cookieFolder() + "/big@www.example.com[1].txt", bytes);
    qputenv("WINEPREFIX", QByteArray::fromStdString(prefix.path()));
    ui::qt::MainWindowHost window(dialogs, desktop);
    window.show();
    settle();
    auto *pane = window.controlOf<ui::qt::TextView>(ui::form::Id::ContentPane);

    double selectMs = 0, readMs = 0, linesMs = 0;
    for (int run = 0; run < kRuns; ++run) {
        // A rescan empties the pane, so that the big text is shown anew.
        window.window().perform(ui::form::Command::Reload);
        settle();
        const Clock::time_point start = Clock::now();
        window.window().run([&window] { window.cookies().readRowFile(1); });
        settle();
        pane->viewport()->repaint();
        const double ms = millisecondsSince(start);
        selectMs = run == 0 ? ms : std::min(selectMs, ms);

        // Two parts on their own: the read, and the view finding the text's
        // lines (it converts and lays out only the rows in view); the paint
        // takes the rest.
        Clock::time_point part = Clock::now();
        window.cookies().readRowFile(1);
        readMs = run == 0 ? millisecondsSince(part) : std::min(readMs, millisecondsSince(part));
        part = Clock::now();
        const ui::text::TextLines lines(window.cookies().contentPane().rawText());
        linesMs = run == 0 ? millisecondsSince(part) : std::min(linesMs, millisecondsSince(part));
        if (lines.lineCount() < 2)
            std::fputs("vellumin-window-bench: the big file has no lines\n", stderr);
    }
    std::printf("\nfile of %zu KB selected, best of %d runs\n", bytes >> 10, kRuns);
    std::printf("%-40s %10.1f %7s %s (target <= %.0f ms at 100 MB)\n", "row selected until the text is painted",
                selectMs, "-",
                bytes < kBigFileBytes          ? ""
                : selectMs <= kBigFileTargetMs ? "ok"
                                               : "MISS",
                kBigFileTargetMs);
    std::printf("%-40s %10.1f\n", "  of which: read", readMs);
    std::printf("%-40s %10.1f\n", "  of which: the view's lines found", linesMs);
    std::printf("%-40s %10.1f\n", "  of which: the view, about", std::max(0.0, selectMs - readMs - linesMs));
    cookieTableSteps(window, bytes);
}

int usage()
{
    std::fputs("usage: vellumin-window-bench [--big-only] [N]   (N cookie files, default 100000)\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    const Clock::time_point processStart = Clock::now();
    // The big file alone: quick to repeat while working on the content pane.
    const bool bigOnly = argc > 1 && std::string_view(argv[1]) == "--big-only";
    const std::optional<std::size_t> fileCountArg =
        bench::fileCountArgument(argc - (bigOnly ? 1 : 0), argv + (bigOnly ? 1 : 0), kDefaultFileCount);
    if (!fileCountArg)
        return usage();
    const std::size_t fileCount = *fileCountArg;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::size_t bigFileBytes = fileCount >= kDefaultFileCount ? kBigFileBytes : fileCount * 1024;

    try {
        bench::PrintingDialogs dialogs;
        bench::NoDesktop desktop;
        if (bigOnly) {
            QApplication app(argc, argv);
            ui::qt::setUpApplication();
            std::printf("vellumin-window-bench --big-only (%s)\n", qPrintable(QGuiApplication::platformName()));
            bigFile(dialogs, desktop, bigFileBytes);
            return 0;
        }

        // Start-up: the application, the window with its first scan of the
        // sample folder, and its first paint.
        const TempPrefix sample;
        for (const auto &file : std::filesystem::directory_iterator(VELLUMIN_SAMPLE_FOLDER))
            std::filesystem::copy(file.path(), sample.cookieFolder() + "/" + file.path().filename().string());
        qputenv("WINEPREFIX", QByteArray::fromStdString(sample.path()));

        const Clock::time_point startupStart = Clock::now();
        QApplication app(argc, argv);
        ui::qt::setUpApplication();
        double startupMs = 0;
        int sampleRows = 0;
        {
            ui::qt::MainWindowHost window(dialogs, desktop);
            PaintWatch watch;
            window.installEventFilter(&watch);
            window.show();
            while (!watch.painted)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            startupMs = millisecondsSince(startupStart);
            sampleRows = window.tableModel()->rowCount();
        }
        std::printf("vellumin-window-bench (%s)\n", qPrintable(QGuiApplication::platformName()));
        std::printf("start-up to first painted window, sample folder (%d rows): %.1f ms "
                    "(%.1f ms from the process's start)\n\n",
                    sampleRows, startupMs,
                    startupMs + std::chrono::duration<double, std::milli>(startupStart - processStart).count());
        std::fflush(stdout);

        // The big folder.
        const TempPrefix big;
        bench::makeCookieFolder(big.cookieFolder(), fileCount);
        qputenv("WINEPREFIX", QByteArray::fromStdString(big.path()));
        bench::readPlainly(big.cookieFolder()); // warms the caches

        std::size_t baselineFiles = 0;
        double baselineMs = 0;
        bench::CpuTime baselineCpu{}; // of the run that took the least processor time
        for (int run = 0; run < kRuns; ++run) {
            const bench::Run baseline = bench::readPlainly(big.cookieFolder());
            baselineFiles = baseline.listed;
            baselineMs = run == 0 ? baseline.ms : std::min(baselineMs, baseline.ms);
            if (run == 0 || baseline.cpu.totalMs() < baselineCpu.totalMs())
                baselineCpu = baseline.cpu;
        }

        ui::qt::MainWindowHost window(dialogs, desktop);
        window.show();
        settle();
        ui::qt::ResultGrid *grid = gridOf(window);

        // A rescan as the ReLoad command runs it, until the table is painted.
        double scanMs = 0;
        bench::CpuTime scanCpu{};
        for (int run = 0; run < kRuns; ++run) {
            const bench::CpuTime cpuStart = bench::processCpuTime();
            const Clock::time_point start = Clock::now();
            window.window().perform(ui::form::Command::Reload);
            settle();
            grid->viewport()->repaint();
            const double ms = millisecondsSince(start);
            const bench::CpuTime cpu = bench::processCpuTime() - cpuStart;
            scanMs = run == 0 ? ms : std::min(scanMs, ms);
            if (run == 0 || cpu.totalMs() < scanCpu.totalMs())
                scanCpu = cpu;
        }
        const int rows = window.tableModel()->rowCount();

        // From the first row to the last, and the paint of the last page.
        double scrollMs = 0;
        for (int run = 0; run < kRuns; ++run) {
            grid->scrollToTop();
            grid->setCurrentIndex(grid->model()->index(0, 0));
            settle();
            grid->viewport()->repaint();
            const Clock::time_point start = Clock::now();
            const QModelIndex last = grid->model()->index(rows - 1, 0);
            grid->setCurrentIndex(last);
            grid->scrollTo(last);
            grid->viewport()->repaint();
            grid->verticalHeader()->viewport()->repaint();
            const double ms = millisecondsSince(start);
            scrollMs = run == 0 ? ms : std::min(scrollMs, ms);
        }
        const bool atBottom = grid->verticalScrollBar()->value() == grid->verticalScrollBar()->maximum();

        bench::printWindowScan({fileCount, kRuns, baselineMs, baselineCpu, scanMs, scanCpu, kScanRatioTarget,
                                "scroll first -> last row and paint", scrollMs, kScrollTargetMs,
                                atBottom ? "" : "  [did not reach the bottom]"});
        std::printf("load average (1 min) %s\n", bench::loadAverage().c_str());

        std::fflush(stdout);
        // 100 MB beside the 100,000 files; smaller beside fewer, so that a
        // smoke run stays short.
        bigFile(dialogs, desktop, bigFileBytes);

        if (static_cast<std::size_t>(rows) != fileCount || baselineFiles != fileCount) {
            std::fprintf(stderr, "vellumin-window-bench: the window listed %d files, the folder holds %zu\n", rows,
                         fileCount);
            return 1;
        }
        return 0;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vellumin-window-bench: %s\n", error.what());
    }
    return 1;
}
