#include "wine_prefix.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace platform::wine {
namespace {

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFolder()
{
    std::string home = environment("HOME");
    if (home.empty())
        if (const passwd *entry = ::getpwuid(::geteuid()))
            home = entry->pw_dir;
    return home;
}

// "/x/" becomes "/x", and "/" becomes empty, so that appending "/name" gives
// one separator.
std::string withoutTrailingSeparators(std::string path)
{
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = asciiLower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

void appendUtf8(std::string &out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 code units, as the registry file escapes them, to UTF-8. A lone
// surrogate becomes U+FFFD.
std::string utf8FromUnits(const std::u16string &units)
{
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

// Reads an escaped text from `text` at `pos` up to the unescaped `end`
// character, which it steps over. The file writes "\\", "\"", C escapes
// ("\n"), octal ("\0") and every character above 0x7F as "\x" and up to four
// hex digits of its UTF-16 code unit. Nothing when `end` never comes.
std::optional<std::u16string> unescape(std::string_view text, std::size_t &pos, char end)
{
    std::u16string units;
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == end)
            return units;
        if (c != '\\' || pos == text.size()) {
            units += static_cast<char16_t>(static_cast<unsigned char>(c));
            continue;
        }
        const char escaped = text[pos++];
        switch (escaped) {
        case 'a':
            units += u'\a';
            break;
        case 'b':
            units += u'\b';
            break;
        case 'e':
            units += u'\x1b';
            break;
        case 'f':
            units += u'\f';
            break;
        case 'n':
            units += u'\n';
            break;
        case 'r':
            units += u'\r';
            break;
        case 't':
            units += u'\t';
            break;
        case 'v':
            units += u'\v';
            break;
        case 'x': {
            char32_t unit = 0;
            int digits = 0;
            for (; digits < 4 && pos < text.size() && hexValue(text[pos]) >= 0; ++digits)
                unit = unit * 16 + static_cast<char32_t>(hexValue(text[pos++]));
            units += digits ? static_cast<char16_t>(unit) : u'x';
            break;
        }
        default:
            if (escaped >= '0' && escaped <= '7') {
                char32_t unit = static_cast<char32_t>(escaped - '0');
                for (int digits = 1; digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7'; ++digits)
                    unit = unit * 8 + static_cast<char32_t>(text[pos++] - '0');
                units += static_cast<char16_t>(unit);
            } else {
                units += static_cast<char16_t>(static_cast<unsigned char>(escaped));
            }
        }
    }
    return std::nullopt;
}

std::string_view trimmedLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return line;
}

} // namespace

std::string prefixFolder()
{
    std::string prefix = environment("WINEPREFIX");
    if (prefix.empty())
        prefix = withoutTrailingSeparators(homeFolder()) + "/.wine";
    return withoutTrailingSeparators(prefix);
}

std::optional<std::string> registryString(std::string_view fileText, std::string_view key, std::string_view valueName)
{
    bool inKey = false;
    while (!fileText.empty()) {
        const std::size_t end = fileText.find('\n');
        const std::string_view line = trimmedLine(fileText.substr(0, end));
        fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        std::size_t pos = 1;
        if (line.front() == '[') {
            // A key: "[Software\\Wine] 1700000000"
            const std::optional<std::u16string> name = unescape(line, pos, ']');
            inKey = name && sameIgnoringAsciiCase(utf8FromUnits(*name), key);
            continue;
        }
        if (!inKey || line.front() != '"')
            continue;
        const std::optional<std::u16string> name = unescape(line, pos, '"');
        if (!name || !sameIgnoringAsciiCase(utf8FromUnits(*name), valueName))
            continue;
        std::string_view data = line.substr(pos);
        if (!data.starts_with("=\""))
            return std::nullopt; // a number, binary data or an expandable text
        pos = 2;
        const std::optional<std::u16string> value = unescape(data, pos, '"');
        if (!value)
            return std::nullopt;
        return utf8FromUnits(*value);
    }
    return std::nullopt;
}

std::optional<std::string> linuxPathOf(const std::string &prefix, std::string_view windowsPath)
{
    const char letter = windowsPath.empty() ? '\0' : asciiLower(windowsPath[0]);
    if (windowsPath.size() < 2 || windowsPath[1] != ':' || letter < 'a' || letter > 'z')
        return std::nullopt;
    namespace fs = std::filesystem;
    const fs::path devices = fs::path(prefix) / "dosdevices";
    const fs::path link = devices / std::string{letter, ':'};
    std::error_code error;
    fs::path drive = fs::read_symlink(link, error);
    if (error) {
        // Not a link: a folder of its own stands for the drive.
        if (!fs::is_directory(link, error))
            return std::nullopt;
        drive = link;
    } else if (drive.is_relative()) {
        drive = devices / drive;
    }
    const std::string root = withoutTrailingSeparators(drive.lexically_normal().string());
    std::string path = root;
    windowsPath.remove_prefix(2);
    while (!windowsPath.empty()) {
        const std::size_t separator = windowsPath.find_first_of("\\/");
        const std::string_view part = windowsPath.substr(0, separator);
        windowsPath.remove_prefix(separator == std::string_view::npos ? windowsPath.size() : separator + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            // Never above the drive, as on Windows.
            if (path.size() > root.size())
                path.erase(path.rfind('/'));
            continue;
        }
        path += '/';
        path += part;
    }
    return path;
}

} // namespace platform::wine
