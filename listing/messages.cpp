#include "messages.h"

#include "platform/cp932.h"
#include "vellumin_version.h"

#include <iterator>

namespace listing::messages {
namespace {

std::string cp932(const char *utf8)
{
    return platform::cp932::fromUtf8(utf8);
}

} // namespace

const std::string &searching()
{
    static const std::string text = cp932("検索中です...");
    return text;
}

const std::string &noCookiesFound()
{
    static const std::string text = cp932("クッキーファイルが見付かりません");
    return text;
}

std::string cookiesFound(int count)
{
    static const std::string words = cp932(" 個のクッキーが見付かりました");
    std::string text(" ");
    text.append(std::to_string(count)).append(words);
    return text;
}

const std::string &fileNameSearchMode()
{
    static const std::string text = cp932("ファイル名検索モード");
    return text;
}

const std::string &contentSearchMode()
{
    static const std::string text = cp932("ファイル内容検索モード");
    return text;
}

std::string cookieFolderMissing(const std::string &folder)
{
    static const std::string before = cp932("クッキーフォルダ ");
    static const std::string after = cp932(" が見付かりません");
    return before + folder + after;
}

std::string cookieFolderCannotOpen(const std::string &folder)
{
    static const std::string before = cp932("クッキーフォルダ ");
    static const std::string after = cp932(" を開けません");
    return before + folder + after;
}

std::string cannotOpenFile(const std::string &path)
{
    static const std::string before = cp932("ファイル ");
    static const std::string after = cp932(" は開けません");
    return before + path + after;
}

std::string cannotDeleteFile(const std::string &path, const std::string &reason)
{
    static const std::string before = cp932("ファイル ");
    static const std::string after = cp932(" は削除できません（");
    static const std::string close = cp932("）");
    return before + path + after + reason + close;
}

std::string cannotDeleteFiles(int count, const std::string &firstPath, const std::string &firstReason)
{
    static const std::string files = cp932(" 個のファイルは削除できません（最初は ");
    static const std::string close = cp932("）");
    return std::to_string(count) + files + firstPath + ": " + firstReason + close;
}

const std::string &streamReadFailed()
{
    static const std::string text = cp932("ストリームからの読み込みに失敗しました");
    return text;
}

std::string deleteQuestion(const std::string &number, const std::string &name)
{
    static const std::string middle = cp932(" の ");
    static const std::string end = cp932(" ファイルを削除します。\n\r宜しいですか？");
    return "No." + number + middle + name + end;
}

const std::string &deleteAllQuestion()
{
    static const std::string text = cp932("全てのクッキーファイルを削除します。\n\r宜しいですか？");
    return text;
}

const std::string &deleteCaption()
{
    static const std::string text = cp932("削除確認");
    return text;
}

const std::string &versionCaption()
{
    static const std::string text = cp932("バージョン情報");
    return text;
}

const std::string &versionText()
{
    static const std::string text =
        "Vellumin  Version " VELLUMIN_VERSION "\r\r   Copyright (C) 2026 the Vellumin developers\r\r";
    return text;
}

const std::string &fileNameSearchCaption()
{
    static const std::string text = "Input Search FileName";
    return text;
}

const std::string &fileNameSearchPrompt()
{
    static const std::string text = cp932("検索ファイル名を入力してください");
    return text;
}

const std::string &contentSearchCaption()
{
    static const std::string text = "Search File List Name";
    return text;
}

const std::string &contentSearchPrompt()
{
    static const std::string text = cp932("検索内容を入力してください");
    return text;
}

const std::string &cookieColumnTitle(int column)
{
    static const std::string titles[] = {
        "No",     cp932("名前"), cp932("値"), cp932("ドメイン"), cp932("パス"), cp932("有効期限"), cp932("作成日時"),
        "Secure", "HttpOnly",
    };
    static const std::string none;
    return column >= 0 && column < static_cast<int>(std::size(titles)) ? titles[column] : none;
}

const std::string &expiredMark()
{
    static const std::string text = cp932("期限切れ");
    return text;
}

const std::string &flagSetMark()
{
    static const std::string text = cp932("○");
    return text;
}

std::string notCookieRecords(const CookieFormatProblem &problem)
{
    const char *why = "";
    switch (problem.error) {
    case CookieFormatError::None:
        return {};
    case CookieFormatError::Empty:
        why = "クッキーが一つもありません";
        break;
    case CookieFormatError::IncompleteRecord:
        why = "クッキーの途中でファイルが終わっています";
        break;
    case CookieFormatError::NoPath:
        why = "ホストとパスの間に「/」がありません";
        break;
    case CookieFormatError::NoHost:
        why = "「/」の前にホストがありません";
        break;
    case CookieFormatError::NotANumber:
        why = "32 ビットの符号なし整数ではありません";
        break;
    case CookieFormatError::NoEndMark:
        why = "「*」がありません";
        break;
    }
    // Under the rows of the whole cookies before it, the line says that
    // what follows them strays.
    static const std::string before = cp932("クッキーの形式ではありません（");
    static const std::string afterRows = cp932("この後はクッキーの形式ではありません（");
    static const std::string lineWord = cp932(" 行目: ");
    static const std::string after = cp932("）");
    return (problem.records > 0 ? afterRows : before) + std::to_string(problem.line) + lineWord + cp932(why) + after;
}

std::string errorBoxText(const std::string &message)
{
    if (message.empty())
        return message;
    // Find the last character; its first byte decides (a double-byte
    // character's lead byte always sorts after ".").
    std::size_t last = 0;
    for (std::size_t pos = 0; pos < message.size(); pos += platform::cp932::charLength(message, pos))
        last = pos;
    return static_cast<unsigned char>(message[last]) > '.' ? message + "." : message;
}

} // namespace listing::messages
