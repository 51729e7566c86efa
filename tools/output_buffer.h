#pragma once

#include <cstdio>
#include <string>

namespace scan {

// Collects output and hands it to a stream in large writes. A write that
// fails (a full disk, a closed pipe) throws std::runtime_error, so that the
// program ends with a failure instead of printing less than it claims.
class OutputBuffer {
public:
    explicit OutputBuffer(std::FILE *stream) : m_stream(stream) {}
    OutputBuffer(const OutputBuffer &) = delete;
    OutputBuffer &operator=(const OutputBuffer &) = delete;

    // Where output is appended.
    std::string &text() { return m_text; }

    // Writes out what has gathered once it is large.
    void flushIfFull()
    {
        if (m_text.size() >= kChunkSize)
            flush();
    }

    // Writes out everything gathered and flushes the stream.
    void flush();

private:
    static constexpr std::size_t kChunkSize = 1 << 16;

    std::FILE *m_stream;
    std::string m_text;
};

} // namespace scan
