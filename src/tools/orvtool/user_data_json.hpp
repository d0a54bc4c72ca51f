#pragma once
// The user data file as JSON, for people and scripts: years, months, days and entries in file
// order with the stored totals, and the four preset lists.
#include <nlohmann/json.hpp>
#include <string>

#include "schedule/schedule.hpp"

namespace orv::tool {

nlohmann::ordered_json ScheduleToJson(const YearDatas& years, const DefaultUserListArray& lists);

// Fills `years` and `lists` from JSON made by ScheduleToJson. Returns an error description, or
// empty on success (then the tree is complete; on failure it is left untouched).
std::string ScheduleFromJson(const nlohmann::json& json, YearDatas& years, DefaultUserListArray& lists);

}  // namespace orv::tool
