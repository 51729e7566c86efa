#include "cp932.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

// Conversion through glibc's iconv, whose "CP932" is the Windows table (0x5C
// a backslash, the NEC and IBM extensions decoded); its "SHIFT_JIS" is not.
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

} // namespace

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
        // the character it would have been, then go on after it. A lead byte
        // takes the next byte only when that can be a trail byte: a blank or
        // a comma after it is a character of its own and stays.
        out += "\xEF\xBF\xBD";
        const std::size_t skip = nameCharLength(std::string_view(in, left), 0);
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

} // namespace platform::cp932
