#pragma once
// "orvtool holidays" and "orvtool business-day": Japan's holidays and bank business days.
//
//   holidays [--from YEAR] [--to YEAR]   one line per holiday, "YYYY-MM-DD,name" (UTF-8, LF),
//                                        in date order; both years default to this year
//   business-day DATE --next|--previous  DATE when it is a bank business day, else the next
//                                        (previous) one
//
// Both take the words after the command name and return the exit code: 0 done, 2 a usage
// error or a bad year or date (the reason on `err`).
#include <string>
#include <vector>

namespace orv::tool {

int RunHolidaysCommand(const std::vector<std::string>& args, int this_year, std::string& out,
                       std::string& err);
int RunBusinessDayCommand(const std::vector<std::string>& args, std::string& out, std::string& err);

}  // namespace orv::tool
