#include "tools/orvtool/csv_exchange.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>

#include "platform/text_codec.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/user_data_file.hpp"

namespace orv::tool {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kPaymentKinds[] = {"automatic", "cash"};
constexpr char kLongRange[] = "-2,147,483,648 to 2,147,483,647";

std::string Header() {
  std::string header;
  for (auto column : kCsvColumns) header += (header.empty() ? "" : ",") + std::string(column);
  return header;
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool SameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) {
             return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
           };
           return lower(x) == lower(y);
         });
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

}  // namespace

std::optional<std::chrono::year_month_day> ParseDate(std::string_view text) {
  auto number = [&text](std::size_t min_digits, std::size_t max_digits) -> std::optional<unsigned> {
    std::size_t n = 0;
    unsigned value = 0;
    while (n < text.size() && n < max_digits && text[n] >= '0' && text[n] <= '9')
      value = value * 10 + static_cast<unsigned>(text[n++] - '0');
    if (n < min_digits) return std::nullopt;
    text.remove_prefix(n);
    return value;
  };
  const auto year = number(4, 4);
  if (!year || text.empty() || (text.front() != '-' && text.front() != '/')) return std::nullopt;
  const char separator = text.front();
  text.remove_prefix(1);
  const auto month = number(1, 2);
  if (!month || text.empty() || text.front() != separator) return std::nullopt;
  text.remove_prefix(1);
  const auto day = number(1, 2);
  if (!day || !text.empty()) return std::nullopt;
  return std::chrono::year{static_cast<int>(*year)} / std::chrono::month{*month} /
         std::chrono::day{*day};
}

namespace {

// A plain integer with an optional sign, as the export writes amounts.
enum class AmountForm { kNumber, kNotANumber, kOutOfRange };
AmountForm ParseAmount(std::string_view text, std::int32_t& amount) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return AmountForm::kNotANumber;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return AmountForm::kNotANumber;
    value = std::min<std::int64_t>(value * 10 + (c - '0'), std::int64_t{1} << 40);
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    return AmountForm::kOutOfRange;
  amount = static_cast<std::int32_t>(value);
  return AmountForm::kNumber;
}

// Why the file cannot store `text`, naming the first character code page 932 lacks.
std::string UnstorableReason(std::string_view field, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const auto code_point = NextUtf8CodePoint(text, i);
    const auto character = text.substr(start, i - start);
    if (!code_point || !Utf8ToCp932(character)) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X",
                    static_cast<unsigned>(code_point.value_or(0xFFFD)));
      return "the " + std::string(field) + " holds " + Quoted(character) + " (" + code +
             "), which code page 932 cannot represent";
    }
  }
  const auto stored = Utf8ToCp932(text);
  return "the " + std::string(field) + " takes " + std::to_string(stored ? stored->size() : 0) +
         " bytes in code page 932; the user data file stores at most " +
         std::to_string(kUserDataMaxTextBytes);
}

// 1-based line of byte `offset` of `text`.
int LineOf(std::string_view text, std::size_t offset) {
  int line = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
      ++line;
  return line;
}

std::size_t FirstInvalidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    if (!NextUtf8CodePoint(text, i)) return start;
  }
  return std::string_view::npos;
}

// The file's text as UTF-8, or a problem.
std::optional<std::string> DecodeCsv(std::string_view bytes, std::vector<CsvProblem>& problems) {
  const bool bom = bytes.substr(0, kBom.size()) == kBom;
  if (bom) bytes.remove_prefix(kBom.size());
  const std::size_t invalid = FirstInvalidUtf8(bytes);
  if (invalid == std::string_view::npos) return std::string(bytes);
  if (!bom)
    if (auto text = Cp932ToUtf8(bytes)) return text;
  problems.push_back({LineOf(bytes, invalid), bom ? "the text is not valid UTF-8"
                                                  : "the text is neither UTF-8 nor code page 932"});
  return std::nullopt;
}

