// Fuzz target: the preset store. The input is the whole settings file. The start time is read
// from it, as QSettings reads the Preset; storing it back unchanged keeps every byte of the
// file; storing another time and reading again gives that time. A section written into it
// reads back as written, keeps that time, and written again changes no byte.
#include "FuzzRequire.h"
#include "F_Steepo.h"
#include "Platform.h"
#include "Preset.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
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

// The preset as QSettings reads it, where it reads a text: decimal digits from 1 to 3599.
std::optional<quint32> QSettingsPreset() {
  const QVariant value = QSettings(SettingsPath, QSettings::IniFormat).value(QStringLiteral("Preset"));
  if (value.typeId() != QMetaType::QString)
    return std::nullopt;
  const std::optional<quint32> seconds = Platform::StoredNumber(value.toString());
  return seconds && *seconds >= 1 && *seconds <= 3599 ? seconds : std::nullopt;
}

bool TypedValue(const QByteArray& input) { return input.contains('@'); }

void CheckSection(quint32 preset) {
  const Platform::TStoreSection written = {
      {QStringLiteral("1/Name"), QStringLiteral(" Oolong, \"gongfu\"; \u00e8\t")},
      {QStringLiteral("1/Time"), 20u},
      {QStringLiteral("size"), true}};
  const Platform::TStoreSection read = {{QStringLiteral("1/Name"), QStringLiteral(" Oolong, \"gongfu\"; \u00e8\t")},
                                        {QStringLiteral("1/Time"), QStringLiteral("20")},
                                        {QStringLiteral("size"), QStringLiteral("true")}};
  QString reason;
  Require(Platform::WriteSection(QStringLiteral("Teas"), written, &reason), "a section could not be written");
  Require(Platform::ReadSection(QStringLiteral("Teas"), &reason) == read, "a section reads back as another");
  Require(ReadBack() == preset, "writing a section changed the preset");
  const QByteArray before = Contents();
  Require(Platform::WriteSection(QStringLiteral("Teas"), written, &reason) && Contents() == before,
          "writing the same section again changed the file");
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
  // QSettings' typed values ("@Variant(...)") are QSettings' own business, not a preset.
  Require(TypedValue(input) || QSettingsPreset().value_or(180) == first, "the preset is not the one QSettings reads");
  QString reason;
  Require(Platform::ReadSection(QStringLiteral("Teas"), &reason).has_value(), "a readable file gave no section");
  Preset::StorePreset();
  Require(Contents() == input, "storing the same time changed the file");

  const quint32 other = first % 3599 + 1;
  F_Steepo::TimerState.BrewTime = other;
  Preset::StorePreset();
  Require(ReadBack() == other, "a stored time reads back as another");
  CheckSection(other);
  return 0;
}
