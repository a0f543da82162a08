// The cost of building the alarm dialog (done once at start-up) and the about dialog (on F1),
// and of the program icon that both show. Run with QT_QPA_PLATFORM=offscreen where there is no
// display.
#include "F_Steepo2.h"
#include "OrbDialogs.h"
#include "Resources.h"

#include <QApplication>
#include <QIcon>

#include <benchmark/benchmark.h>

namespace {

void BM_CreateAlarmDialog(benchmark::State& state) {
  QWidget mainWindow;
  mainWindow.setWindowTitle(QStringLiteral("Steepo 2.3"));
  for (auto _ : state) {
    F_Steepo2::CreateAlarmDialog(&mainWindow);
    benchmark::DoNotOptimize(F_Steepo2::FSteepo2);
    delete F_Steepo2::FSteepo2;
  }
}
BENCHMARK(BM_CreateAlarmDialog)->Unit(benchmark::kMicrosecond);

void BM_BuildAboutDialog(benchmark::State& state) {
  for (auto _ : state) {
    TFAbout about;
    benchmark::DoNotOptimize(&about);
  }
}
BENCHMARK(BM_BuildAboutDialog)->Unit(benchmark::kMicrosecond);

void BM_ProgramIconAt32(benchmark::State& state) {
  for (auto _ : state) {
    const QIcon icon(Resources::ProgramIcon());
    benchmark::DoNotOptimize(icon.pixmap(32, 32));
  }
}
BENCHMARK(BM_ProgramIconAt32)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(Resources::ProgramIcon()));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
