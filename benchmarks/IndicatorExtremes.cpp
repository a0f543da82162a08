// Time and peak memory of the indicator for one extreme property value at a time, each case
// in a process of its own: a loaded indicator of the default size in a parent, painted once,
// the property set, the rebuild it causes and one paint of the whole control (onto a screen
// of at most 4096 x 4096 pixels).
//
//   steepo_indicator_extremes            runs every case in a child process and prints a table
//                                        (run it under "ulimit -v" to cap what a case may take)
//   steepo_indicator_extremes <case>     runs one case and prints "<ms> <peak MB>"
//   steepo_indicator_extremes rebuilds   20,000 ordinary rebuilds (texts, angles, kinds) and
//                                        how much the resident memory grew over them
#include "LumoLiquidIndicator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <sys/resource.h>

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

using Setup = std::function<void(TLumoLiquidIndicator&)>;
struct Case {
  const char* Name;
  Setup Before;  // untimed preparation
  Setup Set;     // the timed property change
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
    {"Indicatorstring 10M", nullptr, [](auto& l) { l.SetIndicatorstring(QString(10'000'000, u'8')); }},
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
    {"2000x1500 back material stretched", nullptr, [](auto& l) {
       QImage material(2000, 1500, QImage::Format_RGB32);
       material.fill(qRgb(90, 120, 150));
       l.SetBackMaterial(material);
     }},
    {"unloaded IndicatorWidth max", nullptr, nullptr},
    {"IndicatorHeight max at 90", [](auto& l) { l.SetIndicatorAngle(900); },
     [](auto& l) { l.SetIndicatorHeight(Max); }},
    {"IndicatorHeight max at 180", [](auto& l) { l.SetIndicatorAngle(1800); },
     [](auto& l) { l.SetIndicatorHeight(Max); }},
    {"IndicatorHeight max at 30", [](auto& l) { l.SetIndicatorAngle(300); },
     [](auto& l) { l.SetIndicatorHeight(Max); }},
};

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// One paint of the control onto a screen of at most 4096 x 4096 pixels.
void Paint(TLumoLiquidIndicator& lcd) {
  QImage screen(qMin(lcd.width(), 4096), qMin(lcd.height(), 4096), QImage::Format_RGB32);
  QPainter painter(&screen);
  lcd.render(&painter);
}

int RunOne(const Case& c) {
  QWidget parent;
  parent.resize(400, 400);
  auto* lcd = new TLumoLiquidIndicator(&parent);
  QElapsedTimer timer;
  if (c.Set == nullptr) {
    // A control never loaded: the setter only stores, the next rebuild uses the value.
    timer.start();
    lcd->SetIndicatorWidth(Max);
    lcd->SetIndicatorstring("88");
  } else {
    lcd->Loaded();
    QCoreApplication::sendPostedEvents();
    if (c.Before)
      c.Before(*lcd);
    QCoreApplication::sendPostedEvents();
    Paint(*lcd);  // shown once before the change, as a control on screen is
    timer.start();
    c.Set(*lcd);
  }
  QCoreApplication::sendPostedEvents();
  Paint(*lcd);
  const double ms = timer.nsecsElapsed() / 1e6;
  std::printf("%.1f %.0f\n", ms, PeakMegabytes());
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
  std::printf("%-40s %10s %10s  %s\n", "case", "ms", "peak MB", "end");
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
    std::printf("%-40s %10s %10s  %s\n", Cases[i].Name, figures.value(0).trimmed().toLatin1().constData(),
                figures.value(1).trimmed().toLatin1().constData(), end.toLatin1().constData());
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
