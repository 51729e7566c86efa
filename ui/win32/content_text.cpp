#include "content_text.h"

#include "listing/content_pane.h"
#include "platform/cp932.h"
#include "platform/wide_text_win32.h"

#include <richedit.h>

#include <algorithm>

namespace ui::win32 {
namespace {

using platform::win32::wideFromCp932;

// The pane's text on its way into the rich edit: CP932 converted to UTF-16
// with code page 932 a piece at a time, never cutting a character in two.
// Streamed as plain text, so that a file that begins like RTF is still shown
// as the characters it holds; as UTF-16, since some rich edits (Wine's) take
// plain text in the system's code page whatever code page they are asked to.
struct PaneStream {
    static constexpr std::size_t kPieceBytes = 1 << 16;
    std::string_view rest;
    std::wstring piece;
    std::size_t given = 0; // bytes of `piece` already handed over
    // The text comes as read: each piece has its line ends made CR LF on the
    // way, so the whole text is never widened or copied.
    std::string widened;
    bool lastWasCr = false;
};

DWORD CALLBACK streamText(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG *given)
{
    auto &stream = *reinterpret_cast<PaneStream *>(cookie);
    // A piece may widen to nothing (the LF of a CR LF split between two
    // pieces): take the next, since handing over no bytes ends the stream.
    while (stream.given == stream.piece.size() * sizeof(wchar_t) && !stream.rest.empty()) {
        const std::string_view next = platform::cp932::truncated(stream.rest, PaneStream::kPieceBytes);
        stream.widened.clear();
        listing::appendWidened(next.empty() ? stream.rest.substr(0, 1) : next, stream.lastWasCr, stream.widened);
        stream.piece = wideFromCp932(stream.widened);
        stream.rest.remove_prefix(next.empty() ? 1 : next.size());
        stream.given = 0;
    }
    const std::size_t left = stream.piece.size() * sizeof(wchar_t) - stream.given;
    auto count = std::min(left, static_cast<std::size_t>(wanted));
    // Never a CR LF cut in two between two hand-overs: the rich edit takes
    // a CR that ends one as a line end, and the LF that starts the next as
    // another, a blank line that the file does not have.
    const std::size_t end = (stream.given + count) / sizeof(wchar_t);
    if (count < left && count > sizeof(wchar_t) && (stream.given + count) % sizeof(wchar_t) == 0 &&
        stream.piece[end - 1] == L'\r' && stream.piece[end] == L'\n')
        count -= sizeof(wchar_t);
    std::copy_n(reinterpret_cast<const BYTE *>(stream.piece.data()) + stream.given, count, buffer);
    stream.given += count;
    *given = static_cast<LONG>(count);
    return 0;
}

} // namespace

void showContentText(HWND edit, std::string_view text)
{
    PaneStream pieces{text, {}, 0, {}, false};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&pieces);
    stream.pfnCallback = &streamText;
    SendMessageW(edit, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
}

std::string shownContentText(HWND edit)
{
    GETTEXTLENGTHEX length{GTL_NUMBYTES | GTL_PRECISE | GTL_USECRLF, 932};
    const auto bytes = SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    std::string text(static_cast<std::size_t>(std::max<LRESULT>(bytes, 0)) + 2, '\0');
    GETTEXTEX get{static_cast<DWORD>(text.size()), GT_USECRLF, 932, nullptr, nullptr};
    const auto got =
        SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return text;
}

} // namespace ui::win32
