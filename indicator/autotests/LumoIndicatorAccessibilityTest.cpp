// The indicator as assistive technology meets it: a read-only display whose name and value are
// the shown text, and a value change announced once per new text. Run on a desktop with the
// accessibility bus up (WithAccessibilityBus.sh), where Qt's bridge delivers events.
#include "LumoLiquidIndicator.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<QString> Announced;  // the values of the value changes seen, in order

void Record(QAccessibleEvent* event) {
  if (event->type() == QAccessible::ValueChanged)
    Announced.push_back(static_cast<QAccessibleValueChangeEvent*>(event)->value().toString());
}

TEST(LumoIndicatorAccessibility, ReadOnlyDisplayShowingItsText) {
  TLumoLiquidIndicator lcd;
  lcd.setIndicatorstring(QStringLiteral("03:00"));
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&lcd);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->role(), QAccessible::StaticText);
  EXPECT_TRUE(accessible->state().readOnly);
  EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("03:00"));
  EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("03:00"));
}

TEST(LumoIndicatorAccessibility, EachNewTextIsAnnouncedOnce) {
  struct Row {
    const char* Name;
    QString Text;
    std::vector<QString> Expected;
  };
  const Row rows[] = {
      {"a new text", QStringLiteral("02:59"), {QStringLiteral("02:59")}},
      {"the same text again", QStringLiteral("02:59"), {}},
      {"an empty text", QString(), {QString()}},
  };
  // The bridge switches itself on once it has reached the accessibility bus.
  ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 20000))
      << "no accessibility bridge: run under WithAccessibilityBus.sh";
  TLumoLiquidIndicator lcd;
  ASSERT_NE(QAccessible::queryAccessibleInterface(&lcd), nullptr);
  const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(Record);
  for (const Row& row : rows) {
    Announced.clear();
    lcd.setIndicatorstring(row.Text);
    EXPECT_EQ(Announced, row.Expected) << row.Name;
  }
  QAccessible::installUpdateHandler(previous);
}

} // namespace
