// Text that comes from outside (a file name, a CDATA section, a reference to
// U+FFFF) can never become markup in the settings file, and always reads
// back as the same characters; a settings file that is no file is refused
// without waiting on it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "framework/value/value_node.h"
#include "framework/value/xml_entities.h"
#include "fuzz/xml_checks.h"
#include "tests/support/temp_folder.h"

using namespace penwick;

namespace {

const std::string kU = "\xEF\xBF\xBF";  // U+FFFF

std::string decoded(std::string_view text) {
    ktString out;
    decodeEntities(text, out);
    return std::string(out.view());
}

std::string encoded(std::string_view text) {
    std::string out;
    encodeEntities(text, out);
    return out;
}

}  // namespace

TEST(SettingsHostile, AFileNameCannotRewriteTheSettingsFile) {
    TempFolder folder;
    const std::string hostile = "/home/u/a" + kU + "</STRING" + kU + ">" +
                                "<INT val=\"1\" name=\"stray\"/>" + kU + "<" + kU + "&x;" + kU +
                                kU + "&amp;<STRING name=\"b\">";
    ValueNode settings;
    // A zero byte, which the reader stops at, must not cut off what follows.
    settings.member("zero").setString(std::string_view("a\0b", 3));
    settings.member("autoSave").setInt(1);
    settings.member("lastFile").setString(hostile);
    settings.member(kU + "&key;" + kU).setString(kU);
    ASSERT_TRUE(settings.saveXml(folder.file("config.xml")));

    ValueNode loaded;
    ASSERT_TRUE(loaded.loadXml(folder.file("config.xml")));
    ASSERT_EQ(loaded.count(), 4);
    EXPECT_EQ(loaded.member("zero").asString(), "a?b");
    EXPECT_EQ(loaded.member("autoSave").asInt(), 1);
    EXPECT_EQ(loaded.member("lastFile").asString(), hostile);
    EXPECT_EQ(std::string(loaded.key(3)->view()), kU + "&key;" + kU);
    EXPECT_EQ(loaded.child(3).asString(), kU);
    EXPECT_EQ(loaded.find("stray"), nullptr);
}

TEST(SettingsHostile, CdataAndReferencesToUFFFFReadAsTheCharacter) {
    // What random-seed fuzzing found: a U+FFFF from a CDATA section took the
    // "<" after it into the saved text as markup.
    const std::string found = "<STRING><![CDATA[" + kU + "<";
    auto bytes = reinterpret_cast<const uint8_t*>(found.data());
    EXPECT_EQ(checks::checkXml(bytes, found.size()), "");
    ValueNode tree;
    ASSERT_TRUE(tree.loadXmlText(found));
    EXPECT_EQ(tree.asString(), kU + "<");

    // &#65535; is the character: it reads as a doubled marker, which a
    // value holds as one U+FFFF and which writes back as the reference.
    EXPECT_EQ(decoded("a&#65535;&amp;foo;"), "a" + kU + kU + "&foo;");
    EXPECT_EQ(encoded(decoded("a&#65535;&amp;foo;")), "a&#65535;&amp;foo;");
    EXPECT_EQ(plainText(decoded("a&#65535;&amp;foo;")), "a" + kU + "&foo;");
    ASSERT_TRUE(tree.loadXmlText("<STRING>&#65535;&foo;<![CDATA[" + kU + "&bar;]]></STRING>"));
    EXPECT_EQ(tree.asString(), kU + "&foo;" + kU + "&bar;");

    // An unknown reference a document holds is still written back as it was.
    EXPECT_EQ(encoded(decoded("x &unknown; &#65535;&unknown;")), "x &unknown; &#65535;&unknown;");
    // Whatever the API puts before a marker, the encoder writes no markup.
    for (std::string text : {kU + "<a>", kU + "&lt;", kU + "\"", kU + kU + "&x;", kU + "&#60;"}) {
        std::string out = encoded(text);
        EXPECT_EQ(out.find_first_of("<>\""), std::string::npos) << out;
        EXPECT_EQ(plainText(decoded(out)), plainText(text)) << out;
    }
}

TEST(SettingsHostile, AFifoOrADeviceIsNoSettingsFile) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.file("config.xml").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(folder.file("config.xml.gz").c_str(), 0600), 0);
    for (const std::string& path :
         {folder.file("config.xml"), folder.file("config.xml.gz"), std::string("/dev/zero")}) {
        ValueNode tree;
        tree.setInt(7);
        EXPECT_FALSE(tree.loadXml(path)) << path;
        EXPECT_EQ(tree.asInt(), 7);
    }
}
