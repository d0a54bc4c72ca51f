// End-to-end: the installer and the portable zip, in a fresh prefix. tests/e2e/run-package-test
// builds the packages and names them in the environment; without them these scenarios skip.
//   ORV_PACKAGE_MSI, ORV_PACKAGE_VERSION            the installer of this build and its version
//   ORV_PACKAGE_NEXT_MSI, ORV_PACKAGE_NEXT_VERSION  the same program packaged as a newer version
//   ORV_PACKAGE_PORTABLE                            the folder the zip was unpacked into
#include "e2e_harness.hpp"

#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <map>

#include "KestrovePickvane_h.h"
#include "calendar/calendar_layout.hpp"
#include "platform/win32/wic_picture_loader.hpp"
#include "theme/theme.hpp"

namespace orv::e2e {
namespace {

std::wstring Env(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2] = L"";
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
  return n > 0 && n < MAX_PATH * 2 ? value : L"";
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring out;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) out = path;
  CoTaskMemFree(path);
  return out;
}

// Runs a command line and waits for it (an installer: two minutes at most).
long Run(std::wstring command) { return RunCommand(std::move(command), 120000); }

long Msiexec(const std::wstring& action, const std::wstring& msi, const std::wstring& properties = L"") {
  return Run(L"msiexec.exe " + action + L" \"" + msi + L"\" /qn " + properties);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring Guid(REFGUID guid) {
  wchar_t text[40] = L"";
  StringFromGUID2(guid, text, 40);
  return text;
}

// The keys the list control's registration owns under the user's classes key.
std::vector<std::wstring> RegistrationTrees() {
  const std::wstring classes = L"Software\\Classes\\";
  return {classes + L"KestrovePickvane.Pickvane",         classes + L"CLSID\\" + Guid(CLSID_Pickvane),
          classes + L"TypeLib\\" + Guid(LIBID_KestrovePickvane), classes + L"Interface\\" + Guid(IID__Pickvane),
          classes + L"Interface\\" + Guid(IID__SelectItems),     classes + L"Interface\\" + Guid(IID__SelectItem),
          classes + L"Interface\\" + Guid(DIID___Pickvane)};
}

// Every value below `key` of the current user's 64-bit registry view, as "key|name" → "type:data".
void ReadTree(const std::wstring& key, std::map<std::wstring, std::wstring>& out) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &raw) != ERROR_SUCCESS) return;
  RegKey owner(raw);
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256, type = 0;
    BYTE data[2048];
    DWORD data_size = sizeof data;
    if (RegEnumValueW(raw, i, name, &name_size, nullptr, &type, data, &data_size) != ERROR_SUCCESS) break;
    const std::wstring text(reinterpret_cast<const wchar_t*>(data), data_size / sizeof(wchar_t));
    out[key + L"|" + name] = std::to_wstring(type) + L":" + text.c_str();
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    if (RegEnumKeyExW(raw, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    ReadTree(key + L"\\" + name, out);
  }
}

std::map<std::wstring, std::wstring> Registration() {
  std::map<std::wstring, std::wstring> values;
  for (const auto& tree : RegistrationTrees()) ReadTree(tree, values);
  return values;
}

bool KeyExists(const std::wstring& key) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &raw) != ERROR_SUCCESS) return false;
  RegCloseKey(raw);
  return true;
}

// A string of a file's version resource ("FileVersion", "ProductVersion"), in its first language.
std::wstring VersionString(const std::wstring& file, const wchar_t* name) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  std::vector<BYTE> info(size);
  if (!size || !GetFileVersionInfoW(file.c_str(), 0, size, info.data())) return L"(none)";
  struct Translation {
    WORD language, codepage;
  }* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof *translation)
    return L"(no translation)";
  wchar_t query[64];
  swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codepage, name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(info.data(), query, reinterpret_cast<void**>(&value), &length)) return L"(missing)";
  return value;
}

