// The program's texts in German and English: window captions, labels, menus, messages and the
// command line's help. German is used when the user's language is German, English otherwise.
#pragma once

#include <string>
#include <string_view>

namespace konturo::serienmacher {

enum class TextNr {
    Titel,
    Eingabe,
    LabelVorText,
    LabelStartNr,
    LabelEndNr,
    LabelNachText,
    Senkrecht,
    FuehrendeNullen,
    Erzeugen,
    MenuDatei,
    MenuBeenden,
    MenuInfo,
    InfoTitel,
    Version,
    Beschreibung,
    Filter,
    EndeVorStart,
    Zeilenumbruch,
    NichtGeoeffnet,
    Schreibfehler,
    EinstellungenNichtGespeichert,
    Hilfe,
    UnbekannteOption,
    WertFehlt,
    KeineGanzzahl,
    PflichtFehlt,
    HilfeHinweis,
    Anzahl // not a text: the size of the table
};

// The text in the chosen language, UTF-8, with "%1" and "%2" replaced by the given values.
std::string Text(TextNr nr, bool deutsch, std::string_view einsatz1 = {},
                 std::string_view einsatz2 = {});

} // namespace konturo::serienmacher
