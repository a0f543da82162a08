// The preset in the per-user registry: the value Preset (REG_DWORD, seconds) of the key
// Software\Varnak\Steepo under HKEY_CURRENT_USER. The key is created when missing, on reading
// as well as on writing. The sections beside it are its subkeys: "Teas" is the key Teas, its
// entry "1/Name" the value Name of the subkey 1; texts are REG_SZ, numbers and flags REG_DWORD.
//
// A section is written whole or not at all: the new one is made complete under a scratch key
// ~Teas.new and then swapped in by renaming, the old one first out of the way to ~Teas.old,
// which is deleted last. An interrupted write leaves the old section (under its name, or under
// ~Teas.old when only the first rename took place, which reading and the next write take
// back), never a part of the new one.

#include "PresetStore.h"

#include <string>
#include <utility>
#include <vector>

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

// A key that closes itself.
class TKey {
public:
  TKey() = default;
  ~TKey() {
    if (Key)
      RegCloseKey(Key);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;

  LSTATUS Open(HKEY parent, const std::wstring& path, REGSAM access) {
    return RegOpenKeyExW(parent, path.c_str(), 0, access, &Key);
  }
  LSTATUS Create(HKEY parent, const std::wstring& path, REGSAM access) {
    return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &Key, nullptr);
  }

  HKEY Key = nullptr;
};

std::wstring Wide(const QString& text) { return text.toStdWString(); }

bool KeyExists(HKEY parent, const std::wstring& path) {
  TKey key;
  return key.Open(parent, path, KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

// The value as a stored value: a REG_SZ is a text, a REG_DWORD a number; nothing otherwise.
std::optional<TStoreValue> ValueOf(DWORD type, const std::vector<BYTE>& data, DWORD size) {
  if (type == REG_DWORD && size == sizeof(DWORD))
    return TStoreValue(quint32(*reinterpret_cast<const DWORD*>(data.data())));
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    return std::nullopt;
  QString text = QString::fromWCharArray(reinterpret_cast<const wchar_t*>(data.data()), int(size / sizeof(wchar_t)));
  while (text.endsWith(QChar(0)))
    text.chop(1);
  return TStoreValue(text);
}

// The values of key, then those of its subkeys, named after prefix ("" or "1/").
LSTATUS ReadKey(HKEY key, const QString& prefix, TStoreSection* entries) {
  DWORD longestName = 0, largestData = 0;
  LSTATUS error = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                                   &largestData, nullptr, nullptr);
  std::vector<wchar_t> name(longestName + 1);
  std::vector<BYTE> data(largestData + sizeof(wchar_t));
  for (DWORD i = 0; error == ERROR_SUCCESS; ++i) {
    DWORD nameLength = DWORD(name.size()), type = 0, size = DWORD(data.size());
    error = RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size);
    if (error != ERROR_SUCCESS || nameLength == 0)
      continue;
    if (const std::optional<TStoreValue> value = ValueOf(type, data, size))
      entries->append({prefix + QString::fromWCharArray(name.data(), int(nameLength)), *value});
  }
  if (error != ERROR_NO_MORE_ITEMS)
    return error;
  wchar_t subkey[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = DWORD(std::size(subkey));
    error = RegEnumKeyExW(key, i, subkey, &length, nullptr, nullptr, nullptr, nullptr);
    if (error != ERROR_SUCCESS)
      return error == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : error;
    TKey child;
    error = child.Open(key, subkey, KEY_READ);
    if (error == ERROR_SUCCESS)
      error = ReadKey(child.Key, prefix + QString::fromWCharArray(subkey, int(length)) + u'/', entries);
    if (error != ERROR_SUCCESS)
      return error;
  }
}

