#pragma once
// Designer saves what it shows. A colour scheme chosen in Designer sets the indicator's five
// colours at once, but Designer saves only the properties it knows were changed: the form would
// keep the scheme without its colours, and the program built from it, where a stored scheme
// does not overwrite the stored colours, would show other colours than Designer did. The
// recorder marks the five colours as changed properties of the form whenever a scheme is set,
// so that saving writes them too.

class TLumoLiquidIndicator;

namespace LumoDesigner {

// The properties a colour scheme sets, in the order the widget publishes them.
inline constexpr const char* kSchemeColours[] = {"BevelColor", "BackColor", "NumberForeColor",
                                                 "NumberForeColor1", "NumberBackColor"};

// From now on, each scheme set on indicator while it is part of a form being edited marks the
// five colours as changed in the form (and in the property editor when it shows indicator).
// Widgets outside a form (previews, the widget box's icons) are left alone.
void RecordSchemeColours(TLumoLiquidIndicator* indicator);

} // namespace LumoDesigner
