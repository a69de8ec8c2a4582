#include "framework/text/path_names.h"

#include <gtest/gtest.h>

using namespace penwick;

TEST(PathNames, ExtensionAndFileName) {
    EXPECT_EQ(extensionOf("C:\\pages\\a.wnk"), "wnk");
    EXPECT_EQ(extensionOf("config.xml.gz"), "gz");
    EXPECT_EQ(extensionOf("README"), "");
    EXPECT_EQ(fileNameOf("C:\\pages\\a.wnk"), "a.wnk");
    EXPECT_EQ(fileNameOf("/home/me/pages/b.wnk"), "b.wnk");
    EXPECT_EQ(fileNameOf("plain"), "plain");
}

TEST(PathNames, HasExtensionComparesEachListEntryWithoutCase) {
    EXPECT_TRUE(hasExtension("settings.XML.GZ", "gz"));
    EXPECT_TRUE(hasExtension("drawing.svgz", "svg;svgz"));
    EXPECT_TRUE(hasExtension("drawing.SVG", ".wnk, .svg"));
    EXPECT_TRUE(hasExtension("a.b", "x/y b"));
    EXPECT_FALSE(hasExtension("drawing.svgz", "svg"));
    EXPECT_FALSE(hasExtension("noext", "gz"));
    EXPECT_FALSE(hasExtension("a.", "gz"));
}
