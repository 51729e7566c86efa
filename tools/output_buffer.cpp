#include "output_buffer.h"

#include <stdexcept>

namespace scan {

void OutputBuffer::flush()
{
    const std::size_t written = std::fwrite(m_text.data(), 1, m_text.size(), m_stream);
    const bool failed = written != m_text.size() || std::fflush(m_stream) != 0;
    m_text.clear();
    if (failed)
        throw std::runtime_error("cannot write the output");
}

} // namespace scan
