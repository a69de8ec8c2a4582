#include "framework/text/string.h"

#include <gtest/gtest.h>

using namespace penwick;

TEST(String, AllocationRoundsLongBuffersToBlocks) {
    EXPECT_EQ(ktString::allocationSize(1), 1);
    EXPECT_EQ(ktString::allocationSize(255), 255);
    EXPECT_EQ(ktString::allocationSize(256), 256);  // 16 * 16 is not below 256
    EXPECT_EQ(ktString::allocationSize(257), 288);  // block 32
    EXPECT_EQ(ktString::allocationSize(1000), 1024);
    EXPECT_EQ(ktString::allocationSize(100000), 106496);  // block 8192
    // The block stops growing below 0xFFFFF: 512 KiB at most.
    EXPECT_EQ(ktString::allocationSize(100000001) % 524288, 0);
    EXPECT_LT(ktString::allocationSize(100000001) - 100000001, 524288);
}

TEST(String, EmptyStringsShareOneBufferAndNeverAllocate) {
    ktString a, b("");
    EXPECT_EQ(a.c_str(), b.c_str());
    EXPECT_EQ(a.release(), nullptr);
    ktString c("xyz");
    c.dropLast(3);
    EXPECT_EQ(c.c_str(), a.c_str());
    c.fill(0, 'x');
    EXPECT_EQ(c.c_str(), a.c_str());
}

TEST(String, AppendReusesTheBufferWithinOneRoundedSize) {
    ktString s;
    s.fill(300, 'a');  // buffer of 320 bytes (301 rounded to blocks of 32)
    const char* buffer = s.c_str();
    s.append("bbbbbbbbbbbbbbbbbb");  // 319 bytes: still 320
    EXPECT_EQ(s.c_str(), buffer);
    EXPECT_EQ(s.length(), 318);
    s.append(std::string_view("cccc"));
    EXPECT_EQ(s.length(), 322);
    EXPECT_EQ(s.right(4), "cccc");
    EXPECT_EQ(s.c_str()[322], 0);
    // Appending a piece of itself works even when the buffer moves.
    ktString t("abc");
    t.append(t.c_str() + 1, 2);
    EXPECT_EQ(t, "abcbc");
}

TEST(String, SubstringsAndShortening) {
    ktString s("page10.wnk");
    EXPECT_EQ(s.left(4), "page");
    EXPECT_EQ(s.left(99), "page10.wnk");
    EXPECT_EQ(s.mid(4), "10.wnk");
    EXPECT_EQ(s.mid(99), "");
    EXPECT_EQ(s.right(3), "wnk");
    EXPECT_EQ(s.right(50), "page10.wnk");
    EXPECT_EQ(s.concat("!"), "page10.wnk!");
    s.dropFirst(4);
    EXPECT_EQ(s, "10.wnk");
    s.dropLast(4);
    EXPECT_EQ(s, "10");
    ktString r;
    char* writable = r.reserve(3);
    EXPECT_EQ(writable, r.c_str());
    EXPECT_EQ(r, "   ");
    r.reserve(2);
    EXPECT_EQ(r, "   ");  // already long enough
}

TEST(String, FindAndFindLast) {
    ktString s("a.b.c");
    EXPECT_EQ(s.find('.'), 1);
    EXPECT_EQ(s.find('.', 2), 3);
    EXPECT_EQ(s.find('.', 4), -1);
    EXPECT_EQ(s.find('x'), -1);
    EXPECT_EQ(s.findLast('.'), 3);
    EXPECT_EQ(s.findLast('.', 2), 1);
    EXPECT_EQ(s.findLast('.', -3), 1);  // before index 2
    EXPECT_EQ(s.findLast('a', 0), 0);
    EXPECT_EQ(s.findLast('c', 99), 4);
    EXPECT_EQ(ktString().findLast('x'), -1);
}

TEST(String, ReplaceAllDoesNotRescanReplacedText) {
    ktString s("aaa");
    EXPECT_EQ(s.replaceAll("a", "aa"), 3);
    EXPECT_EQ(s, "aaaaaa");
    ktString t("abab-ab");
    EXPECT_EQ(t.replaceAll("ab", ""), 3);
    EXPECT_EQ(t, "-");
    EXPECT_EQ(t.replaceAll("", "x"), 0);
    EXPECT_EQ(t.replaceAll("zz", "x"), 0);
}

TEST(String, CaseHandlingIsAsciiOnly) {
    ktString s("Config \xC3\x89t\xC3\xA9");
    EXPECT_TRUE(s.equalsNoCase("CONFIG \xC3\x89T\xC3\xA9"));
    EXPECT_FALSE(s.equalsNoCase("CONFIG \xC3\xA9T\xC3\xA9"));  // not the same bytes
    EXPECT_FALSE(s.equals("config \xC3\x89t\xC3\xA9"));
    s.toUpper();
    EXPECT_EQ(s, "CONFIG \xC3\x89T\xC3\xA9");
    s.toLower();
    EXPECT_EQ(s, "config \xC3\x89t\xC3\xA9");
}

TEST(String, TakeNumberKeepsWhatFollows) {
    ktString s("  0x1F   rest of it");
    int32_t n = 0;
    EXPECT_TRUE(s.takeNumber(n));
    EXPECT_EQ(n, 31);
    EXPECT_EQ(s, "rest of it");
    n = 7;
    EXPECT_FALSE(s.takeNumber(n));
    EXPECT_EQ(n, 7);
    EXPECT_EQ(s, "rest of it");
    ktString t("-12");
    EXPECT_TRUE(t.takeNumber(n));
    EXPECT_EQ(n, -12);
    EXPECT_TRUE(t.isEmpty());
}

TEST(String, ReleaseHandsOverTheBuffer) {
    ktString s("owned");
    const char* buffer = s.c_str();
    std::unique_ptr<char[]> taken = s.release();
    EXPECT_EQ(taken.get(), buffer);
    EXPECT_STREQ(taken.get(), "owned");
    EXPECT_TRUE(s.isEmpty());
    EXPECT_STREQ(s.c_str(), "");
}

TEST(String, CopiesAndMovesOwnTheirBytes) {
    ktString a("text");
    ktString b(a);
    EXPECT_NE(a.c_str(), b.c_str());
    ktString c(std::move(a));
    EXPECT_EQ(c, "text");
    EXPECT_TRUE(a.isEmpty());  // NOLINT: moved-from is empty by contract
    b = b;                     // self-assignment keeps the text
    EXPECT_EQ(b, "text");
    b.assign(b.c_str() + 1);  // assigning a piece of itself
    EXPECT_EQ(b, "ext");
}
