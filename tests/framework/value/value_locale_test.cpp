// The settings file's numbers do not follow the process locale: under a
// decimal-comma locale a DOUBLE is written and read with a decimal point.
#include <gtest/gtest.h>

#include <string>

#include "framework/text/format.h"
#include "framework/value/value_node.h"
#include "tests/support/locale.h"
#include "tests/support/temp_folder.h"

using namespace penwick;
namespace support = penwick::testing;

TEST(ValueLocale, DoublesAreWrittenAndReadWithADecimalPointUnderADecimalComma) {
    const support::DecimalCommaLocale& locale = support::DecimalCommaLocale::get();
    if (!locale.available()) GTEST_SKIP() << locale.whyNot();
    TempFolder folder;
    ValueNode tree;
    tree.member("view.zoom").setDouble(1.5);
    tree.member("pen").setDouble(-0.0625);
    ASSERT_TRUE(tree.saveXml(folder.file("c.xml")));

    support::InDecimalCommaLocale german;
    ASSERT_TRUE(german.active());
    ASSERT_EQ(support::printfOfOneAndAHalf(), "1,500000");
    EXPECT_EQ(formatReal(1.5).view(), "1.5");
    ASSERT_TRUE(tree.saveXml(folder.file("de.xml")));
    const std::string written = readFileText(folder.file("de.xml"));
    EXPECT_EQ(written, readFileText(folder.file("c.xml")));
    EXPECT_NE(written.find("val=\"1.5\""), std::string::npos) << written;
    EXPECT_NE(written.find("val=\"-0.0625\""), std::string::npos) << written;

    ValueNode back;
    ASSERT_TRUE(back.loadXml(folder.file("de.xml")));
    ASSERT_NE(back.find("view.zoom"), nullptr);
    EXPECT_EQ(back.find("view.zoom")->asDouble(), 1.5);
    EXPECT_EQ(back.find("pen")->asDouble(), -0.0625);
    ValueNode text;
    text.setString("2.25");
    EXPECT_EQ(text.asDouble(), 2.25);
}
