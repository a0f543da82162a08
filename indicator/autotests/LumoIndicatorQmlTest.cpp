// The QML item LumoIndicator against the widget: for a table of settings, given in QML
// through `import Lumo.Indicator` and to the widget through its own property names, the
// item grabbed from an offscreen QQuickWindow shows the widget's pixels wherever the widget
// is opaque and the window's colour everywhere else, at ratio 1 and 2. Changes made from QML
// render once per frame, and an unchanged frame renders nothing. Runs on two offscreen
// screens, "ratio1" and "ratio2" (scaled by QT_SCREEN_SCALE_FACTORS), with Qt Quick's
// software backend.
#include "LumoIndicatorItem.h"
#include "LumoLiquidIndicator_p.h"
#include "LumoOutsideMembers.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaProperty>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QQuickWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The module's type registration, linked into this program: the item created through
// `import Lumo.Indicator` is then this program's own class, not a plugin's copy of it.
void qml_register_types_Lumo_Indicator();

namespace {

constexpr QRgb Background = 0xFFFF00FF;  // the window's colour: what shows through

// One property: its widget name and value, its QML name and the QML text of the same value.
struct Setting {
  const char* Widget;
  QVariant Value;
  const char* Qml;
  QString QmlValue;
};
using Settings = std::vector<Setting>;

QScreen* ScreenOfRatio(int ratio) {
  for (QScreen* screen : QGuiApplication::screens())
    if (screen->devicePixelRatio() == ratio)
      return screen;
  return nullptr;
}

// Material images written once for the whole program.
struct Materials {
  QTemporaryDir Dir;
  QString Back = Dir.filePath(QStringLiteral("back.png"));
  QString Fore = Dir.filePath(QStringLiteral("fore.png"));
  Materials() {
    QImage back(7, 5, QImage::Format_RGB32);
    QImage fore(3, 4, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x)
        back.setPixel(x, y, qRgb(40 * x, 50 * y, 120));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 3; ++x)
        fore.setPixel(x, y, qRgb(255 - 60 * y, 80 * x, 30));
    back.save(Back);
    fore.save(Fore);
  }
};
const Materials& TheMaterials() {
  static const Materials materials;
  return materials;
}

Setting Enum(const char* widget, const char* qml, const char* key) {
  return {widget, QString::fromLatin1(key), qml, QStringLiteral("LumoIndicator.") + QLatin1String(key)};
}
Setting Int(const char* widget, const char* qml, int value) {
  return {widget, value, qml, QString::number(value)};
}
Setting Text(const char* widget, const char* qml, const QString& value) {
  return {widget, value, qml, QLatin1Char('"') + value + QLatin1Char('"')};
}
Setting Color(const char* widget, const char* qml, QRgb rgb) {
  return {widget, qint32(qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16), qml,
          QLatin1Char('"') + QColor(rgb).name() + QLatin1Char('"')};
}
Setting Material(const char* widget, const char* qml, const QString& path) {
  return {widget, QImage(path), qml, QLatin1Char('"') + QUrl::fromLocalFile(path).toString() + QLatin1Char('"')};
}

// The widget, loaded in a window on the screen of the ratio, then given the settings.
struct Widget {
  QWidget Window;
  TLumoLiquidIndicator* Lcd = new TLumoLiquidIndicator(&Window);
  Widget(int ratio, const Settings& settings, bool hovered) {
    Window.resize(600, 600);
    Window.winId();
    Window.windowHandle()->setScreen(ScreenOfRatio(ratio));
    Lcd->Loaded();
    for (const Setting& s : settings)
      EXPECT_TRUE(Lcd->setProperty(s.Widget, s.Value)) << s.Widget;
    if (hovered) {
      QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
      QCoreApplication::sendEvent(Lcd, &enter);
    }
    QCoreApplication::sendPostedEvents();
  }
  // What the widget shows: its window shape and, in the transparent modes, its clip region.
  QRegion Opaque() const {
    QRegion opaque = Lcd->mask().isEmpty() ? QRegion(Lcd->rect()) : Lcd->mask();
    if (const std::optional<QRegion> clip = LumoLiquidIndicator::ClipRegion(*Lcd))
      opaque &= *clip;
    return opaque;
  }
};

