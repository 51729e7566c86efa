#include "cp932.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace platform::cp932 {
namespace {

// One iconv descriptor per direction and thread, opened on first use; opening
// one costs far more than converting a file name.
class Converter {
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts as much as it can of [*in, *in + *inLeft) into `out`, appending.
    // Returns 0 at the end of the input, or the errno that stopped it.
    int convert(const char **in, std::size_t *inLeft, std::string &out)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[1024];
        while (*inLeft > 0) {
            char *dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t result = iconv(m_cd, const_cast<char **>(in), inLeft, &dst, &dstLeft);
            const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
            out.append(buffer, dst);
            if (error != 0 && error != E2BIG)
                return error;
        }
        return 0;
    }

private:
    iconv_t m_cd;
};

Converter &toUnicode()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

Converter &fromUnicode()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

bool isAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// Length of the UTF-8 sequence starting at `pos`, or 0 when it is malformed.
std::size_t utf8SequenceLength(std::string_view text, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    unsigned char minSecond = 0x80, maxSecond = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            minSecond = 0xA0;
        if (lead == 0xED)
            maxSecond = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            minSecond = 0x90;
        if (lead == 0xF4)
            maxSecond = 0x8F;
    } else
        return 0;
    if (pos + length > text.size())
        return 0;
    if (byte(pos + 1) < minSecond || byte(pos + 1) > maxSecond)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF)
            return 0;
    return length;
}

} // namespace

std::size_t findChar(std::string_view text, char ch, std::size_t from)
{
    for (std::size_t pos = from; pos < text.size(); pos += charLength(text, pos))
        if (text[pos] == ch)
            return pos;
    return std::string_view::npos;
}

bool isCharBoundary(std::string_view text, std::size_t pos)
{
    std::size_t at = 0;
    while (at < pos)
        at += charLength(text, at);
    return at == pos;
}

std::string_view truncated(std::string_view text, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + charLength(text, end);
        if (next > maxBytes)
            break;
        end = next;
    }
    return text.substr(0, end);
}

std::string toUtf8(std::string_view text)
{
    if (isAscii(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() * 3 / 2);
    const char *in = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        if (toUnicode().convert(&in, &left, out) == 0)
            break;
        // A byte sequence that does not decode: one replacement character for
        // the character it would have been, then go on after it.
        out += "\xEF\xBF\xBD";
        const std::size_t skip = charLength(std::string_view(in, left), 0);
        in += skip;
        left -= skip;
    }
    return out;
}

std::string fromUtf8(std::string_view text)
{
    if (isAscii(text))
        return std::string(text);
    if (!isValidUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    const char *in = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        if (fromUnicode().convert(&in, &left, out) == 0)
            break;
        out += '?';
        const std::size_t skip = utf8SequenceLength(std::string_view(in, left), 0);
        in += skip == 0 ? 1 : skip;
        left -= skip == 0 ? 1 : skip;
    }
    return out;
}

bool isValidUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = utf8SequenceLength(text, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

} // namespace platform::cp932
