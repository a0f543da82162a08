// The plugin QML loads for `import Lumo.Indicator`: the module's types register themselves
// when it is loaded, from the registration this file keeps linked in.
#include <QQmlEngineExtensionPlugin>

void qml_register_types_Lumo_Indicator();

class TLumoIndicatorQmlPlugin : public QQmlEngineExtensionPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QQmlEngineExtensionInterface_iid)

public:
  explicit TLumoIndicatorQmlPlugin(QObject* parent = nullptr) : QQmlEngineExtensionPlugin(parent) {
    volatile const auto registration = &qml_register_types_Lumo_Indicator;
    (void)registration;
  }
};

#include "LumoIndicatorQmlPlugin.moc"
