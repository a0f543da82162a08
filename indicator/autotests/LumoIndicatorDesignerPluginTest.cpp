// The Qt Designer plugin as Designer meets it: loaded from its file with every symbol resolved
// at once (a symbol the library does not export fails the load), it describes the widget and
// makes one whose properties the property editor can show, enumerations as drop-downs.
#include <QDomDocument>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <gtest/gtest.h>

namespace {

QDesignerCustomWidgetInterface* LoadPlugin(QPluginLoader& loader) {
  loader.setFileName(QString::fromUtf8(LUMO_DESIGNER_PLUGIN));
  loader.setLoadHints(QLibrary::ResolveAllSymbolsHint);
  QObject* instance = loader.instance();
  EXPECT_NE(instance, nullptr) << loader.errorString().toStdString();
  return qobject_cast<QDesignerCustomWidgetInterface*>(instance);
}

} // namespace

TEST(LumoIndicatorDesignerPlugin, DescribesTheWidget) {
  QPluginLoader loader;
  QDesignerCustomWidgetInterface* plugin = LoadPlugin(loader);
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->name(), QStringLiteral("TLumoLiquidIndicator"));
  EXPECT_EQ(plugin->group(), QStringLiteral("Lumo"));
  EXPECT_EQ(plugin->includeFile(), QStringLiteral("LumoLiquidIndicator.h"));
  EXPECT_FALSE(plugin->toolTip().isEmpty());
  EXPECT_FALSE(plugin->whatsThis().isEmpty());
  const QIcon icon = plugin->icon();
  ASSERT_FALSE(icon.isNull());
  const QImage drawn = icon.pixmap(icon.availableSizes().value(0)).toImage();
  EXPECT_NE(drawn.pixel(0, 0), drawn.pixel(drawn.width() / 2, drawn.height() / 2)) << "the icon is drawn";
  EXPECT_FALSE(plugin->isContainer());
  EXPECT_TRUE(plugin->codeTemplate().isEmpty());

  QDomDocument dom;
  ASSERT_TRUE(dom.setContent(plugin->domXml()));
  const QDomElement widget = dom.documentElement().firstChildElement(QStringLiteral("widget"));
  EXPECT_EQ(widget.attribute(QStringLiteral("class")), plugin->name());
  const QDomElement rect = widget.firstChildElement(QStringLiteral("property")).firstChildElement(QStringLiteral("rect"));
  EXPECT_EQ(rect.firstChildElement(QStringLiteral("width")).text(), QStringLiteral("172"));
  EXPECT_EQ(rect.firstChildElement(QStringLiteral("height")).text(), QStringLiteral("36"));
}

TEST(LumoIndicatorDesignerPlugin, CreatesAWidgetThatTakesTheFormsProperties) {
  QPluginLoader loader;
  QDesignerCustomWidgetInterface* plugin = LoadPlugin(loader);
  ASSERT_NE(plugin, nullptr);
  plugin->initialize(nullptr);
  EXPECT_TRUE(plugin->isInitialized());
  QWidget form;
  QWidget* widget = plugin->createWidget(&form);
  ASSERT_NE(widget, nullptr);
  EXPECT_STREQ(widget->metaObject()->className(), "TLumoLiquidIndicator");
  EXPECT_EQ(widget->parentWidget(), &form);

  // Made without Designer's form editor (as QUiLoader makes it), the widget takes a form's
  // angle when it is first polished, as a widget a form compiled by uic made does.
  ASSERT_TRUE(widget->setProperty("IndicatorAngle", 900));
  EXPECT_EQ(widget->size(), QSize(172, 36));
  widget->ensurePolished();
  EXPECT_EQ(widget->size(), QSize(36, 172));

  const QMetaObject* meta = widget->metaObject();
  int enumerations = 0;
  for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
    const QMetaProperty property = meta->property(i);
    EXPECT_TRUE(property.isDesignable() && property.isWritable()) << property.name();
    if (!property.isEnumType())
      continue;
    ++enumerations;
    EXPECT_GT(property.enumerator().keyCount(), 1) << property.name();
  }
  EXPECT_EQ(enumerations, 10) << "every enumeration property offers its members";
}
