// End to end: runs vellumin-scan as a script would and reads what it prints.

#include "temp_folder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sched.h>
#include <sys/mount.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

using nlohmann::json;

namespace {

struct Result {
    int status = -1; // the exit status; 128 + n after signal n
    std::string out;
    std::string err;
};

std::string quoted(const std::string &arg)
{
    std::string text = "'";
    for (const char c : arg)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the scanner with `args` through the shell; `prefix` goes before it
// (a ulimit), `stdoutTo` replaces the capture of standard output.
Result scan(const std::vector<std::string> &args, const std::string &prefix = "", const std::string &stdoutTo = "",
            const std::string &program = VELLUMIN_SCAN)
{
    static const TempFolder captures;
    std::string command = prefix + quoted(program);
    for (const std::string &arg : args)
        command += " " + quoted(arg);
    const std::string out = captures / "out", err = captures / "err";
    command += " >" + (stdoutTo.empty() ? quoted(out) : stdoutTo) + " 2>" + quoted(err);
    const int raw = std::system(("(" + command + ")").c_str());
    Result result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    result.out = stdoutTo.empty() ? readAll(out) : "";
    result.err = readAll(err);
    return result;
}

json parsed(const Result &result)
{
    json document;
    try {
        document = json::parse(result.out);
    } catch (const json::exception &error) {
        ADD_FAILURE() << error.what() << "\n" << result.out;
    }
    return document;
}

// The fields of a line: one more than its separators.
std::vector<std::string> fields(const std::string &line, char separator)
{
    std::vector<std::string> out(1);
    for (const char c : line) {
        if (c == separator)
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

std::vector<std::string> lines(const std::string &text, const std::string &end = "\n")
{
    std::vector<std::string> out;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t stop = text.find(end, start);
        if (stop == std::string::npos)
            stop = text.size();
        out.push_back(text.substr(start, stop - start));
        start = stop + end.size();
    }
    return out;
}

// The fields of CSV records (RFC 4180), whatever their quoting.
std::vector<std::vector<std::string>> csvRecords(const std::string &text)
{
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string &field = records.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            records.emplace_back(1);
        } else {
            field += c;
        }
    }
    records.pop_back(); // after the last CR LF
    return records;
}

// Undoes the escapes of a TSV field.
std::string tsvUnescaped(const std::string &field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        const char next = field.at(++i);
        if (next == 'x') {
            out += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        }
    }
    return out;
}

std::string record(const std::string &name, const std::string &value, const std::string &hostPath,
                   const std::string &flags = "1536")
{
    return name + "\n" + value + "\n" + hostPath + "\n" + flags + "\n2916434944\n31189652\n1866434944\n31020145\n*\n";
}

const std::string kSamples = VELLUMIN_SAMPLE_FOLDER;

} // namespace

TEST(ScanToolCommandLine, HelpVersionAndUsageErrors)
{
    const Result help = scan({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: vellumin-scan ", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--cookies"), std::string::npos);
    EXPECT_NE(help.out.find("-h, --help"), std::string::npos);

    EXPECT_EQ(scan({"--version"}).out, "vellumin-scan 1.30\n");
    EXPECT_EQ(scan({kSamples, "--version"}).status, 0);

    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"--bogus", kSamples},
        {kSamples, "-x"},
        {kSamples, "--name"},
        {kSamples, "--format", "xml"},
        {kSamples, "--format"},
        {kSamples, "--name", "a", "--content", "b"},
        {kSamples, kSamples},
        {kSamples, "--cookies=yes"},
        {kSamples, "--format", "netscape"}, // cookies only
        {""},                               // an unset variable: never the root folder
        {"--", ""},
    };
    for (const std::vector<std::string> &args : wrong) {
        const Result result = scan(args);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(result.out, "");
        // One line of error, then the usage.
        const std::vector<std::string> text = lines(result.err);
        ASSERT_EQ(text.size(), 2u) << result.err;
        EXPECT_EQ(text[0].rfind("vellumin-scan: ", 0), 0u) << result.err;
        EXPECT_EQ(text[1].rfind("usage: vellumin-scan ", 0), 0u) << result.err;
    }
}

TEST(ScanToolCommandLine, OptionsBeforeOrAfterTheFolder)
{
    const std::string expected = scan({kSamples, "--name", "example.com"}).out;
    EXPECT_NE(expected.find("status: 5 "), std::string::npos) << expected;
    EXPECT_EQ(scan({"--name", "example.com", kSamples}).out, expected);
    EXPECT_EQ(scan({"--name=example.com", kSamples}).out, expected);
    EXPECT_EQ(scan({"--format", "tsv", kSamples, "--name", "example.com"}).out, expected);

    // A folder whose name starts with "-" after "--"; a trailing separator
    // is not doubled in the caption.
    TempFolder folder;
    folder.write("-odd/u@a.txt", record("n", "v", "h/"));
    const Result dashed = scan({"--format=json", "--", folder / "-odd/"});
    EXPECT_EQ(dashed.status, 0) << dashed.err;
    EXPECT_EQ(parsed(dashed)["caption"], "Vellumin ver 1.30   < CookiesPath:[" + (folder / "-odd") + "/] >");
}

TEST(ScanToolFormats, JsonAndCsvGiveEveryListedFileWhole)
{
    const Result result = scan({kSamples, "--format", "json"});
    EXPECT_EQ(result.status, 0) << result.err;
    const json document = parsed(result);
    const json &files = document["files"];
    ASSERT_EQ(files.size(), 12u);
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(files[i]["number"], i + 1);
        const std::string file = files[i]["file"];
        EXPECT_EQ(files[i]["size"], readAll(kSamples + "/" + file).size()) << file;
    }
    EXPECT_EQ(files[0]["file"], "hanako@blog.example.jp[1].txt");
    EXPECT_EQ(files[0]["name"], "hanako@blog.example.jp[1]");
    EXPECT_EQ(files[0]["url"], "blog.example.jp/diary/");
    EXPECT_EQ(files[0]["info"], "表示：ソフト");
    // The table spreads this line over four cells; the record keeps it whole.
    EXPECT_EQ(files[8]["info"], "item=42,qty=1 gift wrap");
    EXPECT_FALSE(files[0].contains("file_hex"));
    EXPECT_EQ(document["status"], " 12 個のクッキーが見付かりました");
    EXPECT_EQ(document["caption"], "Vellumin ver 1.30   < CookiesPath:[" + kSamples + "/] >");
    EXPECT_EQ(document["summary"], (json{{"folder", kSamples}, {"count", 12}, {"completed", true}}));

    const Result csv = scan({"--format", "csv", kSamples});
    EXPECT_EQ(csv.status, 0);
    const auto records = csvRecords(csv.out);
    ASSERT_EQ(records.size(), 13u) << csv.out;
    EXPECT_EQ(records[0], (std::vector<std::string>{"number", "file", "file_hex", "name", "url", "info", "size",
                                                    "file_written", "file_created"}));
    for (std::size_t i = 1; i < records.size(); ++i) {
        const json &file = files[i - 1];
        // The file's own times, as JSON has them (null where unknown).
        const std::string created = file["file_created"].is_null() ? "" : file["file_created"].get<std::string>();
        EXPECT_EQ(records[i], (std::vector<std::string>{std::to_string(i), file["file"], "", file["name"], file["url"],
                                                        file["info"], std::to_string(file["size"].get<int>()),
                                                        file["file_written"], created}));
    }
    EXPECT_NE(csv.out.find(",\"\"\"quoted\"\" value\","), std::string::npos);

    // Nothing found: still a whole document.
    TempFolder empty;
    const json none = parsed(scan({"--format=json", "--cookies", empty.str()}));
    EXPECT_TRUE(none["files"].empty());
    EXPECT_EQ(none["status"], "クッキーファイルが見付かりません");
}

