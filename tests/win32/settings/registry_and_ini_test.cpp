// The registry adapters and the portable INI reader against the system's own reader.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "platform/ini_file.hpp"
#include "platform/win32/registry.hpp"
#include "platform/win32/wide.hpp"
#include "../../support/temp_dir.hpp"
#include "../../unit/settings/ini_read_cases.hpp"

namespace orv {
namespace {

// A private key under HKCU for one test, removed afterwards.
class RegistryTest : public testing::Test {
protected:
  std::string base = "Software\\OrvantaTest" + std::to_string(std::random_device()());
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, Utf8ToWide(base).c_str()); }

  DWORD TypeOf(const std::string& subkey, const std::string& name) {
    DWORD type = 0;
    RegGetValueW(HKEY_CURRENT_USER, Utf8ToWide(subkey).c_str(), Utf8ToWide(name).c_str(),
                 RRF_RT_ANY, &type, nullptr, nullptr);
    return type;
  }
  void SetRaw(const std::string& name, DWORD type, const void* data, DWORD bytes) {
    RegSetKeyValueW(HKEY_CURRENT_USER, Utf8ToWide(base).c_str(), Utf8ToWide(name).c_str(), type,
                    data, bytes);
  }
};

TEST_F(RegistryTest, SettingsStoreRoundTripsTextAsRegSz) {
  RegistrySettingsStore store(base);
  EXPECT_EQ(store.Get("Orvanta", "Option", "TodayStart", "2"), "2");
  store.Set("Orvanta", "Option", "TodayStart", "1");
  store.Set("Orvanta", "UserData", "FileName", "C:\\データ\\家計簿.ORV");
  store.Set("Orvanta", "Theme", "Selected", "");
  EXPECT_EQ(store.Get("Orvanta", "Option", "TodayStart", "2"), "1");
  EXPECT_EQ(store.Get("orvanta", "OPTION", "todaystart", "2"), "1");
  EXPECT_EQ(store.Get("Orvanta", "UserData", "FileName", ""), "C:\\データ\\家計簿.ORV");
  EXPECT_EQ(store.Get("Orvanta", "Theme", "Selected", "x"), "");  // empty, not the default
  EXPECT_EQ(store.Get("Orvanta", "Nothing", "Here", "dflt"), "dflt");
  EXPECT_EQ(TypeOf(base + "\\Orvanta\\Option", "TodayStart"), static_cast<DWORD>(REG_SZ));
  const std::string long_value(5000, 'L');
  store.Set("Orvanta", "Run", "Long", long_value);
  EXPECT_EQ(store.Get("Orvanta", "Run", "Long", ""), long_value);
}

TEST_F(RegistryTest, ReaderFollowsTheBufferRuleAndKinds) {
  Win32RegistryReader reader;
  const std::wstring fits(255, L'w'), too_long(256, L'w');
  SetRaw("Fits", REG_SZ, fits.c_str(), 256 * 2);
  SetRaw("TooLong", REG_SZ, too_long.c_str(), 257 * 2);
  const DWORD number = 0xFFFFFFFE;
  SetRaw("Number", REG_DWORD, &number, 4);
  const std::wstring expand = L"%SystemRoot%\\w.bmp";
  SetRaw("Expand", REG_EXPAND_SZ, expand.c_str(), static_cast<DWORD>((expand.size() + 1) * 2));
  const auto root = RegistryRoot::CurrentUser;
  const RegistryValue def = std::string("default");

  EXPECT_EQ(ReadRegistryValue(reader, root, base, "Fits", 1, def),
            RegistryValue(std::string(255, 'w')));
  EXPECT_EQ(ReadRegistryValue(reader, root, base, "TooLong", 1, def), def);
  EXPECT_EQ(ReadRegistryValue(reader, root, base, "Missing", 1, def), def);
  EXPECT_EQ(ReadRegistryValue(reader, root, base, "Number", 4, RegistryValue(5)), RegistryValue(-2));
  EXPECT_EQ(ReadRegistryValue(reader, root, base, "Fits", 4, RegistryValue(5)), RegistryValue(5));
  EXPECT_EQ(ReadRegistryValue(reader, root, base, "Number", 1, def), def);
  auto expanded = std::get<std::string>(ReadRegistryValue(reader, root, base, "Expand", 1, def));
  EXPECT_EQ(expanded.find('%'), std::string::npos) << expanded;
  EXPECT_TRUE(expanded.ends_with("\\w.bmp")) << expanded;
}

// The system's reader on a file, as the program once called it: a 1024-character buffer.
std::string SystemRead(const std::string& path, const char* section, const char* key,
                       const char* def) {
  wchar_t buffer[1024] = {};
  GetPrivateProfileStringW(Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(),
                           Utf8ToWide(def).c_str(), buffer, 1024, Utf8ToWide(path).c_str());
  return WideToUtf8(buffer);
}

TEST(IniAgainstSystemReader, GivesTheSameAnswerInEveryCase) {
  test::TempDir dir;
  int n = 0;
  for (const test::ReadCase& c : test::IniReadCases()) {
    // A new file each time: the system keeps recently read files cached.
    const std::string path = dir.File("case" + std::to_string(++n) + ".ini");
    test::WriteBytes(path, c.content);
    const std::string ours = ReadIniString(path, c.section, c.key, "<default>");
    EXPECT_EQ(ours, c.expected) << c.name;
    EXPECT_EQ(SystemRead(path, c.section, c.key, "<default>"), ours) << c.name;
  }
}

TEST(IniAgainstSystemReader, EachReadsWhatTheOtherWrote) {
  test::TempDir dir;
  const std::string ours = dir.File("ours.ini"), theirs = dir.File("theirs.ini");
  ASSERT_FALSE(WriteIniString(ours, "CalendarDraw", "File_1", "C:\\テーマ\\春.ini"));
  ASSERT_FALSE(WriteIniString(ours, "CalendarDraw", "Count", "1"));
  ASSERT_FALSE(WriteIniString(ours, "Other", "Key", "値"));
  EXPECT_EQ(SystemRead(ours, "CalendarDraw", "File_1", ""), "C:\\テーマ\\春.ini");
  EXPECT_EQ(SystemRead(ours, "calendardraw", "COUNT", ""), "1");
  EXPECT_EQ(SystemRead(ours, "Other", "Key", ""), "値");

  auto write = [&theirs](const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringW(Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(),
                                      Utf8ToWide(value).c_str(), Utf8ToWide(theirs).c_str());
  };
  ASSERT_TRUE(write("CalendarDraw", "Count", "2"));
  ASSERT_TRUE(write("CalendarDraw", "File_2", "D:\\空.ini"));
  ASSERT_TRUE(write("Head", "Title", "春の空"));
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, Utf8ToWide(theirs).c_str());  // flush
  EXPECT_EQ(ReadIniString(theirs, "CalendarDraw", "Count", ""), "2");
  EXPECT_EQ(ReadIniString(theirs, "CalendarDraw", "File_2", ""), "D:\\空.ini");
  EXPECT_EQ(ReadIniString(theirs, "Head", "Title", ""), "春の空");
}

}  // namespace
}  // namespace orv
