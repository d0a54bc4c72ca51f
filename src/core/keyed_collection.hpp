#pragma once
// The one ordered, keyed collection behind every collection of the system (the schedule
// tree, the preset lists, the theme list, the list control's items).
//
// Elements keep their insertion order and are reached by 1-based position or by key; keys
// compare without regard to ASCII letter case. A second element under an existing key is
// refused and removing shifts the positions of later elements. Elements live on the heap,
// so a pointer to one stays valid until that element is removed.
//
// Most collections are small (a day's entries, a month's days), so up to kIndexFrom elements
// keys are found by comparing them in turn, without a hash index: loading a schedule makes
// tens of thousands of these, and an index for each cost more than the search it saves. The
// limit takes in a whole month of days: short number keys compare in a few instructions,
// while an index costs a heap node per day (it doubled the time a large file takes to load).
//
// The element type must have a public `std::string Key` member; the collection sets it.
// Header-only, so the list control library can use it without linking the program's code.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv {

// ASCII case folding: keys are decimal numbers, "kind#number" texts or user-given names,
// and the collection must behave the same on every platform and locale.
inline std::string FoldKey(std::string_view key) {
  std::string folded(key);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

// Whether two keys are equal under FoldKey, without making folded copies.
inline bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

template <class T>
class KeyedCollection {
public:
  KeyedCollection() = default;
  KeyedCollection(const KeyedCollection&) = delete;
  KeyedCollection& operator=(const KeyedCollection&) = delete;
  KeyedCollection(KeyedCollection&&) noexcept = default;
  KeyedCollection& operator=(KeyedCollection&&) noexcept = default;

  // Appends a new element under `key`; nullptr (and nothing added) when the key exists.
  T* Add(std::string key) {
    if (Find(key)) return nullptr;
    auto element = std::make_unique<T>();
    element->Key = std::move(key);
    T* raw = element.get();
    items_.push_back(std::move(element));
    if (index_) {
      index_->emplace(FoldKey(raw->Key), raw);
    } else if (items_.size() > kIndexFrom) {
      index_ = std::make_unique<Index>();
      for (const auto& item : items_) index_->emplace(FoldKey(item->Key), item.get());
    }
    return raw;
  }

  // Room for `count` elements in all, so that adding them does not move the list again.
  void Reserve(std::size_t count) { items_.reserve(count); }

  // Element by key, or nullptr.
  T* Find(std::string_view key) const {
    if (!index_) {
      for (const auto& item : items_)
        if (SameKey(item->Key, key)) return item.get();
      return nullptr;
    }
    auto it = index_->find(FoldKey(key));
    return it == index_->end() ? nullptr : it->second;
  }

  // Element by 1-based position, or nullptr.
  T* At(std::int64_t position) const {
    if (position < 1 || position > static_cast<std::int64_t>(items_.size())) return nullptr;
    return items_[static_cast<std::size_t>(position - 1)].get();
  }

  bool Contains(std::string_view key) const { return Find(key) != nullptr; }

  // 1-based position of the element under `key`, or 0.
  std::int64_t PositionOf(std::string_view key) const {
    const T* element = Find(key);
    if (!element) return 0;
    auto it = std::find_if(items_.begin(), items_.end(),
                           [element](const auto& p) { return p.get() == element; });
    return static_cast<std::int64_t>(it - items_.begin()) + 1;
  }

  bool Remove(std::string_view key) { return RemoveAt(PositionOf(key)); }

  bool RemoveAt(std::int64_t position) {
    if (position < 1 || position > static_cast<std::int64_t>(items_.size())) return false;
    auto it = items_.begin() + (position - 1);
    if (index_) index_->erase(FoldKey((*it)->Key));
    items_.erase(it);
    return true;
  }

  void Clear() {
    items_.clear();
    index_.reset();
  }

  std::int64_t Count() const { return static_cast<std::int64_t>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  // The key a new element gets: "1" for an empty collection, otherwise the first number
  // above the count under which nothing is stored. Old keys are never reused below it.
  std::string NextKey() const {
    if (items_.empty()) return "1";
    for (std::int64_t n = Count() + 1;; ++n) {
      auto key = std::to_string(n);
      if (!Contains(key)) return key;
    }
  }

  // Iteration yields element references in order.
  class iterator {
  public:
    using inner = typename std::vector<std::unique_ptr<T>>::const_iterator;
    explicit iterator(inner it) : it_(it) {}
    T& operator*() const { return **it_; }
    T* operator->() const { return it_->get(); }
    iterator& operator++() {
      ++it_;
      return *this;
    }
    bool operator==(const iterator& other) const { return it_ == other.it_; }

  private:
    inner it_;
  };
  iterator begin() const { return iterator(items_.begin()); }
  iterator end() const { return iterator(items_.end()); }

  static constexpr std::size_t kIndexFrom = 31;

private:
  std::vector<std::unique_ptr<T>> items_;
  // folded key -> element owned by items_; made only once the collection has grown past
  // kIndexFrom elements (it then stays, also when elements are removed). Held by pointer, so
  // that the many small collections stay small.
  using Index = std::unordered_map<std::string, T*>;
  std::unique_ptr<Index> index_;
};

}  // namespace orv
