// The fresh session of every fuzz input and the checks shared by the targets.
#include "FuzzZiel.h"

#include "app/DB_System.h"
#include "app/EinstellungenSpeicher.h"
#include "app/StartParameter.h"

#include <cmath>

namespace konturo::fuzz {

Sitzung& NeueSitzung() {
    static std::unique_ptr<Sitzung> s;
    if (!s) s = std::make_unique<Sitzung>();
    // Everything a new session has, assigned anew; only the store's arrays are emptied instead:
    // their 4 MiB blocks cost about 15 ms to allocate and free under the sanitizers, more than
    // most inputs take.
    Speicher& sp = s->speicher;
    for (GeoFeld* feld : {&sp.Elemente, &sp.KonturPunkte, &sp.VorlageElemente}) {
        if (feld->Kapazitaet() != GeoFeld::Schritt)
            feld->Zuruecksetzen();
        else
            feld->Leeren();
    }
    sp.VorlageTexte.clear();
    sp.VorlagePunkteX.assign(1, 0.0);
    sp.VorlagePunkteY.assign(1, 0.0);
    BoxZuruecksetzen(sp);
    sp.AktElement = 0;
    sp.AusgabeDatei.clear();
    sp.DezimalPunkt = true;
    s->einstellungen = Einstellungen{};
    s->fenster = Fensterzustand{};
    s->text = Textzustand{};
    s->batch = Batchzustand{};
    s->umriss = Umriss{};
    s->glyphGeraet = nullptr;
    s->textquelle = nullptr;
    s->eigenesGlyphGeraet.reset();
    s->kopflos = UiDiensteKopflos{true};
    s->ui = &s->kopflos;

    EinstellungenSpeicherSpeicher leer;
    EinstellungenUmgebung umgebung;
    umgebung.programmOrdner = "/nonexistent";
    EinstellungenLaden(*s, leer, umgebung);
    StartwerteSetzen(*s);
    s->kopflos.antwort = true;
    return *s;
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
