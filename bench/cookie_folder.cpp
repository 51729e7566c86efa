#include "cookie_folder.h"

#include "platform/cp932.h"

#include "platform/filesystem.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>
#include <unordered_set>
#include <vector>

namespace bench {

Corpus makeCookieFolder(const std::string &folder, std::size_t count, bool write)
{
    static constexpr std::array<const char *, 4> kLogins = {"user", "taro", "hanako", "admin"};
    static constexpr std::array<const char *, 8> kCookieNames = {"id",   "SID", "pref", "visitor",
                                                                 "lang", "tz",  "uid",  kContentSearch.data()};
    static constexpr std::array<std::uint32_t, 4> kFlags = {0, 1024, 1536, 9728};
    // Japanese values, some with 0x5C as a trail byte (ソ, 表).
    std::vector<std::string> japaneseValues;
    for (const char *text : {"ログイン中", "表示設定=標準", "ソフトウェア", "日本語テキスト"})
        japaneseValues.push_back(platform::cp932::fromUtf8(text));

    std::mt19937 random(20240607);
    const auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };

    Corpus corpus;
    std::unordered_set<std::string> names;
    std::string name, text, path;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string site = "www.example" + std::to_string(pick(std::max<std::size_t>(count, 10))) + ".com";
        const std::string login = kLogins[pick(kLogins.size())];
        for (int copy = 1;; ++copy) {
            name = login + "@" + site + "[" + std::to_string(copy) + "].txt";
            if (names.insert(name).second)
                break;
        }

        const bool japanese = pick(100) < 3;
        const std::size_t records = 1 + pick(4);
        const std::size_t japaneseRecord = pick(records);
        bool hasSearchText = false;
        text.clear();
        for (std::size_t r = 0; r < records; ++r) {
            const char *cookieName = kCookieNames[pick(kCookieNames.size())];
            hasSearchText = hasSearchText || cookieName == kContentSearch;
            text.append(cookieName).append("\n");
            if (japanese && r == japaneseRecord) {
                text.append(japaneseValues[pick(japaneseValues.size())]);
            } else {
                for (std::size_t n = 16 + pick(48); n > 0; --n)
                    text += "0123456789ABCDEF"[pick(16)];
            }
            text.append("\n").append(site).append("/\n");
            text.append(std::to_string(kFlags[pick(kFlags.size())])).append("\n");
            for (int n = 0; n < 4; ++n)
                text.append(std::to_string(random())).append("\n");
            text.append("*\n");
        }

        if (write) {
            path.assign(folder).append(1, platform::kPathSeparator).append(name);
            writeFile(path, text);
        }
        ++corpus.files;
        corpus.bytes += text.size();
        corpus.nameMatches += site.find(kNameSearch) != std::string::npos;
        corpus.contentMatches += hasSearchText;
        corpus.japanese += japanese;
    }
    return corpus;
}

std::optional<std::size_t> fileCountArgument(int argc, char **argv, std::size_t defaultCount)
{
    if (argc > 2)
        return std::nullopt;
    if (argc < 2)
        return defaultCount;
    char *end = nullptr;
    const unsigned long long value = std::strtoull(argv[1], &end, 10);
    if (*argv[1] == '\0' || *end != '\0' || value == 0 || value > 10'000'000)
        return std::nullopt;
    return static_cast<std::size_t>(value);
}

const char *takeFolderArgument(int &argc, char **argv)
{
    if (argc < 3 || std::string_view(argv[argc - 2]) != "--folder")
        return nullptr;
    argc -= 2;
    return argv[argc + 1];
}

std::size_t writeBigCookieFile(const std::string &path, std::size_t bytes)
{
    const std::string japanese = platform::cp932::fromUtf8("表示設定=ソフトウェア");
    std::string text, record;
    text.reserve(bytes + 256);
    std::size_t n = 0;
    for (; text.size() < bytes; ++n) {
        record = "SID\n" + (n % 16 == 0 ? japanese : std::string(40, "0123456789ABCDEF"[n % 16])) +
                 "\nwww.example.com/\n9728\n" + std::to_string(n * 7919 % 1000000000) + "\n30000000\n" +
                 std::to_string(n * 104729 % 1000000000) + "\n30000000\n*\n";
        text += record;
    }
    writeFile(path, text);
    return n;
}

} // namespace bench
