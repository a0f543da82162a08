// What both stores share: the reading of stored values and the names they may have.

#include "PresetStore.h"

#include <QSet>

namespace Platform {

std::optional<QString> StoredText(const TStoreValue& value) {
  if (const QString* text = std::get_if<QString>(&value))
    return *text;
  return std::nullopt;
}

std::optional<quint32> StoredNumber(const TStoreValue& value) {
  if (const quint32* number = std::get_if<quint32>(&value))
    return *number;
  const QString* text = std::get_if<QString>(&value);
  if (!text || text->isEmpty())
    return std::nullopt;
  quint64 number = 0;
  for (const QChar c : *text) {
    if (c < u'0' || c > u'9')
      return std::nullopt;
    number = number * 10 + (c.unicode() - u'0');
    if (number > 0xFFFFFFFFu)
      return std::nullopt;
  }
  return quint32(number);
}

std::optional<bool> StoredFlag(const TStoreValue& value) {
  if (const bool* flag = std::get_if<bool>(&value))
    return *flag;
  if (const quint32* number = std::get_if<quint32>(&value))
    return *number <= 1 ? std::optional(*number == 1) : std::nullopt;
  const QString& text = std::get<QString>(value);
  if (text == u"1" || text.compare(u"true", Qt::CaseInsensitive) == 0)
    return true;
  if (text == u"0" || text.compare(u"false", Qt::CaseInsensitive) == 0)
    return false;
  return std::nullopt;
}

bool ValidSectionNames(const QString& section, const TStoreSection& entries, QString* reason) {
  // A backslash separates keys in the registry.
  if (section.isEmpty() || section.contains(u'/') || section.contains(u'\\') ||
      section.compare(u"General", Qt::CaseInsensitive) == 0) {
    *reason = QStringLiteral("\"%1\" is no section name").arg(section);
    return false;
  }
  QSet<QString> names;
  for (const TStoreEntry& entry : entries) {
    if (entry.Name.split(u'/').contains(QString()) || entry.Name.contains(u'\\') || names.contains(entry.Name)) {
      *reason = QStringLiteral("the entry name \"%1\" is empty, has a backslash or comes twice").arg(entry.Name);
      return false;
    }
    names.insert(entry.Name);
  }
  return true;
}

} // namespace Platform
