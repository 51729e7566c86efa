#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <string>

TEST(Identity, NamesFitTheirBuffers)
{
    const std::string user = platform::userName();
    const std::string computer = platform::computerName();
    EXPECT_FALSE(user.empty());
    EXPECT_LT(user.size(), platform::kIdentityBufferSize);
    EXPECT_LT(computer.size(), platform::kIdentityBufferSize);
}
