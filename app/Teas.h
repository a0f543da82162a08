#pragma once
// The user's teas: each a name, the time of its first infusion, how many infusions its leaves
// give and how much longer each further one steeps. The list, its checks and its home beside
// the preset.

#include "JumpList.h"
#include "PresetStore.h"

#include <QList>
#include <QString>
#include <optional>

namespace Teas {

struct TTea {
  QString Name;
  quint32 Time = 0;       // seconds of the first infusion
  quint32 Infusions = 1;  // how many infusions the leaves give
  quint32 Extra = 0;      // seconds each further infusion steeps longer than the one before
  bool operator==(const TTea&) const = default;
};
using TTeaList = QList<TTea>;

inline constexpr qsizetype MostTeas = 50;
inline constexpr qsizetype LongestName = 60;  // characters
inline constexpr quint32 LongestTime = 3599;  // 59:59, as everywhere in the timer
inline constexpr quint32 MostInfusions = 20;
inline constexpr quint32 LongestExtra = 600;  // 10:00

// ---- Checks -------------------------------------------------------------------------------

// What is wrong with a name for the tea at index self of list (-1: a tea not yet in it).
enum class TNameCheck { Good, Empty, TooLong, ControlCharacter, Taken };
// A name is 1 to 60 characters (not blank), has no control characters or line breaks, and no
// other tea of the list bears it, whatever the letter case.
TNameCheck CheckName(const QString& name, const TTeaList& list, qsizetype self = -1);
// The time 0:01 to 59:59, 1 to 20 infusions, the extra 0:00 to 10:00.
bool InRange(const TTea& tea);

// The index of the tea called name, whatever the letter case; -1 when there is none.
qsizetype IndexOf(const TTeaList& list, const QString& name);

// ---- Times --------------------------------------------------------------------------------

// How long infusion number (1 for the first) steeps: the first time and the extra for each
// infusion before it, never longer than 59:59.
quint32 InfusionTime(const TTea& tea, quint32 infusion);

// One infusion of a tea: how long it steeps, its number from 1, and how many the tea gives.
struct TInfusion {
  quint32 Time = 0;
  quint32 Number = 0;
  quint32 Count = 0;
  bool operator==(const TInfusion&) const = default;
};
// The infusion after the one numbered ended; none after the last.
std::optional<TInfusion> NextInfusion(const TTea& tea, quint32 ended);

// Minutes without a leading zero, the separator and two digits of seconds: "0:20", "12:05".
QString ShortTime(quint32 seconds, QChar separator);
// Minutes and seconds as a person types them: "1:30" (also with separator), "90" as plain
// seconds; blanks around are ignored. Nothing for any other text.
std::optional<quint32> ParseShortTime(const QString& text, QChar separator);

// The tea as the menu lists it: "Green tea  2:00", or "Oolong, gongfu  0:20 ×6".
QString MenuText(const TTea& tea, QChar separator);

// The tasks of the taskbar button's jump list: one per tea, titled as the menu lists it, that
// starts the program on the tea at once.
QList<Platform::JumpList::TTask> Tasks(const TTeaList& list, QChar separator);

// ---- The list -------------------------------------------------------------------------------

// The list the user starts with, named in the user's language: four common teas at the
// middle of the times on their packaging, and a gongfu oolong of six short infusions.
TTeaList BuiltIn();

// ---- The store ---------------------------------------------------------------------------------

// The section of the store that holds the teas, beside the preset.
inline constexpr char16_t StoreSection[] = u"Teas";
// The teas as the store keeps them, as QSettings keeps an array: "1/Name", "1/Time",
// "1/Infusions", "1/Extra" for the first, and so on, then "size"; times in seconds.
Platform::TStoreSection ToSection(const TTeaList& list);
// The teas a stored section holds, as QSettings reads the array: "size" of them, from 1. A tea
// with a field missing, out of range or of another kind, or named as one before it, is left
// out, as is any beyond the fiftieth; the first bad entry is named in *firstBad ("3\Time", or
// "size" where the count is wrong), which stays empty for a sound list.
TTeaList FromSection(const Platform::TStoreSection& section, QString* firstBad);

// The program's teas: read from the store when first asked for, kept for the run, and written
// back only when the user changes them.
class TTeas {
public:
  // The teas: those stored, or the built-in list where none are.
  const TTeaList& List();
  // Whether List is the built-in list.
  bool IsBuiltIn();
  // Reads the list anew: where there is none, or none is left of a damaged one, the built-in
  // list. A damaged list or a store that cannot be read is said in one line.
  void Load();
  // What OK in either dialog does: list becomes the teas, and is stored when it differs from
  // what they were, and the jump list follows. False when it could not be stored (said in one
  // line); the run goes on with it all the same.
  bool Replace(const TTeaList& list);
  // Gives the taskbar button's jump list the teas (at start-up).
  void Publish();
  // Forgets what was read, so that the next List reads again (tests).
  void Forget();

private:
  bool FLoaded = false;
  bool FBuiltIn = true;
  TTeaList FList;
};

// The program's teas.
extern TTeas Current;

} // namespace Teas