// The item, made from QML text, in an offscreen window on the screen of the ratio.
struct Item {
  QQmlEngine Engine;
  QQuickWindow Window;
  std::unique_ptr<TLumoIndicatorItem> Lcd;
  Item(int ratio, const QString& qml) {
    volatile const auto registration = &qml_register_types_Lumo_Indicator;
    (void)registration;
    Engine.addImportPath(QStringLiteral(LUMO_QML_IMPORT_PATH));
    // Placed on the screen, as the offscreen platform takes a window's screen from its place.
    QScreen* screen = ScreenOfRatio(ratio);
    Window.setScreen(screen);
    Window.setGeometry(QRect(screen->geometry().topLeft() + QPoint(20, 20), QSize(600, 600)));
    Window.create();
    Window.setColor(QColor::fromRgb(Background));
    QQmlComponent component(&Engine);
    component.setData(qml.toUtf8(), QUrl(QStringLiteral("file:///lumo-test/Item.qml")));
    Lcd.reset(qobject_cast<TLumoIndicatorItem*>(component.create()));
    EXPECT_TRUE(Lcd) << qPrintable(component.errorString());
    if (Lcd)
      Lcd->setParentItem(Window.contentItem());
  }
  QImage Grab() { return Window.grabWindow().convertToFormat(QImage::Format_RGB32); }
  void Evaluate(const QString& script) {
    QQmlExpression expression(qmlContext(Lcd.get()), Lcd.get(), script);
    expression.evaluate();
    EXPECT_FALSE(expression.hasError()) << qPrintable(expression.error().toString());
  }
};

QString QmlOf(const Settings& settings) {
  QString qml = QStringLiteral("import Lumo.Indicator\nLumoIndicator {\n");
  for (const Setting& s : settings)
    qml += QStringLiteral("  %1: %2\n").arg(QLatin1String(s.Qml), s.QmlValue);
  return qml + QStringLiteral("}\n");
}

// Pixels of the grabbed window that differ from the widget (where it is opaque) or from
// the window's colour (where it is not), over the widget's area; the first is described.
int Mismatches(const QImage& grabbed, const Widget& widget, QString* first) {
  const QImage& image = LumoLiquidIndicator::RenderedImage(*widget.Lcd);
  const qreal ratio = image.devicePixelRatio();
  const QRegion opaque = widget.Opaque();
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const bool shown = opaque.contains(QPoint(int(x / ratio), int(y / ratio)));
      const QRgb want = shown ? image.pixel(x, y) : Background;
      if (grabbed.pixel(x, y) == want)
        continue;
      if (n++ == 0)
        *first = QStringLiteral("(%1, %2): %3 instead of %4").arg(x).arg(y).arg(grabbed.pixel(x, y), 8, 16).arg(want, 8, 16);
    }
  return n;
}

void ExpectSamePixels(Item& item, const Widget& widget) {
  ASSERT_TRUE(item.Lcd);
  EXPECT_EQ(item.Lcd->size().toSize(), widget.Lcd->size());
  QString first;
  EXPECT_EQ(Mismatches(item.Grab(), widget, &first), 0) << qPrintable(first);
}

struct Row {
  const char* Name;
  Settings Values;
  bool Hovered = false;
};

std::vector<Row> Rows() {
  const Materials& m = TheMaterials();
  const Setting text = Text("Indicatorstring", "indicatorString", QStringLiteral("12:3.4"));
  return {
      {"seven segments", {text}},
      {"nine segments at 30 degrees",
       {Enum("IndicatorKind", "indicatorKind", "ik9segment"), text, Int("IndicatorAngle", "indicatorAngle", 300)}},
      {"5x7 dots, thick, upside down",
       {Enum("IndicatorKind", "indicatorKind", "ik5x7matrix"), Int("SignNumber", "signNumber", 5),
        Text("Indicatorstring", "indicatorString", QStringLiteral("Ab-9")),
        Enum("IndicatorStyle", "indicatorStyle", "isThick"), Int("IndicatorAngle", "indicatorAngle", 1800)}},
      {"plasma scheme at 90 degrees, larger",
       {text, Enum("ColorScheme", "colorScheme", "csPlasma"), Int("IndicatorWidth", "indicatorWidth", 240),
        Int("IndicatorHeight", "indicatorHeight", 50), Int("IndicatorAngle", "indicatorAngle", 900)}},
      {"own colours and bevels",
       {text, Color("BackColor", "backColor", 0xFF204060), Color("BevelColor", "bevelColor", 0xFFC08020),
        Color("NumberForeColor", "numberForeColor", 0xFFF0F0A0), Color("NumberBackColor", "numberBackColor", 0xFF304050),
        Enum("InnerBevel", "innerBevel", "bkUP"), Int("OuterBevelWidth", "outerBevelWidth", 4),
        Int("IndicatorGap", "indicatorGap", 5)}},
      {"stretched back and tiled fore materials, light shadow",
       {text, Material("BackMaterial", "backMaterial", m.Back), Material("ForeMaterial", "foreMaterial", m.Fore),
        Enum("ForeMaterialMode", "foreMaterialMode", "mmTile"),
        Enum("MaterialShadowMode", "materialShadowMode", "msmLight")}},
      {"tiled back material, see-through back",
       {text, Material("BackMaterial", "backMaterial", m.Back), Enum("MaterialMode", "materialMode", "mmTile"),
        Enum("TransparentMode", "transparentMode", "tmBackOnly")}},
      {"lit parts only at 45 degrees",
       {text, Enum("TransparentMode", "transparentMode", "tmAll"), Int("IndicatorAngle", "indicatorAngle", 450)}},
      {"hovered, colour and width",
       {text, Enum("MouseAction", "mouseAction", "maBoth"), Color("NumberForeColor1", "numberForeColor1", 0xFF00A000)},
       true},
  };
}