// The installed products named Orvanta, with their versions.
std::vector<std::wstring> InstalledOrvantaVersions() {
  std::vector<std::wstring> versions;
  wchar_t code[39];
  for (DWORD i = 0; MsiEnumProductsW(i, code) == ERROR_SUCCESS; ++i) {
    wchar_t text[256];
    DWORD size = 256;
    if (MsiGetProductInfoW(code, INSTALLPROPERTY_PRODUCTNAME, text, &size) != ERROR_SUCCESS ||
        std::wstring(text) != L"Orvanta")
      continue;
    size = 256;
    MsiGetProductInfoW(code, INSTALLPROPERTY_VERSIONSTRING, text, &size);
    versions.push_back(text);
  }
  return versions;
}

std::wstring IniText(const std::wstring& file, const wchar_t* key) {
  wchar_t value[MAX_PATH * 2] = L"";
  GetPrivateProfileStringW(L"CalendarDraw", key, L"", value, MAX_PATH * 2, file.c_str());
  return value;
}

// The theme list beside the program lists the three sample themes, each of which loads with
// every picture its file names, and whose strip pictures are as high as its strips.
void ExpectSampleThemes(const std::wstring& folder) {
  const std::wstring list = folder + L"\\Orvanta.INI";
  ASSERT_EQ(IniText(list, L"Count"), L"3");
  WicPictureLoader pictures;
  for (int i = 1; i <= 3; ++i) {
    const std::wstring entry = IniText(list, (L"File_" + std::to_wstring(i)).c_str());
    SCOPED_TRACE(WideToUtf8(entry));
    ASSERT_EQ(entry.rfind(L"Theme\\", 0), 0u);
    ThemeRecord theme;
    ASSERT_EQ(sfLoadINIThemeFile(theme, WideToUtf8(folder + L"\\" + entry), ThemeEnvironment{pictures, TwipsScale{}}), "");
    for (const ThemePicture* slot : {&theme.Lastweek, &theme.Nextweek, &theme.Body, &theme.Month, &theme.CashIcon,
                                     &theme.Title}) {
      const std::wstring file = Utf8ToWide(slot->PicturePath);
      // A slot names a file or nothing (then the path is the theme folder itself).
      if (!file.empty() && file.back() != L'\\') {
        EXPECT_TRUE(slot->HasPicture) << slot->PicturePath;
      }
      if (slot->HasPicture && !slot->MaskPath.empty() && slot->MaskPath.back() != '\\') {
        EXPECT_TRUE(slot->HasMask) << slot->MaskPath;
      }
    }
    ASSERT_TRUE(theme.Lastweek.HasPicture && theme.Nextweek.HasPicture && theme.Body.HasPicture);
    // The pictures are drawn for 200 %: there they are drawn 1:1, and at every scale each
    // strip picture is as high as its strip and a tiled body's tile one day high.
    EXPECT_EQ(theme.DesignDpi, 192);
    for (int dpi : {96, 120, 144, 168, 192}) {
      SCOPED_TRACE(dpi);
      const ThemeGeometry g = ScaleThemeGeometry(theme, dpi);
      EXPECT_EQ(g.Lastweek.height, g.LastweekHeight);
      EXPECT_EQ(g.Nextweek.height, g.NextweekHeight);
      if (theme.BodyDrawMode == 2) {
        EXPECT_EQ(g.Body.height, g.DayHeight);
      }
    }
    EXPECT_EQ(theme.Lastweek.Picture->Height(), 2 * theme.LastweekHeight);
  }
}

class PackageE2E : public OrvantaE2E {
protected:
  void SetUp() override {
    msi_ = Env(L"ORV_PACKAGE_MSI");
    if (msi_.empty()) GTEST_SKIP() << "run by tests/e2e/run-package-test";
    version_ = Env(L"ORV_PACKAGE_VERSION");
    next_msi_ = Env(L"ORV_PACKAGE_NEXT_MSI");
    next_version_ = Env(L"ORV_PACKAGE_NEXT_VERSION");
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    folder_ = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Orvanta";
    shortcut_ = KnownFolder(FOLDERID_Programs) + L"\\Orvanta.lnk";
    OrvantaE2E::SetUp();
  }
  void TearDown() override {
    OrvantaE2E::TearDown();
    if (msi_.empty()) return;
    // Whatever a failed scenario left installed, so that the next one starts clean.
    if (!InstalledOrvantaVersions().empty()) {
      Msiexec(L"/x", next_msi_);
      Msiexec(L"/x", msi_);
    }
    CoUninitialize();
  }

