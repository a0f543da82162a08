#include "MessageTexts.h"

#include "OrbDialogs.h"

namespace MessageTexts {

// clang-format off
const std::array<std::array<const char*, mxCount>, 8> Texts = {{
    // en
    {"Usage: steepo [MINUTES:SECONDS] [-start]\n"
       "A tea timer: counts the brewing time down and sounds an alarm when the tea is ready.\n"
       "\n"
       "  MINUTES:SECONDS  the brewing time for this run only, from 0:01 to 59:59; the\n"
       "                   locale's time separator may stand for the colon\n"
       "  -start           start the countdown as soon as the window appears (also /start,\n"
       "                   in any letter case)\n"
       "  -h, --help       show this help and exit\n"
       "  --version        show the version and exit\n"
       "\n"
       "Without a time the timer starts with the preset, the last time set (3:00 at first),\n"
       "kept %1.\n",
     "nowhere: neither XDG_CONFIG_HOME nor HOME names a usable folder",
     "in %1",
     "steepo: ignoring the time '%1': expected minutes:seconds from 0:01 to 59:59",
     "steepo: read \"%1\" as %2",
     "steepo: unknown switch \"%1\" ignored (steepo --help lists the options)",
     "steepo: unknown switch \"%1\" ignored; the start switch is -start",
     "steepo: no usable folder for the preset (neither XDG_CONFIG_HOME nor HOME names one): it is neither read nor stored",
     "steepo: the preset file %1 is %2: it is neither read nor written",
     "a folder",
     "not a regular file",
     "too large (%1 bytes, more than 1 MiB)",
     "steepo: cannot store the preset in %1: %2",
     "steepo: cannot open a display (no usable DISPLAY or WAYLAND_DISPLAY): Steepo needs a graphical desktop session",
     "steepo: write error: %1",
     "steepo: the desktop's notification service was not reached (%1); the alarm shows in its window only",
     "steepo: an empty argument was skipped"},
    // cs
    {"Použití: steepo [MINUTY:SEKUNDY] [-start]\n"
       "Čajový časovač: odpočítává dobu louhování a ohlásí, až je čaj hotový.\n"
       "\n"
       "  MINUTY:SEKUNDY   doba louhování jen pro toto spuštění, od 0:01 do 59:59;\n"
       "                   místo dvojtečky lze psát oddělovač času národního prostředí\n"
       "  -start           spustí odpočet, jakmile se okno objeví (také /start,\n"
       "                   libovolnou velikostí písmen)\n"
       "  -h, --help       zobrazí tuto nápovědu a skončí\n"
       "  --version        zobrazí verzi a skončí\n"
       "\n"
       "Bez času začne časovač s předvolbou, naposledy nastaveným časem (zpočátku 3:00),\n"
       "uloženou %1.\n",
     "nikde: XDG_CONFIG_HOME ani HOME neuvádí použitelnou složku",
     "v %1",
     "steepo: čas '%1' se nepoužije: očekávají se minuty:sekundy od 0:01 do 59:59",
     "steepo: \"%1\" přečteno jako %2",
     "steepo: neznámý přepínač \"%1\" se přeskočí (přepínače vypíše steepo --help)",
     "steepo: neznámý přepínač \"%1\" se přeskočí; přepínač spuštění je -start",
     "steepo: pro předvolbu není použitelná složka (XDG_CONFIG_HOME ani HOME žádnou neuvádí): nečte se ani neukládá",
     "steepo: soubor předvolby %1 je %2: nečte se ani nezapisuje",
     "složka",
     "neobvyklý soubor",
     "příliš velký (%1 bajtů, víc než 1 MiB)",
     "steepo: předvolbu nelze uložit do %1: %2",
     "steepo: nelze otevřít displej (chybí použitelný DISPLAY či WAYLAND_DISPLAY): Steepo potřebuje grafické prostředí",
     "steepo: chyba zápisu: %1",
     "steepo: služba oznámení pracovní plochy není dostupná (%1); budík se ukáže jen ve svém okně",
     "steepo: prázdný argument se přeskočí"},
    // de
    {"Aufruf: steepo [MINUTEN:SEKUNDEN] [-start]\n"
       "Ein Tee-Timer: zählt die Ziehzeit herunter und meldet sich, wenn der Tee fertig ist.\n"
       "\n"
       "  MINUTEN:SEKUNDEN die Ziehzeit nur für diesen Lauf, von 0:01 bis 59:59; das\n"
       "                   Zeittrennzeichen des Gebietsschemas kann für den Doppelpunkt stehen\n"
       "  -start           startet den Countdown, sobald das Fenster erscheint (auch /start,\n"
       "                   in beliebiger Groß- und Kleinschreibung)\n"
       "  -h, --help       zeigt diese Hilfe und beendet das Programm\n"
       "  --version        zeigt die Version und beendet das Programm\n"
       "\n"
       "Ohne Zeitangabe beginnt der Timer mit der Vorgabe, der zuletzt eingestellten Zeit\n"
       "(anfangs 3:00), gespeichert %1.\n",
     "nirgends: weder XDG_CONFIG_HOME noch HOME nennt einen brauchbaren Ordner",
     "in %1",
     "steepo: die Zeit '%1' wird nicht verwendet: erwartet Minuten:Sekunden von 0:01 bis 59:59",
     "steepo: \"%1\" gelesen als %2",
     "steepo: unbekannter Schalter \"%1\" übergangen (steepo --help nennt die Optionen)",
     "steepo: unbekannter Schalter \"%1\" übergangen; der Startschalter ist -start",
     "steepo: kein brauchbarer Ordner für die Vorgabe (weder XDG_CONFIG_HOME noch HOME nennt einen): sie wird weder gelesen noch gespeichert",
     "steepo: die Vorgabedatei %1 ist %2: sie wird weder gelesen noch geschrieben",
     "ein Ordner",
     "keine normale Datei",
     "zu groß (%1 Bytes, mehr als 1 MiB)",
     "steepo: die Vorgabe kann nicht in %1 gespeichert werden: %2",
     "steepo: keine Anzeige zu öffnen (kein brauchbares DISPLAY oder WAYLAND_DISPLAY): Steepo braucht eine grafische Sitzung",
     "steepo: Schreibfehler: %1",
     "steepo: der Benachrichtigungsdienst des Desktops war nicht erreichbar (%1); der Alarm erscheint nur in seinem Fenster",
     "steepo: ein leeres Argument wird übergangen"},
    // es
    {"Uso: steepo [MINUTOS:SEGUNDOS] [-start]\n"
       "Un temporizador de té: cuenta atrás el tiempo de infusión y avisa cuando el té está listo.\n"
       "\n"
       "  MINUTOS:SEGUNDOS el tiempo de infusión solo para esta vez, de 0:01 a 59:59; el\n"
       "                   separador de hora de la configuración regional puede sustituir a los dos puntos\n"
       "  -start           empieza la cuenta atrás en cuanto aparece la ventana (también /start,\n"
       "                   en mayúsculas o minúsculas)\n"
       "  -h, --help       muestra esta ayuda y termina\n"
       "  --version        muestra la versión y termina\n"
       "\n"
       "Sin tiempo el temporizador empieza con el preajuste, el último tiempo fijado (al principio 3:00),\n"
       "guardado %1.\n",
     "en ningún sitio: ni XDG_CONFIG_HOME ni HOME indican una carpeta utilizable",
     "en %1",
     "steepo: se ignora el tiempo '%1': se esperan minutos:segundos de 0:01 a 59:59",
     "steepo: \"%1\" leído como %2",
     "steepo: opción desconocida \"%1\" ignorada (steepo --help muestra las opciones)",
     "steepo: opción desconocida \"%1\" ignorada; la opción de inicio es -start",
     "steepo: no hay carpeta utilizable para el preajuste (ni XDG_CONFIG_HOME ni HOME indican una): no se lee ni se guarda",
     "steepo: el archivo de preajuste %1 es %2: no se lee ni se escribe",
     "una carpeta",
     "un archivo no regular",
     "demasiado grande (%1 bytes, más de 1 MiB)",
     "steepo: no se puede guardar el preajuste en %1: %2",
     "steepo: no se puede abrir una pantalla (no hay DISPLAY ni WAYLAND_DISPLAY utilizables): Steepo necesita una sesión gráfica",
     "steepo: error de escritura: %1",
     "steepo: no se alcanzó el servicio de notificaciones del escritorio (%1); la alarma solo se muestra en su ventana",
     "steepo: se omite un argumento vacío"},
    // pt
    {"Uso: steepo [MINUTOS:SEGUNDOS] [-start]\n"
       "Um temporizador de chá: conta o tempo de infusão e avisa quando o chá está pronto.\n"
       "\n"
       "  MINUTOS:SEGUNDOS o tempo de infusão só para esta vez, de 0:01 a 59:59; o\n"
       "                   separador de horas da localização pode substituir os dois pontos\n"
       "  -start           inicia a contagem assim que a janela aparece (também /start,\n"
       "                   em maiúsculas ou minúsculas)\n"
       "  -h, --help       mostra esta ajuda e termina\n"
       "  --version        mostra a versão e termina\n"
       "\n"
       "Sem tempo o temporizador começa com a predefinição, o último tempo definido (3:00 no início),\n"
       "guardada %1.\n",
     "em lado nenhum: nem XDG_CONFIG_HOME nem HOME indicam uma pasta utilizável",
     "em %1",
     "steepo: o tempo '%1' é ignorado: esperam-se minutos:segundos de 0:01 a 59:59",
     "steepo: \"%1\" lido como %2",
     "steepo: opção desconhecida \"%1\" ignorada (steepo --help mostra as opções)",
     "steepo: opção desconhecida \"%1\" ignorada; a opção de início é -start",
     "steepo: não há pasta utilizável para a predefinição (nem XDG_CONFIG_HOME nem HOME indicam uma): não é lida nem guardada",
     "steepo: o ficheiro de predefinição %1 é %2: não é lido nem escrito",
     "uma pasta",
     "um ficheiro não regular",
     "demasiado grande (%1 bytes, mais de 1 MiB)",
     "steepo: não é possível guardar a predefinição em %1: %2",
     "steepo: não é possível abrir um ecrã (nenhum DISPLAY ou WAYLAND_DISPLAY utilizável): o Steepo precisa de uma sessão gráfica",
     "steepo: erro de escrita: %1",
     "steepo: o serviço de notificações do ambiente de trabalho não foi alcançado (%1); o alarme só aparece na sua janela",
     "steepo: um argumento vazio é ignorado"},
    // fr
    {"Usage : steepo [MINUTES:SECONDES] [-start]\n"
       "Un minuteur à thé : décompte le temps d'infusion et sonne quand le thé est prêt.\n"
       "\n"
       "  MINUTES:SECONDES le temps d'infusion pour ce lancement seulement, de 0:01 à 59:59 ;\n"
       "                   le séparateur horaire des paramètres régionaux peut remplacer les deux-points\n"
       "  -start           lance le décompte dès que la fenêtre apparaît (aussi /start,\n"
       "                   en majuscules ou minuscules)\n"
       "  -h, --help       affiche cette aide et quitte\n"
       "  --version        affiche la version et quitte\n"
       "\n"
       "Sans temps, le minuteur démarre avec le préréglage, le dernier temps choisi (3:00 au début),\n"
       "conservé %1.\n",
     "nulle part : ni XDG_CONFIG_HOME ni HOME n'indiquent un dossier utilisable",
     "dans %1",
     "steepo : le temps '%1' est ignoré : minutes:secondes attendues, de 0:01 à 59:59",
     "steepo : « %1 » lu comme %2",
     "steepo : option inconnue « %1 » ignorée (steepo --help liste les options)",
     "steepo : option inconnue « %1 » ignorée ; l'option de démarrage est -start",
     "steepo : aucun dossier utilisable pour le préréglage (ni XDG_CONFIG_HOME ni HOME n'en indiquent) : il n'est ni lu ni enregistré",
     "steepo : le fichier de préréglage %1 est %2 : il n'est ni lu ni écrit",
     "un dossier",
     "un fichier non ordinaire",
     "trop grand (%1 octets, plus de 1 Mio)",
     "steepo : impossible d'enregistrer le préréglage dans %1 : %2",
     "steepo : impossible d'ouvrir un affichage (aucun DISPLAY ou WAYLAND_DISPLAY utilisable) : Steepo a besoin d'une session graphique",
     "steepo : erreur d'écriture : %1",
     "steepo : le service de notifications du bureau n'a pas été joint (%1) ; l'alarme ne s'affiche que dans sa fenêtre",
     "steepo : un argument vide est ignoré"},
    // it
    {"Uso: steepo [MINUTI:SECONDI] [-start]\n"
       "Un timer per il tè: conta alla rovescia il tempo d'infusione e avvisa quando il tè è pronto.\n"
       "\n"
       "  MINUTI:SECONDI   il tempo d'infusione solo per questa volta, da 0:01 a 59:59; il\n"
       "                   separatore orario delle impostazioni locali può sostituire i due punti\n"
       "  -start           avvia il conto alla rovescia appena appare la finestra (anche /start,\n"
       "                   in maiuscolo o minuscolo)\n"
       "  -h, --help       mostra questo aiuto ed esce\n"
       "  --version        mostra la versione ed esce\n"
       "\n"
       "Senza tempo il timer parte dalla preimpostazione, l'ultimo tempo scelto (all'inizio 3:00),\n"
       "conservata %1.\n",
     "da nessuna parte: né XDG_CONFIG_HOME né HOME indicano una cartella utilizzabile",
     "in %1",
     "steepo: il tempo '%1' è ignorato: attesi minuti:secondi da 0:01 a 59:59",
     "steepo: \"%1\" letto come %2",
     "steepo: opzione sconosciuta \"%1\" ignorata (steepo --help elenca le opzioni)",
     "steepo: opzione sconosciuta \"%1\" ignorata; l'opzione di avvio è -start",
     "steepo: nessuna cartella utilizzabile per la preimpostazione (né XDG_CONFIG_HOME né HOME ne indicano una): non viene letta né salvata",
     "steepo: il file della preimpostazione %1 è %2: non viene letto né scritto",
     "una cartella",
     "un file non regolare",
     "troppo grande (%1 byte, più di 1 MiB)",
     "steepo: impossibile salvare la preimpostazione in %1: %2",
     "steepo: impossibile aprire un display (nessun DISPLAY o WAYLAND_DISPLAY utilizzabile): Steepo richiede una sessione grafica",
     "steepo: errore di scrittura: %1",
     "steepo: il servizio di notifiche del desktop non è raggiungibile (%1); l'allarme compare solo nella sua finestra",
     "steepo: un argomento vuoto viene ignorato"},
    // ru
    {"Использование: steepo [МИНУТЫ:СЕКУНДЫ] [-start]\n"
       "Чайный таймер: отсчитывает время заваривания и подаёт сигнал, когда чай готов.\n"
       "\n"
       "  МИНУТЫ:СЕКУНДЫ   время заваривания только для этого запуска, от 0:01 до 59:59;\n"
       "                   вместо двоеточия можно писать разделитель времени локали\n"
       "  -start           начать отсчёт сразу после появления окна (также /start,\n"
       "                   в любом регистре)\n"
       "  -h, --help       показать эту справку и выйти\n"
       "  --version        показать версию и выйти\n"
       "\n"
       "Без времени таймер начинает с предустановки, последнего заданного времени (сначала 3:00),\n"
       "хранимой %1.\n",
     "нигде: ни XDG_CONFIG_HOME, ни HOME не указывают пригодную папку",
     "в %1",
     "steepo: время '%1' не используется: ожидаются минуты:секунды от 0:01 до 59:59",
     "steepo: \"%1\" прочитано как %2",
     "steepo: неизвестный ключ \"%1\" пропущен (ключи перечисляет steepo --help)",
     "steepo: неизвестный ключ \"%1\" пропущен; ключ запуска -start",
     "steepo: нет пригодной папки для предустановки (ни XDG_CONFIG_HOME, ни HOME её не указывают): она не читается и не сохраняется",
     "steepo: файл предустановки %1 — %2: он не читается и не записывается",
     "папка",
     "не обычный файл",
     "слишком велик (%1 байт, больше 1 МиБ)",
     "steepo: не удаётся сохранить предустановку в %1: %2",
     "steepo: не удаётся открыть дисплей (нет пригодного DISPLAY или WAYLAND_DISPLAY): Steepo нужен графический сеанс",
     "steepo: ошибка записи: %1",
     "steepo: служба уведомлений рабочего стола недоступна (%1); сигнал показывается только в своём окне",
     "steepo: пустой аргумент пропущен"},

}};
// clang-format on

QString Text(TMessage message) {
  const std::size_t row = OrbDialogs::LangIndex < Texts.size() ? OrbDialogs::LangIndex : 0;
  return QString::fromUtf8(Texts[row][message]);
}

} // namespace MessageTexts
