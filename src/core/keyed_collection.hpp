#pragma once
// The one ordered, keyed collection behind every collection of the system (the schedule
// tree, the preset lists, the theme list, the list control's items).
//
// Elements keep their insertion order and are reached by 1-based position or by key; keys
// compare without regard to ASCII letter case. A second element under an existing key is
// refused and removing shifts the positions of later elements. An element never moves in
// memory: a pointer to one stays valid until that element is removed (or the collection is
// cleared or destroyed), whatever else is added or removed meanwhile.
//
// Loading a schedule makes tens of thousands of these, most of them tiny (a day's entries,
// a month's days), so what each costs in heap blocks decides how fast a file loads:
// - Elements are built in place in blocks of several slots; one block is all a collection
//   needs when its size is known beforehand (Reserve). The order of the elements is a list
//   of pointers to them, which for the first block lives in that same heap block. A removed
//   element's slot is reused by a later Add; blocks are given back only by Clear.
// - Up to kIndexFrom elements, keys are found by comparing them in turn. Past that, an open
//   addressing table of element pointers (hashed on the case-folded key) finds them, without
//   a heap block per key.
//
// The element type must have a public `std::string Key` member; the collection sets it.
// Header-only, so the list control library can use it without linking the program's code.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace orv {

// ASCII case folding: keys are decimal numbers, "kind#number" texts or user-given names,
// and the collection must behave the same on every platform and locale.
inline char FoldKeyChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string FoldKey(std::string_view key) {
  std::string folded(key);
  for (char& c : folded) c = FoldKeyChar(c);
  return folded;
}

// Whether two keys are equal under FoldKey, without making folded copies.
inline bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldKeyChar(a[i]) != FoldKeyChar(b[i])) return false;
  return true;
}

// FNV-1a over the folded key: equal under SameKey means equal hash.
inline std::size_t FoldedKeyHash(std::string_view key) {
  std::uint64_t h = 14695981039346656037ull;
  for (char c : key) {
    h ^= static_cast<unsigned char>(FoldKeyChar(c));
    h *= 1099511628211ull;
  }
  return static_cast<std::size_t>(h ^ (h >> 29));
}

template <class T>
class KeyedCollection {
public:
  KeyedCollection() = default;
  KeyedCollection(const KeyedCollection&) = delete;
  KeyedCollection& operator=(const KeyedCollection&) = delete;
  KeyedCollection(KeyedCollection&& other) noexcept { Steal(other); }
  KeyedCollection& operator=(KeyedCollection&& other) noexcept {
    if (this != &other) {
      Clear();
      Steal(other);
    }
    return *this;
  }
  ~KeyedCollection() { Clear(); }

  // Appends a new element under `key`; nullptr (and nothing added) when the key exists.
  T* Add(std::string key) {
    if (Find(key)) return nullptr;
    // Everything that may fail to allocate happens before the element exists.
    if (!blocks_) NewBlock(kFirstBlock, true);
    if (count_ == order_capacity_) GrowOrder(count_ + 1);
    if (index_ || count_ + 1 > kIndexFrom) ReserveIndex(count_ + 1);
    void* slot = TakeSlot();
    T* element;
    try {
      element = ::new (slot) T();
    } catch (...) {
      GiveBackSlot(slot);
      throw;
    }
    element->Key = std::move(key);
    order_[count_++] = element;
    if (index_) IndexInsert(element);
    return element;
  }

  // Room for `count` elements in all, so that adding them allocates nothing more.
  void Reserve(std::size_t count) {
    if (count <= count_) return;
    const std::size_t missing = count - count_;
    std::size_t free = blocks_ ? blocks_->capacity - blocks_->used : 0;
    for (void* slot = free_; slot && free < missing; slot = NextFree(slot)) ++free;
    if (free < missing) NewBlock(missing - free, blocks_ == nullptr);
    if (order_capacity_ < count) GrowOrder(count);
  }

  // Element by key, or nullptr.
  T* Find(std::string_view key) const {
    if (!index_) {
      for (std::size_t i = 0; i < count_; ++i)
        if (SameKey(order_[i]->Key, key)) return order_[i];
      return nullptr;
    }
    const std::size_t mask = index_size_ - 1;
    for (std::size_t i = FoldedKeyHash(key) & mask;; i = (i + 1) & mask) {
      T* element = index_[i];
      if (!element) return nullptr;
      if (SameKey(element->Key, key)) return element;
    }
  }

