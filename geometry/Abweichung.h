// The deviation of approximated elements from the true outline: the largest distance of a point
// of either from the other (the Hausdorff distance), contour by contour.
#pragma once

#include "geometry/Umriss.h"

#include <cstdint>
#include <vector>

namespace konturo {

struct Speicher;

// The distance of p from the part t0..t1 of a piece.
double StueckAbstand(const UmrissStueck& s, P2 p, double t0 = 0, double t1 = 1);

// The largest distance between one contour and the elements that stand for it, in both
// directions (see AbweichungMessen).
double KonturAbweichung(const UmrissKontur& k, const std::vector<const GeoElement*>& elemente);

// The largest distance between each contour of the true outline u and the store's elements of
// its contour number among elements 1 .. anzahl (lines, arcs, circles), in both directions. The
// distances are sampled about four times along every element and each local maximum is refined,
// so the figure meets the truth to well within a percent. Contours without elements count 0.
double AbweichungMessen(const Umriss& u, const Speicher& sp, std::int32_t anzahl);

} // namespace konturo
