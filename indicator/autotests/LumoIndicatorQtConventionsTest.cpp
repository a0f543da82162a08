// The indicator as Qt code expects a widget to behave: a change signal per property, the
// rotated box as size hint, and a control that settles in a layout.
#include "LumoGeometry_p.h"
#include "LumoWidgetFixture.h"

#include <QLabel>
#include <QMetaProperty>
#include <QPointer>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <functional>

using namespace LumoLiquidIndicator;

namespace {

// The QColor faces take colours, never a plain int: that could be read either way.
template <typename W> constexpr bool kTakesInt = requires(W& w) { w.setBackColor(0x204080); };
template <typename W> constexpr bool kTakesRgb = requires(W& w) { w.setBackColor(0x204080u); };
static_assert(!kTakesInt<TLumoLiquidIndicator> && kTakesRgb<TLumoLiquidIndicator>);

using LumoTest::Settle;

QImage Material() {
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(qRgb(10, 20, 30));
  return image;
}

struct SignalRow {
  const char* Property;
  QVariant Value;       // differs from the default
  bool AlwaysActs;      // signals again when set to the same value
};

const SignalRow kSignalRows[] = {
    {"ColorScheme", QVariant::fromValue(csBlack), true},
    {"SignNumber", 4, false},
    {"IndicatorWidth", 150, false},
    {"IndicatorHeight", 40, false},
    {"IndicatorAngle", 900, false},
    {"IndicatorGap", 3, false},
    {"Indicatorstring", QStringLiteral("12:34"), false},
    {"IndicatorKind", QVariant::fromValue(ik9segment), false},
    {"InnerBevel", QVariant::fromValue(bkUP), false},
    {"OuterBevel", QVariant::fromValue(bkNone), false},
    {"InnerBevelWidth", 3, false},
    {"OuterBevelWidth", 1, false},
    {"BevelColor", 0x010203, false},
    {"BackColor", 0x040506, false},
    {"NumberForeColor", 0x070809, false},
    {"NumberForeColor1", 0x0A0B0C, false},
    {"NumberBackColor", 0x0D0E0F, false},
    {"bevelColor", QColor(0x10, 0x20, 0x30), false},
    {"backColor", QColor(0x40, 0x50, 0x60), false},
    {"numberForeColor", QColor(0x70, 0x80, 0x90), false},
    {"numberForeColor1", QColor(0xA0, 0xB0, 0xC0), false},
    {"numberBackColor", QColor(0xD0, 0xE0, 0xF0), false},
    {"IndicatorStyle", QVariant::fromValue(isThick), false},
    {"MouseAction", QVariant::fromValue(maBoth), false},
    {"TransparentMode", QVariant::fromValue(tmAll), false},
    {"BackMaterial", Material(), true},
    {"ForeMaterial", Material(), true},
    {"MaterialShadowMode", QVariant::fromValue(msmLight), false},
    {"MaterialMode", QVariant::fromValue(mmTile), false},
    {"ForeMaterialMode", QVariant::fromValue(mmTile), false},
};

} // namespace

TEST(LumoIndicatorQtConventions, EveryPropertySignalsOncePerRealChange) {
  const QMetaObject& meta = TLumoLiquidIndicator::staticMetaObject;
  ASSERT_EQ(meta.propertyCount() - meta.propertyOffset(), qsizetype(std::size(kSignalRows)));
  for (const SignalRow& row : kSignalRows) {
    SCOPED_TRACE(row.Property);
    QWidget parent;
    auto* lcd = new TLumoLiquidIndicator(&parent);
    lcd->Loaded();
    const QMetaProperty property = meta.property(meta.indexOfProperty(row.Property));
    ASSERT_TRUE(property.hasNotifySignal());
    QSignalSpy spy(lcd, property.notifySignal());
    ASSERT_TRUE(property.write(lcd, row.Value));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0), property.read(lcd)) << "the signal carries the new value";
    property.write(lcd, row.Value);
    EXPECT_EQ(spy.count(), row.AlwaysActs ? 2 : 1) << "set again to the same value";
  }
}

