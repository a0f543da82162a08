// What assistive technology sees of the QML item, as of the widget: a read-only display (the
// static-text role) whose value is the shown text and whose name is the application's
// (Accessible.name: "Countdown") or else the text, with a value change announced per new text.
#include "LumoIndicatorItem.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QMetaType>
#include <QQuickWindow>
#include <QtQml/qqml.h>

namespace {

// The item's Accessible attached object (Qt Quick's, found by its type's name), made when
// missing: an item with one is part of the window's accessible tree.
QObject* AccessibleAttached(QQuickItem* item) {
  static const QMetaObject* const attached = QMetaType::fromName("QQuickAccessibleAttached*").metaObject();
  if (attached == nullptr)
    return nullptr;
  return qmlAttachedPropertiesObject(item, qmlAttachedPropertiesFunction(item, attached), true);
}

class TLumoItemAccessible : public QAccessibleObject {
public:
  explicit TLumoItemAccessible(TLumoIndicatorItem* item) : QAccessibleObject(item) {}

  QWindow* window() const override { return Item()->window(); }
  // The nearest ancestor with an interface of its own, else the window, as Qt Quick's items do.
  QAccessibleInterface* parent() const override {
    const QQuickItem* content = Item()->window() ? Item()->window()->contentItem() : nullptr;
    for (QQuickItem* up = Item()->parentItem(); up != nullptr && up != content; up = up->parentItem())
      if (QAccessibleInterface* found = QAccessible::queryAccessibleInterface(up))
        return found;
    return Item()->window() ? QAccessible::queryAccessibleInterface(Item()->window()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QRect rect() const override {
    const QQuickItem* item = Item();
    if (item->window() == nullptr)
      return {};
    const QRectF scene = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    return {item->window()->mapToGlobal(scene.topLeft().toPoint()), scene.size().toSize()};
  }
  QAccessible::Role role() const override { return QAccessible::StaticText; }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.readOnly = true;
    state.invisible = !Item()->isVisible();
    return state;
  }
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value)
      return Item()->indicatorString();
    if (kind == QAccessible::Name)
      return Item()->AccessibleName();
    return {};
  }

private:
  TLumoIndicatorItem* Item() const { return static_cast<TLumoIndicatorItem*>(object()); }
};

QAccessibleInterface* CreateAccessible(const QString& className, QObject* object) {
  if (className != QLatin1String("TLumoIndicatorItem"))
    return nullptr;
  auto* item = qobject_cast<TLumoIndicatorItem*>(object);
  return item != nullptr ? new TLumoItemAccessible(item) : nullptr;
}

} // namespace

// Installed with the first item, after Qt Quick's own factory, so that it is asked first.
void TLumoIndicatorItem::InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(CreateAccessible);
    return true;
  }();
  (void)installed;
}

QString TLumoIndicatorItem::AccessibleName() const {
  const QObject* accessible = FAccessible;
  const QString name = accessible != nullptr ? accessible->property("name").toString() : QString();
  return name.isEmpty() ? FCore.FIndicatorString : name;
}

// The name the item gives itself is the text; a name the application gave stays. The text is
// announced as the new value.
void TLumoIndicatorItem::UpdateAccessibility() {
  if (FAccessible == nullptr)
    FAccessible = AccessibleAttached(this);
  if (FAccessible != nullptr) {
    if (FAccessible->property("role").toInt() == QAccessible::NoRole)
      FAccessible->setProperty("role", QVariant::fromValue(QAccessible::StaticText));
    const QString name = FAccessible->property("name").toString();
    if (name.isEmpty() || name == FOwnAccessibleName) {
      FOwnAccessibleName = FCore.FIndicatorString;
      FAccessible->setProperty("name", FOwnAccessibleName);
    }
  }
  QAccessibleValueChangeEvent event(this, FCore.FIndicatorString);
  QAccessible::updateAccessibility(&event);
}
