#include "host/window_table.h"

#include <gtest/gtest.h>

#include "host/window_style.h"

namespace {

using namespace host;

TEST(WindowTable, DefaultPlacementOnlyForTopLevelWindows) {
    CreateRequest top;
    top.x = top.y = CW_USEDEFAULT;
    top.width = top.height = CW_USEDEFAULT;
    EXPECT_EQ(requestedWindowRect(top), (Rect{40, 40, 840, 640}));

    CreateRequest child = top;
    child.style = WS_CHILD;
    EXPECT_EQ(requestedWindowRect(child), (Rect{0, 0, 0, 0}));

    // A negative size is an empty window where it was asked for.
    CreateRequest odd;
    odd.x = 5;
    odd.y = 6;
    odd.width = -3;
    odd.height = 10;
    EXPECT_EQ(requestedWindowRect(odd), (Rect{5, 6, 5, 16}));
}

TEST(WindowTable, DestroyedRecordsKeepTheirHandlesInvalid) {
    WindowTable<WindowBasics> table;
    auto record = std::make_unique<WindowBasics>();
    record->handle = table.newHandle();
    record->id = 7;
    const Window window = record->handle;
    table.add(std::move(record));
    EXPECT_EQ(table.id(window), 7);
    EXPECT_NE(table.newHandle(), window);

    table.find(window)->dead = true;
    EXPECT_EQ(table.find(window), nullptr);
    EXPECT_EQ(table.id(window), 0);
    EXPECT_EQ(table.send(window, 0, 0, 0), 0);
}

}  // namespace
