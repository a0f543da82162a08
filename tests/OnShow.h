#pragma once
// Calls act from the event loop once the watched window has been shown, for tests that drive
// a modal window from inside its own loop.
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

class TOnShow : public QObject {
public:
  TOnShow(QWidget* window, std::function<void()> act) : FAct(std::move(act)) { window->installEventFilter(this); }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && FAct) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, this, std::exchange(FAct, {}));
    }
    return false;
  }

private:
  std::function<void()> FAct;
};
