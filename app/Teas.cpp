#include "Teas.h"

#include "TeaTexts.h"

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

TTeaList BuiltIn() {
  using namespace TeaTexts;
  return {{Text(ttGreenTea), 120}, {Text(ttOolong), 180}, {Text(ttBlackTea), 240}, {Text(ttHerbalTea), 360},
          {Text(ttOolongGongfu), 20, 6, 5}};
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
  FLoaded = true;
  FBuiltIn = true;
  FList = BuiltIn();
}

bool TTeas::Replace(const TTeaList& list) {
  if (list == List())
    return true;
  FList = list;
  FBuiltIn = false;
  return true;
}

void TTeas::Forget() {
  FLoaded = false;
  FBuiltIn = true;
  FList.clear();
}

} // namespace Teas
