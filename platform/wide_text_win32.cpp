#include "platform/wide_text_win32.h"

#include <windows.h>

#include <climits>

namespace platform::win32 {
namespace {

constexpr UINT kCp932 = 932;

int intSize(std::size_t size)
{
    return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

bool isHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendUtf16(std::wstring &out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<wchar_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 | (c >> 10));
        out += static_cast<wchar_t>(0xDC00 | (c & 0x3FF));
    }
}

// The code point of the sequence at `pos` and its length; U+FFFD for one
// byte that starts no well-formed sequence. Surrogates encoded on their own
// (ED A0 80 - ED BF BF) are taken, so that a lone one comes back.
char32_t decodeAt(std::string_view text, std::size_t pos, std::size_t &length)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const auto continuation = [&](std::size_t i) { return pos + i < text.size() && (byte(i) & 0xC0) == 0x80; };
    const unsigned char first = byte(0);
    length = 1;
    if (first < 0x80)
        return first;
    if (first >= 0xC2 && first <= 0xDF && continuation(1)) {
        length = 2;
        return char32_t(first & 0x1F) << 6 | (byte(1) & 0x3F);
    }
    if (first >= 0xE0 && first <= 0xEF && continuation(1) && continuation(2)) {
        const char32_t c = char32_t(first & 0x0F) << 12 | char32_t(byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
        if (c >= 0x800) {
            length = 3;
            return c;
        }
    }
    if (first >= 0xF0 && first <= 0xF4 && continuation(1) && continuation(2) && continuation(3)) {
        const char32_t c = char32_t(first & 0x07) << 18 | char32_t(byte(1) & 0x3F) << 12 |
                           char32_t(byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            length = 4;
            return c;
        }
    }
    return 0xFFFD;
}

} // namespace

std::wstring wideFromNative(std::string_view native)
{
    std::wstring wide;
    wide.reserve(native.size());
    for (std::size_t pos = 0; pos < native.size();) {
        std::size_t length = 1;
        appendUtf16(wide, decodeAt(native, pos, length));
        pos += length;
    }
    return wide;
}

std::string nativeFromWide(std::wstring_view wide)
{
    std::string native;
    native.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const wchar_t c = wide[i];
        if (isHighSurrogate(c) && i + 1 < wide.size() && isLowSurrogate(wide[i + 1])) {
            appendUtf8(native, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(wide[i + 1]) - 0xDC00));
            ++i;
        } else {
            appendUtf8(native, static_cast<char32_t>(c));
        }
    }
    return native;
}

std::wstring wideFromCp932(std::string_view text)
{
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(kCp932, 0, text.data(), intSize(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(kCp932, 0, text.data(), intSize(text.size()), wide.data(), length);
    return wide;
}

std::string cp932FromWide(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int length = WideCharToMultiByte(kCp932, 0, text.data(), intSize(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(kCp932, 0, text.data(), intSize(text.size()), narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::string shownFromWide(std::wstring_view wide)
{
    std::string shown;
    shownFromWide(wide, shown);
    return shown;
}

void shownFromWide(std::wstring_view wide, std::string &shown)
{
    shown.clear();
    bool ascii = true;
    for (const wchar_t c : wide)
        ascii = ascii && c < 0x80;
    if (ascii) {
        shown.assign(wide.begin(), wide.end());
        return;
    }
    // A surrogate pair is one character: one "?"; a lone surrogate is one
    // "?" too.
    std::wstring bmp;
    bmp.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (isHighSurrogate(wide[i]) && i + 1 < wide.size() && isLowSurrogate(wide[i + 1])) {
            bmp += L'?';
            ++i;
        } else if (isHighSurrogate(wide[i]) || isLowSurrogate(wide[i])) {
            bmp += L'?';
        } else {
            bmp += wide[i];
        }
    }
    // No "best fit": "é" is not "e", and "¥" must never become "\".
    const int length =
        WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, bmp.data(), intSize(bmp.size()), nullptr, 0, "?", nullptr);
    shown.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    if (length > 0)
        WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, bmp.data(), intSize(bmp.size()), shown.data(), length, "?",
                            nullptr);
}

} // namespace platform::win32
