#include "Teas.h"

#include "MessageTexts.h"
#include "Platform.h"
#include "TeaTexts.h"

#include <QHash>
#include <algorithm>

namespace Teas {

TTeas Current;

namespace {

bool IsLineOrControl(uint c) {
  const QChar::Category category = QChar::category(c);
  return category == QChar::Other_Control || category == QChar::Separator_Line ||
         category == QChar::Separator_Paragraph;
}

// Decimal digits only, at most most of them; nothing otherwise.
std::optional<quint32> Digits(QStringView text, qsizetype most) {
  if (text.isEmpty() || text.size() > most)
    return std::nullopt;
  quint32 value = 0;
  for (const QChar c : text) {
    if (c < u'0' || c > u'9')
      return std::nullopt;
    value = value * 10 + quint32(c.unicode() - u'0');
  }
  return value;
}

} // namespace

TNameCheck CheckName(const QString& name, const TTeaList& list, qsizetype self) {
  if (name.trimmed().isEmpty())
    return TNameCheck::Empty;
  const QList<uint> characters = name.toUcs4();
  if (characters.size() > LongestName)
    return TNameCheck::TooLong;
  if (std::any_of(characters.begin(), characters.end(), IsLineOrControl))
    return TNameCheck::ControlCharacter;
  const qsizetype index = IndexOf(list, name);
  if (index >= 0 && index != self)
    return TNameCheck::Taken;
  return TNameCheck::Good;
}

bool InRange(const TTea& tea) {
  return tea.Time >= 1 && tea.Time <= LongestTime && tea.Infusions >= 1 && tea.Infusions <= MostInfusions &&
         tea.Extra <= LongestExtra;
}

qsizetype IndexOf(const TTeaList& list, const QString& name) {
  const auto found = std::find_if(list.begin(), list.end(), [&name](const TTea& tea) {
    return tea.Name.compare(name, Qt::CaseInsensitive) == 0;
  });
  return found == list.end() ? -1 : found - list.begin();
}

quint32 InfusionTime(const TTea& tea, quint32 infusion) {
  const quint64 before = infusion > 1 ? infusion - 1 : 0;
  return quint32(std::min<quint64>(tea.Time + before * tea.Extra, LongestTime));
}

std::optional<TInfusion> NextInfusion(const TTea& tea, quint32 ended) {
  if (ended < 1 || ended >= tea.Infusions)
    return std::nullopt;
  return TInfusion{InfusionTime(tea, ended + 1), ended + 1, tea.Infusions};
}

QString ShortTime(quint32 seconds, QChar separator) {
  return QStringLiteral("%1%2%3").arg(seconds / 60).arg(separator).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::optional<quint32> ParseShortTime(const QString& text, QChar separator) {
  const QString trimmed = text.trimmed();
  const qsizetype at = std::find_if(trimmed.begin(), trimmed.end(), [separator](QChar c) {
                         return c == u':' || c == separator;
                       }) - trimmed.begin();
  if (at == trimmed.size())
    return Digits(trimmed, 6);
  // Minutes may be left out (":30"); the seconds are always two digits below 60.
  const auto minutes = at == 0 ? std::optional<quint32>(0) : Digits(QStringView(trimmed).left(at), 4);
  const QStringView secondsText = QStringView(trimmed).mid(at + 1);
  const auto seconds = secondsText.size() == 2 ? Digits(secondsText, 2) : std::nullopt;
  if (!minutes || !seconds || *seconds > 59)
    return std::nullopt;
  return *minutes * 60 + *seconds;
}

QString MenuText(const TTea& tea, QChar separator) {
  QString text = tea.Name + QStringLiteral("  ") + ShortTime(tea.Time, separator);
  if (tea.Infusions > 1)
    text += QStringLiteral(" \u00D7%1").arg(tea.Infusions);
  return text;
}

QList<Platform::JumpList::TTask> Tasks(const TTeaList& list, QChar separator) {
  QList<Platform::JumpList::TTask> tasks;
  for (const TTea& tea : list)
    tasks << Platform::JumpList::TTask{MenuText(tea, separator), {QStringLiteral("-tea"), tea.Name, QStringLiteral("-start")}};
  return tasks;
}

TTeaList BuiltIn() {
  using namespace TeaTexts;
  return {{Text(ttGreenTea), 120}, {Text(ttOolong), 180}, {Text(ttBlackTea), 240}, {Text(ttHerbalTea), 360},
          {Text(ttOolongGongfu), 20, 6, 5}};
}

// ---- The store ---------------------------------------------------------------------------------

namespace {

// The fields of a stored tea, in their order.
const QString Fields[] = {QStringLiteral("Name"), QStringLiteral("Time"), QStringLiteral("Infusions"),
                          QStringLiteral("Extra")};

// How the lines name an entry: as the file and the registry show its path.
QString EntryName(const QString& name) { return QString(name).replace(u'/', u'\\'); }

// The tea of group number among values, checked against those taken before it; the first bad
// field's entry in *bad when it is no tea.
std::optional<TTea> StoredTea(const QHash<QString, Platform::TStoreValue>& values, quint32 number,
                              const TTeaList& before, QString* bad) {
  const auto key = [number](const QString& field) { return QStringLiteral("%1/%2").arg(number).arg(field); };
  const auto text = [&](const QString& field) {
    return values.contains(key(field)) ? Platform::StoredText(values.value(key(field))) : std::nullopt;
  };
  const auto count = [&](const QString& field, quint32 least, quint32 most) -> std::optional<quint32> {
    const auto value = values.contains(key(field)) ? Platform::StoredNumber(values.value(key(field))) : std::nullopt;
    return value && *value >= least && *value <= most ? value : std::nullopt;
  };
  TTea tea;
  const auto name = text(Fields[0]);
  const auto time = count(Fields[1], 1, LongestTime);
  const auto infusions = count(Fields[2], 1, MostInfusions);
  const auto extra = count(Fields[3], 0, LongestExtra);
  const bool good[] = {name && CheckName(*name, before) == TNameCheck::Good, bool(time), bool(infusions), bool(extra)};
  for (int field = 0; field < 4; ++field)
    if (!good[field]) {
      *bad = EntryName(key(Fields[field]));
      return std::nullopt;
    }
  return TTea{*name, *time, *infusions, *extra};
}

// The group number of an entry of the array ("12/Name"); none for any other entry.
std::optional<quint32> GroupOf(const QString& name) {
  const qsizetype slash = name.indexOf(u'/');
  if (slash <= 0 || slash > 9)
    return std::nullopt;
  for (qsizetype i = 0; i < slash; ++i)
    if (name.at(i) < u'0' || name.at(i) > u'9')
      return std::nullopt;
  return name.left(slash).toUInt();
}

} // namespace

Platform::TStoreSection ToSection(const TTeaList& list) {
  Platform::TStoreSection section;
  for (qsizetype i = 0; i < list.size(); ++i) {
    const TTea& tea = list.at(i);
    const QString group = QString::number(i + 1) + u'/';
    section << Platform::TStoreEntry{group + Fields[0], tea.Name} << Platform::TStoreEntry{group + Fields[1], tea.Time}
            << Platform::TStoreEntry{group + Fields[2], tea.Infusions}
            << Platform::TStoreEntry{group + Fields[3], tea.Extra};
  }
  section << Platform::TStoreEntry{QStringLiteral("size"), quint32(list.size())};
  return section;
}

TTeaList FromSection(const Platform::TStoreSection& section, QString* firstBad) {
  QHash<QString, Platform::TStoreValue> values;
  for (const Platform::TStoreEntry& entry : section)
    values.insert(entry.Name, entry.Value);
  // No count, or one that is no number, counts none: QSettings reads no array then.
  const quint32 size = values.contains(QStringLiteral("size"))
                           ? Platform::StoredNumber(values.value(QStringLiteral("size"))).value_or(0)
                           : 0;
  QString bad, later;
  TTeaList list;
  for (quint32 number = 1; number <= std::min<quint32>(size, MostTeas); ++number)
    if (const auto tea = StoredTea(values, number, list, bad.isEmpty() ? &bad : &later))
      list << *tea;
  // A count beyond what the list may hold, or short of the teas there are.
  const bool teasBeyond = std::any_of(section.begin(), section.end(), [size](const Platform::TStoreEntry& entry) {
    const auto group = GroupOf(entry.Name);
    return group && (*group < 1 || *group > size);
  });
  if (bad.isEmpty() && (teasBeyond || size > MostTeas))
    bad = QStringLiteral("size");
  *firstBad = bad;
  return list;
}

// ---- The program's teas ---------------------------------------------------------------------

const TTeaList& TTeas::List() {
  if (!FLoaded)
    Load();
  return FList;
}

bool TTeas::IsBuiltIn() {
  List();
  return FBuiltIn;
}

void TTeas::Load() {
  using namespace MessageTexts;
  FLoaded = true;
  FBuiltIn = true;
  FList = BuiltIn();
  const QString location = Platform::PresetLocation();
  if (location.isEmpty())
    return;  // nowhere to keep them: the preset's line says so
  QString reason;
  const auto section = Platform::ReadSection(QString::fromUtf16(StoreSection), &reason);
  if (!section) {
    Platform::ReportProblem(Text(mxCannotReadTeas).arg(location, reason));
    return;
  }
  QString firstBad;
  const TTeaList list = FromSection(*section, &firstBad);
  if (!firstBad.isEmpty())
    Platform::ReportProblem(Text(mxTeasDamaged).arg(location, QStringLiteral("Teas\\") + firstBad));
  if (list.isEmpty())
    return;
  FList = list;
  FBuiltIn = false;
}

bool TTeas::Replace(const TTeaList& list) {
  using namespace MessageTexts;
  // An unchanged list leaves the store as it is, byte for byte.
  if (list == List())
    return true;
  FList = list;
  FBuiltIn = false;
  Publish();
  const QString location = Platform::PresetLocation();
  QString reason;
  if (location.isEmpty())
    Platform::ReportProblem(Text(mxNoTeasFolder));
  else if (!Platform::WriteSection(QString::fromUtf16(StoreSection), ToSection(list), &reason))
    Platform::ReportProblem(Text(mxCannotStoreTeas).arg(location, reason));
  else
    return true;
  return false;
}

void TTeas::Publish() { Platform::JumpList::Write(Tasks(List(), Platform::TimeSeparator())); }

void TTeas::Forget() {
  FLoaded = false;
  FBuiltIn = true;
  FList.clear();
}

} // namespace Teas
