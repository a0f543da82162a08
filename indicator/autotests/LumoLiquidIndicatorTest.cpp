// The indicator widget's properties and their change handling: defaults, unchanged values,
// ignored values, the deferred refresh, sizes at any rotation, hover and its events.
#include "LumoOutsideMembers.h"
#include "LumoWidgetFixture.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QMetaProperty>
#include <QPalette>
#include <QVariant>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

using namespace LumoLiquidIndicator;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
  int Paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      ++Paints;
    return false;
  }
};

struct Harness {
  std::unique_ptr<QWidget> Parent = std::make_unique<QWidget>();
  TLumoLiquidIndicator* Lcd = new TLumoLiquidIndicator(Parent.get());
  PaintCounter Counter;

  explicit Harness(bool loaded = true, bool shown = false) {
    Parent->resize(400, 400);
    if (loaded)
      Lcd->Loaded();
    if (shown)
      Parent->show();
    if (loaded)  // settling would polish, and so load, a control not loaded
      Settle();
    Lcd->installEventFilter(&Counter);
  }
  static void Settle() { LumoTest::Settle(); }
};

QImage Material(int width, int height, QRgb color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

} // namespace

TEST(LumoLiquidIndicatorControl, NewControlHasTheDefaults) {
  TLumoLiquidIndicator lcd;
  EXPECT_EQ(lcd.size(), QSize(172, 36));
  EXPECT_EQ(RenderedImage(lcd).size(), QSize(172, 36));
  EXPECT_EQ(lcd.SignNumber(), 10);
  EXPECT_EQ(lcd.IndicatorWidth(), 172);
  EXPECT_EQ(lcd.IndicatorHeight(), 36);
  EXPECT_EQ(lcd.IndicatorGap(), 2);
  EXPECT_EQ(lcd.IndicatorKind(), ik7segment);
  EXPECT_EQ(lcd.InnerBevel(), bkDown);
  EXPECT_EQ(lcd.OuterBevel(), bkUP);
  EXPECT_EQ(lcd.InnerBevelWidth(), 2);
  EXPECT_EQ(lcd.OuterBevelWidth(), 2);
  EXPECT_EQ(lcd.ColorScheme(), csSilver);
  EXPECT_EQ(lcd.BevelColor(), 0xDDDDDD);
  EXPECT_EQ(lcd.BackColor(), 0xDDDDDD);
  EXPECT_EQ(lcd.NumberForeColor(), 0x363636);
  EXPECT_EQ(lcd.NumberForeColor1(), 0x0000FF);
  EXPECT_EQ(lcd.NumberBackColor(), 0xD3D3D3);
  EXPECT_EQ(lcd.TransparentMode(), tmNone);
  EXPECT_TRUE(lcd.testAttribute(Qt::WA_OpaquePaintEvent));
  EXPECT_FALSE(ClipRegion(lcd).has_value());
  EXPECT_EQ(RebuildCount(lcd), 1u);
}

TEST(LumoLiquidIndicatorControl, EnumerationsAreSetByNameOrNumber) {
  TLumoLiquidIndicator lcd;
  EXPECT_TRUE(lcd.setProperty("IndicatorKind", "ik9segment"));
  EXPECT_EQ(lcd.IndicatorKind(), TLumoLiquidIndicator::ik9segment);
  EXPECT_TRUE(lcd.setProperty("TransparentMode", int(tmAll)));
  EXPECT_EQ(lcd.TransparentMode(), tmAll);
  const QMetaObject* meta = lcd.metaObject();
  EXPECT_TRUE(meta->property(meta->indexOfProperty("ForeMaterialMode")).isEnumType());
}

// Every property given the value it already has: no rebuild and no repaint.
TEST(LumoLiquidIndicatorControl, UnchangedValuesDoNothing) {
  Harness h(true, true);
  const quint64 rebuilds = RebuildCount(*h.Lcd);
  const QMetaObject* meta = h.Lcd->metaObject();
  for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
    const QMetaProperty property = meta->property(i);
    const QString name = property.name();
    if (name == "BackMaterial" || name == "ForeMaterial" || name == "ColorScheme")
      continue;
    SCOPED_TRACE(name.toStdString());
    EXPECT_TRUE(property.write(h.Lcd, property.read(h.Lcd)));
    Harness::Settle();
    EXPECT_EQ(RebuildCount(*h.Lcd), rebuilds);
    EXPECT_EQ(h.Counter.Paints, 0);
  }
}

