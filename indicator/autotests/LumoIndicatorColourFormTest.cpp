// A form holding the indicator's colours as Designer saves them (picked colours as colours, a
// system colour as its number, older forms' numbers), compiled by uic and loaded by QUiLoader:
// both give the colours the form holds and draw them as the TColor setters do.
#include "LumoWidgetFixture.h"
#include "ui_LumoIndicatorColourForm.h"
#include "ui_LumoIndicatorSchemeForm.h"

#include <QFile>
#include <QFileInfo>
#include <QUiLoader>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <vector>

using namespace LumoLiquidIndicator;

namespace {

// QUiLoader makes the indicator itself, as a program without the Designer plugin does.
class IndicatorLoader : public QUiLoader {
public:
  QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override {
    if (className != QStringLiteral("TLumoLiquidIndicator"))
      return QUiLoader::createWidget(className, parent, name);
    auto* widget = new TLumoLiquidIndicator(parent);
    widget->setObjectName(name);
    return widget;
  }
};

std::unique_ptr<QWidget> Compiled() {
  auto form = std::make_unique<QWidget>();
  Ui::ColourForm ui;
  ui.setupUi(form.get());
  return form;
}

std::unique_ptr<QWidget> Load(const char* form, QUiLoader&& loader) {
  QFile file(QString::fromUtf8(form));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return std::unique_ptr<QWidget>(loader.load(&file));
}

std::unique_ptr<QWidget> Loaded() {
  return Load(LUMO_COLOUR_FORM, IndicatorLoader());
}

using LumoTest::Settle;

} // namespace

TEST(LumoIndicatorColourForm, UicAndQUiLoaderSetTheColoursTheFormHolds) {
  struct Row {
    const char* Name;
    std::function<std::unique_ptr<QWidget>()> Make;
  };
  const Row rows[] = {{"compiled by uic", Compiled}, {"loaded by QUiLoader", Loaded}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    const std::unique_ptr<QWidget> form = row.Make();
    ASSERT_NE(form, nullptr);
    auto* lcd = form->findChild<TLumoLiquidIndicator*>(QStringLiteral("lcd"));
    ASSERT_NE(lcd, nullptr);
    lcd->Loaded();
    EXPECT_EQ(lcd->BevelColor(), 0x563412);
    EXPECT_EQ(lcd->BackColor(), TColor(0x8000000F)) << "the system colour stays one";
    EXPECT_EQ(lcd->NumberForeColor(), 0x0080FF);
    EXPECT_EQ(lcd->NumberForeColor1(), 0x0000FF) << "not in the form: the default";
    EXPECT_EQ(lcd->NumberBackColor(), 0x123456);

    TLumoLiquidIndicator expected;
    expected.SetIndicatorstring(QStringLiteral("88:88"));
    expected.SetBevelColor(0x563412);
    expected.SetBackColor(TColor(0x8000000F));
    expected.SetNumberForeColor(0x0080FF);
    expected.SetNumberBackColor(0x123456);
    expected.Loaded();
    Settle();
    EXPECT_TRUE(RenderedImage(*lcd) == RenderedImage(expected));
  }
}

// A form written by hand, a colour of its own before a colour scheme, an angle and no size,
// shown without anyone calling Loaded(): compiled by uic, loaded by QUiLoader making the widget
// itself and loaded by QUiLoader through the Designer plugin, it draws the same picture, the
// form's colour and the scheme's others in the rotated box of its angle.
TEST(LumoIndicatorColourForm, UicAndQUiLoaderDrawTheSameForm) {
  struct Row {
    const char* Name;
    std::function<std::unique_ptr<QWidget>()> Make;
  };
  std::vector<Row> rows = {
      {"compiled by uic",
       [] {
         auto form = std::make_unique<QWidget>();
         Ui::SchemeForm ui;
         ui.setupUi(form.get());
         return form;
       }},
      {"loaded by QUiLoader", [] { return Load(LUMO_SCHEME_FORM, IndicatorLoader()); }},
  };
#ifdef LUMO_DESIGNER_PLUGIN
  rows.push_back({"loaded by QUiLoader with the Designer plugin", [] {
                    QUiLoader loader;
                    loader.addPluginPath(QFileInfo(QString::fromUtf8(LUMO_DESIGNER_PLUGIN)).absolutePath());
                    return Load(LUMO_SCHEME_FORM, std::move(loader));
                  }});
#endif
  QImage first;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    const std::unique_ptr<QWidget> form = row.Make();
    ASSERT_NE(form, nullptr);
    form->show();
    Settle();
    auto* lcd = form->findChild<QWidget*>(QStringLiteral("lcd"));
    ASSERT_NE(lcd, nullptr);
    ASSERT_STREQ(lcd->metaObject()->className(), "TLumoLiquidIndicator");
    EXPECT_EQ(lcd->property("BackColor").toInt(), 0x800000) << "the form's own colour";
    EXPECT_EQ(lcd->property("BevelColor").toInt(), 0x000080) << "the scheme's";
    EXPECT_EQ(lcd->size(), QSize(167, 117));
    const QImage picture = lcd->grab().toImage();
    if (first.isNull())
      first = picture;
    EXPECT_TRUE(picture == first) << "the same picture as " << rows.front().Name;
  }
}
