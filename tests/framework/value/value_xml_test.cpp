#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "framework/value/value_node.h"
#include "framework/value/xml_node.h"
#include "framework/value/xml_reader.h"
#include "model/safe_save.h"
#include "tests/support/gzip.h"
#include "tests/support/temp_folder.h"

using namespace penwick;
using Kind = ValueNode::Kind;
namespace fs = std::filesystem;

namespace {

std::string runCommand(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    int status = pclose(pipe);
    if (status != 0) out = "FAILED(" + std::to_string(status) + "): " + out;
    return out;
}

ValueNode settingsTree() {
    ValueNode settings;
    settings.member("autoSave").setInt(1);
    settings.member("usePressure").setInt(1);
    settings.member("smooth").setInt(0);
    settings.member("lastFile").setString("C:\\pages\\a.wnk");
    return settings;
}

}  // namespace

TEST(ValueXml, SettingsFileBytes) {
    TempFolder folder;
    std::string path = folder.file("config.xml");
    ASSERT_TRUE(settingsTree().saveXml(path));
    EXPECT_EQ(readFileText(path),
              "<OBJECT>\r\n"
              "<INT val=\"1\" name=\"autoSave\"/>\r\n"
              "<INT val=\"1\" name=\"usePressure\"/>\r\n"
              "<INT val=\"0\" name=\"smooth\"/>\r\n"
              "<STRING name=\"lastFile\">C:\\pages\\a.wnk</STRING>\r\n"
              "</OBJECT>");
    ValueNode empty;
    empty.makeObject();
    ASSERT_TRUE(empty.saveXml(path));
    EXPECT_EQ(readFileText(path), "<OBJECT>\r\n</OBJECT>");
    EXPECT_EQ(readFileText(path).size(), 19u);
}

TEST(ValueXml, NestedContainersAreIndentedByDepth) {
    ValueNode tree;
    tree.member("view.zoom").setDouble(1.5);
    tree.member("list").element(1).setString("");
    tree.member("big").setDouble(1234567.0);
    tree.member("none");
    XmlElement root;
    tree.toXml(root);
    std::string expected =
        "<OBJECT>\r\n"
        "<OBJECT name=\"view\">\r\n"
        " <DOUBLE val=\"1.5\" name=\"zoom\"/>\r\n"
        " </OBJECT>\r\n"
        "<ARRAY name=\"list\">\r\n"
        " <NULL/>\r\n"
        " <STRING></STRING>\r\n"
        " </ARRAY>\r\n"
        "<DOUBLE val=\"1.23457e+06\" name=\"big\"/>\r\n"
        "<NULL name=\"none\"/>\r\n"
        "</OBJECT>";
    TempFolder folder;
    ASSERT_TRUE(tree.saveXml(folder.file("t.xml")));
    EXPECT_EQ(readFileText(folder.file("t.xml")), expected);
    // And back: the same tree, the same bytes.
    ValueNode back;
    ASSERT_TRUE(back.loadXml(folder.file("t.xml")));
    EXPECT_EQ(back.find("view.zoom")->asDouble(), 1.5);
    EXPECT_EQ(back.find("list")->count(), 2);
    EXPECT_EQ(back.find("list")->child(1).kind(), Kind::String);
    EXPECT_EQ(back.find("none")->kind(), Kind::Null);
    ASSERT_TRUE(back.saveXml(folder.file("u.xml")));
    EXPECT_EQ(readFileText(folder.file("u.xml")), expected);
}

TEST(ValueXml, StringsAreEntityEncoded) {
    ValueNode tree;
    tree.member("s").setString("a<b & \"c\" it's");
    XmlElement root;
    tree.toXml(root);
    TempFolder folder;
    ASSERT_TRUE(tree.saveXml(folder.file("s.xml")));
    EXPECT_EQ(
        readFileText(folder.file("s.xml")),
        "<OBJECT>\r\n<STRING name=\"s\">a&lt;b &amp; &quot;c&quot; it's</STRING>\r\n</OBJECT>");
    ValueNode back;
    ASSERT_TRUE(back.loadXml(folder.file("s.xml")));
    EXPECT_EQ(back.find("s")->asString(), "a<b & \"c\" it's");
}

TEST(ValueXml, LoadingIgnoresCaseOfElementNamesButNotOfAttributes) {
    TempFolder folder;
    std::string path = folder.file("c.xml");
    writeFileText(path, "<object><int name=\"x\" val=\"5\"/><Int NAME=\"y\" val=\"6\"/></object>");
    ValueNode tree;
    ASSERT_TRUE(tree.loadXml(path));
    EXPECT_EQ(tree.find("x")->kind(), Kind::Int);
    EXPECT_EQ(tree.find("x")->asInt(), 5);
    EXPECT_EQ(tree.find("y"), nullptr);
    EXPECT_EQ(tree.find("")->asInt(), 6);  // no "name": the empty key
}

