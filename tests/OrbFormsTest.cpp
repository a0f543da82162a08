// The forms' shared helpers: the step after a stored layout is read, and the buttons' glyphs.
#include "OrbForms.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class LoadedProbe : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;
  int Calls = 0;
  Q_INVOKABLE void Loaded() { ++Calls; }
};

TEST(CallLoaded, ReachesEveryControlThatHasIt) {
  QWidget form;
  auto* direct = new LoadedProbe(&form);
  auto* container = new QWidget(&form);
  auto* nested = new LoadedProbe(container);
  OrbForms::CallLoaded(&form);
  EXPECT_EQ(direct->Calls, 1);
  EXPECT_EQ(nested->Calls, 1);
}

TEST(GlyphIcon, SplitsTheStripAndHidesTheOlive) {
  QImage strip(32, 16, QImage::Format_RGB32);
  strip.fill(QColor(128, 128, 0));
  strip.setPixelColor(3, 3, Qt::red);    // in the normal image
  strip.setPixelColor(19, 3, Qt::gray);  // in the disabled image
  const QString path = QDir::temp().filePath(QStringLiteral("steepo-glyph-test.bmp"));
  ASSERT_TRUE(strip.save(path));
  const QIcon icon = OrbForms::GlyphIcon(path, 2);
  const QImage normal = icon.pixmap(16, 16, QIcon::Normal).toImage().convertToFormat(QImage::Format_ARGB32);
  const QImage disabled = icon.pixmap(16, 16, QIcon::Disabled).toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(normal.pixelColor(3, 3), QColor(Qt::red));
  EXPECT_EQ(normal.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(disabled.pixelColor(3, 3), QColor(Qt::gray));
  EXPECT_TRUE(OrbForms::GlyphIcon(QStringLiteral(":/no/such/glyph.bmp"), 2).isNull());

  // On a button with a caption the glyph keeps 8 pixels to the caption: 4 of them transparent
  // columns of its own, 4 the style's.
  QPushButton button(QStringLiteral("Start"));
  OrbForms::SetButtonGlyph(&button, path, 2, 8);
  EXPECT_EQ(button.iconSize(), QSize(20, 16));
  const QImage padded = button.icon().pixmap(20, 16).toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(padded.pixelColor(3, 3), QColor(Qt::red));
  EXPECT_EQ(padded.pixelColor(18, 3).alpha(), 0);
  QFile::remove(path);
}

TEST(GlyphIcon, DrawsTheTwinOfTwiceTheSizeOnDenserScreens) {
  QImage strip(32, 16, QImage::Format_RGB32);
  strip.fill(QColor(128, 128, 0));
  QImage fine(64, 32, QImage::Format_ARGB32);
  fine.fill(Qt::transparent);
  fine.setPixelColor(7, 7, Qt::blue);    // normal
  fine.setPixelColor(39, 7, Qt::green);  // disabled
  const QDir dir = QDir::temp();
  const QString path = dir.filePath(QStringLiteral("steepo-fine-glyph.bmp"));
  const QString twin = dir.filePath(QStringLiteral("steepo-fine-glyph@2x.png"));
  ASSERT_TRUE(strip.save(path) && fine.save(twin));
  QPushButton button(QStringLiteral("Start"));
  OrbForms::SetButtonGlyph(&button, path, 2, 8);
  EXPECT_EQ(button.iconSize(), QSize(20, 16));
  struct TRow {
    const char* Name;
    QIcon::Mode Mode;
    QColor Colour;
  };
  for (const TRow& row : {TRow{"normal", QIcon::Normal, Qt::blue}, TRow{"disabled", QIcon::Disabled, Qt::green}}) {
    const QPixmap pixmap = button.icon().pixmap(QSize(20, 16), 2.0, row.Mode);
    EXPECT_EQ(pixmap.size(), QSize(40, 32)) << row.Name;
    EXPECT_EQ(pixmap.devicePixelRatio(), 2.0) << row.Name;
    EXPECT_EQ(pixmap.toImage().pixelColor(7, 7), row.Colour) << row.Name;
    EXPECT_EQ(button.icon().pixmap(QSize(20, 16), 1.0, row.Mode).toImage().pixelColor(3, 3).alpha(), 0) << row.Name;
  }
  QFile::remove(path);
  QFile::remove(twin);
}

} // namespace

#include "OrbFormsTest.moc"
