#include "FileVersion.h"
#include "Platform.h"

#include <QFile>

#include <cstring>

namespace Platform {

namespace {

// A read-only view of the mapped file in which every access is bounds-checked, so a damaged
// or hostile file reads as "no version" instead of reading past the end.
class TByteView {
public:
  TByteView(const uchar* data, qint64 size) : Data(data), Size(size) {}

  template <typename T> bool Read(quint64 offset, T& value) const {
    if (offset > quint64(Size) || quint64(Size) - offset < sizeof(T))
      return false;
    std::memcpy(&value, Data + offset, sizeof(T));
    return true;
  }
  bool HasRange(quint64 offset, quint64 length) const {
    return offset <= quint64(Size) && quint64(Size) - offset >= length;
  }
  const uchar* At(quint64 offset) const { return Data + offset; }

private:
  const uchar* Data;
  qint64 Size;
};

struct TSection {
  quint32 Name = 0;
  quint64 Offset = 0;
  quint64 Size = 0;
};

// Reads section header number index of a little-endian ELF file of class 32 or 64 bits.
bool ReadSection(const TByteView& file, bool is64, quint64 tableOffset, quint16 entrySize,
                 quint32 index, TSection& section) {
  const quint64 at = tableOffset + quint64(index) * entrySize;
  if (is64) {
    quint64 offset = 0, size = 0;
    if (!file.Read(at, section.Name) || !file.Read(at + 24, offset) || !file.Read(at + 32, size))
      return false;
    section.Offset = offset;
    section.Size = size;
  } else {
    quint32 offset = 0, size = 0;
    if (!file.Read(at, section.Name) || !file.Read(at + 16, offset) || !file.Read(at + 20, size))
      return false;
    section.Offset = offset;
    section.Size = size;
  }
  return true;
}

bool FindVersion(const TByteView& file, TFixedFileInfo& info) {
  static constexpr uchar magic[4] = {0x7F, 'E', 'L', 'F'};
  uchar ident[16];
  if (!file.Read(0, ident) || std::memcmp(ident, magic, 4) != 0 || ident[5] != 1 /* little endian */)
    return false;
  const bool is64 = ident[4] == 2;
  if (!is64 && ident[4] != 1)
    return false;

  quint64 tableOffset = 0;
  quint16 entrySize = 0, count = 0, namesIndex = 0;
  if (is64) {
    if (!file.Read(0x28, tableOffset) || !file.Read(0x3A, entrySize) || !file.Read(0x3C, count) ||
        !file.Read(0x3E, namesIndex))
      return false;
  } else {
    quint32 offset32 = 0;
    if (!file.Read(0x20, offset32) || !file.Read(0x2E, entrySize) || !file.Read(0x30, count) ||
        !file.Read(0x32, namesIndex))
      return false;
    tableOffset = offset32;
  }
  if (entrySize < (is64 ? 64 : 40) || namesIndex >= count)
    return false;

  TSection names;
  if (!ReadSection(file, is64, tableOffset, entrySize, namesIndex, names) ||
      !file.HasRange(names.Offset, names.Size))
    return false;

  const quint64 wantedLength = sizeof(VersionSectionName); // with its terminating NUL
  for (quint32 i = 0; i < count; ++i) {
    TSection section;
    if (!ReadSection(file, is64, tableOffset, entrySize, i, section))
      return false;
    if (section.Name >= names.Size || names.Size - section.Name < wantedLength)
      continue;
    if (std::memcmp(file.At(names.Offset + section.Name), VersionSectionName, wantedLength) != 0)
      continue;
    return section.Size >= sizeof(TFixedFileInfo) && file.Read(section.Offset, info) &&
           info.Signature == TFixedFileInfo{}.Signature;
  }
  return false;
}

} // namespace

TFileVersionInfo ReadFileVersionInfo(const QString& path) {
  TFileVersionInfo result;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
    return result;
  const uchar* data = file.map(0, file.size());
  if (!data)
    return result;
  TFixedFileInfo info;
  if (FindVersion(TByteView(data, file.size()), info)) {
    result.Valid = true;
    result.Major = quint16(info.FileVersionMS >> 16);
    result.Minor = quint16(info.FileVersionMS & 0xFFFF);
    result.Release = quint16(info.FileVersionLS >> 16);
    result.Build = quint16(info.FileVersionLS & 0xFFFF);
    result.Flags = info.FileFlags & info.FileFlagsMask;
  }
  file.unmap(const_cast<uchar*>(data));
  return result;
}

} // namespace Platform
