#pragma once
// The indicator widget's private part: its fields (under their F names), the renderer that
// rebuilds its image, and the steps of its message flow. Not installed: the library's own
// sources, its tests and tools include it; nothing here is promised to stay.

#include "LumoLiquidIndicator.h"
#include "LumoRenderer_p.h"

#include <QPointer>
#include <optional>

class TLumoLiquidIndicatorPrivate : public LumoLiquidIndicator::TLumoIndicatorState {
public:
  explicit TLumoLiquidIndicatorPrivate(TLumoLiquidIndicator* owner) : q(owner) {}

  static TLumoLiquidIndicatorPrivate& Of(TLumoLiquidIndicator& widget) { return *widget.d; }
  static const TLumoLiquidIndicatorPrivate& Of(const TLumoLiquidIndicator& widget) { return *widget.d; }

  bool LoadedOrDesigning() const { return Imloaded; }
  // Whether any of the five colours is a system colour, which the palette decides.
  bool UsesSystemColours() const {
    return FBevelColor < 0 || FBackColor < 0 || FNumberForeColor < 0 || FNumberForeColor1 < 0 || FNumberBackColor < 0;
  }
  void Refresh();
  void DeferredRefresh();
  void RebuildIndicator();
  // The steps that may send the control a resize event, whose listeners may delete it: each
  // says whether the control is still there.
  bool ResizeToRotatedBox();
  bool MoveWindow(qint32 left, qint32 top, qint32 width, qint32 height, bool repaint);
  void ApplySizeRule();
  void UpdateWindowRegion();
  // Sets a plain field; true when it changed and the caller goes on with its steps.
  template <typename T> static bool Store(T& field, T value) {
    if (field == value)
      return false;
    field = value;
    return true;
  }
  // Store, then refresh and signal the change.
  template <typename T, typename Signal> void StoreAndRefresh(T& field, T value, Signal changed);
  // The last system colour a colour's QColor face replaced: the colour it showed then and the
  // one given instead. Given back the colour it showed while it still holds the one given (as
  // Designer's undo does), the face restores the system colour.
  struct TQColorFace {
    bool Replaced = false;
    LumoLiquidIndicator::TColor System = 0;
    LumoLiquidIndicator::TColor Shown = 0;
    LumoLiquidIndicator::TColor Given = 0;
  };
  // A colour given as a QColor, for the colour field current, through its TColor setter.
  void SetQColor(const QColor& value, LumoLiquidIndicator::TColor current, TQColorFace& face,
                 void (TLumoLiquidIndicator::*set)(qint32));
  void ConnectQColorSignals();
  // Signals each side that changed; false when a listener deleted the control.
  bool NotifySizeChange(qint32 oldWidth, qint32 oldHeight);

  TLumoLiquidIndicator* const q;
  LumoLiquidIndicator::TLumoRenderer Renderer;
  bool Moused = false;
  bool Imloaded = false;
  bool RebuildWhenShown = false;  // changed while its window was minimised
  bool RefreshPosted = false;     // a deferred refresh is on its way
  TQColorFace BevelFace, BackFace, NumberForeFace, NumberFore1Face, NumberBackFace;
  quint64 FRebuildCount = 0;
  quint64 FSizeMessages = 0;  // resize events handled so far
};

// For tests and tools: the rendered image, the clip region of the transparent modes (none
// with tmNone), the shaded back materials, and the numbers of pixels painted and of rebuilds
// so far.
namespace LumoLiquidIndicator {
inline const QImage& RenderedImage(const TLumoLiquidIndicator& widget) {
  return TLumoLiquidIndicatorPrivate::Of(widget).Renderer.Image();
}
inline std::optional<QRegion> ClipRegion(const TLumoLiquidIndicator& widget) {
  const TLumoRenderer& renderer = TLumoLiquidIndicatorPrivate::Of(widget).Renderer;
  return renderer.Clips() ? std::optional<QRegion>(renderer.ClipRegion()) : std::nullopt;
}
inline const QImage& BackMaterialLight(const TLumoLiquidIndicator& widget) {
  return TLumoLiquidIndicatorPrivate::Of(widget).Renderer.BackMaterialLight();
}
inline const QImage& BackMaterialDark(const TLumoLiquidIndicator& widget) {
  return TLumoLiquidIndicatorPrivate::Of(widget).Renderer.BackMaterialDark();
}
inline const QImage& BackMaterialShadow(const TLumoLiquidIndicator& widget) {
  return TLumoLiquidIndicatorPrivate::Of(widget).Renderer.BackMaterialShadow();
}
inline qint64 PaintedPixels(const TLumoLiquidIndicator& widget) {
  return TLumoLiquidIndicatorPrivate::Of(widget).Renderer.PaintedPixels();
}
inline quint64 RebuildCount(const TLumoLiquidIndicator& widget) {
  return TLumoLiquidIndicatorPrivate::Of(widget).FRebuildCount;
}
} // namespace LumoLiquidIndicator
