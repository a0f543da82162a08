// The version information of a program file from its version resource.

#include "Platform.h"

#include <QDir>

#include <vector>

#include <windows.h>

namespace Platform {

TFileVersionInfo ReadFileVersionInfo(const QString& path) {
  TFileVersionInfo result;
  const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(name.c_str(), &handle);
  if (size == 0)
    return result;
  std::vector<BYTE> buffer(size);
  if (!GetFileVersionInfoW(name.c_str(), 0, size, buffer.data()))
    return result;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO))
    return result;
  result.Valid = true;
  result.Major = HIWORD(info->dwFileVersionMS);
  result.Minor = LOWORD(info->dwFileVersionMS);
  result.Release = HIWORD(info->dwFileVersionLS);
  result.Build = LOWORD(info->dwFileVersionLS);
  result.Flags = info->dwFileFlags & info->dwFileFlagsMask;
  return result;
}

} // namespace Platform