// In a minimised window nobody sees the control: it takes every text at once and rebuilds a
// single time, when the window comes back.
TEST(LumoLiquidIndicatorControl, MinimisedWindowRebuildsOnceWhenBack) {
  QWidget window;
  auto* lcd = new TLumoLiquidIndicator(&window);
  window.show();
  window.showMinimized();
  const quint64 rebuilds = RebuildCount(*lcd);
  lcd->SetIndicatorstring(QStringLiteral("12:34"));
  lcd->SetIndicatorstring(QStringLiteral("12:33"));
  EXPECT_EQ(lcd->Indicatorstring(), QStringLiteral("12:33"));
  EXPECT_EQ(RebuildCount(*lcd), rebuilds);
  window.showNormal();
  EXPECT_EQ(RebuildCount(*lcd), rebuilds + 1);

  // A window system that keeps a minimised window mapped sends no show event on the way back.
  window.setWindowState(Qt::WindowMinimized);
  lcd->SetIndicatorstring(QStringLiteral("12:32"));
  window.setWindowState(Qt::WindowNoState);
  EXPECT_EQ(RebuildCount(*lcd), rebuilds + 2);
}

// The materials always copy and rebuild; the scheme is always stored and re-applied.
TEST(LumoLiquidIndicatorControl, MaterialsAndSchemeActEvenWhenUnchanged) {
  Harness h;
  const QImage material = Material(4, 4, qRgb(10, 20, 30));
  h.Lcd->SetBackMaterial(material);
  quint64 rebuilds = RebuildCount(*h.Lcd);
  h.Lcd->SetBackMaterial(material);
  EXPECT_EQ(RebuildCount(*h.Lcd), rebuilds + 1);
  h.Lcd->SetForeMaterial(QImage());
  EXPECT_EQ(RebuildCount(*h.Lcd), rebuilds + 2);

  h.Lcd->SetBackColor(0x123456);
  rebuilds = RebuildCount(*h.Lcd);
  h.Lcd->SetColorScheme(csSilver);  // unchanged, yet the silver colours come back
  EXPECT_EQ(h.Lcd->BackColor(), 0xDDDDDD);
  Harness::Settle();
  EXPECT_EQ(RebuildCount(*h.Lcd), rebuilds + 1);
}

TEST(LumoLiquidIndicatorControl, MaterialPropertiesKeepACopy) {
  Harness h;
  QImage material = Material(4, 4, qRgb(10, 20, 30));
  h.Lcd->SetForeMaterial(material);
  material.fill(qRgb(200, 0, 0));
  EXPECT_EQ(h.Lcd->ForeMaterial().pixel(0, 0), qRgb(10, 20, 30));
}

struct IgnoredValue {
  const char* Property;
  qint32 Value;
};

TEST(LumoLiquidIndicatorControl, NonPositiveCountsSizesAndWidthsAreIgnored) {
  const IgnoredValue rows[] = {
      {"SignNumber", 0},       {"SignNumber", -3},      {"IndicatorWidth", 0},
      {"IndicatorHeight", -1}, {"InnerBevelWidth", 0},  {"OuterBevelWidth", -2},
  };
  for (const IgnoredValue& row : rows) {
    SCOPED_TRACE(std::string(row.Property) + " " + std::to_string(row.Value));
    Harness h;
    const QVariant before = h.Lcd->property(row.Property);
    const quint64 rebuilds = RebuildCount(*h.Lcd);
    h.Lcd->setProperty(row.Property, row.Value);
    Harness::Settle();
    EXPECT_EQ(h.Lcd->property(row.Property), before);
    EXPECT_EQ(RebuildCount(*h.Lcd), rebuilds);
    EXPECT_EQ(h.Lcd->size(), QSize(172, 36));
  }
}

// Which changes rebuild at once, and which only take effect once loaded.
struct Change {
  const char* Property;
  QVariant Value;
  quint64 RebuildsWhenNotLoaded;
};

