// The formats of the embedded files, read back from the program's resources.
#include "Resources.h"

#include <QColor>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray ReadResource(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return file.readAll();
}

template <typename T> T Little(const QByteArray& data, qsizetype offset) {
  return qFromLittleEndian<T>(data.constData() + offset);
}

// ---- Alarm sound -------------------------------------------------------------------------

struct TWave {
  quint16 Format = 0, Channels = 0, BitsPerSample = 0, BlockAlign = 0;
  quint32 SampleRate = 0, ByteRate = 0;
  int DataChunks = 0;
  QByteArray Data;
};

// The chunks of a RIFF WAVE file; Format stays 0 for anything else.
TWave ParseWave(const QByteArray& file) {
  TWave wave;
  if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE" ||
      Little<quint32>(file, 4) != quint32(file.size() - 8))
    return wave;
  for (qsizetype at = 12; at + 8 <= file.size();) {
    const QByteArray id = file.mid(at, 4);
    const quint32 size = Little<quint32>(file, at + 4);
    if (id == "fmt " && size >= 16) {
      wave.Format = Little<quint16>(file, at + 8);
      wave.Channels = Little<quint16>(file, at + 10);
      wave.SampleRate = Little<quint32>(file, at + 12);
      wave.ByteRate = Little<quint32>(file, at + 16);
      wave.BlockAlign = Little<quint16>(file, at + 20);
      wave.BitsPerSample = Little<quint16>(file, at + 22);
    } else if (id == "data") {
      ++wave.DataChunks;
      wave.Data = file.mid(at + 8, size);
    }
    at += 8 + size + (size & 1);
  }
  return wave;
}

TEST(ResourcesTest, AlarmSoundIsMonoPcmAt44100HzWith330996DataBytes) {
  const TWave wave = ParseWave(ReadResource(Resources::AlarmSound()));
  EXPECT_EQ(wave.Format, 1); // PCM
  EXPECT_EQ(wave.Channels, 1);
  EXPECT_EQ(wave.SampleRate, 44100u);
  EXPECT_EQ(wave.BitsPerSample, 16);
  EXPECT_EQ(wave.BlockAlign, 2);
  EXPECT_EQ(wave.ByteRate, 88200u);
  EXPECT_EQ(wave.DataChunks, 1);
  ASSERT_EQ(wave.Data.size(), 330996);

  // A sound, not silence, and one that ends quietly instead of with a click.
  int loudest = 0;
  for (qsizetype at = 0; at < wave.Data.size(); at += 2)
    loudest = std::max(loudest, std::abs(int(Little<qint16>(wave.Data, at))));
  EXPECT_GT(loudest, 8000);
  EXPECT_LT(std::abs(int(Little<qint16>(wave.Data, wave.Data.size() - 2))), 64);
}

// The alarm's other sounds and the warning's tick: the chime's format, the length the
// generator gives them, audible, and ending without a click.
TEST(ResourcesTest, OtherSoundsHaveTheChimesFormat) {
  struct TRow {
    QString Path;
    qsizetype DataBytes;
  };
  const TRow rows[] = {{Resources::BellSound(), 330996}, {Resources::BeepSound(), 330996}, {Resources::WarningTick(), 8820}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Path.toStdString());
    const TWave wave = ParseWave(ReadResource(row.Path));
    EXPECT_EQ(wave.Format, 1);
    EXPECT_EQ(wave.Channels, 1);
    EXPECT_EQ(wave.SampleRate, 44100u);
    EXPECT_EQ(wave.BitsPerSample, 16);
    EXPECT_EQ(wave.DataChunks, 1);
    ASSERT_EQ(wave.Data.size(), row.DataBytes);
    int loudest = 0;
    for (qsizetype at = 0; at < wave.Data.size(); at += 2)
      loudest = std::max(loudest, std::abs(int(Little<qint16>(wave.Data, at))));
    EXPECT_GT(loudest, 8000);
    EXPECT_LT(std::abs(int(Little<qint16>(wave.Data, wave.Data.size() - 2))), 64);
  }
}

// ---- Icon --------------------------------------------------------------------------------

