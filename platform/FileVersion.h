#pragma once
// The fixed version information that a program file carries: signature 0xFEEF04BD, the file
// and product version words and the file flags, as the version resource of other platforms
// holds it. The program stores one in the section ".steepo_version" of its own file.

#include <QtGlobal>

namespace Platform {

struct TFixedFileInfo {
  quint32 Signature = 0xFEEF04BDu;
  quint32 StrucVersion = 0x00010000u;
  quint32 FileVersionMS = 0;
  quint32 FileVersionLS = 0;
  quint32 ProductVersionMS = 0;
  quint32 ProductVersionLS = 0;
  quint32 FileFlagsMask = 0;
  quint32 FileFlags = 0;
  quint32 FileOS = 0;
  quint32 FileType = 0;
  quint32 FileSubtype = 0;
  quint32 FileDateMS = 0;
  quint32 FileDateLS = 0;
};

inline constexpr char VersionSectionName[] = ".steepo_version";

} // namespace Platform