void Hover(Item& item) {
  const QPointF inside(item.Lcd->width() / 2, item.Lcd->height() / 2);
  QMouseEvent move(QEvent::MouseMove, inside, item.Window.mapToGlobal(inside), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(&item.Window, &move);
}

class LumoIndicatorQml : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(LumoIndicatorQml, ShowsTheWidgetsPixels) {
  const int ratio = GetParam();
  ASSERT_NE(ScreenOfRatio(ratio), nullptr);
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.Name);
    const Widget widget(ratio, row.Values, row.Hovered);
    Item item(ratio, QmlOf(row.Values));
    ASSERT_TRUE(item.Lcd);
    if (row.Hovered) {
      item.Grab();
      Hover(item);
      EXPECT_TRUE(item.Lcd->hovered());
    }
    ExpectSamePixels(item, widget);
  }
}

// A change from QML renders once, at the next frame, and shows what the widget shows with
// the same change; a frame without a change renders nothing; several changes before a
// frame render once.
TEST_P(LumoIndicatorQml, ChangesFromQmlRenderOncePerFrame) {
  const int ratio = GetParam();
  Settings settings{Text("Indicatorstring", "indicatorString", QStringLiteral("12:00"))};
  Item item(ratio, QmlOf(settings));
  ASSERT_TRUE(item.Lcd);
  item.Grab();
  const quint64 first = item.Lcd->RebuildCount();

  item.Evaluate(QStringLiteral("indicatorString = '88:88'"));
  settings[0] = Text("Indicatorstring", "indicatorString", QStringLiteral("88:88"));
  ExpectSamePixels(item, Widget(ratio, settings, false));
  EXPECT_EQ(item.Lcd->RebuildCount(), first + 1);

  item.Grab();
  EXPECT_EQ(item.Lcd->RebuildCount(), first + 1);

  item.Evaluate(QStringLiteral("indicatorKind = Lumo.ik9segment; indicatorAngle = 900; "
                               "backColor = 'navy'"));
  settings.push_back(Enum("IndicatorKind", "indicatorKind", "ik9segment"));
  settings.push_back(Int("IndicatorAngle", "indicatorAngle", 900));
  settings.push_back(Color("BackColor", "backColor", 0xFF000080));
  ExpectSamePixels(item, Widget(ratio, settings, false));
  EXPECT_EQ(item.Lcd->RebuildCount(), first + 2);
}

INSTANTIATE_TEST_SUITE_P(Ratio, LumoIndicatorQml, ::testing::Values(1, 2),
                         [](const auto& info) { return "ratio" + std::to_string(info.param); });

// Each QML property signals its change once, and an unchanged value not at all; the
// implicit size follows the rotated box.
TEST(LumoIndicatorQmlProperties, SignalsAndImplicitSize) {
  Item item(1, QStringLiteral("import Lumo.Indicator\nLumoIndicator {}"));
  ASSERT_TRUE(item.Lcd);
  EXPECT_EQ(item.Lcd->implicitWidth(), 172);
  EXPECT_EQ(item.Lcd->implicitHeight(), 36);
  int changes = 0;
  QObject::connect(item.Lcd.get(), &TLumoIndicatorItem::indicatorAngleChanged, [&] { ++changes; });
  item.Evaluate(QStringLiteral("indicatorAngle = 900"));
  item.Evaluate(QStringLiteral("indicatorAngle = 900"));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(item.Lcd->implicitWidth(), 36);
  EXPECT_EQ(item.Lcd->implicitHeight(), 172);
  // The size rule: at 90 degrees the width given to the item is the indicator's height.
  item.Evaluate(QStringLiteral("width = 50"));
  EXPECT_EQ(item.Lcd->indicatorHeight(), 50);
  EXPECT_EQ(item.Lcd->indicatorWidth(), 172);
}

