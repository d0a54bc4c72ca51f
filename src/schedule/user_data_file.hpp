#pragma once
// The user data file (".ORV"): a flat little-endian image of the schedule tree and the four
// preset lists, texts in code page 932 behind a 16-bit byte count. The layout is fixed byte
// for byte; see user_data_file.cpp for the order of the fields.
#include <string>
#include <string_view>

#include "schedule/schedule.hpp"

namespace orv {

// Error numbers of the error texts (besides the system's own for I/O failures).
enum UserDataError : int {
  kUserDataNoFile = 0,              // no file at the path
  kUserDataUnsupportedVersion = 1,  // format version above 1
  kUserDataTruncated = 2,           // the file ends before all its counted parts
  kUserDataInvalidValue = 3,        // a count, year, month, day or text length the model cannot hold
  kUserDataTrailingBytes = 4,       // bytes after the last preset list
  kUserDataUnstorableText = 5,      // a text the file cannot hold unchanged (save)
};

// What the program shows when a save it was asked for fails (the error text itself is not
// shown).
inline constexpr char kSaveErrorTitle[] = "データの保存エラー";
inline constexpr char kSaveErrorText[] = "ユーザーデータを保存する事が出来ませんでした!\r\n";

inline constexpr int kUserDataMaxCount = 32767;      // elements per collection
inline constexpr int kUserDataMaxTextBytes = 32767;  // code page 932 bytes per text

// Replaces `years` and `lists` with the file's content. On any failure they are left exactly
// as they were. Returns the error text, empty on success.
std::string sfLoadUserData(const std::string& path, YearDatas& years, DefaultUserListArray& lists);

// Replaces the file with the image of `years` and `lists`. The old file survives any failure.
std::string sfSaveUserData(const std::string& path, const YearDatas& years,
                           const DefaultUserListArray& lists);

// The two halves without the file system: used by the routines above, the tool and the fuzzer.
std::string ParseUserData(std::string_view bytes, YearDatas& years, DefaultUserListArray& lists);
std::string SerializeUserData(const YearDatas& years, const DefaultUserListArray& lists,
                              std::string& bytes);

// The text's stored form, or an error description when the file cannot hold it unchanged.
// The editing dialogs use it to refuse such input before anything is added.
std::string CheckStorableText(std::string_view text);

// What a refusal of such input says: the field by its name, then the reason CheckStorableText
// gave ("「名称」の内容はユーザーデータファイルに保存できません", line break, reason).
std::string UnstorableTextMessage(std::string_view field, std::string_view why);

}  // namespace orv
