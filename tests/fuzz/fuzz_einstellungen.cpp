// Settings values as the command line (--set KEY=VALUE) and the settings store hand them over:
// each line "KEY=VALUE" or "SECTION/KEY=VALUE". Whatever is taken must save and load back to the
// same texts, and a stored value that is not taken costs only that key.
#include "FuzzZiel.h"

#include "app/DB_System.h"
#include "app/EinstellungenSpeicher.h"

#include <algorithm>
#include <vector>

using namespace konturo;

namespace {

struct Zeile {
    std::string abschnitt;
    std::string schluessel;
    std::string wert;
};

std::vector<Zeile> Zeilen(std::string_view text) {
    std::vector<Zeile> zeilen;
    while (!text.empty()) {
        const std::size_t ende = std::min(text.find('\n'), text.size());
        const std::string_view zeile = text.substr(0, ende);
        text.remove_prefix(std::min(ende + 1, text.size()));
        const std::size_t gleich = zeile.find('=');
        if (gleich == std::string_view::npos) continue;
        std::string_view name = zeile.substr(0, gleich);
        Zeile z{"Param", {}, std::string(zeile.substr(gleich + 1))};
        if (const std::size_t strich = name.find('/'); strich != std::string_view::npos) {
            z.abschnitt = name.substr(0, strich);
            name.remove_prefix(strich + 1);
        }
        z.schluessel = name;
        zeilen.push_back(std::move(z));
    }
    return zeilen;
}

const EinstellungenUmgebung& Umgebung() {
    static const EinstellungenUmgebung umgebung{"/nonexistent", 1920 * 15, 1080 * 15};
    return umgebung;
}

// Saves the session's settings, loads them into a fresh session and saves that again: both saves
// must give the same texts, and the loading must take every value.
void RundreisePruefen(Sitzung& s) {
    // Loading empties a template path without a file and always switches single-line mode off.
    if (!DateiExistiert(s.einstellungen.RVorlage)) s.einstellungen.RVorlage.clear();
    s.einstellungen.SingleLineModus = 0;
    EinstellungenSpeicherSpeicher gespeichert;
    fuzz::Pruefen(EinstellungenSichern(s, gespeichert), "the settings were not all saved");
    Sitzung& wieder = fuzz::LeichteSitzung(1);
    fuzz::Pruefen(EinstellungenLaden(wieder, gespeichert, Umgebung()),
                  "a saved value does not load back");
    fuzz::Pruefen(wieder.kopflos.meldungen.empty(), "loading saved settings gave a message");
    EinstellungenSpeicherSpeicher nochmal;
    EinstellungenSichern(wieder, nochmal);
    fuzz::Pruefen(nochmal.werte == gespeichert.werte, "saved settings load back changed");
}

} // namespace

KONTURO_FUZZ_ZIEL(einstellungen) {
    const std::vector<Zeile> zeilen = Zeilen(fuzz::Text(daten, groesse));

    // The command line's way, on the defaults: every value that is refused says why and changes
    // nothing.
    Sitzung& s = fuzz::LeichteSitzung(0);
    EinstellungenSpeicherSpeicher leer;
    EinstellungenLaden(s, leer, Umgebung());
    for (const Zeile& z : zeilen) {
        EinstellungenSpeicherSpeicher vorher, nachher;
        EinstellungenSichern(s, vorher);
        std::string grund;
        if (!EinstellungSetzen(s.einstellungen, z.schluessel, z.wert, &grund)) {
            fuzz::Pruefen(!grund.empty(), "a refused value without a reason");
            EinstellungenSichern(s, nachher);
            fuzz::Pruefen(nachher.werte == vorher.werte, "a refused value changed a setting");
        }
    }
    RundreisePruefen(s);

    // The store's way: the lines as stored texts; a value not taken gets its default and is named.
    EinstellungenSpeicherSpeicher speicher;
    for (const Zeile& z : zeilen) speicher.werte[{z.abschnitt, z.schluessel}] = z.wert;
    Sitzung& geladen = fuzz::LeichteSitzung(2);
    const bool alle = EinstellungenLaden(geladen, speicher, Umgebung());
    fuzz::Pruefen(alle == geladen.kopflos.meldungen.empty(), "text 117 does not match the result");
    fuzz::Pruefen(geladen.kopflos.meldungen.size() <= 1, "more than one message for one loading");
    RundreisePruefen(geladen);
    return 0;
}
