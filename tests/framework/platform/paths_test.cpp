#include "framework/platform/paths.h"

#include <unistd.h>

#include "framework/platform/version.h"
#include "host_fixture.h"

namespace penwick {
namespace {

using testing::HostFixture;
using PathsTest = HostFixture;

TEST_F(PathsTest, ModuleStemDropsOnlyARealExtension) {
    EXPECT_EQ(moduleStem().view(), "/usr/bin/penwick");
    host_.setModulePath("/opt/pen.wick/penwick.bin");
    EXPECT_EQ(moduleStem().view(), "/opt/pen.wick/penwick");
}

TEST_F(PathsTest, AppDataFolderIsCompanyAndProductUnderConfigAndIsCreated) {
    std::string expected = path("config") + "/Corvana/Penwick";
    EXPECT_EQ(appDataFolder(false).view(), expected);
    EXPECT_FALSE(fileExists(expected));
    EXPECT_EQ(appDataFolder(true).view(), expected);
    EXPECT_TRUE(std::filesystem::is_directory(expected));
    // Computed once: a changed host folder is not seen until forgotten.
    host_.setSpecialFolder(host::CSIDL_APPDATA, path("elsewhere"));
    EXPECT_EQ(appDataFolder(false).view(), expected);
}

TEST_F(PathsTest, MakePathCreatesEveryFolderAndAcceptsBackslashes) {
    std::string deep = path("a") + "\\b/c\\d";
    EXPECT_TRUE(makePath(deep));
    EXPECT_TRUE(std::filesystem::is_directory(path("a/b/c/d")));
    EXPECT_TRUE(makePath(deep));  // existing folders are no failure
    EXPECT_TRUE(fileExists(path("a/b/c")));
    EXPECT_FALSE(fileExists(path("a/b/missing")));
    EXPECT_FALSE(fileExists(""));
}

TEST_F(PathsTest, SplitPathResolvesDotsAndKeepsTheRoot) {
    SplitPath drive = splitPath("C:\\one\\.\\two\\..\\three");
    EXPECT_EQ(drive.root.view(), "C:");
    EXPECT_EQ(drive.rest.view(), "one/three");
    SplitPath share = splitPath("\\\\server\\share\\docs\\..\\x.wnk");
    EXPECT_EQ(share.root.view(), "\\\\server\\share");
    EXPECT_EQ(share.rest.view(), "x.wnk");
    SplitPath unix = splitPath("/home/./me/../you/");
    EXPECT_EQ(unix.root.view(), "/");
    EXPECT_EQ(unix.rest.view(), "home/you");
    SplitPath tooHigh = splitPath("../../a");
    EXPECT_EQ(tooHigh.root.view(), "");
    EXPECT_EQ(tooHigh.rest.view(), "a");
}

TEST_F(PathsTest, FullPathAndFolderOf) {
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(fullPath("x/../y.wnk").view(), std::string(cwd) + "/y.wnk");
    EXPECT_EQ(fullPath("/a\\b/./c").view(), "/a/b/c");
    EXPECT_EQ(fullPath("").view(), "");
    EXPECT_EQ(folderOf("/pages/one.wnk", true).view(), "/pages/");
    EXPECT_EQ(folderOf("/pages/one.wnk", false).view(), "/pages");
    EXPECT_EQ(folderOf("/top.wnk", false).view(), "/");
}

TEST_F(PathsTest, VersionRecordIsCompiledIn) {
    const VersionRecord& v = versionRecord();
    EXPECT_TRUE(versionRead());
    EXPECT_EQ(v.company.view(), "Corvana");
    EXPECT_EQ(v.productName.view(), "Penwick");
    EXPECT_EQ(v.fileDescription.view(), "Penwick");
    EXPECT_EQ(v.fileVersion.view(), v.productVersion.view());
    EXPECT_EQ(v.fileVersion.view().substr(v.fileVersion.length() - 3), ", 0");
    EXPECT_TRUE(v.homePage.isEmpty());
}

}  // namespace
}  // namespace penwick
