#include "LumoIndicatorDesignerPlugin.h"

#include "LumoIndicatorSchemeRecorder.h"

#include <LumoLiquidIndicator.h>


TLumoIndicatorDesignerPlugin::TLumoIndicatorDesignerPlugin(QObject* parent) : QObject(parent) {}

QString TLumoIndicatorDesignerPlugin::name() const {
  return QStringLiteral("TLumoLiquidIndicator");
}

QString TLumoIndicatorDesignerPlugin::group() const {
  return QStringLiteral("Lumo");
}

QString TLumoIndicatorDesignerPlugin::toolTip() const {
  return QStringLiteral("Liquid-crystal display: seven-segment, nine-segment or 5x7 dot-matrix text");
}

QString TLumoIndicatorDesignerPlugin::whatsThis() const {
  return QStringLiteral(
      "Shows a short text as a simulated liquid-crystal display with lit and unlit segments, "
      "bevels, colour schemes, materials, rotation in tenths of a degree, hover effects and "
      "transparency.");
}

QString TLumoIndicatorDesignerPlugin::includeFile() const {
  return QStringLiteral("LumoLiquidIndicator.h");
}

// Drawn by the widget's public face only: the plugin needs nothing the library keeps to
// itself, so it loads beside the shared library as any program does.
QIcon TLumoIndicatorDesignerPlugin::icon() const {
  if (Icon.isNull()) {
    TLumoLiquidIndicator sample;
    sample.SetSignNumber(2);
    sample.SetIndicatorWidth(32);
    sample.SetIndicatorHeight(24);
    sample.SetIndicatorGap(1);
    sample.SetInnerBevelWidth(1);
    sample.SetOuterBevelWidth(1);
    sample.SetIndicatorstring(QStringLiteral("88"));
    sample.Loaded();
    Icon = QIcon(sample.grab());
  }
  return Icon;
}

bool TLumoIndicatorDesignerPlugin::isContainer() const {
  return false;
}

// A new indicator is the widget's own default: 172 x 36 pixels, ten cells.
QString TLumoIndicatorDesignerPlugin::domXml() const {
  return QStringLiteral(R"(<ui language="c++">
 <widget class="TLumoLiquidIndicator" name="lumoLiquidIndicator">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>172</width><height>36</height></rect>
  </property>
 </widget>
</ui>
)");
}

// In Designer (initialised with a form editor) the widget behaves as loaded at once, so that a
// new size or angle shows while the form is edited. QUiLoader initialises the plugin without
// one: its widget is loaded when first polished, after the form's properties, as a form
// compiled by uic is, so both give the same picture.
QWidget* TLumoIndicatorDesignerPlugin::createWidget(QWidget* parent) {
  auto* indicator = new TLumoLiquidIndicator(parent);
  if (Designing) {
    indicator->Loaded();
    LumoDesigner::RecordSchemeColours(indicator);
  }
  return indicator;
}

bool TLumoIndicatorDesignerPlugin::isInitialized() const {
  return Initialized;
}

void TLumoIndicatorDesignerPlugin::initialize(QDesignerFormEditorInterface* core) {
  Initialized = true;
  Designing = core != nullptr;
}
