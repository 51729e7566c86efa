#include "platform/system_info.h"

#include "platform/wide_text_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

TEST(WindowsDirectory, IsTheSystemsFolderCutAtItsTerminator)
{
    const std::string folder = platform::windowsDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.find('\0'), std::string::npos); // not the whole buffer
    EXPECT_NE(folder.back(), '\\');
    const DWORD attributes = GetFileAttributesW(platform::win32::wideFromNative(folder).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(CodePage, IsTheOneThisRunIsMeantFor)
{
    // Set by the runs under other code pages, so that none of them passes
    // under 932 by mistake.
    const char *expected = std::getenv("VELLUMIN_EXPECTED_ACP");
    if (!expected)
        GTEST_SKIP() << "no code page asked for";
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
}