TEST(ValueXml, UnknownReferencesInNamesAreJustTheirCharacters) {
    // A name keeps "&x;" as five characters, written back as "&amp;x;": the
    // two spellings are one member, and the saved text loads to itself.
    ValueNode tree;
    ASSERT_TRUE(
        tree.loadXmlText("<OBJECT><INT name=\"a&x;\" val=\"1\"/>"
                         "<INT name=\"a&amp;x;\" val=\"2\"/>"
                         "<INT name=\"b&.c;\" val=\"3\"/></OBJECT>"));
    ASSERT_EQ(tree.count(), 2);
    EXPECT_EQ(tree.find("a&x;")->asInt(), 2);
    EXPECT_EQ(tree.find("b&.c;")->asInt(), 3);
    XmlElement root;
    tree.toXml(root);
    TempFolder folder;
    ASSERT_TRUE(tree.saveXml(folder.file("n.xml")));
    std::string saved = readFileText(folder.file("n.xml"));
    EXPECT_NE(saved.find("name=\"a&amp;x;\""), std::string::npos) << saved;
    ValueNode back;
    ASSERT_TRUE(back.loadXmlText(saved));
    ASSERT_TRUE(back.saveXml(folder.file("again.xml")));
    EXPECT_EQ(readFileText(folder.file("again.xml")), saved);
}

TEST(ValueXml, LoadingMapsEveryKind) {
    TempFolder folder;
    std::string path = folder.file("k.xml");
    writeFileText(
        path,
        "<OBJECT><!-- kept out -->text"
        "<DOUBLE name=\"d\" val=\"-0.25\"/>"
        "<STRING name=\"inner\">a<![CDATA[<b>]]>&amp;c</STRING>"
        "<STRING name=\"attr\" val=\"from val\">ignored</STRING>"
        "<ARRAY name=\"arr\">x<INT val=\"1\"/>y<NULL/><INT val=\"3\"/></ARRAY>"
        "<INT name=\"dup\" val=\"1\"/><INT name=\"other\" val=\"9\"/><INT name=\"dup\" val=\"2\"/>"
        "<WHAT name=\"unknown\"/>"
        "<INT name=\"a.b\" val=\"7\"/>"
        "</OBJECT>");
    ValueNode tree;
    ASSERT_TRUE(tree.loadXml(path));
    EXPECT_EQ(tree.find("d")->asDouble(), -0.25);
    EXPECT_EQ(tree.find("inner")->asString(), "a<b>&c");
    EXPECT_EQ(tree.find("attr")->asString(), "from val");
    ASSERT_EQ(tree.find("arr")->count(), 3);
    EXPECT_EQ(tree.find("arr")->child(2).asInt(), 3);
    EXPECT_EQ(tree.find("dup")->asInt(), 2);
    EXPECT_EQ(*tree.key(4), "dup");  // overwritten in its first position
    ASSERT_NE(tree.find("unknown"), nullptr);
    EXPECT_TRUE(tree.find("unknown")->isNull());
    EXPECT_EQ(tree.find("a.b")->asInt(), 7);
}

TEST(ValueXml, FilesThatDoNotStartWithAnElementLeaveTheTreeAlone) {
    TempFolder folder;
    ValueNode tree = settingsTree();
    std::string path = folder.file("bad.xml");
    for (std::string_view bytes :
         {std::string_view(" <OBJECT></OBJECT>"), std::string_view("\xEF\xBB\xBF<OBJECT/>"),
          std::string_view("<?xml version=\"1.0\"?><OBJECT/>"),
          std::string_view("<!-- c --><OBJECT/>"), std::string_view(""),
          std::string_view("</OBJECT>")}) {
        writeFileText(path, bytes);
        EXPECT_FALSE(tree.loadXml(path)) << bytes;
        EXPECT_EQ(tree.find("lastFile")->asString(), "C:\\pages\\a.wnk");
    }
    EXPECT_FALSE(tree.loadXml(folder.file("missing.xml")));
    EXPECT_FALSE(tree.loadXml(folder.file("")));
    EXPECT_EQ(tree.count(), 4);
    // An element the mapping does not know still loads (and changes nothing).
    writeFileText(path, "<settings/>");
    EXPECT_TRUE(tree.loadXml(path));
    EXPECT_EQ(tree.count(), 4);
}

TEST(ValueXml, GzipFilesAreReadThroughZlib) {
    TempFolder folder;
    std::string path = folder.file("config.xml.GZ");
    std::string xml = "<OBJECT><INT name=\"z\" val=\"3\"/></OBJECT>";
    ASSERT_TRUE(penwick::testing::writeGzipFile(path, xml));
    ValueNode tree;
    ASSERT_TRUE(tree.loadXml(path));
    EXPECT_EQ(tree.find("z")->asInt(), 3);
    // A gzip file cut short is refused.
    std::string whole = readFileText(path);
    writeFileText(path, whole.substr(0, whole.size() - 6));
    ValueNode other;
    other.setInt(1);
    EXPECT_FALSE(other.loadXml(path));
    EXPECT_EQ(other.asInt(), 1);
    // A plain file under a gz name reads as it is.
    writeFileText(path, xml);
    EXPECT_TRUE(other.loadXml(path));
    EXPECT_EQ(other.find("z")->asInt(), 3);
}

