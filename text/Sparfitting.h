// The economy fitting: a closed contour of the true outline as few lines, arcs and full circles
// as possible, with every point of the contour within a stated distance of the elements and every
// point of the elements within that distance of the contour. Smooth stretches are fitted with
// biarcs across the joints of the outline's pieces (the tangent stays continuous), corners stay
// corners, and a contour that is a circle becomes one.
#pragma once

#include "geometry/Umriss.h"
#include "geometry/Variablen.h"

#include <vector>

namespace konturo {

struct Sparparameter {
    double MaxAbweichung = 0.05; // mm, both ways
    double MaxRadius = 9999.99;  // larger arcs are written as lines
    double WarnLaenge = 0;       // elements shorter than this get WarnFarbe
    std::int32_t WarnFarbe = 0;
};

// Appends the elements of contour k, in the contour's order and with its contour number, to aus.
void SparKonturFitten(const UmrissKontur& k, const Sparparameter& p, std::vector<GeoElement>& aus);

// The glyph stream of one character (the arrays as Glyphon fills them, 1-based) as true outline
// contours, placed as the approximation places its elements: ((stiftX + x) · massstab,
// (stiftY + y) · massstab), numbered from ersteNr + 1 on as the stream reading numbers them.
void GlyphUmrissLesen(const double* x, const double* y, const std::int16_t* art,
                      std::int32_t anzahl, std::int32_t ersteNr, double stiftX, double stiftY,
                      double massstab, Umriss& u);

} // namespace konturo
