// A form edited in Designer's own form editor, with the indicator from its plugin file: a colour
// scheme chosen there is saved with the five colours it set, so that a program built from the
// saved form shows what Designer showed.
#include <QCoreApplication>
#include <QBuffer>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QTemporaryDir>
#include <QUiLoader>
#include <QWidget>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr const char* kColours[] = {"BevelColor", "BackColor", "NumberForeColor", "NumberForeColor1",
                                    "NumberBackColor"};

const char* const kForm = R"(<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <widget class="TLumoLiquidIndicator" name="lcd"/>
 </widget>
 <customwidgets>
  <customwidget>
   <class>TLumoLiquidIndicator</class>
   <extends>QWidget</extends>
   <header>LumoLiquidIndicator.h</header>
  </customwidget>
 </customwidgets>
</ui>
)";

// The indicator's property elements in a saved form, by name.
QMap<QString, QDomElement> SavedElements(const QString& contents) {
  QDomDocument dom;
  EXPECT_TRUE(dom.setContent(contents));
  QMap<QString, QDomElement> elements;
  const QDomNodeList widgets = dom.elementsByTagName(QStringLiteral("widget"));
  for (int i = 0; i < widgets.size(); ++i) {
    const QDomElement widget = widgets.at(i).toElement();
    if (widget.attribute(QStringLiteral("class")) != QStringLiteral("TLumoLiquidIndicator"))
      continue;
    for (QDomElement p = widget.firstChildElement(QStringLiteral("property")); !p.isNull();
         p = p.nextSiblingElement(QStringLiteral("property")))
      elements[p.attribute(QStringLiteral("name"))] = p.firstChildElement();
  }
  return elements;
}

// The values of the indicator's properties in a saved form, as uic reads them.
QMap<QString, QString> SavedProperties(const QString& contents) {
  QMap<QString, QString> values;
  const QMap<QString, QDomElement> elements = SavedElements(contents);
  for (auto it = elements.cbegin(); it != elements.cend(); ++it)
    values[it.key()] = it.value().text();
  return values;
}

// Designer's form editor, with the plugin found as Designer finds it: in a "designer"
// directory below a library path.
class DesignerForm : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(PluginRoot.isValid());
    ASSERT_TRUE(QDir(PluginRoot.path()).mkdir(QStringLiteral("designer")));
    ASSERT_TRUE(QFile::link(QString::fromUtf8(LUMO_DESIGNER_PLUGIN),
                            PluginRoot.filePath(QStringLiteral("designer/liblumoindicatorplugin.so"))));
    QCoreApplication::addLibraryPath(PluginRoot.path());
    Core.reset(QDesignerComponents::createFormEditor(nullptr));
    QDesignerComponents::initializePlugins(Core.get());
    Core->setWidgetBox(QDesignerComponents::createWidgetBox(Core.get(), &Host));
    Core->setPropertyEditor(QDesignerComponents::createPropertyEditor(Core.get(), &Host));
    new QDesignerIntegration(Core.get(), &Host);
    Form = Core->formWindowManager()->createFormWindow(&Host);
    ASSERT_TRUE(Form->setContents(QString::fromUtf8(kForm)));
    Indicator = Form->mainContainer()->findChild<QWidget*>(QStringLiteral("lcd"));
    ASSERT_NE(Indicator, nullptr);
    ASSERT_STREQ(Indicator->metaObject()->className(), "TLumoLiquidIndicator");
  }
  void TearDown() override { QCoreApplication::removeLibraryPath(PluginRoot.path()); }

  QTemporaryDir PluginRoot;
  std::unique_ptr<QDesignerFormEditorInterface> Core;
  QWidget Host;  // the editor's windows, gone before the editor
  QDesignerFormWindowInterface* Form = nullptr;
  QWidget* Indicator = nullptr;
};