  // Element by 1-based position, or nullptr.
  T* At(std::int64_t position) const {
    if (position < 1 || position > Count()) return nullptr;
    return order_[static_cast<std::size_t>(position - 1)];
  }

  bool Contains(std::string_view key) const { return Find(key) != nullptr; }

  // 1-based position of the element under `key`, or 0.
  std::int64_t PositionOf(std::string_view key) const {
    const T* element = Find(key);
    if (!element) return 0;
    std::size_t i = 0;
    while (order_[i] != element) ++i;
    return static_cast<std::int64_t>(i) + 1;
  }

  bool Remove(std::string_view key) { return RemoveAt(PositionOf(key)); }

  bool RemoveAt(std::int64_t position) {
    if (position < 1 || position > Count()) return false;
    const std::size_t at = static_cast<std::size_t>(position - 1);
    T* element = order_[at];
    if (index_) IndexErase(element);
    std::memmove(order_ + at, order_ + at + 1, (count_ - at - 1) * sizeof(T*));
    --count_;
    element->~T();
    GiveBackSlot(element);
    return true;
  }

  // Removes every element and gives back all memory.
  void Clear() {
    for (std::size_t i = 0; i < count_; ++i) order_[i]->~T();
    if (order_ && !order_in_block_) ::operator delete(order_);
    for (Block* block = blocks_; block;) {
      Block* older = block->older;
      ::operator delete(block);
      block = older;
    }
    delete[] index_;
    order_ = nullptr;
    blocks_ = nullptr;
    free_ = nullptr;
    index_ = nullptr;
    count_ = order_capacity_ = index_size_ = 0;
    order_in_block_ = false;
  }

  std::int64_t Count() const { return static_cast<std::int64_t>(count_); }
  bool Empty() const { return count_ == 0; }

  // The key a new element gets: "1" for an empty collection, otherwise the first number
  // above the count under which nothing is stored. Old keys are never reused below it.
  std::string NextKey() const {
    if (count_ == 0) return "1";
    for (std::int64_t n = Count() + 1;; ++n) {
      auto key = std::to_string(n);
      if (!Contains(key)) return key;
    }
  }

  // Iteration yields element references in order.
  class iterator {
  public:
    explicit iterator(T* const* it) : it_(it) {}
    T& operator*() const { return **it_; }
    T* operator->() const { return *it_; }
    iterator& operator++() {
      ++it_;
      return *this;
    }
    bool operator==(const iterator& other) const { return it_ == other.it_; }

  private:
    T* const* it_;
  };
  iterator begin() const { return iterator(order_); }
  iterator end() const { return iterator(order_ + count_); }

