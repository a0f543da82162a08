#include "TeaTexts.h"

#include "OrbDialogs.h"

namespace TeaTexts {

// clang-format off
const std::array<std::array<const char*, ttCount>, 8> Texts = {{
    // en
    {"Green tea", "Oolong", "Black tea", "Herbal tea", "Oolong, gongfu",
     "&Save this time as a tea\u2026", "&Edit teas\u2026", "&About\u2026",
     "&Next infusion %1 (%2/%3)",
     "Teas", "Name", "Time", "Infusions", "Extra",
     "&Name:", "&Time:", "In&fusions:", "E&xtra each time:", "&Add", "&Remove", "Move &up", "Move &down", "OK", "Cancel",
     "New tea",
     "Give the tea a name", "At most 60 characters", "No control characters", "A tea of this name exists",
     "From 0:01 to 59:59 (m:ss)", "From 0:00 to 10:00 (m:ss)", "At most 50 teas", "Keep at least one tea",
     "Save as a tea", "&Name of the tea for %1:"},
    // cs
    {"Zelený čaj", "Oolong", "Černý čaj", "Bylinný čaj", "Oolong, gongfu",
     "&Uložit tento čas jako čaj\u2026", "Up&ravit čaje\u2026", "&O programu\u2026",
     "&Další nálev %1 (%2/%3)",
     "Čaje", "Název", "Čas", "Nálevy", "Navíc",
     "&Název:", "Č&as:", "Ná&levy:", "Na&víc pokaždé:", "&Přidat", "Odeb&rat", "Nahor&u", "&Dolů", "OK", "Storno",
     "Nový čaj",
     "Zadejte název čaje", "Nejvýše 60 znaků", "Bez řídicích znaků", "Čaj s tímto názvem už existuje",
     "Od 0:01 do 59:59 (m:ss)", "Od 0:00 do 10:00 (m:ss)", "Nejvýše 50 čajů", "Ponechte aspoň jeden čaj",
     "Uložit jako čaj", "&Název čaje pro %1:"},
    // de
    {"Grüner Tee", "Oolong", "Schwarzer Tee", "Kräutertee", "Oolong, Gongfu",
     "Diese Zeit als Tee &speichern\u2026", "Tees &bearbeiten\u2026", "&Über Steepo\u2026",
     "&Nächster Aufguss %1 (%2/%3)",
     "Tees", "Name", "Zeit", "Aufgüsse", "Zusätzlich",
     "&Name:", "&Zeit:", "&Aufgüsse:", "Zusätzlich &je Aufguss:", "&Hinzufügen", "&Entfernen", "Nach &oben",
     "Nach &unten", "OK", "Abbrechen",
     "Neuer Tee",
     "Geben Sie dem Tee einen Namen", "Höchstens 60 Zeichen", "Keine Steuerzeichen", "Diesen Tee gibt es schon",
     "Von 0:01 bis 59:59 (m:ss)", "Von 0:00 bis 10:00 (m:ss)", "Höchstens 50 Tees", "Mindestens ein Tee bleibt",
     "Als Tee speichern", "&Name des Tees für %1:"},
    // es
    {"Té verde", "Oolong", "Té negro", "Infusión de hierbas", "Oolong, gongfu",
     "&Guardar este tiempo como té\u2026", "&Editar tés\u2026", "&Acerca de\u2026",
     "&Siguiente infusión %1 (%2/%3)",
     "Tés", "Nombre", "Tiempo", "Infusiones", "Extra",
     "&Nombre:", "&Tiempo:", "In&fusiones:", "E&xtra cada vez:", "&Añadir", "&Quitar", "S&ubir", "&Bajar", "OK",
     "Cancelar",
     "Té nuevo",
     "Dé un nombre al té", "Como máximo 60 caracteres", "Sin caracteres de control", "Ya hay un té con este nombre",
     "De 0:01 a 59:59 (m:ss)", "De 0:00 a 10:00 (m:ss)", "Como máximo 50 tés", "Deje al menos un té",
     "Guardar como té", "&Nombre del té para %1:"},
    // pt
    {"Chá verde", "Oolong", "Chá preto", "Chá de ervas", "Oolong, gongfu",
     "&Guardar este tempo como chá\u2026", "&Editar chás\u2026", "&Sobre\u2026",
     "&Próxima infusão %1 (%2/%3)",
     "Chás", "Nome", "Tempo", "Infusões", "Extra",
     "&Nome:", "&Tempo:", "In&fusões:", "E&xtra de cada vez:", "&Adicionar", "&Remover", "S&ubir", "&Descer", "OK",
     "Cancelar",
     "Chá novo",
     "Dê um nome ao chá", "No máximo 60 caracteres", "Sem caracteres de controlo", "Já existe um chá com este nome",
     "De 0:01 a 59:59 (m:ss)", "De 0:00 a 10:00 (m:ss)", "No máximo 50 chás", "Mantenha pelo menos um chá",
     "Guardar como chá", "&Nome do chá para %1:"},
    // fr
    {"Thé vert", "Oolong", "Thé noir", "Tisane", "Oolong, gongfu",
     "&Enregistrer ce temps comme thé\u2026", "&Modifier les thés\u2026", "À &propos\u2026",
     "Infusion &suivante %1 (%2/%3)",
     "Thés", "Nom", "Temps", "Infusions", "Supplément",
     "&Nom\u00A0:", "&Temps\u00A0:", "In&fusions\u00A0:", "&Supplément à chaque fois\u00A0:", "&Ajouter", "&Retirer",
     "&Monter", "&Descendre", "OK", "Annuler",
     "Nouveau thé",
     "Donnez un nom au thé", "60 caractères au plus", "Pas de caractères de contrôle", "Ce thé existe déjà",
     "De 0:01 à 59:59 (m:ss)", "De 0:00 à 10:00 (m:ss)", "50 thés au plus", "Gardez au moins un thé",
     "Enregistrer comme thé", "&Nom du thé pour %1\u00A0:"},
    // it
    {"Tè verde", "Oolong", "Tè nero", "Tisana", "Oolong, gongfu",
     "&Salva questo tempo come tè\u2026", "&Modifica i tè\u2026", "&Informazioni\u2026",
     "Infusione &successiva %1 (%2/%3)",
     "Tè", "Nome", "Tempo", "Infusioni", "Extra",
     "&Nome:", "&Tempo:", "In&fusioni:", "E&xtra ogni volta:", "&Aggiungi", "&Rimuovi", "S&u", "&Giù", "OK", "Annulla",
     "Nuovo tè",
     "Dai un nome al tè", "Al massimo 60 caratteri", "Niente caratteri di controllo", "Esiste già un tè con questo nome",
     "Da 0:01 a 59:59 (m:ss)", "Da 0:00 a 10:00 (m:ss)", "Al massimo 50 tè", "Tieni almeno un tè",
     "Salva come tè", "&Nome del tè per %1:"},
    // ru
    {"Зелёный чай", "Улун", "Чёрный чай", "Травяной чай", "Улун, гунфу",
     "&Сохранить это время как чай\u2026", "&Изменить чаи\u2026", "&О программе\u2026",
     "&Следующая заварка %1 (%2/%3)",
     "Чаи", "Название", "Время", "Заварки", "Прибавка",
     "&Название:", "&Время:", "&Заварки:", "&Прибавка каждый раз:", "&Добавить", "&Удалить", "Вы&ше", "Ни&же", "OK",
     "Отмена",
     "Новый чай",
     "Дайте чаю название", "Не более 60 знаков", "Без управляющих символов", "Чай с таким названием уже есть",
     "От 0:01 до 59:59 (м:сс)", "От 0:00 до 10:00 (м:сс)", "Не более 50 чаёв", "Оставьте хотя бы один чай",
     "Сохранить как чай", "&Название чая для %1:"},
}};
// clang-format on

QString Text(TTeaText text) {
  const std::size_t row = OrbDialogs::LangIndex < Texts.size() ? OrbDialogs::LangIndex : 0;
  return QString::fromUtf8(Texts[row][text]);
}

} // namespace TeaTexts
