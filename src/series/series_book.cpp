#include "series/series.hpp"

#include <algorithm>

namespace orv {

const Series* SeriesBook::Find(std::uint32_t id) const {
  auto it = std::find_if(series.begin(), series.end(), [id](const Series& s) { return s.id == id; });
  return it == series.end() ? nullptr : &*it;
}

Series* SeriesBook::Find(std::uint32_t id) {
  return const_cast<Series*>(static_cast<const SeriesBook&>(*this).Find(id));
}

}  // namespace orv
