#pragma once
// The alarm as the user sets it up in the window's menu: its sound, whether it repeats until
// the user comes, a warning shortly before the end, and whether the computer is kept awake
// while a countdown runs. The options, their home beside the preset, and the sound of the
// alarm and of the warning.

#include "PresetStore.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QTimer;
class QWidget;

namespace Alarm {

// The alarm's sound: the chime, the two other sounds the program carries, none, or a WAV
// file of the user's.
enum TSound { snChime, snBell, snBeep, snSilent, snFile };

struct TOptions {
  TSound Sound = snChime;
  QString SoundFile;       // the user's file; kept when another sound is chosen
  bool Repeat = false;     // the sound again every 10 s until the alarm is answered
  quint32 Warning = 0;     // seconds before the end that the warning comes; 0: none
  bool KeepAwake = true;   // no sleep while a countdown runs
  bool operator==(const TOptions&) const = default;
};

inline constexpr quint32 LongestWarning = 600;            // as the settings file may say
inline constexpr int RepeatMilliseconds = 10 * 1000;      // between the repeated sounds
inline constexpr quint64 LongestRepeat = 5 * 60 * 1000;  // after which the alarm is quiet

// ---- The store ------------------------------------------------------------------------------

// The section that keeps the options: [Alarm] in the settings file, a key in the registry.
QString SectionName();
// The stored name of a sound ("chime", "bell", "beep", "silent", "file") and back, in any
// letter case; nothing for another text.
QString SoundName(TSound sound);
std::optional<TSound> SoundNamed(const QString& name);

// The options that section holds: each entry that is missing takes its default, and so does
// each that is not understood, the first of which is given in *unclear as "Name=value".
// Entries of other names are left to others.
TOptions FromSection(const Platform::TStoreSection& section, QString* unclear);
// stored with the options in the places of their entries (added at the end where it has none)
// and every other entry kept where it was. No SoundFile where there is none.
Platform::TStoreSection ToSection(const TOptions& options, const Platform::TStoreSection& stored);

// The program's options: the defaults until Load reads them, kept for the run, and stored
// only when the user changes one.
class TStoredOptions {
public:
  const TOptions& Get() const { return FOptions; }
  // Reads the options; a value that is not understood is said in one line, and a store that
  // cannot be read at all leaves the defaults (what reads the preset says why).
  void Load();
  // What a choice in the menu does: the run goes on with options, which are stored where they
  // differ from the current ones. False when they could not be stored (said in one line).
  bool Change(const TOptions& options);
  // The defaults again, nothing read (tests).
  void Forget() { FOptions = {}; }

private:
  TOptions FOptions;
};
extern TStoredOptions Current;

// ---- The sounds -----------------------------------------------------------------------------

// The program's own sound for sound (":/sound/..."); empty for silent and for a file.
QString SoundResource(TSound sound);

// Plays the alarm's sound of options once: one of the program's, the system beep where that
// cannot play; the user's file, or the chime (with one line naming the file and why) where the
// file cannot be read or played; nothing when silent. onFileFailed learns that the file failed.
void PlayAlarmSound(const TOptions& options, const std::function<void()>& onFileFailed = {});
// The warning's soft tick, unless the alarm is silent.
void PlayWarningTick(const TOptions& options);

// The alarm's sound while the alarm dialog is up: once as it comes, and with Repeat again
// every 10 s until Stop (the dialog answered), for 5 minutes at the most. A file that failed
// gives its one line once; the repeats play the chime.
class TAlarmSound : public QObject {
  Q_OBJECT

public:
  explicit TAlarmSound(QObject* parent = nullptr);

  void Start(const TOptions& options);
  void Stop();
  QTimer* TimerRepeat() const { return FTimerRepeat; }

public slots:
  void TimerRepeatTimer();

private:
  void Play();

  QTimer* FTimerRepeat;
  TOptions FOptions;
  quint64 FStartTick = 0;
};

// ---- The warning ----------------------------------------------------------------------------

// The tick at which a countdown of countTime seconds started at startTick is warned of, warning
// seconds before its end; none for no warning and for a countdown shorter than twice the
// warning.
std::optional<quint64> WarningTick(quint32 countTime, quint32 warning, quint64 startTick);

// Whether that warning is to be given at the tick now: not yet (or never), now, or missed. It
// is given from its tick for a second, which the countdown's ticks always meet; a moment that
// passed unseen (the warning turned on later, the machine asleep) is missed, rather than
// saying a time that is no longer true.
enum class TWarningMoment { NotYet, Now, Missed };
inline constexpr quint64 WarningWindow = 1000;  // milliseconds
TWarningMoment WarningMoment(quint32 countTime, quint32 warning, quint64 startTick, quint64 now);

// ---- The file dialog ------------------------------------------------------------------------

// Asks for a WAV file, starting beside current; empty when the user cancels. Tests answer
// instead of the dialog (an empty function restores it).
using TFileChooser = std::function<QString(QWidget* parent, const QString& current)>;
QString ChooseSoundFile(QWidget* parent, const QString& current);
void SetFileChooser(TFileChooser chooser);

} // namespace Alarm
