// The ME10 macro writer: the element store as ME10 input commands (window, line two_pts,
// arc three_pts, circle center, end, window fit), one command per CR LF line.
#pragma once

#include "geometry/Variablen.h"
#include "output/Ausgabe.h"

#include <ostream>

namespace konturo {

struct Sitzung;

// Writes the macro to aus; AktElement walks the store, progress every 20 elements, hourglass on
// while it runs. Stops at the first block the stream refuses.
void Me10Schreiben(Sitzung& s, std::ostream& aus);
// The same into s.speicher.AusgabeDatei.
Schreibergebnis Me10Schreiben(Sitzung& s);

// Signed distance of the arc's middle point from its chord (mm), as the flatness test sees it:
// the chord's slope is 9999999999 when it is vertical.
double Me10Sehnenabstand(const GeoElement& bogen);

} // namespace konturo
