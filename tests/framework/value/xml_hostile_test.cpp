// Damaged and arbitrary input to the XML reader, the settings mapping and
// the number readers: the stored fuzz corpora are replayed through the same
// property checks as the fuzz targets, and every prefix and byte change of
// a few valid files is checked the same way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz/settings_checks.h"
#include "fuzz/xml_checks.h"

using namespace penwick;
namespace fs = std::filesystem;

namespace {

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

template <typename Check>
int replayCorpus(const std::string& name, Check check) {
    fs::path folder = fs::path(PENWICK_SOURCE_DIR) / "fuzz" / "corpus" / name;
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string bytes = bytesOf(entry.path());
        EXPECT_EQ(check(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "")
            << entry.path();
        ++files;
    }
    return files;
}

}  // namespace

TEST(XmlHostile, StoredCorporaKeepTheirProperties) {
    EXPECT_GT(replayCorpus("xml_fuzzer", checks::checkXml), 0);
    EXPECT_GT(replayCorpus("number_fuzzer", checks::checkNumbers), 0);
    EXPECT_GT(replayCorpus("settings_fuzzer", checks::checkSettingsApi), 0);
}

TEST(XmlHostile, EveryPrefixAndByteChangeOfASettingsFile) {
    const std::string valid =
        "<OBJECT>\r\n<INT val=\"1\" name=\"autoSave\"/>\r\n<DOUBLE val=\"0.5\" name=\"d\"/>\r\n"
        "<STRING name=\"lastFile\">C:\\a &amp; b\xC3\xA9</STRING>\r\n"
        "<ARRAY name=\"l\">\r\n <NULL/>\r\n </ARRAY>\r\n<!-- c --></OBJECT>";
    auto data = [](const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); };
    for (size_t length = 0; length <= valid.size(); ++length) {
        ASSERT_EQ(checks::checkXml(data(valid), length), "") << "cut to " << length;
    }
    for (size_t offset = 0; offset < valid.size(); ++offset) {
        for (unsigned char flip : {0x01, 0x20, 0x80, 0xFF}) {
            std::string changed = valid;
            changed[offset] = char(changed[offset] ^ flip);
            ASSERT_EQ(checks::checkXml(data(changed), changed.size()), "")
                << "byte " << offset << " ^ " << int(flip);
        }
    }
}
