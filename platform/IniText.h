#pragma once
// The settings file's text as QSettings reads and writes its INI form, so that QSettings, a
// person and our own writer read a file alike. The file is never parsed into a model and
// written back: a store edits the few bytes it changes and keeps every other byte.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace Platform::Ini {

// One line as QSettings reads it: [Begin, End) of the text, without the blanks before it and
// without a comment after it; it may run over several lines of the file (a quoted value with a
// line break, a backslash before the line ending). Equals: the first '=' outside quotes, -1: none.
struct TLine {
  qsizetype Begin = 0, End = 0, Equals = -1;
};

// What a line is to the settings.
enum class TLineKind { Header, Key, Other };
struct TItem {
  TLine Line;
  TLineKind Kind = TLineKind::Other;
  // A header: its section, "" for [General] (and "General" for [%General]); a key: its full
  // name as QSettings names it, "Preset" in [General], "Teas/1/Name" for 1\Name in [Teas].
  QString Name;
};

// Every line of text (after a UTF-8 mark) in the order of the file; comments and blank lines
// are none. One pass over the text.
QList<TItem> Items(QByteArrayView text);

// A key or section name as the file writes it ('/' as '\', "%20" for a blank) and back.
QByteArray EscapedKey(QStringView key);
QString UnescapedKey(QByteArrayView key);

// A text value as QSettings writes it: quoted where it holds ',', ';' or '=' or begins or ends
// with a blank, backslash escapes for control characters, quotes and backslashes, UTF-8.
QByteArray EscapedText(const QString& text);
// What QSettings' value(...).toString() gives for the text after '=': escapes undone; a list
// (an unquoted comma) or a typed value ("@Rect(...)") gives the empty text.
QString UnescapedText(QByteArrayView value);

// The value of a key line.
QString ValueOf(QByteArrayView text, const TLine& line);

// The line ending the text uses first ("\n" in a text without one) and where the line
// containing position at ends, its line ending included.
QByteArray NewlineOf(QByteArrayView text);
qsizetype LineStart(QByteArrayView text, qsizetype at);
qsizetype NextLineStart(QByteArrayView text, qsizetype at);

} // namespace Platform::Ini
