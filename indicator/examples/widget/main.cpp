// lumo-example: a window made in Qt Designer with the liquid-crystal indicator in a layout. The
// spin box turns the indicator; the label below follows its change signals.
//
//   lumo-example                       shows the window
//   lumo-example --check [PLUGIN]      checks signals, size hints and the settled layout (and
//                                      that the Designer plugin file PLUGIN makes the widget),
//                                      prints what failed and exits non-zero if anything did
#include "ui_ExampleWindow.h"

#include <LumoLiquidIndicator.h>

#include <QApplication>
#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <cstdio>
#include <memory>

namespace {

void Settle() {
  for (int i = 0; i < 4; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

struct Checker {
  int Failures = 0;
  void Expect(bool condition, const char* what) {
    if (!condition) {
      std::fprintf(stderr, "FAILED: %s\n", what);
      ++Failures;
    }
  }
};

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
  int Paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    Paints += event->type() == QEvent::Paint;
    return false;
  }
};

// The size the layout gave the indicator stays put, and nothing is left to redraw.
bool Settled(TLumoLiquidIndicator* clock) {
  Settle();
  const QRect geometry = clock->geometry();
  PaintCounter counter;
  clock->installEventFilter(&counter);
  Settle();
  clock->removeEventFilter(&counter);
  return clock->geometry() == geometry && counter.Paints == 0 && clock->size() == clock->sizeHint();
}

int Check(Ui::ExampleWindow& ui, const QString& pluginFile) {
  Checker check;
  TLumoLiquidIndicator* clock = ui.clock;
  int angleSignals = 0;
  int textSignals = 0;
  QObject::connect(clock, &TLumoLiquidIndicator::IndicatorAngleChanged, [&] { ++angleSignals; });
  QObject::connect(clock, &TLumoLiquidIndicator::IndicatorstringChanged, [&] { ++textSignals; });

  check.Expect(clock->Indicatorstring() == QStringLiteral("12:34") && clock->IndicatorKind() == TLumoLiquidIndicator::ik9segment,
               "the form's properties reach the widget");
  check.Expect(clock->sizeHint() == QSize(193, 65), "upright size hint 193 x 65");
  check.Expect(Settled(clock), "settles upright");

  ui.angle->setValue(900);
  check.Expect(angleSignals == 1, "one signal for a new angle");
  check.Expect(clock->sizeHint() == QSize(65, 193) && clock->minimumSizeHint() == QSize(65, 193), "size hints 65 x 193 at 90 degrees");
  check.Expect(Settled(clock), "settles at 90 degrees");
  check.Expect(clock->IndicatorWidth() == 193 && clock->IndicatorHeight() == 65, "the layout leaves the indicator's size alone");
  clock->setIndicatorAngle(900);
  clock->setIndicatorstring(QStringLiteral("12:34"));
  check.Expect(angleSignals == 1 && textSignals == 0, "no signal when a value is set again");
  clock->setIndicatorstring(QStringLiteral("00:05"));
  check.Expect(textSignals == 1, "one signal for a new text");
  check.Expect(ui.status->text() == QStringLiteral("angle 900: 65 x 193"), "the label follows the signals");
  clock->setStyleSheet(QStringLiteral("TLumoLiquidIndicator { qproperty-numberForeColor: #c08020; }"));
  clock->ensurePolished();
  check.Expect(clock->setProperty("backColor", QStringLiteral("#102030")) && clock->BackColor() == 0x302010 &&
                   clock->NumberForeColor() == 0x2080C0 && clock->numberForeColor() == QColor(0xC0, 0x80, 0x20),
               "colours by name and by style sheet");

  if (!pluginFile.isEmpty()) {
    QPluginLoader loader(pluginFile);
    auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
    check.Expect(plugin != nullptr, "the Designer plugin loads");
    if (plugin != nullptr) {
      std::unique_ptr<QWidget> made(plugin->createWidget(nullptr));
      check.Expect(made && made->inherits("TLumoLiquidIndicator") && plugin->group() == QStringLiteral("Lumo"),
                   "the Designer plugin makes the widget");
#ifdef LUMO_EXAMPLE_SHARED_INDICATOR
      check.Expect(qobject_cast<TLumoLiquidIndicator*>(made.get()) != nullptr,
                   "the Designer plugin's widget is the program's class");
#endif
    }
  }
  std::printf("%d failed\n", check.Failures);
  return check.Failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  Ui::ExampleWindow ui;
  ui.setupUi(&window);
  // Set before the window is shown, as any property of any widget: the scheme fills the colours
  // the form did not give.
  ui.clock->setColorScheme(TLumoLiquidIndicator::csZORA);

  QObject::connect(ui.angle, &QSpinBox::valueChanged, ui.clock, &TLumoLiquidIndicator::setIndicatorAngle);
  const auto report = [&ui] {
    ui.status->setText(QStringLiteral("angle %1: %2 x %3")
                           .arg(ui.clock->IndicatorAngle())
                           .arg(ui.clock->width())
                           .arg(ui.clock->height()));
  };
  QObject::connect(ui.clock, &TLumoLiquidIndicator::IndicatorAngleChanged, &window, report);
  report();
  window.show();

  const QStringList args = app.arguments();
  if (args.size() > 1 && args[1] == QStringLiteral("--check"))
    return Check(ui, args.value(2));
  return app.exec();
}