  static constexpr std::size_t kIndexFrom = 16;

private:
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "element type needs a plain heap block");
  static_assert(sizeof(T) >= sizeof(void*), "a free slot holds the link to the next one");

  // A heap block of element slots, used from the front. The first block of a collection may
  // carry the order list between its header and its slots.
  struct Block {
    Block* older;
    std::uint32_t capacity;
    std::uint32_t used;
    std::uint32_t slots_at;  // byte offset of the first slot
    unsigned char* Slot(std::size_t i) {
      return reinterpret_cast<unsigned char*>(this) + slots_at + i * sizeof(T);
    }
  };
  static constexpr std::size_t RoundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }
  static constexpr std::uint32_t kFirstBlock = 4;

  void Steal(KeyedCollection& other) noexcept {
    order_ = std::exchange(other.order_, nullptr);
    blocks_ = std::exchange(other.blocks_, nullptr);
    free_ = std::exchange(other.free_, nullptr);
    index_ = std::exchange(other.index_, nullptr);
    count_ = std::exchange(other.count_, 0);
    order_capacity_ = std::exchange(other.order_capacity_, 0);
    index_size_ = std::exchange(other.index_size_, 0);
    order_in_block_ = std::exchange(other.order_in_block_, false);
  }

  // A new block of `capacity` slots. The first block (`with_order`, no order list yet)
  // also holds as many order entries.
  void NewBlock(std::size_t capacity, bool with_order) {
    const std::size_t order_at = RoundUp(sizeof(Block), alignof(T*));
    const std::size_t slots_at = RoundUp(with_order ? order_at + capacity * sizeof(T*) : sizeof(Block), alignof(T));
    Block* block = static_cast<Block*>(::operator new(slots_at + capacity * sizeof(T)));
    block->older = blocks_;
    block->capacity = static_cast<std::uint32_t>(capacity);
    block->used = 0;
    block->slots_at = static_cast<std::uint32_t>(slots_at);
    blocks_ = block;
    if (with_order) {
      order_ = reinterpret_cast<T**>(reinterpret_cast<unsigned char*>(block) + order_at);
      order_capacity_ = static_cast<std::uint32_t>(capacity);
      order_in_block_ = true;
    }
  }

  // Raw memory for one element: a freed slot, else the newest block's next, else a new
  // block as large as all before it together.
  void* TakeSlot() {
    if (free_) {
      void* slot = free_;
      free_ = NextFree(slot);
      return slot;
    }
    if (blocks_->used == blocks_->capacity) {
      std::size_t total = 0;
      for (Block* block = blocks_; block; block = block->older) total += block->capacity;
      NewBlock(total, false);
    }
    return blocks_->Slot(blocks_->used++);
  }

  static void* NextFree(void* slot) {
    void* next;
    std::memcpy(&next, slot, sizeof next);
    return next;
  }
  void GiveBackSlot(void* slot) {
    std::memcpy(slot, &free_, sizeof free_);
    free_ = slot;
  }

  void GrowOrder(std::size_t needed) {
    std::size_t capacity = 2 * static_cast<std::size_t>(order_capacity_);
    if (capacity < needed) capacity = needed;
    T** order = static_cast<T**>(::operator new(capacity * sizeof(T*)));
    if (count_) std::memcpy(order, order_, count_ * sizeof(T*));
    if (order_ && !order_in_block_) ::operator delete(order_);
    order_ = order;
    order_capacity_ = static_cast<std::uint32_t>(capacity);
    order_in_block_ = false;
  }

  // A table at most half full for `count` elements; built anew from the order list when it
  // grows (or first comes into being).
  void ReserveIndex(std::size_t count) {
    if (index_size_ >= 2 * count) return;
    std::size_t size = 2 * kIndexFrom;
    while (size < 2 * count) size *= 2;
    T** table = new T*[size]();
    delete[] index_;
    index_ = table;
    index_size_ = static_cast<std::uint32_t>(size);
    for (std::size_t i = 0; i < count_; ++i) IndexInsert(order_[i]);
  }

  void IndexInsert(T* element) {
    const std::size_t mask = index_size_ - 1;
    std::size_t i = FoldedKeyHash(element->Key) & mask;
    while (index_[i]) i = (i + 1) & mask;
    index_[i] = element;
  }

  // Linear probing without tombstones: entries after the hole that may sit in it move up.
  void IndexErase(T* element) {
    const std::size_t mask = index_size_ - 1;
    std::size_t hole = FoldedKeyHash(element->Key) & mask;
    while (index_[hole] != element) hole = (hole + 1) & mask;
    for (std::size_t i = (hole + 1) & mask; index_[i]; i = (i + 1) & mask) {
      const std::size_t home = FoldedKeyHash(index_[i]->Key) & mask;
      // It stays when its home lies in (hole, i], going round the table.
      const bool stays = hole < i ? (home > hole && home <= i) : (home > hole || home <= i);
      if (!stays) {
        index_[hole] = index_[i];
        hole = i;
      }
    }
    index_[hole] = nullptr;
  }

  T** order_ = nullptr;      // the elements in order
  Block* blocks_ = nullptr;  // newest first; only the newest has unused slots
  void* free_ = nullptr;     // slots of removed elements, linked through themselves
  // Element pointers by FoldedKeyHash, none up to kIndexFrom elements; once built it stays
  // until Clear, also when elements are removed.
  T** index_ = nullptr;
  std::uint32_t count_ = 0;
  std::uint32_t order_capacity_ = 0;
  std::uint32_t index_size_ = 0;
  bool order_in_block_ = false;  // order_ lives in the oldest block, not in a heap block of its own
};

}  // namespace orv
