// The language index, the dialogs' texts and the about dialog.
#include "FileVersion.h"
#include "OrbDialogs.h"
#include "OrbForms.h"
#include "Platform.h"
#include "Resources.h"
#include "SteepoConfig.h"

#include <QAccessible>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

// This test program carries the version 2.3.19.43 in its own file, as the real program does,
// so that the about dialog has a version line to show.
[[gnu::used, gnu::section(".steepo_version")]] extern const Platform::TFixedFileInfo TestFileVersion = {
    0xFEEF04BDu, 0x00010000u, (2u << 16) | 3u, (19u << 16) | 43u, (2u << 16) | 3u, (19u << 16) | 43u,
    0x3Fu, 0u, 0x00040004u, 1u, 0u, 0u, 0u};

namespace {

using namespace OrbDialogs;

QString Configured(const char* value) { return QString::fromUtf8(value); }

// Platform language identifiers: primary language in the low byte, sublanguage above it.
constexpr quint16 EnglishUS = 0x0409, Czech = 0x0405, German = 0x0407, GermanAustria = 0x0C07,
                  GermanSwiss = 0x0807, Spanish = 0x0C0A, French = 0x040C, Italian = 0x0410,
                  PortugueseBrazil = 0x0416, PortuguesePortugal = 0x0816, Russian = 0x0419,
                  Slovak = 0x041B, Polish = 0x0415;

class OrbDialogsTest : public ::testing::Test {
protected:
  void SetUp() override {
    LangIndex = 0;
    WebPage.clear();
    AboutTitle.clear();
    Platform::SetApplicationTitle(QStringLiteral("Steepo"));
    QApplication::setWindowIcon(QIcon(Resources::ProgramIcon()));
  }
  void TearDown() override {
    Platform::SetLangIDSource({});
    Platform::SetShellOpener({});
    LangIndex = 0;
    WebPage.clear();
  }

