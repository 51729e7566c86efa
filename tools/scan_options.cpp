#include "scan_options.h"

#include <string_view>

// Windows users have no manual pages: the zip carries the same manual as a
// text file beside the program.
#ifdef _WIN32
#define VELLUMIN_SCAN_MANUAL "See vellumin-scan.txt beside the program.\n"
#else
#define VELLUMIN_SCAN_MANUAL "See vellumin-scan(1).\n"
#endif

namespace scan {
namespace {

ScanOptions usageError(std::string text)
{
    ScanOptions options;
    options.action = ScanOptions::Action::UsageError;
    options.error = std::move(text);
    return options;
}

} // namespace

const char *usageText()
{
    return "usage: vellumin-scan [--name TEXT | --content TEXT] [--format tsv|json|csv|netscape] [--cookies]"
           " [--profiles] FOLDER\n";
}

const char *helpText()
{
    return "usage: vellumin-scan [--name TEXT | --content TEXT] [--format tsv|json|csv|netscape] [--cookies]"
           " [--profiles] FOLDER\n"
           "\n"
           "Lists the cookie files (*.txt) of FOLDER as the Vellumin window would, without a window.\n"
           "\n"
           "  --name TEXT       list only files whose name holds TEXT after the \"@\"\n"
           "                    (* and ? are wildcards, letters match regardless of case)\n"
           "  --content TEXT    list only files whose text holds TEXT (letter case matters)\n"
           "  --format FORMAT   tsv (the table, the default), json or csv: one record per file;\n"
           "                    netscape (with --cookies): a cookies.txt for curl, wget and the like\n"
           "  --cookies         one row per cookie of each listed file instead\n"
           "  --profiles        FOLDER is the root of a Windows volume: list every cookie folder\n"
           "                    of every user profile on it, each row naming its profile and folder\n"
           "  -h, --help        show this help and exit\n"
           "  --version         show the version and exit\n"
           "\n"
           "Exit status: 0 when the listing completed, 1 when the folder could not be listed, a\n"
           "file could not be read or the scan failed otherwise, 2 for a usage error. With --profiles\n"
           "every folder is listed that can be; 1 also when there was none to list.\n" VELLUMIN_SCAN_MANUAL;
}

ScanOptions parseScanOptions(int argc, char **argv)
{
    ScanOptions options;
    bool haveFolder = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            // The listing takes "" for the root folder: an unset variable in
            // a script would scan the whole disk.
            if (arg.empty())
                return usageError("the folder name is empty");
            if (haveFolder)
                return usageError("more than one folder: '" + std::string(arg) + "'");
            options.folder = arg;
            haveFolder = true;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }

        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const auto value = [&](std::string &out) {
            if (equals != std::string_view::npos) {
                out = arg.substr(equals + 1);
                return true;
            }
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        const bool takesValue = name == "--name" || name == "--content" || name == "--format";
        if (!takesValue && equals != std::string_view::npos)
            return usageError("option '" + std::string(name) + "' takes no value");

        if (name == "--help" || name == "-h") {
            options.action = ScanOptions::Action::Help;
            return options;
        }
        if (name == "--version") {
            options.action = ScanOptions::Action::Version;
            return options;
        }
        if (name == "--cookies") {
            options.cookies = true;
        } else if (name == "--profiles") {
            options.profiles = true;
        } else if (name == "--name" || name == "--content") {
            const SearchKind kind = name == "--name" ? SearchKind::FileName : SearchKind::Content;
            if (options.search != SearchKind::None && options.search != kind)
                return usageError("--name and --content exclude each other");
            if (!value(options.searchText))
                return usageError("option '" + std::string(name) + "' needs a text");
            options.search = kind;
        } else if (name == "--format") {
            std::string format;
            if (!value(format))
                return usageError("option '--format' needs tsv, json, csv or netscape");
            if (format == "tsv")
                options.format = Format::Tsv;
            else if (format == "json")
                options.format = Format::Json;
            else if (format == "csv")
                options.format = Format::Csv;
            else if (format == "netscape")
                options.format = Format::Netscape;
            else
                return usageError("unknown format '" + format + "' (tsv, json, csv or netscape)");
        } else {
            return usageError("unknown option '" + std::string(arg) + "'");
        }
    }
    if (!haveFolder)
        return usageError(options.profiles ? "no volume root given" : "no folder given");
    if (options.format == Format::Netscape && !options.cookies)
        return usageError("--format netscape writes cookies: it needs --cookies");
    return options;
}

} // namespace scan