TEST(LumoLiquidIndicatorControl, ChangesRebuildOnceOrWaitForLoading) {
  const Change rows[] = {
      {"SignNumber", 5, 0},           {"IndicatorWidth", 100, 0},    {"IndicatorHeight", 20, 0},
      {"IndicatorAngle", 900, 0},     {"IndicatorGap", 0, 1},        {"Indicatorstring", "12:30", 1},
      {"IndicatorKind", "ik5x7matrix", 1}, {"InnerBevel", "bkNone", 1}, {"OuterBevel", "bkDown", 1},
      {"InnerBevelWidth", 3, 1},      {"OuterBevelWidth", 1, 1},     {"BevelColor", 0x808080, 1},
      {"BackColor", 0, 1},            {"NumberForeColor", 0xFF, 1},  {"NumberForeColor1", 0, 1},
      {"NumberBackColor", 0, 1},      {"IndicatorStyle", "isThick", 1}, {"MouseAction", "maBoth", 1},
      {"TransparentMode", "tmAll", 1}, {"MaterialShadowMode", "msmNone", 1},
      {"MaterialMode", "mmTile", 1},  {"ForeMaterialMode", "mmTile", 1}, {"ColorScheme", "csBlack", 0},
  };
  for (const Change& row : rows) {
    SCOPED_TRACE(row.Property);
    Harness notLoaded(false);
    quint64 rebuilds = RebuildCount(*notLoaded.Lcd);
    ASSERT_TRUE(notLoaded.Lcd->setProperty(row.Property, row.Value));
    EXPECT_EQ(RebuildCount(*notLoaded.Lcd), rebuilds + row.RebuildsWhenNotLoaded);
    EXPECT_EQ(notLoaded.Lcd->size(), QSize(172, 36));
    Harness::Settle();  // the first polish loads it: what was only stored takes effect
    EXPECT_EQ(notLoaded.Lcd->size(), notLoaded.Lcd->sizeHint());

    Harness loaded;
    rebuilds = RebuildCount(*loaded.Lcd);
    ASSERT_TRUE(loaded.Lcd->setProperty(row.Property, row.Value));
    Harness::Settle();
    EXPECT_GE(RebuildCount(*loaded.Lcd), rebuilds + 1);
  }
}

TEST(LumoLiquidIndicatorControl, TextIsTheAccessibleNameOnEveryChange) {
  Harness h;
  for (const QString& text : {QStringLiteral("00:00"), QStringLiteral("12.5"), QString()}) {
    h.Lcd->SetIndicatorstring(text);
    EXPECT_EQ(h.Lcd->accessibleName(), text);
  }
}

// A name the application gives ("Countdown") stays through new texts, the text being the
// value; without one, or once the application clears it, the name is the text.
TEST(LumoLiquidIndicatorControl, AccessibleNameGivenByTheApplicationStays) {
  struct Row {
    const char* Name;
    QString Given;  // set before the text; null: none
    QString Expected;
  };
  const Row rows[] = {{"no name", QString(), QStringLiteral("12:34")},
                      {"the application's", QStringLiteral("Countdown"), QStringLiteral("Countdown")},
                      {"cleared", QStringLiteral(""), QStringLiteral("12:34")}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    Harness h;
    h.Lcd->SetIndicatorstring(QStringLiteral("00:00"));
    if (!row.Given.isNull())
      h.Lcd->setAccessibleName(row.Given);
    h.Lcd->SetIndicatorstring(QStringLiteral("12:34"));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(h.Lcd);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), row.Expected);
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("12:34"));
  }
}

// An enumeration property takes its members only, through setProperty as through its setter:
// any other value changes nothing, so the getter (and Designer) always shows a member.
TEST(LumoLiquidIndicatorControl, EnumerationsRefuseValuesOutsideTheirMembers) {
  const int enumerations = LumoTest::ForEachValueOutsideMembers(
      TLumoLiquidIndicator::staticMetaObject, [](const QMetaProperty& property, int outside) {
        SCOPED_TRACE(testing::Message() << property.name() << " " << outside);
        Harness h;
        const QVariant before = property.read(h.Lcd);
        const quint64 rebuilds = RebuildCount(*h.Lcd);
        property.write(h.Lcd, outside);
        Harness::Settle();
        EXPECT_EQ(property.read(h.Lcd), before);
        EXPECT_EQ(RebuildCount(*h.Lcd), rebuilds);
      });
  EXPECT_EQ(enumerations, 10);
  Harness h;
  h.Lcd->SetIndicatorKind(TLumoIndicatorKind(99));
  EXPECT_EQ(h.Lcd->IndicatorKind(), ik7segment);
}

