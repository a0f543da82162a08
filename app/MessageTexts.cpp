#include "MessageTexts.h"

#include "OrbDialogs.h"

namespace MessageTexts {

// clang-format off
const std::array<std::array<const char*, mxCount>, 8> Texts = {{
    // en
    {"Usage: steepo [MINUTES:SECONDS] [-tea NAME] [-start]\n"
       "A tea timer: counts the brewing time down and sounds an alarm when the tea is ready.\n"
       "\n"
       "  MINUTES:SECONDS  the brewing time for this run only, from 0:01 to 59:59; the\n"
       "                   locale's time separator may stand for the colon\n"
       "  -tea NAME        the tea of that name in the window's menu, with its time and\n"
       "                   infusions (any letter case); a time given beside it wins\n"
       "  -start           start the countdown as soon as the window appears (also /start,\n"
       "                   in any letter case)\n"
       "  -h, --help       show this help and exit\n"
       "  --version        show the version and exit\n"
       "\n"
       "Without a time the timer starts with the preset, the last time set (3:00 at first),\n"
       "kept %1.\n"
       "The teas of the menu are kept in the same place.\n",
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
     "steepo: an empty argument was skipped",
     "steepo: -tea needs the name of a tea; the teas are %1",
     "steepo: there is no tea \"%1\"; the teas are %2",
     "steepo: the time '%1' given beside -tea wins; the tea \"%2\" is not chosen",
     "steepo: some teas in %1 are damaged, the first at %2: the bad ones are left out",
     "steepo: cannot read the teas from %1: %2; the built-in teas are used",
     "steepo: cannot store the teas in %1: %2",
     "steepo: no usable folder for the teas (neither XDG_CONFIG_HOME nor HOME names one): they are not stored",
     "steepo: the session bus did not answer within half a second: desktop notifications and screen readers are off for this run",
     "steepo: the accessibility service did not answer within half a second: screen readers are off for this run",
     "steepo: the computer cannot be kept awake during the countdown (%1)",
     "A tea is brewing",
     "steepo: the sound file %1 cannot be played (%2); the chime plays instead",
     "not a WAV file",
     "larger than 64 MiB",
     "its format cannot be played",
     "steepo: %1: the alarm option %2 is not understood; its default is used",
     "steepo: cannot store the alarm options in %1: %2"},
    // cs
    {"Použití: steepo [MINUTY:SEKUNDY] [-tea NÁZEV] [-start]\n"
       "Čajový časovač: odpočítává dobu louhování a ohlásí, až je čaj hotový.\n"
       "\n"
       "  MINUTY:SEKUNDY   doba louhování jen pro toto spuštění, od 0:01 do 59:59;\n"
       "                   místo dvojtečky lze psát oddělovač času národního prostředí\n"
       "  -tea NÁZEV       čaj tohoto názvu z nabídky okna, s jeho časem a nálevy\n"
       "                   (na velikosti písmen nezáleží); čas zadaný vedle má přednost\n"
       "  -start           spustí odpočet, jakmile se okno objeví (také /start,\n"
       "                   libovolnou velikostí písmen)\n"
       "  -h, --help       zobrazí tuto nápovědu a skončí\n"
       "  --version        zobrazí verzi a skončí\n"
       "\n"
       "Bez času začne časovač s předvolbou, naposledy nastaveným časem (zpočátku 3:00),\n"
       "uloženou %1.\n"
       "Čaje z nabídky se ukládají na stejné místo.\n",
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
     "steepo: prázdný argument se přeskočí",
     "steepo: -tea potřebuje název čaje; čaje jsou %1",
     "steepo: čaj \"%1\" neexistuje; čaje jsou %2",
     "steepo: platí čas '%1' zadaný vedle -tea; čaj \"%2\" se nevybere",
     "steepo: některé čaje v %1 jsou poškozené, první u %2: špatné se vynechají",
     "steepo: čaje nelze přečíst z %1: %2; použijí se vestavěné čaje",
     "steepo: čaje nelze uložit do %1: %2",
     "steepo: pro čaje není použitelná složka (XDG_CONFIG_HOME ani HOME žádnou neuvádí): neukládají se",
     "steepo: sběrnice sezení neodpověděla do půl sekundy: oznámení pracovní plochy a čtečky obrazovky jsou pro toto spuštění vypnuté",
     "steepo: služba zpřístupnění neodpověděla do půl sekundy: čtečky obrazovky jsou pro toto spuštění vypnuté",
     "steepo: počítač nelze během odpočtu udržet vzhůru (%1)",
     "Louhuje se čaj",
     "steepo: zvukový soubor %1 nelze přehrát (%2); místo něj zazní zvonkohra",
     "není to soubor WAV",
     "větší než 64 MiB",
     "jeho formát nelze přehrát",
     "steepo: %1: volbě budíku %2 nelze rozumět; platí její výchozí hodnota",
     "steepo: volby budíku nelze uložit do %1: %2"},
    // de
    {"Aufruf: steepo [MINUTEN:SEKUNDEN] [-tea NAME] [-start]\n"
       "Ein Tee-Timer: zählt die Ziehzeit herunter und meldet sich, wenn der Tee fertig ist.\n"
       "\n"
       "  MINUTEN:SEKUNDEN die Ziehzeit nur für diesen Lauf, von 0:01 bis 59:59; das\n"
       "                   Zeittrennzeichen des Gebietsschemas kann für den Doppelpunkt stehen\n"
       "  -tea NAME        der Tee dieses Namens aus dem Menü des Fensters, mit seiner Zeit\n"
       "                   und seinen Aufgüssen (beliebige Schreibung); eine Zeit daneben hat Vorrang\n"
       "  -start           startet den Countdown, sobald das Fenster erscheint (auch /start,\n"
       "                   in beliebiger Groß- und Kleinschreibung)\n"
       "  -h, --help       zeigt diese Hilfe und beendet das Programm\n"
       "  --version        zeigt die Version und beendet das Programm\n"
       "\n"
       "Ohne Zeitangabe beginnt der Timer mit der Vorgabe, der zuletzt eingestellten Zeit\n"
       "(anfangs 3:00), gespeichert %1.\n"
       "Die Tees des Menüs liegen am selben Ort.\n",
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
     "steepo: ein leeres Argument wird übergangen",
     "steepo: -tea braucht den Namen eines Tees; die Tees sind %1",
     "steepo: es gibt keinen Tee \"%1\"; die Tees sind %2",
     "steepo: die Zeit '%1' neben -tea gilt; der Tee \"%2\" wird nicht gewählt",
     "steepo: einige Tees in %1 sind beschädigt, der erste bei %2: die fehlerhaften werden ausgelassen",
     "steepo: die Tees können nicht aus %1 gelesen werden: %2; es gelten die eingebauten Tees",
     "steepo: die Tees können nicht in %1 gespeichert werden: %2",
     "steepo: kein brauchbarer Ordner für die Tees (weder XDG_CONFIG_HOME noch HOME nennt einen): sie werden nicht gespeichert",
     "steepo: der Sitzungsbus hat nicht binnen einer halben Sekunde geantwortet: Desktop-Benachrichtigungen und Bildschirmleser sind für diesen Lauf aus",
     "steepo: der Barrierefreiheitsdienst hat nicht binnen einer halben Sekunde geantwortet: Bildschirmleser sind für diesen Lauf aus",
     "steepo: der Rechner kann während des Countdowns nicht wach gehalten werden (%1)",
     "Ein Tee zieht",
     "steepo: die Tondatei %1 kann nicht abgespielt werden (%2); stattdessen erklingt das Glockenspiel",
     "keine WAV-Datei",
     "größer als 64 MiB",
     "ihr Format kann nicht abgespielt werden",
     "steepo: %1: die Alarmoption %2 ist unverständlich; ihr Standardwert gilt",
     "steepo: die Alarmoptionen können nicht in %1 gespeichert werden: %2"},
    // es
    {"Uso: steepo [MINUTOS:SEGUNDOS] [-tea NOMBRE] [-start]\n"
       "Un temporizador de té: cuenta atrás el tiempo de infusión y avisa cuando el té está listo.\n"
       "\n"
       "  MINUTOS:SEGUNDOS el tiempo de infusión solo para esta vez, de 0:01 a 59:59; el\n"
       "                   separador de hora de la configuración regional puede sustituir a los dos puntos\n"
       "  -tea NOMBRE      el té de ese nombre del menú de la ventana, con su tiempo e\n"
       "                   infusiones (en mayúsculas o minúsculas); un tiempo dado junto a él prevalece\n"
       "  -start           empieza la cuenta atrás en cuanto aparece la ventana (también /start,\n"
       "                   en mayúsculas o minúsculas)\n"
       "  -h, --help       muestra esta ayuda y termina\n"
       "  --version        muestra la versión y termina\n"
       "\n"
       "Sin tiempo el temporizador empieza con el preajuste, el último tiempo fijado (al principio 3:00),\n"
       "guardado %1.\n"
       "Los tés del menú se guardan en el mismo sitio.\n",
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
     "steepo: se omite un argumento vacío",
     "steepo: -tea necesita el nombre de un té; los tés son %1",
     "steepo: no hay ningún té \"%1\"; los tés son %2",
     "steepo: vale el tiempo '%1' dado junto a -tea; el té \"%2\" no se elige",
     "steepo: algunos tés de %1 están dañados, el primero en %2: se omiten los malos",
     "steepo: no se pueden leer los tés de %1: %2; se usan los tés incorporados",
     "steepo: no se pueden guardar los tés en %1: %2",
     "steepo: no hay carpeta utilizable para los tés (ni XDG_CONFIG_HOME ni HOME indican una): no se guardan",
     "steepo: el bus de sesión no respondió en medio segundo: las notificaciones del escritorio y los lectores de pantalla quedan desactivados en esta ejecución",
     "steepo: el servicio de accesibilidad no respondió en medio segundo: los lectores de pantalla quedan desactivados en esta ejecución",
     "steepo: no se puede mantener despierto el ordenador durante la cuenta atrás (%1)",
     "Se está preparando un té",
     "steepo: no se puede reproducir el archivo de sonido %1 (%2); suena el carillón en su lugar",
     "no es un archivo WAV",
     "mayor de 64 MiB",
     "su formato no se puede reproducir",
     "steepo: %1: la opción de alarma %2 no se entiende; se usa su valor predeterminado",
     "steepo: no se pueden guardar las opciones de alarma en %1: %2"},
    // pt
    {"Uso: steepo [MINUTOS:SEGUNDOS] [-tea NOME] [-start]\n"
       "Um temporizador de chá: conta o tempo de infusão e avisa quando o chá está pronto.\n"
       "\n"
       "  MINUTOS:SEGUNDOS o tempo de infusão só para esta vez, de 0:01 a 59:59; o\n"
       "                   separador de horas da localização pode substituir os dois pontos\n"
       "  -tea NOME        o chá com esse nome do menu da janela, com o seu tempo e\n"
       "                   infusões (em maiúsculas ou minúsculas); um tempo dado junto prevalece\n"
       "  -start           inicia a contagem assim que a janela aparece (também /start,\n"
       "                   em maiúsculas ou minúsculas)\n"
       "  -h, --help       mostra esta ajuda e termina\n"
       "  --version        mostra a versão e termina\n"
       "\n"
       "Sem tempo o temporizador começa com a predefinição, o último tempo definido (3:00 no início),\n"
       "guardada %1.\n"
       "Os chás do menu são guardados no mesmo sítio.\n",
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
     "steepo: um argumento vazio é ignorado",
     "steepo: -tea precisa do nome de um chá; os chás são %1",
     "steepo: não há nenhum chá \"%1\"; os chás são %2",
     "steepo: vale o tempo '%1' dado junto a -tea; o chá \"%2\" não é escolhido",
     "steepo: alguns chás em %1 estão danificados, o primeiro em %2: os maus são omitidos",
     "steepo: não é possível ler os chás de %1: %2; usam-se os chás incluídos",
     "steepo: não é possível guardar os chás em %1: %2",
     "steepo: não há pasta utilizável para os chás (nem XDG_CONFIG_HOME nem HOME indicam uma): não são guardados",
     "steepo: o barramento de sessão não respondeu em meio segundo: as notificações do ambiente de trabalho e os leitores de ecrã ficam desativados nesta execução",
     "steepo: o serviço de acessibilidade não respondeu em meio segundo: os leitores de ecrã ficam desativados nesta execução",
     "steepo: não é possível manter o computador acordado durante a contagem decrescente (%1)",
     "Um chá está em infusão",
     "steepo: não é possível reproduzir o ficheiro de som %1 (%2); toca o carrilhão em vez dele",
     "não é um ficheiro WAV",
     "maior que 64 MiB",
     "o seu formato não pode ser reproduzido",
     "steepo: %1: a opção de alarme %2 não é compreendida; usa-se o valor predefinido",
     "steepo: não é possível guardar as opções de alarme em %1: %2"},
    // fr
    {"Usage : steepo [MINUTES:SECONDES] [-tea NOM] [-start]\n"
       "Un minuteur à thé : décompte le temps d'infusion et sonne quand le thé est prêt.\n"
       "\n"
       "  MINUTES:SECONDES le temps d'infusion pour ce lancement seulement, de 0:01 à 59:59 ;\n"
       "                   le séparateur horaire des paramètres régionaux peut remplacer les deux-points\n"
       "  -tea NOM         le thé de ce nom dans le menu de la fenêtre, avec son temps et\n"
       "                   ses infusions (majuscules ou minuscules) ; un temps donné avec lui l'emporte\n"
       "  -start           lance le décompte dès que la fenêtre apparaît (aussi /start,\n"
       "                   en majuscules ou minuscules)\n"
       "  -h, --help       affiche cette aide et quitte\n"
       "  --version        affiche la version et quitte\n"
       "\n"
       "Sans temps, le minuteur démarre avec le préréglage, le dernier temps choisi (3:00 au début),\n"
       "conservé %1.\n"
       "Les thés du menu sont conservés au même endroit.\n",
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
     "steepo : un argument vide est ignoré",
     "steepo : -tea demande le nom d'un thé ; les thés sont %1",
     "steepo : aucun thé ne s'appelle « %1 » ; les thés sont %2",
     "steepo : le temps '%1' donné avec -tea l'emporte ; le thé « %2 » n'est pas choisi",
     "steepo : certains thés de %1 sont abîmés, le premier à %2 : les mauvais sont laissés de côté",
     "steepo : impossible de lire les thés de %1 : %2 ; les thés intégrés sont utilisés",
     "steepo : impossible d'enregistrer les thés dans %1 : %2",
     "steepo : aucun dossier utilisable pour les thés (ni XDG_CONFIG_HOME ni HOME n'en indiquent) : ils ne sont pas enregistrés",
     "steepo : le bus de session n'a pas répondu en une demi-seconde : les notifications du bureau et les lecteurs d'écran sont désactivés pour cette exécution",
     "steepo : le service d'accessibilité n'a pas répondu en une demi-seconde : les lecteurs d'écran sont désactivés pour cette exécution",
     "steepo : impossible de garder l'ordinateur éveillé pendant le compte à rebours (%1)",
     "Un thé est en infusion",
     "steepo : impossible de jouer le fichier son %1 (%2) ; le carillon sonne à sa place",
     "pas un fichier WAV",
     "plus de 64 Mio",
     "son format ne peut pas être joué",
     "steepo : %1 : l'option d'alarme %2 n'est pas comprise ; sa valeur par défaut est utilisée",
     "steepo : impossible d'enregistrer les options d'alarme dans %1 : %2"},
    // it
    {"Uso: steepo [MINUTI:SECONDI] [-tea NOME] [-start]\n"
       "Un timer per il tè: conta alla rovescia il tempo d'infusione e avvisa quando il tè è pronto.\n"
       "\n"
       "  MINUTI:SECONDI   il tempo d'infusione solo per questa volta, da 0:01 a 59:59; il\n"
       "                   separatore orario delle impostazioni locali può sostituire i due punti\n"
       "  -tea NOME        il tè con quel nome nel menu della finestra, con il suo tempo e\n"
       "                   le sue infusioni (maiuscole o minuscole); un tempo dato insieme prevale\n"
       "  -start           avvia il conto alla rovescia appena appare la finestra (anche /start,\n"
       "                   in maiuscolo o minuscolo)\n"
       "  -h, --help       mostra questo aiuto ed esce\n"
       "  --version        mostra la versione ed esce\n"
       "\n"
       "Senza tempo il timer parte dalla preimpostazione, l'ultimo tempo scelto (all'inizio 3:00),\n"
       "conservata %1.\n"
       "I tè del menu sono conservati nello stesso posto.\n",
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
     "steepo: un argomento vuoto viene ignorato",
     "steepo: -tea richiede il nome di un tè; i tè sono %1",
     "steepo: non c'è nessun tè \"%1\"; i tè sono %2",
     "steepo: vale il tempo '%1' dato insieme a -tea; il tè \"%2\" non viene scelto",
     "steepo: alcuni tè in %1 sono danneggiati, il primo a %2: quelli errati vengono tralasciati",
     "steepo: impossibile leggere i tè da %1: %2; si usano i tè predefiniti",
     "steepo: impossibile salvare i tè in %1: %2",
     "steepo: nessuna cartella utilizzabile per i tè (né XDG_CONFIG_HOME né HOME ne indicano una): non vengono salvati",
     "steepo: il bus di sessione non ha risposto entro mezzo secondo: le notifiche del desktop e i lettori di schermo sono disattivati per questa esecuzione",
     "steepo: il servizio di accessibilità non ha risposto entro mezzo secondo: i lettori di schermo sono disattivati per questa esecuzione",
     "steepo: impossibile tenere sveglio il computer durante il conto alla rovescia (%1)",
     "Un tè è in infusione",
     "steepo: impossibile riprodurre il file audio %1 (%2); suona invece il carillon",
     "non è un file WAV",
     "più grande di 64 MiB",
     "il suo formato non si può riprodurre",
     "steepo: %1: l'opzione d'allarme %2 non è comprensibile; si usa il valore predefinito",
     "steepo: impossibile salvare le opzioni d'allarme in %1: %2"},
    // ru
    {"Использование: steepo [МИНУТЫ:СЕКУНДЫ] [-tea НАЗВАНИЕ] [-start]\n"
       "Чайный таймер: отсчитывает время заваривания и подаёт сигнал, когда чай готов.\n"
       "\n"
       "  МИНУТЫ:СЕКУНДЫ   время заваривания только для этого запуска, от 0:01 до 59:59;\n"
       "                   вместо двоеточия можно писать разделитель времени локали\n"
       "  -tea НАЗВАНИЕ    чай с этим названием из меню окна, с его временем и\n"
       "                   заварками (регистр не важен); время, указанное рядом, важнее\n"
       "  -start           начать отсчёт сразу после появления окна (также /start,\n"
       "                   в любом регистре)\n"
       "  -h, --help       показать эту справку и выйти\n"
       "  --version        показать версию и выйти\n"
       "\n"
       "Без времени таймер начинает с предустановки, последнего заданного времени (сначала 3:00),\n"
       "хранимой %1.\n"
       "Чаи меню хранятся там же.\n",
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
     "steepo: пустой аргумент пропущен",
     "steepo: для -tea нужно название чая; чаи: %1",
     "steepo: чая \"%1\" нет; чаи: %2",
     "steepo: действует время '%1', указанное рядом с -tea; чай \"%2\" не выбран",
     "steepo: некоторые чаи в %1 повреждены, первый — %2: плохие пропущены",
     "steepo: не удаётся прочитать чаи из %1: %2; используются встроенные чаи",
     "steepo: не удаётся сохранить чаи в %1: %2",
     "steepo: нет пригодной папки для чаёв (ни XDG_CONFIG_HOME, ни HOME её не указывают): они не сохраняются",
     "steepo: шина сеанса не ответила за полсекунды: уведомления рабочего стола и экранные дикторы отключены на этот запуск",
     "steepo: служба специальных возможностей не ответила за полсекунды: экранные дикторы отключены на этот запуск",
     "steepo: не удаётся удержать компьютер от сна во время отсчёта (%1)",
     "Заваривается чай",
     "steepo: не удаётся воспроизвести звуковой файл %1 (%2); вместо него звучит перезвон",
     "это не файл WAV",
     "больше 64 МиБ",
     "его формат не воспроизводится",
     "steepo: %1: параметр сигнала %2 не распознан; используется значение по умолчанию",
     "steepo: не удаётся сохранить параметры сигнала в %1: %2"},

}};
// clang-format on

QString Text(TMessage message) {
  const std::size_t row = OrbDialogs::LangIndex < Texts.size() ? OrbDialogs::LangIndex : 0;
  return QString::fromUtf8(Texts[row][message]);
}

} // namespace MessageTexts
