// The shared shape list against a plain vector: random edits with a fixed
// seed, across chunk boundaries, while copies taken along the way must keep
// what they held.
#include "model/shape_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace penwick;

namespace {

// Shapes are told apart by their colour.
Shape tagged(int32_t tag) {
    Shape s;
    s.colour = tag;
    addPoint(s.groups, tag, 0, 1);
    return s;
}

std::vector<int32_t> tagsOf(const ShapeList& list) {
    std::vector<int32_t> tags;
    for (const Shape& s : list)
        tags.push_back(s.colour);
    // Iteration and indexing agree.
    for (int32_t i = 0; i < list.count(); ++i)
        EXPECT_EQ(list[i].colour, tags[size_t(i)]);
    return tags;
}

}  // namespace

TEST(ShapeList, RandomEditsMatchAPlainVectorAndSpareEveryCopy) {
    std::mt19937 random(0x5EED);
    auto below = [&random](int32_t n) {
        return n <= 0 ? 0 : int32_t(std::uniform_int_distribution<int32_t>(0, n - 1)(random));
    };
    ShapeList list;
    std::vector<int32_t> expected;
    std::vector<std::pair<ShapeList, std::vector<int32_t>>> copies;
    int32_t nextTag = 0;
    std::string trail;  // the operations so far, printed on failure

    for (int step = 0; step < 3000; ++step) {
        const int32_t n = list.count();
        const int32_t i = below(n + 1);
        switch (below(11)) {
            case 0:
            case 1:
                trail += "append ";
                list.append(tagged(nextTag));
                expected.push_back(nextTag++);
                break;
            case 2:
                trail += "insertAt(" + std::to_string(i) + ") ";
                list.insertAt(i, tagged(nextTag));
                expected.insert(expected.begin() + std::min<int32_t>(i, n), nextTag++);
                break;
            case 3: {
                const int32_t k = below(70);
                trail += "insertAll(" + std::to_string(i) + ", " + std::to_string(k) + ") ";
                DynArray<Shape> more;
                std::vector<int32_t> tags;
                for (int32_t j = 0; j < k; ++j) {
                    more.append(tagged(nextTag));
                    tags.push_back(nextTag++);
                }
                list.insertAll(i, std::move(more));
                expected.insert(expected.begin() + std::min<int32_t>(i, n), tags.begin(),
                                tags.end());
                break;
            }
            case 4: {
                const int32_t k = below(80);
                trail += "removeAt(" + std::to_string(i) + ", " + std::to_string(k) + ") ";
                list.removeAt(i, k);
                if (i < n)
                    expected.erase(expected.begin() + i, expected.begin() + std::min(n, i + k));
                break;
            }
            case 5: {
                const int32_t r = below(13);
                trail += "removeIf(" + std::to_string(r) + ") ";
                auto hit = [r](int32_t tag) { return tag % 13 == r; };
                const int32_t removed =
                    list.removeIf([&](const Shape& s) { return hit(s.colour); });
                const auto end = std::remove_if(expected.begin(), expected.end(), hit);
                EXPECT_EQ(removed, expected.end() - end);
                expected.erase(end, expected.end());
                break;
            }
            case 6:
                if (n == 0) break;
                trail += "take(" + std::to_string(i % n) + ") ";
                EXPECT_EQ(list.take(i % n).colour, expected[size_t(i % n)]);
                expected.erase(expected.begin() + i % n);
                break;
            case 7:
            case 8:
                if (n == 0) break;
                trail += "edit(" + std::to_string(i % n) + ") ";
                list.edit(i % n).colour = nextTag;
                expected[size_t(i % n)] = nextTag++;
                break;
            case 9:
                trail += "copy ";
                if (copies.size() == 6) copies.erase(copies.begin() + below(6));
                copies.emplace_back(list, expected);
                break;
            case 10:
                if (below(20) != 0) break;
                if (below(2) == 0) {
                    trail += "clear ";
                    list.clear();
                    expected.clear();
                } else {
                    trail += "assign ";
                    DynArray<Shape> fresh;
                    fresh.append(tagged(nextTag));
                    list = std::move(fresh);
                    expected.assign(1, nextTag++);
                }
                break;
        }
        ASSERT_EQ(tagsOf(list), expected) << trail;
        for (const auto& [copy, tags] : copies)
            ASSERT_EQ(tagsOf(copy), tags) << trail;
    }
    EXPECT_GT(nextTag, 1000);
}

TEST(ShapeList, CopiesShareUntilWrittenAndReadingNeverCopies) {
    ShapeList list;
    for (int32_t i = 0; i < 200; ++i)
        list.append(tagged(i));
    const ShapeList copy = list;
    auto same = [&](int32_t i) { return &std::as_const(list)[i] == &copy[i]; };
    for (int32_t i = 0; i < 200; ++i)
        EXPECT_TRUE(same(i));

    int32_t sum = 0;
    for (const Shape& s : list)  // const iteration on a non-const list
        sum += s.colour;
    EXPECT_EQ(sum, 199 * 200 / 2);
    EXPECT_TRUE(same(130));

    list.edit(130).colour = -5;
    EXPECT_FALSE(same(130));
    EXPECT_EQ(copy[130].colour, 130);
    for (int32_t i = 0; i < 200; ++i) {
        if (i != 130) {
            EXPECT_TRUE(same(i)) << i;
        }
    }
    // Once this list holds its own copy, writing again copies nothing.
    const Shape* own = &list.edit(130);
    EXPECT_EQ(&list.edit(130), own);
}
