// Time and peak memory of the indicator for one extreme property value at a time, each case
// in a process of its own: what a user waits for. A loaded indicator of the default size is
// on screen, in a full-HD window or as a window of its own, and painted; then the property
// is set, and the time runs until the paint that shows the change has reached the window:
// the setter, the rebuild, any refresh it posts, and the paint into the window's backing
// store (of what the window shows of the control).
//
//   steepo_indicator_extremes            runs every case in a child process and prints a table
//                                        (run it under "ulimit -v" to cap what a case may take)
//   steepo_indicator_extremes <case>     runs one case and prints "<ms> <peak MB> <CPU ms>"
//   steepo_indicator_extremes rebuilds   20,000 ordinary rebuilds (texts, angles, kinds) and
//                                        how much the resident memory grew over them
#include "LumoLiquidIndicator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QWindow>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <sys/resource.h>
#include <time.h>

using namespace LumoLiquidIndicator;

namespace {

constexpr qint32 Max = std::numeric_limits<qint32>::max();
constexpr qint32 Min = std::numeric_limits<qint32>::min();

QImage Indexed8WithoutColours() {
  QImage image(4, 4, QImage::Format_Indexed8);
  image.fill(7);
  return image;
}

QImage Pixel() {
  QImage image(1, 1, QImage::Format_RGB32);
  image.fill(qRgb(90, 120, 150));
  return image;
}

// Ten million eights, made before the time runs.
const QString& LongText() {
  static const QString text(10'000'000, u'8');
  return text;
}

// A photo of 2000 x 1500 pixels as a program would have read it, made before the time runs.
const QImage& Photo() {
  static const QImage photo = [] {
    QImage image(2000, 1500, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
      QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x)
        row[x] = qRgb(x * 255 / 2000, y * 255 / 1500, (x ^ y) & 0xFF);
    }
    return image;
  }();
  return photo;
}

// Where the control is on screen: in a window of a full-HD screen's size (1920 x 1080), kept
// in its middle, so that a control larger than the window shows what the window shows; or as
// a window of its own, as large as its rotated box, every pixel of it shown.
enum class TShown { InWindow, AsWindow };

using Setup = std::function<void(TLumoLiquidIndicator&)>;
struct Case {
  const char* Name;
  Setup Before;  // untimed preparation
  Setup Set;     // the timed property change
  TShown Shown = TShown::InWindow;
};

