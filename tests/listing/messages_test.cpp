#include "listing/messages.h"
#include "platform/cp932.h"

#include <gtest/gtest.h>

using listing::messages::errorBoxText;

TEST(ErrorBoxText, AppendsAFullStopAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(errorBoxText("Disk full"), "Disk full.");
    EXPECT_EQ(errorBoxText("Disk full."), "Disk full.");
    EXPECT_EQ(errorBoxText("Disk full!"), "Disk full!"); // "!" sorts before "."
    EXPECT_EQ(errorBoxText("Code 7"), "Code 7.");
    EXPECT_EQ(errorBoxText(""), "");
    const std::string japanese = platform::cp932::fromUtf8("ファイル x は開けません");
    EXPECT_EQ(errorBoxText(japanese), japanese + ".");
    // A double-byte character whose trail byte is low still counts whole.
    EXPECT_EQ(errorBoxText("\x81\x2B"), "\x81\x2B.");
}

TEST(ErrorTexts, NameTheFileOrTheStream)
{
    using namespace listing::messages;
    EXPECT_EQ(platform::cp932::toUtf8(cannotOpenFile(platform::cp932::fromUtf8("/c/表.txt"))),
              "ファイル /c/表.txt は開けません");
    EXPECT_EQ(platform::cp932::toUtf8(streamReadFailed()), "ストリームからの読み込みに失敗しました");
}

TEST(StatusTexts, CountWithBlanksAroundIt)
{
    EXPECT_EQ(platform::cp932::toUtf8(listing::messages::cookiesFound(12)), " 12 個のクッキーが見付かりました");
    EXPECT_EQ(platform::cp932::toUtf8(listing::messages::searching()), "検索中です...");
}

TEST(DeleteTexts, QuestionsBreakTheLineWithLfThenCr)
{
    using namespace listing::messages;
    const std::string name = platform::cp932::fromUtf8("taro@例.jp[1]");
    EXPECT_EQ(platform::cp932::toUtf8(deleteQuestion("3", name)),
              "No.3 の taro@例.jp[1] ファイルを削除します。\n\r宜しいですか？");
    EXPECT_EQ(platform::cp932::toUtf8(deleteAllQuestion()), "全てのクッキーファイルを削除します。\n\r宜しいですか？");
    EXPECT_EQ(platform::cp932::toUtf8(deleteCaption()), "削除確認");
}

TEST(VersionText, NamesTheVersionThenANoticeBetweenDoubleCarriageReturns)
{
    const std::string &text = listing::messages::versionText();
    EXPECT_EQ(text.rfind("Vellumin  Version 1.30\r\r   ", 0), 0u);
    EXPECT_NE(text.find("the Vellumin developers"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\r");
    EXPECT_EQ(text.find('\n'), std::string::npos);
}