TEST(ScanToolFormats, RealFileNamesSurviveEveryFormat)
{
    TempFolder folder;
    const std::string notUtf8 = std::string("taro@\xff\xfe") + "x\x80.txt";
    const std::string awkward = "a,\"b\"\tc\\d\ne\x1b[1m@x.txt";
    folder.write(notUtf8, record("n1", "v1", "h1/"));
    folder.write(awkward, record("n2", "v2", "h2/"));

    const json files = parsed(scan({"--format=json", folder.str()}))["files"];
    ASSERT_EQ(files.size(), 2u);
    const json &awkwardJson = files[0]["file"] == awkward ? files[0] : files[1];
    const json &oddJson = files[0]["file"] == awkward ? files[1] : files[0];
    EXPECT_EQ(awkwardJson["file"], awkward);
    EXPECT_FALSE(awkwardJson.contains("file_hex"));
    EXPECT_EQ(oddJson["file"], "taro@\xEF\xBF\xBD\xEF\xBF\xBDx\xEF\xBF\xBD.txt");
    EXPECT_EQ(oddJson["file_hex"], "7461726f40fffe78802e747874");

    const auto csv = csvRecords(scan({"--format=csv", "--cookies", folder.str()}).out);
    ASSERT_EQ(csv.size(), 3u);
    for (std::size_t i = 1; i < csv.size(); ++i) {
        // For a spreadsheet, with its control characters escaped.
        if (csv[i][1] == "a,\"b\"\\tc\\d\\ne\\x1b[1m@x.txt") {
            EXPECT_EQ(csv[i][2], "");
            EXPECT_EQ(csv[i][3], "n2");
        } else {
            EXPECT_EQ(csv[i][2], "7461726f40fffe78802e747874");
            EXPECT_EQ(csv[i][3], "n1");
        }
    }

    const Result tsv = scan({"--cookies", folder.str()});
    std::vector<std::string> names;
    for (const std::string &line : lines(tsv.out)) {
        const std::vector<std::string> row = fields(line, '\t');
        EXPECT_EQ(row.size(), 13u) << line;
        names.push_back(tsvUnescaped(row.at(1)));
    }
    std::sort(names.begin() + 1, names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"file", awkward, notUtf8}));
    // No name reaches a terminal with its control bytes, nor in a warning.
    folder.write("\x1b]0;title\x07@broken.txt", "one line");
    const Result broken = scan({"--cookies", folder.str()});
    EXPECT_EQ(broken.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(broken.err, "vellumin-scan: \\x1b]0;title\\x07@broken.txt: not a cookie file: line 2: the text ends "
                          "inside a record\n");
}

TEST(ScanToolFormats, HostileTextsNeitherReachTheTerminalNorBreakTheColumnsNorRunInASpreadsheet)
{
    TempFolder folder;
    const std::string escapes = "\x1b]2;PWNED\x07\x1b[2J";
    // A quoted item keeps its tab and its escapes whole in one cell.
    folder.write("a@title.txt", "n\n\"" + escapes + "\t<tab\"\nh/\n");
    // A C1 control (U+009B, a CSI to some terminals), from its CP932 form
    // none: written as UTF-8 in the name instead.
    folder.write("b@c1\xC2\x9B"
                 "2J.txt",
                 record("n", "v", "h/"));
    // The full-width signs start a formula too (CP932 ＝ 81 81, ＋ 81 7B,
    // － 81 7C, ＠ 81 97); one further in, or the long vowel mark ー (81 5B),
    // does not.
    const std::string equals = "\x81\x81", plus = "\x81\x7B", minus = "\x81\x7C", at = "\x81\x97";
    const std::string wideA = "\x82\x60", longVowel = "\x81\x5B";
    folder.write("c@formula.txt", record("=cmd|' /C calc'!A0", "+1+1", "h/") + record("-2/", "@SUM(A1)", "h/") +
                                      record("\tx", "\x1b[31mred", "h/") + record("plain", "a\tb\x7f", "h/") +
                                      record(equals + "1+1", plus + "A1", "h/") +
                                      record(minus + "1", at + "SUM(A1)", "h/") +
                                      record(wideA + equals + "1", longVowel + "1", "h/"));
    const std::string hostileName = "d" + escapes + "@x.txt";
    std::filesystem::create_symlink("nowhere", folder / hostileName);

    const auto noRawControl = [](const std::string &text, const std::string &what) {
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            ASSERT_FALSE((byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7F) << what << ": " << text;
        }
        EXPECT_EQ(text.find("\xC2\x9B"), std::string::npos) << what;
    };

    // The table: nine cells a row whatever a cell holds, every text escaped.
    const Result tsv = scan({folder.str()});
    EXPECT_EQ(tsv.status, 0); // the link that leads nowhere is left out, with a warning
    noRawControl(tsv.out, "tsv");
    noRawControl(tsv.err, "tsv errors");
    const std::vector<std::string> rows = lines(tsv.out);
    ASSERT_EQ(rows.size(), 1u + 3u + 3u) << tsv.out;
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(fields(rows[i], '\t').size(), 9u) << rows[i];
    EXPECT_EQ(tsvUnescaped(fields(rows[1], '\t')[3]), escapes + "\t<tab");
    EXPECT_EQ(tsv.err, "vellumin-scan: " + (folder / "d\\x1b]2;PWNED\\x07\\x1b[2J@x.txt") +
                           ": left out: no longer there when read (deleted, or no longer a file)\n");

    // CSV: nothing a spreadsheet runs, no control byte; JSON: the exact bytes.
    const Result csv = scan({"--cookies", "--format=csv", folder.str()});
    noRawControl(csv.out, "csv");
    const auto records = csvRecords(csv.out);
    std::vector<std::string> texts;
    for (const auto &row : records)
        if (row.at(1) == "c@formula.txt")
            texts.insert(texts.end(), {row.at(3), row.at(4)});
    EXPECT_EQ(texts, (std::vector<std::string>{"'=cmd|' /C calc'!A0", "'+1+1", "'-2/", "'@SUM(A1)", "'\\tx",
                                               "\\x1b[31mred", "plain", "a\\tb\\x7f", "'＝1+1", "'＋A1", "'－1",
                                               "'＠SUM(A1)", "Ａ＝1", "ー1"}));
    const json files = parsed(scan({"--cookies", "--format=json", folder.str()}))["files"];
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0]["info"], "\"" + escapes + "\t<tab\"");
    EXPECT_EQ(files[2]["cookies"][3]["value"], "a\tb\x7f");
    EXPECT_EQ(files[2]["cookies"][0]["name"], "=cmd|' /C calc'!A0");

    // The cookie rows give real names, escaped reversibly.
    const Result cookieRows = scan({"--cookies", folder.str()});
    noRawControl(cookieRows.out, "cookie rows");
    EXPECT_NE(cookieRows.out.find("\tb@c1\\xc2\\x9b2J.txt\t"), std::string::npos) << cookieRows.out;

    // Warnings and usage errors name what they got, escaped.
    folder.write("e" + escapes + "@broken.txt", "one line");
    std::filesystem::remove(folder / hostileName);
    const Result warned = scan({"--cookies", folder.str()});
    noRawControl(warned.err, "warning");
    EXPECT_NE(warned.err.find("e\\x1b]2;PWNED\\x07\\x1b[2J@broken.txt: not a cookie file"), std::string::npos);
    const Result usage = scan({"--format=" + escapes, folder.str()});
    EXPECT_EQ(usage.status, 2);
    noRawControl(usage.err, "usage error");
    // A folder's name in the caption and the status line.
    const std::string hostileFolder = folder / ("f" + escapes);
    std::filesystem::create_directory(hostileFolder);
    const Result caption = scan({hostileFolder});
    EXPECT_EQ(caption.status, 0);
    noRawControl(caption.out, "caption");
    EXPECT_NE(caption.out.find("f\\x1b]2;PWNED\\x07\\x1b[2J/] >"), std::string::npos) << caption.out;
}

