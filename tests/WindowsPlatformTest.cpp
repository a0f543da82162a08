// The Windows side of the platform layer against the system itself: the preset in the
// registry, the resources this program carries (as steepo.exe does), the locale and the
// taskbar button of a real window.

#include "OrbDialogs.h"
#include "Platform.h"
#include "PresetStore.h"
#include "TaskbarButton.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include <windows.h>

// The layer's own PlaySound, not the system's macro for PlaySoundW.
#undef PlaySound

namespace {

// ---- The preset in the registry -------------------------------------------------------------

constexpr wchar_t PresetKey[] = L"Software\\Varnak\\Steepo";

// The test main keeps HKEY_CURRENT_USER in a scratch key of its own; each test starts with no
// preset there.
class RegistryPresetTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Inside the scratch key there is no scratch key: this is not the user's own hive.
    HKEY scratch = nullptr;
    ASSERT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\SteepoTests", 0, KEY_READ, &scratch), ERROR_SUCCESS);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varnak");
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varnak"); }

  static void Store(DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, PresetKey, L"Preset", type, data, size), ERROR_SUCCESS);
  }
  static bool KeyExists(const wchar_t* path = PresetKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }
};

struct TStoredRow {
  const char* Name;
  std::function<void()> Store;
  std::optional<quint32> Expected;
};

TEST_F(RegistryPresetTest, ReadsOnlyADwordFromOneTo3599) {
  const DWORD zero = 0, hour = 3600, largest = 0xFFFFFFFFu, first = 1, last = 3599;
  const ULONGLONG wide = 180;
  const wchar_t text[] = L"180";
  const WORD narrow = 180;
  const TStoredRow rows[] = {
      {"missing", [] {}, std::nullopt},
      {"REG_SZ", [&] { Store(REG_SZ, text, sizeof text); }, std::nullopt},
      {"REG_QWORD", [&] { Store(REG_QWORD, &wide, sizeof wide); }, std::nullopt},
      {"two bytes", [&] { Store(REG_BINARY, &narrow, sizeof narrow); }, std::nullopt},
      {"0", [&] { Store(REG_DWORD, &zero, sizeof zero); }, std::nullopt},
      {"3600", [&] { Store(REG_DWORD, &hour, sizeof hour); }, std::nullopt},
      {"2^32-1", [&] { Store(REG_DWORD, &largest, sizeof largest); }, std::nullopt},
      {"1", [&] { Store(REG_DWORD, &first, sizeof first); }, 1u},
      {"3599", [&] { Store(REG_DWORD, &last, sizeof last); }, 3599u},
  };
  for (const TStoredRow& row : rows) {
    SCOPED_TRACE(row.Name);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varnak");
    row.Store();
    EXPECT_EQ(Platform::ReadPreset(), row.Expected);
    // Reading creates the key where it is missing.
    EXPECT_TRUE(KeyExists());
  }
}

TEST_F(RegistryPresetTest, WritesADwordOverWhateverWasThere) {
  EXPECT_EQ(Platform::PresetStoreKind(), Platform::TStoreKind::Absent);
  const wchar_t text[] = L"junk";
  Store(REG_SZ, text, sizeof text);
  QString reason;
  ASSERT_TRUE(Platform::WritePreset(1234, &reason)) << reason.toStdString();
  DWORD type = 0, value = 0, size = sizeof value;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, PresetKey, L"Preset", RRF_RT_ANY, &type, &value, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD(REG_DWORD));
  EXPECT_EQ(size, sizeof(DWORD));
  EXPECT_EQ(value, 1234u);
  EXPECT_EQ(Platform::ReadPreset(), 1234u);
  EXPECT_EQ(Platform::PresetStoreKind(), Platform::TStoreKind::Regular);
}

// ---- Sections beside the preset ---------------------------------------------------------------

// The registry gives values before subkeys, in an order of its own: sections compare sorted.
Platform::TStoreSection Sorted(Platform::TStoreSection section) {
  std::sort(section.begin(), section.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
  return section;
}

DWORD StoredType(const wchar_t* key, const wchar_t* value) {
  DWORD type = 0;
  return RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_ANY, &type, nullptr, nullptr) == ERROR_SUCCESS ? type : 0;
}

