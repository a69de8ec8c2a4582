#include "framework/text/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace penwick;

TEST(Numbers, IntegerReaderFormats) {
    int32_t n = 0;
    EXPECT_EQ(readIntegerNumber("0x1F", n), 4);
    EXPECT_EQ(n, 31);
    EXPECT_EQ(readIntegerNumber("0b101", n), 5);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(readIntegerNumber("012", n), 3);  // not octal
    EXPECT_EQ(n, 12);
    EXPECT_EQ(readIntegerNumber(" -7", n), 3);
    EXPECT_EQ(n, -7);
    EXPECT_EQ(readIntegerNumber("0XffFFffFF", n), 10);
    EXPECT_EQ(n, -1);                          // the low 32 bits
    EXPECT_EQ(readIntegerNumber("0x", n), 1);  // the decimal 0, x left
    EXPECT_EQ(n, 0);
    EXPECT_EQ(readIntegerNumber("0b2", n), 1);
    EXPECT_EQ(n, 0);
    n = 99;
    EXPECT_EQ(readIntegerNumber("  x12", n), 0);
    EXPECT_EQ(readIntegerNumber("-", n), 0);
    EXPECT_EQ(readIntegerNumber("", n), 0);
    EXPECT_EQ(n, 99);  // untouched when there is no number
}

TEST(Numbers, IntegerParserStaysWithin32Bits) {
    int32_t n = 0;
    EXPECT_EQ(parseInteger("2147483647", n), 10);
    EXPECT_EQ(n, 2147483647);
    EXPECT_EQ(parseInteger("-2147483648", n), 11);
    EXPECT_EQ(n, INT32_MIN);
    EXPECT_EQ(parseInteger("2147483649", n), 10);
    EXPECT_EQ(n, INT32_MAX);  // clamped
    // Reading stops before a digit once the value exceeds 214748364.
    EXPECT_EQ(parseInteger("99999999999", n), 9);
    EXPECT_EQ(n, 999999999);
    EXPECT_EQ(parseInteger("+5x", n), 2);
    EXPECT_EQ(n, 5);
    // Whitespace is not part of the plain parser.
    EXPECT_EQ(parseInteger(" 5", n), 0);
}

TEST(Numbers, RealParserFormats) {
    double d = 0;
    EXPECT_EQ(parseReal("2.5e-3", d), 6);
    EXPECT_DOUBLE_EQ(d, 0.0025);
    EXPECT_EQ(parseReal("-4", d), 2);
    EXPECT_EQ(d, -4.0);
    d = 42;
    EXPECT_EQ(parseReal("e5", d), 0);
    EXPECT_EQ(parseReal(".5", d), 0);
    EXPECT_EQ(d, 42.0);
    EXPECT_EQ(parseReal("1.5E2x", d), 5);
    EXPECT_EQ(d, 150.0);
    EXPECT_EQ(parseReal("3e", d), 1);  // no exponent digits: the e stays
    EXPECT_EQ(d, 3.0);
    EXPECT_EQ(parseReal("0.995", d), 5);
    EXPECT_DOUBLE_EQ(d, 0.995);
    EXPECT_EQ(parseReal("0e99999", d), 7);
    EXPECT_EQ(d, 0.0);  // not NaN
    EXPECT_EQ(parseReal("1e400", d), 5);
    EXPECT_TRUE(std::isinf(d));
    EXPECT_EQ(parseReal("1.000000000000000000000000000001", d), 32);
    EXPECT_DOUBLE_EQ(d, 1.0);
    EXPECT_EQ(readRealNumber("\t 7.25", d), 6);
    EXPECT_EQ(d, 7.25);
}

TEST(Numbers, HexDigits) {
    EXPECT_EQ(hexDigit('0'), 0);
    EXPECT_EQ(hexDigit('9'), 9);
    EXPECT_EQ(hexDigit('a'), 10);
    EXPECT_EQ(hexDigit('F'), 15);
    EXPECT_EQ(hexDigit('g'), -1);
    EXPECT_EQ(hexDigit('\xC3'), -1);
}