struct BoxRow {
  qint32 Angle;
  QSize Box;
};

TEST(LumoLiquidIndicatorControl, LoadedControlTakesTheRotatedBox) {
  const BoxRow rows[] = {{0, {172, 36}},   {900, {36, 172}},  {1800, {172, 36}}, {2700, {36, 172}},
                         {450, {147, 147}}, {300, {167, 117}}, {-300, {167, 117}}};
  for (const BoxRow& row : rows) {
    SCOPED_TRACE(row.Angle);
    Harness h;
    h.Lcd->move(10, 20);
    h.Lcd->SetIndicatorAngle(row.Angle);
    EXPECT_EQ(h.Lcd->geometry(), QRect(QPoint(10, 20), row.Box));
    EXPECT_EQ(RenderedImage(*h.Lcd).size(), row.Box);
    EXPECT_EQ(h.Lcd->IndicatorWidth(), 172);
    EXPECT_EQ(h.Lcd->IndicatorHeight(), 36);
  }
  Harness back;
  back.Lcd->SetIndicatorAngle(900);
  back.Lcd->SetIndicatorAngle(0);
  EXPECT_EQ(back.Lcd->size(), QSize(172, 36));
}

TEST(LumoLiquidIndicatorControl, NewSizeResizesAHiddenControlBeforeReturning) {
  Harness h;
  h.Lcd->SetIndicatorAngle(450);
  h.Lcd->SetIndicatorWidth(100);
  const QSize box(qRound(100 * M_SQRT1_2 + 36 * M_SQRT1_2), qRound(100 * M_SQRT1_2 + 36 * M_SQRT1_2));
  EXPECT_EQ(h.Lcd->size(), box);
  EXPECT_TRUE(h.Lcd->mask().contains(QPoint(box.width() / 2, box.height() / 2)));
  EXPECT_FALSE(h.Lcd->mask().contains(QPoint(1, 1)));
  EXPECT_EQ(h.Lcd->IndicatorWidth(), 100);
}

struct ResizeRow {
  const char* Name;
  qint32 Angle;
  QSize NewSize;
  QSize ExpectedSize;
  qint32 ExpectedWidth;
  qint32 ExpectedHeight;
};

TEST(LumoLiquidIndicatorControl, ResizingFollowsTheSizeRuleOfTheAngle) {
  const ResizeRow rows[] = {
      {"straight", 0, {200, 50}, {200, 50}, 200, 50},
      {"upside down", 1800, {200, 50}, {200, 50}, 200, 50},
      {"quarter", 900, {50, 200}, {50, 200}, 200, 50},
      {"other angle", 300, {200, 50}, {167, 117}, 172, 36},
  };
  for (const ResizeRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Harness h(true, true);
    h.Lcd->SetIndicatorAngle(row.Angle);
    h.Lcd->resize(row.NewSize);
    Harness::Settle();
    EXPECT_EQ(h.Lcd->size(), row.ExpectedSize);
    EXPECT_EQ(h.Lcd->IndicatorWidth(), row.ExpectedWidth);
    EXPECT_EQ(h.Lcd->IndicatorHeight(), row.ExpectedHeight);
    EXPECT_EQ(RenderedImage(*h.Lcd).size(), row.ExpectedSize);
    const QRect shape = h.Lcd->mask().boundingRect();
    EXPECT_LE(std::abs(shape.width() - row.ExpectedSize.width()), 1);
    EXPECT_LE(std::abs(shape.height() - row.ExpectedSize.height()), 1);
  }
}

