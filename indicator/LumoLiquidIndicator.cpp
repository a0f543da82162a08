#include "LumoLiquidIndicator.h"

#include <QAccessible>
#include <QPainter>

TLumoLiquidIndicator::TLumoLiquidIndicator(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  resize(172, 36);
}

void TLumoLiquidIndicator::SetIndicatorstring(const QString& value) {
  if (value == FIndicatorString)
    return;
  FIndicatorString = value;
  // Screen readers and GUI test tools read the shown text as the control's name.
  setAccessibleName(FIndicatorString);
  update();
}

void TLumoLiquidIndicator::Loaded() {
  Imloaded = true;
  update();
}

void TLumoLiquidIndicator::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QFont font = painter.font();
  font.setPixelSize(qMax(8, height() * 2 / 3));
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(rect(), Qt::AlignCenter, FIndicatorString);
}
