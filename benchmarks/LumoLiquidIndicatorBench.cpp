// The main window's indicator (5 nine-segment cells, 193 x 65, system colours): a full
// rebuild per text change and one paint, beside one paint of a QLCDNumber of five digits at
// the same size. Both paints are rendered the same way, into an image of the widget's size.
#include "LumoLiquidIndicator.h"

#include <QApplication>
#include <QLCDNumber>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr qint32 BtnFace = qint32(0x8000000F);
constexpr qint32 WindowText = qint32(0x80000008);

// Configured as the main window's layout does it, then loaded.
std::unique_ptr<TLumoLiquidIndicator> MainWindowIndicator() {
  auto lcd = std::make_unique<TLumoLiquidIndicator>();
  lcd->resize(193, 65);
  lcd->setProperty("SignNumber", 5);
  lcd->setProperty("IndicatorWidth", 193);
  lcd->setProperty("IndicatorHeight", 65);
  lcd->setProperty("IndicatorGap", 4);
  lcd->setProperty("Indicatorstring", QStringLiteral("00:00"));
  lcd->setProperty("IndicatorKind", "ik9segment");
  lcd->setProperty("OuterBevelWidth", 1);
  lcd->setProperty("BevelColor", BtnFace);
  lcd->setProperty("BackColor", BtnFace);
  lcd->setProperty("NumberBackColor", BtnFace);
  lcd->setProperty("NumberForeColor", WindowText);
  lcd->Loaded();
  return lcd;
}

void RenderOnce(QWidget& widget, QImage& image) {
  QPainter painter(&image);
  widget.render(&painter, QPoint(), QRegion(), QWidget::RenderFlags());
}

void BM_IndicatorRebuildPerTextChange(benchmark::State& state) {
  auto lcd = MainWindowIndicator();
  const QString texts[] = {QStringLiteral("03:00"), QStringLiteral("02:59")};
  int i = 0;
  for (auto _ : state) {
    lcd->SetIndicatorstring(texts[i ^= 1]);
    benchmark::DoNotOptimize(lcd->RenderedImage().constBits());
  }
}
BENCHMARK(BM_IndicatorRebuildPerTextChange);

// The share of the rebuild that is the polygon layout alone (the geometry library).
void BM_IndicatorLayoutPerTextChange(benchmark::State& state) {
  LumoLiquidIndicator::TIndicatorLayoutSettings settings;
  settings.SignNumber = 5;
  settings.IndicatorWidth = settings.ControlWidth = 193;
  settings.IndicatorHeight = settings.ControlHeight = 65;
  settings.IndicatorGap = 4;
  settings.OuterBevelWidth = 1;
  settings.IndicatorKind = LumoLiquidIndicator::ik9segment;
  const QString texts[] = {QStringLiteral("03:00"), QStringLiteral("02:59")};
  int i = 0;
  for (auto _ : state) {
    settings.Indicatorstring = texts[i ^= 1];
    benchmark::DoNotOptimize(LumoLiquidIndicator::BuildIndicatorPolygons(settings));
  }
}
BENCHMARK(BM_IndicatorLayoutPerTextChange);

void BM_IndicatorPaint(benchmark::State& state) {
  auto lcd = MainWindowIndicator();
  QImage image(lcd->size(), QImage::Format_RGB32);
  for (auto _ : state) {
    RenderOnce(*lcd, image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_IndicatorPaint);

void BM_QLCDNumberPaint(benchmark::State& state) {
  QLCDNumber lcd(5);
  lcd.setSegmentStyle(QLCDNumber::Filled);
  lcd.resize(193, 65);
  lcd.display(QStringLiteral("03:00"));
  QImage image(lcd.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    RenderOnce(lcd, image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_QLCDNumberPaint);

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
