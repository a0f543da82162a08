#include "AlarmTexts.h"

#include "OrbDialogs.h"

namespace AlarmTexts {

// clang-format off
const std::array<std::array<const char*, atCount>, 8> Texts = {{
    // en
    {"S&ound", "&Chime", "&Bell", "Soft bee&p", "&Silent", "Choose a &file\u2026",
     "&Repeat until I come", "&Warn before the end", "&Off", "%1 s",
     "&Keep the computer awake while brewing",
     "Choose the alarm sound", "WAV files (*.wav *.WAV)",
     "Ready in %1 second", "Ready in %1 seconds", "Ready in %1 seconds"},
    // cs
    {"&Zvuk", "Z&vonkohra", "Zv&onek", "&Jemné pípnutí", "&Bez zvuku", "Vybrat &soubor\u2026",
     "O&pakovat, dokud nepřijdu", "Upozornit před &koncem", "&Vypnuto", "%1 s",
     "&Nenechat počítač usnout během louhování",
     "Vyberte zvuk budíku", "Soubory WAV (*.wav *.WAV)",
     "Hotovo za %1 sekundu", "Hotovo za %1 sekundy", "Hotovo za %1 sekund"},
    // de
    {"&Ton", "&Glockenspiel", "G&locke", "&Sanfter Piepton", "St&umm", "&Datei wählen\u2026",
     "&Wiederholen, bis ich komme", "Vor dem &Ende warnen", "&Aus", "%1 s",
     "&Computer beim Ziehen wach halten",
     "Alarmton wählen", "WAV-Dateien (*.wav *.WAV)",
     "Fertig in %1 Sekunde", "Fertig in %1 Sekunden", "Fertig in %1 Sekunden"},
    // es
    {"&Sonido", "&Carillón", "C&ampana", "&Pitido suave", "&Silencio", "Elegir un a&rchivo\u2026",
     "&Repetir hasta que venga", "Avisar antes del &final", "&Desactivado", "%1 s",
     "&Mantener el equipo despierto durante la infusión",
     "Elegir el sonido de la alarma", "Archivos WAV (*.wav *.WAV)",
     "Listo en %1 segundo", "Listo en %1 segundos", "Listo en %1 segundos"},
    // pt
    {"S&om", "&Carrilhão", "S&ino", "&Bipe suave", "Sem so&m", "Escolher um &ficheiro\u2026",
     "&Repetir até eu chegar", "Avisar antes do &fim", "&Desligado", "%1 s",
     "&Manter o computador acordado durante a infusão",
     "Escolher o som do alarme", "Ficheiros WAV (*.wav *.WAV)",
     "Pronto em %1 segundo", "Pronto em %1 segundos", "Pronto em %1 segundos"},
    // fr
    {"&Son", "&Carillon", "C&loche", "&Bip doux", "S&ilencieux", "Choisir un &fichier\u2026",
     "&Répéter jusqu'à ce que je vienne", "Prévenir avant la &fin", "&Désactivé", "%1 s",
     "&Garder l'ordinateur éveillé pendant l'infusion",
     "Choisir le son de l'alarme", "Fichiers WAV (*.wav *.WAV)",
     "Prêt dans %1 seconde", "Prêt dans %1 secondes", "Prêt dans %1 secondes"},
    // it
    {"S&uono", "&Carillon", "C&ampana", "&Bip leggero", "&Silenzioso", "Scegli un &file\u2026",
     "&Ripeti finché non arrivo", "&Avvisa prima della fine", "&Disattivato", "%1 s",
     "&Tieni sveglio il computer durante l'infusione",
     "Scegli il suono dell'allarme", "File WAV (*.wav *.WAV)",
     "Pronto tra %1 secondo", "Pronto tra %1 secondi", "Pronto tra %1 secondi"},
    // ru
    {"&Звук", "&Перезвон", "&Колокол", "&Мягкий сигнал", "&Без звука", "&Выбрать файл\u2026",
     "&Повторять, пока я не подойду", "Пре&дупреждать перед концом", "&Выключено", "%1 с",
     "&Не давать компьютеру засыпать во время заваривания",
     "Выберите звук сигнала", "Файлы WAV (*.wav *.WAV)",
     "Готово через %1 секунду", "Готово через %1 секунды", "Готово через %1 секунд"},
}};
// clang-format on

namespace {
std::size_t Row() { return OrbDialogs::LangIndex < Texts.size() ? OrbDialogs::LangIndex : 0; }

// The form a count of seconds takes: Czech and Russian have one for a few (2 to 4, in Russian
// also 22 to 24 and so on) beside the one for one; the others only one and many.
TAlarmText FormFor(quint32 n) {
  switch (Row()) {
  case 1:  // cs
    return n == 1 ? atReadyInOne : n >= 2 && n <= 4 ? atReadyInFew : atReadyInMany;
  case 7:  // ru
    if (n % 10 == 1 && n % 100 != 11)
      return atReadyInOne;
    return n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14) ? atReadyInFew : atReadyInMany;
  default:
    return n == 1 ? atReadyInOne : atReadyInMany;
  }
}
} // namespace

QString Text(TAlarmText text) { return QString::fromUtf8(Texts[Row()][text]); }

QString ReadyIn(quint32 seconds) { return Text(FormFor(seconds)).arg(seconds); }

} // namespace AlarmTexts