TEST_F(DesignerForm, SavesTheColoursASchemeSet) {
  struct Row {
    const char* Name;
    int Scheme;
    bool Selected;  // shown in the property editor while the scheme is chosen
  };
  const Row rows[] = {{"black, selected", 3, true}, {"ZORA, not selected", 6, false}};
  for (const Row& row : rows) {
    Core->propertyEditor()->setObject(row.Selected ? static_cast<QObject*>(Indicator) : Form->mainContainer());
    Form->cursor()->setWidgetProperty(Indicator, QStringLiteral("ColorScheme"), row.Scheme);
    ASSERT_EQ(Indicator->property("ColorScheme").toInt(), row.Scheme) << row.Name;

    const QMap<QString, QString> saved = SavedProperties(Form->contents());
    for (const char* colour : kColours) {
      ASSERT_TRUE(saved.contains(QString::fromLatin1(colour))) << row.Name << ": " << colour;
      EXPECT_EQ(saved[QString::fromLatin1(colour)], Indicator->property(colour).toString())
          << row.Name << ": " << colour;
    }
    EXPECT_TRUE(Form->isDirty()) << row.Name;
  }
}

// In the form editor the widget behaves as loaded: a new angle turns it at once.
TEST_F(DesignerForm, TurnsAtOnceWhileEdited) {
  Form->cursor()->setWidgetProperty(Indicator, QStringLiteral("IndicatorAngle"), 900);
  EXPECT_EQ(Indicator->size(), QSize(36, 172));
}

// A colour picked in the property editor is saved as a <color>; a system colour that a pick
// replaced comes back when the pick is undone. What Designer saved, QUiLoader reads back with
// the plugin as the form held it.
TEST_F(DesignerForm, SavesPickedColoursAndKeepsSystemColours) {
  const QColor picked(0x12, 0x34, 0x56);
  struct Row {
    const char* Name;
    QString Form;       // loaded into Designer first (none: the plain form)
    bool Pick;          // picks a back colour in the property editor
    bool Undo;          // then undoes it
    qint32 BackColor;   // read back from the saved form
  };
  QFile colourForm(QString::fromUtf8(LUMO_COLOUR_FORM));
  ASSERT_TRUE(colourForm.open(QIODevice::ReadOnly));
  const QString systemColours = QString::fromUtf8(colourForm.readAll());
  const Row rows[] = {
      {"picked", {}, true, false, 0x563412},
      {"system colour kept", systemColours, false, false, qint32(0x8000000F)},
      {"system colour picked over", systemColours, true, false, 0x563412},
      {"system colour picked over, undone", systemColours, true, true, qint32(0x8000000F)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    if (!row.Form.isEmpty()) {
      ASSERT_TRUE(Form->setContents(row.Form));
      Indicator = Form->mainContainer()->findChild<QWidget*>(QStringLiteral("lcd"));
      ASSERT_NE(Indicator, nullptr);
    }
    Core->propertyEditor()->setObject(Indicator);
    if (row.Pick)
      Form->cursor()->setWidgetProperty(Indicator, QStringLiteral("backColor"), picked);
    if (row.Undo)
      Form->commandHistory()->undo();
    const QString saved = Form->contents();
    if (row.Pick && !row.Undo) {
      const QDomElement colour = SavedElements(saved).value(QStringLiteral("backColor"));
      EXPECT_EQ(colour.tagName(), QStringLiteral("color"));
      EXPECT_EQ(colour.firstChildElement(QStringLiteral("red")).text(), QStringLiteral("18"));
      EXPECT_EQ(colour.firstChildElement(QStringLiteral("blue")).text(), QStringLiteral("86"));
    }

    QUiLoader loader;
    loader.addPluginPath(PluginRoot.filePath(QStringLiteral("designer")));
    QByteArray bytes = saved.toUtf8();
    QBuffer buffer(&bytes);
    const std::unique_ptr<QWidget> loaded(loader.load(&buffer));
    ASSERT_NE(loaded, nullptr);
    const QWidget* lcd = loaded->findChild<QWidget*>(QStringLiteral("lcd"));
    ASSERT_NE(lcd, nullptr);
    ASSERT_STREQ(lcd->metaObject()->className(), "TLumoLiquidIndicator");
    EXPECT_EQ(lcd->property("BackColor").toInt(), row.BackColor);
    if (!row.Form.isEmpty()) {
      EXPECT_EQ(lcd->property("NumberBackColor").toInt(), 0x123456) << "the older form's number";
    }
  }
}

} // namespace
