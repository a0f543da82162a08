// Fuzz target: the preset store. The input is the whole settings file. The start time is read
// from it; storing it back unchanged keeps every byte of the file; storing another time and
// reading again gives that time.
#include "FuzzRequire.h"
#include "F_Steepo.h"
#include "Platform.h"
#include "Preset.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> Scratch;  // removed with its files when the run ends
QString SettingsPath;
qint64 Inputs = 0;

QByteArray Contents() {
  QFile file(SettingsPath);
  Require(file.open(QIODevice::ReadOnly), "the settings file went missing");
  return file.readAll();
}

quint32 ReadBack() {
  F_Steepo::TimerState = {};
  Preset::StoreState = {};
  Preset::ReadStartTime();
  Require(F_Steepo::TimerState.BrewTime >= 1 && F_Steepo::TimerState.BrewTime <= 3599, "a start time out of range");
  return F_Steepo::TimerState.BrewTime;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // On a memory file system where there is one: the store flushes every file it writes to
  // the disk, which would make a run wait for the disk thousands of times a minute.
  const QString shared = QStringLiteral("/dev/shm");
  const QString base = QFileInfo(shared).isWritable() ? shared : QDir::tempPath();
  Scratch = std::make_unique<QTemporaryDir>(base + QStringLiteral("/steepo-fuzz-XXXXXX"));
  Require(Scratch->isValid(), "no scratch directory");
  SettingsPath = Scratch->filePath(QStringLiteral("Steepo.conf"));
  Platform::SetSettingsPathSource([] { return SettingsPath; });
  Platform::SetProblemSink([](const QString&) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
  {
    QFile file(SettingsPath);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the settings file");
    file.write(input);
    // The settings class keeps what it read while the size and the time stay the same: a new
    // time each run makes it read this file afresh.
    file.setFileTime(QDateTime::fromSecsSinceEpoch(++Inputs, Qt::UTC), QFileDevice::FileModificationTime);
  }
  const quint32 first = ReadBack();
  Preset::StorePreset();
  Require(Contents() == input, "storing the same time changed the file");

  const quint32 other = first % 3599 + 1;
  F_Steepo::TimerState.BrewTime = other;
  Preset::StorePreset();
  Require(ReadBack() == other, "a stored time reads back as another");
  return 0;
}
