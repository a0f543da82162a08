// Interim: lets the widget link while the layout of a whole indicator is being written. The
// real definition in the geometry library takes precedence as soon as it exists; until then
// the indicator shows its background and bevels without segments.
#include "LumoGeometry.h"

namespace LumoLiquidIndicator {
[[gnu::weak]] TIndicatorPolygons BuildIndicatorPolygons(const TIndicatorLayoutSettings&) { return {}; }
} // namespace LumoLiquidIndicator
