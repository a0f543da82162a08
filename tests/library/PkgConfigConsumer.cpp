// A program built with nothing but pkg-config's flags for LumoIndicator, as C++17: the
// installed headers compile, the shared library links and runs, and what it exports (the
// widget's class and the enumerations' meta-object) is reachable. Exits non-zero on failure.
#include <LumoIndicatorVersion.h>
#include <LumoLiquidIndicator.h>

#include <QApplication>
#include <QMetaEnum>
#include <cstdio>

static_assert(__cplusplus == 201703L, "built as C++17");

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TLumoLiquidIndicator lcd;
  lcd.setIndicatorKind(TLumoLiquidIndicator::ik9segment);
  lcd.setIndicatorstring(QStringLiteral("12:34"));
  QObject* object = &lcd;
  const struct {
    const char* What;
    bool Holds;
  } checks[] = {
      {"the setters and getters", lcd.Indicatorstring() == QStringLiteral("12:34")},
      {"the properties", object->property("IndicatorKind").toInt() == 2},
      {"qobject_cast", qobject_cast<TLumoLiquidIndicator*>(object) == &lcd},
      {"the enumerations' meta-object", QMetaEnum::fromType<LumoLiquidIndicator::TLumoColorScheme>().keyCount() == 7},
      {"the version header", qstrcmp(LUMO_INDICATOR_VERSION_STR, EXPECTED_VERSION) == 0 &&
                                 LUMO_INDICATOR_VERSION >= 0x020300},
  };
  int failures = 0;
  for (const auto& check : checks) {
    if (!check.Holds) {
      std::fprintf(stderr, "FAILED: %s\n", check.What);
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