TEST(ScanToolFormats, ALongCellIsEscapedWhereverItsByteFalls)
{
    // Printable runs are copied many bytes at a time: a byte to escape (a
    // backslash, DEL) must be found at every place in a long cell, whatever
    // its place in such a step.
    TempFolder folder;
    const std::string plain = "0123456789abcdefghij";
    std::vector<std::string> infos;
    for (std::size_t at = 0; at < plain.size(); ++at) {
        std::string info = plain;
        info[at] = at % 2 == 0 ? '\\' : '\x7f';
        infos.push_back(info);
        char name[32];
        std::snprintf(name, sizeof name, "u@h%02zu.txt", at);
        folder.write(name, "n\n" + info + "\nh/\n");
    }
    const Result tsv = scan({folder.str()});
    ASSERT_EQ(tsv.status, 0) << tsv.err;
    const std::vector<std::string> rows = lines(tsv.out);
    ASSERT_GE(rows.size(), 1 + infos.size());
    for (std::size_t at = 0; at < infos.size(); ++at) {
        const std::string cell = fields(rows[1 + at], '\t')[3];
        EXPECT_EQ(cell.find('\x7f'), std::string::npos) << cell;
        EXPECT_EQ(tsvUnescaped(cell), infos[at]) << cell;
    }
}

TEST(ScanToolCookies, OneRowPerCookieOfTheSampleFolder)
{
    const Result result = scan({kSamples, "--cookies", "--format", "json"});
    EXPECT_EQ(result.status, 0);
    const json files = parsed(result)["files"];
    ASSERT_EQ(files.size(), 12u);
    std::size_t cookies = 0;
    for (const json &file : files)
        cookies += file["cookies"].size();
    EXPECT_EQ(cookies, 15u);

    const json &www = files[11];
    ASSERT_EQ(www["cookies"].size(), 2u);
    EXPECT_EQ(www["cookies"][1], json::parse(R"({"name":"lang","value":"ja","host":"www.example.com","path":"/",
        "secure":false,"httponly":false,"expires":"2025-08-28T04:14:45.9411200Z","expires_unix":1756354485,
        "created":"2023-03-11T23:35:57.4799537Z","created_unix":1678577757})"));
    EXPECT_EQ(files[0]["cookies"][0]["value"], "表示：ソフト");
    EXPECT_EQ(files[0]["cookies"][0]["path"], "/diary/");

    // The samples show what a live cookie looks like, and two what an
    // expired one does: the others expire far ahead, so that the sample is
    // not all greyed as expired a year after it was made.
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    std::vector<std::string> expired;
    for (const json &file : files)
        for (const json &cookie : file["cookies"])
            if (cookie["expires_unix"].get<long long>() <= now)
                expired.push_back(file["name"].get<std::string>() + " " + cookie["name"].get<std::string>());
    EXPECT_EQ(expired, (std::vector<std::string>{"taro@ads.example.com[3] camp", "taro@www.example.com[1] lang"}));

    // The one-line file is reported as such; the others go on.
    EXPECT_EQ(files[10]["file"], "taro@weather.example.com[1].txt");
    EXPECT_TRUE(files[10]["cookies"].empty());
    EXPECT_EQ(files[10]["cookies_error"], "line 2: the text ends inside a record");
    EXPECT_NE(result.err.find("taro@weather.example.com[1].txt: not a cookie file: line 2"), std::string::npos);

    // The one HttpOnly cookie of the samples, which is not secure: each
    // column from its own flag.
    EXPECT_EQ(files[6]["cookies"][0]["httponly"], true);
    EXPECT_EQ(files[6]["cookies"][0]["secure"], false);
    const auto csv = csvRecords(scan({kSamples, "--cookies", "--format=csv"}).out);
    ASSERT_EQ(csv.size(), 1u + 15u + 1u);
    EXPECT_EQ(csv[0][7] + "," + csv[0][8], "secure,httponly");
    for (std::size_t i = 1; i < csv.size(); ++i) {
        const bool mail = csv[i][1] == "taro@mail.example.org[1].txt";
        EXPECT_EQ(csv[i][8], mail ? "true" : csv[i][10].empty() ? "" : "false") << csv[i][1];
        EXPECT_EQ(csv[i][7], csv[i][11].empty() ? "false" : "") << csv[i][1];
    }

    const Result tsv = scan({kSamples, "--cookies"});
    const std::vector<std::string> rows = lines(tsv.out);
    ASSERT_EQ(rows.size(), 1u + 15u + 1u);
    EXPECT_EQ(rows[0], "number\tfile\tname\tvalue\thost\tpath\tsecure\thttponly\texpires\tcreated\terror\t"
                       "file_written\tfile_created");
    // Each row ends with its file's own times, which the checkout gave it.
    const auto withoutFileTimes = [](const std::string &row) {
        const std::size_t created = row.rfind('\t');
        return row.substr(0, row.rfind('\t', created - 1));
    };
    EXPECT_EQ(withoutFileTimes(rows[1]), "1\thanako@blog.example.jp[1].txt\ttheme\t表示：ソフト\tblog.example.jp\t/diary/\t"
                                         "false\tfalse\t2040-07-01T14:30:23.0055936Z\t2023-03-11T23:30:15.8612864Z\t");
    EXPECT_EQ(withoutFileTimes(rows[14]),
              "11\ttaro@weather.example.com[1].txt\t\t\t\t\t\t\t\t\tline 2: the text ends inside a record");
    EXPECT_EQ(fields(rows[14], '\t').size(), 13u);
}