const Case Cases[] = {
    {"baseline text change", nullptr, [](auto& l) { l.SetIndicatorstring("12.34"); }},
    {"SignNumber 1000000", nullptr, [](auto& l) { l.SetSignNumber(1000000); }},
    {"SignNumber 1000000 5x7", [](auto& l) { l.SetIndicatorKind(ik5x7matrix); },
     [](auto& l) { l.SetSignNumber(1000000); }},
    {"SignNumber max", nullptr, [](auto& l) { l.SetSignNumber(Max); }},
    {"OuterBevelWidth 100000", nullptr, [](auto& l) { l.SetOuterBevelWidth(100000); }},
    {"InnerBevelWidth 30000", nullptr, [](auto& l) { l.SetInnerBevelWidth(30000); }},
    {"OuterBevelWidth max", nullptr, [](auto& l) { l.SetOuterBevelWidth(Max); }},
    {"both bevel widths max", [](auto& l) { l.SetInnerBevelWidth(Max); },
     [](auto& l) { l.SetOuterBevelWidth(Max); }},
    {"IndicatorWidth max", nullptr, [](auto& l) { l.SetIndicatorWidth(Max); }},
    {"IndicatorHeight max", nullptr, [](auto& l) { l.SetIndicatorHeight(Max); }},
    {"IndicatorWidth 16777216 at 45", [](auto& l) { l.SetIndicatorAngle(450); },
     [](auto& l) { l.SetIndicatorWidth(16777216); }},
    {"IndicatorGap min", nullptr, [](auto& l) { l.SetIndicatorGap(Min); }},
    {"IndicatorGap max", nullptr, [](auto& l) { l.SetIndicatorGap(Max); }},
    {"IndicatorAngle min", nullptr, [](auto& l) { l.SetIndicatorAngle(Min); }},
    {"Indicatorstring 10M", [](auto&) { LongText(); }, [](auto& l) { l.SetIndicatorstring(LongText()); }},
    {"1x1 back material tiled 1500x1000", [](auto& l) {
       l.SetMaterialMode(mmTile);
       l.SetIndicatorWidth(1500);
       l.SetIndicatorHeight(1000);
     }, [](auto& l) { l.SetBackMaterial(Pixel()); }},
    {"1x1 fore material tiled", [](auto& l) {
       l.SetForeMaterialMode(mmTile);
       l.SetIndicatorstring("8888888888");
     }, [](auto& l) { l.SetForeMaterial(Pixel()); }},
    {"Indexed8 back material, no colours", nullptr, [](auto& l) { l.SetBackMaterial(Indexed8WithoutColours()); }},
    {"Indexed8 fore material, no colours", [](auto& l) { l.SetIndicatorstring("88"); },
     [](auto& l) { l.SetForeMaterial(Indexed8WithoutColours()); }},
    {"32767 one-pixel cells", [](auto& l) { l.SetIndicatorWidth(Max); },
     [](auto& l) { l.SetSignNumber(32767); }},
    {"32767 one-pixel cells, 5x7", [](auto& l) {
       l.SetIndicatorKind(ik5x7matrix);
       l.SetIndicatorWidth(Max);
     }, [](auto& l) { l.SetSignNumber(32767); }},
    {"32767 one-pixel cells, 5x7, 1x1 fore tiled", [](auto& l) {
       l.SetIndicatorKind(ik5x7matrix);
       l.SetIndicatorWidth(Max);
       l.SetForeMaterialMode(mmTile);
       l.SetIndicatorstring(QString(32767, u'8'));
       l.SetSignNumber(32767);
     }, [](auto& l) { l.SetForeMaterial(Pixel()); }},
    {"32767 one-pixel cells, 5x7, back stretched", [](auto& l) {
       l.SetIndicatorKind(ik5x7matrix);
       l.SetIndicatorWidth(Max);
       l.SetBackMaterial(Pixel());
     }, [](auto& l) { l.SetSignNumber(32767); }},
    {"8000 one-pixel cells at 45, 5x7", [](auto& l) {
       l.SetIndicatorKind(ik5x7matrix);
       l.SetIndicatorAngle(450);
       l.SetIndicatorWidth(8000);
     }, [](auto& l) { l.SetSignNumber(8000); }},
    {"8000 one-pixel cells at 45, 9 segments", [](auto& l) {
       l.SetIndicatorKind(ik9segment);
       l.SetIndicatorAngle(450);
       l.SetIndicatorWidth(8000);
     }, [](auto& l) { l.SetSignNumber(8000); }},
    {"6963 wide at 130.4, 64-bit stretched back", [](auto& l) {
       l.resize(300, 100);
       l.SetIndicatorAngle(1304);
       QImage material(25, 17, QImage::Format_RGBA64);
       material.fill(qRgba(40, 160, 90, 200));
       l.SetBackMaterial(material);
     }, [](auto& l) { l.SetIndicatorWidth(6963); }},
    {"2000x1500 back material stretched", [](auto&) { Photo(); }, [](auto& l) { l.SetBackMaterial(Photo()); }},
    {"unloaded IndicatorWidth max", nullptr, nullptr},
    {"IndicatorHeight max at 90", [](auto& l) { l.SetIndicatorAngle(900); },
     [](auto& l) { l.SetIndicatorHeight(Max); }},
    {"IndicatorHeight max at 180", [](auto& l) { l.SetIndicatorAngle(1800); },
     [](auto& l) { l.SetIndicatorHeight(Max); }},
    {"IndicatorHeight max at 30", [](auto& l) { l.SetIndicatorAngle(300); },
     [](auto& l) { l.SetIndicatorHeight(Max); }},
    {"IndicatorHeight max, own window", nullptr, [](auto& l) { l.SetIndicatorHeight(Max); }, TShown::AsWindow},
    {"2000x1500 back stretched, own window", [](auto&) { Photo(); }, [](auto& l) { l.SetBackMaterial(Photo()); },
     TShown::AsWindow},
};

// The processor time of this thread, user and system (page faults among it), in ms: on a
// shared machine it varies less than the time that passes.
double ThreadCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// Notes each paint of the control: the paint that shows a change, and the flush of its
// window that follows it within the same pass of the event loop. A control in a window is
// kept in the window's middle whatever its size.
class TPaintWatch : public QObject {
public:
  bool Painted = false;

protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    auto* control = static_cast<QWidget*>(watched);
    if (e->type() == QEvent::Paint)
      Painted = true;
    if (e->type() == QEvent::Resize && !control->isWindow()) {
      const QSize window = control->parentWidget()->size();
      control->move((window.width() - control->width()) / 2, (window.height() - control->height()) / 2);
    }
    return false;
  }
};

// Handles events until the control has painted; false when it does not within 20 s.
bool WaitForPaint(TPaintWatch& watch) {
  QElapsedTimer limit;
  limit.start();
  while (!watch.Painted && limit.elapsed() < 20000)
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  return watch.Painted;
}

// Handles events until the window is on screen; false when it is not within 20 s.
bool WaitForExposed(QWidget& window) {
  QElapsedTimer limit;
  limit.start();
  while (!(window.windowHandle() && window.windowHandle()->isExposed()) && limit.elapsed() < 20000)
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  return window.windowHandle() && window.windowHandle()->isExposed();
}

