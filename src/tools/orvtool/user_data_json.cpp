#include "tools/orvtool/user_data_json.hpp"

namespace orv::tool {

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

constexpr const char* kPresetNames[] = {"automaticTransfers", "cashPayments", "verySpecialDays",
                                        "specialDays"};

ordered_json DayToJson(const DayData& day) {
  ordered_json out;
  out["day"] = std::stoi(day.Key);
  out["totalPaymentPrice"] = day.TotalPaymentPrice;
  out["totalCash"] = day.TotalCash;
  out["specialTitle"] = day.SpecialTitle;
  out["totalSpecial"] = day.TotalSpecial;
  out["specialKey"] = day.SpecialKey;
  out["payments"] = ordered_json::array();
  for (const auto& p : day.PaymentDatas)
    out["payments"].push_back({{"kind", p.Payment}, {"price", p.lngPrice}, {"title", p.strTitle}});
  out["specials"] = ordered_json::array();
  for (const auto& s : day.SpecialDatas)
    out["specials"].push_back(
        {{"verySpecial", s.blnSpecial}, {"comment", s.strComment}, {"title", s.strSpecial}});
  return out;
}

// Reads a field with a clear message when it is missing or of the wrong type.
template <class T>
T Field(const json& object, const char* name, const std::string& where) {
  auto it = object.find(name);
  if (it == object.end()) throw std::runtime_error(where + ": missing \"" + name + "\"");
  try {
    return it->get<T>();
  } catch (const json::exception&) {
    throw std::runtime_error(where + ": \"" + name + "\" has the wrong type");
  }
}

const json& Array(const json& object, const char* name, const std::string& where) {
  auto it = object.find(name);
  if (it == object.end() || !it->is_array())
    throw std::runtime_error(where + ": \"" + name + "\" must be an array");
  return *it;
}

template <class Collection>
auto& AddNumbered(Collection& collection, int number, const std::string& where) {
  auto* element = collection.Add(std::to_string(number));
  if (!element) throw std::runtime_error(where + ": " + std::to_string(number) + " appears twice");
  return *element;
}

}  // namespace

ordered_json ScheduleToJson(const YearDatas& years, const DefaultUserListArray& lists) {
  ordered_json out;
  out["years"] = ordered_json::array();
  for (const auto& year : years) {
    ordered_json y{{"year", std::stoi(year.Key)}, {"months", ordered_json::array()}};
    for (const auto& month : year.MonthDatas) {
      ordered_json m{{"month", std::stoi(month.Key)}, {"days", ordered_json::array()}};
      for (const auto& day : month.DayDatas) m["days"].push_back(DayToJson(day));
      y["months"].push_back(std::move(m));
    }
    out["years"].push_back(std::move(y));
  }
  ordered_json presets;
  for (std::size_t i = 0; i < lists.size(); ++i) {
    presets[kPresetNames[i]] = ordered_json::array();
    for (const auto& preset : lists[i]) presets[kPresetNames[i]].push_back(preset.strValue1);
  }
  out["presets"] = std::move(presets);
  return out;
}

std::string ScheduleFromJson(const json& in, YearDatas& years, DefaultUserListArray& lists) {
  YearDatas new_years;
  DefaultUserListArray new_lists;
  try {
    if (!in.is_object()) throw std::runtime_error("the top level must be an object");
    for (const auto& y : Array(in, "years", "top level")) {
      const int year_number = Field<int>(y, "year", "year");
      const std::string at_year = "year " + std::to_string(year_number);
      auto& year = AddNumbered(new_years, year_number, "years");
      for (const auto& m : Array(y, "months", at_year)) {
        const int month_number = Field<int>(m, "month", at_year);
        const std::string at_month = at_year + " month " + std::to_string(month_number);
        auto& month = AddNumbered(year.MonthDatas, month_number, at_year);
        for (const auto& d : Array(m, "days", at_month)) {
          const int day_number = Field<int>(d, "day", at_month);
          const std::string at_day = at_month + " day " + std::to_string(day_number);
          auto& day = AddNumbered(month.DayDatas, day_number, at_month);
          day.TotalPaymentPrice = Field<std::int32_t>(d, "totalPaymentPrice", at_day);
          day.TotalCash = Field<bool>(d, "totalCash", at_day);
          day.SpecialTitle = Field<std::string>(d, "specialTitle", at_day);
          day.TotalSpecial = Field<bool>(d, "totalSpecial", at_day);
          day.SpecialKey = Field<std::string>(d, "specialKey", at_day);
          for (const auto& p : Array(d, "payments", at_day)) {
            auto& payment = *day.PaymentDatas.Add(NextPaymentKey(day));
            payment.Payment = Field<std::int16_t>(p, "kind", at_day + " payment");
            payment.lngPrice = Field<std::int32_t>(p, "price", at_day + " payment");
            payment.strTitle = Field<std::string>(p, "title", at_day + " payment");
          }
          for (const auto& s : Array(d, "specials", at_day)) {
            auto& special = *day.SpecialDatas.Add(NextSpecialKey(day));
            special.blnSpecial = Field<bool>(s, "verySpecial", at_day + " special");
            special.strComment = Field<std::string>(s, "comment", at_day + " special");
            special.strSpecial = Field<std::string>(s, "title", at_day + " special");
          }
        }
      }
    }
    auto presets = in.find("presets");
    if (presets == in.end() || !presets->is_object())
      throw std::runtime_error("top level: \"presets\" must be an object");
    for (std::size_t i = 0; i < new_lists.size(); ++i) {
      for (const auto& name : Array(*presets, kPresetNames[i], "presets")) {
        if (!name.is_string())
          throw std::runtime_error(std::string("presets: \"") + kPresetNames[i] + "\" must hold texts");
        new_lists[i].Add(new_lists[i].NextKey())->strValue1 = name.get<std::string>();
      }
    }
  } catch (const std::exception& error) {
    return error.what();
  }
  years = std::move(new_years);
  lists = std::move(new_lists);
  return {};
}

}  // namespace orv::tool
