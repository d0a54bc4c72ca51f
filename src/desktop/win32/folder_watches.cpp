#include "desktop/win32/folder_watches.hpp"

#include <dbt.h>

#include <algorithm>

#include "desktop/change_watch.hpp"
#include "platform/windows_path.hpp"

namespace orv {

void FolderWatches::Follow(const std::string& wallpaper, const std::string& transcoded) {
  std::vector<std::unique_ptr<FolderChangeNotice>> kept;
  for (const std::string& folder : FoldersToWatch(wallpaper, transcoded)) {
    // Where the folder cannot be watched, the file shown from it is looked at instead.
    const std::string polled = FolderOf(wallpaper) == folder ? wallpaper : transcoded;
    const auto same = std::find_if(notices_.begin(), notices_.end(), [&](const auto& n) {
      return n && n->Folder() == folder && (!n->Polling() || n->PollFile() == polled);
    });
    if (same != notices_.end()) {
      kept.push_back(std::move(*same));
      continue;
    }
    auto notice = std::make_unique<FolderChangeNotice>();
    notice->ReportRemovalTo(window_);
    if (!notice->Watch(folder, polled)) continue;
    WaitOn(notice.get());
    kept.push_back(std::move(notice));
  }
  for (const auto& gone : notices_)
    if (gone) waits_.Remove(gone->Handle());
  notices_ = std::move(kept);
}

void FolderWatches::Stop() {
  for (const auto& notice : notices_) waits_.Remove(notice->Handle());
  notices_.clear();
}

void FolderWatches::WaitOn(FolderChangeNotice* notice) {
  if (!notice->Handle()) return;  // let go of, for a drive being removed
  waits_.Add(notice->Handle(), [this, notice] {
    const HANDLE before = notice->Handle();
    notice->Rearm();
    if (notice->Handle() != before) {  // watched anew (the folder appeared, or is looked at now)
      waits_.Remove(before);
      WaitOn(notice);
    }
    changed_();
  });
}

void FolderWatches::OnDeviceChange(WPARAM event, LPARAM data) {
  bool back = false;
  for (const auto& notice : notices_) {
    const HANDLE before = notice->Handle();
    if (!notice->OnDeviceChange(event, data)) continue;
    // The old handle is closed: waiting on it would fail at once, again and again.
    waits_.Remove(before);
    WaitOn(notice.get());
    back = back || !notice->LetGo();
  }
  // The drive came back (or stayed): its files may have changed meanwhile.
  if (back) changed_();
}

}  // namespace orv
