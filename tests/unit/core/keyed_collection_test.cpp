#include "core/keyed_collection.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
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

// Against a plain list of (key, element address, value) under many adds and removals, on
// either side of the index threshold and with or without room reserved first: the order,
// lookups by key in any letter case, positions, refused duplicates, and that no element
// ever moves in memory while others come and go (slots of removed ones are reused).
TEST(KeyedCollection, BehavesLikeAPlainListAndNeverMovesAnElement) {
  struct Case {
    std::size_t keys;      // distinct keys in play
    std::size_t reserve;   // Reserve before the first Add
    int remove_percent;    // share of steps that remove
  };
  const Case cases[] = {
      {3, 0, 30},   {3, 3, 50},    {20, 0, 30},  {20, 31, 50},
      {40, 0, 20},  {40, 8, 60},   {300, 0, 40}, {300, 100, 70},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.keys << " keys, reserve " << c.reserve << ", remove " << c.remove_percent << "%");
    struct Model {
      std::string key;
      const Item* address;
      int value;
    };
    std::vector<Model> model;
    KeyedCollection<Item> collection;
    collection.Reserve(c.reserve);
    std::mt19937 random(static_cast<unsigned>(c.keys * 1000 + c.reserve));
    auto model_find = [&model](const std::string& key) {
      return std::find_if(model.begin(), model.end(), [&key](const Model& m) { return SameKey(m.key, key); });
    };
    for (int step = 0; step < 4000; ++step) {
      std::string key = "k" + std::to_string(random() % c.keys);
      if (random() % 2) std::transform(key.begin(), key.end(), key.begin(), [](char ch) { return ch == 'k' ? 'K' : ch; });
      auto it = model_find(key);
      if (static_cast<int>(random() % 100) < c.remove_percent) {
        if (random() % 2) {
          ASSERT_EQ(collection.Remove(key), it != model.end());
          if (it != model.end()) model.erase(it);
        } else if (!model.empty()) {
          const std::size_t at = random() % model.size();
          ASSERT_TRUE(collection.RemoveAt(static_cast<std::int64_t>(at) + 1));
          model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
        }
      } else {
        Item* added = collection.Add(key);
        ASSERT_EQ(added == nullptr, it != model.end()) << key;
        if (added) {
          added->value = step;
          model.push_back({key, added, step});
        }
      }
      ASSERT_EQ(collection.Count(), static_cast<std::int64_t>(model.size()));
      if (step % 97 != 0) continue;
      std::size_t position = 0;
      for (const Item& item : collection) {
        const Model& m = model[position++];
        ASSERT_EQ(&item, m.address);
        ASSERT_EQ(item.Key, m.key);
        ASSERT_EQ(item.value, m.value);
        ASSERT_EQ(collection.At(static_cast<std::int64_t>(position)), m.address);
      }
      for (std::size_t k = 0; k < c.keys; ++k) {
        const std::string probe = "K" + std::to_string(k);
        auto found = model_find(probe);
        if (found == model.end()) {
          ASSERT_EQ(collection.Find(probe), nullptr);
          ASSERT_EQ(collection.PositionOf(probe), 0);
        } else {
          ASSERT_EQ(collection.Find(probe), found->address);
          ASSERT_EQ(collection.PositionOf(probe), found - model.begin() + 1);
        }
      }
    }
    KeyedCollection<Item> moved = std::move(collection);
    EXPECT_TRUE(collection.Empty());
    ASSERT_EQ(moved.Count(), static_cast<std::int64_t>(model.size()));
    for (const Model& m : model) EXPECT_EQ(moved.Find(m.key), m.address);
  }
}

// Room reserved up front is used as it is: elements added within it sit where they were
// put when more are added beyond it, and a cleared collection starts over.
TEST(KeyedCollection, ReservedRoomAndGrowthKeepElementsInPlace) {
  KeyedCollection<Item> c;
  c.Reserve(3);
  std::vector<Item*> first;
  for (int i = 1; i <= 3; ++i) first.push_back(c.Add(std::to_string(i)));
  for (int i = 4; i <= 100; ++i) c.Add(std::to_string(i))->value = i;
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(c.Find(std::to_string(i)), first[static_cast<std::size_t>(i - 1)]);
  EXPECT_EQ(c.At(100)->value, 100);
  c.Reserve(10);  // less than held: nothing changes
  EXPECT_EQ(c.Count(), 100);
  c.Clear();
  EXPECT_TRUE(c.Empty());
  EXPECT_EQ(c.Find("1"), nullptr);
  c.Reserve(2);
  c.Add("x");
  c.Add("y");
  c.Add("z");
  EXPECT_EQ(Keys(c), (std::vector<std::string>{"x", "y", "z"}));
}

}  // namespace
}  // namespace orv
