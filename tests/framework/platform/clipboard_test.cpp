#include "framework/platform/clipboard.h"

#include "host_fixture.h"
#include "model/memory_stream.h"

namespace penwick {
namespace {

using testing::HostFixture;
using ClipboardTest = HostFixture;

std::vector<std::uint8_t> rawPayload(host::headless::HeadlessHost& h) {
    h.openClipboard(host::kNoWindow);
    auto bytes = h.clipboardData(host::kBinaryClipboardFormat);
    h.closeClipboard();
    return bytes.value_or(std::vector<std::uint8_t>{0xEE});
}

TEST_F(ClipboardTest, BinaryPayloadIsCountThenBytesAndRoundTrips) {
    const std::uint8_t data[] = {1, 2, 3, 0, 255};
    ASSERT_TRUE(putBinary(data, 5));
    EXPECT_EQ(rawPayload(host_), (std::vector<std::uint8_t>{5, 0, 0, 0, 1, 2, 3, 0, 255}));
    MemoryStream out;
    ASSERT_TRUE(getBinary(out));
    ASSERT_EQ(out.size(), 5);
    EXPECT_EQ(std::vector<std::uint8_t>(out.data(), out.data() + 5),
              std::vector<std::uint8_t>(data, data + 5));
}

TEST_F(ClipboardTest, ZeroBytePayloadIsFourBytesHoldingZero) {
    ASSERT_TRUE(putBinary(nullptr, 0));
    EXPECT_EQ(rawPayload(host_), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    MemoryStream out;
    EXPECT_TRUE(getBinary(out));
    EXPECT_EQ(out.size(), 0);
}

TEST_F(ClipboardTest, ForeignOrTruncatedPayloadsAreRefused) {
    MemoryStream out;
    EXPECT_FALSE(getBinary(out));  // nothing there
    for (std::vector<std::uint8_t> bad :
         {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{1, 0},
          std::vector<std::uint8_t>{9, 0, 0, 0, 1, 2},
          std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}}) {
        host_.openClipboard(host::kNoWindow);
        host_.setClipboardData(host::kBinaryClipboardFormat, bad);
        host_.closeClipboard();
        EXPECT_FALSE(getBinary(out)) << bad.size() << " bytes";
        EXPECT_EQ(out.size(), 0);
    }
}

TEST_F(ClipboardTest, TextEmptiesTheClipboardButBinaryKeepsOtherFormats) {
    ASSERT_TRUE(putText("hello"));
    const std::uint8_t one = 7;
    ASSERT_TRUE(putBinary(&one, 1));
    EXPECT_EQ(host_.clipboardText().value_or(""), "hello");  // binary left the text alone
    ASSERT_TRUE(putText("again"));
    EXPECT_FALSE(host_.isClipboardFormatAvailable(host::kBinaryClipboardFormat));
    EXPECT_EQ(host_.clipboardText().value_or(""), "again");
    // A named format gets the text with its terminator.
    ASSERT_TRUE(putText("ab", "text/x-penwick"));
    host_.openClipboard(host::kNoWindow);
    EXPECT_EQ(host_.clipboardData("text/x-penwick").value_or(std::vector<std::uint8_t>{}),
              (std::vector<std::uint8_t>{'a', 'b', 0}));
    host_.closeClipboard();
}

TEST_F(ClipboardTest, BusyClipboardFailsWithoutChange) {
    host_.setClipboardBusy(true);
    const std::uint8_t one = 7;
    EXPECT_FALSE(putBinary(&one, 1));
    EXPECT_FALSE(putText("x"));
    host_.setClipboardBusy(false);
    EXPECT_FALSE(host_.isClipboardFormatAvailable(host::kBinaryClipboardFormat));
}

}  // namespace
}  // namespace penwick
