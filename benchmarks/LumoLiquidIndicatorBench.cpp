// The main window's indicator (5 nine-segment cells, 193 x 65, system colours): a full
// rebuild per text change and one paint, beside one paint of a QLCDNumber of five digits at
// the same size, at device pixel ratio 1 and 2, upright and at 30 degrees. Every paint is
// rendered the same way, into an image of the widget's size at the ratio.
//
// Each row reports x_QLCDNumber: its thread CPU time per iteration over that of the
// QLCDNumber paint at the same ratio (measured by the QLCDNumber rows, which run first).
#include "LumoGeometry_p.h"
#include "LumoLiquidIndicator_p.h"

#include <QApplication>
#include <QLCDNumber>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <ctime>
#include <map>
#include <memory>

#include "IndicatorBenchSupport.h"

// In a namespace of their own, not an anonymous one: the QML item's rows
// (LumoIndicatorQmlBench.cpp) use the helpers and report beside these rows.
namespace LumoBench {

constexpr qint32 BtnFace = qint32(0x8000000F);
constexpr qint32 WindowText = qint32(0x80000008);

// Two offscreen screens side by side, scaled by 1 and by 2 (QT_SCREEN_SCALE_FACTORS), so
// that one run measures both ratios.
constexpr char kScreens[] = R"({"screens": [
  {"name": "ratio1", "x": 0, "y": 0, "width": 1000, "height": 800},
  {"name": "ratio2", "x": 1000, "y": 0, "width": 2000, "height": 1600}]})";

QScreen* ScreenOfRatio(int ratio) {
  for (QScreen* screen : QGuiApplication::screens())
    if (screen->devicePixelRatio() == ratio)
      return screen;
  return nullptr;
}

// A row runs only where a screen of its ratio exists (on another platform than the
// benchmark's own offscreen pair there may be none).
bool HasScreen(benchmark::State& state, int ratio) {
  if (ScreenOfRatio(ratio))
    return true;
  state.SkipWithError("no screen of this device pixel ratio");
  return false;
}

// A top-level widget with its window on the screen of the ratio.
void PlaceOnScreen(QWidget& widget, int ratio) {
  QScreen* screen = ScreenOfRatio(ratio);
  widget.move(screen->geometry().topLeft() + QPoint(50, 50));
  widget.winId();
  widget.windowHandle()->setScreen(screen);
}

// Configured as the main window's layout does it, then loaded.
std::unique_ptr<TLumoLiquidIndicator> MainWindowIndicator(int ratio, qint32 angle) {
  auto lcd = std::make_unique<TLumoLiquidIndicator>();
  PlaceOnScreen(*lcd, ratio);
  lcd->resize(193, 65);
  lcd->setProperty("SignNumber", 5);
  lcd->setProperty("IndicatorWidth", 193);
  lcd->setProperty("IndicatorHeight", 65);
  lcd->setProperty("IndicatorGap", 4);
  lcd->setProperty("Indicatorstring", QStringLiteral("03:00"));
  lcd->setProperty("IndicatorKind", "ik9segment");
  lcd->setProperty("OuterBevelWidth", 1);
  lcd->setProperty("BevelColor", BtnFace);
  lcd->setProperty("BackColor", BtnFace);
  lcd->setProperty("NumberBackColor", BtnFace);
  lcd->setProperty("NumberForeColor", WindowText);
  lcd->Loaded();
  lcd->SetIndicatorAngle(angle);
  return lcd;
}

