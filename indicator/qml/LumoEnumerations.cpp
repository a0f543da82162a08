#include "LumoEnumerations.h"

#include "LumoTypes.h"

#include <QMetaEnum>

TLumoEnumerations::TLumoEnumerations(QObject* parent) : QQmlPropertyMap(this, parent) {
  const QMetaObject& enumerations = LumoLiquidIndicator::staticMetaObject;
  for (int e = enumerations.enumeratorOffset(); e < enumerations.enumeratorCount(); ++e) {
    const QMetaEnum enumeration = enumerations.enumerator(e);
    for (int k = 0; k < enumeration.keyCount(); ++k)
      insert(QString::fromLatin1(enumeration.key(k)), enumeration.value(k));
  }
}

QVariant TLumoEnumerations::updateValue(const QString& key, const QVariant&) {
  return value(key);
}
