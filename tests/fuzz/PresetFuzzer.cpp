// Fuzz target: the preset store. The input is the whole settings file. The start time is read
// from it, stored back and read again; whatever the file held, the second reading gives the
// time the first one chose (or, when the store refuses the file, leaves the time alone).
#include "F_Steepo.h"
#include "Platform.h"
#include "Preset.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool condition, const char* what) {
  if (condition)
    return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

QTemporaryDir* Scratch = nullptr;
QString SettingsPath;
quint64 Inputs = 0;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Scratch = new QTemporaryDir;
  Require(Scratch->isValid(), "no scratch directory");
  Platform::SetSettingsFactory(
      [] { return std::make_unique<QSettings>(SettingsPath, QSettings::IniFormat); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A new file each time: the settings class caches what it read per path.
  SettingsPath = Scratch->filePath(QStringLiteral("Steepo-%1.conf").arg(++Inputs));
  {
    QFile file(SettingsPath);
    Require(file.open(QIODevice::WriteOnly), "cannot write the settings file");
    file.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  F_Steepo::CmdTime = 0;
  F_Steepo::BrewTime = 180;
  Preset::ReadStartTime();
  const quint32 first = F_Steepo::BrewTime;
  Preset::StorePreset();

  const quint32 untouched = first == 1 ? 2 : 1;
  F_Steepo::BrewTime = untouched;
  Preset::ReadStartTime();
  Require(F_Steepo::BrewTime == first || F_Steepo::BrewTime == untouched,
          "the stored preset reads back as another time");
  QFile::remove(SettingsPath);
  QFile::remove(SettingsPath + QStringLiteral(".lock"));
  return 0;
}
