#include <string>

#include "framework/application/app.h"
#include "framework/platform/version.h"
#include "host/keys.h"
#include "host/messages.h"
#include "host/window_style.h"
#include "tests/framework/headless_fixture.h"

namespace penwick {
namespace {

using namespace host;
using testing::HeadlessTest;

TEST(AboutBox, VersionDropsSeparatorsAndTrailingZeros) {
    EXPECT_EQ(formatVersion("2, 1, 0, 0"), "2.1");
    EXPECT_EQ(formatVersion("1, 2, 3, 0"), "1.23");
    EXPECT_EQ(formatVersion("1,0,0,1"), "1.001");
    EXPECT_EQ(formatVersion("3, 0, 0, 0"), "3.0");
    EXPECT_EQ(formatVersion("0 1 0 0"), "0.1");
}

TEST(AboutBox, TextAndButtonsFollowTheHomePage) {
    const VersionRecord& v = versionRecord();
    std::string plain = std::string(v.fileDescription.c_str()) + " " +
                        formatVersion(v.fileVersion.view()).c_str() + " " + v.specialBuild.c_str();
    EXPECT_EQ(aboutText(""), plain.c_str());
    EXPECT_EQ(aboutText("https://example.org"),
              (plain + "\r\n\r\nVisit: https://example.org").c_str());
    EXPECT_EQ(aboutButtons(""), "*1 &OK");
    EXPECT_EQ(aboutButtons("https://example.org"), ":https://example.org\t &Web...\n*1 &OK");
}

using AboutModalTest = HeadlessTest;

TEST_F(AboutModalTest, ShowsTheBoxModallyOverTheOwner) {
    ktWnd owner;
    ASSERT_TRUE(owner.create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0,
                             640, 480, 0));
    std::string title, text;
    host.whenIdle([&] {
        Window box = host.foregroundWindow();
        title = host.windowText(box);
        EXPECT_FALSE(host.isEnabled(owner.handle()));
        host.keyDown(VK_RETURN);
    });
    EXPECT_EQ(showAboutModal(owner.handle()), 1);
    EXPECT_EQ(title, versionRecord().fileDescription.c_str());
    EXPECT_TRUE(host.isEnabled(owner.handle()));
}

}  // namespace
}  // namespace penwick