TEST(LumoIndicatorQtConventions, IgnoredValuesAndIndirectChangesSignalAsTheyStore) {
  QWidget parent;
  auto* lcd = new TLumoLiquidIndicator(&parent);
  lcd->Loaded();
  parent.show();  // a hidden control hears of a new size only when shown
  QSignalSpy signs(lcd, &TLumoLiquidIndicator::SignNumberChanged);
  QSignalSpy widths(lcd, &TLumoLiquidIndicator::IndicatorWidthChanged);
  QSignalSpy heights(lcd, &TLumoLiquidIndicator::IndicatorHeightChanged);
  QSignalSpy backs(lcd, &TLumoLiquidIndicator::BackColorChanged);
  QSignalSpy bevels(lcd, &TLumoLiquidIndicator::BevelColorChanged);
  lcd->setSignNumber(0);
  lcd->setIndicatorWidth(-5);
  EXPECT_EQ(signs.count() + widths.count(), 0) << "ignored values change nothing";

  lcd->resize(200, 50);  // at angle 0 the indicator takes the control's size
  EXPECT_EQ(widths.count(), 1);
  EXPECT_EQ(heights.count(), 1);
  ASSERT_FALSE(widths.isEmpty());
  EXPECT_EQ(widths.at(0).at(0).toInt(), 200);

  lcd->setColorScheme(csWhite);  // changes the back colour, keeps the bevel colour
  EXPECT_EQ(backs.count(), 1);
  EXPECT_EQ(bevels.count(), 0);
}

