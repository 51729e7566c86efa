#pragma once

#include "cookie_records.h"

#include <string>

// The program's own texts, in CP932. The source is UTF-8; each text is
// converted once, on first use.
namespace listing::messages {

const std::string &searching();      // status while scanning
const std::string &noCookiesFound(); // status after a scan that listed nothing
std::string cookiesFound(int count); // status after a scan that listed `count`
const std::string &fileNameSearchMode();
const std::string &contentSearchMode();
// Status after a scan of a folder that is not there, or that is there but
// cannot be listed (no permission, not a folder).
std::string cookieFolderMissing(const std::string &folder);
std::string cookieFolderCannotOpen(const std::string &folder);
std::string cannotOpenFile(const std::string &path);
// A file that the system refused to delete, with its reason; for ALL DELETE,
// how many were refused, with the first one and its reason.
std::string cannotDeleteFile(const std::string &path, const std::string &reason);
std::string cannotDeleteFiles(int count, const std::string &firstPath, const std::string &firstReason);
const std::string &streamReadFailed();

// The confirmation before deleting the file of row number `number` whose
// name cell reads `name`; its line break is LF then CR.
std::string deleteQuestion(const std::string &number, const std::string &name);
const std::string &deleteAllQuestion();
const std::string &deleteCaption();

// The version box: its caption and its text.
const std::string &versionCaption();
const std::string &versionText();

// The two search input boxes.
const std::string &fileNameSearchCaption();
const std::string &fileNameSearchPrompt();
const std::string &contentSearchCaption();
const std::string &contentSearchPrompt();

// The decoded table of a cookie file: the title of each of its 9 columns
// (No, name, value, domain, path, expiry, creation, Secure, HttpOnly), empty
// outside them; the word beside an expiry that has passed; the mark of a
// flag that is set.
const std::string &cookieColumnTitle(int column);
const std::string &expiredMark();
const std::string &flagSetMark();

// One line for a file that is not a run of cookie records: the line where it
// strays and why, e.g. "クッキーの形式ではありません（9 行目: 「*」がありません）",
// or under the whole cookies before it "この後はクッキーの形式ではありません（…）".
std::string notCookieRecords(const CookieFormatProblem &problem);

// The text of the application's error box for a failure's message: the
// message with "." appended when its last character sorts after ".".
std::string errorBoxText(const std::string &message);

} // namespace listing::messages
