// What one rebuild's polygon lists cost: the main window's indicator (five nine-segment
// cells, 193 x 65) with its text changing every iteration, and a 40-cell 5x7 indicator.
#include "LumoGeometry_p.h"

#include <benchmark/benchmark.h>

#include <QString>

using namespace LumoLiquidIndicator;

namespace {

TIndicatorLayoutSettings MainWindow() {
  TIndicatorLayoutSettings s;
  s.SignNumber = 5;
  s.IndicatorWidth = s.ControlWidth = 193;
  s.IndicatorHeight = s.ControlHeight = 65;
  s.IndicatorGap = 4;
  s.OuterBevelWidth = 1;
  s.IndicatorKind = ik9segment;
  return s;
}

// Minutes and seconds as the countdown shows them, a different time every iteration.
QString TimeText(int seconds) {
  return QStringLiteral("%1:%2").arg(seconds / 60 % 60, 2, 10, QChar(u'0')).arg(seconds % 60, 2, 10, QChar(u'0'));
}

void MainWindowCountdown(benchmark::State& state) {
  TIndicatorLayoutSettings s = MainWindow();
  s.IndicatorAngle = static_cast<qint32>(state.range(0));
  if (s.IndicatorAngle != 0) {
    const TBoxSize box = RotatedBox(s.IndicatorWidth, s.IndicatorHeight, s.IndicatorAngle);
    s.ControlWidth = box.Width;
    s.ControlHeight = box.Height;
  }
  int seconds = 3599;
  for (auto _ : state) {
    s.Indicatorstring = TimeText(seconds);
    seconds = seconds == 0 ? 3599 : seconds - 1;
    TIndicatorPolygons polygons = BuildIndicatorPolygons(s);
    benchmark::DoNotOptimize(polygons);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(MainWindowCountdown)->Arg(0)->Arg(300)->Unit(benchmark::kMicrosecond);

void Matrix40Cells(benchmark::State& state) {
  TIndicatorLayoutSettings s;
  s.SignNumber = 40;
  s.IndicatorWidth = s.ControlWidth = 640;
  s.IndicatorHeight = s.ControlHeight = 40;
  s.IndicatorKind = ik5x7matrix;
  const QString line = QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789!");
  int start = 0;
  for (auto _ : state) {
    s.Indicatorstring = line.mid(start, 40);
    start = (start + 1) % 16;
    TIndicatorPolygons polygons = BuildIndicatorPolygons(s);
    benchmark::DoNotOptimize(polygons);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(Matrix40Cells)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
