// Inside a Qt application under a decimal-comma locale, what the program
// writes to files keeps the C locale's numbers. Qt's application object sets
// the C library's locale from the environment (setlocale(LC_ALL, "")), as it
// does when the Qt host makes it in the program, so "%f" would then write
// "-1856,000000".
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <string>

#include "framework/text/format.h"
#include "framework/value/value_node.h"
#include "render/save_to_file.h"
#include "render/svg_export.h"
#include "tests/support/gzip.h"
#include "tests/support/locale.h"
#include "tests/support/private_home.h"
#include "tests/support/temp_folder.h"

namespace penwick {
namespace {

Sketch fractionalSketch() {
    Sketch sketch;
    sketch.setWindowFit(640, 480);
    sketch.current.colour = 0x336699;
    for (int i = 0; i < 6; ++i)
        sketch.addSample(50.3 + 41.7 * i, 60.1 + 13.9 * (i % 2), 3.3);
    sketch.commitCurrent(-1);
    return sketch;
}

TEST(LocaleOnQt, FilesKeepTheCLocalesNumbersInsideADecimalCommaApplication) {
    const testing::DecimalCommaLocale& locale = testing::DecimalCommaLocale::get();
    if (!locale.available()) GTEST_SKIP() << locale.whyNot();
    const ClientRect client{0, 0, 640, 480};
    const Sketch sketch = fractionalSketch();
    // What the C locale writes, before Qt changes anything.
    const std::string svg = svgText(sketch, client);
    ValueNode settings;
    settings.member("view.zoom").setDouble(1.5);
    TempFolder folder;
    ASSERT_TRUE(settings.saveXml(folder.file("c.xml")));

    testing::PrivateHome home;
    testing::DecimalCommaEnvironment german;
    ASSERT_TRUE(german.active());
    {
        static char name[] = "penwick";
        int argc = 1;
        char* argv[] = {name, nullptr};
        QApplication application(argc, argv);
        // Qt has taken the locale of the environment: a decimal comma.
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
        ASSERT_EQ(testing::printfOfOneAndAHalf(), "1,500000");

        EXPECT_EQ(svgText(sketch, client), svg);
        ASSERT_TRUE(saveToFile(folder.file("page.svg"), sketch, client));
        ASSERT_TRUE(saveToFile(folder.file("page.svgz"), sketch, client));
        EXPECT_EQ(readFileText(folder.file("page.svg")), svg);
        EXPECT_EQ(testing::gunzip(folder.file("page.svgz")), svg);

        EXPECT_EQ(formatReal(0.25).view(), "0.25");
        ASSERT_TRUE(settings.saveXml(folder.file("de.xml")));
        EXPECT_EQ(readFileText(folder.file("de.xml")), readFileText(folder.file("c.xml")));
        ValueNode back;
        ASSERT_TRUE(back.loadXml(folder.file("de.xml")));
        ASSERT_NE(back.find("view.zoom"), nullptr);
        EXPECT_EQ(back.find("view.zoom")->asDouble(), 1.5);
    }
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace penwick
