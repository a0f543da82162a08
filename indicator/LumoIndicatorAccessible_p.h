#pragma once
// What assistive technology sees of the indicator: a read-only display (the static-text role)
// whose name and value are the shown text, announced whenever the text changes, so that a
// screen reader can read the time.

class QString;
class QWidget;

namespace LumoLiquidIndicator {

// Installs, once per process, the factory that gives every indicator (and every class derived
// from it) its accessible interface. The widget's constructor calls it.
void InstallAccessibility();
// Announces that indicator now shows text: a value change (the name change comes from the
// accessible name, which the widget keeps equal to the text).
void AnnounceText(QWidget* indicator, const QString& text);

} // namespace LumoLiquidIndicator
