// The QML item LumoIndicator showing the main window's display (5 nine-segment cells,
// 193 x 65) in a QQuickWindow of its size on Qt Quick's software backend: the item's render
// per text change, a frame of the window after a text change, and a frame of an unchanged
// window, each reported as a multiple of a QLCDNumber paint at the same ratio.
#include "IndicatorBenchSupport.h"
#include "LumoIndicatorItem.h"

#include <QQuickWindow>
#include <QScreen>
#include <memory>

namespace {

bool UseSoftwareBackend() {
  static const bool once = (QQuickWindow::setGraphicsApi(QSGRendererInterface::Software), true);
  return once;
}

struct TQuickDisplay {
  bool Software = UseSoftwareBackend();  // before the first window
  QQuickWindow Window;
  TLumoIndicatorItem* Lcd = new TLumoIndicatorItem(Window.contentItem());
  explicit TQuickDisplay(int ratio) {
    // The offscreen platform takes a window's screen from its place.
    QScreen* screen = LumoBench::ScreenOfRatio(ratio);
    Window.setScreen(screen);
    Window.setGeometry(QRect(screen->geometry().topLeft() + QPoint(50, 50), QSize(193, 65)));
    Window.create();
    Lcd->setSignNumber(5);
    Lcd->setIndicatorWidth(193);
    Lcd->setIndicatorHeight(65);
    Lcd->setIndicatorGap(4);
    Lcd->setOuterBevelWidth(1);
    Lcd->setIndicatorKind(LumoLiquidIndicator::ik9segment);
    Lcd->setIndicatorString(QStringLiteral("03:00"));
    Window.grabWindow();
  }
};

const QString Texts[] = {QStringLiteral("03:00"), QStringLiteral("02:59")};

void BM_QmlItemRenderPerTextChange(benchmark::State& state) {
  const int ratio = int(state.range(0));
  if (!LumoBench::HasScreen(state, ratio))
    return;
  TQuickDisplay display(ratio);
  int i = 0;
  LumoBench::Report(state, ratio, LumoBench::Run(state, [&] {
    display.Lcd->setIndicatorString(Texts[i ^= 1]);
    display.Lcd->RenderPending();
    benchmark::DoNotOptimize(display.Lcd->ShownImage().constBits());
  }));
}
BENCHMARK(BM_QmlItemRenderPerTextChange)->ArgName("ratio")->Arg(1)->Arg(2);

// A frame as the software backend makes it: polish (the item's render when something
// changed), synchronisation (a texture for a new image) and rendering into an image.
void BM_QmlWindowFrame(benchmark::State& state) {
  const int ratio = int(state.range(0));
  const bool textChanges = state.range(1) != 0;
  if (!LumoBench::HasScreen(state, ratio))
    return;
  TQuickDisplay display(ratio);
  int i = 0;
  LumoBench::Report(state, ratio, LumoBench::Run(state, [&] {
    if (textChanges)
      display.Lcd->setIndicatorString(Texts[i ^= 1]);
    benchmark::DoNotOptimize(display.Window.grabWindow().constBits());
  }));
}
BENCHMARK(BM_QmlWindowFrame)->ArgNames({"ratio", "text_changes"})->Args({1, 0})->Args({1, 1})->Args({2, 0})->Args({2, 1});

} // namespace
