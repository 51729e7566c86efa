#pragma once

#include "listing/control_escapes.h"

#include <string>
#include <string_view>

// How texts that may hold any bytes (file names above all) go into each
// output format.
namespace scan {

// `text` when it is well-formed UTF-8; otherwise each byte that is not part
// of a well-formed character replaced by U+FFFD. For display only: it loses
// the bytes it replaces.
std::string utf8ForDisplay(std::string_view text);

// A CP932 text as UTF-8: `cp932` itself when it is ASCII, as it mostly is,
// else its conversion, kept in `scratch`.
std::string_view cp932AsUtf8(std::string_view cp932, std::string &scratch);

// How much of a CP932 text forEachUtf8Piece() converts at a time.
inline constexpr std::size_t kPieceBytes = std::size_t(64) << 10;

// Where the piece of CP932 `text` that starts it and holds about kPieceBytes
// ends: between two characters, as the conversion steps.
std::size_t pieceEnd(std::string_view text);

// Hands the UTF-8 form of CP932 `text` to `piece` a part at a time, each
// converted from about kPieceBytes of `text`, cut between characters: the
// parts joined are cp932AsUtf8(text), yet a long text (a cookie's value may
// be as long as its file) is never held converted whole.
template <typename Piece> void forEachUtf8Piece(std::string_view text, std::string &scratch, Piece &&piece)
{
    while (!text.empty()) {
        const std::size_t end = pieceEnd(text);
        piece(cp932AsUtf8(text.substr(0, end), scratch));
        text.remove_prefix(end);
    }
}

// The bytes as lowercase hexadecimal digits, two per byte.
std::string hexBytes(std::string_view bytes);

// The escapes of control characters, shared with the window.
using listing::appendForPeople;
using listing::appendTsvField;
using listing::forPeople;

// True when a spreadsheet would take `text` (UTF-8) for a formula.
bool startsLikeAFormula(std::string_view text);

// Appends `text` as one CSV field for a spreadsheet: control characters
// escaped as appendForPeople() escapes them; a leading "'" when the text
// starts with "=", "+", "-", "@", tab or CR (or the full-width "＝", "＋",
// "－", "＠"), which a spreadsheet would take for the start of a formula;
// then in double quotes, with each quote doubled, when it holds a comma or a
// quote. `scratch` is working room.
void appendCsvField(std::string &out, std::string_view text, std::string &scratch);

} // namespace scan
