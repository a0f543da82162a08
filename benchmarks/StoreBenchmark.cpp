// The time a store of the preset takes against the size of the settings file, with a file of
// nothing but Preset lines, the case where storing grew with the square of the size before.
// A store that is linear in the size costs about the same time per byte at every size: compare
// the per_byte column (seconds per byte of the file) across the rows.
//
// The file lies on a memory file system where there is one (/dev/shm), so that the flush to the
// disk does not hide the work; the file is laid anew before each store, untimed.
#include "Platform.h"
#include "PresetStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString Folder() {
  const QString shared = QStringLiteral("/dev/shm");
  return QFileInfo(shared).isWritable() ? shared : QDir::tempPath();
}

// A settings file of about bytes bytes of Preset lines, each shorter than the one stored.
QByteArray PresetLines(qint64 bytes) {
  QByteArray text = "[General]\n";
  text.reserve(bytes + 16);
  while (text.size() < bytes)
    text += "Preset=60\n";
  return text;
}

void BM_StorePreset(benchmark::State& state) {
  const QTemporaryDir dir(Folder() + QStringLiteral("/steepo-bench-XXXXXX"));
  const QString path = dir.filePath(QStringLiteral("Steepo.conf"));
  Platform::SetSettingsPathSource([path] { return path; });
  const QByteArray text = PresetLines(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
      state.SkipWithError("cannot lay the file");
    file.close();
    state.ResumeTiming();
    QString reason;
    if (!Platform::WritePreset(195, &reason))
      state.SkipWithError(reason.toUtf8().constData());
  }
  Platform::SetSettingsPathSource({});
  state.SetBytesProcessed(state.iterations() * text.size());
  state.counters["per_byte"] = benchmark::Counter(double(text.size()), benchmark::Counter::kIsIterationInvariantRate |
                                                                            benchmark::Counter::kInvert);
}
BENCHMARK(BM_StorePreset)->Arg(100'000)->Arg(400'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
