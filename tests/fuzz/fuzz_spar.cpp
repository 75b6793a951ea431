// PostScript, EPS and AI files through the import in the economy mode: the true outline, the
// search for the fewest arcs and the choice between them and the default approximation. The
// first byte picks the deviation (from a micrometre to a millimetre); every element must be
// finite and, where the true outline was kept whole and no path was reported too large for the
// fit, within that deviation of it.
#include "FuzzZiel.h"

#include "geometry/Abweichung.h"
#include "import/EPS_Einlesen.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace konturo;

KONTURO_FUZZ_ZIEL(spar) {
    if (groesse < 1) return 0;
    Sitzung& s = fuzz::NeueSitzung();
    s.fenster.TextModus = false;
    s.einstellungen.SparModus = 1;
    static constexpr double Abweichungen[] = {0.001, 0.01, 0.05, 0.1, 1.0};
    s.einstellungen.MaxAbweichung = Abweichungen[daten[0] % 5];
    EPSEinlesenText(s, std::string(fuzz::Text(daten + 1, groesse - 1)), false);
    fuzz::Pruefen(fuzz::ElementeGueltig(s.speicher.Elemente),
                  "the element store holds an unknown kind or a number that is not finite");
    // Beyond the deviation only where text 9 said that a path was too large for the fit.
    const std::vector<int>& m = s.kopflos.meldungen;
    const bool gemeldet = std::find(m.begin(), m.end(), 9) != m.end();
    if (!gemeldet && !s.umriss.Unvollstaendig && s.umriss.AnzElemente > 0) {
        // Far from the origin a double resolves no better than about 1e-16 of the coordinate.
        double groesse = 0;
        for (std::int32_t i = 1; i <= s.umriss.AnzElemente; ++i) {
            const GeoElement& e = s.speicher.Elemente[i];
            groesse = std::max({groesse, std::fabs(e.X1), std::fabs(e.Y1), e.Radius});
            if (e.Typ == Linie) groesse = std::max({groesse, std::fabs(e.X2), std::fabs(e.Y2)});
        }
        // Beyond 1e150 the squares of distances overflow: the measurement is not defined there.
        if (groesse < 1e150)
            fuzz::Pruefen(AbweichungMessen(s.umriss, s.speicher, s.umriss.AnzElemente) <=
                              s.einstellungen.MaxAbweichung * 1.0001 + 1e-12 * groesse,
                          "an element or the true outline lies beyond MaxAbweichung");
    }
    return 0;
}