TEST(LumoIndicatorQtConventions, SizeHintIsTheRotatedBox) {
  struct Row {
    const char* Name;
    bool Loaded;
    qint32 Angle;
    QSize Expected;
  };
  const Row rows[] = {
      {"upright", true, 0, {172, 36}},
      {"a quarter turn", true, 900, {36, 172}},
      {"45 degrees", true, 450, {147, 147}},
      {"a quarter turn before loading", false, 900, {36, 172}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TLumoLiquidIndicator lcd;
    if (row.Loaded)
      lcd.Loaded();
    lcd.setIndicatorAngle(row.Angle);
    EXPECT_EQ(lcd.sizeHint(), row.Expected);
    EXPECT_EQ(lcd.minimumSizeHint(), row.Expected);
  }
}

TEST(LumoIndicatorQtConventions, ControlSettlesInALayout) {
  struct Row {
    qint32 Angle;
    bool Loaded;  // as a form does after setting the properties; the layout gives no size
  };
  const Row rows[] = {{0, false}, {900, false}, {300, false}, {1800, false}, {0, true}, {900, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "angle " << row.Angle << (row.Loaded ? ", loaded" : ""));
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* lcd = new TLumoLiquidIndicator;
    layout->addWidget(lcd);
    layout->addWidget(new QLabel(QStringLiteral("below")));
    lcd->setIndicatorWidth(150);
    lcd->setIndicatorAngle(row.Angle);
    lcd->setIndicatorstring(QStringLiteral("12:34"));
    if (row.Loaded)
      lcd->Loaded();
    window.show();
    Settle();
    window.resize(window.width() + 50, window.height() + 80);
    Settle();
    EXPECT_EQ(lcd->size(), lcd->sizeHint());
    const quint64 rebuilds = RebuildCount(*lcd);
    const QRect geometry = lcd->geometry();
    Settle();
    EXPECT_EQ(RebuildCount(*lcd), rebuilds) << "nothing left to do once settled";
    EXPECT_EQ(lcd->geometry(), geometry);
    EXPECT_EQ(lcd->IndicatorWidth(), 150);
    EXPECT_EQ(lcd->IndicatorHeight(), 36);

    lcd->setIndicatorWidth(120);
    Settle();
    const TBoxSize box = RotatedBox(120, 36, row.Angle);
    EXPECT_EQ(lcd->size(), QSize(box.Width, box.Height)) << "the layout follows a new indicator size";
  }
}

namespace {

using TConnect = std::function<void(TLumoLiquidIndicator*, std::function<void()>)>;

template <typename... Args> TConnect On(void (TLumoLiquidIndicator::*signal)(Args...)) {
  return [signal](TLumoLiquidIndicator* lcd, std::function<void()> slot) {
    QObject::connect(lcd, signal, [slot](Args...) { slot(); });
  };
}

struct DeletionRow {
  const char* Name;
  TConnect Connect;
  std::function<void(TLumoLiquidIndicator*)> Trigger;
  bool Loaded;
};

} // namespace

// A listener may delete the control from inside its change signal; the setter that signalled
// then touches nothing of it again (the sanitizer build sees any fault).
TEST(LumoIndicatorQtConventions, ControlDeletedByItsOwnChangeSignal) {
  const auto scheme = [](TLumoLiquidIndicator* lcd) { lcd->SetColorScheme(csBlack); };
  const DeletionRow rows[] = {
      {"back colour, scheme", On(&TLumoLiquidIndicator::BackColorChanged), scheme, true},
      {"bevel colour, scheme", On(&TLumoLiquidIndicator::BevelColorChanged), scheme, true},
      {"fore colour 1, scheme", On(&TLumoLiquidIndicator::NumberForeColor1Changed), scheme, true},
      {"scheme", On(&TLumoLiquidIndicator::ColorSchemeChanged), scheme, true},
      {"width, resized before loading", On(&TLumoLiquidIndicator::IndicatorWidthChanged),
       [](TLumoLiquidIndicator* lcd) { lcd->resize(200, 50); lcd->Loaded(); }, false},
      {"width, held to the largest side", On(&TLumoLiquidIndicator::IndicatorWidthChanged),
       [](TLumoLiquidIndicator* lcd) { lcd->SetIndicatorWidth(40000); }, true},
      {"height, at a quarter turn", On(&TLumoLiquidIndicator::IndicatorHeightChanged),
       [](TLumoLiquidIndicator* lcd) { lcd->SetIndicatorAngle(900); lcd->SetIndicatorHeight(3); }, true},
      {"angle", On(&TLumoLiquidIndicator::IndicatorAngleChanged),
       [](TLumoLiquidIndicator* lcd) { lcd->SetIndicatorAngle(300); }, true},
      {"text", On(&TLumoLiquidIndicator::IndicatorstringChanged),
       [](TLumoLiquidIndicator* lcd) { lcd->SetIndicatorstring("1"); }, true},
  };
  for (const DeletionRow& row : rows) {
    SCOPED_TRACE(row.Name);
    QWidget parent;
    auto* raw = new TLumoLiquidIndicator(&parent);
    const QPointer<TLumoLiquidIndicator> lcd(raw);
    if (row.Loaded)
      raw->Loaded();
    row.Connect(raw, [raw] { delete raw; });
    row.Trigger(raw);
    EXPECT_TRUE(lcd.isNull());
    Settle();
  }
}

// Listeners run in turn; one that sets another colour while the scheme is signalling leaves
// the final values for those after it, and the scheme signals no stale colour afterwards.
TEST(LumoIndicatorQtConventions, LaterListenersSeeTheFinalValue) {
  QWidget parent;
  auto* lcd = new TLumoLiquidIndicator(&parent);
  lcd->Loaded();
  QObject::connect(lcd, &TLumoLiquidIndicator::BackColorChanged, [lcd] { lcd->SetNumberForeColor(0x123456); });
  std::vector<qint32> seen;
  QObject::connect(lcd, &TLumoLiquidIndicator::NumberForeColorChanged, [&seen](qint32 value) { seen.push_back(value); });
  lcd->SetColorScheme(csBlack);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 0x123456);
  EXPECT_EQ(lcd->NumberForeColor(), 0x123456);
}

