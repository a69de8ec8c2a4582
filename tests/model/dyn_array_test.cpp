#include "model/dyn_array.h"

#include <string>

#include <gtest/gtest.h>

using namespace penwick;

TEST(DynArray, GrowthRule) {
    EXPECT_EQ(DynArray<int>::grownCapacity(1), 1);
    EXPECT_EQ(DynArray<int>::grownCapacity(3), 3);
    EXPECT_EQ(DynArray<int>::grownCapacity(4), 5);
    EXPECT_EQ(DynArray<int>::grownCapacity(1048579), 1048579 + 262144);
    EXPECT_EQ(DynArray<int>::grownCapacity(1048580), 1048580 + 262144);
    {
        DynArray<char> a;
        a.resize(2000000);
        EXPECT_EQ(a.capacity(), 2262144);
    }
    {
        DynArray<int> a;
        a.resize(3);
        EXPECT_EQ(a.capacity(), 3);
        a.append(1);  // a request for 4 grows to 5
        EXPECT_EQ(a.capacity(), 5);
        a.append(2);
        EXPECT_EQ(a.capacity(), 5);
        a.append(3);  // 6 grows to 7
        EXPECT_EQ(a.capacity(), 7);
    }
    {
        DynArray<int> a;  // appending one at a time
        const int expected[] = {1, 2, 3, 5, 5, 7, 7, 10, 10, 10, 13};
        for (int i = 0; i < 11; ++i) {
            a.append(i);
            EXPECT_EQ(a.capacity(), expected[i]) << "after " << i + 1;
        }
    }
}

TEST(DynArray, ShrinkingKeepsTheBufferClearReleasesIt) {
    DynArray<int> a;
    a.resize(100);
    EXPECT_EQ(a.capacity(), 125);
    a.resize(10);
    EXPECT_EQ(a.count(), 10);
    EXPECT_EQ(a.capacity(), 125);
    a.removeAt(0, 5);
    EXPECT_EQ(a.capacity(), 125);
    a.clear();
    EXPECT_EQ(a.count(), 0);
    EXPECT_EQ(a.capacity(), 0);
    EXPECT_EQ(DynArray<int>().capacity(), 0);
}

TEST(DynArray, AtGrowsAndRegrownSlotsAreEmpty) {
    DynArray<DynArray<std::string>> a;
    a.at(2).append("third");
    EXPECT_EQ(a.count(), 3);
    EXPECT_TRUE(a[0].isEmpty());
    a.resize(1);  // the third falls out of use
    a.resize(3);
    EXPECT_TRUE(a[2].isEmpty());
    a[0].append("x");
    a.removeAt(0, 1);
    a.resize(3);
    EXPECT_TRUE(a[2].isEmpty());
    EXPECT_EQ(a.append(DynArray<std::string>()), 3);
}

TEST(DynArray, RemoveAt) {
    auto make = [] {
        DynArray<int> a;
        for (int i = 0; i < 6; ++i)
            a.append(i);
        return a;
    };
    {
        DynArray<int> a = make();
        a.removeAt(1, 2);
        ASSERT_EQ(a.count(), 4);
        EXPECT_EQ(a[0], 0);
        EXPECT_EQ(a[1], 3);
        EXPECT_EQ(a[3], 5);
    }
    {  // reaching the end truncates
        DynArray<int> a = make();
        a.removeAt(4, 2);
        EXPECT_EQ(a.count(), 4);
        a.removeAt(2, 100);
        EXPECT_EQ(a.count(), 2);
    }
    {  // n = 0 in the middle removes nothing; at the end it truncates to i
        DynArray<int> a = make();
        a.removeAt(2, 0);
        EXPECT_EQ(a.count(), 6);
        a.removeAt(6, 0);
        EXPECT_EQ(a.count(), 6);
        a.removeAt(9, 1);
        EXPECT_EQ(a.count(), 6);
    }
    {
        DynArray<int> a = make();
        a.insertAt(2, 42);
        a.insertAt(100, 7);
        ASSERT_EQ(a.count(), 8);
        EXPECT_EQ(a[2], 42);
        EXPECT_EQ(a[3], 2);
        EXPECT_EQ(a[7], 7);
    }
}

TEST(DynArray, CopiesAreDeep) {
    DynArray<DynArray<int>> a;
    a.at(0).append(1);
    DynArray<DynArray<int>> b = a;
    b[0][0] = 99;
    b[0].append(2);
    EXPECT_EQ(a[0][0], 1);
    EXPECT_EQ(a[0].count(), 1);
    a = b;
    b[0][1] = 5;
    EXPECT_EQ(a[0][1], 2);
    for (int i = 0; i < 6; ++i)
        a.append(a[0]);  // appending an element of the array itself
    EXPECT_EQ(a.count(), 7);
    EXPECT_EQ(a[6][1], 2);
}
