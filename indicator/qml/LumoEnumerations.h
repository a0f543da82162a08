#pragma once
// Lumo, a QML singleton holding every member of the indicator's enumerations by its own
// name: Lumo.ik9segment, Lumo.csBlack. QML finds the lower-case members as
// LumoIndicator.ik9segment only in a binding made of that name alone; in a script or an
// expression (`dark ? Lumo.csBlack : Lumo.csSilver`) it looks enumerations up by capitalised
// names only, so there the singleton gives them.

#include <QQmlPropertyMap>
#include <QtQml/qqmlregistration.h>

class TLumoEnumerations : public QQmlPropertyMap {
  Q_OBJECT
  QML_NAMED_ELEMENT(Lumo)
  QML_SINGLETON

public:
  explicit TLumoEnumerations(QObject* parent = nullptr);

protected:
  // The members are constants: a script cannot change them.
  QVariant updateValue(const QString& key, const QVariant& input) override;
};
