#pragma once
// imgIcon32 and imgIcon64: the host window's two sets of entry-kind icons as OLE pictures.
// The dialogs take them from here: the add-entry list hands them to the list control (which
// keeps shared references), the input dialog and the day list paint them. The pictures are
// drawn on the first request and live as long as the sets.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <array>

#include "desktop/entry_icons.hpp"
#include "platform/win32/handles.hpp"

namespace orv {

class EntryIconSets {
public:
  EntryIconSets() = default;
  EntryIconSets(const EntryIconSets&) = delete;
  EntryIconSets& operator=(const EntryIconSets&) = delete;

  // Size 0: the 32-pixel set, size 1: the 64-pixel set; `index` is the entry kind 0..3.
  // nullptr for any other size or index. The reference stays ours: AddRef to keep it.
  IPicture* GetIconPicture(int size, int index);

private:
  using Set = std::array<ComPtr<IPicture>, kEntryKindCount>;
  Set icon32_, icon64_;  // imgIcon32, imgIcon64
};

// `image` as an OLE icon picture that owns its icon; empty when it cannot be made.
ComPtr<IPicture> MakeIconPicture(const IconImage& image);

}  // namespace orv
