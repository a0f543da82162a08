// A program built with nothing but pkg-config's flags for LumoIndicator, as C++17: the
// installed headers compile, the shared library links and runs, what it exports (the widget's
// class and the enumerations' meta-object) is reachable, and the widget behaves as a Qt
// developer expects in the first hour. Exits non-zero on failure.
#include <LumoIndicatorVersion.h>
#include <LumoLiquidIndicator.h>

#include <QAccessible>
#include <QApplication>
#include <QMetaEnum>
#include <cstdio>
#include <functional>

static_assert(__cplusplus == 201703L, "built as C++17");

namespace {

// A scheme set in code, with no Loaded(), is drawn once the widget is shown.
bool SchemeIsDrawn() {
  QWidget window;
  auto* lcd = new TLumoLiquidIndicator(&window);
  lcd->setColorScheme(TLumoLiquidIndicator::csBlack);
  window.show();
  return lcd->grab().toImage().pixel(86, 4) == qRgb(0, 0, 0) && lcd->BackColor() == 0;
}

// qRgb values are read back as given.
bool RgbReadBack() {
  TLumoLiquidIndicator lcd;
  lcd.setBackColor(qRgb(0x20, 0x40, 0x80));
  lcd.setNumberForeColor(0xff102030);
  return lcd.backColor() == QColor(0x20, 0x40, 0x80) && lcd.BackColor() == 0x804020 &&
         lcd.numberForeColor() == QColor(0x10, 0x20, 0x30);
}

// The application's accessible name stays; the text is the value.
bool AccessibleNameKept() {
  TLumoLiquidIndicator lcd;
  lcd.setAccessibleName(QStringLiteral("Countdown"));
  lcd.setIndicatorstring(QStringLiteral("03:00"));
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&lcd);
  return accessible != nullptr && accessible->text(QAccessible::Name) == QStringLiteral("Countdown") &&
         accessible->text(QAccessible::Value) == QStringLiteral("03:00");
}

} // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TLumoLiquidIndicator lcd;
  lcd.setIndicatorKind(TLumoLiquidIndicator::ik9segment);
  lcd.setIndicatorstring(QStringLiteral("12:34"));
  QObject* object = &lcd;
  const struct {
    const char* What;
    std::function<bool()> Holds;
  } checks[] = {
      {"the setters and getters", [&] { return lcd.Indicatorstring() == QStringLiteral("12:34"); }},
      {"the properties", [&] { return object->property("IndicatorKind").toInt() == 2; }},
      {"qobject_cast", [&] { return qobject_cast<TLumoLiquidIndicator*>(object) == &lcd; }},
      {"the enumerations' meta-object",
       [] { return QMetaEnum::fromType<LumoLiquidIndicator::TLumoColorScheme>().keyCount() == 7; }},
      {"the version header",
       [] { return qstrcmp(LUMO_INDICATOR_VERSION_STR, EXPECTED_VERSION) == 0 && LUMO_INDICATOR_VERSION >= 0x020300; }},
      {"a scheme set in code without Loaded() is drawn", SchemeIsDrawn},
      {"qRgb colours are read back as given", RgbReadBack},
      {"the application's accessible name is kept, the text is the value", AccessibleNameKept},
  };
  int failures = 0;
  for (const auto& check : checks) {
    if (!check.Holds()) {
      std::fprintf(stderr, "FAILED: %s\n", check.What);
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
