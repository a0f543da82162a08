// The item's image: rendered by the widget's renderer when the next frame is prepared, the
// places the widget leaves out made transparent, and shown by the scene graph as a texture
// that is made anew only when the image is.
#include "LumoIndicatorItem.h"

#include "LumoGeometry_p.h"
#include "LumoRegions_p.h"

#include <QGuiApplication>
#include <QPainter>
#include <QQuickWindow>
#include <QSGImageNode>

void TLumoIndicatorItem::Invalidate() {
  FStale = true;
  polish();
}

// Runs on the GUI thread before a frame is synchronised, once for any number of changes.
void TLumoIndicatorItem::updatePolish() {
  RenderPending();
}

void TLumoIndicatorItem::RenderPending() {
  if (!FStale)
    return;
  FStale = false;
  const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
  const QSize size(qRound(width()), qRound(height()));
  ++FRebuildCount;
  // Colours given in QML are never system colours; the palette serves the C++ state only.
  if (!FRenderer.Rebuild(FState, size, ratio, FHovered, QGuiApplication::palette()))
    return;  // too large an image: the previous one stays
  FShown = ComposeShownImage(size);
  ++FShownSerial;
  update();
}

// What the widget shows of the renderer's image is its window shape (the rotated indicator),
// cut to the clip region in the transparent modes. An image wholly shown is used as it is.
QImage TLumoIndicatorItem::ComposeShownImage(QSize size) const {
  const QImage& canvas = FRenderer.Image();
  if (canvas.isNull())
    return {};
  const QRect whole(QPoint(), size);
  const std::array<LumoLiquidIndicator::TPoint, 4> corners = LumoLiquidIndicator::WindowShape(
      FState.FIndicatorWidth, FState.FIndicatorHeight, FState.FIndicatorAngle, size.width(), size.height());
  QRegion shown = LumoLiquidIndicator::PolygonRegion(corners.data(), qint32(corners.size()), whole);
  if (FRenderer.Clips())
    shown &= FRenderer.ClipRegion();
  if (shown == QRegion(whole))
    return canvas;
  // Painted as the widget paints itself: the logical region scaled to the image's pixels.
  QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(canvas.devicePixelRatio());
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setClipRegion(shown);
  painter.drawImage(0, 0, canvas);
  return image;
}

// Runs on the render thread while the GUI thread waits. An unchanged image keeps its node
// and texture; a new one gets a new node, which owns its texture.
QSGNode* TLumoIndicatorItem::updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData*) {
  auto* node = static_cast<QSGImageNode*>(oldNode);
  if (FShown.isNull()) {
    delete node;
    return nullptr;
  }
  if (node && FTextureSerial == FShownSerial)
    return node;
  delete node;
  node = window()->createImageNode();
  const QQuickWindow::CreateTextureOptions options =
      FShown.hasAlphaChannel() ? QQuickWindow::TextureHasAlphaChannel : QQuickWindow::CreateTextureOptions();
  node->setTexture(window()->createTextureFromImage(FShown, options));
  node->setOwnsTexture(true);
  // One image pixel to one device pixel.
  node->setFiltering(QSGTexture::Nearest);
  node->setRect(QRectF(QPointF(), FShown.deviceIndependentSize()));
  FTextureSerial = FShownSerial;
  return node;
}
