// indicator-gallery: one window that shows the range of the liquid-crystal indicator: the
// three kinds and styles, the seven colour schemes, rotations, bevels, materials, the three
// transparency modes over a patterned background, and hover effects.
//
//   indicator-gallery [--grab FILE.png]   (--grab saves the window once shown, then quits)
#include "LumoLiquidIndicator.h"

#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>
#include <functional>

using namespace LumoLiquidIndicator;

namespace {

// Diagonal stripes, so that what the transparent modes leave out can be seen.
class StripedPanel : public QWidget {
public:
  using QWidget::QWidget;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(250, 240, 200));
    painter.setPen(QPen(QColor(200, 90, 60), 3));
    for (int x = -height(); x < width(); x += 12)
      painter.drawLine(x, height(), x + height(), 0);
  }
};

QImage Checkerboard() {
  QImage image(12, 12, QImage::Format_RGB32);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x)
      image.setPixel(x, y, ((x / 6) ^ (y / 6)) ? qRgb(90, 110, 140) : qRgb(150, 170, 200));
  return image;
}

QImage Rainbow() {
  QImage image(64, 16, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient gradient(0, 0, 64, 0);
  gradient.setColorAt(0, Qt::red);
  gradient.setColorAt(0.5, Qt::darkGreen);
  gradient.setColorAt(1, Qt::blue);
  painter.fillRect(image.rect(), gradient);
  return image;
}

struct Gallery {
  QWidget* Window;
  int Row = 10;
  int Column = 10;
  int RowHeight = 0;

  void Section(const QString& title) {
    Row += RowHeight + (RowHeight ? 14 : 0);
    RowHeight = 0;
    auto* label = new QLabel(QStringLiteral("<b>%1</b>").arg(title), Window);
    label->move(10, Row);
    Row += 22;
    Column = 10;
  }

  // One indicator with a caption under it, placed to the right of the previous one.
  TLumoLiquidIndicator* Add(QWidget* parent, const QString& caption,
                            const std::function<void(TLumoLiquidIndicator*)>& configure, QPoint at = {}) {
    auto* lcd = new TLumoLiquidIndicator(parent);
    lcd->move(parent == Window ? QPoint(Column, Row) : at);
    lcd->Loaded();
    configure(lcd);
    if (parent == Window) {
      auto* label = new QLabel(caption, Window);
      label->move(Column, Row + lcd->height() + 2);
      Column += lcd->width() + 16;
      RowHeight = std::max(RowHeight, lcd->height() + 20);
    }
    return lcd;
  }
};


// The three kinds of glyph.
void AddKinds(Gallery& g) {
  g.Section(QStringLiteral("Kinds"));
  g.Add(g.Window, QStringLiteral("ik7segment"), [](auto* l) { l->SetIndicatorstring(QStringLiteral("-12.50")); });
  g.Add(g.Window, QStringLiteral("ik9segment"), [](auto* l) {
    l->SetIndicatorKind(ik9segment);
    l->SetIndicatorstring(QStringLiteral("03:45"));
  });
  g.Add(g.Window, QStringLiteral("ik5x7matrix"), [](auto* l) {
    l->SetIndicatorKind(ik5x7matrix);
    l->SetIndicatorstring(QStringLiteral("Tea 3:45"));
  });
}

// The three segment widths.
void AddStyles(Gallery& g) {
  g.Section(QStringLiteral("Styles"));
  for (const auto& [style, name] : {std::pair{isThin, "isThin"}, {isNormal, "isNormal"}, {isThick, "isThick"}})
    g.Add(g.Window, QString::fromLatin1(name), [style = style](auto* l) {
      l->SetIndicatorStyle(style);
      l->SetIndicatorstring(QStringLiteral("8.8.:88"));
    });
}

// The seven colour schemes.
void AddSchemes(Gallery& g) {
  g.Section(QStringLiteral("Colour schemes"));
  const char* schemes[] = {"csSilver", "csInvSilver", "csWhite", "csBlack", "csPlasma", "csInvPlasma", "csZORA"};
  for (int i = 0; i < 7; ++i)
    g.Add(g.Window, QString::fromLatin1(schemes[i]), [i](auto* l) {
      l->SetSignNumber(4);
      l->SetIndicatorWidth(100);
      l->SetIndicatorHeight(30);
      l->SetColorScheme(TLumoColorScheme(i));
      l->SetIndicatorstring(QStringLiteral("12.3%1").arg(i));
    });
}

// The same display at five angles.
void AddRotations(Gallery& g) {
  g.Section(QStringLiteral("Rotation (tenths of a degree)"));
  for (const int angle : {0, 300, 450, 900, 1800})
    g.Add(g.Window, QString::number(angle), [angle](auto* l) {
      l->SetSignNumber(5);
      l->SetIndicatorWidth(120);
      l->SetIndicatorHeight(34);
      l->SetIndicatorKind(ik9segment);
      l->SetIndicatorstring(QStringLiteral("12:34"));
      l->SetIndicatorAngle(angle);
    });
}

// The bevels, and bitmaps as materials.
void AddBevelsAndMaterials(Gallery& g) {
  g.Section(QStringLiteral("Bevels (outer / inner) and materials"));
  for (const auto& [bevel, name] : {std::pair{bkUP, "bkUP"}, {bkDown, "bkDown"}, {bkNone, "bkNone"}})
    g.Add(g.Window, QStringLiteral("%1 / %1").arg(QString::fromLatin1(name)), [bevel = bevel](auto* l) {
      l->SetSignNumber(5);
      l->SetIndicatorWidth(120);
      l->SetOuterBevel(bevel);
      l->SetInnerBevel(bevel);
      l->SetOuterBevelWidth(3);
      l->SetIndicatorstring(QStringLiteral("42.0"));
    });
  g.Add(g.Window, QStringLiteral("back tiled, fore stretched"), [](auto* l) {
    l->SetMaterialMode(mmTile);
    l->SetBackMaterial(Checkerboard());
    l->SetForeMaterial(Rainbow());
    l->SetIndicatorStyle(isThick);
    l->SetIndicatorstring(QStringLiteral("8888888888"));
  });
  g.Add(g.Window, QStringLiteral("back stretched, fore tiled"), [](auto* l) {
    l->SetBackMaterial(Rainbow());
    l->SetMaterialShadowMode(msmLight);
    l->SetForeMaterialMode(mmTile);
    l->SetForeMaterial(Checkerboard());
    l->SetIndicatorStyle(isThick);
    l->SetIndicatorstring(QStringLiteral("8888888888"));
  });
}

// The three transparency modes over a striped parent.
void AddTransparency(Gallery& g) {
  g.Section(QStringLiteral("Transparency over a patterned parent: tmNone, tmBackOnly, tmAll"));
  auto* panel = new StripedPanel(g.Window);
  panel->setGeometry(10, g.Row, 3 * 190 + 10, 60);
  for (int i = 0; i < 3; ++i)
    g.Add(panel, QString(), [i](auto* l) {
      l->SetTransparentMode(TLumoTransparentMode(i));
      l->SetIndicatorStyle(isThick);
      l->SetIndicatorstring(QStringLiteral("-8.7.6"));
    }, QPoint(10 + 190 * i, 12));
  g.RowHeight = 60;
}

// The hover effects.
void AddHover(Gallery& g) {
  g.Section(QStringLiteral("Hover: maColor, maWidth, maBoth (point at them)"));
  for (const auto action : {maColor, maWidth, maBoth})
    g.Add(g.Window, QString(), [action](auto* l) {
      l->SetMouseAction(action);
      l->SetIndicatorKind(ik9segment);
      l->SetIndicatorstring(QStringLiteral("12:00"));
    });
}

} // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Liquid-crystal indicator gallery"));
  Gallery g{&window};

  for (const auto section : {AddKinds, AddStyles, AddSchemes, AddRotations, AddBevelsAndMaterials, AddTransparency, AddHover})
    section(g);

  window.resize(std::max(7 * 116 + 10, 640), g.Row + g.RowHeight + 10);
  window.show();

  const QStringList args = app.arguments();
  const qsizetype grab = args.indexOf(QStringLiteral("--grab"));
  if (grab > 0 && grab + 1 < args.size()) {
    QTimer::singleShot(0, &window, [&window, file = args[grab + 1]] {
      window.grab().save(file);
      QApplication::quit();
    });
  }
  return app.exec();
}
