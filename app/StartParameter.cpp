// Start values of the store, the window state, the renderer and the text layout.
#include "app/StartParameter.h"

#include "app/Sitzung.h"

namespace konturo {

void StartwerteSetzen(Sitzung& s) {
    Fensterzustand& w = s.fenster;
    w.ZoomRahmenFarbe = RGB(128, 128, 128);
    // Arrays already empty at their start capacity (a new session's) are left as they are:
    // re-creating them would only give back and take again the same memory.
    for (GeoFeld* feld : {&s.speicher.KonturPunkte, &s.speicher.Elemente}) {
        if (feld->Anzahl() != 0 || feld->Kapazitaet() != GeoFeld::Schritt) feld->Zuruecksetzen();
    }
    BoxZuruecksetzen(s.speicher);
    w.Gezoomt = false;
    w.TextModus = true;
    w.ParameterZeigen = true;
    w.AbbruchWunsch = false;
    w.Bogenschritt = 0.01f;
    w.ParameterFensterOffen = false;
    s.text.KeinKreis = false;
    w.KurzFarbe = RGB(255, 0, 0);
    s.text.Schrifthoehe = 100;
    s.text.Laufweite = 0;
    s.text.Zeilenabstand = 0;
}

} // namespace konturo