// The example loads through the module and shows two displays.
TEST(LumoIndicatorQmlExample, ClockLoads) {
  QQmlEngine engine;
  engine.addImportPath(QStringLiteral(LUMO_QML_IMPORT_PATH));
  QQmlComponent component(&engine, QUrl::fromLocalFile(QStringLiteral(LUMO_QML_EXAMPLE)));
  std::unique_ptr<QObject> clock(component.create());
  ASSERT_TRUE(clock) << qPrintable(component.errorString());
  EXPECT_EQ(clock->findChildren<TLumoIndicatorItem*>().size(), 2);
}

// Both faces share one behaviour: an enumeration takes its members only, a scheme given while
// the item is created fills only the colours not given beside it, entering and leaving render
// anew with every mouse action (maNone included, to the same picture), and the accessible
// name is the application's where it gave one, the text otherwise, the value being the text.
TEST(LumoIndicatorQmlProperties, BehavesAsTheWidget) {
  Item item(1, QStringLiteral("import QtQuick\nimport Lumo.Indicator\n"
                              "LumoIndicator { backColor: 'navy'; colorScheme: Lumo.CsBlack;"
                              " indicatorString: '12:34'; Accessible.name: 'Countdown' }"));
  ASSERT_TRUE(item.Lcd);
  EXPECT_EQ(item.Lcd->backColor(), QColor(Qt::darkBlue).toRgb());
  EXPECT_EQ(item.Lcd->numberForeColor(), QColor(Qt::white));

  const int enumerations = LumoTest::ForEachValueOutsideMembers(
      TLumoIndicatorItem::staticMetaObject, [&item](const QMetaProperty& property, int outside) {
        const QVariant before = property.read(item.Lcd.get());
        property.write(item.Lcd.get(), outside);
        EXPECT_EQ(property.read(item.Lcd.get()), before) << property.name() << " " << outside;
      });
  EXPECT_EQ(enumerations, 10);

  item.Grab();
  const QImage before = item.Grab();
  const quint64 rebuilds = item.Lcd->RebuildCount();
  Hover(item);
  EXPECT_EQ(item.Grab(), before);
  EXPECT_EQ(item.Lcd->RebuildCount(), rebuilds + 1);

  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(item.Lcd.get());
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->role(), QAccessible::StaticText);
  EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Countdown"));
  item.Evaluate(QStringLiteral("indicatorString = '12:33'"));
  EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Countdown"));
  EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("12:33"));
  item.Evaluate(QStringLiteral("Accessible.name = ''"));
  item.Evaluate(QStringLiteral("indicatorString = '12:32'"));
  EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("12:32"));
}

// The file that gives every property in the documented spelling (qmllint checks it too) sets
// what it says; the colours it gives beside its scheme stay.
TEST(LumoIndicatorQmlExample, EveryPropertyAsDocumented) {
  QQmlEngine engine;
  engine.addImportPath(QStringLiteral(LUMO_QML_IMPORT_PATH));
  QQmlComponent component(&engine, QUrl::fromLocalFile(QStringLiteral(LUMO_QML_EVERY_PROPERTY)));
  std::unique_ptr<QObject> object(component.create());
  auto* lcd = qobject_cast<TLumoIndicatorItem*>(object.get());
  ASSERT_NE(lcd, nullptr) << qPrintable(component.errorString());
  EXPECT_EQ(lcd->colorScheme(), LumoLiquidIndicator::csZORA);
  EXPECT_EQ(lcd->indicatorKind(), LumoLiquidIndicator::ik9segment);
  EXPECT_EQ(lcd->outerBevel(), LumoLiquidIndicator::bkNone);
  EXPECT_EQ(lcd->mouseAction(), LumoLiquidIndicator::maColor);
  EXPECT_EQ(lcd->foreMaterialMode(), LumoLiquidIndicator::mmTile);
  EXPECT_EQ(lcd->backColor(), QColor(QStringLiteral("navy")));
  EXPECT_EQ(lcd->numberBackColor(), QColor(QStringLiteral("#304050")));
  EXPECT_EQ(lcd->numberForeColor1(), QColor(Qt::red));
}