TEST_F(RegistryPresetTest, ASectionIsKeysAndValuesAndReplacesTheWholeOldOne) {
  using Platform::TStoreSection;
  QString reason;
  ASSERT_TRUE(Platform::WritePreset(240, &reason));
  ASSERT_TRUE(Platform::WriteSection(QStringLiteral("Alarm"), {{"Repeat", true}}, &reason)) << reason.toStdString();
  const TStoreSection two = {{"1/Name", QStringLiteral("Oolong, gongfu")}, {"1/Time", 20u},
                             {"2/Name", QStringLiteral("Tè verde")},       {"size", 2u}};
  ASSERT_TRUE(Platform::WriteSection(QStringLiteral("Teas"), two, &reason)) << reason.toStdString();
  EXPECT_EQ(StoredType(L"Software\\Varnak\\Steepo\\Teas\\1", L"Name"), DWORD(REG_SZ));
  EXPECT_EQ(StoredType(L"Software\\Varnak\\Steepo\\Teas\\1", L"Time"), DWORD(REG_DWORD));
  EXPECT_EQ(StoredType(L"Software\\Varnak\\Steepo\\Teas", L"size"), DWORD(REG_DWORD));
  EXPECT_EQ(Sorted(Platform::ReadSection(QStringLiteral("Teas"), &reason).value()), Sorted(two));

  const TStoreSection one = {{"1/Name", QStringLiteral("Sencha")}, {"size", 1u}};
  ASSERT_TRUE(Platform::WriteSection(QStringLiteral("Teas"), one, &reason)) << reason.toStdString();
  EXPECT_EQ(Sorted(Platform::ReadSection(QStringLiteral("Teas"), &reason).value()), Sorted(one));
  // A flag reads back as the number it is stored as; the rest of the store is as it was.
  EXPECT_EQ(Platform::ReadSection(QStringLiteral("Alarm"), &reason).value(), TStoreSection({{"Repeat", 1u}}));
  EXPECT_EQ(Platform::ReadPreset(), 240u);

  ASSERT_TRUE(Platform::WriteSection(QStringLiteral("Teas"), {}, &reason)) << reason.toStdString();
  EXPECT_EQ(Platform::ReadSection(QStringLiteral("Teas"), &reason).value(), TStoreSection());
  EXPECT_FALSE(KeyExists(L"Software\\Varnak\\Steepo\\Teas"));
}

// What a write interrupted at each step leaves: the old section is read, and the next write
// leaves no scratch key.
TEST_F(RegistryPresetTest, AnInterruptedSectionWriteLeavesTheOldSection) {
  using Platform::TStoreSection;
  const DWORD seven = 7, eight = 8;
  const auto put = [](const wchar_t* key, DWORD value) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, L"size", REG_DWORD, &value, sizeof value), ERROR_SUCCESS);
  };
  const struct {
    const char* Name;
    std::function<void()> Leave;
  } rows[] = {
      {"half of the new one made", [&] { put(L"Software\\Varnak\\Steepo\\Teas", seven);
                                         put(L"Software\\Varnak\\Steepo\\~Teas.new", eight); }},
      {"the old one moved aside", [&] { put(L"Software\\Varnak\\Steepo\\~Teas.old", seven);
                                        put(L"Software\\Varnak\\Steepo\\~Teas.new", eight); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varnak");
    row.Leave();
    QString reason;
    EXPECT_EQ(Platform::ReadSection(QStringLiteral("Teas"), &reason).value(), TStoreSection({{"size", 7u}}));
    ASSERT_TRUE(Platform::WriteSection(QStringLiteral("Teas"), {{"size", 0u}}, &reason)) << reason.toStdString();
    EXPECT_EQ(Platform::ReadSection(QStringLiteral("Teas"), &reason).value(), TStoreSection({{"size", 0u}}));
    EXPECT_FALSE(KeyExists(L"Software\\Varnak\\Steepo\\~Teas.new"));
    EXPECT_FALSE(KeyExists(L"Software\\Varnak\\Steepo\\~Teas.old"));
  }
}

// ---- The program's resources ------------------------------------------------------------------

TEST(ProgramResources, CarriesVersionIconsSoundAndManifest) {
  const Platform::TFileVersionInfo version = Platform::ReadFileVersionInfo(Platform::ProgramPath());
  ASSERT_TRUE(version.Valid);
  EXPECT_EQ(QStringLiteral("%1.%2.%3.%4").arg(version.Major).arg(version.Minor).arg(version.Release).arg(version.Build),
            QStringLiteral("2.3.19.43"));
  EXPECT_EQ(version.Flags, 0u);

  for (const wchar_t* sound : {L"SOUND", L"BELL", L"BEEP", L"TICK"})
    EXPECT_NE(FindResourceW(nullptr, sound, L"WAVE"), nullptr);

  // The icon group lists its images after a six-byte header: nine sizes.
  const HRSRC group = FindResourceW(nullptr, L"MAINICON", MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
  ASSERT_NE(group, nullptr);
  const auto* header = static_cast<const WORD*>(LockResource(LoadResource(nullptr, group)));
  EXPECT_EQ(header[2], 9);

  const HRSRC manifest = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
  ASSERT_NE(manifest, nullptr);
  const QByteArray text(static_cast<const char*>(LockResource(LoadResource(nullptr, manifest))),
                        int(SizeofResource(nullptr, manifest)));
  for (const char* wanted : {"Microsoft.Windows.Common-Controls", "asInvoker", "PerMonitorV2"})
    EXPECT_TRUE(text.contains(wanted)) << wanted;
}

TEST(ProgramResources, FilesWithoutAVersionResourceGiveNone) {
  for (const QString& path : {QStringLiteral("C:\\windows\\win.ini"), QStringLiteral("C:\\no\\such\\file.exe")})
    EXPECT_FALSE(Platform::ReadFileVersionInfo(path).Valid) << path.toStdString();
}

TEST(ProgramResources, PlaysOnlyASoundTheProgramCarries) {
  EXPECT_FALSE(Platform::PlaySound(QStringLiteral(":/sound/NOSUCH.wav")));
}

// A WAV file of the user's goes to PlaySoundW by its name; one that is not there is said, and
// the chime stands in.
TEST(ProgramResources, PlaysAFileOfTheUsersOrSaysWhyNot) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("bell.wav"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(":/sound/BELL.wav"), file));
  QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);  // a resource's copy is read-only
  QList<Platform::TSoundFault> faults;
  const auto onFault = [&](const Platform::TSoundFileFault& fault) { faults << fault.Fault; };
  Platform::PlaySoundFile(file, QStringLiteral(":/sound/SOUND.wav"), onFault);
  EXPECT_TRUE(faults.isEmpty());
  Platform::PlaySoundFile(dir.filePath(QStringLiteral("gone.wav")), QStringLiteral(":/sound/SOUND.wav"), onFault);
  EXPECT_EQ(faults, QList{Platform::TSoundFault::Unreadable});
  Platform::StopSound();
}