  std::wstring Program() const { return folder_ + L"\\orvanta.exe"; }
  static std::wstring RunValue() { return GetText(L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Orvanta"); }

  // A user data file in the user's documents, named as a user would.
  std::string DocumentsData() {
    const std::string path = WideToUtf8(KnownFolder(FOLDERID_Documents)) + "\\わたしの予定.ORV";
    WriteEmptyData(path);
    StoreDataPath(path);
    return path;
  }

  // Starts `program`, sees the calendar, shows the payments, opens the add-entry dialog from a
  // day and finds the list control in it, then quits the orderly way (which writes the
  // settings). Returns the calendar's width with the payments shown. `shots` names the
  // pictures written for looking at (ORV_E2E_SHOTS).
  int RunCalendarAndListControl(const std::wstring& program, const std::string& shots) {
    StopProgman();  // a calendar of its own: the dialogs are then owned inside its process
    Launch(program);
    if (!WaitShown()) return ADD_FAILURE() << "no calendar", 0;
    SendMessageW(Host(), WM_COMMAND, 1021, 0);  // 支払いの予定(&P)
    HWND add = OpenAddEntryAt(MiddleDayRow());
    if (!add) return ADD_FAILURE() << "no add-entry dialog", 0;
    EXPECT_TRUE(FindChild(add, [](HWND child) {
      wchar_t name[64] = L"";
      GetClassNameW(child, name, 64);
      return std::wstring(name) == L"KestrovePickvaneCanvas";
    })) << "the list control was not created";
    Screenshot(Calendar(), shots + "-calendar");
    Screenshot(add, shots + "-add-entry");
    RECT r{};
    GetClientRect(Calendar(), &r);
    PostMessageW(add, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(add); }));
    Quit();
    return r.right - r.left;
  }

  std::wstring msi_, version_, next_msi_, next_version_, folder_, shortcut_;
};

