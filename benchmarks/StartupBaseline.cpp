// The least Qt Widgets window of the timer's shape: what start-up is measured against.
// Plain: a bare window of the same size and caption. With --controls: the same controls in
// their places (a QLCDNumber for the display), made of stock Qt widgets with nothing else.
// With --countdown: a countdown of 59 minutes as plainly as Qt does it: the window minimises
// itself and a 200 ms timer writes the remaining time into a label and the caption.
#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLCDNumber>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Steepo 2.3"));
  window.setFixedSize(248, 128);
  if (QApplication::arguments().contains(QStringLiteral("--controls"))) {
    auto* display = new QLCDNumber(5, &window);
    display->setGeometry(8, 8, 193, 65);
    display->display(QStringLiteral("03:00"));
    (new QPushButton(QStringLiteral("+"), &window))->setGeometry(208, 8, 33, 33);
    (new QPushButton(QStringLiteral("-"), &window))->setGeometry(208, 40, 33, 33);
    (new QLabel(QStringLiteral("https://varnak.example.org"), &window))->setGeometry(8, 73, 150, 13);
    auto* line = new QFrame(&window);
    line->setFrameShape(QFrame::HLine);
    line->setGeometry(160, 80, 81, 2);
    (new QPushButton(QStringLiteral("Start"), &window))->setGeometry(8, 88, 113, 33);
    auto* stop = new QPushButton(QStringLiteral("Stop"), &window);
    stop->setGeometry(128, 88, 113, 33);
    stop->setEnabled(false);
  }
  QLabel remaining(&window);
  QElapsedTimer clock;
  QTimer tick;
  if (QApplication::arguments().contains(QStringLiteral("--countdown"))) {
    remaining.setGeometry(8, 8, 193, 65);
    clock.start();
    QObject::connect(&tick, &QTimer::timeout, &window, [&] {
      const qint64 seconds = qMax<qint64>(0, 59 * 60 - clock.elapsed() / 1000);
      const QString text = QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
      remaining.setText(text);
      window.setWindowTitle(QStringLiteral("Steepo [%1]").arg(text));
    });
    tick.start(200);
    QTimer::singleShot(200, &window, &QWidget::showMinimized);
  }
  window.show();
  return app.exec();
}
