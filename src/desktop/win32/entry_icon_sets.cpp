#include "desktop/win32/entry_icon_sets.hpp"

#include "desktop/win32/program_icons.hpp"

namespace orv {

ComPtr<IPicture> MakeIconPicture(const IconImage& image) {
  IconHandle icon = IconFromImage(image);
  if (!icon) return {};
  PICTDESC description{};
  description.cbSizeofstruct = sizeof description;
  description.picType = PICTYPE_ICON;
  description.icon.hicon = icon.get();
  IPicture* picture = nullptr;
  if (FAILED(OleCreatePictureIndirect(&description, IID_IPicture, TRUE, reinterpret_cast<void**>(&picture))) ||
      !picture)
    return {};
  icon.release();  // the picture destroys it
  return ComPtr<IPicture>::Adopt(picture);
}

IPicture* EntryIconSets::GetIconPicture(int size, int index) {
  const std::optional<int> pixels = IconSetPixels(size);
  if (!pixels || !IsEntryIconIndex(index)) return nullptr;
  ComPtr<IPicture>& slot = (size == 0 ? icon32_ : icon64_)[static_cast<std::size_t>(index)];
  if (!slot) slot = MakeIconPicture(DrawEntryIcon(index, *pixels));
  return slot.get();
}

}  // namespace orv