LSTATUS WriteEntry(HKEY section, const TStoreEntry& entry) {
  QStringList parts = entry.Name.split(u'/');
  const std::wstring value = Wide(parts.takeLast());
  TKey group;
  HKEY key = section;
  if (!parts.isEmpty()) {
    if (const LSTATUS error = group.Create(section, Wide(parts.join(u'\\')), KEY_SET_VALUE); error != ERROR_SUCCESS)
      return error;
    key = group.Key;
  }
  if (const QString* text = std::get_if<QString>(&entry.Value)) {
    const std::wstring wide = Wide(*text);
    return RegSetValueExW(key, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                          DWORD((wide.size() + 1) * sizeof(wchar_t)));
  }
  const DWORD number = std::holds_alternative<bool>(entry.Value) ? DWORD(std::get<bool>(entry.Value))
                                                                  : DWORD(std::get<quint32>(entry.Value));
  return RegSetValueExW(key, value.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

// The section complete under the scratch key fresh; nothing of it where that fails.
LSTATUS MakeSection(HKEY base, const std::wstring& fresh, const TStoreSection& entries) {
  LSTATUS error = ERROR_SUCCESS;
  {
    TKey key;
    error = key.Create(base, fresh, KEY_ALL_ACCESS);
    for (qsizetype i = 0; error == ERROR_SUCCESS && i < entries.size(); ++i)
      error = WriteEntry(key.Key, entries[i]);
  }
  if (error != ERROR_SUCCESS)
    RegDeleteTreeW(base, fresh.c_str());
  return error;
}

// The scratch keys a write left when it was interrupted: the old section back in its place
// where only it was moved aside, and no scratch key left.
void TakeBack(HKEY base, const std::wstring& name, const std::wstring& fresh, const std::wstring& old) {
  if (!KeyExists(base, name) && KeyExists(base, old))
    RegRenameKey(base, old.c_str(), name.c_str());
  if (KeyExists(base, name))  // never the only copy of the old section
    RegDeleteTreeW(base, old.c_str());
  RegDeleteTreeW(base, fresh.c_str());
}

// The new section, complete under fresh, in the place of the old one; on failure the old one
// is back where it was.
LSTATUS SwapIn(HKEY base, const std::wstring& name, const std::wstring& fresh, const std::wstring& old, bool made) {
  const bool present = KeyExists(base, name);
  LSTATUS error = present ? RegRenameKey(base, name.c_str(), old.c_str()) : ERROR_SUCCESS;
  if (error == ERROR_SUCCESS && made) {
    error = RegRenameKey(base, fresh.c_str(), name.c_str());
    if (error != ERROR_SUCCESS && present)
      RegRenameKey(base, old.c_str(), name.c_str());
  }
  RegDeleteTreeW(base, fresh.c_str());
  if (error == ERROR_SUCCESS)
    RegDeleteTreeW(base, old.c_str());
  return error;
}

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

std::optional<TStoreSection> ReadSection(const QString& section, QString* reason) {
  if (!ValidSectionNames(section, {}, reason))
    return std::nullopt;
  const std::wstring path = std::wstring(KeyPath) + L"\\";
  TKey key;
  LSTATUS error = key.Open(HKEY_CURRENT_USER, path + Wide(section), KEY_READ);
  // Moved aside by a write that was interrupted before the new section took its place.
  if (error == ERROR_FILE_NOT_FOUND)
    error = key.Open(HKEY_CURRENT_USER, path + L"~" + Wide(section) + L".old", KEY_READ);
  if (error == ERROR_FILE_NOT_FOUND)
    return TStoreSection();
  TStoreSection entries;
  if (error == ERROR_SUCCESS)
    error = ReadKey(key.Key, {}, &entries);
  if (error == ERROR_SUCCESS)
    return entries;
  *reason = ErrorText(error);
  return std::nullopt;
}

bool WriteSection(const QString& section, const TStoreSection& entries, QString* reason) {
  if (!ValidSectionNames(section, entries, reason))
    return false;
  TKey base;
  LSTATUS error = base.Create(HKEY_CURRENT_USER, KeyPath, KEY_ALL_ACCESS);
  if (error == ERROR_SUCCESS) {
    const std::wstring name = Wide(section), fresh = L"~" + name + L".new", old = L"~" + name + L".old";
    TakeBack(base.Key, name, fresh, old);
    error = entries.isEmpty() ? ERROR_SUCCESS : MakeSection(base.Key, fresh, entries);
    if (error == ERROR_SUCCESS)
      error = SwapIn(base.Key, name, fresh, old, !entries.isEmpty());
  }
  if (error == ERROR_SUCCESS)
    return true;
  *reason = ErrorText(error);
  return false;
}

} // namespace Platform
