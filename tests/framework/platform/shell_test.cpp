#include "framework/platform/shell.h"

#include "framework/platform/file_dialog.h"
#include "host/dialogs.h"
#include "host/window_style.h"
#include "host_fixture.h"

namespace penwick {
namespace {

using testing::HostFixture;
using ShellTest = HostFixture;

TEST_F(ShellTest, FirstTokenIsTheFileAndTheRestItsParameters) {
    EXPECT_TRUE(shellRun("\"/usr/bin/pen wick\"   --page \"a b.wnk\"", "/tmp"));
    EXPECT_TRUE(shellRun("https://example.org/help"));
    EXPECT_TRUE(shellRun("START notes.txt"));
    ASSERT_EQ(host_.shellCalls().size(), 3u);
    EXPECT_EQ(host_.shellCalls()[0].file, "/usr/bin/pen wick");
    EXPECT_EQ(host_.shellCalls()[0].parameters, "--page \"a b.wnk\"");
    EXPECT_EQ(host_.shellCalls()[0].folder, "/tmp");
    EXPECT_EQ(host_.shellCalls()[0].showCommand, host::SW_SHOWNORMAL);
    EXPECT_EQ(host_.shellCalls()[1].parameters, "");
    EXPECT_EQ(host_.shellCalls()[2].showCommand, host::SW_HIDE);
    EXPECT_FALSE(shellRun("   "));
    host_.setShellResult(false);
    EXPECT_FALSE(shellRun("nothing"));
}

TEST_F(ShellTest, FileDialogTurnsTheFilterIntoPairsAndAnswersOneOrTwo) {
    FileDialog dialog;
    EXPECT_EQ(dialog.run(false, "wnk", "/old.wnk", host::OFN_OVERWRITEPROMPT,
                         "Penwick Files (*.wnk)|*.wnk|Scalable Vector Graphics (*.svg)|"
                         "*.svg;*.svgz|All Files|*.*||",
                         host::kNoWindow),
              2);
    ASSERT_EQ(host_.fileDialogs().size(), 1u);
    const host::FileDialogRequest& asked = host_.fileDialogs()[0];
    EXPECT_FALSE(asked.open);
    EXPECT_EQ(asked.defaultExtension, "wnk");
    ASSERT_EQ(asked.filters.size(), 3u);
    EXPECT_EQ(asked.filters[1].description, "Scalable Vector Graphics (*.svg)");
    EXPECT_EQ(asked.filters[1].patterns, "*.svg;*.svgz");

    host_.scriptFileDialog({{"/pages/new.svg"}});
    EXPECT_EQ(dialog.run(false, "wnk", "", 0, "All|*.*||", host::kNoWindow), 1);
    EXPECT_EQ(dialog.result(0).view(), "/pages/new.svg");
    EXPECT_EQ(dialog.result(1).view(), "");

    host_.scriptFileDialog({{"/a/1.wnk", "/a/2.wnk"}});
    EXPECT_EQ(dialog.run(true, "wnk", "", host::OFN_ALLOWMULTISELECT | host::OFN_EXPLORER,
                         "All|*.*||", host::kNoWindow),
              1);
    EXPECT_EQ(dialog.resultCount(), 2);
    EXPECT_EQ(dialog.result(1).view(), "/a/2.wnk");
    EXPECT_EQ(dialog.result(2).view(), "");
}

}  // namespace
}  // namespace penwick
