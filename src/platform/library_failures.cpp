#include "platform/library_failures.hpp"

#include <algorithm>
#include <cctype>

namespace orv {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

void LibraryFailures::Record(std::string_view library, std::string_view function) {
  if (Of(library)) return;
  failures_.push_back({std::string(library), std::string(function)});
}

std::optional<LibraryFailure> LibraryFailures::Of(std::string_view library) const {
  const auto it = std::find_if(failures_.begin(), failures_.end(),
                               [&](const LibraryFailure& f) { return SameName(f.library, library); });
  if (it == failures_.end()) return std::nullopt;
  return *it;
}

std::string LibraryFailureMessage(const LibraryFailure& failure) {
  const std::string what = failure.function.empty() ? failure.library : failure.library + " の " + failure.function;
  return "システムのライブラリ (" + what + ") を使えないため、この画面を開けません。\r\n"
         "Windows の更新や修復で直ることがあります。\r\n\r\n"
         "編集した予定は失われていません。";
}

}  // namespace orv