TEST(ScanToolCookies, BrokenFilesAreReportedEachAndTheOthersGoOn)
{
    TempFolder folder;
    const std::string good = record("SID", "x\ty", "h.example/p", "8193");
    folder.write("a@good.txt", good);
    folder.write("b@short.txt", "SID\nx\nh/\n0\n");
    folder.write("c@number.txt", good + record("n", "v", "h/", "12x"));
    folder.write("d@nostar.txt", "n\nv\nh/\n0\n0\n0\n0\n0\nn2\n");
    folder.write("e@crlf.txt", "n\r\nv\r\nh/\r\n1\r\n0\r\n0\r\n0\r\n0\r\n*\r\n");

    const Result result = scan({"--cookies", "--format=json", folder.str()});
    EXPECT_EQ(result.status, 0) << result.err;
    const json files = parsed(result)["files"];
    ASSERT_EQ(files.size(), 5u);
    EXPECT_EQ(files[0]["cookies"][0]["secure"], true);
    EXPECT_EQ(files[0]["cookies"][0]["httponly"], true);
    EXPECT_EQ(files[0]["cookies"][0]["value"], "x\ty");
    EXPECT_EQ(files[0]["cookies"][0]["host"], "h.example");
    EXPECT_FALSE(files[0].contains("cookies_error"));
    EXPECT_EQ(files[1]["cookies_error"], "line 5: the text ends inside a record");
    EXPECT_EQ(files[2]["cookies_error"], "line 13: not an unsigned 32-bit number");
    ASSERT_EQ(files[2]["cookies"].size(), 1u); // the whole record before it
    EXPECT_EQ(files[2]["cookies"][0]["value"], "x\ty");
    EXPECT_EQ(files[3]["cookies_error"], "line 9: \"*\" expected");
    EXPECT_EQ(files[4]["cookies"][0]["secure"], true);
    EXPECT_EQ(files[4]["size"], 28); // CR LF as in the file
    EXPECT_EQ(lines(result.err).size(), 3u) << result.err;
    EXPECT_NE(result.err.find("vellumin-scan: c@number.txt: strays from the cookie format after 1 whole cookies: "
                              "line 13: not an unsigned 32-bit number\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("vellumin-scan: b@short.txt: not a cookie file: line 5"), std::string::npos);

    // In TSV the tab inside the value is escaped, so the columns hold; the
    // line where a file strays comes after its whole cookies.
    const std::vector<std::string> rows = lines(scan({"--cookies", folder.str()}).out);
    EXPECT_EQ(rows[1].substr(0, 26), "1\ta@good.txt\tSID\tx\\ty\th.ex");
    EXPECT_EQ(rows[3].substr(0, 23), "3\tc@number.txt\tSID\tx\\ty");
    // The file's own times close the line, as they close every cookie's.
    EXPECT_EQ(rows[4].substr(0, rows[4].rfind('\t', rows[4].rfind('\t') - 1)),
              "3\tc@number.txt\t\t\t\t\t\t\t\t\tline 13: not an unsigned 32-bit number");
    const std::vector<std::vector<std::string>> csv = csvRecords(scan({"--cookies", "--format=csv", folder.str()}).out);
    ASSERT_GE(csv.size(), 5u);
    EXPECT_EQ(csv[3][3], "SID"); // after the file's name and its bytes in hex
    EXPECT_EQ(csv[4][11], "line 13: not an unsigned 32-bit number");
}

TEST(ScanToolCookies, CutShortOrStrayingFilesKeepTheirWholeCookiesAndALoneCrSplitsNone)
{
    TempFolder folder;
    const std::string two = record("a", "1", "h.example/") + record("b", "2", "h.example/");
    folder.write("a@cut.txt", two + "c\n3\nh.example/\n");                   // cut short
    folder.write("b@nostar.txt", two + "c\n3\nh.example/\n0\n0\n0\n0\n0\n"); // no last "*"
    folder.write("c@blank.txt", two + "\n");                                 // a blank line at the end
    folder.write("d@nohost.txt", two + record("c", "3", "/"));               // a cookie for no host
    folder.write("e@crafted.txt",
                 "n\rv\r.attacker.example/\r1536\r0\r0\r0\r0\r*\rSID\nsecret\nbank.example/\n1536\n0\n0\n0\n0\n*\n");
    folder.write("f@firstbroken.txt", record("a", "1", "/") + two);

    const Result result = scan({"--cookies", "--format=json", folder.str()});
    EXPECT_EQ(result.status, 0) << result.err;
    const json files = parsed(result)["files"];
    ASSERT_EQ(files.size(), 6u);
    const char *errors[] = {"line 22: the text ends inside a record", "line 27: the text ends inside a record",
                            "line 20: the text ends inside a record", "line 21: no host before the \"/\""};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(files[i]["cookies"].size(), 2u) << i;
        EXPECT_EQ(files[i]["cookies"][0]["name"], "a");
        EXPECT_EQ(files[i]["cookies"][1]["name"], "b");
        EXPECT_EQ(files[i]["cookies_error"], errors[i]);
    }
    ASSERT_EQ(files[4]["cookies"].size(), 1u);
    EXPECT_EQ(files[4]["cookies"][0]["host"], "bank.example");
    EXPECT_EQ(files[4]["cookies"][0]["value"], "secret");
    EXPECT_FALSE(files[4].contains("cookies_error"));
    EXPECT_TRUE(files[5]["cookies"].empty());
    EXPECT_EQ(files[5]["cookies_error"], "line 3: no host before the \"/\"");
    EXPECT_NE(result.err.find("f@firstbroken.txt: not a cookie file: line 3"), std::string::npos) << result.err;

    // The export has the whole cookies and nothing for .attacker.example.
    const Result netscape = scan({"--cookies", "--format=netscape", folder.str()});
    EXPECT_EQ(netscape.status, 0);
    EXPECT_EQ(netscape.out.find("attacker"), std::string::npos);
    std::size_t written = 0;
    for (const std::string &line : lines(netscape.out))
        written += line.starts_with(".h.example\t");
    EXPECT_EQ(written, 8u);
}

TEST(ScanToolExit, AnUnreadableFileEndsTheScanWithStatusOne)
{
    // Root reads every file: the scanner then runs as user nobody.
    std::string prefix;
    if (::geteuid() == 0) {
        if (std::system("id nobody >/dev/null 2>&1 && command -v setpriv >/dev/null") != 0)
            GTEST_SKIP() << "root reads every file, and there is no user nobody to run as";
        prefix = "setpriv --reuid=nobody --regid=$(id -g nobody) --clear-groups ";
    }
    TempFolder folder;
    std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
    for (const char *name : {"a@first.txt", "b@locked.txt", "c@after.txt"})
        folder.write(name, record("n", "v", "h/"));
    std::filesystem::permissions(folder / "b@locked.txt", std::filesystem::perms::none);
    for (const char *format : {"json", "csv", "tsv"}) {
        const Result result = scan({"--cookies", "--format", format, folder.str()}, prefix);
        EXPECT_EQ(result.status, 1) << format;
        EXPECT_EQ(result.err, "vellumin-scan: ファイル " + (folder / "b@locked.txt") + " は開けません.\n");
        EXPECT_NE(result.out.find("a@first.txt"), std::string::npos) << format;
        EXPECT_EQ(result.out.find("c@after.txt"), std::string::npos) << format;
        if (std::string(format) == "json") {
            const json document = parsed(result);
            EXPECT_EQ(document["files"].size(), 1u);
            EXPECT_EQ(document["status"], " 1 個のクッキーが見付かりました");
            EXPECT_EQ(document["summary"]["completed"], false);
        }
    }
}

TEST(ScanToolExit, AFileGoneBeforeItIsReadIsLeftOutWithAWarning)
{
    // A link that leads nowhere is what a file deleted after the listing
    // looks like when its turn comes to be read.
    TempFolder folder;
    folder.write("a@first.txt", record("n", "v", "h/"));
    std::filesystem::create_symlink(folder / "nowhere", folder / "b@gone.txt");
    folder.write("c@after.txt", record("n", "v", "h/"));
    const std::string warning = "vellumin-scan: " + (folder / "b@gone.txt") +
                                ": left out: no longer there when read (deleted, or no longer a file)\n";
    for (const char *format : {"json", "csv", "tsv", "netscape"}) {
        for (const bool cookies : {false, true}) {
            if (!cookies && std::string(format) == "netscape")
                continue;
            std::vector<std::string> args = {"--format", format, folder.str()};
            if (cookies)
                args.insert(args.begin(), "--cookies");
            const Result result = scan(args);
            EXPECT_EQ(result.status, 0) << format;
            EXPECT_EQ(result.err, warning) << format;
            EXPECT_EQ(result.out.find("b@gone"), std::string::npos) << format;
            if (std::string(format) != "netscape") {
                EXPECT_NE(result.out.find("a@first"), std::string::npos) << format;
                EXPECT_NE(result.out.find("c@after"), std::string::npos) << format;
            }
            if (std::string(format) == "json") {
                const json document = parsed(result);
                EXPECT_EQ(document["files"].size(), 2u);
                EXPECT_EQ(document["files"][1]["number"], 2);
                EXPECT_EQ(document["summary"]["completed"], true);
            }
        }
    }
}

TEST(ScanToolExit, AFolderThatCannotBeListedIsAFailureNotAnEmptyFolder)
{
    namespace fs = std::filesystem;
    TempFolder folder;
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
    folder.write("file.txt", record("n", "v", "h/"));
    folder.write("unreadable/u@a.txt", record("n", "v", "h/"));
    folder.write("unsearchable/u@a.txt", record("n", "v", "h/"));
    fs::create_directory(folder / "empty");
    fs::permissions(folder / "unreadable", fs::perms::owner_write | fs::perms::owner_exec | fs::perms::others_exec);
    fs::permissions(folder / "unsearchable", fs::perms::owner_read | fs::perms::others_read);

    std::vector<std::pair<std::string, std::string>> cases = {
        {folder / "missing", "no such folder"},
        {folder / "file.txt", "not a folder"},
        {folder / "missing/deeper/", "no such folder"},
    };
    // Root reads and searches every folder: the permissions are tried as
    // user nobody, with a copy of the scanner that nobody may run.
    std::string prefix, program = VELLUMIN_SCAN;
    const bool asNobody =
        runningAsRoot() && std::system("id nobody >/dev/null 2>&1 && command -v setpriv >/dev/null") == 0;
    if (asNobody) {
        program = folder / "vellumin-scan";
        fs::copy_file(VELLUMIN_SCAN, program);
        prefix = "setpriv --reuid=nobody --regid=$(id -g nobody) --clear-groups ";
    }
    if (!runningAsRoot() || asNobody) {
        cases.push_back({folder / "unreadable", "no permission to read or search it"});
        cases.push_back({folder / "unsearchable", "no permission to read or search it"});
    } else {
        std::cout << "no user nobody or no setpriv: the folders without permission are not tried\n";
    }

    for (const auto &[path, reason] : cases) {
        std::string named = path;
        while (named.size() > 1 && named.back() == '/')
            named.pop_back();
        for (const char *format : {"tsv", "json"}) {
            const Result result = scan({"--format", format, path}, prefix, "", program);
            EXPECT_EQ(result.status, 1) << path << " " << format;
            EXPECT_EQ(result.err, "vellumin-scan: " + named + ": cannot list the folder: " + reason + "\n");
            if (std::string(format) == "json") {
                const json document = parsed(result);
                EXPECT_TRUE(document["files"].empty());
                EXPECT_EQ(document["summary"]["completed"], false);
                EXPECT_EQ(document["summary"]["folder"], named);
            }
        }
    }
    const Result empty = scan({"--format=json", folder / "empty"}, prefix, "", program);
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_EQ(parsed(empty)["summary"], (json{{"folder", folder / "empty"}, {"count", 0}, {"completed", true}}));
}

TEST(ScanToolExit, OutputThatCannotBeWrittenIsAFailure)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    for (const char *format : {"json", "tsv"}) {
        const Result result = scan({"--cookies", "--format", format, kSamples}, "", "/dev/full");
        EXPECT_EQ(result.status, 1) << format;
        EXPECT_NE(result.err.find("vellumin-scan: the scan failed: cannot write the output"), std::string::npos)
            << result.err;
    }
}