TEST(ResourcesTest, IconHoldsNineSizesOf32BitsThe256OneAsPng) {
  const QByteArray ico = ReadResource(Resources::ProgramIcon());
  ASSERT_GE(ico.size(), 6);
  EXPECT_EQ(Little<quint16>(ico, 0), 0);
  EXPECT_EQ(Little<quint16>(ico, 2), 1); // an icon, not a cursor
  ASSERT_EQ(Little<quint16>(ico, 4), 9);

  const int sizes[] = {256, 128, 96, 72, 64, 48, 32, 24, 16};
  for (int i = 0; i < 9; ++i) {
    const qsizetype entry = 6 + 16 * i;
    ASSERT_LE(entry + 16, ico.size());
    const int size = sizes[i];
    SCOPED_TRACE(size);
    // A width or height of 256 is stored as 0.
    EXPECT_EQ(quint8(ico[entry]), size % 256);
    EXPECT_EQ(quint8(ico[entry + 1]), size % 256);
    EXPECT_EQ(Little<quint16>(ico, entry + 6), 32);
    const quint32 length = Little<quint32>(ico, entry + 8);
    const quint32 offset = Little<quint32>(ico, entry + 12);
    ASSERT_LE(qsizetype(offset) + qsizetype(length), ico.size());
    const QByteArray image = ico.mid(offset, length);

    if (size == 256) {
      ASSERT_TRUE(image.startsWith("\x89PNG\r\n\x1a\n"));
      EXPECT_EQ(qFromBigEndian<quint32>(image.constData() + 16), 256u);
      EXPECT_EQ(qFromBigEndian<quint32>(image.constData() + 20), 256u);
      EXPECT_EQ(quint8(image[25]), 6); // RGBA
      continue;
    }
    // A device-independent bitmap: its header, the colour rows at twice the height (colour
    // and mask), 32 bits, no compression, the AND mask after the pixels.
    ASSERT_GE(image.size(), 40);
    EXPECT_EQ(Little<quint32>(image, 0), 40u);
    EXPECT_EQ(Little<qint32>(image, 4), size);
    EXPECT_EQ(Little<qint32>(image, 8), 2 * size);
    EXPECT_EQ(Little<quint16>(image, 14), 32);
    EXPECT_EQ(Little<quint32>(image, 16), 0u);
    const int maskStride = (size + 31) / 32 * 4;
    ASSERT_EQ(image.size(), 40 + size * size * 4 + maskStride * size);
    // Real alpha: transparent corners and an opaque bowl.
    bool transparent = false, opaque = false;
    for (int pixel = 0; pixel < size * size; ++pixel) {
      const quint8 alpha = quint8(image[40 + pixel * 4 + 3]);
      transparent = transparent || alpha == 0;
      opaque = opaque || alpha == 255;
    }
    EXPECT_TRUE(transparent);
    EXPECT_TRUE(opaque);
  }
}

TEST(ResourcesTest, QtReadsEveryImageOfTheIcon) {
  const QIcon icon(Resources::ProgramIcon());
  const QList<QSize> sizes = icon.availableSizes();
  for (int size : {256, 128, 96, 72, 64, 48, 32, 24, 16})
    EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
  const QImage image = icon.pixmap(32, 32).toImage();
  ASSERT_EQ(image.size(), QSize(32, 32));
  EXPECT_TRUE(image.hasAlphaChannel());
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
}

TEST(ResourcesTest, WindowIconIsTheSameIconInItsSmallSizes) {
  const QIcon window = Resources::WindowIcon();
  const QIcon program(Resources::ProgramIcon());
  for (int size : {16, 24, 32, 48, 64}) {
    const QImage image = window.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(size, size)) << size;
    EXPECT_EQ(image, program.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32)) << size;
  }
}

TEST(ResourcesTest, WindowIconHasTheDevicePixelsOfDenserScreens) {
  const QIcon window = Resources::WindowIcon();
  const QIcon program(Resources::ProgramIcon());
  for (int size : {16, 24, 32}) {
    const QPixmap pixmap = window.pixmap(QSize(size, size), 2.0);
    EXPECT_EQ(pixmap.devicePixelRatio(), 2.0) << size;
    EXPECT_EQ(pixmap.toImage().convertToFormat(QImage::Format_ARGB32),
              program.pixmap(2 * size, 2 * size).toImage().convertToFormat(QImage::Format_ARGB32))
        << size;
  }
}