  static void FakeLanguage(quint16 langID) {
    Platform::SetLangIDSource([langID] { return langID; });
  }
};

// ---- Language ----------------------------------------------------------------------------

struct TLanguageRow {
  const char* Name;
  quint16 LangID;
  quint8 Before;
  quint8 Expected;
};
void PrintTo(const TLanguageRow& row, std::ostream* out) { *out << row.Name; }

class DetectLanguageTest : public OrbDialogsTest, public ::testing::WithParamInterface<TLanguageRow> {};

TEST_P(DetectLanguageTest, MapsThePrimaryLanguage) {
  const TLanguageRow& row = GetParam();
  FakeLanguage(row.LangID);
  LangIndex = row.Before;
  DetectLanguage();
  EXPECT_EQ(LangIndex, row.Expected);
  // The main window's creation step detects again: the same result.
  DetectLanguage();
  EXPECT_EQ(LangIndex, row.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DetectLanguageTest,
    ::testing::Values(TLanguageRow{"Czech", Czech, 0, 1}, TLanguageRow{"German", German, 0, 2},
                      TLanguageRow{"GermanAustria", GermanAustria, 0, 2},
                      TLanguageRow{"GermanSwiss", GermanSwiss, 0, 2}, TLanguageRow{"Spanish", Spanish, 0, 3},
                      TLanguageRow{"PortugueseBrazil", PortugueseBrazil, 0, 4},
                      TLanguageRow{"PortuguesePortugal", PortuguesePortugal, 0, 4},
                      TLanguageRow{"French", French, 0, 5}, TLanguageRow{"Italian", Italian, 0, 6},
                      TLanguageRow{"Russian", Russian, 0, 7},
                      // Languages without a row leave the index as it was: English unless set before.
                      TLanguageRow{"Slovak", Slovak, 0, 0}, TLanguageRow{"Polish", Polish, 0, 0},
                      TLanguageRow{"English", EnglishUS, 0, 0}, TLanguageRow{"Unknown", 0, 0, 0},
                      TLanguageRow{"SlovakAfterGerman", Slovak, 2, 2},
                      TLanguageRow{"EnglishAfterRussian", EnglishUS, 7, 7}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- Texts -------------------------------------------------------------------------------

TEST_F(OrbDialogsTest, TextsKeepEveryAccentCyrillicLetterAndTheCopyrightSign) {
  struct TRow {
    quint8 Language;
    TDlgText Column;
    const char16_t* Expected;
  };
  // Written with escapes, so that a source file saved in another encoding cannot fool the test.
  const TRow rows[] = {
      {1, dtWarning, u"Varov\u00E1n\u00ED"},
      {2, dtAbout, u"\u00DCber das Programm"},
      {2, dtConfirmation, u"Best\u00E4tigung"},
      {3, dtVersion, u"Versi\u00F3n"},
      {4, dtVersion, u"Vers\u00E3o"},
      {6, dtFreeware, u"Il programma \u00E8 freeware"},
      {7, dtAbout, u"\u041E \u043F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u0435"},
      {7, dtVersion, u"\u0412\u0435\u0440\u0441\u0438\u044F"},
  };
  for (const TRow& row : rows) {
    LangIndex = row.Language;
    EXPECT_EQ(DlgText(row.Column), QString::fromUtf16(row.Expected)) << int(row.Language) << "/" << row.Column;
  }
  for (quint8 language = 0; language < DlgTexts.size(); ++language) {
    LangIndex = language;
    EXPECT_EQ(DlgText(dtCopyright), QString::fromUtf16(u"Copyright \u00A9")) << int(language);
    EXPECT_EQ(DlgText(dtWeb), QStringLiteral("Web"));
    EXPECT_EQ(DlgText(dtEmail), QStringLiteral("E-mail"));
    EXPECT_EQ(DlgText(dtOK), QStringLiteral("OK"));
  }
}

TEST_F(OrbDialogsTest, SpanishAndPortugueseKeepTheEnglishFreewareLine) {
  LangIndex = 0;
  const QString english = DlgText(dtFreeware);
  for (quint8 language : {3, 4}) {
    LangIndex = language;
    EXPECT_EQ(DlgText(dtFreeware), english);
    EXPECT_EQ(DlgText(dtAbout), QStringLiteral("Sobre programa"));
  }
}

TEST_F(OrbDialogsTest, AnIndexOutsideTheTableReadsEnglish) {
  LangIndex = 200;
  EXPECT_EQ(DlgText(dtAbout), QStringLiteral("About"));
}

// ---- About dialog: the lines built from the program file ---------------------------------

TEST_F(OrbDialogsTest, VersionLineShowsTheProgramVersionOrNothing) {
  EXPECT_EQ(AboutVersionLine(Platform::ProgramPath()), QStringLiteral("Version 2.3.19.43"));
  LangIndex = 7;
  EXPECT_EQ(AboutVersionLine(Platform::ProgramPath()), QString::fromUtf16(u"\u0412\u0435\u0440\u0441\u0438\u044F 2.3.19.43"));

  QTemporaryDir dir;
  const QString plain = dir.filePath(QStringLiteral("plain.txt"));
  QFile file(plain);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("no version here");
  file.close();
  EXPECT_EQ(AboutVersionLine(plain), QString());
  EXPECT_EQ(AboutVersionLine(dir.filePath(QStringLiteral("missing"))), QString());
}

TEST_F(OrbDialogsTest, CopyrightYearComesFromTheFileTimeFollowingLinks) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("program"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2011, 6, 15), QTime(12, 0)), QFileDevice::FileModificationTime));
  file.close();

  const QString prefix = QString::fromUtf16(u"Copyright \u00A9 ") + Configured(SteepoConfig::AuthorName) + u' ';
  EXPECT_EQ(AboutCopyrightLine(path), prefix + QStringLiteral("2011"));
#ifndef Q_OS_WIN  // there QFile::link makes a shell shortcut, a file of its own, not a link
  const QString link = dir.filePath(QStringLiteral("link"));
  ASSERT_TRUE(QFile::link(path, link));
  EXPECT_EQ(AboutCopyrightLine(link), prefix + QStringLiteral("2011"));
#endif
  // A time that cannot be read gives the current year.
  EXPECT_EQ(AboutCopyrightLine(dir.filePath(QStringLiteral("missing"))),
            prefix + QString::number(QDate::currentDate().year()));
}

TEST_F(OrbDialogsTest, WebAddressTakesThePageNameWhenThereIsOne) {
  EXPECT_EQ(AboutWebAddress(), Configured(SteepoConfig::WebAddress));
  WebPage = QStringLiteral("steepo");
  EXPECT_EQ(AboutWebAddress(), Configured(SteepoConfig::WebAddress) + QStringLiteral("/steepo"));
}

