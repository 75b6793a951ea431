// The economy fitting: a closed contour of the true outline as few lines, arcs and full circles
// as possible, with every point of the contour within a stated distance of the elements and every
// point of the elements within that distance of the contour. Smooth stretches are fitted with arcs
// across the joints of the outline's pieces (the tangent stays continuous from arc to arc), corners
// stay corners, and a contour that is a circle becomes one.
#pragma once

#include "geometry/Umriss.h"
#include "geometry/Variablen.h"

#include <vector>

namespace konturo {

struct Einstellungen;
struct Sparparameter {
    double MaxAbweichung = 0.05; // mm, both ways
    double MaxRadius = 9999.99;  // larger arcs are written as lines
    double WarnLaenge = 0;       // elements shorter than this get WarnFarbe
    std::int32_t WarnFarbe = 0;
};

// The settings' MaxAbweichung (a deviation below a micrometre, or none, counts as a micrometre:
// finer than any cutter), maxRadius, WarnLaenge and ElementWarnFarbe.
Sparparameter SparparameterAus(const Einstellungen& e);
// Appends the elements of contour k, in the contour's order and with its contour number, to aus,
// and returns their measured deviation from k. A closed contour stays closed; an open one (or
// one that jumps) is fitted chain by chain, with the ends of each chain kept. A contour whose fit
// would take more than 64 elements per piece of it (at least 1024) or more search than its
// pieces allow, one far larger than the deviation, appends nothing and returns -1.
double SparKonturFitten(const UmrissKontur& k, const Sparparameter& p,
                        std::vector<GeoElement>& aus);

// The glyph stream of one character (the arrays as Glyphon fills them, 1-based) as true outline
// contours, placed as the approximation places its elements: ((stiftX + x) · massstab,
// (stiftY + y) · massstab), numbered from ersteNr + 1 on as the stream reading numbers them.
// Returns the number of contours the stream starts (those without extent are counted, not kept).
std::int32_t GlyphUmrissLesen(const double* x, const double* y, const std::int16_t* art,
                              std::int32_t anzahl, std::int32_t ersteNr, double stiftX,
                              double stiftY, double massstab, Umriss& u);

class KonturMessung;
struct Speicher;
// The economy mode's choice, contour by contour, between the default approximation's elements
// (the store's elements after von) and the economy fit's (spar, in contour order): the default's
// where they are fewer and keep maxAbweichung from the contour of konturen with their number
// (measured through messung), else the fit's. A contour without fitted elements keeps the
// default's; one that only the fit has is taken from it. The store's elements after von are
// replaced by the choice, in contour order.
void SparAuswaehlen(Speicher& sp, std::int32_t von, const std::vector<GeoElement>& spar,
                    const std::vector<const UmrissKontur*>& konturen, double maxAbweichung,
                    KonturMessung& messung);

} // namespace konturo
