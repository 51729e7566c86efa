#include "output_text.h"

#include "platform/cp932.h"

namespace scan {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void appendHexByte(std::string &out, unsigned char byte)
{
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

} // namespace

std::string utf8ForDisplay(std::string_view text)
{
    if (platform::cp932::isValidUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = platform::cp932::utf8SequenceLength(text, pos);
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

std::size_t pieceEnd(std::string_view text)
{
    if (text.size() <= kPieceBytes)
        return text.size();
    // Stepped as the conversion steps past a character it cannot decode
    // too, so that the pieces convert as the whole would.
    std::size_t end = 0;
    while (end < kPieceBytes)
        end += platform::cp932::nameCharLength(text, end);
    return end;
}

std::string hexBytes(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes)
        appendHexByte(out, static_cast<unsigned char>(byte));
    return out;
}

bool startsLikeAFormula(std::string_view text)
{
    if (text.empty())
        return false;
    if (std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        return true;
    // The full-width forms, which a spreadsheet in a Japanese setting takes
    // for the same signs.
    for (const std::string_view sign : {"\xEF\xBC\x9D", "\xEF\xBC\x8B", "\xEF\xBC\x8D", "\xEF\xBC\xA0"})
        if (text.starts_with(sign))
            return true;
    return false;
}

void appendCsvField(std::string &out, std::string_view text, std::string &scratch)
{
    scratch.clear();
    if (startsLikeAFormula(text))
        scratch += '\'';
    appendForPeople(scratch, text);
    if (scratch.find_first_of(",\"") == std::string::npos) {
        out += scratch;
        return;
    }
    out += '"';
    for (const char byte : scratch) {
        if (byte == '"')
            out += '"';
        out += byte;
    }
    out += '"';
}

} // namespace scan
