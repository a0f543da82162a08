#pragma once
// Where the timer keeps its settings, the preset and the sections beside it: on Linux the
// settings file, on Windows the registry. The program decides when to read and write and what
// to say; this layer only reaches the store.

#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <variant>

namespace Platform {

// Nothing there yet / the value's own home / something that must not be touched (a folder, a
// FIFO, a device: opening those could block the program for good).
enum class TStoreKind { Absent, Regular, Other };

// Where the preset is kept, as messages name it (the file's path; on Windows the registry
// key). Empty: no usable place.
QString PresetLocation();
TStoreKind PresetStoreKind();

// The stored preset, 1..3599; nothing when missing, unreadable, of another type or out of range.
std::optional<quint32> ReadPreset();

// Stores seconds as the preset, changing nothing else; false (with the reason for the one
// stderr line in *reason) leaves the old value as it was.
bool WritePreset(quint32 seconds, QString* reason);

// The most a settings file may hold: a larger one is neither read nor written.
constexpr qint64 LargestSettingsFile = qint64(1) << 20;

// A stored value: a text, a number (0 to 2^32-1) or a flag. Read back from the settings file
// every value is a text (the file holds only text); from the registry a REG_SZ is a text and a
// REG_DWORD a number. StoredText/StoredNumber/StoredFlag below read either form.
using TStoreValue = std::variant<QString, quint32, bool>;
struct TStoreEntry {
  QString Name;       // "Sound", or within a group "1/Name" (a '/' separates group and key)
  TStoreValue Value;
  bool operator==(const TStoreEntry&) const = default;
};
using TStoreSection = QList<TStoreEntry>;

// The entries of section ("Teas", "Alarm") in the order stored; an empty list where the
// section is missing. Nothing, with the reason for the one stderr line, where the store cannot
// be read at all (too large, not a regular file, unreadable).
std::optional<TStoreSection> ReadSection(const QString& section, QString* reason);
// Puts entries in the place of the whole section, changing nothing else of the store: all at
// once or not at all. False, with the reason, leaves the store as it was.
bool WriteSection(const QString& section, const TStoreSection& entries, QString* reason);

// A value read back as a text, a number or a flag; nothing where it is not one.
std::optional<QString> StoredText(const TStoreValue& value);
std::optional<quint32> StoredNumber(const TStoreValue& value);  // decimal digits, or a number
std::optional<bool> StoredFlag(const TStoreValue& value);       // true/false, or 1/0

// The names a section and its entries may have: a section name without '/' or '\' that is not
// "General" (the preset's own), entry names of one or more parts joined by '/', none empty,
// without '\', each once. The reason where they are not.
bool ValidSectionNames(const QString& section, const TStoreSection& entries, QString* reason);

// The steps of a store of the settings file, for tests that interrupt one: the new text
// written to a file without a name (hook false: the file system has none), written and on the
// disk, given the fixed temporary name, and renamed over the old file (hook false: the rename
// fails). No hook: none.
enum class TStoreStep { Unnamed, Written, Named, Rename };
void SetStoreStepHook(std::function<bool(TStoreStep step)> hook);

} // namespace Platform
