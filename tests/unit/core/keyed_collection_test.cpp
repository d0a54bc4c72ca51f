#include "core/keyed_collection.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

struct Item {
  std::string Key;
  int value = 0;
};

std::vector<std::string> Keys(const KeyedCollection<Item>& c) {
  std::vector<std::string> keys;
  for (const auto& item : c) keys.push_back(item.Key);
  return keys;
}

TEST(KeyedCollection, KeepsInsertionOrderAndFindsByPositionOrKeyIgnoringCase) {
  KeyedCollection<Item> c;
  c.Add("b")->value = 2;
  c.Add("A")->value = 1;
  c.Add("3")->value = 3;
  EXPECT_EQ(Keys(c), (std::vector<std::string>{"b", "A", "3"}));
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(c.At(1)->value, 2);
  EXPECT_EQ(c.At(3)->value, 3);
  EXPECT_EQ(c.At(0), nullptr);
  EXPECT_EQ(c.At(4), nullptr);
  EXPECT_EQ(c.Find("a")->value, 1);
  EXPECT_EQ(c.Find("B")->value, 2);
  EXPECT_EQ(c.Find("c"), nullptr);
  EXPECT_EQ(c.PositionOf("a"), 2);
  EXPECT_EQ(c.PositionOf("zz"), 0);
}

TEST(KeyedCollection, RefusesDuplicateKeysButDistinguishesLeadingZeros) {
  KeyedCollection<Item> c;
  ASSERT_NE(c.Add("Key"), nullptr);
  EXPECT_EQ(c.Add("KEY"), nullptr);
  EXPECT_EQ(c.Count(), 1);
  ASSERT_NE(c.Add("1"), nullptr);
  EXPECT_NE(c.Add("01"), nullptr);
  EXPECT_EQ(c.Count(), 3);
}

TEST(KeyedCollection, RemoveShiftsLaterPositionsAndFreesTheKey) {
  KeyedCollection<Item> c;
  for (auto k : {"1", "2", "3", "4"}) c.Add(k);
  Item* four = c.Find("4");
  EXPECT_TRUE(c.Remove("2"));
  EXPECT_EQ(Keys(c), (std::vector<std::string>{"1", "3", "4"}));
  EXPECT_EQ(c.At(2)->Key, "3");
  EXPECT_EQ(c.Find("4"), four);  // other elements stay where they are in memory
  EXPECT_FALSE(c.Remove("2"));
  EXPECT_TRUE(c.RemoveAt(1));
  EXPECT_FALSE(c.RemoveAt(3));
  EXPECT_EQ(Keys(c), (std::vector<std::string>{"3", "4"}));
  EXPECT_NE(c.Add("2"), nullptr);
}

TEST(KeyedCollection, NextKeyStartsAboveTheCountAndSkipsUsedKeys) {
  KeyedCollection<Item> c;
  EXPECT_EQ(c.NextKey(), "1");
  c.Add("1");
  c.Add("5");
  EXPECT_EQ(c.NextKey(), "3");
  c.Clear();
  c.Add("3");
  c.Add("4");
  EXPECT_EQ(c.NextKey(), "5");
  c.Clear();
  c.Add("2");
  c.Add("3");
  EXPECT_EQ(c.NextKey(), "4");  // "1" is not reused
}

TEST(KeyedCollection, MovedCollectionKeepsItsElements) {
  KeyedCollection<Item> a;
  a.Add("x")->value = 7;
  KeyedCollection<Item> b = std::move(a);
  EXPECT_EQ(b.Find("X")->value, 7);
}

// Small collections search their keys in turn, large ones through an index: the rules must
// not change where one becomes the other, also while elements come and go.
TEST(KeyedCollection, SameRulesBelowAndAboveTheIndexThreshold) {
  for (std::size_t size : {std::size_t{3}, KeyedCollection<Item>::kIndexFrom, KeyedCollection<Item>::kIndexFrom + 1,
                           std::size_t{3} * KeyedCollection<Item>::kIndexFrom}) {
    SCOPED_TRACE(size);
    KeyedCollection<Item> c;
    c.Reserve(size);
    for (std::size_t i = 1; i <= size; ++i) ASSERT_NE(c.Add("Key" + std::to_string(i)), nullptr);
    EXPECT_EQ(c.Add("KEY1"), nullptr) << "duplicate in other letter case";
    EXPECT_EQ(c.Find("kEy" + std::to_string(size)), c.At(static_cast<std::int64_t>(size)));
    EXPECT_EQ(c.Find("Key0"), nullptr);
    EXPECT_TRUE(c.Remove("key1"));
    EXPECT_EQ(c.Find("Key1"), nullptr);
    EXPECT_EQ(c.PositionOf("KEY2"), 1);
    EXPECT_NE(c.Add("key1"), nullptr) << "a removed key is free again";
    EXPECT_EQ(c.PositionOf("Key1"), static_cast<std::int64_t>(size));
    c.Clear();
    EXPECT_EQ(c.Find("Key2"), nullptr);
    EXPECT_NE(c.Add("Key2"), nullptr);
    EXPECT_EQ(c.Find("KEY2"), c.At(1));
  }
}

}  // namespace
}  // namespace orv
