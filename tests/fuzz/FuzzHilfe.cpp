// The fresh session of every fuzz input and the checks shared by the targets.
#include "FuzzZiel.h"

#include "app/DB_System.h"
#include "app/EinstellungenSpeicher.h"
#include "app/StartParameter.h"

#include <cmath>

namespace konturo::fuzz {

std::unique_ptr<Sitzung> NeueSitzung() {
    auto s = std::make_unique<Sitzung>();
    EinstellungenSpeicherSpeicher leer;
    EinstellungenUmgebung umgebung;
    umgebung.programmOrdner = "/nonexistent";
    EinstellungenLaden(*s, leer, umgebung);
    StartwerteSetzen(*s);
    s->kopflos.antwort = true;
    return s;
}

Sitzung& LeichteSitzung(std::size_t platz) {
    static std::unique_ptr<Sitzung> sitzungen[3];
    std::unique_ptr<Sitzung>& s = sitzungen[platz];
    if (!s) s = std::make_unique<Sitzung>();
    s->einstellungen = Einstellungen{};
    s->fenster = Fensterzustand{};
    s->kopflos = UiDiensteKopflos{true};
    s->ui = &s->kopflos;
    return *s;
}

bool ElementeGueltig(const GeoFeld& feld, bool vorlage) {
    for (std::int32_t i = 1; i <= feld.Anzahl(); ++i) {
        const GeoElement& e = feld[i];
        const bool text = vorlage && e.Typ == Textelement;
        if (e.Typ != 0 && e.Typ != Linie && e.Typ != Bogen && e.Typ != Kreis && !text) return false;
        if (e.Typ == 0) continue;
        for (double w : {e.X1, e.Y1, e.X2, e.Y2, e.Radius})
            if (!std::isfinite(w)) return false;
    }
    return true;
}

} // namespace konturo::fuzz
