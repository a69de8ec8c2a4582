#include "framework/value/value_node.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace penwick;
using Kind = ValueNode::Kind;

TEST(ValueNode, MemberPathsCreateObjectsOnTheWay) {
    ValueNode root;
    ValueNode& c = root.member("a.b.c");
    EXPECT_TRUE(c.isNull());
    EXPECT_EQ(root.kind(), Kind::Object);
    ASSERT_NE(root.find("a"), nullptr);
    EXPECT_EQ(root.find("a")->kind(), Kind::Object);
    EXPECT_EQ(root.find("a.b")->kind(), Kind::Object);
    EXPECT_EQ(root.find("a.b.c"), &c);
    // find creates nothing.
    EXPECT_EQ(root.find("a.x"), nullptr);
    EXPECT_EQ(root.find("a")->count(), 1);
    EXPECT_EQ(root.find("q.r"), nullptr);
    EXPECT_EQ(root.count(), 1);
}

TEST(ValueNode, PathSplitting) {
    ValueNode root;
    root.member(".hidden.x").setInt(1);  // starts with ".": one whole key
    EXPECT_EQ(*root.key(0), ".hidden.x");
    root.member("a..b").setInt(2);  // "a", then ".b" whole
    EXPECT_EQ(root.find("a")->find(".b")->asInt(), 2);
    root.member("t.").setInt(3);  // the empty key under t
    EXPECT_EQ(*root.find("t")->key(0), "");
    // Segments of any length, with no fixed buffer behind them.
    std::string longKey(5000, 'k');
    root.member(longKey + ".leaf").setInt(4);
    EXPECT_EQ(root.find(longKey + ".leaf")->asInt(), 4);
    EXPECT_EQ(root.find(longKey)->kind(), Kind::Object);
    EXPECT_EQ(root.find(std::string(4999, 'k') + ".leaf"), nullptr);
}

TEST(ValueNode, KeysAreCaseSensitiveAndKeepInsertionOrder) {
    ValueNode root;
    root.member("b").setInt(1);
    root.member("a").setInt(2);
    root.member("B").setInt(3);
    root.member("a").setInt(4);  // the existing member
    ASSERT_EQ(root.count(), 3);
    EXPECT_EQ(*root.key(0), "b");
    EXPECT_EQ(*root.key(1), "a");
    EXPECT_EQ(*root.key(2), "B");
    EXPECT_EQ(root.child(1).asInt(), 4);
    EXPECT_EQ(root.key(3), nullptr);
    EXPECT_EQ(root.key(-1), nullptr);
}

TEST(ValueNode, LargeObjectsStayUniqueAndOrdered) {
    // Past the size where the hash index takes over.
    ValueNode root;
    for (int i = 0; i < 1000; ++i)
        root.member("k" + std::to_string(i)).setInt(i);
    for (int i = 0; i < 1000; i += 7)
        root.member("k" + std::to_string(i)).setInt(-i);
    ASSERT_EQ(root.count(), 1000);
    EXPECT_EQ(*root.key(500), "k500");
    EXPECT_EQ(root.find("k497")->asInt(), -497);
    EXPECT_EQ(root.find("k498")->asInt(), 498);
    ValueNode copy(root);  // the copy finds its own members
    copy.member("k1").setInt(77);
    EXPECT_EQ(copy.find("k1")->asInt(), 77);
    EXPECT_EQ(root.find("k1")->asInt(), 1);
    EXPECT_EQ(copy.count(), 1000);
}

TEST(ValueNode, ImpossiblePathsReachTheScratchNode) {
    ValueNode number;
    number.setInt(7);
    ValueNode& lost = number.member("x");
    EXPECT_EQ(&lost, &ValueNode::scratch());
    lost.setInt(99);
    EXPECT_EQ(number.kind(), Kind::Int);
    EXPECT_EQ(number.asInt(), 7);
    // Handed out again, the scratch node is NULL.
    EXPECT_TRUE(number.member("y.z").isNull());
    EXPECT_EQ(&number.element(0), &ValueNode::scratch());
    EXPECT_EQ(&number.child(0), &ValueNode::scratch());
    ValueNode text;
    text.setString("s");
    EXPECT_EQ(&text.member("a"), &ValueNode::scratch());
    EXPECT_EQ(text.asString(), "s");
}

TEST(ValueNode, ElementsGrowArraysAndIndexObjects) {
    ValueNode list;
    list.element(3).setInt(5);
    EXPECT_EQ(list.kind(), Kind::Array);
    ASSERT_EQ(list.count(), 4);
    EXPECT_TRUE(list.child(0).isNull());
    EXPECT_EQ(list.child(3).asInt(), 5);
    EXPECT_EQ(&list.element(-1), &ValueNode::scratch());
    EXPECT_EQ(&list.child(4), &ValueNode::scratch());
    ValueNode object;
    object.member("a").setInt(1);
    EXPECT_EQ(object.element(0).asInt(), 1);
    EXPECT_EQ(&object.element(1), &ValueNode::scratch());
    ValueNode made;
    made.makeArray(3);
    EXPECT_EQ(made.count(), 3);
    made.makeArray(-2);
    EXPECT_EQ(made.count(), 0);
}

TEST(ValueNode, Conversions) {
    ValueNode v;
    v.setDouble(-2.7);
    EXPECT_EQ(v.asInt(), -2);
    EXPECT_EQ(v.asString(), "");
    EXPECT_TRUE(v.asBool());
    EXPECT_EQ(v.count(), 1);
    v.setDouble(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(v.asBool());
    EXPECT_EQ(v.asInt(), 0);
    v.setDouble(1e20);
    EXPECT_EQ(v.asInt(), INT32_MAX);
    v.setInt(12);
    EXPECT_EQ(v.asString(), "");
    EXPECT_EQ(v.asDouble(), 12.0);
    v.setString("0");
    EXPECT_TRUE(v.asBool());
    v.setString("  -42abc");
    EXPECT_EQ(v.asInt(), -42);
    EXPECT_EQ(v.count(), 8);
    v.setString("2.5e1 rest");
    EXPECT_EQ(v.asDouble(), 25.0);
    EXPECT_EQ(v.asInt(), 2);
    v.setString("");
    EXPECT_FALSE(v.asBool());
    v.setString(v.asString().view());  // setting from its own text
    EXPECT_EQ(v.asString(), "");
    v.clear();
    EXPECT_EQ(v.count(), 0);
    EXPECT_FALSE(v.asBool());
    EXPECT_EQ(v.asDouble(), 0.0);
}

TEST(ValueNode, CopiesAreDeep) {
    ValueNode a;
    a.member("list").element(1).setString("x");
    ValueNode b(a);
    b.member("list").element(1).setString("y");
    EXPECT_EQ(a.find("list")->child(1).asString(), "x");
    EXPECT_EQ(b.find("list")->child(1).asString(), "y");
    a = b;
    EXPECT_EQ(a.find("list")->child(1).asString(), "y");
}
