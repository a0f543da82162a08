// What the terminal gets: the bytes of the locale's character set, the language gettext's
// rules choose, and the C library's error texts in the messages' language. The locales are
// made by localedef in a folder of the test's own (LOCPATH), so the machine needs none.
#include "OrbDialogs.h"
#include "Platform.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <map>

namespace {

const char* const LocaleVariables[] = {"LC_ALL", "LC_MESSAGES", "LC_CTYPE", "LANG", "LANGUAGE", "LOCPATH"};

class TerminalTextTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Locales = new QTemporaryDir;
    for (const auto& [source, charset] : {std::pair{"ru_RU", "KOI8-R"}, {"de_DE", "ISO-8859-1"}, {"de_DE", "UTF-8"}}) {
      const QString name = QStringLiteral("%1.%2").arg(QLatin1String(source), QLatin1String(charset));
      if (QProcess::execute(QStringLiteral("localedef"), {QStringLiteral("-i"), QLatin1String(source),
                                                           QStringLiteral("-f"), QLatin1String(charset),
                                                           Locales->filePath(name)}) == 0)
        Made << name;
    }
  }
  static void TearDownTestSuite() { delete Locales; }

  void SetUp() override {
    for (const char* variable : LocaleVariables)
      Saved[variable] = qgetenv(variable);
  }
  void TearDown() override {
    for (const auto& [variable, value] : Saved)
      value.isNull() ? qunsetenv(variable.c_str()) : qputenv(variable.c_str(), value);
    Platform::SetMessagesLanguage(QLocale::English);
    OrbDialogs::LangIndex = 0;
  }

  // The environment of a row: every locale variable unset but those given.
  static void Environment(std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const char* variable : LocaleVariables)
      qunsetenv(variable);
    qputenv("LOCPATH", Locales->path().toLocal8Bit());
    for (const auto& [variable, value] : values)
      qputenv(variable, value);
  }
  static bool Have(const char* locale) { return Made.contains(QLatin1String(locale)); }

  static QByteArray Written(const QString& text) {
    std::FILE* file = std::tmpfile();
    EXPECT_TRUE(Platform::WriteText(file, text));
    QByteArray bytes(256, 0);
    std::rewind(file);
    bytes.resize(qsizetype(std::fread(bytes.data(), 1, size_t(bytes.size()), file)));
    std::fclose(file);
    return bytes;
  }

  static inline QTemporaryDir* Locales = nullptr;
  static inline QStringList Made;
  std::map<std::string, QByteArray> Saved;
};

TEST_F(TerminalTextTest, WritesTheLocalesCharacterSetAndAQuestionMarkForTheRest) {
  const struct {
    const char* Name;
    const char* Locale;
    QString Text;
    QByteArray Bytes;
  } rows[] = {
      {"KOI8-R", "ru_RU.KOI8-R", QStringLiteral("Ваш чай готов"), QByteArray::fromHex("f7c1db20dec1ca20c7cfd4cfd7")},
      {"KOI8-R without the letter", "ru_RU.KOI8-R", QStringLiteral("чай è"), QByteArray::fromHex("dec1ca203f")},
      {"Latin-1", "de_DE.ISO-8859-1", QStringLiteral("Über 5 €"), QByteArray::fromHex("dc6265722035203f")},
      {"UTF-8", "de_DE.UTF-8", QStringLiteral("Über 5 €"), QStringLiteral("Über 5 €").toUtf8()},
      {"plain C", "C", QStringLiteral("Tè\u2014ok"), QByteArrayLiteral("T??ok")},
  };
  for (const auto& row : rows) {
    if (qstrcmp(row.Locale, "C") != 0 && !Have(row.Locale)) {
      ADD_FAILURE() << "localedef could not make " << row.Locale;
      continue;
    }
    Environment({{"LANG", row.Locale}});
    EXPECT_EQ(Written(row.Text).toHex(), row.Bytes.toHex()) << row.Name;
  }
}

TEST_F(TerminalTextTest, LanguageFollowsGettextsRules) {
  const struct {
    const char* Name;
    std::initializer_list<std::pair<const char*, const char*>> Variables;
    QList<quint16> Asked;
    quint8 Row;
  } rows[] = {
      {"locale", {{"LANG", "de_DE.UTF-8"}}, {0x07}, 2},
      {"unknown LANGUAGE falls through", {{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "bogus"}}, {0x07}, 2},
      {"LANGUAGE first", {{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "fr:de"}}, {0x0C, 0x07, 0x07}, 5},
      {"a language without texts gives way", {{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "pl:it"}}, {0x15, 0x10, 0x07}, 6},
      {"English asked for first", {{"LANG", "ru_RU.UTF-8"}, {"LANGUAGE", "en:ru"}}, {0x09, 0x19, 0x19}, 0},
      {"C ignores LANGUAGE", {{"LANG", "C"}, {"LANGUAGE", "de"}}, {0}, 0},
      {"LC_ALL over LANG", {{"LC_ALL", "ru_RU.KOI8-R"}, {"LANG", "de_DE.UTF-8"}}, {0x19}, 7},
      {"LC_MESSAGES over LANG", {{"LC_MESSAGES", "it_IT.UTF-8"}, {"LANG", "de_DE.UTF-8"}}, {0x10}, 6},
  };
  for (const auto& row : rows) {
    Environment(row.Variables);
    EXPECT_EQ(Platform::PreferredLangIDs(), row.Asked) << row.Name;
    OrbDialogs::LangIndex = 0;
    OrbDialogs::DetectLanguage();
    EXPECT_EQ(OrbDialogs::LangIndex, row.Row) << row.Name;
  }
}

TEST_F(TerminalTextTest, ErrorTextsComeInTheMessagesLanguageWhereTheLibraryHasIt) {
  if (!Have("de_DE.UTF-8") || !QFile::exists(QStringLiteral("/usr/share/locale/de/LC_MESSAGES/libc.mo")))
    GTEST_SKIP() << "the C library's German texts are not installed (libc-l10n)";
  const QString english = QStringLiteral("No space left on device");
  const struct {
    const char* Name;
    std::initializer_list<std::pair<const char*, const char*>> Variables;
    QLocale::Language Messages;
    bool German;
  } rows[] = {
      {"German messages in a German locale", {{"LANG", "de_DE.UTF-8"}}, QLocale::German, true},
      {"German messages, Latin-1 locale", {{"LANG", "de_DE.ISO-8859-1"}}, QLocale::German, true},
      {"English messages in a German locale", {{"LANG", "de_DE.UTF-8"}}, QLocale::English, false},
      {"gettext would speak Polish", {{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "pl"}}, QLocale::German, false},
  };
  for (const auto& row : rows) {
    Environment(row.Variables);
    Platform::SetMessagesLanguage(row.Messages);
    const QString text = Platform::ErrorText(ENOSPC);
    EXPECT_EQ(text == english, !row.German) << row.Name << ": " << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Gerät")) == row.German) << row.Name << ": " << text.toStdString();
  }
}

} // namespace
