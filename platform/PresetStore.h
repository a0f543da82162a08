#pragma once
// Where the timer keeps its one value, the preset: on Linux the settings file, on Windows the
// registry. The program decides when to read and write and what to say; this layer only
// reaches the store.

#include <QString>
#include <optional>

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

} // namespace Platform
