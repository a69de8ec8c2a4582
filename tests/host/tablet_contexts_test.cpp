#include "host/tablet_contexts.h"

#include <gtest/gtest.h>

namespace {

using namespace host;

TEST(TabletContexts, KeepOnlyTheNewestPacketsOfEnabledContexts) {
    TabletContexts tablets;
    const Window window{0x100};
    const TabletContext pen{0x1000};
    tablets.open(pen, window);
    EXPECT_EQ(tablets.window(pen), window);
    EXPECT_EQ(tablets.enabledFor(window), pen);

    WParam first = tablets.add(pen, {1, 1, 10, 20, 300});
    WParam last = 0;
    for (std::uint32_t i = 0; i < TabletContexts::kKeptPackets; ++i)
        last = tablets.add(pen, {2 + i, 1, i, i, 0});
    TabletPacket p;
    EXPECT_FALSE(tablets.packet(pen, first, p));  // pushed out of the ring
    ASSERT_TRUE(tablets.packet(pen, last, p));
    EXPECT_EQ(p.time, 1 + TabletContexts::kKeptPackets);

    // A disabled context, or one of a window that went, takes nothing.
    tablets.enable(pen, false);
    EXPECT_EQ(tablets.add(pen, {}), 0u);
    EXPECT_EQ(tablets.enabledFor(window), kNoTablet);
    tablets.enable(pen, true);
    tablets.disableFor(window);
    EXPECT_EQ(tablets.add(pen, {}), 0u);

    tablets.close(pen);
    EXPECT_FALSE(tablets.packet(pen, last, p));
    EXPECT_EQ(tablets.window(pen), kNoWindow);
    EXPECT_EQ(tablets.add(TabletContext{0x2000}, {}), 0u);
}

}  // namespace