TEST_F(PackageE2E, InstallsForTheUserRunsFromItsFolderAndUninstallsLeavingTheUsersData) {
  const std::string data = DocumentsData();
  ASSERT_EQ(Msiexec(L"/i", msi_), 0);

  // The program, the library and the themes in the user's local programs folder, with the
  // project's version in their version resources.
  for (const wchar_t* file : {L"orvanta.exe", L"KestrovePickvane.dll", L"Orvanta.INI", L"Theme\\Notebook\\paper.bmp"})
    EXPECT_TRUE(Exists(folder_ + L"\\" + file)) << WideToUtf8(file);
  ExpectSampleThemes(folder_);
  EXPECT_EQ(VersionString(Program(), L"ProductVersion"), version_);
  EXPECT_EQ(VersionString(Program(), L"FileVersion"), version_);
  EXPECT_EQ(VersionString(folder_ + L"\\KestrovePickvane.dll", L"ProductVersion"), version_);
  EXPECT_EQ(VersionString(folder_ + L"\\KestrovePickvane.dll", L"FileVersion"), L"1.00.0005");
  EXPECT_GE(ExtractIconExW(Program().c_str(), -1, nullptr, nullptr, 0), 1u) << "no file icon";
  EXPECT_EQ(InstalledOrvantaVersions(), std::vector<std::wstring>{version_});

  // The Start menu shortcut starts the program in its folder; the "Run" value starts it at logon.
  ComPtr<IShellLinkW> link;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                             reinterpret_cast<void**>(link.put())), S_OK);
  auto file = link.As<IPersistFile>(IID_IPersistFile);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->Load(shortcut_.c_str(), STGM_READ), S_OK) << WideToUtf8(shortcut_);
  wchar_t target[MAX_PATH] = L"", directory[MAX_PATH] = L"";
  link->GetPath(target, MAX_PATH, nullptr, 0);
  link->GetWorkingDirectory(directory, MAX_PATH);
  EXPECT_EQ(_wcsicmp(target, Program().c_str()), 0) << WideToUtf8(target);
  EXPECT_EQ(_wcsicmp(directory, (folder_ + L"\\").c_str()), 0) << WideToUtf8(directory);
  EXPECT_EQ(RunValue(), L"\"" + Program() + L"\"");

  // The list control's registration for this user: exactly what the library writes itself
  // when asked to register for the current user.
  const auto installed = Registration();
  EXPECT_EQ(installed.at(RegistrationTrees()[1] + L"\\InprocServer32|"), L"1:" + folder_ + L"\\KestrovePickvane.dll");
  {
    HMODULE library = LoadLibraryW((folder_ + L"\\KestrovePickvane.dll").c_str());
    ASSERT_TRUE(library);
    auto install = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR)>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllInstall")));
    ASSERT_TRUE(install);
    EXPECT_EQ(install(TRUE, L"user"), S_OK);
    FreeLibrary(library);
  }
  EXPECT_EQ(Registration(), installed);
  EXPECT_FALSE(KeyExists(L"Software\\Classes\\Wow6432Node\\CLSID\\" + Guid(CLSID_Pickvane))) << "32-bit view";

  // Started as Windows starts it at logon; the sample themes are there to choose: the
  // selection of the notebook's full path is found in the list and used.
  SetText(HKEY_CURRENT_USER, L"Software\\Orvanta\\Theme", L"Selected", folder_ + L"\\Theme\\Notebook\\Notebook.INI");
  EXPECT_EQ(RunCalendarAndListControl(RunValue().substr(1, RunValue().size() - 2), "installed"), 260);  // the notebook's width
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Theme", L"Selected"), folder_ + L"\\Theme\\Notebook\\Notebook.INI");
  const std::string saved = test::ReadBytes(data);
  ASSERT_FALSE(saved.empty());

  ASSERT_EQ(Msiexec(L"/x", msi_), 0);
  EXPECT_TRUE(InstalledOrvantaVersions().empty());
  for (const wchar_t* gone : {L"orvanta.exe", L"KestrovePickvane.dll", L"Theme"})
    EXPECT_FALSE(Exists(folder_ + L"\\" + gone)) << WideToUtf8(gone);
  EXPECT_FALSE(Exists(shortcut_));
  EXPECT_EQ(RunValue(), L"");
  for (const auto& tree : RegistrationTrees()) EXPECT_FALSE(KeyExists(tree)) << WideToUtf8(tree);
  EXPECT_FALSE(KeyExists(L"Software\\Orvanta\\Install"));
  // What belongs to the user stays: the data file, the settings and the theme list.
  EXPECT_EQ(test::ReadBytes(data), saved);
  EXPECT_EQ(GetText(kUserDataKey, L"FileName"), Utf8ToWide(data));
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Option", L"TodayStart"), L"0");
  EXPECT_TRUE(Exists(folder_ + L"\\Orvanta.INI"));
}

TEST_F(PackageE2E, StartWithWindowsCanBeTurnedOffAtInstall) {
  ASSERT_EQ(Msiexec(L"/i", msi_, L"STARTWITHWINDOWS=0"), 0);
  EXPECT_TRUE(Exists(Program()));
  EXPECT_TRUE(Exists(shortcut_));
  EXPECT_EQ(RunValue(), L"");
  ASSERT_EQ(Msiexec(L"/x", msi_), 0);
  EXPECT_FALSE(Exists(Program()));
}

