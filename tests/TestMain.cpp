// The main of every test program: a QApplication (offscreen under ctest), then GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

#ifdef Q_OS_WIN
#include <string>
#include <windows.h>

namespace {
// While the tests run, HKEY_CURRENT_USER stands for a scratch key of this process, removed
// afterwards: whatever the tests store never reaches the user's own preset.
class TScratchRegistry {
public:
  TScratchRegistry() : Path(L"Software\\SteepoTests\\" + std::to_wstring(GetCurrentProcessId())) {
    RegDeleteTreeW(HKEY_CURRENT_USER, Path.c_str());
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr) ==
        ERROR_SUCCESS)
      RegOverridePredefKey(HKEY_CURRENT_USER, Key);
  }
  ~TScratchRegistry() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(Key);
    RegDeleteTreeW(HKEY_CURRENT_USER, Path.c_str());
  }

private:
  std::wstring Path;
  HKEY Key = nullptr;
};

// Each test starts with the scratch key empty, as each starts with a folder of its own where
// the preset is a file: a preset stored by one test is never read by the next.
class TEmptyRegistryPerTest : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { RegDeleteTreeW(HKEY_CURRENT_USER, nullptr); }
};
} // namespace
#endif

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_WIN
  const TScratchRegistry registry;
#endif
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
#ifdef Q_OS_WIN
  ::testing::UnitTest::GetInstance()->listeners().Append(new TEmptyRegistryPerTest);
#endif
  return RUN_ALL_TESTS();
}
