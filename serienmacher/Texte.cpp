// The two-column text table.
#include "serienmacher/Texte.h"

#include <array>

namespace konturo::serienmacher {

namespace {

struct Textpaar {
    TextNr nr; // only to keep the table in the order of TextNr (checked below)
    const char* deutsch;
    const char* englisch;
};

constexpr std::array<Textpaar, static_cast<std::size_t>(TextNr::Anzahl)> Tabelle{{
    {TextNr::Titel, "Serienmacher", "Serienmacher"},
    {TextNr::Eingabe, "Eingabe", "Input"},
    {TextNr::LabelVorText, "Text vor Nummer", "Text before number"},
    {TextNr::LabelStartNr, "Start-Nummer", "First number"},
    {TextNr::LabelEndNr, "End-Nummer", "Last number"},
    {TextNr::LabelNachText, "Text nach Nummer", "Text after number"},
    {TextNr::Senkrecht, "Textausgabe senkrecht", "Vertical text"},
    {TextNr::FuehrendeNullen, "führende Nullen ausgeben", "Leading zeros"},
    {TextNr::Erzeugen, "Batch-Datei erzeugen", "Create batch file"},
    {TextNr::MenuDatei, "&Datei", "&File"},
    {TextNr::MenuBeenden, "&Beenden", "E&xit"},
    {TextNr::MenuInfo, "&Info", "&About"},
    {TextNr::InfoTitel, "Serienmacher-Info", "Serienmacher-Info"},
    {TextNr::Version, "Version %1", "Version %1"},
    {TextNr::Beschreibung,
     "Erzeugt nummerierte Batch-Dateien (*.bch)\nfür die Stapelverarbeitung von Konturo.",
     "Writes numbered batch files (*.bch)\nfor Konturo's batch processing."},
    {TextNr::Filter, "Batch-Dateien", "Batch files"},
    {TextNr::EndeVorStart, "Die End-Nummer ist kleiner als die Start-Nummer.",
     "The last number is smaller than the first number."},
    {TextNr::Zeilenumbruch,
     "Der Text vor oder nach der Nummer enthält einen Zeilenumbruch; jede Nummer muss eine "
     "Zeile bleiben.",
     "The text before or after the number contains a line break; each number must stay on one "
     "line."},
    {TextNr::NichtGeoeffnet, "Die Datei %1 kann nicht angelegt werden.",
     "The file %1 cannot be created."},
    {TextNr::Schreibfehler,
     "Beim Schreiben der Datei %1 ist ein Fehler aufgetreten (Datenträger voll?). Die Datei ist "
     "unvollständig.",
     "Writing the file %1 failed (disk full?). The file is incomplete."},
    {TextNr::EinstellungenNichtGespeichert, "Die Einstellungen konnten nicht gespeichert werden.",
     "The settings could not be saved."},
    {TextNr::Hilfe,
     R"(serienmacher: schreibt eine nummerierte Batch-Datei (*.bch) für Konturo.
Ohne Argumente öffnet sich das Fenster.

Aufruf:
  serienmacher --start N --ende M [Optionen] -o DATEI.bch

Optionen:
  --vor TEXT, --prefix TEXT    Text vor der Nummer (Vorgabe: leer)
  --start N, --first N         erste Nummer (Pflicht)
  --ende M, --last M           letzte Nummer (Pflicht, nicht kleiner als N)
  --nach TEXT, --suffix TEXT   Text nach der Nummer (Vorgabe: leer)
  --nullen, --zeros            führende Nullen bis zur Breite der letzten Nummer
  --senkrecht, --vertical      "|" zwischen je zwei Zeichen (senkrechte Schrift)
  -o DATEI, --output DATEI     die zu schreibende Datei (Pflicht; wird überschrieben)
  -h, --help                   dieser Text

Nummern sind ganze Zahlen im 32-Bit-Bereich. Statt "--option WERT" geht auch "--option=WERT".
Die gespeicherten Einstellungen des Fensters bleiben unberührt.
Exit-Code: 0 geschrieben, 1 Nummernfolge leer oder Datei nicht schreibbar, 2 falscher Aufruf.
)",
     R"(serienmacher: writes a numbered batch file (*.bch) for Konturo.
Without arguments the window opens.

Usage:
  serienmacher --first N --last M [options] --output FILE.bch

Options:
  --prefix TEXT, --vor TEXT     text before the number (default: empty)
  --first N, --start N          first number (required)
  --last M, --ende M            last number (required, not smaller than N)
  --suffix TEXT, --nach TEXT    text after the number (default: empty)
  --zeros, --nullen             leading zeros up to the width of the last number
  --vertical, --senkrecht       "|" between every two characters (vertical lettering)
  -o FILE, --output FILE        the file to write (required; overwritten)
  -h, --help                    this text

Numbers are whole numbers in the 32-bit range. "--option=VALUE" works as well as
"--option VALUE". The window's stored settings are left alone.
Exit code: 0 written, 1 empty number range or file not writable, 2 wrong command line.
)"},
    {TextNr::UnbekannteOption, "Unbekannte Option: %1", "Unknown option: %1"},
    {TextNr::WertFehlt, "Der Option %1 fehlt ihr Wert.", "The option %1 needs a value."},
    {TextNr::KeineGanzzahl, "%1: \"%2\" ist keine ganze Zahl im 32-Bit-Bereich.",
     "%1: \"%2\" is not a whole number in the 32-bit range."},
    {TextNr::PflichtFehlt, "Die Option %1 fehlt.", "The option %1 is missing."},
    {TextNr::HilfeHinweis, "Aufruf: serienmacher --help", "Usage: serienmacher --help"},
}};

constexpr bool TabelleGeordnet() {
    for (std::size_t i = 0; i < Tabelle.size(); ++i) {
        if (static_cast<std::size_t>(Tabelle[i].nr) != i) return false;
    }
    return true;
}
static_assert(TabelleGeordnet(), "the text table must follow the order of TextNr");

} // namespace

std::string Text(TextNr nr, bool deutsch, std::string_view einsatz1, std::string_view einsatz2) {
    const Textpaar& paar = Tabelle[static_cast<std::size_t>(nr)];
    const std::string_view vorlage = deutsch ? paar.deutsch : paar.englisch;
    // One pass over the template, so that a "%1" or "%2" inside a value stays as it is.
    std::string text;
    for (std::size_t i = 0; i < vorlage.size(); ++i) {
        if (vorlage[i] == '%' && i + 1 < vorlage.size() &&
            (vorlage[i + 1] == '1' || vorlage[i + 1] == '2')) {
            text += vorlage[i + 1] == '1' ? einsatz1 : einsatz2;
            ++i;
        } else {
            text += vorlage[i];
        }
    }
    return text;
}

} // namespace konturo::serienmacher
