#include "LumoIndicatorSchemeRecorder.h"

#include "LumoLiquidIndicator.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>
#include <QPointer>

namespace LumoDesigner {
namespace {

void MarkSchemeColours(QDesignerFormEditorInterface* core, TLumoLiquidIndicator* indicator) {
  QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(indicator);
  if (form == nullptr)
    return;
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

void RecordSchemeColours(QDesignerFormEditorInterface* core, TLumoLiquidIndicator* indicator) {
  if (core == nullptr || indicator == nullptr)
    return;
  // The editor outlives every form, but not necessarily the plugin's copy of its pointer.
  QObject::connect(indicator, &TLumoLiquidIndicator::ColorSchemeChanged, indicator,
                   [core = QPointer<QDesignerFormEditorInterface>(core), indicator] {
                     if (core)
                       MarkSchemeColours(core, indicator);
                   });
}

} // namespace LumoDesigner
