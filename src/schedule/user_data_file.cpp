// File layout (all little-endian, no padding):
//   Integer version (1) · Long year count
//   per year:  Integer year · Long month count
//   per month: Integer month · Long day count
//   per day:   Integer day · day record · payment records · special records
//   day record:     Long payment count, Long TotalPaymentPrice, Boolean TotalCash,
//                   Long special count, Text SpecialTitle, Boolean TotalSpecial, Text SpecialKey
//   payment record: Long lngPrice, Integer Payment, Text strTitle
//   special record: Boolean blnSpecial, Text strComment, Text strSpecial
//   then per preset list 0..3: Long count, Text strValue1 per entry
// Integer = 16 bits, Long = 32 bits, Boolean = 16 bits (-1 / 0), Text = 16-bit byte count +
// code page 932 bytes.
#include "schedule/user_data_file.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

#include "core/safe.hpp"
#include "platform/file_system.hpp"
#include "platform/text_codec.hpp"

namespace orv {
namespace {

constexpr const char* kLoad = "sfLoadUserData";
constexpr const char* kSave = "sfSaveUserData";

// A failed read or check carries its error text out of the parser.
struct Failure {
  int number;
  std::string description;
};

class Reader {
public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  std::int16_t Integer() { return static_cast<std::int16_t>(Unsigned(2)); }
  std::int32_t Long() { return static_cast<std::int32_t>(Unsigned(4)); }
  bool Boolean() { return Integer() != 0; }

  // A count of elements: 0 to 32767.
  int Count(const char* what) {
    std::int32_t n = Long();
    if (n < 0 || n > kUserDataMaxCount) Fail(kUserDataInvalidValue, std::string(what) + "の件数が範囲外です");
    return n;
  }

  // Decoded straight into `text`, without a string in between.
  void Text(std::string& text) {
    std::int16_t n = Integer();
    if (n < 0) Fail(kUserDataInvalidValue, "文字列の長さが正しくありません");
    Need(static_cast<std::size_t>(n));
    std::string_view raw = bytes_.substr(pos_, static_cast<std::size_t>(n));
    pos_ += static_cast<std::size_t>(n);
    text.clear();
    if (!AppendCp932AsUtf8(raw, text)) text = Cp932ToUtf8Lenient(raw);
  }

  bool AtEnd() const { return pos_ == bytes_.size(); }
  // At most as many elements of `min_bytes` each as the rest of the file can hold: room
  // reserved for a count read from the file never exceeds what the file can back.
  std::size_t Room(int count, std::size_t min_bytes) const {
    return std::min(static_cast<std::size_t>(count), (bytes_.size() - pos_) / min_bytes);
  }
  std::size_t Position() const { return pos_; }

