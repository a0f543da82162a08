#pragma once
// The liquid-crystal indicator widget. This first version shows its text plainly; the
// segment rendering replaces its painting.

#include "LumoTypes.h"

#include <QWidget>

class TLumoLiquidIndicator : public QWidget {
  Q_OBJECT
  // The text shown. Default: empty.
  Q_PROPERTY(QString Indicatorstring READ Indicatorstring WRITE SetIndicatorstring)

public:
  explicit TLumoLiquidIndicator(QWidget* parent = nullptr);

  QString Indicatorstring() const { return FIndicatorString; }
  void SetIndicatorstring(const QString& value);

  // Called once all stored properties of a form have been set.
  Q_INVOKABLE void Loaded();

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QString FIndicatorString;
  bool Imloaded = false;
};
