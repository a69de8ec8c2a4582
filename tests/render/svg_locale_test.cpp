// The numbers of an SVG file do not follow the process locale: under a
// decimal-comma locale (which the program's Qt application sets from the
// environment) the export writes the very bytes it writes under C.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "render/save_to_file.h"
#include "render/svg_export.h"
#include "tests/support/gzip.h"
#include "tests/support/locale.h"
#include "tests/support/temp_folder.h"

using namespace penwick;
namespace support = penwick::testing;

namespace {

// A drawing whose paper rectangle has fractions and a negative corner.
Sketch fractionalSketch() {
    Sketch sketch;
    sketch.setWindowFit(640, 480);
    sketch.background = 0xF0E0D0;
    sketch.current.colour = 0x336699;
    sketch.current.fillColour = 0xFFCC00;
    for (int i = 0; i < 6; ++i)
        sketch.addSample(50.3f + 41.7f * i, 60.1f + 13.9f * (i % 2), 3.3f);
    sketch.commitCurrent(-1);
    return sketch;
}

const ClientRect kClient{0, 0, 640, 480};

}  // namespace

TEST(SvgLocale, NumbersAreTheCLocalesWhateverTheProcessLocale) {
    const support::DecimalCommaLocale& locale = support::DecimalCommaLocale::get();
    if (!locale.available()) GTEST_SKIP() << locale.whyNot();
    const Sketch sketch = fractionalSketch();
    const std::string expected = svgText(sketch, kClient);
    // The paper rectangle has fractions, so "%f" would show the locale.
    const std::regex cNumbers(
        "<rect x='-[0-9]+\\.[0-9]{6}' y='-[0-9]+\\.[0-9]{6}' width='[0-9]+\\.[0-9]{6}' "
        "height='[0-9]+\\.[0-9]{6}' fill='#F0E0D0'");
    ASSERT_TRUE(std::regex_search(expected, cNumbers)) << expected;

    TempFolder folder;
    {
        support::InDecimalCommaLocale german;
        ASSERT_TRUE(german.active()) << "setlocale refused " << locale.kName;
        // The C library now writes a decimal comma...
        ASSERT_EQ(support::printfOfOneAndAHalf(), "1,500000");
        // ...and the export does not.
        EXPECT_EQ(svgText(sketch, kClient), expected);
        ASSERT_TRUE(saveToFile(folder.file("page.svg"), sketch, kClient));
        ASSERT_TRUE(saveToFile(folder.file("page.svgz"), sketch, kClient));
    }
    EXPECT_EQ(support::printfOfOneAndAHalf(), "1.500000");  // the locale is back
    EXPECT_EQ(readFileText(folder.file("page.svg")), expected);
    EXPECT_EQ(support::gunzip(folder.file("page.svgz")), expected);
}

TEST(SvgLocale, PaperOfAbsurdGeometryIsTheSameUnderADecimalComma) {
    const support::DecimalCommaLocale& locale = support::DecimalCommaLocale::get();
    if (!locale.available()) GTEST_SKIP() << locale.whyNot();
    Sketch sketch;
    Shape s;
    StrokeGroup g;
    Stroke stroke;
    stroke.points.append({-3e38f, 0, 1});
    stroke.points.append({3e38f, 3e38f, 3e38f});
    g.strokes.append(stroke);
    s.groups.append(g);
    sketch.shapes.append(s);
    const std::string expected = svgText(sketch, ClientRect{0, 0, 10, 10});
    support::InDecimalCommaLocale german;
    ASSERT_TRUE(german.active());
    EXPECT_EQ(svgText(sketch, ClientRect{0, 0, 10, 10}), expected);
}