TEST(ScanToolExit, OutputThatFailsWhileTheScanGoesOnEndsIt)
{
    // Enough files that the output fails long before the scan is over.
    TempFolder folder;
    for (int i = 0; i < 3000; ++i)
        folder.write("u@site" + std::to_string(i) + ".txt", record("n", std::string(100, 'v'), "h/"));
    for (const char *format : {"json", "csv", "tsv"}) {
        const Result result = scan({"--cookies", "--format", format, folder.str()}, "", "/dev/full");
        EXPECT_EQ(result.status, 1) << format;
        EXPECT_EQ(result.err, "vellumin-scan: the scan failed: cannot write the output\n") << format;
    }
}

TEST(ScanToolCookies, LongTextsComeOutWholeInEveryFormat)
{
    // A cookie text is converted and written piece by piece: whole, with a
    // character across every cut; this one is long enough to be written
    // while the scan holds it rather than copied to the writer's thread.
    TempFolder folder;
    std::string value = "x", cp932Text = "x";
    for (int i = 0; i < 60000; ++i) {
        value += "表\"=,";
        cp932Text += "\x95\x5C\"=,";
    }
    folder.write("u@long.txt", record("n", cp932Text, "h/"));
    folder.write("u@short.txt", record("n", "v", "h/"));
    // Kept from a spreadsheet's formulas by its first piece: "＝" is 81 81.
    folder.write("v@formula.txt", record("n", "\x81\x81" + cp932Text, "h/"));
    const json files = parsed(scan({"--cookies", "--format=json", folder.str()}))["files"];
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0]["cookies"][0]["value"], value);
    EXPECT_EQ(files[1]["cookies"][0]["value"], "v");
    const std::vector<std::string> tsv = lines(scan({"--cookies", folder.str()}).out);
    ASSERT_EQ(tsv.size(), 4u);
    EXPECT_EQ(tsvUnescaped(fields(tsv[1], '\t').at(3)), value);
    const auto csv = csvRecords(scan({"--cookies", "--format=csv", folder.str()}).out);
    EXPECT_EQ(csv.at(1).at(4), value);
    EXPECT_EQ(csv.at(3).at(4), "'＝" + value);
    EXPECT_NE(scan({"--cookies", "--format=netscape", folder.str()}).out.find("\tn\t" + value + "\n"),
              std::string::npos);
}

TEST(ScanToolMemory, BigFilesAreHeldOneAtATimeInEveryFormat)
{
    // Four files of 32 MB under a limit of 128 MB: one can be held (with
    // the scanner's own 60 MB or so), not all.
    const std::string limit = "ulimit -v 131072 && ";
    if (scan({"--version"}, limit).status != 0)
        GTEST_SKIP() << "the scanner cannot start under a memory limit here (a sanitizer build)";
    TempFolder folder;
    for (int i = 0; i < 4; ++i)
        std::filesystem::resize_file(folder.write("u@big" + std::to_string(i) + ".txt", ""), 32u << 20);
    folder.write("u@small.txt", record("n", "v", "h/"));
    // Without --cookies the sizes are enough; with it each big text is
    // written as the scan holds it (CSV and TSV go the same ways).
    const std::vector<std::vector<std::string>> runs = {
        {"--format=json"}, {"--cookies", "--format=json"}, {"--cookies", "--format=netscape"}};
    for (std::vector<std::string> args : runs) {
        args.push_back(folder.str());
        const Result result = scan(args, limit);
        EXPECT_EQ(result.status, 0) << ::testing::PrintToString(args) << result.err;
        EXPECT_NE(result.out.find(args.at(1) == "--format=netscape" ? "\tn\tv" : "u@small.txt"), std::string::npos)
            << ::testing::PrintToString(args);
    }

    // Cookies in no more memory than their file, under a limit of 96 MB: a
    // value of 16 MB (of characters that grow in UTF-8 and in the escapes),
    // and 200,000 cookies in a file of 4 MB, whose records alone would take
    // more room than the file.
    TempFolder longValue;
    std::string huge;
    while (huge.size() < (16u << 20))
        huge += "\x95\x5C\"=,";
    longValue.write("u@long.txt", record("n", huge, "h/"));
    std::string many;
    while (many.size() < (4u << 20))
        many += "n\nv\nh/\n0\n0\n0\n0\n0\n*\n";
    longValue.write("u@many.txt", many);
    for (const char *format : {"json", "tsv"}) { // CSV and Netscape write pieces as TSV does
        const Result result =
            scan({"--cookies", "--format", format, longValue.str()}, "ulimit -v 98304 && ", "/dev/null");
        EXPECT_EQ(result.status, 0) << format << result.err;
    }
}

