#include "OrbLink.h"

#include "OrbDialogs.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

// What assistive tools see of a link: its text, the link role, and a press that opens it.
class TLinkAccessible : public QAccessibleWidget {
public:
  explicit TLinkAccessible(TLinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name || kind == QAccessible::Value)
      return Link()->text();
    return QAccessibleWidget::text(kind);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    return state;
  }
  QStringList actionNames() const override { return QStringList(pressAction()) << QAccessibleWidget::actionNames(); }
  void doAction(const QString& action) override {
    if (action == pressAction())
      Link()->Activate();
    else
      QAccessibleWidget::doAction(action);
  }

private:
  TLinkLabel* Link() const { return static_cast<TLinkLabel*>(widget()); }
};

QAccessibleInterface* LinkAccessibleFactory(const QString&, QObject* object) {
  auto* link = qobject_cast<TLinkLabel*>(object);
  return link ? new TLinkAccessible(link) : nullptr;
}

} // namespace

TLinkLabel::TLinkLabel(QWidget* parent) : TLinkLabel(QString(), parent) {}

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  static const bool accessible = (QAccessible::installFactory(LinkAccessibleFactory), true);
  Q_UNUSED(accessible);
  setFocusPolicy(Qt::TabFocus);
  setCursor(Qt::PointingHandCursor);
  FollowWindowColours();
}

void TLinkLabel::Activate() { emit Click(); }

void TLinkLabel::FollowWindowColours() {
  const QWidget* window = parentWidget() ? parentWidget() : this;
  const QColor colour = OrbDialogs::LinkColor(window->palette());
  if (palette().color(QPalette::WindowText) == colour && testAttribute(Qt::WA_SetPalette))
    return;
  QPalette own = palette();
  own.setColor(QPalette::WindowText, colour);
  setPalette(own);
}

void TLinkLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange)
    FollowWindowColours();
}

void TLinkLabel::mousePressEvent(QMouseEvent* event) {
  FPressed = event->button() == Qt::LeftButton;
  event->accept();
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  FPressed = false;
  event->accept();
  if (click)
    emit Click();
}

void TLinkLabel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)
    return QLabel::keyPressEvent(event);
  event->accept();
  if (!event->isAutoRepeat())
    emit Click();
}

void TLinkLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus())
    return;
  QStylePainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.backgroundColor = palette().color(QPalette::Window);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
