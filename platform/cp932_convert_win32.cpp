#include "platform/cp932.h"

#include "platform/wide_text_win32.h"

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
    return win32::nativeFromWide(wide);
}

std::string fromUtf8(std::string_view text)
{
    if (isAscii(text) || !isValidUtf8(text))
        return std::string(text);
    return win32::shownFromWide(win32::wideFromNative(text));
}

} // namespace platform::cp932