// With a policy that lets the layout resize it, the control grows with its window and gives
// the room back when the window shrinks again.
TEST(LumoIndicatorQtConventions, GrowsAndShrinksWithItsLayout) {
  for (const auto policy : {QSizePolicy::Preferred, QSizePolicy::Expanding}) {
    SCOPED_TRACE(int(policy));
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* lcd = new TLumoLiquidIndicator;
    lcd->setSizePolicy(policy, policy);
    layout->addWidget(lcd);
    lcd->Loaded();
    EXPECT_LT(lcd->minimumSizeHint().width(), 172);
    EXPECT_LT(lcd->minimumSizeHint().height(), 36);
    window.resize(300, 120);
    window.show();
    Settle();
    const QSize first = lcd->size();
    window.resize(600, 240);
    Settle();
    EXPECT_GT(lcd->width(), first.width());
    EXPECT_EQ(lcd->IndicatorWidth(), lcd->width());
    window.resize(300, 120);
    Settle();
    EXPECT_EQ(lcd->size(), first);
    EXPECT_EQ(lcd->IndicatorHeight(), first.height());
  }
}

// The colours as Qt code gives them: a QColor or a colour name through setProperty, or a style
// sheet. Each stores the TColor the image is drawn with; a system colour written back as the
// colour it shows stays a system colour.
TEST(LumoIndicatorQtConventions, ColoursTakeQColorsNamesAndStyleSheets) {
  constexpr TColor kButtonFace = TColor(0x8000000F);
  struct Row {
    const char* Name;
    std::function<bool(TLumoLiquidIndicator&)> Set;
    TColor Back;        // the back colour stored afterwards (0xDDDDDD by default)
    TColor NumberFore;  // the lit segments' (0x363636 by default)
  };
  const auto property = [](const char* name, QVariant value) {
    return [name, value](TLumoLiquidIndicator& lcd) { return lcd.setProperty(name, value); };
  };
  const auto styleSheet = [](const char* sheet) {
    return [sheet](TLumoLiquidIndicator& lcd) {
      lcd.setStyleSheet(QString::fromLatin1(sheet));
      lcd.ensurePolished();
      return true;
    };
  };
  const auto back = [](auto value) {
    return [value](TLumoLiquidIndicator& lcd) {
      lcd.setBackColor(value);
      return true;
    };
  };
  const Row rows[] = {
      {"QColor", property("backColor", QColor(0x12, 0x34, 0x56)), 0x563412, 0x363636},
      {"qRgb", back(qRgb(0x20, 0x40, 0x80)), 0x804020, 0x363636},
      {"0xAARRGGBB", back(0xff204080), 0x804020, 0x363636},
      {"Qt::red", back(Qt::red), 0x0000FF, 0x363636},
      {"#rrggbb", property("backColor", QStringLiteral("#123456")), 0x563412, 0x363636},
      {"colour name", property("numberForeColor", QStringLiteral("navy")), 0xDDDDDD, 0x800000},
      {"not a colour", property("backColor", QStringLiteral("#12345")), 0xDDDDDD, 0x363636},
      {"style sheet", styleSheet("TLumoLiquidIndicator { qproperty-backColor: #123456; qproperty-numberForeColor: navy }"),
       0x563412, 0x800000},
      {"system colour, its own colour given back",
       [](TLumoLiquidIndicator& lcd) {
         lcd.SetBackColor(kButtonFace);
         return lcd.setProperty("backColor", lcd.backColor());
       },
       kButtonFace, 0x363636},
      {"system colour, then a style sheet of the colour it shows",
       [](TLumoLiquidIndicator& lcd) {
         lcd.SetBackColor(kButtonFace);
         lcd.setStyleSheet(QStringLiteral("* { qproperty-backColor: %1 }").arg(lcd.backColor().name()));
         lcd.ensurePolished();
         return true;
       },
       kButtonFace, 0x363636},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TLumoLiquidIndicator lcd;
    lcd.Loaded();
    const bool valid = row.Back != 0xDDDDDD || row.NumberFore != 0x363636;
    EXPECT_EQ(row.Set(lcd), valid);
    Settle();
    EXPECT_EQ(lcd.BackColor(), row.Back);
    EXPECT_EQ(lcd.NumberForeColor(), row.NumberFore);

    TLumoLiquidIndicator expected;
    expected.Loaded();
    expected.SetBackColor(row.Back);
    expected.SetNumberForeColor(row.NumberFore);
    Settle();
    EXPECT_TRUE(RenderedImage(lcd) == RenderedImage(expected)) << "drawn as the TColor setters draw it";
  }
}