// ---- The locale --------------------------------------------------------------------------------

TEST(Locale, SystemLanguageIdentifiersPickTheirRows) {
  const struct {
    const char* Name;
    WORD Primary, Sub;
    quint8 Row;
  } rows[] = {
      {"English (UK) keeps the row", LANG_ENGLISH, SUBLANG_ENGLISH_UK, 0},     {"Czech", LANG_CZECH, SUBLANG_DEFAULT, 1},
      {"German (Swiss)", LANG_GERMAN, SUBLANG_GERMAN_SWISS, 2},  {"Spanish", LANG_SPANISH, SUBLANG_SPANISH_MODERN, 3},
      {"Portuguese (Brazil)", LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN, 4},
      {"French (Canada)", LANG_FRENCH, SUBLANG_FRENCH_CANADIAN, 5}, {"Italian", LANG_ITALIAN, SUBLANG_DEFAULT, 6},
      {"Russian", LANG_RUSSIAN, SUBLANG_DEFAULT, 7},             {"Polish keeps the row", LANG_POLISH, SUBLANG_DEFAULT, 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(OrbDialogs::LanguageIndexFor(MAKELANGID(row.Primary, row.Sub), 0), row.Row) << row.Name;
}

TEST(Locale, TimeSeparatorFollowsTheThreadLocale) {
  const LCID before = GetThreadLocale();
  const struct {
    const char* Name;
    WORD Language;
    QChar Separator;
  } rows[] = {
      {"English (US)", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), u':'},
      {"Finnish", MAKELANGID(LANG_FINNISH, SUBLANG_DEFAULT), u'.'},
      {"German", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), u':'},
  };
  for (const auto& row : rows) {
    SetThreadLocale(MAKELCID(row.Language, SORT_DEFAULT));
    EXPECT_EQ(Platform::TimeSeparator(), row.Separator) << row.Name;
  }
  SetThreadLocale(before);
}

// ---- The taskbar button ------------------------------------------------------------------------

TEST(TaskbarButton, ProgressAndAttentionOnARealWindow) {
  // A plain top-level window of the system's own, as the main window is on the desktop.
  const HWND window = CreateWindowExW(0, L"STATIC", L"Steepo", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(window, nullptr) << "no window: the test needs a display (xvfb-run under Wine)";
  ShowWindow(window, SW_SHOWNORMAL);
  const WId id = reinterpret_cast<WId>(window);
  for (const double fraction : {0.0, 0.5, 1.0, 1.5})
    EXPECT_TRUE(Platform::TaskbarButton::SetProgress(id, fraction)) << fraction;
  EXPECT_TRUE(Platform::TaskbarButton::SetAttention(id));
  EXPECT_TRUE(Platform::TaskbarButton::Clear(id));
  DestroyWindow(window);
  // A window that is gone is reported as such.
  EXPECT_FALSE(Platform::TaskbarButton::SetAttention(id));
  Platform::TaskbarButton::Release();
}

} // namespace
