#include "framework/text/matching.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace penwick;

TEST(Wildcard, StarsQuestionMarksAndCase) {
    EXPECT_TRUE(wildcardMatch("Config", "c*g"));
    EXPECT_TRUE(wildcardMatch("Config", "C?NF?G"));
    EXPECT_FALSE(wildcardMatch("Config", "c?g"));
    EXPECT_TRUE(wildcardMatch("", "*"));
    EXPECT_TRUE(wildcardMatch("abc", "abc***"));  // trailing stars match the empty rest
    EXPECT_FALSE(wildcardMatch("abc", ""));
    EXPECT_TRUE(wildcardMatch("", ""));
    EXPECT_TRUE(wildcardMatch("aXbXc", "*x*x*"));
    EXPECT_FALSE(wildcardMatch("aXbXc", "*x*x*x*"));
    EXPECT_TRUE(wildcardMatch("mississippi", "*sip*"));
}

TEST(Wildcard, AlternativesAndNegation) {
    EXPECT_TRUE(wildcardMatch("page.wnk", "*.svg|*.wnk"));
    EXPECT_FALSE(wildcardMatch("page.png", "*.svg|*.wnk"));
    EXPECT_FALSE(wildcardMatch("Config", "|c*"));
    EXPECT_TRUE(wildcardMatch("Settings", "|c*"));
    EXPECT_FALSE(wildcardMatch("b.txt", "|a*|b*"));
    EXPECT_TRUE(wildcardMatch("c.txt", "|a*|b*"));
    EXPECT_TRUE(wildcardMatch("", "x|"));  // an empty alternative matches the empty text
}

TEST(Wildcard, LongPatternsStayFast) {
    std::string text(20000, 'a');
    std::string pattern = std::string(50, '*') + "b";
    EXPECT_FALSE(wildcardMatch(text, pattern));
}

TEST(NaturalOrder, NumbersCompareByValue) {
    EXPECT_EQ(naturalCompare("page2", "page10"), -1);
    EXPECT_EQ(naturalCompare("page10", "page2"), 1);
    EXPECT_EQ(naturalCompare("page007", "page7"), 0);
    EXPECT_EQ(naturalCompare("a-b", "ab"), 0);
    EXPECT_EQ(naturalCompare("(x) [y]", "xy"), 0);
    EXPECT_EQ(naturalCompare("v99999999999999999999", "v100000000000000000000"), -1);
    EXPECT_EQ(naturalCompare("a1b2", "a1b10"), -1);
    EXPECT_EQ(naturalCompare("abc", "abcd"), -1);
    EXPECT_EQ(naturalCompare("", ""), 0);
}

TEST(NaturalOrder, LetterKeysAndSymbolsLast) {
    EXPECT_EQ(naturalCompare("A", "a"), -1);
    EXPECT_EQ(naturalCompare("a", "B"), -1);
    EXPECT_EQ(naturalCompare("B", "b"), -1);
    EXPECT_EQ(naturalCompare("#x", "ax"), -1);  // punctuation first by default
    EXPECT_EQ(naturalCompare("#x", "ax", true), 1);
    EXPECT_EQ(naturalCompare("_x", "zx"), 1);  // the underscore's key is above the letters
    EXPECT_EQ(naturalCompare("1", "a", true), 1);
    std::vector<std::string> names = {"page10.wnk", "Page3.wnk", "page2.wnk", "page1.wnk",
                                      "_new.wnk"};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return naturalCompare(a, b) < 0; });
    EXPECT_EQ(names, (std::vector<std::string>{"Page3.wnk", "page1.wnk", "page2.wnk", "page10.wnk",
                                               "_new.wnk"}));
}
