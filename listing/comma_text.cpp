#include "comma_text.h"

#include "platform/cp932.h"

namespace listing {
namespace {

bool isBlankOrControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 1 && byte <= 32;
}

} // namespace

void splitCommaText(std::string_view text, RowCells &cells)
{
    using platform::cp932::charLength;
    for (std::string &cell : cells)
        cell.clear();
    text = text.substr(0, text.find('\0'));

    std::size_t pos = 0;
    const auto skipBlanks = [&] {
        while (pos < text.size() && isBlankOrControl(text[pos]))
            ++pos;
    };
    std::size_t column = 0;
    std::string item;
    skipBlanks();
    while (pos < text.size()) {
        item.clear();
        if (text[pos] == '"') {
            ++pos;
            while (pos < text.size()) {
                if (text[pos] == '"') {
                    if (pos + 1 < text.size() && text[pos + 1] == '"') {
                        item += '"';
                        pos += 2;
                        continue;
                    }
                    ++pos; // the closing quote
                    break;
                }
                const std::size_t length = charLength(text, pos);
                item.append(text, pos, length);
                pos += length;
            }
        } else {
            const std::size_t start = pos;
            while (pos < text.size() && text[pos] != ',' && static_cast<unsigned char>(text[pos]) > 32)
                pos += charLength(text, pos);
            item.assign(text, start, pos - start);
        }
        if (column < cells.size())
            cells[column++] = item.empty() ? std::string(" ") : item;
        skipBlanks();
        if (pos < text.size() && text[pos] == ',') {
            ++pos;
            skipBlanks();
        }
    }
}

} // namespace listing