TEST(LumoLiquidIndicatorControl, SchemeKeepsGivenColoursUntilLoadedAndShowsAfterThePostedRefresh) {
  Harness notLoaded(false);
  notLoaded.Lcd->SetBackColor(0x112233);
  notLoaded.Lcd->SetColorScheme(csBlack);
  EXPECT_EQ(notLoaded.Lcd->ColorScheme(), csBlack);
  EXPECT_EQ(notLoaded.Lcd->BackColor(), 0x112233);   // a stored form's own colours stay
  EXPECT_EQ(notLoaded.Lcd->BevelColor(), 0x808080);  // the scheme gives the others

  Harness h;
  const quint64 rebuilds = RebuildCount(*h.Lcd);
  h.Lcd->SetColorScheme(csBlack);
  EXPECT_EQ(h.Lcd->BackColor(), 0x000000);
  EXPECT_EQ(h.Lcd->BevelColor(), 0x808080);
  EXPECT_EQ(h.Lcd->NumberBackColor(), 0x000000);
  EXPECT_EQ(h.Lcd->NumberForeColor(), 0xFFFFFF);
  EXPECT_EQ(h.Lcd->NumberForeColor1(), 0x0080FF);
  EXPECT_EQ(RebuildCount(*h.Lcd), rebuilds);
  EXPECT_EQ(RenderedImage(*h.Lcd).pixel(86, 4), qRgb(0xDD, 0xDD, 0xDD));
  QCoreApplication::sendPostedEvents(h.Lcd, TLumoLiquidIndicator::CM_INDICATORREFRESH);
  EXPECT_EQ(RebuildCount(*h.Lcd), rebuilds + 1);
  EXPECT_EQ(RenderedImage(*h.Lcd).pixel(86, 4), qRgb(0, 0, 0));

  // A single colour changed afterwards leaves the scheme as it is.
  h.Lcd->SetBackColor(0x112233);
  EXPECT_EQ(h.Lcd->ColorScheme(), csBlack);
}

TEST(LumoLiquidIndicatorControl, OpaqueOnlyWithoutTransparency) {
  Harness h;
  for (const auto mode : {tmBackOnly, tmAll, tmNone}) {
    h.Lcd->SetTransparentMode(mode);
    EXPECT_EQ(h.Lcd->testAttribute(Qt::WA_OpaquePaintEvent), mode == tmNone);
    EXPECT_EQ(ClipRegion(*h.Lcd).has_value(), mode != tmNone);
  }
}

// Entering and leaving each post one refresh, whatever the mouse action; the events come
// after the toolkit's own handling, before the refresh has run.
TEST(LumoLiquidIndicatorControl, HoverRefreshesOnceEachWayAndReportsInOrder) {
  Harness h;
  h.Lcd->SetIndicatorstring(QStringLiteral("88"));
  const QImage image = RenderedImage(*h.Lcd);
  std::vector<std::pair<std::string, quint64>> calls;
  QObject::connect(h.Lcd, &TLumoLiquidIndicator::onMouseEnter, [&](TLumoLiquidIndicator* sender) {
    EXPECT_EQ(sender, h.Lcd);
    calls.emplace_back("enter", RebuildCount(*sender));
  });
  QObject::connect(h.Lcd, &TLumoLiquidIndicator::onMouseExit, [&](TLumoLiquidIndicator* sender) {
    EXPECT_EQ(sender, h.Lcd);
    calls.emplace_back("exit", RebuildCount(*sender));
  });
  const quint64 rebuilds = RebuildCount(*h.Lcd);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QCoreApplication::sendEvent(h.Lcd, &enter);
  Harness::Settle();
  EXPECT_EQ(RebuildCount(*h.Lcd), rebuilds + 1);
  EXPECT_EQ(RenderedImage(*h.Lcd), image);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(h.Lcd, &leave);
  Harness::Settle();
  EXPECT_EQ(RebuildCount(*h.Lcd), rebuilds + 2);
  EXPECT_EQ(RenderedImage(*h.Lcd), image);
  const std::vector<std::pair<std::string, quint64>> expected = {{"enter", rebuilds},
                                                                   {"exit", rebuilds + 1}};
  EXPECT_EQ(calls, expected);
}