class RowReader {
public:
  explicit RowReader(YearDatas& years) : years_(years) {}

  // Adds the row's entry, or returns why not.
  std::string Add(const std::vector<std::string>& f) {
    if (f.size() != kCsvColumns.size())
      return "expected " + std::to_string(kCsvColumns.size()) + " fields, found " +
             std::to_string(f.size());
    const auto date_text = Trim(f[0]);
    const auto ymd = ParseDate(date_text);
    if (!ymd) return "the date " + Quoted(date_text) + " is not written as YYYY-MM-DD";
    if (!ymd->ok() || ymd->year() < std::chrono::year{1})
      return Quoted(date_text) + " is not a day of the calendar";
    const DateParts date = SplitDate(std::chrono::sys_days{*ymd});

    NewEntry entry;
    entry.name = f[3];
    const auto kind = Trim(f[1]);
    if (SameWord(kind, "payment")) {
      if (auto why = PaymentFields(f, entry); !why.empty()) return why;
    } else if (SameWord(kind, "special")) {
      if (auto why = SpecialFields(f, entry); !why.empty()) return why;
    } else {
      return "the kind must be payment or special, not " + Quoted(kind);
    }

    const bool payment = IsPaymentKind(entry.kind);
    const EntryCheck check = CheckNewEntry(years_, date, entry);
    switch (check.refusal) {
      case EntryRefusal::kNone:
        break;
      case EntryRefusal::kMissingValue:
        return payment ? "a payment's amount must not be 0" : "a special day needs a title";
      case EntryRefusal::kUnstorableName:
        return UnstorableReason(payment ? "name" : "title", entry.name);
      case EntryRefusal::kUnstorableComment:
        return UnstorableReason("comment", entry.comment);
      case EntryRefusal::kTotalOutOfRange:
        return "the payments of " + IsoDate(date) +
               " would add up to more than a day's total holds (" + kLongRange + ")";
    }
    AddNewEntry(years_, date, entry);
    return {};
  }

private:
  static std::string PaymentFields(const std::vector<std::string>& f, NewEntry& entry) {
    const auto payment_kind = Trim(f[2]);
    if (SameWord(payment_kind, kPaymentKinds[0]))
      entry.kind = kAutomaticTransfers;
    else if (SameWord(payment_kind, kPaymentKinds[1]))
      entry.kind = kCashPayments;
    else
      return "the payment_kind must be automatic or cash, not " + Quoted(payment_kind);
    const auto amount = Trim(f[4]);
    switch (ParseAmount(amount, entry.amount)) {
      case AmountForm::kNumber:
        break;
      case AmountForm::kNotANumber:
        return "the amount " + Quoted(amount) + " is not a whole number";
      case AmountForm::kOutOfRange:
        return "the amount " + std::string(amount) + " is outside " + kLongRange;
    }
    if (!Trim(f[5]).empty())
      return "very_special is for special days only; leave it empty for a payment";
    if (!f[6].empty()) return "a payment has no comment; leave the comment empty";
    return {};
  }

  static std::string SpecialFields(const std::vector<std::string>& f, NewEntry& entry) {
    if (!Trim(f[2]).empty())
      return "payment_kind is for payments only; leave it empty for a special day";
    if (!Trim(f[4]).empty()) return "amount is for payments only; leave it empty for a special day";
    const auto very = Trim(f[5]);
    if (very == "1")
      entry.kind = kVerySpecialDays;
    else if (very == "0")
      entry.kind = kSpecialDays;
    else
      return "very_special must be 0 or 1, not " + Quoted(very);
    entry.comment = f[6];
    return {};
  }

