#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

TEST(WindowsDirectory, IsTheSystemsFolderCutAtItsTerminator)
{
    const std::string folder = platform::windowsDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.find('\0'), std::string::npos); // not the whole buffer
    EXPECT_LE(folder.size(), 260u);
    EXPECT_NE(folder.back(), '\\');
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Identity, NamesHaveNoTerminatorInside)
{
    EXPECT_EQ(platform::userName().find('\0'), std::string::npos);
    EXPECT_EQ(platform::computerName().find('\0'), std::string::npos);
    EXPECT_FALSE(platform::computerName().empty());
}