TEST(ScanToolExit, MemoryRunningOutIsReportedNotAnAbort)
{
    // Under a limit of 100 MB a file of 256 MB cannot be held.
    const std::string limit = "ulimit -v 102400 && ";
    if (scan({"--version"}, limit).status != 0)
        GTEST_SKIP() << "the scanner cannot start under a memory limit here (a sanitizer build)";
    TempFolder folder;
    folder.write("a@small.txt", record("n", "v", "h/"));
    std::filesystem::resize_file(folder.write("b@huge.txt", ""), 256u << 20);
    for (const char *format : {"json", "tsv"}) {
        const Result result = scan({"--cookies", "--format", format, folder.str()}, limit);
        EXPECT_EQ(result.status, 1) << format << result.err;
        EXPECT_EQ(result.err, "vellumin-scan: the scan failed: out of memory\n");
        EXPECT_NE(result.out.find("a@small.txt"), std::string::npos) << format;
        if (std::string(format) == "json") {
            EXPECT_EQ(parsed(result)["files"].size(), 1u); // closed all the same
        }
    }
}

// --profiles: every cookie folder of a Windows volume, on the sample volume
// that the manual's example lists too.
namespace {

namespace fs = std::filesystem;

// One cookie as a row of any format names it.
struct ProfileCookie {
    std::string profile, folder, file, name;
    friend bool operator==(const ProfileCookie &, const ProfileCookie &) = default;
    friend std::ostream &operator<<(std::ostream &out, const ProfileCookie &c)
    {
        return out << c.profile << " | " << c.folder << " | " << c.file << " | " << c.name;
    }
};

const std::string kTaro = "Documents and Settings/Taro/Cookies";
const std::string kHanako = "Documents and Settings/花子/cookies";
const std::string kGuest = "users/Guest/AppData/Roaming/Microsoft/Windows/Cookies";
const std::string kJiro = "users/Jiro/appdata/Roaming/Microsoft/Windows/COOKIES";
const std::string kJiroLow = kJiro + "/low";
const std::string kDave = "users/Dave/AppData/Local/Microsoft/Windows/INetCookies";

// Every cookie of the sample volume in the order listed: the places in their
// order, profiles by name, each folder's files by name and their records in
// order. Guest's folder only when it can be read.
std::vector<ProfileCookie> sampleCookies(bool withGuest)
{
    std::vector<ProfileCookie> out = {
        {"Taro", kTaro, "taro@news.example.jp[2].txt", "region"},
        {"Taro", kTaro, "taro@www.example.com[1].txt", "id"},
        {"Taro", kTaro, "taro@www.example.com[1].txt", "lang"},
        {"花子", kHanako, "花子@blog.example.jp[1].txt", "theme"},
    };
    if (withGuest)
        out.push_back({"Guest", kGuest, "guest@example.com[1].txt", "hidden"});
    for (const ProfileCookie &cookie : std::vector<ProfileCookie>{
             {"Jiro", kJiro, "jiro@shop.example.net[1].txt", "cart"},
             {"Jiro", kJiroLow, "jiro@games.example.com[1].txt", "score"},
             {"Dave", kDave, "0K2D1VOZ.txt", "pref"},
             {"Dave", kDave, "dave@example.org[1].txt", "visit"},
             {"Dave", kDave, "F6F3N6DQ.txt", "sid"},
             {"Dave", kDave, "F6F3N6DQ.txt", "zoom"},
         })
        out.push_back(cookie);
    return out;
}

// The files of those cookies, once each, with no cookie name.
std::vector<ProfileCookie> filesOf(const std::vector<ProfileCookie> &cookies)
{
    std::vector<ProfileCookie> out;
    for (ProfileCookie cookie : cookies) {
        cookie.name.clear();
        if (out.empty() || !(out.back() == cookie))
            out.push_back(cookie);
    }
    return out;
}

// The day of May 2012 that the sample volume gave each file as its
// last-write time.
int writtenDay(const std::string &file)
{
    const std::vector<std::string> order = {
        "taro@www.example.com[1].txt",   "taro@news.example.jp[2].txt", "花子@blog.example.jp[1].txt",
        "jiro@shop.example.net[1].txt",  "jiro@games.example.com[1].txt", "F6F3N6DQ.txt",
        "0K2D1VOZ.txt",                  "dave@example.org[1].txt",     "guest@example.com[1].txt"};
    return static_cast<int>(std::find(order.begin(), order.end(), file) - order.begin()) + 1;
}

std::string writtenTime(const std::string &file)
{
    char text[32];
    std::snprintf(text, sizeof text, "2012-05-%02dT07:08:09Z", writtenDay(file));
    return text;
}

// A creation time, where the file system keeps one, is when the test made
// the file: long after the last-write time the test gave it.
bool plausibleCreation(const std::string &time)
{
    return time.empty() || (time.size() >= 20 && time.compare(0, 4, "2020") >= 0 && time.back() == 'Z');
}

// The sample volume, and the scanner run on it as a user to whom Guest's
// cookie folder is closed: under root, as user nobody, from a copy of the
// scanner that nobody may run.
class SampleVolume {
public:
    SampleVolume()
    {
        fs::permissions(m_folder.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                             fs::perms::others_read | fs::perms::others_exec);
        m_root = m_folder / "volume";
        build(m_root);
        if (runningAsRoot() && std::system("id nobody >/dev/null 2>&1 && command -v setpriv >/dev/null") == 0) {
            m_program = m_folder / "vellumin-scan";
            fs::copy_file(VELLUMIN_SCAN, m_program);
            fs::permissions(m_program, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec);
            m_prefix = "setpriv --reuid=nobody --regid=$(id -g nobody) --clear-groups ";
        }
        m_guestClosed = !runningAsRoot() || !m_prefix.empty();
    }
    ~SampleVolume() { fs::permissions(m_root + "/" + kGuest, fs::perms::owner_all); }

    static void build(const std::string &root)
    {
        const std::string command = "sh " + quoted(VELLUMIN_SAMPLE_VOLUME_SCRIPT) + " " + quoted(root);
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("cannot build the sample volume");
    }

    Result scan(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"--profiles", m_root});
        return ::scan(args, m_prefix, "", m_program);
    }

    const std::string &root() const { return m_root; }
    bool guestClosed() const { return m_guestClosed; }

private:
    TempFolder m_folder;
    std::string m_root;
    std::string m_program = VELLUMIN_SCAN;
    std::string m_prefix;
    bool m_guestClosed = true;
};

