// Fuzz target: the preset store. The input is the whole settings file. The start time is read
// from it, stored back and read again; whatever the file held, the second reading gives the
// time the first one chose (or, when the store refuses the file, leaves the time alone).
#include "F_Steepo.h"
#include "Platform.h"
#include "Preset.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

std::unique_ptr<QTemporaryDir> Scratch;  // removed with its files when the run ends
QString SettingsPath;
qint64 Inputs = 0;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // On a memory file system where there is one: the store flushes every file it writes to
  // the disk, which would make a run wait for the disk thousands of times a minute.
  const QString shared = QStringLiteral("/dev/shm");
  const QString base = QFileInfo(shared).isWritable() ? shared : QDir::tempPath();
  Scratch = std::make_unique<QTemporaryDir>(base + QStringLiteral("/steepo-fuzz-XXXXXX"));
  Require(Scratch->isValid(), "no scratch directory");
  SettingsPath = Scratch->filePath(QStringLiteral("Steepo.conf"));
  Platform::SetSettingsFactory(
      [] { return std::make_unique<QSettings>(SettingsPath, QSettings::IniFormat); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    QFile file(SettingsPath);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the settings file");
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    // The settings class keeps what it read while the size and the time stay the same: a new
    // time each run makes it read this file afresh.
    file.setFileTime(QDateTime::fromSecsSinceEpoch(++Inputs, Qt::UTC),
                     QFileDevice::FileModificationTime);
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
  return 0;
}
