// State of the curve approximation and the text layout that lives across one conversion.
#pragma once

#include <cstdint>

namespace konturo {

// The current circle of the circle constructions (outline units, radians).
struct Kreisbogen {
    double MX = 0, MY = 0, Radius = 0, Start = 0, Ende = 0;
};

struct Textzustand {
    // Placement of outline records into the store.
    double StiftX = 0;
    double StiftY = 0;
    double Massstab = 1;
    double Vorschub = 0;
    double Oberlaenge = 0;
    // Layout parameters of the text parameters window (not settings; start values of the run).
    double Schrifthoehe = 100;
    double Laufweite = 0;
    double Zeilenabstand = 0;

    Kreisbogen Bogen;
    bool KeinKreis = false;
    // Contour counter: unique contour numbers across one conversion.
    std::int32_t KonturZaehler = 0;
    // Longest contour (outline records) of the approximations since the last text conversion.
    std::int32_t MaxKonturLaenge = 0;

    // "Previous value stays" memories of Richtungswinkel and the line of GeradeDurchZweiPunkte.
    double LetzterRichtungswinkel = 0;
    double GeradeSteigung = 0;
    double GeradeAchsenabschnitt = 0;
};

} // namespace konturo
