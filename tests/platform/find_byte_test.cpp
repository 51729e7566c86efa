#include "platform/find_byte.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const char *firstByLoop(const char *begin, const char *end, char byte)
{
    for (; begin != end; ++begin)
        if (*begin == byte)
            return begin;
    return nullptr;
}

} // namespace

TEST(FindByte, FindsTheFirstAtEveryLengthAndOffsetAndNothingPastTheEnd)
{
    // Runs around the 16 bytes the search may take a step, at every offset
    // into the buffer; the byte wanted at every place, twice, among bytes
    // that differ from it in one bit (the high bit: a CP932 lead or trail
    // byte beside an ASCII one), and once just past the end, where it must
    // not be found.
    for (const char wanted : {'\n', '\r', '\0', static_cast<char>(0x8A), static_cast<char>(0xFF)}) {
        std::vector<char> buffer(80);
        for (std::size_t offset = 0; offset < 16; ++offset) {
            for (std::size_t length = 0; length <= 48; ++length) {
                for (std::size_t i = 0; i < buffer.size(); ++i)
                    buffer[i] = static_cast<char>(wanted ^ (i % 3 == 0 ? 0x80 : 0x01));
                const char *begin = buffer.data() + offset;
                const char *end = begin + length;
                buffer[offset + length] = wanted;
                EXPECT_EQ(platform::findByte(begin, end, wanted), nullptr) << offset << " " << length;
                for (std::size_t at = 0; at < length; ++at) {
                    buffer[offset + at] = wanted;
                    if (at + 5 < length)
                        buffer[offset + at + 5] = wanted;
                    ASSERT_EQ(platform::findByte(begin, end, wanted), begin + at) << offset << " " << length;
                    ASSERT_EQ(firstByLoop(begin, end, wanted), begin + at);
                    buffer[offset + at] = static_cast<char>(wanted ^ 0x80);
                    if (at + 5 < length)
                        buffer[offset + at + 5] = static_cast<char>(wanted ^ 0x80);
                }
            }
        }
    }
}
