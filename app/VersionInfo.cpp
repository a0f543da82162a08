// The program's fixed version information, stored in a section of its own in the program
// file, so that the version can be read from the file as from any other program's.

#include "FileVersion.h"
#include "SteepoConfig.h"

namespace {
constexpr quint32 Word(quint32 high, quint32 low) { return (high << 16) | (low & 0xFFFFu); }
} // namespace

// Kept by the linker although nothing in the program reads it: the file is read instead.
[[gnu::used, gnu::section(".steepo_version")]] const Platform::TFixedFileInfo SteepoFileVersion = {
    0xFEEF04BDu,
    0x00010000u,
    Word(SteepoConfig::VersionMajor, SteepoConfig::VersionMinor),
    Word(SteepoConfig::VersionPatch, SteepoConfig::VersionTweak),
    Word(SteepoConfig::VersionMajor, SteepoConfig::VersionMinor),
    Word(SteepoConfig::VersionPatch, SteepoConfig::VersionTweak),
    0x3Fu, // every flag is meaningful
    0x00u, // a release build: no debug, pre-release, patched, private or special build
    0x00040004u, // a 32-bit-windows-on-NT-style "OS" word, kept for parity with other builds
    0x00000001u, // an application
    0u,
    0u,
    0u,
};
