#include "OrbForms.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QMetaMethod>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

#include <algorithm>

namespace OrbForms {

QFont LayoutFont(int pixelHeight, bool bold) {
  // Built from nothing and with every attribute marked as set, so that nothing of the
  // application's font, nor of a desktop theme's font for labels or buttons, shows through.
  QFont font(QStringLiteral("Tahoma"));
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  font.setResolveMask(QFont::AllPropertiesResolved);
  return font;
}

namespace {
// The gap that Qt's styles leave between a push button's icon and its text.
constexpr int StyleIconSpacing = 4;

// The image for screens of twice the pixel density beside a glyph: "BBOK.bmp" has "BBOK@2x.png".
QString DoubleDensityPath(const QString& resource) {
  const int dot = resource.lastIndexOf(u'.');
  return (dot < 0 ? resource : resource.left(dot)) + QStringLiteral("@2x.png");
}

// Image index of a strip of count, olive made transparent, trailing transparent columns added.
QPixmap GlyphImage(const QImage& strip, int count, int index, int trailing) {
  const int width = strip.width() / count;
  QImage glyph(width + trailing, strip.height(), QImage::Format_ARGB32);
  glyph.fill(Qt::transparent);
  for (int y = 0; y < strip.height(); ++y)
    for (int x = 0; x < width; ++x)
      if (const QRgb pixel = strip.pixel(index * width + x, y); pixel != qRgb(128, 128, 0))
        glyph.setPixel(x, y, pixel);
  return QPixmap::fromImage(glyph);
}

QIcon GlyphIcon(const QString& resource, int count, int trailing) {
  const QImage strip(resource);
  if (strip.isNull() || count < 1)
    return {};
  // Where there is a twin of twice the size, screens of a higher density draw that one.
  const QImage fine(DoubleDensityPath(resource));
  const bool sharp = fine.size() == strip.size() * 2;
  QIcon icon;
  for (int index = 0; index < std::min(count, 2); ++index) {
    const QIcon::Mode mode = index == 0 ? QIcon::Normal : QIcon::Disabled;
    icon.addPixmap(GlyphImage(strip, count, index, trailing), mode);
    if (sharp) {
      QPixmap pixmap = GlyphImage(fine, count, index, 2 * trailing);
      pixmap.setDevicePixelRatio(2);
      icon.addPixmap(pixmap, mode);
    }
  }
  return icon;
}
} // namespace

QIcon GlyphIcon(const QString& resource, int count) { return GlyphIcon(resource, count, 0); }

void SetButtonGlyph(QPushButton* button, const QString& resource, int count, int spacing) {
  // The style puts its own gap after the icon; transparent columns at the icon's right make
  // up the rest.
  const int trailing = qMax(0, spacing - StyleIconSpacing);
  const QIcon icon = GlyphIcon(resource, count, trailing);
  button->setIcon(icon);
  if (!icon.isNull())
    button->setIconSize(icon.availableSizes().value(0));
}

qreal FormScaleFor(const QFont& desktopFont) {
  qreal points = desktopFont.pointSizeF();
  if (points <= 0 && desktopFont.pixelSize() > 0)
    points = desktopFont.pixelSize() * 72.0 / 96.0;
  return std::max<qreal>(1, points / DesignedFontPoints);
}

qreal FormScale() { return FormScaleFor(QApplication::font()); }

int Scaled(int designed, qreal scale) { return qRound(designed * scale); }

QIcon ScaledIcon(const QIcon& icon, QSize designed, qreal scale) {
  QIcon scaled;
  const QSize size(Scaled(designed.width(), scale), Scaled(designed.height(), scale));
  for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
    // The finest image the icon holds, drawn at one and at two device pixels per pixel.
    const QPixmap finest = icon.pixmap(designed, 2.0, mode);
    for (const int ratio : {1, 2}) {
      QPixmap pixmap = finest.scaled(size * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      pixmap.setDevicePixelRatio(ratio);
      scaled.addPixmap(pixmap, mode);
    }
  }
  return scaled;
}

namespace {
QRect ScaledRect(const QRect& rect, qreal scale) {
  const QPoint topLeft(Scaled(rect.left(), scale), Scaled(rect.top(), scale));
  const QPoint end(Scaled(rect.left() + rect.width(), scale), Scaled(rect.top() + rect.height(), scale));
  return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

QFont ScaledFont(QFont font, qreal scale) {
  if (font.pixelSize() > 0)
    font.setPixelSize(Scaled(font.pixelSize(), scale));
  else
    font.setPointSizeF(font.pointSizeF() * scale);
  return font;
}
} // namespace

void ScaleForm(QWidget* form, qreal scale) {
  if (scale == 1)
    return;
  const auto children = form->findChildren<QWidget*>();
  for (QWidget* child : children) {
    if (child->testAttribute(Qt::WA_SetFont))
      child->setFont(ScaledFont(child->font(), scale));
    if (auto* button = qobject_cast<QPushButton*>(child); button && !button->icon().isNull()) {
      const QSize designed = button->icon().actualSize(button->iconSize());
      button->setIcon(ScaledIcon(button->icon(), designed, scale));
      button->setIconSize(designed * scale);
    }
    child->setGeometry(ScaledRect(child->geometry(), scale));
  }
  form->setFont(ScaledFont(form->font(), scale));
  const QSize size(Scaled(form->width(), scale), Scaled(form->height(), scale));
  if (form->minimumSize() == form->maximumSize())
    form->setFixedSize(size);
  else
    form->resize(size);
}

void CallLoaded(QWidget* form) {
  const auto children = form->findChildren<QWidget*>();
  for (QWidget* child : children) {
    const QMetaObject* meta = child->metaObject();
    const int index = meta->indexOfMethod("Loaded()");
    if (index >= 0)
      meta->method(index).invoke(child, Qt::DirectConnection);
  }
}

} // namespace OrbForms
