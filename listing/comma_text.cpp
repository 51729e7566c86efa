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
    // Items beyond the ninth are read past but kept nowhere.
    std::string dropped;
    skipBlanks();
    while (pos < text.size()) {
        std::string &item = column < cells.size() ? cells[column] : dropped;
        item.clear();
        if (text[pos] == '"') {
            ++pos;
            std::size_t run = pos; // the bytes since the last quote, appended at once
            while (pos < text.size()) {
                if (text[pos] == '"') {
                    item.append(text, run, pos - run);
                    if (pos + 1 < text.size() && text[pos + 1] == '"') {
                        item += '"';
                        pos += 2;
                        run = pos;
                        continue;
                    }
                    ++pos; // the closing quote
                    run = pos;
                    break;
                }
                pos += charLength(text, pos);
            }
            if (run < pos)
                item.append(text, run, std::min(pos, text.size()) - run); // unclosed: the rest of the text
        } else {
            const std::size_t start = pos;
            while (pos < text.size() && text[pos] != ',' && static_cast<unsigned char>(text[pos]) > 32)
                pos += charLength(text, pos);
            item.assign(text, start, pos - start);
        }
        if (column < cells.size()) {
            if (item.empty())
                item = ' ';
            ++column;
        }
        skipBlanks();
        if (pos < text.size() && text[pos] == ',') {
            ++pos;
            skipBlanks();
        }
    }
}

} // namespace listing
