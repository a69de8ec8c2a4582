// XML that nobody here wrote, installed by other packages: each file reads,
// writes back, and a real parser (xmllint) sees the same document in both,
// compared in canonical form.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/value/xml_file.h"
#include "framework/value/xml_node.h"
#include "tests/support/temp_folder.h"

using namespace penwick;
namespace fs = std::filesystem;

namespace {

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return "(popen failed)";
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    if (pclose(pipe) != 0) out = "(failed) " + out;
    return out;
}

// A document type named by a relative path is looked for in `dtdFolder`,
// so that the copy gets the same attribute defaults as the original.
std::string canonical(const std::string& path, const std::string& dtdFolder) {
    return run("xmllint --nonet --path '" + dtdFolder + "' --c14n '" + path + "' 2>/dev/null");
}

std::vector<std::string> installedXml() {
    std::vector<std::string> files;
    auto add = [&files](const fs::path& path) {
        std::error_code error;
        if (fs::is_regular_file(path, error)) files.push_back(path.string());
    };
    add("/usr/share/mime/packages/freedesktop.org.xml");
    for (const char* folder : {"/usr/share/fontconfig/conf.avail", "/usr/share/metainfo",
                               "/usr/share/X11/xkb/rules", "/usr/share/djvu/osi/en"}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error))
            add(entry.path());
    }
    return files;
}

}  // namespace

TEST(RealXml, InstalledFilesReadWriteBackAndCanonicaliseTheSame) {
    if (std::system("xmllint --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xmllint";
    std::vector<std::string> files = installedXml();
    if (files.empty()) GTEST_SKIP() << "no XML installed under /usr/share";
    TempFolder scratch;
    const fs::path& out = scratch.path();
    int compared = 0;
    for (const std::string& file : files) {
        std::string folder = fs::path(file).parent_path().string();
        std::string original = canonical(file, folder);
        if (original.starts_with("(failed)")) continue;  // not well-formed to begin with
        XmlElement document("");
        ASSERT_TRUE(loadXmlDocument(file, document)) << file;
        std::string copy = (out / fs::path(file).filename()).string();
        ASSERT_TRUE(saveXmlDocument(copy, document)) << file;
        std::string again = canonical(copy, folder);
        EXPECT_TRUE(again == original) << file << " differs in canonical form";
        ++compared;
    }
    EXPECT_GT(compared, 0);
    std::printf("compared %d installed XML files in canonical form\n", compared);
}