  YearDatas& years_;
};

}  // namespace

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string WriteCsv(const std::vector<DatedEntry>& entries) {
  std::string out(kBom);
  out.reserve(entries.size() * 64 + 64);
  out += Header();
  out += kLineEnd;
  for (const auto& [date, e] : entries) {
    out += IsoDate(date);
    if (!e.IsSpecial) {
      out += ",payment,";
      // A kind other than the two the program makes is kept as its number; the import
      // refuses it rather than guess.
      out += e.Payment == 0 || e.Payment == 1 ? std::string(kPaymentKinds[e.Payment])
                                              : std::to_string(e.Payment);
      out += ',' + CsvField(e.strTitle) + ',' + std::to_string(e.lngPrice) + ",,";
    } else {
      out += ",special,," + CsvField(e.strSpecial) + ",," + (e.blnSpecial ? "1," : "0,") +
             CsvField(e.strComment);
    }
    out += kLineEnd;
  }
  return out;
}

void ReadCsvRecords(std::string_view text, std::vector<CsvRecord>& records,
                    std::vector<CsvProblem>& problems) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  int line = 1;
  auto end_line = [&] {  // at a line end outside quotes: step over it
    i += text[i] == '\r' && i + 1 < n && text[i + 1] == '\n' ? 2 : 1;
    ++line;
  };
  while (i < n) {
    if (IsLineEnd(text[i])) {
      end_line();
      continue;
    }
    CsvRecord record{line, {}};
    const char* error = nullptr;
    for (;;) {
      std::string field;
      if (i < n && text[i] == '"') {
        bool closed = false;
        for (++i; i < n; ++i) {
          if (text[i] == '"') {
            if (i + 1 < n && text[i + 1] == '"') {
              field += '"';
              ++i;
              continue;
            }
            ++i;
            closed = true;
            break;
          }
          // A line break inside quotes is data; it still starts a new line of the file.
          if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= n || text[i + 1] != '\n'))) ++line;
          field += text[i];
        }
        if (!closed) {
          problems.push_back({record.line, "a quoted field is not closed"});
          return;
        }
        if (i < n && text[i] != ',' && !IsLineEnd(text[i]))
          error = "text after the closing quote of a field";
      } else {
        const std::size_t start = i;
        while (i < n && text[i] != ',' && !IsLineEnd(text[i])) ++i;
        field.assign(text.substr(start, i - start));
        if (field.find('"') != std::string::npos)
          error = "a quote inside a field that does not start with one";
      }
      if (error) {
        while (i < n && !IsLineEnd(text[i])) ++i;
        break;
      }
      record.fields.push_back(std::move(field));
      if (i < n && text[i] == ',') {
        ++i;
        continue;
      }
      break;
    }
    if (error)
      problems.push_back({record.line, error});
    else
      records.push_back(std::move(record));
    if (i < n) end_line();
  }
}

ImportResult ImportCsv(std::string_view bytes, YearDatas& years) {
  ImportResult result;
  const auto text = DecodeCsv(bytes, result.problems);
  if (!text) return result;
  std::vector<CsvRecord> records;
  ReadCsvRecords(*text, records, result.problems);

  auto is_header = [](const CsvRecord& record) {
    if (record.fields.size() != kCsvColumns.size()) return false;
    for (std::size_t i = 0; i < kCsvColumns.size(); ++i)
      if (!SameWord(Trim(record.fields[i]), kCsvColumns[i])) return false;
    return true;
  };
  if (records.empty() || !is_header(records.front())) {
    result.problems.insert(result.problems.begin(), {records.empty() ? 1 : records.front().line,
                                                     "the first row must be the header " + Header()});
    return result;
  }

  RowReader rows(years);
  for (std::size_t r = 1; r < records.size(); ++r) {
    if (auto why = rows.Add(records[r].fields); !why.empty())
      result.problems.push_back({records[r].line, why});
    else
      ++result.added;
  }
  std::stable_sort(result.problems.begin(), result.problems.end(),
                   [](const CsvProblem& a, const CsvProblem& b) { return a.line < b.line; });
  return result;
}

}  // namespace orv::tool
