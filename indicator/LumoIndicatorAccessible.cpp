#include "LumoIndicatorAccessible_p.h"

#include "LumoLiquidIndicator.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace LumoLiquidIndicator {
namespace {

class TLumoIndicatorAccessible : public QAccessibleWidget {
public:
  explicit TLumoIndicatorAccessible(TLumoLiquidIndicator* indicator)
      : QAccessibleWidget(indicator, QAccessible::StaticText) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value)
      return Indicator()->Indicatorstring();
    if (kind == QAccessible::Name) {
      const QString name = QAccessibleWidget::text(kind);
      return name.isEmpty() ? Indicator()->Indicatorstring() : name;
    }
    return QAccessibleWidget::text(kind);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    return state;
  }

private:
  const TLumoLiquidIndicator* Indicator() const { return static_cast<const TLumoLiquidIndicator*>(object()); }
};

QAccessibleInterface* CreateAccessible(const QString& className, QObject* object) {
  if (className != QLatin1String("TLumoLiquidIndicator"))
    return nullptr;
  auto* indicator = qobject_cast<TLumoLiquidIndicator*>(object);
  return indicator != nullptr ? new TLumoIndicatorAccessible(indicator) : nullptr;
}

} // namespace

void InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(CreateAccessible);
    return true;
  }();
  (void)installed;
}

void AnnounceText(QWidget* indicator, const QString& text) {
  QAccessibleValueChangeEvent event(indicator, text);
  QAccessible::updateAccessibility(&event);
}

} // namespace LumoLiquidIndicator
