#include "framework/text/failure.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace penwick;

TEST(Failure, ThrowCarriesTheConstantText) {
    static const char kText[] = "Append() not implemented";
    try {
        throwFailure(kText);
        FAIL() << "throwFailure returned";
    } catch (const ktFailure& failure) {
        EXPECT_EQ(failure.text(), kText);  // the very text, not a copy
        EXPECT_STREQ(failure.what(), kText);
    }
    // Catch sites that only know std::exception still see the text.
    try {
        throwFailure("ktVS::Empty() not implemented");
    } catch (const std::exception& failure) {
        EXPECT_STREQ(failure.what(), "ktVS::Empty() not implemented");
    }
}
