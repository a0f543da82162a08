// Text for the terminal as the C library and gettext read the environment: the bytes of the
// locale's character set, the languages the user asks for, and the C library's words for an
// error in the language the program speaks.

#include "Platform.h"
#include "PlatformNative.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

namespace Platform {

namespace {

// The locale the environment names for a category, as setlocale(category, "") would take it.
QByteArray LocaleNameFor(const char* category) {
  for (const char* variable : {"LC_ALL", category, "LANG"}) {
    const QByteArray value = qgetenv(variable);
    if (!value.isEmpty())
      return value;
  }
  return {};
}

bool IsPlainLocale(const QByteArray& name) { return name.isEmpty() || name == "C" || name == "POSIX"; }

// "de_DE.UTF-8@euro" as the language code Qt and gettext know: "de_DE".
QString LanguageCode(const QByteArray& name) {
  QByteArray code = name;
  for (const char stop : {'.', '@'})
    if (const qsizetype at = code.indexOf(stop); at >= 0)
      code.truncate(at);
  return QString::fromLatin1(code);
}

quint16 LangIDOf(const QString& code) {
  const QLocale locale(code);
  // QLocale takes a name it does not know for the C locale: no language at all.
  return locale.language() == QLocale::C ? 0 : PrimaryLanguageID(locale.language());
}

// The entries of LANGUAGE, which gettext reads only where the messages' locale is not plain.
QStringList LanguageEntries() {
  if (IsPlainLocale(LocaleNameFor("LC_MESSAGES")))
    return {};
  return qEnvironmentVariable("LANGUAGE").split(u':', Qt::SkipEmptyParts);
}

// A locale object built from the environment for the mask, whatever the process's own setting.
class TLocale {
public:
  TLocale(int mask, const char* name, locale_t base = locale_t(0)) : Handle(newlocale(mask, name, base)) {}
  ~TLocale() {
    if (Handle != locale_t(0))
      freelocale(Handle);
  }
  TLocale(const TLocale&) = delete;
  TLocale& operator=(const TLocale&) = delete;
  locale_t Release() { return std::exchange(Handle, locale_t(0)); }
  locale_t Handle;
};

// The character set of the environment's locale ("KOI8-R", "ISO-8859-1", "UTF-8").
QByteArray LocaleCharset() {
  const TLocale locale(LC_CTYPE_MASK, "");
  if (locale.Handle == locale_t(0))
    return QByteArrayLiteral("ANSI_X3.4-1968");
  return nl_langinfo_l(CODESET, locale.Handle);
}

// The length of the UTF-8 sequence that begins with lead (1 for a stray byte).
int SequenceLength(unsigned char lead) {
  if (lead >= 0xF0)
    return 4;
  if (lead >= 0xE0)
    return 3;
  return lead >= 0xC0 ? 2 : 1;
}

// The bytes of utf8 in charset; a character charset cannot show becomes "?".
QByteArray Convert(const QByteArray& utf8, const QByteArray& charset) {
  const iconv_t converter = iconv_open(charset.constData(), "UTF-8");
  if (converter == iconv_t(-1))
    return utf8;
  QByteArray result;
  char* in = const_cast<char*>(utf8.constData());
  size_t inLeft = size_t(utf8.size());
  char buffer[4096];
  while (inLeft > 0) {
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    const size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
    result.append(buffer, qsizetype(sizeof buffer - outLeft));
    if (done == size_t(-1) && errno != E2BIG) {
      const size_t skip = std::min<size_t>(inLeft, size_t(SequenceLength(static_cast<unsigned char>(*in))));
      result.append('?');
      in += skip;
      inLeft -= skip;
    }
  }
  iconv_close(converter);
  return result;
}

// The language gettext gives the C library's texts in: the first entry of LANGUAGE, then the
// messages' locale, for which the C library has a catalogue; English where none has.
quint16 LibraryLangID() {
  const auto hasCatalogue = [](const QString& code) {
    return QFileInfo::exists(QStringLiteral("/usr/share/locale/%1/LC_MESSAGES/libc.mo").arg(code));
  };
  QStringList candidates = LanguageEntries();
  if (const QByteArray locale = LocaleNameFor("LC_MESSAGES"); !IsPlainLocale(locale))
    candidates << LanguageCode(locale);
  for (const QString& code : std::as_const(candidates)) {
    if (hasCatalogue(code))
      return LangIDOf(code);
    if (const QString language = code.section(u'_', 0, 0); language != code && hasCatalogue(language))
      return LangIDOf(language);
  }
  return PrimaryLanguageID(QLocale::English);
}

QLocale::Language MessagesLanguage = QLocale::English;

} // namespace

quint16 Native::SystemDefaultLangID() {
  const QByteArray name = LocaleNameFor("LC_MESSAGES");
  return IsPlainLocale(name) ? 0 : LangIDOf(LanguageCode(name));
}

QList<quint16> Native::PreferredLangIDs() {
  QList<quint16> ids;
  for (const QString& entry : LanguageEntries())
    if (const quint16 id = LangIDOf(entry); id != 0)
      ids << id;
  ids << SystemDefaultLangID();
  return ids;
}

QByteArray Native::TerminalBytes(const QString& text) {
  const QByteArray charset = LocaleCharset();
  const QByteArray utf8 = text.toUtf8();
  return charset == "UTF-8" ? utf8 : Convert(utf8, charset);
}

void SetMessagesLanguage(QLocale::Language language) { MessagesLanguage = language; }

QString ErrorText(int error) {
  // The C library's words in the messages' language where gettext gives that one, else in
  // English; asked for in UTF-8 whatever the locale's character set.
  const bool speaksIt = MessagesLanguage != QLocale::English &&
                        (LibraryLangID() & 0xFFu) == PrimaryLanguageID(MessagesLanguage);
  TLocale messages(LC_MESSAGES_MASK, speaksIt ? "" : "C");
  TLocale locale(LC_CTYPE_MASK, "C.UTF-8", messages.Handle);
  if (locale.Handle == locale_t(0))
    return QString::fromLocal8Bit(std::strerror(error));
  messages.Release();  // now part of locale
  return QString::fromUtf8(strerror_l(error, locale.Handle));
}

} // namespace Platform
