#pragma once
// The list control's items: `SelectItems`, an ordered collection of `SelectItem` addressed by
// 1-based position or by key (letter case ignored), on the shared keyed-collection template.
//
// Items are shared: the collection holds them through shared_ptr, and automation wrappers
// handed to a host hold the same item, so a host may keep an item after it was removed from
// the collection without dangling. The item's public `Key` field is the host's to change;
// the collection keeps its own copy of the key it was stored under, so changing the field
// never corrupts the collection's index.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/keyed_collection.hpp"
#include "platform/canvas.hpp"

namespace orv {

struct SelectItem {
  std::string Key;
  std::string Caption;
  std::string Comment;                          // "" = one-line row
  std::shared_ptr<const Picture> IconPicture;  // may be empty
};

class SelectItems {
public:
  SelectItems() = default;
  SelectItems(const SelectItems&) = delete;
  SelectItems& operator=(const SelectItems&) = delete;

  // Appends a new item under `key`; nullptr (and nothing added) when the key is present.
  std::shared_ptr<SelectItem> Add(std::string key, std::string caption = {}, std::string comment = {},
                                  std::shared_ptr<const Picture> icon = {}) {
    Slot* slot = slots_.Add(key);
    if (!slot) return nullptr;
    slot->item = std::make_shared<SelectItem>(
        SelectItem{std::move(key), std::move(caption), std::move(comment), std::move(icon)});
    return slot->item;
  }

  // By 1-based position or by key; nullptr when there is no such item.
  const std::shared_ptr<SelectItem>& At(std::int64_t position) const { return Get(slots_.At(position)); }
  const std::shared_ptr<SelectItem>& Find(std::string_view key) const { return Get(slots_.Find(key)); }

  // 1-based position of the item under `key`, or 0.
  std::int64_t PositionOf(std::string_view key) const { return slots_.PositionOf(key); }

  bool RemoveAt(std::int64_t position) { return slots_.RemoveAt(position); }
  bool Remove(std::string_view key) { return slots_.Remove(key); }

  std::int64_t Count() const { return slots_.Count(); }

private:
  struct Slot {
    std::string Key;  // the key the item is stored under (set by the collection)
    std::shared_ptr<SelectItem> item;
  };
  static const std::shared_ptr<SelectItem>& Get(const Slot* slot) {
    static const std::shared_ptr<SelectItem> none;
    return slot ? slot->item : none;
  }
  KeyedCollection<Slot> slots_;
};

}  // namespace orv
