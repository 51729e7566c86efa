// Runs the cookie listing without a window and prints what the window would
// show: one line per table row (header first, columns 0 to 8 separated by
// tabs), the fitted column widths, the status text and the caption, in UTF-8.
//
//   vellumin-scan FOLDER [--name TEXT | --content TEXT]

#include "listing/cookie_listing.h"
#include "listing/errors.h"
#include "listing/messages.h"
#include "listing/view_state.h"
#include "platform/cp932.h"

#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kLayoutFontPointSize = 9;

int usage()
{
    std::fputs("usage: vellumin-scan FOLDER [--name TEXT | --content TEXT]\n", stderr);
    return 2;
}

void print(const listing::CookieListing &cookies, const listing::ViewState &view)
{
    using platform::cp932::toUtf8;
    const listing::ResultTable &table = cookies.table();
    std::string out;
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < listing::kGridColumnCount; ++column) {
            if (column > 0)
                out += '\t';
            out += toUtf8(table.cell(column, row));
        }
        out += '\n';
    }
    out += "widths:";
    for (int column = 0; column < listing::kGridColumnCount; ++column)
        out += " " + std::to_string(table.columnWidth(column));
    out += "\nstatus:" + toUtf8(view.statusText) + "\ncaption:" + toUtf8(view.caption) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
#ifdef _WIN32
    // The bytes as they are: no CR put before each LF, so that the output is
    // the same on both systems.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    if (argc != 2 && argc != 4)
        return usage();
    listing::CookieListing cookies;
    cookies.InitState();
    listing::ProgramState &state = cookies.state();
    state.setCookiesPath(platform::namedPath(argv[1]));
    if (argc == 4) {
        if (std::strcmp(argv[2], "--name") == 0)
            state.SysInfo.SearchMode = listing::smFileName;
        else if (std::strcmp(argv[2], "--content") == 0)
            state.SysInfo.SearchMode = listing::smContent;
        else
            return usage();
        // The arguments come as the system names files: UTF-8 on Linux, CP932 on
        // Windows.
        state.SysInfo.SearchText = platform::shownName(argv[3]);
    }

    listing::ViewState view(kLayoutFontPointSize);
    try {
        cookies.ListCookieFiles(view);
    } catch (const std::exception &error) {
        // Any failure, not only a file that cannot be read: the rows listed
        // before it, then the message, as the window shows them.
        print(cookies, view);
        const std::string text = platform::cp932::toUtf8(listing::messages::errorBoxText(error.what()));
        std::fprintf(stderr, "%s\n", text.c_str());
        return 1;
    }
    print(cookies, view);
    return 0;
}
