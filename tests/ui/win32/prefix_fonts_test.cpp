// The tests' Wine prefix draws with the fonts the project installs and no
// other, under any code page (scripts/wine-prefix-fonts.sh): every font that
// the window, its dialogs, the message boxes and the open dialog ask for is
// IPA P Gothic, IPA Gothic or DejaVu Sans, and Japanese text in DejaVu Sans
// is drawn by IPA P Gothic. Any other font that the machine has would size
// the boxes otherwise, and Japanese without a link would come out as boxes.
// These run again under code pages 1252 and 65001.

#include "platform/win32/window_font.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

// The font files of the prefix's fontconfig, as Wine reaches them.
const wchar_t *const kProjectFontFiles[] = {
    L"Z:\\usr\\share\\fonts\\opentype\\ipafont-gothic\\ipagp.ttf",
    L"Z:\\usr\\share\\fonts\\opentype\\ipafont-gothic\\ipag.ttf",
    L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf",
    L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans-Bold.ttf",
};
constexpr std::size_t kFirstLatinFile = 2;
const wchar_t kJapanese[] = L"検索ファイル名";

std::string fileBytes(const wchar_t *path)
{
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

std::string narrow(const std::wstring &text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    return out;
}

// What GDI makes of a font asked for: the bytes of the file it chose, the
// face it names, and how wide a Japanese text comes out.
struct Resolved {
    std::string bytes;
    std::wstring face;
    LONG japaneseWidth = 0;
};

Resolved resolve(const LOGFONTW &asked)
{
    Resolved resolved;
    const HDC screen = GetDC(nullptr);
    const HFONT font = CreateFontIndirectW(&asked);
    const HGDIOBJ previous = SelectObject(screen, font);
    const DWORD size = GetFontData(screen, 0, 0, nullptr, 0);
    if (size != GDI_ERROR) {
        resolved.bytes.resize(size);
        GetFontData(screen, 0, 0, resolved.bytes.data(), size);
    }
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, face);
    resolved.face = face;
    SIZE extent{};
    GetTextExtentPoint32W(screen, kJapanese, static_cast<int>(std::wcslen(kJapanese)), &extent);
    resolved.japaneseWidth = extent.cx;
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return resolved;
}

struct AskedFont {
    std::string what;
    LOGFONTW font;
};

LOGFONTW named(const wchar_t *face, BYTE charset)
{
    LOGFONTW font{};
    font.lfHeight = -12;
    font.lfCharSet = charset;
    std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

// The fonts of the message boxes, captions, menus and status bars (the
// system's), the controls' default font, the window's own font, and the
// dialogs' templates (the input box, the open dialog): "MS Shell Dlg" in each
// character set a dialog may ask for. DejaVu Sans is what the Latin ones
// resolve to, and what the Japanese link hangs on.
std::vector<AskedFont> fontsAskedFor()
{
    std::vector<AskedFont> fonts;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    fonts.push_back({"caption", metrics.lfCaptionFont});
    fonts.push_back({"small caption", metrics.lfSmCaptionFont});
    fonts.push_back({"menu", metrics.lfMenuFont});
    fonts.push_back({"status bar", metrics.lfStatusFont});
    fonts.push_back({"message box", metrics.lfMessageFont});
    LOGFONTW iconTitle{};
    SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0);
    fonts.push_back({"icon title", iconTitle});
    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    fonts.push_back({"DEFAULT_GUI_FONT", gui});
    for (const wchar_t *face :
         {platform::win32::kWindowFontFaceWide, L"MS Shell Dlg", L"MS Shell Dlg 2", L"DejaVu Sans"})
        for (const BYTE charset : {BYTE{DEFAULT_CHARSET}, BYTE{ANSI_CHARSET}, BYTE{SHIFTJIS_CHARSET}})
            fonts.push_back({narrow(face) + " in character set " + std::to_string(charset), named(face, charset)});
    return fonts;
}

std::size_t projectFileOf(const std::vector<std::string> &files, const std::string &bytes)
{
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!bytes.empty() && bytes == files[i])
            return i;
    return files.size();
}

class PrefixFonts : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const wchar_t *path : kProjectFontFiles) {
            files.push_back(fileBytes(path));
            ASSERT_FALSE(files.back().empty()) << narrow(path) << " cannot be read";
        }
    }
    std::vector<std::string> files;
};

TEST_F(PrefixFonts, EveryFontTheWindowAndItsBoxesAskForIsOneTheProjectInstalls)
{
    for (const AskedFont &asked : fontsAskedFor()) {
        const Resolved resolved = resolve(asked.font);
        EXPECT_LT(projectFileOf(files, resolved.bytes), files.size())
            << asked.what << " (\"" << narrow(asked.font.lfFaceName) << "\") is drawn in \"" << narrow(resolved.face)
            << "\", " << resolved.bytes.size() << " bytes, a font the project does not install";
    }
}

TEST_F(PrefixFonts, JapaneseInTheLatinFontIsDrawnByIpaPGothic)
{
    int latin = 0;
    for (const AskedFont &asked : fontsAskedFor()) {
        const Resolved resolved = resolve(asked.font);
        if (projectFileOf(files, resolved.bytes) < kFirstLatinFile)
            continue;
        ++latin;
        LOGFONTW japanese = asked.font;
        std::wcsncpy(japanese.lfFaceName, L"IPAPGothic", LF_FACESIZE - 1);
        EXPECT_EQ(resolved.japaneseWidth, resolve(japanese).japaneseWidth)
            << asked.what << " (\"" << narrow(asked.font.lfFaceName) << "\", drawn in \"" << narrow(resolved.face)
            << "\") draws Japanese in another font, or as boxes";
    }
    EXPECT_GT(latin, 0) << "no Latin font asked for: the link went untested";
}

} // namespace
