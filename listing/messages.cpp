#include "messages.h"

#include "platform/cp932.h"
#include "vellumin_version.h"

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