// The timed part, out of line so that a profiler can collect it alone
// (valgrind --tool=callgrind --toggle-collect='*TimedChange*').
__attribute__((noinline)) bool TimedChange(const Case& c, TLumoLiquidIndicator& lcd, TPaintWatch& watch) {
  watch.Painted = false;
  if (c.Set == nullptr) {
    lcd.SetIndicatorWidth(Max);
    lcd.SetIndicatorstring("88");
  } else {
    c.Set(lcd);
  }
  return WaitForPaint(watch);
}

// The control shown and painted once, then the change timed until its paint has reached the
// window.
int RunOne(const Case& c) {
  QWidget window;
  window.resize(1920, 1080);
  auto* lcd = new TLumoLiquidIndicator(c.Shown == TShown::InWindow ? &window : nullptr);
  const std::unique_ptr<TLumoLiquidIndicator> ownWindow(c.Shown == TShown::AsWindow ? lcd : nullptr);
  TPaintWatch watch;
  lcd->installEventFilter(&watch);
  if (c.Set != nullptr) {
    lcd->Loaded();
    if (c.Before)
      c.Before(*lcd);
  }
  QWidget& shown = c.Shown == TShown::InWindow ? window : *lcd;
  shown.show();
  if (!WaitForExposed(shown) || !WaitForPaint(watch)) {
    std::fprintf(stderr, "steepo_indicator_extremes: the control was not shown\n");
    return 3;
  }
  QElapsedTimer timer;
  const double cpuBefore = ThreadCpuMilliseconds();
  timer.start();
  const bool painted = TimedChange(c, *lcd, watch);
  const double ms = timer.nsecsElapsed() / 1e6;
  const double cpu = ThreadCpuMilliseconds() - cpuBefore;
  if (!painted) {
    std::fprintf(stderr, "steepo_indicator_extremes: the change was not painted\n");
    return 3;
  }
  std::printf("%.1f %.0f %.1f\n", ms, PeakMegabytes(), cpu);
  return 0;
}

qint64 ResidentBytes() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  return statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(1).toLongLong() * 4096 : 0;
}

int RunRebuilds() {
  QWidget parent;
  parent.resize(400, 400);
  auto* lcd = new TLumoLiquidIndicator(&parent);
  lcd->Loaded();
  const QString texts[] = {"12:34", "0.5", "--", "Hello", "88:88", "7.7.7"};
  const auto round = [&](int i) {
    lcd->SetIndicatorstring(texts[i % 6]);
    if (i % 50 == 0)
      lcd->SetIndicatorAngle((i / 50) % 4 * 450);
    if (i % 70 == 0)
      lcd->SetIndicatorKind(TLumoIndicatorKind(i / 70 % 3));
    QCoreApplication::sendPostedEvents();
  };
  for (int i = 0; i < 1000; ++i)
    round(i);
  const qint64 before = ResidentBytes();
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < 20000; ++i)
    round(i);
  std::printf("20000 rebuilds: %.1f s, resident memory %+.2f MB (from %.1f MB)\n", timer.nsecsElapsed() / 1e9,
              (ResidentBytes() - before) / 1048576.0, before / 1048576.0);
  return 0;
}

int RunAll(const QString& program) {
  // A case that runs longer than this (STEEPO_CASE_SECONDS, 60 by default) is stopped.
  const int limitSeconds = qEnvironmentVariableIntValue("STEEPO_CASE_SECONDS") > 0
                               ? qEnvironmentVariableIntValue("STEEPO_CASE_SECONDS") : 60;
  std::printf("%-44s %8s %8s %8s  %s\n", "case", "ms", "CPU ms", "peak MB", "end");
  for (size_t i = 0; i < std::size(Cases); ++i) {
    QProcess child;
    child.start(program, {QString::number(i)});
    const bool finished = child.waitForFinished(limitSeconds * 1000);
    if (!finished)
      child.kill(), child.waitForFinished();
    const QStringList figures = QString::fromLatin1(child.readAllStandardOutput()).split(' ');
    QString end = !finished ? QString("stopped after %1 s").arg(limitSeconds)
                  : child.exitStatus() == QProcess::CrashExit ? "crashed"
                                                               : "exit " + QString::number(child.exitCode());
    std::printf("%-44s %8s %8s %8s  %s\n", Cases[i].Name, figures.value(0).trimmed().toLatin1().constData(),
                figures.value(2).trimmed().toLatin1().constData(), figures.value(1).trimmed().toLatin1().constData(),
                end.toLatin1().constData());
    std::fflush(stdout);
  }
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2)
    return RunAll(QCoreApplication::applicationFilePath());
  if (qstrcmp(argv[1], "rebuilds") == 0)
    return RunRebuilds();
  bool number = false;
  const int index = QString::fromLatin1(argv[1]).toInt(&number);
  if (!number || index < 0 || index >= int(std::size(Cases))) {
    std::fprintf(stderr, "steepo_indicator_extremes: no case %s (0 to %d, or rebuilds)\n", argv[1],
                 int(std::size(Cases)) - 1);
    return 2;
  }
  return RunOne(Cases[index]);
}