  [[noreturn]] void Fail(int number, std::string description) const {
    throw Failure{number, description + " (offset " + std::to_string(pos_) + ")"};
  }

private:
  void Need(std::size_t n) const {
    if (bytes_.size() - pos_ < n) Fail(kUserDataTruncated, "ファイルが途中で終わっています");
  }
  std::uint32_t Unsigned(std::size_t n) {
    Need(n);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + pos_);
    pos_ += n;
    std::uint32_t value = p[0] | static_cast<std::uint32_t>(p[1]) << 8;
    if (n == 4) value |= static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    return value;
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// The key of a number, as std::to_string writes it, without its temporaries.
std::string KeyOf(int number) {
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  return std::string(digits, static_cast<std::size_t>(end - digits));
}

template <class Collection>
auto& AddUnique(Reader& in, Collection& collection, int number, const char* what) {
  auto* element = collection.Add(KeyOf(number));
  if (!element) in.Fail(kUserDataInvalidValue, std::string(what) + " " + std::to_string(number) + " が重複しています");
  return *element;
}

void ReadDay(Reader& in, DayData& day) {
  const int payments = in.Count("支払い");
  day.TotalPaymentPrice = in.Long();
  day.TotalCash = in.Boolean();
  const int specials = in.Count("特別な日");
  in.Text(day.SpecialTitle);
  day.TotalSpecial = in.Boolean();
  in.Text(day.SpecialKey);
  // Keys of a fresh day are 1, 2, 3, …: what NextPaymentKey and NextSpecialKey would give.
  day.PaymentDatas.Reserve(in.Room(payments, 8));
  for (int i = 0; i < payments; ++i) {
    auto& payment = *day.PaymentDatas.Add(KeyOf(i + 1));
    payment.lngPrice = in.Long();
    payment.Payment = in.Integer();
    in.Text(payment.strTitle);
  }
  day.SpecialDatas.Reserve(in.Room(specials, 6));
  for (int i = 0; i < specials; ++i) {
    auto& special = *day.SpecialDatas.Add(KeyOf(i + 1));
    special.blnSpecial = in.Boolean();
    in.Text(special.strComment);
    in.Text(special.strSpecial);
  }
}

class Writer {
public:
  explicit Writer(std::string& out) : out_(out) {}
  void Integer(std::int32_t v) { Bytes(static_cast<std::uint32_t>(v), 2); }
  void Long(std::int32_t v) { Bytes(static_cast<std::uint32_t>(v), 4); }
  void Boolean(bool v) { Integer(v ? -1 : 0); }
  void Count(std::int64_t n) {
    if (n > kUserDataMaxCount) throw Failure{kUserDataInvalidValue, "件数が多すぎて保存できません"};
    Long(static_cast<std::int32_t>(n));
  }
  // The stored form goes straight behind a place for its length, which is filled in after.
  void Text(std::string_view text) {
    const std::size_t length_at = out_.size();
    out_.append(2, '\0');
    if (!AppendUtf8AsCp932(text, out_) || out_.size() - length_at - 2 > kUserDataMaxTextBytes)
      throw Failure{kUserDataUnstorableText, CheckStorableText(text)};
    const std::size_t n = out_.size() - length_at - 2;
    out_[length_at] = static_cast<char>(n & 0xFF);
    out_[length_at + 1] = static_cast<char>(n >> 8);
  }

private:
  void Bytes(std::uint32_t v, int n) {
    const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
    out_.append(bytes, static_cast<std::size_t>(n));
  }
  std::string& out_;
};

// A key of the tree as the number the file stores, within [low, high].
std::int32_t KeyNumber(const std::string& key, int low, int high, const char* what) {
  auto n = ParseWholeNumber(key);
  if (!n || *n < low || *n > high || std::to_string(*n) != key)
    throw Failure{kUserDataInvalidValue, std::string(what) + " \"" + key + "\" は保存できません"};
  return static_cast<std::int32_t>(*n);
}

// About the size of the image, so that it is built without moving it as it grows.
std::size_t EstimatedSize(const YearDatas& years) {
  std::size_t size = 1024;
  for (const auto& year : years)
    for (const auto& month : year.MonthDatas)
      for (const auto& day : month.DayDatas)
        size += 40 + 32 * static_cast<std::size_t>(day.PaymentDatas.Count() + day.SpecialDatas.Count());
  return size;
}

}  // namespace

std::string CheckStorableText(std::string_view text) {
  auto stored = Utf8ToCp932(text);
  if (!stored) return "保存できない文字が含まれています";
  if (stored->size() > kUserDataMaxTextBytes) return "文字列が長すぎます";
  return {};
}

std::string UnstorableTextMessage(std::string_view field, std::string_view why) {
  return "「" + std::string(field) + "」の内容はユーザーデータファイルに保存できません\r\n" + std::string(why);
}

std::string ParseUserData(std::string_view bytes, YearDatas& years, DefaultUserListArray& lists) {
  // Parsed into a fresh tree that replaces the old one only when the whole file was good.
  YearDatas new_years;
  DefaultUserListArray new_lists;
  Reader in(bytes);
  try {
    if (in.Integer() > 1)
      return sfSemCreate(kLoad, kUserDataUnsupportedVersion, "このバージョンのファイルには対応していません");
    const int year_count = in.Count("年");
    new_years.Reserve(in.Room(year_count, 6));
    for (int y = 0; y < year_count; ++y) {
      const int year_number = in.Integer();
      if (year_number < 1 || year_number > 9999) in.Fail(kUserDataInvalidValue, "年が範囲外です");
      auto& year = AddUnique(in, new_years, year_number, "年");
      const int month_count = in.Count("月");
      year.MonthDatas.Reserve(in.Room(month_count, 6));
      for (int m = 0; m < month_count; ++m) {
        const int month_number = in.Integer();
        if (month_number < 1 || month_number > 12) in.Fail(kUserDataInvalidValue, "月が範囲外です");
        auto& month = AddUnique(in, year.MonthDatas, month_number, "月");
        const int day_count = in.Count("日");
        month.DayDatas.Reserve(in.Room(day_count, 22));
        for (int d = 0; d < day_count; ++d) {
          const int day_number = in.Integer();
          if (day_number < 1 || day_number > 31) in.Fail(kUserDataInvalidValue, "日が範囲外です");
          ReadDay(in, AddUnique(in, month.DayDatas, day_number, "日"));
        }
      }
    }
    for (auto& list : new_lists) {
      const int count = in.Count("定型入力");
      list.Reserve(in.Room(count, 2));
      for (int i = 0; i < count; ++i) in.Text(list.Add(KeyOf(i + 1))->strValue1);
    }
    if (!in.AtEnd()) in.Fail(kUserDataTrailingBytes, "ファイルの末尾に余分なデータがあります");
  } catch (const Failure& failure) {
    return sfSemCreate(kLoad, failure.number, failure.description);
  }
  years = std::move(new_years);
  lists = std::move(new_lists);
  return {};
}

std::string SerializeUserData(const YearDatas& years, const DefaultUserListArray& lists,
                              std::string& bytes) {
  std::string out;
  out.reserve(EstimatedSize(years));
  Writer w(out);
  try {
    w.Integer(1);
    w.Count(years.Count());
    for (const auto& year : years) {
      w.Integer(KeyNumber(year.Key, 1, 9999, "年"));
      w.Count(year.MonthDatas.Count());
      for (const auto& month : year.MonthDatas) {
        w.Integer(KeyNumber(month.Key, 1, 12, "月"));
        w.Count(month.DayDatas.Count());
        for (const auto& day : month.DayDatas) {
          w.Integer(KeyNumber(day.Key, 1, 31, "日"));
          w.Count(day.PaymentDatas.Count());
          w.Long(day.TotalPaymentPrice);
          w.Boolean(day.TotalCash);
          w.Count(day.SpecialDatas.Count());
          w.Text(day.SpecialTitle);
          w.Boolean(day.TotalSpecial);
          w.Text(day.SpecialKey);
          for (const auto& payment : day.PaymentDatas) {
            w.Long(payment.lngPrice);
            w.Integer(payment.Payment);
            w.Text(payment.strTitle);
          }
          for (const auto& special : day.SpecialDatas) {
            w.Boolean(special.blnSpecial);
            w.Text(special.strComment);
            w.Text(special.strSpecial);
          }
        }
      }
    }
    for (const auto& list : lists) {
      w.Count(list.Count());
      for (const auto& preset : list) w.Text(preset.strValue1);
    }
  } catch (const Failure& failure) {
    return sfSemCreate(kSave, failure.number, failure.description);
  }
  bytes = std::move(out);
  return {};
}

std::string sfLoadUserData(const std::string& path, YearDatas& years, DefaultUserListArray& lists) {
  if (!FileExists(path)) return sfSemCreate(kLoad, kUserDataNoFile, "ファイルが存在しません");
  std::string bytes;
  if (SystemError error = ReadWholeFile(path, bytes))
    return sfSemCreate(kLoad, error.number, error.description);
  return ParseUserData(bytes, years, lists);
}

std::string sfSaveUserData(const std::string& path, const YearDatas& years,
                           const DefaultUserListArray& lists) {
  std::string bytes;
  if (auto error = SerializeUserData(years, lists, bytes); !error.empty()) return error;
  if (SystemError error = ReplaceFileContents(path, bytes))
    return sfSemCreate(kSave, error.number, error.description);
  return {};
}

}  // namespace orv