TEST(ResourcesTest, DesktopIconsMatchTheirSizes) {
  for (int size : {256, 128, 96, 72, 64, 48, 32, 24, 16}) {
    const QImage image(QStringLiteral(STEEPO_RESOURCES_SOURCE "/icons/steepo-%1.png").arg(size));
    EXPECT_EQ(image.size(), QSize(size, size)) << size;
    EXPECT_TRUE(image.hasAlphaChannel()) << size;
  }
}

// ---- Button glyphs -----------------------------------------------------------------------

struct TGlyphRow {
  const char* Button;
  QSize Size;
  int Images; // normal, then the grey disabled twin
};
void PrintTo(const TGlyphRow& row, std::ostream* out) { *out << row.Button; }

class GlyphTest : public ::testing::TestWithParam<TGlyphRow> {};

TEST_P(GlyphTest, HasItsSizeAnOliveBackgroundAndAGreyTwin) {
  const TGlyphRow& row = GetParam();
  const QImage image(Resources::Glyph(QLatin1String(row.Button)));
  ASSERT_EQ(image.size(), row.Size);
  const QColor olive(128, 128, 0);
  const int width = row.Size.width() / row.Images;
  for (int i = 0; i < row.Images; ++i) {
    EXPECT_EQ(image.pixelColor(i * width, 0), olive) << "image " << i;
    EXPECT_EQ(image.pixelColor(i * width + width - 1, row.Size.height() - 1), olive) << "image " << i;
  }
  // The normal image has colour; the disabled one is grey apart from its background.
  bool coloured = false, greyOnly = true;
  for (int y = 0; y < row.Size.height(); ++y) {
    for (int x = 0; x < row.Size.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c == olive)
        continue;
      const bool grey = c.red() == c.green() && c.green() == c.blue();
      if (x < width)
        coloured = coloured || !grey;
      else
        greyOnly = greyOnly && grey;
    }
  }
  EXPECT_TRUE(coloured);
  EXPECT_TRUE(greyOnly);
}

// The twin for screens of twice the density: twice the size, transparent where the glyph has
// its olive, and drawn finer than the glyph's pixels doubled.
TEST_P(GlyphTest, HasASharpTwinOfTwiceTheSize) {
  const TGlyphRow& row = GetParam();
  const QImage coarse(Resources::Glyph(QLatin1String(row.Button)));
  const QImage fine(Resources::Glyph(QLatin1String(row.Button)).replace(QLatin1String(".bmp"), QLatin1String("@2x.png")));
  ASSERT_EQ(fine.size(), row.Size * 2);
  ASSERT_TRUE(fine.hasAlphaChannel());
  const int width = fine.width() / row.Images;
  EXPECT_EQ(fine.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(fine.pixelColor(width - 1, fine.height() - 1).alpha(), 0);
  int splitBlocks = 0, coveredBlocks = 0;
  for (int y = 0; y < coarse.height(); ++y) {
    for (int x = 0; x < coarse.width(); ++x) {
      const QRgb corner = fine.pixel(2 * x, 2 * y);
      splitBlocks += corner != fine.pixel(2 * x + 1, 2 * y) || corner != fine.pixel(2 * x, 2 * y + 1) ||
                     corner != fine.pixel(2 * x + 1, 2 * y + 1);
      coveredBlocks += coarse.pixelColor(x, y) != QColor(128, 128, 0);
    }
  }
  EXPECT_GT(splitBlocks, coveredBlocks / 4) << "no finer than the glyph doubled";
}

INSTANTIATE_TEST_SUITE_P(Glyphs, GlyphTest,
                         ::testing::Values(TGlyphRow{"BBInc", {14, 14}, 1}, TGlyphRow{"BBDec", {14, 14}, 1},
                                           TGlyphRow{"BBStart", {32, 16}, 2}, TGlyphRow{"BBStop", {32, 16}, 2},
                                           TGlyphRow{"BBOK", {36, 18}, 2}),
                         [](const auto& info) { return std::string(info.param.Button); });

} // namespace
