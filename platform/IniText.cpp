// The rules here are QSettings' own (Qt 6), found by reading files back with QSettings: where a
// line ends, what a comment is, how keys and values are escaped. The tests hold them against
// the real QSettings both ways.

#include "IniText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Platform::Ini {

namespace {

const QByteArrayView Utf8Mark = "\xEF\xBB\xBF";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsSpecial(char c) { return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\'; }
bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

int HexValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9')
    return u - u'0';
  if (u >= u'a' && u <= u'f')
    return u - u'a' + 10;
  if (u >= u'A' && u <= u'F')
    return u - u'A' + 10;
  return -1;
}

char HexDigit(uint value) { return "0123456789ABCDEF"[value & 15]; }

// After a backslash at *at: a line ending right behind it (one of "\n", "\r", "\r\n", "\n\r")
// belongs to the line.
void SkipEscaped(QByteArrayView data, qsizetype* at) {
  if (*at >= data.size())
    return;
  const char c = data[(*at)++];
  if (*at < data.size() && ((c == '\n' && data[*at] == '\r') || (c == '\r' && data[*at] == '\n')))
    ++*at;
}

// The next line from *at; false at the end of the text.
bool ReadLine(QByteArrayView data, qsizetype* at, TLine* line) {
  const qsizetype size = data.size();
  bool inQuotes = false;
  line->Equals = -1;
  qsizetype start = *at;
  while (start < size && IsSpace(data[start]))
    ++start;
  qsizetype i = start;
  while (i < size) {
    const char c = data[i++];
    if (!IsSpecial(c))
      continue;
    if (c == '=') {
      if (!inQuotes && line->Equals < 0)
        line->Equals = i - 1;
    } else if (IsLineEnd(c)) {
      if (i == start + 1)
        ++start;
      else if (!inQuotes) {
        --i;
        break;
      }
    } else if (c == '\\') {
      SkipEscaped(data, &i);
    } else if (c == '"') {
      inQuotes = !inQuotes;
    } else if (i == start + 1) {  // ';' first on the line: a comment
      while (i < size && !IsLineEnd(data[i]))
        ++i;
      while (i < size && IsSpace(data[i]))
        ++i;
      start = i;
    } else if (!inQuotes) {  // ';' after the text: the rest is a comment
      --i;
      break;
    }
  }
  *at = i;
  line->Begin = start;
  line->End = i;
  return i > start;
}

// The section a header line opens: "" for General.
QString SectionOf(QByteArrayView line) {
  qsizetype close = line.indexOf(']');
  if (close < 0)
    close = line.size();
  const QByteArrayView name = line.first(close).sliced(1).trimmed();
  if (name.compare("general", Qt::CaseInsensitive) == 0)
    return {};
  if (name.compare("%general", Qt::CaseInsensitive) == 0)
    return QString::fromLatin1(name.sliced(1)) + u'/';
  return UnescapedKey(name) + u'/';
}

void ChopBlanks(QString* text, qsizetype limit) {
  qsizetype n = text->size();
  while (n > limit && (text->at(n - 1) == u' ' || text->at(n - 1) == u'\t'))
    --n;
  text->truncate(n);
}

// A value's text with escapes undone, or its items where an unquoted comma makes it a list.
class TValueReader {
public:
  explicit TValueReader(QByteArrayView value) : FValue(value) {}

  void Read() {
    SkipBlanks();
    while (FAt < FValue.size()) {
      const char c = FValue[FAt];
      if (c == '\\')
        Escape();
      else if (c == '"')
        Quote();
      else if (c == ',' && !FInQuotes)
        NextItem();
      else
        Plain();
      if (FEnded)
        break;
    }
    if (!FEnded && !FQuoted)
      ChopBlanks(&FText, FChopLimit);
    if (FList)
      FItems << FText;
  }