// ---- About dialog: shown -----------------------------------------------------------------

// Runs ShowAbout; while it is open, calls inspect with it. A dialog still open afterwards is
// closed by force so that the test cannot hang. Whether inspect closed it.
bool RunAbout(const std::function<void(QDialog&)>& inspect) {
  bool closedByInspect = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "the about dialog is not open";
      return;
    }
    inspect(*dialog);
    closedByInspect = !dialog->isVisible();
    if (!closedByInspect)
      dialog->done(QDialog::Rejected);
  });
  ShowAbout();
  return closedByInspect;
}

QString Text(QDialog& dialog, const char* name) {
  const auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
  return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

TEST_F(OrbDialogsTest, AboutShowsTheItemsInTheirPlaces) {
  WebPage = QStringLiteral("steepo");
  RunAbout([](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About..."));
    EXPECT_EQ(dialog.height(), 208);
    EXPECT_GE(dialog.width(), 280);

    struct TItem {
      const char* Name;
      QPoint Position;
      QString Text;
    };
    const TItem items[] = {
        {"Heading", {64, 16}, QStringLiteral("Steepo")},
        {"Version", {64, 45}, QStringLiteral("Version 2.3.19.43")},
        {"Freeware", {64, 72}, QStringLiteral("This program is released as freeware")},
        {"Copyright", {64, 96}, AboutCopyrightLine(Platform::ProgramPath())},
        {"WebCaption", {64, 116}, QStringLiteral("Web:")},
        {"WebLink", {104, 116}, Configured(SteepoConfig::WebAddress) + QStringLiteral("/steepo")},
        {"EmailCaption", {64, 136}, QStringLiteral("E-mail:")},
        {"EmailLink", {104, 136}, Configured(SteepoConfig::AuthorEmail)},
    };
    for (const TItem& item : items) {
      const auto* label = dialog.findChild<QLabel*>(QLatin1String(item.Name));
      ASSERT_NE(label, nullptr) << item.Name;
      EXPECT_EQ(label->pos(), item.Position) << item.Name;
      EXPECT_EQ(label->text(), item.Text) << item.Name;
      // Every label is as wide as its text, and the whole text is inside the dialog.
      EXPECT_EQ(label->width(), label->sizeHint().width()) << item.Name;
      EXPECT_LE(label->geometry().right(), dialog.width() - 16) << item.Name;
    }
    const auto* link = dialog.findChild<QLabel*>(QStringLiteral("WebLink"));
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);

    const auto* button = dialog.findChild<QPushButton*>(QStringLiteral("OKButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->geometry(), QRect(96 + (dialog.width() - 280) / 2, 168, 75, 25));
    EXPECT_EQ(button->text(), QStringLiteral("OK"));
    EXPECT_TRUE(button->isDefault());

    const auto* icon = dialog.findChild<QLabel*>(QStringLiteral("Icon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->geometry(), QRect(16, 16, 32, 32));
    EXPECT_FALSE(icon->pixmap().isNull());
  });
}

TEST_F(OrbDialogsTest, AboutFollowsTheLanguageAndTheTitle) {
  LangIndex = 2;
  AboutTitle = QStringLiteral("Teezeit");
  RunAbout([](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf16(u"\u00DCber das Programm..."));
    EXPECT_EQ(Text(dialog, "Heading"), QStringLiteral("Teezeit"));
    EXPECT_EQ(Text(dialog, "Freeware"), QStringLiteral("Dieses Programm ist Freeware"));
    EXPECT_EQ(Text(dialog, "WebLink"), Configured(SteepoConfig::WebAddress));
  });
  AboutTitle.clear();
}

TEST_F(OrbDialogsTest, AboutWidensForALongLinkAndKeepsTheButtonInTheMiddle) {
  int shortWidth = 0;
  RunAbout([&](QDialog& dialog) { shortWidth = dialog.width(); });
  WebPage = QStringLiteral("a-page-name-far-too-long-for-two-hundred-and-eighty-pixels");
  RunAbout([&](QDialog& dialog) {
    const auto* link = dialog.findChild<QLabel*>(QStringLiteral("WebLink"));
    EXPECT_GT(dialog.width(), shortWidth);
    EXPECT_EQ(link->geometry().right() + 1 + 16, dialog.width());
    const auto* button = dialog.findChild<QPushButton*>(QStringLiteral("OKButton"));
    EXPECT_EQ(button->x(), 96 + (dialog.width() - 280) / 2);
  });
}

TEST_F(OrbDialogsTest, ClickingTheLinksOpensTheirTexts) {
  WebPage = QStringLiteral("steepo");
  QStringList opened;
  Platform::SetShellOpener([&](const QString& target) {
    opened << target;
    return false; // a refused opener changes nothing
  });
  const bool closed = RunAbout([](QDialog& dialog) {
    for (const char* name : {"WebLink", "EmailLink", "WebCaption"}) {
      auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
      ASSERT_NE(label, nullptr) << name;
      QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, label->height() / 2));
    }
    // A press dragged off the link before its release is no click.
    auto* link = dialog.findChild<QLabel*>(QStringLiteral("WebLink"));
    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(link->width() + 20, 2));
  });
  EXPECT_FALSE(closed);
  EXPECT_EQ(opened, QStringList({Configured(SteepoConfig::WebAddress) + QStringLiteral("/steepo"),
                                 QStringLiteral("mailto:") + Configured(SteepoConfig::AuthorEmail)}));
}

