// Any bytes given to the user data loader must either load or fail with an error text, never
// crash, hang or leave the tree half-replaced; what loads must save and load back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "schedule/user_data_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orv::YearDatas years;
  orv::DefaultUserListArray lists;
  years.Add("1999");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string error = orv::ParseUserData(bytes, years, lists);
  if (!error.empty()) {
    if (years.Count() != 1 || error.back() != '\n') std::abort();
    return 0;
  }
  std::string saved;
  if (!orv::SerializeUserData(years, lists, saved).empty()) return 0;  // e.g. a text too long
  orv::YearDatas again;
  orv::DefaultUserListArray again_lists;
  if (!orv::ParseUserData(saved, again, again_lists).empty()) std::abort();
  std::string resaved;
  if (!orv::SerializeUserData(again, again_lists, resaved).empty() || resaved != saved) std::abort();
  return 0;
}