QImage TargetFor(const QWidget& widget, int ratio) {
  QImage image(widget.size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  return image;
}

void RenderOnce(QWidget& widget, QImage& image) {
  QPainter painter(&image);
  widget.render(&painter, QPoint(), QRegion(), QWidget::RenderFlags());
}

double ThreadCpuNanoseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

std::unique_ptr<QLCDNumber> MainWindowSizedQLCDNumber(int ratio) {
  auto lcd = std::make_unique<QLCDNumber>(5);
  PlaceOnScreen(*lcd, ratio);
  lcd->setSegmentStyle(QLCDNumber::Filled);
  lcd->resize(193, 65);
  lcd->display(QStringLiteral("03:00"));
  return lcd;
}

// QLCDNumber's paint per ratio, from its own rows; measured here when they did not run.
std::map<int, double> QLCDNumberPaint;

double QLCDNumberPaintAt(int ratio) {
  if (const auto found = QLCDNumberPaint.find(ratio); found != QLCDNumberPaint.end())
    return found->second;
  auto lcd = MainWindowSizedQLCDNumber(ratio);
  QImage image = TargetFor(*lcd, ratio);
  constexpr int kPaints = 500;
  const double start = ThreadCpuNanoseconds();
  for (int i = 0; i < kPaints; ++i)
    RenderOnce(*lcd, image);
  return QLCDNumberPaint[ratio] = (ThreadCpuNanoseconds() - start) / kPaints;
}

void Report(benchmark::State& state, int ratio, double perIteration) {
  state.counters["x_QLCDNumber"] = perIteration / QLCDNumberPaintAt(ratio);
}

void BM_QLCDNumberPaint(benchmark::State& state) {
  const int ratio = int(state.range(0));
  if (!HasScreen(state, ratio))
    return;
  auto lcd = MainWindowSizedQLCDNumber(ratio);
  QImage image = TargetFor(*lcd, ratio);
  QLCDNumberPaint[ratio] = Run(state, [&] {
    RenderOnce(*lcd, image);
    benchmark::DoNotOptimize(image.constBits());
  });
  Report(state, ratio, QLCDNumberPaint[ratio]);
}
BENCHMARK(BM_QLCDNumberPaint)->ArgName("ratio")->Arg(1)->Arg(2);

void BM_IndicatorRebuildPerTextChange(benchmark::State& state) {
  const int ratio = int(state.range(0));
  if (!HasScreen(state, ratio))
    return;
  auto lcd = MainWindowIndicator(ratio, qint32(state.range(1)));
  const QString texts[] = {QStringLiteral("03:00"), QStringLiteral("02:59")};
  int i = 0;
  Report(state, ratio, Run(state, [&] {
    lcd->SetIndicatorstring(texts[i ^= 1]);
    benchmark::DoNotOptimize(LumoLiquidIndicator::RenderedImage(*lcd).constBits());
  }));
}

void BM_IndicatorPaint(benchmark::State& state) {
  const int ratio = int(state.range(0));
  if (!HasScreen(state, ratio))
    return;
  auto lcd = MainWindowIndicator(ratio, qint32(state.range(1)));
  QImage image = TargetFor(*lcd, ratio);
  Report(state, ratio, Run(state, [&] {
    RenderOnce(*lcd, image);
    benchmark::DoNotOptimize(image.constBits());
  }));
}

// The share of the rebuild that is the polygon layout alone (the geometry library), on the
// indicator's sizes in device pixels.
void BM_IndicatorLayoutPerTextChange(benchmark::State& state) {
  const int ratio = int(state.range(0));
  const qint32 angle = qint32(state.range(1));
  LumoLiquidIndicator::TIndicatorLayoutSettings settings;
  settings.SignNumber = 5;
  settings.IndicatorWidth = 193 * ratio;
  settings.IndicatorHeight = 65 * ratio;
  settings.IndicatorAngle = angle;
  const LumoLiquidIndicator::TBoxSize box = LumoLiquidIndicator::RotatedBox(193, 65, angle);
  settings.ControlWidth = box.Width * ratio;
  settings.ControlHeight = box.Height * ratio;
  settings.IndicatorGap = 4 * ratio;
  settings.OuterBevelWidth = 1 * ratio;
  settings.InnerBevelWidth = 2 * ratio;
  settings.IndicatorKind = LumoLiquidIndicator::ik9segment;
  const QString texts[] = {QStringLiteral("03:00"), QStringLiteral("02:59")};
  int i = 0;
  Report(state, ratio, Run(state, [&] {
    settings.Indicatorstring = texts[i ^= 1];
    benchmark::DoNotOptimize(LumoLiquidIndicator::BuildIndicatorPolygons(settings));
  }));
}

void RatiosAndAngles(benchmark::internal::Benchmark* b) {
  b->ArgNames({"ratio", "angle"});
  for (const int ratio : {1, 2})
    for (const int angle : {0, 300})
      b->Args({ratio, angle});
}
BENCHMARK(BM_IndicatorRebuildPerTextChange)->Apply(RatiosAndAngles);
BENCHMARK(BM_IndicatorPaint)->Apply(RatiosAndAngles);
BENCHMARK(BM_IndicatorLayoutPerTextChange)->Apply(RatiosAndAngles);

} // namespace LumoBench

int main(int argc, char** argv) {
  QTemporaryDir configDir;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && configDir.isValid()) {
    const QString path = configDir.filePath(QStringLiteral("screens.json"));
    QFile config(path);
    if (config.open(QIODevice::WriteOnly) && config.write(LumoBench::kScreens) == qint64(sizeof LumoBench::kScreens - 1)) {
      config.close();
      qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toLocal8Bit());
      qputenv("QT_SCREEN_SCALE_FACTORS", "ratio2=2");
    } else {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