// Guest's cookie folder, when closed, is a warning that names it, and the
// exit status says the listing is not whole; the rest is listed.
void expectGuestReported(const SampleVolume &volume, const Result &result, const std::string &what)
{
    if (volume.guestClosed()) {
        EXPECT_EQ(result.status, 1) << what;
        EXPECT_NE(result.err.find("vellumin-scan: warning: " + kGuest + ": cannot list the folder: no permission"),
                  std::string::npos)
            << what << "\n"
            << result.err;
    } else {
        EXPECT_EQ(result.status, 0) << what << "\n" << result.err;
    }
}

} // namespace

TEST(ScanToolProfiles, EverySampleCookieWithItsProfileAndFolderInEveryFormat)
{
    const SampleVolume volume;
    const std::vector<ProfileCookie> cookies = sampleCookies(!volume.guestClosed());
    const std::vector<ProfileCookie> files = filesOf(cookies);

    {
        const Result result = volume.scan({"--cookies"});
        expectGuestReported(volume, result, "tsv --cookies");
        const std::vector<std::string> text = lines(result.out);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text[0], "profile\tfolder\tnumber\tfile\tname\tvalue\thost\tpath\tsecure\thttponly\texpires\tcreated\t"
                           "error\tfile_written\tfile_created");
        std::vector<ProfileCookie> got;
        for (std::size_t i = 1; i + 1 < text.size() || (i < text.size() && !text[i].empty()); ++i) {
            const std::vector<std::string> f = fields(text[i], '\t');
            ASSERT_EQ(f.size(), 15u) << text[i];
            got.push_back({tsvUnescaped(f[0]), tsvUnescaped(f[1]), tsvUnescaped(f[3]), f[4]});
            EXPECT_EQ(f[13], writtenTime(got.back().file)) << text[i];
            EXPECT_TRUE(plausibleCreation(f[14])) << text[i];
        }
        EXPECT_EQ(got, cookies);
    }
    {
        const Result result = volume.scan({"--cookies", "--format", "csv"});
        expectGuestReported(volume, result, "csv --cookies");
        const std::vector<std::vector<std::string>> records = csvRecords(result.out);
        ASSERT_FALSE(records.empty());
        EXPECT_EQ(records[0].size(), 16u);
        std::vector<ProfileCookie> got;
        for (std::size_t i = 1; i < records.size(); ++i) {
            ASSERT_EQ(records[i].size(), 16u);
            got.push_back({records[i][0], records[i][1], records[i][3], records[i][5]});
            EXPECT_EQ(records[i][14], writtenTime(records[i][3]));
        }
        EXPECT_EQ(got, cookies);
    }
    {
        const Result result = volume.scan({"--cookies", "--format", "json"});
        expectGuestReported(volume, result, "json --cookies");
        const json document = parsed(result);
        std::vector<ProfileCookie> got;
        for (const json &file : document["files"]) {
            EXPECT_EQ(file["file_written"], writtenTime(file["file"]));
            EXPECT_TRUE(file["file_created"].is_null() || plausibleCreation(file["file_created"])) << file.dump();
            for (const json &cookie : file["cookies"])
                got.push_back({file["profile"], file["folder"], file["file"], cookie["name"]});
        }
        EXPECT_EQ(got, cookies);
        // Every folder found is summed up, Guest's too, in the order listed.
        std::vector<std::string> folders;
        for (const json &folder : document["folders"]) {
            folders.push_back(folder["folder"]);
            EXPECT_EQ(folder["completed"], !(volume.guestClosed() && folder["folder"] == kGuest)) << folder.dump();
        }
        EXPECT_EQ(folders, (std::vector<std::string>{kTaro, kHanako, kGuest, kJiro, kJiroLow, kDave}));
        EXPECT_EQ(document["summary"]["folder"], volume.root());
        EXPECT_EQ(document["summary"]["count"], files.size());
        EXPECT_EQ(document["summary"]["completed"], !volume.guestClosed());
    }
    {
        // No field for them in the format: a comment line names the profile
        // and the folder before each folder's cookies.
        const Result result = volume.scan({"--cookies", "--format", "netscape"});
        expectGuestReported(volume, result, "netscape");
        std::vector<ProfileCookie> got;
        std::string profile, folder;
        for (const std::string &line : lines(result.out)) {
            const std::size_t at = line.find("  folder: ");
            if (line.rfind("# profile: ", 0) == 0 && at != std::string::npos) {
                profile = line.substr(11, at - 11);
                folder = line.substr(at + 10);
            } else if (!line.empty() && line[0] != '#') {
                got.push_back({profile, folder, "", fields(line, '\t').at(5)});
            }
        }
        std::vector<ProfileCookie> expected = cookies;
        for (ProfileCookie &cookie : expected)
            cookie.file.clear();
        EXPECT_EQ(got, expected);
    }
    {
        // The table: one header, then every folder's rows, each after its
        // profile and folder.
        const Result result = volume.scan({});
        expectGuestReported(volume, result, "tsv");
        const std::vector<std::string> text = lines(result.out);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text[0].rfind("profile\tfolder\tNo\tFileName\t", 0), 0u) << text[0];
        std::vector<ProfileCookie> got;
        for (std::size_t i = 1; i < text.size(); ++i) {
            if (text[i].empty())
                continue;
            const std::vector<std::string> f = fields(text[i], '\t');
            ASSERT_EQ(f.size(), 11u) << text[i];
            got.push_back({f[0], f[1], f[3] + ".txt", ""});
        }
        EXPECT_EQ(got, files);
    }
    for (const char *format : {"csv", "json"}) {
        const Result result = volume.scan({"--format", format});
        expectGuestReported(volume, result, format);
        std::vector<ProfileCookie> got;
        if (std::string(format) == "csv") {
            const std::vector<std::vector<std::string>> records = csvRecords(result.out);
            ASSERT_FALSE(records.empty());
            EXPECT_EQ(records[0], (std::vector<std::string>{"profile", "folder", "number", "file", "file_hex", "name",
                                                            "url", "info", "size", "file_written", "file_created"}));
            for (std::size_t i = 1; i < records.size(); ++i) {
                got.push_back({records[i][0], records[i][1], records[i][3], ""});
                EXPECT_EQ(records[i][9], writtenTime(records[i][3]));
                EXPECT_TRUE(plausibleCreation(records[i][10])) << records[i][10];
            }
        } else {
            const json document = parsed(result);
            for (const json &file : document["files"])
                got.push_back({file["profile"], file["folder"], file["file"], ""});
        }
        EXPECT_EQ(got, files) << format;
    }
}

TEST(ScanToolProfiles, FilesNamedByTheBrowserAreFoundByTheirTextNotTheirName)
{
    // Since 2011 the browser names new files at random: the site is only
    // inside, where the content search finds it and the name search cannot.
    const SampleVolume volume;
    const Result byName = volume.scan({"--name", "maps", "--format", "json"});
    EXPECT_TRUE(parsed(byName)["files"].empty()) << byName.out;

    const Result byContent = volume.scan({"--content", "maps.example.org", "--format", "json", "--cookies"});
    const json files = parsed(byContent)["files"];
    ASSERT_EQ(files.size(), 1u) << byContent.out;
    EXPECT_EQ(files[0]["file"], "F6F3N6DQ.txt");
    EXPECT_EQ(files[0]["profile"], "Dave");
    EXPECT_EQ(files[0]["url"], "maps.example.org/");
    ASSERT_EQ(files[0]["cookies"].size(), 2u);
    EXPECT_EQ(files[0]["cookies"][1]["host"], "maps.example.org");
    EXPECT_EQ(files[0]["cookies"][1]["name"], "zoom");

    // The old names still match by name, in every profile.
    const Result old = volume.scan({"--name", "example.org", "--format", "csv"});
    const std::vector<std::vector<std::string>> records = csvRecords(old.out);
    ASSERT_EQ(records.size(), 2u) << old.out;
    EXPECT_EQ(records[1][3], "dave@example.org[1].txt");
}

