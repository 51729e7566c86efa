#pragma once

#include "owned_accessible.h"
#include "text_accessible.h"
#include "ui/text_layout.h"
#include "window.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace listing {
class ContentPane;
}

namespace ui::win32 {

// The content pane: a read-only view of a CP932 text that converts and draws
// only the rows in view, so that a file of 100 MB shows as quickly as one of
// a few lines and is never held twice (a rich edit under Wine took most of a
// minute for 20 MB, and held it again as UTF-16). Lines wrap at the view's
// width. The text is selectable by keys and mouse and copied with Ctrl+C;
// the system caret follows the keyboard, so that magnifiers and screen
// readers find it; to a screen reader the view is a read-only text named
// for what it shows, whose value is its text (for a big one, the rows in
// view).
//
// Keys: the arrows, Ctrl+Left and Ctrl+Right by words, Home and End of a
// row, Ctrl+Home and Ctrl+End, Page Up and Page Down, each with Shift to
// select; Ctrl+A; Ctrl+C and Ctrl+Insert; Ctrl+Up and Ctrl+Down scroll a
// row. Tab and Esc are the window's.
class TextView final : public Window {
public:
    // `accessibleName` is CP932.
    explicit TextView(std::string accessibleName);

    HWND create(HWND parent, int id, HFONT font);

    // Shows the pane's text, read where the pane holds it: the view keeps no
    // copy, and shows nothing once the pane's text has changed without being
    // shown here again.
    void show(const listing::ContentPane &pane);

    // The whole text shown, and the selected part, in CP932 with CR LF line
    // ends, as they are copied.
    std::string shownText() const;
    std::string selectedText() const;
    // The text's bytes as shown; empty once the pane's text changed.
    std::string_view text() const;
    const std::string &accessibleName() const { return m_name; }
    // The value a screen reader is given: the whole text up to
    // kWholeValueBytes, else the rows in view.
    std::string accessibleValue() const;
    static constexpr std::size_t kWholeValueBytes = std::size_t(1) << 16;

    const text::TextLayout &layout() const { return m_layout; }

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Measures with the view's font, one UTF-16 unit per CP932 character.
    class GdiMeasure final : public text::LineMeasure {
    public:
        GdiMeasure();
        ~GdiMeasure() override;
        GdiMeasure(const GdiMeasure &) = delete;
        GdiMeasure &operator=(const GdiMeasure &) = delete;
        void setFont(HFONT font);
        void measure(std::string_view line, std::size_t start, std::vector<text::CharacterPlace> &places) override;
        // `line` as drawn: one unit per character as characterLength()
        // steps, a character that does not decode as U+FFFD.
        const std::wstring &wide(std::string_view line);

    private:
        HDC m_dc = nullptr;
        HGDIOBJ m_oldFont = nullptr;
        std::wstring m_wide;
        std::vector<int> m_extents;
    };

    // Forgets a text whose pane has moved on, before anything reads it.
    void dropStaleText();
    void paint();
    void sizeChanged();
    // After the caret, the selection or the scroll changed: scroll bar,
    // caret, painting, and what screen readers hear.
    void changed(bool selectionMoved);
    void placeCaret();
    void updateScrollBar();
    bool onKey(WPARAM key);
    void onVerticalScroll(int code);
    void onWheel(int delta);
    void press(LPARAM at, bool extend);
    void copySelection();
    int rowAtY(int y) const;
    LRESULT accessibleObject(WPARAM wParam, LPARAM lParam);

    std::string m_name;
    GdiMeasure m_measure;
    text::TextLayout m_layout{m_measure};
    HFONT m_font = nullptr;
    int m_rowHeight = 16;
    const listing::ContentPane *m_pane = nullptr;
    std::uint64_t m_revision = 0;
    bool m_dragging = false;
    LPARAM m_dragAt = 0; // where the mouse was last while dragging
    int m_wheelRest = 0;
    OwnedAccessible<TextAccessible> m_accessible;
};

} // namespace ui::win32
