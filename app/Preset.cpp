#include "Preset.h"

#include "F_Steepo.h"
#include "OrbUtils.h"
#include "Platform.h"

#include <QSettings>
#include <limits>

namespace Preset {

namespace {

const QString PresetValue = QStringLiteral("Preset");

int DigitValue(QChar c, int base) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9')
    return u - u'0';
  if (base == 16 && u >= u'a' && u <= u'f')
    return u - u'a' + 10;
  if (base == 16 && u >= u'A' && u <= u'F')
    return u - u'A' + 10;
  return -1;
}

// The stored preset as an unsigned 32-bit number of seconds; nothing for a value of another
// kind (text that is not a plain decimal number, a list, a number out of range).
std::optional<quint32> StoredSeconds(const QVariant& value) {
  bool ok = false;
  qulonglong number = 0;
  switch (value.typeId()) {
  case QMetaType::Int:
  case QMetaType::LongLong: {
    const qlonglong signedNumber = value.toLongLong(&ok);
    if (!ok || signedNumber < 0)
      return std::nullopt;
    number = qulonglong(signedNumber);
    break;
  }
  case QMetaType::UInt:
  case QMetaType::ULongLong:
    number = value.toULongLong(&ok);
    break;
  case QMetaType::QString: {
    const QString text = value.toString();
    ok = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
      return c.unicode() >= u'0' && c.unicode() <= u'9';
    });
    if (ok)
      number = text.toULongLong(&ok);
    break;
  }
  default:
    return std::nullopt;
  }
  if (!ok || number > std::numeric_limits<quint32>::max())
    return std::nullopt;
  return quint32(number);
}

} // namespace

std::optional<qint32> ParseInt32(const QString& text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && (text.at(i) == u' ' || text.at(i) == u'\t'))
    ++i;
  bool negative = false;
  if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
    negative = text.at(i++) == u'-';
  int base = 10;
  if (i < n && (text.at(i) == u'$' || text.at(i) == u'x' || text.at(i) == u'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && text.at(i) == u'0' && (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
    base = 16;
    i += 2;
  }
  if (i == n)
    return std::nullopt;
  // The magnitude may reach 2^31 only for a negative number.
  const qint64 limit = negative ? qint64(1) << 31 : (qint64(1) << 31) - 1;
  qint64 value = 0;
  for (; i < n; ++i) {
    const int digit = DigitValue(text.at(i), base);
    if (digit < 0)
      return std::nullopt;
    value = value * base + digit;
    if (value > limit)
      return std::nullopt;
  }
  return qint32(negative ? -value : value);
}

qint32 ParseTimeArgument(const QString& argument, QChar separator) {
  const qsizetype at = argument.indexOf(separator);
  if (at < 0)
    return 0;
  const qint64 minutes = ParseInt32(argument.left(at)).value_or(0);
  const qint64 seconds = ParseInt32(argument.mid(at + 1)).value_or(0);
  // Computed wide, so that huge minutes cannot wrap round into the valid range.
  const qint64 total = minutes * 60 + seconds;
  return total >= 1 && total <= 3599 ? qint32(total) : 0;
}

void ReadStartTime() {
  const QString argument = OrbUtils::GetCmdParam(1);
  if (!argument.isEmpty())
    F_Steepo::CmdTime = ParseTimeArgument(argument, F_Steepo::TimeSeparator);
  if (F_Steepo::CmdTime != 0) {
    F_Steepo::BrewTime = quint32(F_Steepo::CmdTime);
    return;
  }
  // Every failure of the store leaves the time as it is.
  const std::unique_ptr<QSettings> settings = Platform::OpenSettings();
  if (!settings || settings->status() != QSettings::NoError)
    return;
  if (const auto stored = StoredSeconds(settings->value(PresetValue)))
    F_Steepo::BrewTime = *stored;
}

bool StartSwitch() {
  const QStringList arguments = OrbUtils::CommandLine();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments.at(i);
    if ((argument.startsWith(u'-') || argument.startsWith(u'/')) &&
        QStringView(argument).mid(1).compare(u"START", Qt::CaseInsensitive) == 0)
      return true;
  }
  return false;
}

void StorePreset() {
  if (F_Steepo::CmdTime != 0)
    return;
  const std::unique_ptr<QSettings> settings = Platform::OpenSettings();
  if (!settings || settings->status() != QSettings::NoError || !settings->isWritable())
    return;
  settings->setValue(PresetValue, F_Steepo::BrewTime);
  settings->sync();
}

} // namespace Preset
