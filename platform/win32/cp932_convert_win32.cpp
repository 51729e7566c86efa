#include "platform/cp932.h"

#include <windows.h>

#include <climits>

// Conversion through Windows' own code page 932 table, by way of UTF-16.
namespace platform::cp932 {
namespace {

constexpr UINT kCp932 = 932;
constexpr wchar_t kReplacement = 0xFFFD;

int intSize(std::size_t size)
{
    return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

// Appends the UTF-16 form of `bytes` (code page `codePage`), strictly: false,
// with nothing appended, when any of it does not decode.
bool appendWide(UINT codePage, std::string_view bytes, std::wstring &out)
{
    if (bytes.empty())
        return true;
    const int length =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), intSize(bytes.size()), nullptr, 0);
    if (length <= 0)
        return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(length));
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), intSize(bytes.size()), out.data() + at, length);
    return true;
}

std::string narrow(UINT codePage, std::wstring_view wide)
{
    if (wide.empty())
        return {};
    // No "best fit": a character without a form of its own must show as "?",
    // never as a look-alike ("é" is not "e").
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char *fallback = codePage == CP_UTF8 ? nullptr : "?";
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), intSize(wide.size()), nullptr, 0, fallback, nullptr);
    std::string out(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(codePage, flags, wide.data(), intSize(wide.size()), out.data(), length, fallback, nullptr);
    return out;
}

// Single bytes that code page 932 leaves without a character. Windows'
// table maps them to U+0080 and private-use code points; shown as U+FFFD
// instead, as every other byte that is no character.
bool isUnassignedByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
}

bool hasUnassignedByte(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size(); pos += charLength(text, pos))
        if (isUnassignedByte(text[pos]))
            return true;
    return false;
}

bool isHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

std::string toUtf8(std::string_view text)
{
    if (isAscii(text))
        return std::string(text);
    std::wstring wide;
    wide.reserve(text.size());
    if (hasUnassignedByte(text) || !appendWide(kCp932, text, wide)) {
        // Character by character, so that each one that does not decode (a
        // lone lead byte, a code the table lacks) becomes one U+FFFD and the
        // rest stays. A lead byte takes the next byte only when that can be
        // a trail byte, so a blank or a comma after it is kept.
        wide.clear();
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t length = nameCharLength(text, pos);
            if (isUnassignedByte(text[pos]) || !appendWide(kCp932, text.substr(pos, length), wide))
                wide += kReplacement;
            pos += length;
        }
    }
    return narrow(CP_UTF8, wide);
}

std::string fromUtf8(std::string_view text)
{
    if (isAscii(text) || !isValidUtf8(text))
        return std::string(text);
    std::wstring wide;
    appendWide(CP_UTF8, text, wide);
    // CP932 has nothing beyond the Basic Multilingual Plane: such a character
    // is one "?", not one for each half of its surrogate pair.
    std::wstring bmp;
    bmp.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (isHighSurrogate(wide[i]) && i + 1 < wide.size() && isLowSurrogate(wide[i + 1])) {
            bmp += L'?';
            ++i;
        } else
            bmp += wide[i];
    }
    return narrow(kCp932, bmp);
}

} // namespace platform::cp932
