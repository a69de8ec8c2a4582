#include "framework/text/sequence.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/text/failure.h"
#include "framework/text/format.h"

using namespace penwick;

namespace {

std::string failureText(const std::function<void()>& action) {
    try {
        action();
    } catch (const ktFailure& failure) {
        return failure.text();
    }
    return "(nothing thrown)";
}

}  // namespace

TEST(Sequence, ViewIsReadOnly) {
    ktTextView view("hello");
    EXPECT_EQ(view.length(), 5);
    EXPECT_EQ(view.charAt(view.advance(view.begin(), 1)), 'e');
    ktTextView part("hello", 2);
    EXPECT_EQ(part.view(), "he");
    EXPECT_EQ(failureText([&] { view.Append('x'); }), "Append() not implemented");
    EXPECT_EQ(failureText([&] { view.SetChar(view.begin(), 'x'); }), "SetChar() not implemented");
    EXPECT_EQ(failureText([&] { view.Replace(view.begin(), view.end(), "x"); }),
              "ktVS::Replace() not implemented");
    EXPECT_EQ(failureText([&] { view.Empty(); }), "ktVS::Empty() not implemented");
    EXPECT_EQ(failureText([&] { view.assign("x"); }), "ktVS::Empty() not implemented");
}

TEST(Sequence, BufferGrowsAndChecksPositions) {
    ktTextBuffer buffer;
    EXPECT_EQ(buffer.capacity(), 0u);  // a new buffer allocates nothing
    buffer.Append('a');
    EXPECT_EQ(buffer.capacity(), 256u);  // at least 256
    for (int i = 0; i < 1000; ++i)
        buffer.Append('b');
    EXPECT_EQ(buffer.length(), 1001);
    buffer.SetChar({&buffer, 1}, 'c');
    EXPECT_EQ(buffer.view().substr(0, 3), "acb");
    EXPECT_THROW(buffer.charAt({&buffer, 1001}), std::out_of_range);
    EXPECT_THROW(buffer.SetChar({&buffer, -1}, 'x'), std::out_of_range);
    buffer.assign("fresh");
    EXPECT_EQ(buffer.view(), "fresh");
    ktTextView source("0123456789");
    buffer.appendRange(source.advance(source.begin(), 3), source.advance(source.begin(), 6));
    EXPECT_EQ(buffer.view(), "fresh345");
    EXPECT_EQ(failureText([&] { buffer.Replace(buffer.begin(), buffer.end(), ""); }),
              "ktVS::Replace() not implemented");
}

TEST(Format, CutsAt4095Characters) {
    EXPECT_EQ(format("%d-%s", 42, "x"), "42-x");
    std::string longText(5000, 'y');
    ktString cut = format("<%s>", longText.c_str());
    EXPECT_EQ(cut.length(), 4095);
    EXPECT_EQ(cut[0], '<');
    EXPECT_EQ(cut[4094], 'y');
    ktTextBuffer buffer = formatBuffer("%05d", 7);
    EXPECT_EQ(buffer.view(), "00007");
}

TEST(Format, RealsFormatLikePercentGInEveryLocale) {
    EXPECT_EQ(formatReal(0.5), "0.5");
    EXPECT_EQ(formatReal(1234567.0), "1.23457e+06");
    EXPECT_EQ(formatReal(-2.7), "-2.7");
    EXPECT_EQ(formatReal(1e-5), "1e-05");
    EXPECT_EQ(formatReal(100000.0), "100000");
    EXPECT_EQ(formatReal(0.0), "0");
}
