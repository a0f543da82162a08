#pragma once
// The indicator widget as the tests meet it: loaded on a parent of 400 x 400, with what the
// event loop has queued delivered.
#include "LumoLiquidIndicator_p.h"

#include <QCoreApplication>
#include <QWidget>
#include <memory>

namespace LumoTest {

// Delivers what is queued: posted refreshes, update requests and so paint events.
inline void Settle() {
  for (int i = 0; i < 4; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

struct TLoaded {
  std::unique_ptr<QWidget> Parent = std::make_unique<QWidget>();
  TLumoLiquidIndicator* Lcd = new TLumoLiquidIndicator(Parent.get());
  TLoaded() {
    Parent->resize(400, 400);
    Lcd->Loaded();
    Settle();
  }
};

} // namespace LumoTest