TEST_F(OrbDialogsTest, EnterEscapeAndTheButtonCloseTheDialog) {
  struct TWay {
    const char* Name;
    std::function<void(QDialog&)> Close;
  };
  const TWay ways[] = {
      {"Escape", [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
      {"Enter", [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); }},
      {"Button", [](QDialog& dialog) {
         QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
       }},
  };
  for (const TWay& way : ways) {
    EXPECT_TRUE(RunAbout(way.Close)) << way.Name;
    // Nothing of the dialog outlives the call.
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::none_of(windows.cbegin(), windows.cend(),
                             [](QWidget* window) { return qobject_cast<TFAbout*>(window) != nullptr; }))
        << way.Name;
  }
}

// A desktop font larger than designed makes the whole dialog larger; every text stays whole.
TEST_F(OrbDialogsTest, AboutGrowsWithALargeDesktopFontWithoutClipping) {
  const QFont before = QApplication::font();
  for (const qreal points : {18.0, 24.0}) {
    QFont desktop = before;
    desktop.setPointSizeF(points);
    QApplication::setFont(desktop);
    RunAbout([points](QDialog& dialog) {
      const qreal scale = points / 10;
      EXPECT_EQ(dialog.height(), OrbForms::Scaled(208, scale)) << points;
      EXPECT_GE(dialog.width(), OrbForms::Scaled(280, scale)) << points;
      for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        EXPECT_TRUE(dialog.rect().contains(label->geometry())) << label->objectName().toStdString() << points;
        EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->text()))
            << label->objectName().toStdString() << points;
      }
      const auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("OKButton"));
      EXPECT_TRUE(dialog.rect().contains(ok->geometry())) << points;
    });
  }
  QApplication::setFont(before);
}

// ---- Links on light and dark windows -----------------------------------------------------

struct TLinkColorRow {
  const char* Name;
  QColor Window;
  QColor Link;      // the palette's link colour
  QColor Expected;  // invalid: any blue that stands out enough
};
void PrintTo(const TLinkColorRow& row, std::ostream* out) { *out << row.Name; }

class LinkColorTest : public ::testing::TestWithParam<TLinkColorRow> {};

TEST_P(LinkColorTest, StandsOutAgainstTheWindow) {
  const TLinkColorRow& row = GetParam();
  QPalette palette;
  palette.setColor(QPalette::Window, row.Window);
  palette.setColor(QPalette::Link, row.Link);
  const QColor colour = LinkColor(palette);
  if (row.Expected.isValid()) {
    EXPECT_EQ(colour, row.Expected) << colour.name().toStdString();
  }
  EXPECT_GE(Contrast(colour, row.Window), 4.5) << colour.name().toStdString();
  EXPECT_GT(colour.blue(), std::max(colour.red(), colour.green())) << "a blue";
}

