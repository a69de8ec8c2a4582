#include "framework/text/tokenizer.h"

#include <gtest/gtest.h>

using namespace penwick;

TEST(Tokenizer, WithoutSetsTokensEndAtWhitespace) {
    ktTokenizer t("stroke \t end\xC2\xA0x");  // bytes from 0x80 separate too
    EXPECT_FALSE(t.expect("Stroke"));         // case-sensitive, token stays
    EXPECT_FALSE(t.expect("str"));            // compared whole
    EXPECT_TRUE(t.expect("stroke"));
    EXPECT_TRUE(t.expect("end"));
    ktString token;
    EXPECT_TRUE(t.readToken(token));
    EXPECT_EQ(token, "x");
    EXPECT_FALSE(t.readToken(token));
    EXPECT_FALSE(t.skipSpace());
}

TEST(Tokenizer, RangesMakeNameTokensAndSingleBytes) {
    ktTokenizer t("<INT val=\"1\"/>", "AZaz09__");
    ktString token;
    std::vector<std::string> tokens;
    while (t.readToken(token))
        tokens.emplace_back(token.view());
    EXPECT_EQ(tokens,
              (std::vector<std::string>{"<", "INT", "val", "=", "\"", "1", "\"", "/", ">"}));
}

TEST(Tokenizer, DelimitersAndComments) {
    ktTokenizer t("a=b # comment = here\n  c,d", "##", "=,");
    ktString token;
    std::vector<std::string> tokens;
    while (t.readToken(token))
        tokens.emplace_back(token.view());
    EXPECT_EQ(tokens, (std::vector<std::string>{"a", "=", "b", "c", ",", "d"}));
    // Without delimiters the comment set is a range set: no comments then.
    ktTokenizer plain("# x", "##");
    EXPECT_TRUE(plain.expect("#"));
}

TEST(Tokenizer, QuotedTokens) {
    ktTokenizer t("\"C:\\my pages\\a.wnk\" next \"unterminated rest");
    ktString token;
    EXPECT_TRUE(t.readQuoted(token));
    EXPECT_EQ(token, "C:\\my pages\\a.wnk");
    EXPECT_TRUE(t.readQuoted(token));
    EXPECT_EQ(token, "next");
    EXPECT_TRUE(t.readQuoted(token));
    EXPECT_EQ(token, "unterminated rest");
    EXPECT_TRUE(t.atEnd());
}

TEST(Tokenizer, Numbers) {
    ktTokenizer t("scale 0.995 x 0x10 -3");
    EXPECT_TRUE(t.expect("scale"));
    double d = 0;
    EXPECT_TRUE(t.readReal(d));
    EXPECT_DOUBLE_EQ(d, 0.995);
    int32_t n = 5;
    EXPECT_FALSE(t.readNumber(n));
    EXPECT_EQ(n, 5);
    EXPECT_TRUE(t.expect("x"));
    EXPECT_TRUE(t.readNumber(n));
    EXPECT_EQ(n, 16);
    EXPECT_TRUE(t.readNumber(n));
    EXPECT_EQ(n, -3);
    EXPECT_FALSE(t.readReal(d));
}

TEST(Tokenizer, TextEndsAtItsFirstZeroByte) {
    std::string text("ab\0cd", 5);
    ktTokenizer t(text);
    ktString token;
    EXPECT_TRUE(t.readToken(token));
    EXPECT_EQ(token, "ab");
    EXPECT_FALSE(t.readToken(token));
    EXPECT_EQ(t.tokenLength(), 0);
}