TEST_F(PackageE2E, ANewerVersionReplacesTheProgramAndKeepsTheSettingsAndTheThemeList) {
  ASSERT_FALSE(next_msi_.empty());
  ASSERT_EQ(Msiexec(L"/i", msi_), 0);
  // The user's own state: options, a chosen theme and a theme list of their own.
  SetOption(L"AutoSave", L"True");
  SetText(HKEY_CURRENT_USER, L"Software\\Orvanta\\Theme", L"Selected", L"C:\\themes\\mine.ini");
  const std::wstring list = folder_ + L"\\Orvanta.INI";
  WritePrivateProfileStringW(L"CalendarDraw", L"File_4", L"C:\\themes\\mine.ini", list.c_str());
  WritePrivateProfileStringW(L"CalendarDraw", L"Count", L"4", list.c_str());
  const std::string themes = test::ReadBytes(WideToUtf8(list));

  ASSERT_EQ(Msiexec(L"/i", next_msi_), 0);
  EXPECT_EQ(InstalledOrvantaVersions(), std::vector<std::wstring>{next_version_});  // replaced, not beside
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Install", L"Program"), next_version_);
  EXPECT_TRUE(Exists(Program()));
  EXPECT_TRUE(Exists(shortcut_));
  EXPECT_EQ(RunValue(), L"\"" + Program() + L"\"");
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Option", L"AutoSave"), L"True");
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Theme", L"Selected"), L"C:\\themes\\mine.ini");
  EXPECT_EQ(test::ReadBytes(WideToUtf8(list)), themes);

  // The older package does not go back over the newer one.
  EXPECT_NE(Msiexec(L"/i", msi_), 0);
  EXPECT_EQ(InstalledOrvantaVersions(), std::vector<std::wstring>{next_version_});

  ASSERT_EQ(Msiexec(L"/x", next_msi_), 0);
  EXPECT_TRUE(InstalledOrvantaVersions().empty());
  EXPECT_FALSE(Exists(Program()));
  EXPECT_EQ(RunValue(), L"");
  EXPECT_EQ(test::ReadBytes(WideToUtf8(list)), themes);
}

TEST_F(PackageE2E, AThemeListAlreadyThereIsNeverOverwrittenAndAMissingOneIsWritten) {
  // A list of the user's own in the folder before the first installation (as the portable
  // folder leaves one): installing and uninstalling leave it as it is.
  const int made = SHCreateDirectoryExW(nullptr, folder_.c_str(), nullptr);
  ASSERT_TRUE(made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS) << made;
  const std::string list = WideToUtf8(folder_ + L"\\Orvanta.INI");
  const std::string mine = "[CalendarDraw]\r\nCount=1\r\nFile_1=C:\\themes\\mine.ini\r\n";
  test::WriteBytes(list, mine);
  ASSERT_EQ(Msiexec(L"/i", msi_), 0);
  EXPECT_TRUE(Exists(Program()));
  EXPECT_EQ(test::ReadBytes(list), mine);
  ASSERT_EQ(Msiexec(L"/x", msi_), 0);
  EXPECT_EQ(test::ReadBytes(list), mine);
  // Gone before the next installation: the samples' list is written again, and kept.
  ASSERT_TRUE(DeleteFileW(Utf8ToWide(list).c_str()));
  ASSERT_EQ(Msiexec(L"/i", msi_), 0);
  ExpectSampleThemes(folder_);
  ASSERT_EQ(Msiexec(L"/x", msi_), 0);
  EXPECT_TRUE(Exists(folder_ + L"\\Orvanta.INI"));
}

TEST_F(PackageE2E, ThePortableZipRunsWhereItIsUnpacked) {
  const std::wstring portable = Env(L"ORV_PACKAGE_PORTABLE");
  ASSERT_FALSE(portable.empty());
  for (const wchar_t* file : {L"orvanta.exe", L"KestrovePickvane.dll", L"Orvanta.INI", L"ReadMe.txt"})
    EXPECT_TRUE(Exists(portable + L"\\" + file)) << WideToUtf8(file);
  ExpectSampleThemes(portable);
  EXPECT_FALSE(KeyExists(RegistrationTrees()[0])) << "nothing registers the list control here";
  DocumentsData();
  EXPECT_EQ(RunCalendarAndListControl(portable + L"\\orvanta.exe", "portable"), 240);  // the built-in theme's width
}

}  // namespace
}  // namespace orv::e2e
