#include "framework/platform/folder_listing.h"

#include <filesystem>

#include "host_fixture.h"

namespace penwick {
namespace {

using testing::HostFixture;

class FolderListingTest : public HostFixture {
  protected:
    FolderListingTest() {
        std::filesystem::create_directories(root_ / "book" / "sub.wnk");  // a folder
        for (const char* name : {"page10.wnk", "page2.wnk", "Page1.wnk", "#first.wnk", "note.txt"})
            touch(std::string("book/") + name);
        book_ = path("book") + "/";
    }
    std::string book_;
};

TEST_F(FolderListingTest, ListFilesMatchesThePatternWithoutRegardToCase) {
    std::vector<FileEntry> all = listFiles(book_ + "*.WNK");
    ASSERT_EQ(all.size(), 5u);
    int folders = 0;
    for (const FileEntry& e : all)
        folders += e.isFolder ? 1 : 0;
    EXPECT_EQ(folders, 1);
    EXPECT_TRUE(listFiles(path("missing") + "/*").empty());
}

TEST_F(FolderListingTest, NthFileCountsFilesFromEitherEnd) {
    // Byte order of names: "#first", "Page1", "page10", "page2".
    EXPECT_EQ(nthFile(book_ + "*.wnk", 0).view(), book_ + "#first.wnk");
    EXPECT_EQ(nthFile(book_ + "*.wnk", -1).view(), book_ + "page2.wnk");
    EXPECT_EQ(nthFile(book_ + "*.wnk", 4).view(), "");
    EXPECT_EQ(nthFile(book_ + "*.wnk", -5).view(), "");
}

TEST_F(FolderListingTest, NeighbourFilePagesInNaturalOrderSymbolsFirst) {
    // Natural order: #first, Page1, page2, page10.
    EXPECT_EQ(neighbourFile(book_ + "Page1.wnk", 1, false, false).view(), book_ + "page2.wnk");
    EXPECT_EQ(neighbourFile(book_ + "page2.wnk", 1, false, false).view(), book_ + "page10.wnk");
    EXPECT_EQ(neighbourFile(book_ + "PAGE1.WNK", -1, false, false).view(), book_ + "#first.wnk");
    // Past the last page: nothing, the page itself, or round to the first.
    EXPECT_EQ(neighbourFile(book_ + "page10.wnk", 1, false, false).view(), "");
    EXPECT_EQ(neighbourFile(book_ + "page10.wnk", 1, false, true).view(), book_ + "page10.wnk");
    EXPECT_EQ(neighbourFile(book_ + "page10.wnk", 1, true, false).view(), book_ + "#first.wnk");
    EXPECT_EQ(neighbourFile(book_ + "#first.wnk", -1, true, false).view(), book_ + "page10.wnk");
    EXPECT_EQ(neighbourFile(book_ + "#first.wnk", -6, true, false).view(), book_ + "page2.wnk");
    // A page not in the folder enters it at the end or the start.
    EXPECT_EQ(neighbourFile(book_ + "-.wnk", -1, false, false).view(), book_ + "page10.wnk");
    EXPECT_EQ(neighbourFile(book_ + "-.wnk", 1, false, false).view(), book_ + "#first.wnk");
}

TEST_F(FolderListingTest, NeighbourFileWithOneOrNoFiles) {
    std::filesystem::create_directories(root_ / "one");
    touch("one/only.wnk");
    std::string only = path("one") + "/only.wnk";
    EXPECT_EQ(neighbourFile(only, 1, true, false).view(), "");
    EXPECT_EQ(neighbourFile(only, 1, true, true).view(), only);
    // From an unsaved page the one page is still reachable.
    EXPECT_EQ(neighbourFile(path("one") + "/-.wnk", 1, false, false).view(), only);
    EXPECT_EQ(neighbourFile(path("empty") + "/-.wnk", 1, false, true).view(),
              path("empty") + "/-.wnk");
}

}  // namespace
}  // namespace penwick
