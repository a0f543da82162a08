#include "LumoIndicatorSchemeRecorder.h"

#include "LumoLiquidIndicator.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>

namespace LumoDesigner {
namespace {

void MarkSchemeColours(TLumoLiquidIndicator* indicator) {
  QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(indicator);
  if (form == nullptr || form->core() == nullptr)
    return;
  QDesignerFormEditorInterface* core = form->core();
  auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(core->extensionManager(), indicator);
  if (sheet == nullptr)
    return;
  QDesignerPropertyEditorInterface* editor = core->propertyEditor();
  const bool shown = editor != nullptr && editor->object() == indicator;
  for (const char* name : kSchemeColours) {
    const int index = sheet->indexOf(QString::fromLatin1(name));
    if (index < 0)
      continue;
    sheet->setChanged(index, true);
    if (shown)
      editor->setPropertyValue(QString::fromLatin1(name), sheet->property(index), true);
  }
  form->setDirty(true);
}

} // namespace

// The form editor is found through the form at each change, not kept: a process may make
// more than one editor (tests do), and the plugin is initialised by the first only.
void RecordSchemeColours(TLumoLiquidIndicator* indicator) {
  if (indicator == nullptr)
    return;
  QObject::connect(indicator, &TLumoLiquidIndicator::ColorSchemeChanged, indicator,
                   [indicator] { MarkSchemeColours(indicator); });
}

} // namespace LumoDesigner