TEST(LumoLiquidIndicatorControl, SystemColoursComeFromTheApplicationPalette) {
  const QPalette palette = QGuiApplication::palette();
  const auto rgb = [](const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); };
  constexpr TColor btnFace = TColor(0x8000000F), windowText = TColor(0x80000008);
  EXPECT_EQ(TLumoLiquidIndicator::ResolveColor(btnFace), rgb(palette.color(QPalette::Button)));
  EXPECT_EQ(TLumoLiquidIndicator::ResolveColor(windowText), rgb(palette.color(QPalette::WindowText)));
  EXPECT_EQ(TLumoLiquidIndicator::ResolveColor(0x102030), 0x102030);
}

// A form sets the size and the properties of a hidden control, then loads it: the control
// settles at once, and a grab shows the image it rendered.
TEST(LumoLiquidIndicatorControl, FormLoadedControlSettlesAtLoading) {
  struct Row {
    const char* Name;
    QSize FormSize;  // empty: the form sets no size
    qint32 Angle;
    QSize Expected;
  };
  const Row rows[] = {
      {"main window", {193, 65}, 0, {193, 65}},
      {"turned, no size", {}, 300, {167, 117}},
      {"turned a quarter, sized", {36, 172}, 900, {36, 172}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    QWidget parent;
    auto* lcd = new TLumoLiquidIndicator(&parent);
    if (!row.FormSize.isEmpty())
      lcd->resize(row.FormSize);
    lcd->setProperty("IndicatorWidth", row.FormSize.isEmpty() ? 172 : std::max(row.FormSize.width(), row.FormSize.height()));
    lcd->setProperty("IndicatorHeight", row.FormSize.isEmpty() ? 36 : std::min(row.FormSize.width(), row.FormSize.height()));
    lcd->setProperty("IndicatorAngle", row.Angle);
    lcd->setProperty("Indicatorstring", QStringLiteral("12:34"));
    QMetaObject::invokeMethod(lcd, "Loaded");
    EXPECT_EQ(lcd->size(), row.Expected);
    EXPECT_EQ(RenderedImage(*lcd).size(), row.Expected);
    const QImage before = RenderedImage(*lcd);
    EXPECT_EQ(lcd->grab().toImage().convertToFormat(QImage::Format_RGB32), before);
    Harness::Settle();
    EXPECT_EQ(RenderedImage(*lcd), before);
  }
}

// Deferred refreshes posted before the first has run come down to one rebuild, and the image
// is the one a single change would have given.
struct BurstRow {
  const char* Name;
  std::function<void(TLumoLiquidIndicator*)> Burst;
  std::function<void(TLumoLiquidIndicator*)> Final;
};

TEST(LumoLiquidIndicatorControl, ABurstOfDeferredRefreshesRebuildsOnce) {
  const BurstRow rows[] = {
      {"five hover crossings",
       [](TLumoLiquidIndicator* lcd) {
         for (int i = 0; i < 5; ++i) {
           QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
           QCoreApplication::sendEvent(lcd, &enter);
           QEvent leave(QEvent::Leave);
           QCoreApplication::sendEvent(lcd, &leave);
         }
       },
       [](TLumoLiquidIndicator*) {}},
      {"three colour schemes",
       [](TLumoLiquidIndicator* lcd) {
         for (const auto scheme : {csBlack, csPlasma, csZORA})
           lcd->SetColorScheme(scheme);
       },
       [](TLumoLiquidIndicator* lcd) { lcd->SetColorScheme(csZORA); }},
  };
  for (const BurstRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Harness h;
    h.Lcd->SetMouseAction(maBoth);
    h.Lcd->SetIndicatorstring(QStringLiteral("12:34"));
    const quint64 rebuilds = RebuildCount(*h.Lcd);
    row.Burst(h.Lcd);
    Harness::Settle();
    EXPECT_EQ(RebuildCount(*h.Lcd), rebuilds + 1);

    Harness once;
    once.Lcd->SetMouseAction(maBoth);
    once.Lcd->SetIndicatorstring(QStringLiteral("12:34"));
    row.Final(once.Lcd);
    Harness::Settle();
    EXPECT_EQ(RenderedImage(*h.Lcd), RenderedImage(*once.Lcd));
  }
}