TEST(ValueXml, FailedSavesKeepTheOldFile) {
    TempFolder folder;
    std::string path = folder.file("config.xml");
    ASSERT_TRUE(settingsTree().saveXml(path));
    std::string before = readFileText(path);
    ValueNode changed = settingsTree();
    changed.member("smooth").setInt(1);
    std::string after = before;
    after.replace(after.find("val=\"0\""), 7, "val=\"1\"");
    for (int64_t n = 1;; ++n) {
        FailingFileSystem files(n, FailingFileSystem::Mode::Once);
        SaveResult result = changed.saveXml(path, files);
        if (result.ok) {
            EXPECT_NE(readFileText(path), before);
            break;
        }
        EXPECT_FALSE(result.error.empty());
        // A failure after the rename (flushing the folder) cannot take the
        // new file back; before it, the old file must be untouched.
        std::string now = readFileText(path);
        EXPECT_TRUE(now == before || now == after) << "failing operation " << n;
        if (now == after) {
            EXPECT_EQ(n, files.operationCount()) << "only the last operation";
        }
        ASSERT_LT(n, 100);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()),
                            fs::directory_iterator()),
              1);  // no temporary file left behind
    EXPECT_FALSE(settingsTree().saveXml(folder.file("no/such/folder/config.xml")));
}

TEST(ValueXml, DeepAndDottedInputStaysShallow) {
    TempFolder folder;
    std::string path = folder.file("deep.xml");
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "<OBJECT name=\"a.b.c\">";
    for (int i = 0; i < 50000; ++i)
        text += "</OBJECT>";
    writeFileText(path, text);
    ValueNode tree;
    ASSERT_TRUE(tree.loadXml(path));
    int depth = 0;
    for (const ValueNode* n = &tree; n->kind() == Kind::Object && n->count() > 0;
         n = &const_cast<ValueNode*>(n)->child(0)) {
        ++depth;
    }
    EXPECT_GT(depth, 100);
    EXPECT_LT(depth, XmlReader::kMaxDepth);
    std::string dotted = "<OBJECT><INT val=\"1\" name=\"";
    for (int i = 0; i < 100000; ++i)
        dotted += "k.";
    dotted += "k\"/><INT val=\"2\" name=\"flat\"/></OBJECT>";
    writeFileText(path, dotted);
    ASSERT_TRUE(tree.loadXml(path));
    EXPECT_EQ(tree.count(), 1);  // the over-deep member is dropped
    EXPECT_EQ(tree.find("flat")->asInt(), 2);
}

TEST(ValueXml, XmllintReadsTheSameNamesAndValues) {
    if (std::system("xmllint --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xmllint";
    TempFolder folder;
    std::string path = folder.file("config.xml");
    ValueNode tree = settingsTree();
    tree.member("title").setString("caf\xC3\xA9 <&> \"q\" 'a' \xC2\xA0\xC2\xA9");
    tree.member("odd key <&>").setInt(-5);
    tree.member("nested.ratio").setDouble(0.995);
    tree.member("nested.list").element(2).setInt(7);
    ASSERT_TRUE(tree.saveXml(path));
    EXPECT_EQ(runCommand("xmllint --noout '" + path + "' 2>&1"), "");
    auto xpath = [&](const std::string& expression) {
        std::string out = runCommand("xmllint --xpath '" + expression + "' '" + path + "' 2>&1");
        if (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    };
    EXPECT_EQ(xpath("string(/OBJECT/STRING[@name=\"lastFile\"])"), "C:\\pages\\a.wnk");
    EXPECT_EQ(xpath("string(/OBJECT/STRING[@name=\"title\"])"),
              "caf\xC3\xA9 <&> \"q\" 'a' \xC2\xA0\xC2\xA9");
    EXPECT_EQ(xpath("string(/OBJECT/INT[@name=\"odd key <&>\"]/@val)"), "-5");
    EXPECT_EQ(xpath("string(/OBJECT/INT[@name=\"usePressure\"]/@val)"), "1");
    EXPECT_EQ(xpath("string(/OBJECT/OBJECT[@name=\"nested\"]/DOUBLE[@name=\"ratio\"]/@val)"),
              "0.995");
    EXPECT_EQ(xpath("string(/OBJECT/OBJECT[@name=\"nested\"]/ARRAY[@name=\"list\"]/INT[1]/@val)"),
              "7");
    EXPECT_EQ(xpath("count(/OBJECT/*)"), "7");
}
