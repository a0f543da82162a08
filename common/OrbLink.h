#pragma once
// A web or mail link as a label: the main window's and the about dialog's.

#include <QLabel>

// Reports a click of the left mouse button pressed and released over it, and, as Tab reaches
// it, Enter or Space pressed while it has the focus, which it shows with the style's focus
// frame. Its text takes a colour that stands out against its window's, also after the
// window's palette changes; it shows the hand cursor. Assistive tools see a link named by its
// text with a press action.
class TLinkLabel : public QLabel {
  Q_OBJECT

public:
  explicit TLinkLabel(QWidget* parent = nullptr);
  TLinkLabel(const QString& text, QWidget* parent);

  // What a click does, for the press action of assistive tools.
  void Activate();

signals:
  void Click();

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void FollowWindowColours();

  bool FPressed = false;
};