  bool FList = false;
  QString FText;
  QStringList FItems;

private:
  void SkipBlanks() {
    while (FAt < FValue.size() && (FValue[FAt] == ' ' || FValue[FAt] == '\t'))
      ++FAt;
    FChopLimit = FText.size();
  }
  void Escape() {
    static constexpr char Simple[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'}, {'r', '\r'}, {'t', '\t'},
                                         {'v', '\v'}, {'"', '"'},  {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    if (++FAt >= FValue.size()) {
      FEnded = true;
      return;
    }
    const char c = FValue[FAt++];
    for (const auto& pair : Simple)
      if (c == pair[0]) {
        FText += QLatin1Char(pair[1]);
        FChopLimit = FText.size();
        return;
      }
    if (c == 'x') {
      if (FAt >= FValue.size()) {
        FEnded = true;
        return;
      }
      if (HexValue(QLatin1Char(FValue[FAt])) >= 0)
        return Number(16, 0);
    } else if (c >= '0' && c <= '7') {
      return Number(8, char16_t(c - '0'));
    } else if (IsLineEnd(c) && FAt < FValue.size() && IsLineEnd(FValue[FAt]) && FValue[FAt] != c) {
      ++FAt;
    }
    FChopLimit = FText.size();
  }
  // The digits of a hexadecimal or octal escape, as many as there are (the value wraps at 16 bits).
  void Number(int base, char16_t value) {
    for (;; ++FAt) {
      if (FAt >= FValue.size()) {
        FText += QChar(value);
        FEnded = true;
        return;
      }
      const int digit = HexValue(QLatin1Char(FValue[FAt]));
      if (digit < 0 || digit >= base)
        break;
      value = char16_t(value * base + digit);
    }
    FText += QChar(value);
    FChopLimit = FText.size();
  }
  void Quote() {
    ++FAt;
    FQuoted = true;
    FInQuotes = !FInQuotes;
    if (!FInQuotes)
      SkipBlanks();
  }
  void NextItem() {
    if (!FQuoted)
      ChopBlanks(&FText, FChopLimit);
    FList = true;
    FItems << FText;
    FText.clear();
    FQuoted = false;
    ++FAt;
    SkipBlanks();
  }
  void Plain() {
    qsizetype end = FAt + 1;
    while (end < FValue.size() && FValue[end] != '\\' && FValue[end] != '"' && FValue[end] != ',')
      ++end;
    FText += FDecoder(FValue.sliced(FAt, end - FAt));
    FAt = end;
  }

  QByteArrayView FValue;
  qsizetype FAt = 0, FChopLimit = 0;
  bool FInQuotes = false, FQuoted = false, FEnded = false;
  QStringDecoder FDecoder{QStringDecoder::Utf8};
};

// What QSettings makes of a value's text: its own typed forms begin with '@'.
QString TextOfValue(const QString& value) {
  if (!value.startsWith(u'@'))
    return value;
  if (value.endsWith(u')')) {
    if (value.startsWith(u"@ByteArray("))
      return QString::fromUtf8(QStringView(value).sliced(11).chopped(1).toLatin1());
    if (value.startsWith(u"@String("))
      return value.sliced(8).chopped(1);
    for (const char16_t* typed : {u"@Variant(", u"@DateTime(", u"@Rect(", u"@Size(", u"@Point(", u"@Invalid("})
      if (value.startsWith(typed))
        return {};
  }
  return value.startsWith(u"@@") ? value.sliced(1) : value;
}

} // namespace

QList<TItem> Items(QByteArrayView text) {
  QList<TItem> items;
  QString section;  // "" or "Name/"
  qsizetype at = text.startsWith(Utf8Mark) ? Utf8Mark.size() : 0;
  TLine line;
  while (ReadLine(text, &at, &line)) {
    const QByteArrayView content = text.sliced(line.Begin, line.End - line.Begin);
    if (content.startsWith('[')) {
      section = SectionOf(content);
      items.append({line, TLineKind::Header, section.isEmpty() ? section : section.chopped(1)});
    } else if (line.Equals >= 0) {
      items.append({line, TLineKind::Key, section + UnescapedKey(text.sliced(line.Begin, line.Equals - line.Begin).trimmed())});
    } else {
      items.append({line, TLineKind::Other, {}});
    }
  }
  return items;
}

QByteArray EscapedKey(QStringView key) {
  QByteArray result;
  result.reserve(key.size() * 3 / 2);
  for (const QChar c : key) {
    const char16_t u = c.unicode();
    if (u == u'/') {
      result += '\\';
    } else if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_' ||
               u == u'-' || u == u'.') {
      result += char(u);
    } else if (u <= 0xFF) {
      result += '%';
      result += HexDigit(u >> 4);
      result += HexDigit(u);
    } else {
      result += "%U";
      for (int shift = 12; shift >= 0; shift -= 4)
        result += HexDigit(u >> shift);
    }
  }
  return result;
}

QString UnescapedKey(QByteArrayView key) {
  const QString decoded = QString::fromUtf8(key);
  QString result;
  result.reserve(decoded.size());
  for (qsizetype i = 0; i < decoded.size();) {
    const QChar c = decoded.at(i);
    if (c == u'\\') {
      result += u'/';
      ++i;
      continue;
    }
    const qsizetype first = i + 1 < decoded.size() && decoded.at(i + 1) == u'U' ? i + 2 : i + 1;
    const qsizetype digits = first == i + 2 ? 4 : 2;
    int value = 0;
    for (qsizetype d = 0; c == u'%' && value >= 0 && d < digits; ++d)
      value = first + d < decoded.size() && HexValue(decoded.at(first + d)) >= 0
                  ? value * 16 + HexValue(decoded.at(first + d)) : -1;
    if (c != u'%' || value < 0) {
      result += c;
      ++i;
      continue;
    }
    result += QChar(char16_t(value));
    i = first + digits;
  }
  return result;
}

QByteArray EscapedText(const QString& text) {
  const QString value = text.contains(QChar(0)) ? QStringLiteral("@String(%1)").arg(text)
                        : text.startsWith(u'@') ? u'@' + text : text;
  QByteArray result;
  result.reserve(value.size() * 3 / 2);
  QStringEncoder toUtf8(QStringEncoder::Utf8);
  bool quotes = false, escapeNextIfHex = false;
  for (const QChar c : value) {
    const char16_t u = c.unicode();
    quotes = quotes || u == u';' || u == u',' || u == u'=';
    if (escapeNextIfHex && HexValue(c) >= 0) {
      result += "\\x" + QByteArray::number(u, 16);
      continue;
    }
    escapeNextIfHex = false;
    switch (u) {
    case u'\0': result += "\\0"; escapeNextIfHex = true; break;
    case u'\a': result += "\\a"; break;
    case u'\b': result += "\\b"; break;
    case u'\f': result += "\\f"; break;
    case u'\n': result += "\\n"; break;
    case u'\r': result += "\\r"; break;
    case u'\t': result += "\\t"; break;
    case u'\v': result += "\\v"; break;
    case u'"':
    case u'\\': result += '\\'; result += char(u); break;
    default:
      if (u <= 0x1F) {
        result += "\\x" + QByteArray::number(u, 16);
        escapeNextIfHex = true;
      } else {
        result += toUtf8(QStringView(&c, 1));
      }
    }
  }
  if (quotes || result.startsWith(' ') || result.endsWith(' '))
    result = '"' + result + '"';
  return result;
}

QString UnescapedText(QByteArrayView value) {
  TValueReader reader(value);
  reader.Read();
  return reader.FList ? QString() : TextOfValue(reader.FText);
}

QString ValueOf(QByteArrayView text, const TLine& line) {
  return UnescapedText(text.sliced(line.Equals + 1, line.End - line.Equals - 1));
}

QByteArray NewlineOf(QByteArrayView text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '\n')
      return "\n";
    if (text[i] == '\r')
      return i + 1 < text.size() && text[i + 1] == '\n' ? "\r\n" : "\r";
  }
  return "\n";
}

qsizetype LineStart(QByteArrayView text, qsizetype at) {
  const qsizetype first = text.startsWith(Utf8Mark) ? Utf8Mark.size() : 0;
  while (at > first && !IsLineEnd(text[at - 1]))
    --at;
  return at;
}

qsizetype NextLineStart(QByteArrayView text, qsizetype at) {
  while (at < text.size() && !IsLineEnd(text[at]))
    ++at;
  if (at < text.size() && text[at] == '\r')
    return at + 1 < text.size() && text[at + 1] == '\n' ? at + 2 : at + 1;
  return at < text.size() ? at + 1 : at;
}

} // namespace Platform::Ini
