#include "Alarm.h"

#include "AlarmTexts.h"
#include "MessageTexts.h"
#include "Platform.h"
#include "Resources.h"

#include <QDir>
#include <QFileDialog>
#include <QPointer>
#include <QTimer>

#include <array>

namespace Alarm {

TStoredOptions Current;

using Platform::TStoreEntry;
using Platform::TStoreSection;
using Platform::TStoreValue;
using namespace MessageTexts;

namespace {

constexpr std::array<const char16_t*, 5> SoundNames = {u"chime", u"bell", u"beep", u"silent", u"file"};

TFileChooser FileChooserOverride;

// A stored value as the file would show it, for the line that names it.
QString ShownValue(const TStoreValue& value) {
  if (const QString* text = std::get_if<QString>(&value))
    return *text;
  if (const quint32* number = std::get_if<quint32>(&value))
    return QString::number(*number);
  return std::get<bool>(value) ? QStringLiteral("true") : QStringLiteral("false");
}

// Reads one entry into options; false where its value is not one the option takes. Entries of
// other names are not the options' and read as understood.
bool ReadEntry(const TStoreEntry& entry, TOptions* options) {
  const auto is = [&entry](const char16_t* name) { return entry.Name.compare(name, Qt::CaseInsensitive) == 0; };
  if (is(u"Sound")) {
    const std::optional<QString> text = Platform::StoredText(entry.Value);
    const std::optional<TSound> sound = text ? SoundNamed(*text) : std::nullopt;
    if (sound)
      options->Sound = *sound;
    return sound.has_value();
  }
  if (is(u"SoundFile")) {
    const std::optional<QString> path = Platform::StoredText(entry.Value);
    if (path)
      options->SoundFile = *path;
    return path.has_value();
  }
  if (is(u"Repeat") || is(u"KeepAwake")) {
    const std::optional<bool> value = Platform::StoredFlag(entry.Value);
    if (value)
      (is(u"Repeat") ? options->Repeat : options->KeepAwake) = *value;
    return value.has_value();
  }
  if (is(u"Warning")) {
    const std::optional<quint32> seconds = Platform::StoredNumber(entry.Value);
    const bool good = seconds && *seconds <= LongestWarning;
    if (good)
      options->Warning = *seconds;
    return good;
  }
  return true;
}

// Whether name is one of the options' entries, in any letter case.
bool Known(const QString& name) {
  for (const char16_t* known : {u"Sound", u"SoundFile", u"Repeat", u"Warning", u"KeepAwake"})
    if (name.compare(known, Qt::CaseInsensitive) == 0)
      return true;
  return false;
}

QString FaultText(const Platform::TSoundFileFault& fault) {
  switch (fault.Fault) {
  case Platform::TSoundFault::Unreadable: return Platform::ErrorText(fault.Error);
  case Platform::TSoundFault::NotAFile: return Text(mxNotRegular);
  case Platform::TSoundFault::NotWave: return Text(mxNotWave);
  case Platform::TSoundFault::TooLarge: return Text(mxSoundTooLarge);
  case Platform::TSoundFault::Unplayable: return Text(mxUnplayable);
  }
  return {};
}

// The program's own sound, or the system beep where it cannot play.
void PlayResource(const QString& resource) {
  if (!Platform::PlaySound(resource))
    Platform::MessageBeep();
}

} // namespace

// ---- The store ------------------------------------------------------------------------------

QString SectionName() { return QStringLiteral("Alarm"); }

QString SoundName(TSound sound) { return QString::fromUtf16(SoundNames.at(std::size_t(sound))); }

std::optional<TSound> SoundNamed(const QString& name) {
  for (std::size_t i = 0; i < SoundNames.size(); ++i)
    if (name.compare(SoundNames[i], Qt::CaseInsensitive) == 0)
      return TSound(i);
  return std::nullopt;
}

TOptions FromSection(const TStoreSection& section, QString* unclear) {
  TOptions options;
  for (const TStoreEntry& entry : section)
    if (!ReadEntry(entry, &options) && unclear->isEmpty())
      *unclear = entry.Name + u'=' + ShownValue(entry.Value);
  // A file chosen without a file is the chime.
  if (options.Sound == snFile && options.SoundFile.isEmpty()) {
    options.Sound = snChime;
    if (unclear->isEmpty())
      *unclear = QStringLiteral("Sound=") + SoundName(snFile);
  }
  return options;
}

TStoreSection ToSection(const TOptions& options, const TStoreSection& stored) {
  TStoreSection ours = {{QStringLiteral("Sound"), SoundName(options.Sound)},
                        {QStringLiteral("SoundFile"), options.SoundFile},
                        {QStringLiteral("Repeat"), options.Repeat},
                        {QStringLiteral("Warning"), options.Warning},
                        {QStringLiteral("KeepAwake"), options.KeepAwake}};
  if (options.SoundFile.isEmpty())
    ours.removeAt(1);
  const auto ourIndex = [&ours](const QString& name) {
    for (qsizetype i = 0; i < ours.size(); ++i)
      if (ours[i].Name.compare(name, Qt::CaseInsensitive) == 0)
        return i;
    return qsizetype(-1);
  };
  TStoreSection result;
  for (const TStoreEntry& entry : stored) {
    // A SoundFile no longer wanted goes; so does a name given twice in another letter case.
    if (const qsizetype i = ourIndex(entry.Name); i >= 0)
      result.append(ours.takeAt(i));
    else if (!Known(entry.Name))
      result.append(entry);
  }
  result.append(ours);
  return result;
}

void TStoredOptions::Load() {
  FOptions = {};
  QString reason;
  const std::optional<TStoreSection> section = Platform::ReadSection(SectionName(), &reason);
  if (!section)
    return;
  QString unclear;
  FOptions = FromSection(*section, &unclear);
  if (!unclear.isEmpty())
    Platform::ReportProblem(Text(mxAlarmOptionUnclear).arg(Platform::PresetLocation(), unclear));
}

bool TStoredOptions::Change(const TOptions& options) {
  if (options == FOptions)
    return true;
  FOptions = options;
  // The section as it is now, so that what others keep in it stays.
  QString reason;
  const std::optional<TStoreSection> stored = Platform::ReadSection(SectionName(), &reason);
  if (stored && Platform::WriteSection(SectionName(), ToSection(options, *stored), &reason))
    return true;
  const QString location = Platform::PresetLocation();
  Platform::ReportProblem(Text(mxCannotStoreAlarm).arg(location.isEmpty() ? Text(mxPresetNowhere) : location, reason));
  return false;
}

// ---- The sounds -----------------------------------------------------------------------------

QString SoundResource(TSound sound) {
  switch (sound) {
  case snChime: return Resources::AlarmSound();
  case snBell: return Resources::BellSound();
  case snBeep: return Resources::BeepSound();
  case snSilent:
  case snFile: break;
  }
  return {};
}

void PlayAlarmSound(const TOptions& options, const std::function<void()>& onFileFailed) {
  if (options.Sound == snSilent)
    return;
  if (options.Sound != snFile) {
    PlayResource(SoundResource(options.Sound));
    return;
  }
  const QString path = options.SoundFile;
  Platform::PlaySoundFile(path, Resources::AlarmSound(), [path, onFileFailed](const Platform::TSoundFileFault& fault) {
    Platform::ReportProblem(Text(mxSoundFileFailed).arg(QDir::toNativeSeparators(path), FaultText(fault)));
    if (onFileFailed)
      onFileFailed();
  });
}

void PlayWarningTick(const TOptions& options) {
  if (options.Sound != snSilent)
    Platform::PlaySound(Resources::WarningTick());
}

TAlarmSound::TAlarmSound(QObject* parent) : QObject(parent), FTimerRepeat(new QTimer(this)) {
  // Never early: the last repeat must not start after the five minutes.
  FTimerRepeat->setTimerType(Qt::PreciseTimer);
  FTimerRepeat->setInterval(RepeatMilliseconds);
  connect(FTimerRepeat, &QTimer::timeout, this, &TAlarmSound::TimerRepeatTimer);
}

void TAlarmSound::Start(const TOptions& options) {
  FOptions = options;
  FStartTick = Platform::TickCount();
  Play();
  if (FOptions.Repeat && FOptions.Sound != snSilent)
    FTimerRepeat->start();
}

void TAlarmSound::Stop() {
  if (!FTimerRepeat->isActive())
    return;
  FTimerRepeat->stop();
  // A long file of the user's would sound on after the answer.
  Platform::StopSound();
}

void TAlarmSound::TimerRepeatTimer() {
  if (Platform::TickCount() - FStartTick >= LongestRepeat) {
    Stop();
    return;
  }
  Play();
}

void TAlarmSound::Play() {
  // A file that failed has said so once; the repeats play the chime it was replaced with.
  const QPointer<TAlarmSound> self(this);
  PlayAlarmSound(FOptions, [self] {
    if (self)
      self->FOptions.Sound = snChime;
  });
}

// ---- The warning ----------------------------------------------------------------------------

std::optional<quint64> WarningTick(quint32 countTime, quint32 warning, quint64 startTick) {
  if (warning == 0 || quint64(countTime) < 2 * quint64(warning))
    return std::nullopt;
  return startTick + quint64(countTime - warning) * 1000u;
}

TWarningMoment WarningMoment(quint32 countTime, quint32 warning, quint64 startTick, quint64 now) {
  const std::optional<quint64> due = WarningTick(countTime, warning, startTick);
  if (!due || now < *due)
    return TWarningMoment::NotYet;
  return now - *due < WarningWindow ? TWarningMoment::Now : TWarningMoment::Missed;
}

// ---- The file dialog ------------------------------------------------------------------------

QString ChooseSoundFile(QWidget* parent, const QString& current) {
  if (FileChooserOverride)
    return FileChooserOverride(parent, current);
  return QFileDialog::getOpenFileName(parent, AlarmTexts::Text(AlarmTexts::atChooseTitle),
                                      current.isEmpty() ? QDir::homePath() : current,
                                      AlarmTexts::Text(AlarmTexts::atWavFiles));
}

void SetFileChooser(TFileChooser chooser) { FileChooserOverride = std::move(chooser); }

} // namespace Alarm
