#pragma once
// The alarm's items in the main window's menu: the sound, the repeat, the warning before the
// end and keeping the computer awake, each showing the current options; a choice changes them
// at once and keeps them.

#include <functional>

class QMenu;
class QWidget;

namespace AlarmMenu {

// Adds the items to menu: "Sound" and "Warn before the end" as submenus with the current
// choice checked, "Repeat until I come" and "Keep the computer awake while brewing" as
// checkable items. A sound chosen plays once, so that the user hears it. "Choose a file…"
// opens its dialog over owner, and is disabled while counting (no dialog opens then).
// onKeepAwake learns the new value of that option when the user changes it.
void AddItems(QMenu* menu, QWidget* owner, bool counting, const std::function<void(bool keepAwake)>& onKeepAwake = {});

} // namespace AlarmMenu
