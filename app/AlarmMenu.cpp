#include "AlarmMenu.h"

#include "Alarm.h"
#include "AlarmTexts.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QMenu>

namespace AlarmMenu {

using namespace AlarmTexts;

namespace {

// The options with one of them changed by change, kept at once.
template <typename F>
void ChangeOptions(F change) {
  Alarm::TOptions options = Alarm::Current.Get();
  change(options);
  Alarm::Current.Change(options);
}

// A submenu of menu, made anew each time the menu is built: the one of an earlier build goes.
QMenu* Submenu(QMenu* menu, const QString& name, const QString& title) {
  qDeleteAll(menu->findChildren<QMenu*>(name, Qt::FindDirectChildrenOnly));
  auto* submenu = new QMenu(title, menu);
  submenu->setObjectName(name);
  menu->addMenu(submenu);
  return submenu;
}

// A checkable item of menu, one of group, that runs chosen when it is chosen.
template <typename F>
void Choice(QMenu* menu, QActionGroup* group, const QString& text, bool checked, F chosen) {
  QAction* item = menu->addAction(text);
  item->setCheckable(true);
  item->setChecked(checked);
  item->setActionGroup(group);
  QObject::connect(item, &QAction::triggered, menu, chosen);
}

// A checkable item of menu that changes an option as it is checked or not.
template <typename F>
QAction* Toggle(QMenu* menu, const QString& text, bool checked, F toggled) {
  QAction* item = menu->addAction(text);
  item->setCheckable(true);
  item->setChecked(checked);
  QObject::connect(item, &QAction::toggled, menu, toggled);
  return item;
}

// The sound chosen, and heard once.
void ChooseSound(Alarm::TSound sound, const QString& file) {
  ChangeOptions([&](Alarm::TOptions& options) {
    options.Sound = sound;
    if (!file.isEmpty())
      options.SoundFile = file;
  });
  Alarm::PlayAlarmSound(Alarm::Current.Get());
}

void AddSoundMenu(QMenu* menu, QWidget* owner, bool counting) {
  QMenu* sounds = Submenu(menu, QStringLiteral("AlarmSound"), Text(atSound));
  auto* group = new QActionGroup(sounds);
  const Alarm::TOptions& options = Alarm::Current.Get();
  const std::pair<Alarm::TSound, TAlarmText> own[] = {
      {Alarm::snChime, atChime}, {Alarm::snBell, atBell}, {Alarm::snBeep, atSoftBeep}, {Alarm::snSilent, atSilent}};
  for (const auto& [sound, text] : own)
    Choice(sounds, group, Text(text), options.Sound == sound, [chosen = sound] { ChooseSound(chosen, {}); });
  // The user's file, by its name, to go back to without the dialog.
  if (!options.SoundFile.isEmpty()) {
    const QString file = options.SoundFile;
    const QString name = QFileInfo(file).fileName().replace(u'&', QStringLiteral("&&"));
    Choice(sounds, group, name, options.Sound == Alarm::snFile, [file] { ChooseSound(Alarm::snFile, file); });
  }
  sounds->addSeparator();
  QAction* choose = sounds->addAction(Text(atChooseFile));
  choose->setEnabled(!counting);
  QObject::connect(choose, &QAction::triggered, owner, [owner] {
    const QString file = Alarm::ChooseSoundFile(owner, Alarm::Current.Get().SoundFile);
    if (!file.isEmpty())
      ChooseSound(Alarm::snFile, file);
  });
}

void AddWarningMenu(QMenu* menu) {
  QMenu* warnings = Submenu(menu, QStringLiteral("AlarmWarning"), Text(atWarn));
  auto* group = new QActionGroup(warnings);
  const quint32 current = Alarm::Current.Get().Warning;
  QList<quint32> offered = {0, 10, 30, 60};
  // A time that the file gave is there too, so that the menu shows what holds.
  if (!offered.contains(current))
    offered.append(current);
  for (const quint32 seconds : offered) {
    const QString text = seconds == 0 ? Text(atWarnOff) : u'&' + Text(atSeconds).arg(seconds);
    Choice(warnings, group, text, current == seconds,
           [seconds] { ChangeOptions([seconds](Alarm::TOptions& options) { options.Warning = seconds; }); });
  }
}

} // namespace

void AddItems(QMenu* menu, QWidget* owner, bool counting, const std::function<void(bool keepAwake)>& onKeepAwake) {
  const Alarm::TOptions& options = Alarm::Current.Get();
  AddSoundMenu(menu, owner, counting);
  Toggle(menu, Text(atRepeat), options.Repeat, [](bool on) {
    ChangeOptions([on](Alarm::TOptions& o) { o.Repeat = on; });
  })->setObjectName(QStringLiteral("AlarmRepeat"));
  AddWarningMenu(menu);
  Toggle(menu, Text(atKeepAwake), options.KeepAwake, [onKeepAwake](bool on) {
    ChangeOptions([on](Alarm::TOptions& o) { o.KeepAwake = on; });
    if (onKeepAwake)
      onKeepAwake(on);
  })->setObjectName(QStringLiteral("AlarmKeepAwake"));
}

} // namespace AlarmMenu