TEST(ScanToolProfiles, AVolumeWithoutCookieFoldersSaysWhereItLooked)
{
    TempFolder empty;
    fs::create_directories(empty / "Users/amy/Documents");
    const Result result = scan({"--profiles", empty.str(), "--format", "json"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("no cookie folder found"), std::string::npos) << result.err;
    for (const char *place : {"Windows/Cookies", "Windows/Profiles/*/Cookies", "WINNT/Profiles/*/Cookies",
                              "Documents and Settings/*/Cookies", "Users/*/AppData/Roaming/Microsoft/Windows/Cookies",
                              "Users/*/AppData/Local/Microsoft/Windows/INetCookies"})
        EXPECT_NE(result.err.find(std::string("  ") + place + " "), std::string::npos) << place;
    const json document = parsed(result);
    EXPECT_TRUE(document["files"].empty());
    EXPECT_TRUE(document["folders"].empty());
    EXPECT_EQ(document["summary"]["completed"], false);

    const Result missing = scan({"--profiles", empty / "nowhere"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "vellumin-scan: " + (empty / "nowhere") + ": cannot look into the volume: no such folder\n");
    EXPECT_EQ(scan({"--profiles"}).status, 2);
}

TEST(ScanToolProfiles, ScanningChangesNoAccessTimeAndWorksOnAReadOnlyVolume)
{
    if (!runningAsRoot())
        GTEST_SKIP() << "not root: no file system mounted with strictatime to check access times on";
    // In a child of its own, in a mount namespace of its own: a tmpfs
    // mounted with strictatime, where every read sets the access time.
    TempFolder folder;
    const std::string root = folder / "volume";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.str().c_str(), "tmpfs", MS_STRICTATIME, "mode=0755") != 0)
            ::_exit(77);
        int failed = 0;
        try {
            SampleVolume::build(root);
        } catch (...) {
            ::_exit(3);
        }
        // Listed once (listing a folder here sets its access time), then
        // every access time set long ago and only looked at by stat().
        std::vector<std::string> paths = {root};
        for (const fs::directory_entry &entry : fs::recursive_directory_iterator(root))
            paths.push_back(entry.path().string());
        const timespec old[2] = {{981173106, 0}, {0, UTIME_OMIT}};
        for (const std::string &path : paths)
            if (::utimensat(AT_FDCWD, path.c_str(), old, AT_SYMLINK_NOFOLLOW) != 0)
                ::_exit(3);
        const auto accessTimes = [&] {
            std::vector<std::int64_t> times;
            for (const std::string &path : paths) {
                struct stat st;
                times.push_back(::lstat(path.c_str(), &st) == 0 ? st.st_atim.tv_sec : -1);
            }
            return times;
        };
        const auto before = accessTimes();
        for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
                 {}, {"--cookies"}, {"--format", "json", "--cookies"}, {"--format", "csv"},
                 {"--format", "netscape", "--cookies"}, {"--content", "maps"}}) {
            std::vector<std::string> all = {"--profiles", root};
            all.insert(all.end(), args.begin(), args.end());
            if (::scan(all).status != 0)
                failed |= 1;
        }
        if (accessTimes() != before)
            failed |= 2;
        // The check can fail: reading a file the usual way does set its
        // access time here.
        const std::string file = root + "/" + kDave + "/F6F3N6DQ.txt";
        std::system(("cat " + quoted(file) + " >/dev/null").c_str());
        struct stat st;
        if (::stat(file.c_str(), &st) != 0 || st.st_atim.tv_sec < 1000000000 + 365 * 86400 * 5)
            failed |= 4;

        // Read-only: listed as ever, and nothing asks to write.
        if (::mount(nullptr, folder.str().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            ::_exit(failed | 8);
        const Result readOnly = ::scan({"--profiles", root, "--format", "json"});
        if (readOnly.status != 0 || readOnly.out.find("\"count\":9,") == std::string::npos || !readOnly.err.empty())
            failed |= 16;
        ::_exit(failed);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no tmpfs in a mount namespace here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: a scan failed, 2: access times changed, 4: strictatime not in effect, "
                                         "8: no read-only remount, 16: the read-only volume did not list";
}

TEST(ScanToolProfiles, WhoMayNotKeepAccessTimesStillReadsEverything)
{
    // O_NOATIME is refused to whoever does not own the file: the scan then
    // reads as any reader does, without a word about it.
    // (Under root the scanner runs as nobody, on files root owns; under
    // another user it owns them, and this only lists.)
    const SampleVolume volume;
    const Result result = volume.scan({"--format", "json"});
    expectGuestReported(volume, result, "json");
    EXPECT_EQ(parsed(result)["files"].size(), filesOf(sampleCookies(!volume.guestClosed())).size());
    // Only Guest's warning: nothing said about access times.
    for (const std::string &line : lines(result.err))
        EXPECT_TRUE(line.empty() || line.find(kGuest) != std::string::npos) << line;
}

TEST(ScanToolFormats, EachFileCarriesItsOwnLastWriteTimeBigOrSmall)
{
    // A big file is read alone, apart from the batches of small ones: its
    // time must come with it all the same, and never another file's.
    TempFolder folder;
    const std::string small = folder.write("a@small.txt", record("n", "v", "h/"));
    std::string big = record("n", std::string(3 << 20, 'x'), "big/");
    const std::string large = folder.write("b@big.txt", big);
    const std::string other = folder.write("c@other.txt", record("n", "v", "o/"));
    const auto setWritten = [](const std::string &path, std::time_t seconds, long nanoseconds) {
        const timespec times[2] = {{0, UTIME_OMIT}, {seconds, nanoseconds}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    };
    setWritten(small, 1262401445, 0);         // 2010-01-02T03:04:05Z
    setWritten(large, 1299211506, 700000000); // 2011-03-04T04:05:06.7Z
    setWritten(other, -1, 0);                 // 1969-12-31T23:59:59Z

    const Result csv = scan({"--format", "csv", folder.str()});
    EXPECT_EQ(csv.status, 0) << csv.err;
    const std::vector<std::vector<std::string>> records = csvRecords(csv.out);
    ASSERT_EQ(records.size(), 4u) << csv.out;
    EXPECT_EQ(records[0].back(), "file_created");
    EXPECT_EQ(records[1][7], "2010-01-02T03:04:05Z");
    EXPECT_EQ(records[2][7], "2011-03-04T04:05:06.7000000Z");
    EXPECT_EQ(records[3][7], "1969-12-31T23:59:59Z");
    for (std::size_t i = 1; i < records.size(); ++i)
        EXPECT_TRUE(plausibleCreation(records[i][8])) << records[i][8];

    const Result cookies = scan({"--cookies", "--format", "json", folder.str()});
    const json files = parsed(cookies)["files"];
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[1]["file_written"], "2011-03-04T04:05:06.7000000Z");
    EXPECT_EQ(files[1]["size"], big.size());
}