INSTANTIATE_TEST_SUITE_P(
    Windows, LinkColorTest,
    ::testing::Values(TLinkColorRow{"ButtonFaceKeepsBlue", QColor(240, 240, 240), QColor(255, 0, 0), QColor(0, 0, 255)},
                      TLinkColorRow{"WhiteKeepsBlue", Qt::white, QColor(0, 0, 128), QColor(0, 0, 255)},
                      TLinkColorRow{"DarkTakesThePalettesLink", QColor(35, 38, 41), QColor(61, 174, 233), QColor(61, 174, 233)},
                      TLinkColorRow{"DarkWithADarkLinkLightensBlue", QColor(35, 38, 41), QColor(0, 0, 255), QColor()},
                      TLinkColorRow{"BlackLightensBlue", Qt::black, QColor(0, 0, 128), QColor()},
                      TLinkColorRow{"MiddleGreyDarkensBlue", QColor(128, 128, 128), QColor(0, 0, 255), QColor()}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Contrast, RunsFromOneToTwentyOne) {
  EXPECT_DOUBLE_EQ(Contrast(Qt::white, Qt::black), 21.0);
  EXPECT_DOUBLE_EQ(Contrast(QColor(90, 20, 200), QColor(90, 20, 200)), 1.0);
  EXPECT_NEAR(Contrast(QColor(0, 0, 255), Qt::white), 8.59, 0.01);
}

TEST_F(OrbDialogsTest, AboutLinksStandOutOnADarkPalette) {
  const QPalette before = QApplication::palette();
  QPalette dark = before;
  dark.setColor(QPalette::Window, QColor(30, 30, 30));
  QApplication::setPalette(dark);
  RunAbout([](QDialog& dialog) {
    for (const char* name : {"WebLink", "EmailLink"})
      EXPECT_GE(Contrast(dialog.findChild<QLabel*>(QLatin1String(name))->palette().color(QPalette::WindowText),
                         dialog.palette().color(QPalette::Window)),
                4.5)
          << name;
  });
  QApplication::setPalette(before);
}

// ---- About dialog: keyboard and assistive tools -------------------------------------------

TEST_F(OrbDialogsTest, LinksAreReachedWithTabShowFocusAndOpenWithEnterOrSpace) {
  WebPage = QStringLiteral("steepo");
  QStringList opened;
  Platform::SetShellOpener([&](const QString& target) {
    opened << target;
    return true;
  });
  const bool closed = RunAbout([](QDialog& dialog) {
    auto* web = dialog.findChild<QLabel*>(QStringLiteral("WebLink"));
    auto* mail = dialog.findChild<QLabel*>(QStringLiteral("EmailLink"));
    const QImage unfocused = web->grab().toImage();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    struct TStep {
      QLabel* Focused;
      Qt::Key Key;
    };
    for (const TStep& step : {TStep{web, Qt::Key_Return}, TStep{mail, Qt::Key_Space}, TStep{web, Qt::Key_Enter}}) {
      QTest::keyClick(dialog.focusWidget(), step.Key == Qt::Key_Enter ? Qt::Key_Backtab : Qt::Key_Tab);
      ASSERT_EQ(dialog.focusWidget(), step.Focused) << step.Focused->objectName().toStdString();
      QTest::keyClick(step.Focused, step.Key);
    }
    EXPECT_NE(web->grab().toImage(), unfocused) << "no focus shown";
  });
  EXPECT_FALSE(closed);
  EXPECT_EQ(opened, QStringList({Configured(SteepoConfig::WebAddress) + QStringLiteral("/steepo"), QStringLiteral("mailto:") + Configured(SteepoConfig::AuthorEmail),
                                 Configured(SteepoConfig::WebAddress) + QStringLiteral("/steepo")}));
}

TEST_F(OrbDialogsTest, LinksAreLinksToAssistiveTools) {
  QStringList opened;
  Platform::SetShellOpener([&](const QString& target) {
    opened << target;
    return true;
  });
  RunAbout([](QDialog& dialog) {
    for (const char* name : {"WebLink", "EmailLink"}) {
      auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
      QAccessibleInterface* link = QAccessible::queryAccessibleInterface(label);
      ASSERT_NE(link, nullptr) << name;
      EXPECT_EQ(link->role(), QAccessible::Link) << name;
      EXPECT_EQ(link->text(QAccessible::Name), label->text()) << name;
      ASSERT_NE(link->actionInterface(), nullptr) << name;
      link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
  });
  EXPECT_EQ(opened, QStringList({Configured(SteepoConfig::WebAddress), QStringLiteral("mailto:") + Configured(SteepoConfig::AuthorEmail)}));
}

} // namespace
