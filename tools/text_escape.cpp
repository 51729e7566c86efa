#include "text_escape.h"

#include "platform/cp932.h"

namespace scan {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void appendHexByte(std::string &out, unsigned char byte)
{
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::size_t utf8CharLength(std::string_view text, std::size_t pos)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const std::size_t left = text.size() - pos;
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    std::size_t length;
    // The second byte's range also rules out overlong forms, surrogates and
    // code points past U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || at(1) < low || at(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(at(i)))
            return 0;
    }
    return length;
}

std::string utf8ForDisplay(std::string_view text)
{
    if (platform::cp932::isValidUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = utf8CharLength(text, pos);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++pos;
        } else {
            out.append(text, pos, length);
            pos += length;
        }
    }
    return out;
}

std::string_view cp932AsUtf8(std::string_view cp932, std::string &scratch)
{
    if (platform::cp932::isAscii(cp932))
        return cp932;
    scratch = platform::cp932::toUtf8(cp932);
    return scratch;
}

std::string hexBytes(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes)
        appendHexByte(out, static_cast<unsigned char>(byte));
    return out;
}

void appendTsvField(std::string &out, std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const char byte = text[pos];
        const std::size_t length = utf8CharLength(text, pos);
        const bool control = static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F;
        if (length == 0 || (control && byte != '\t' && byte != '\n' && byte != '\r')) {
            out += "\\x";
            appendHexByte(out, static_cast<unsigned char>(byte));
            ++pos;
            continue;
        }
        switch (byte) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out.append(text, pos, length);
        }
        pos += length;
    }
}

void appendCsvField(std::string &out, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(text);
        return;
    }
    out += '"';
    for (const char byte : text) {
        if (byte == '"')
            out += '"';
        out += byte;
    }
    out += '"';
}

} // namespace scan
