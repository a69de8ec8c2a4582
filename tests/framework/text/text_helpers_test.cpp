#include "framework/text/text_helpers.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace penwick;

TEST(TextHelpers, SearchCountReplace) {
    EXPECT_EQ(findText("abcabc", "bc"), 1);
    EXPECT_EQ(findText("abcabc", "bc", 2), 4);
    EXPECT_EQ(findText("abcabc", "bc", -2), 4);
    EXPECT_EQ(findText("abcabc", "bc", -99), 1);
    EXPECT_EQ(findText("abcabc", "x"), -1);
    EXPECT_EQ(findText("abc", "a", 9), -1);
    EXPECT_EQ(countText("aaaa", "aa"), 2);
    EXPECT_EQ(countText("aaaa", ""), 0);
    ktString s("a\\b\\c");
    EXPECT_EQ(replaceChar(s, '\\', '/'), 2);
    EXPECT_EQ(s, "a/b/c");
}

TEST(TextHelpers, BoundedCopies) {
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(copyText(buffer, "abcdef", 4), 3);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(copyText(buffer, "z", 4), 1);
    EXPECT_STREQ(buffer, "z");
    EXPECT_EQ(copyText(buffer, "abc", 0), 0);
    std::unique_ptr<char[]> copy = duplicate("abc", 10);
    EXPECT_STREQ(copy.get(), "abc");
    copy[9] = 'x';  // room for ten bytes (checked by the sanitizer build)
}

TEST(TextHelpers, WordWrapKeepsLinesWithinTheWidth) {
    std::string sentence =
        "The quick brown fox jumps over the lazy dog while the pen keeps drawing lines "
        "across the page until the whole sketch is done ok";
    ASSERT_GE(sentence.size(), 120u);
    ktString wrapped = wordWrap(sentence, 50);
    size_t start = 0;
    std::string joined;
    int lines = 0;
    for (;;) {
        size_t end = wrapped.view().find('\n', start);
        std::string_view line = wrapped.view().substr(start, end - start);
        EXPECT_LE(line.size(), 50u) << line;
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line.front(), ' ');
        joined += std::string(line) + " ";
        ++lines;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    EXPECT_EQ(lines, 3);
    joined.pop_back();
    EXPECT_EQ(joined, sentence);  // only the breaks changed
    // Lines without a break point stay whole; existing lines are kept.
    EXPECT_EQ(wordWrap("abcdefghij\nab cd", 4), "abcdefghij\nab\ncd");
    EXPECT_EQ(wordWrap("abcdefghij", 4, true), "abcd\nefgh\nij");
    EXPECT_EQ(wordWrap("abcd efgh", 4), "abcd\nefgh");
    EXPECT_EQ(wordWrap("short", 0), "short");
}

TEST(TextHelpers, LineReadingSkipsEmptyLinesAndCarriageReturns) {
    std::string_view text = "\r\n\nfirst\r\nsec\rond\n\n\nlast";
    size_t position = 0;
    ktString line;
    ASSERT_TRUE(lineOf(text, position, line));
    EXPECT_EQ(line, "first");
    ASSERT_TRUE(lineOf(text, position, line));
    EXPECT_EQ(line, "second");
    ASSERT_TRUE(lineOf(text, position, line));
    EXPECT_EQ(line, "last");
    EXPECT_EQ(position, text.size());
    EXPECT_FALSE(lineOf(text, position, line));
    position = 0;
    EXPECT_FALSE(lineOf("\n\r\n", position, line));
}
