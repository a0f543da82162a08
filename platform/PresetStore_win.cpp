// The preset in the per-user registry: the value Preset (REG_DWORD, seconds) of the key
// Software\Varnak\Steepo under HKEY_CURRENT_USER. The key is created when missing, on reading
// as well as on writing.

#include "PresetStore.h"

#include <windows.h>

namespace Platform {

namespace {

constexpr wchar_t KeyPath[] = L"Software\\Varnak\\Steepo";
constexpr wchar_t ValueName[] = L"Preset";
constexpr quint32 LongestPreset = 3599;

// The system's own words for a registry error code.
QString ErrorText(LSTATUS error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      DWORD(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  QString result = length ? QString::fromWCharArray(text, int(length)).trimmed()
                          : QStringLiteral("error %1").arg(error);
  LocalFree(text);
  return result;
}

// The key, opened for reading and writing the value; created when missing.
class TPresetKey {
public:
  TPresetKey() {
    Error = RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &Key, nullptr);
  }
  ~TPresetKey() {
    if (Error == ERROR_SUCCESS)
      RegCloseKey(Key);
  }
  TPresetKey(const TPresetKey&) = delete;
  TPresetKey& operator=(const TPresetKey&) = delete;

  HKEY Key = nullptr;
  LSTATUS Error;
};

} // namespace

QString PresetLocation() { return QStringLiteral("HKEY_CURRENT_USER\\Software\\Varnak\\Steepo"); }

TStoreKind PresetStoreKind() {
  HKEY key = nullptr;
  const LSTATUS error = RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath, 0, KEY_QUERY_VALUE, &key);
  if (error != ERROR_SUCCESS)
    return error == ERROR_FILE_NOT_FOUND ? TStoreKind::Absent : TStoreKind::Other;
  DWORD type = 0;
  const bool present = RegQueryValueExW(key, ValueName, nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return present ? TStoreKind::Regular : TStoreKind::Absent;
}

std::optional<quint32> ReadPreset() {
  const TPresetKey key;
  if (key.Error != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0, seconds = 0, size = sizeof seconds;
  if (RegQueryValueExW(key.Key, ValueName, nullptr, &type, reinterpret_cast<BYTE*>(&seconds), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof seconds || seconds < 1 || seconds > LongestPreset)
    return std::nullopt;
  return seconds;
}

bool WritePreset(quint32 seconds, QString* reason) {
  const TPresetKey key;
  LSTATUS error = key.Error;
  if (error == ERROR_SUCCESS) {
    const DWORD value = seconds;
    error = RegSetValueExW(key.Key, ValueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  if (error == ERROR_SUCCESS)
    return true;
  if (reason)
    *reason = ErrorText(error);
  return false;
}

} // namespace Platform
