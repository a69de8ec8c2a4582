#include "host/keys.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyName, CursorKeysTakeTheirKeypadNames) {
    EXPECT_EQ(host::keyName('S'), "S");
    EXPECT_EQ(host::keyName(host::VK_F5), "F5");
    EXPECT_EQ(host::keyName(host::VK_ADD), "Num +");
    EXPECT_EQ(host::keyName(host::VK_HOME), "Num 7");
    EXPECT_EQ(host::keyName(host::VK_NEXT), "Num 3");
    EXPECT_EQ(host::keyName(host::VK_DELETE), "Num Del");
    EXPECT_EQ(host::keyName(host::VK_OEM_2), "/");
    EXPECT_EQ(host::keyName(0xFF), "");
}

}  // namespace
