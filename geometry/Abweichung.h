// The deviation of approximated elements from the true outline: the largest distance of a point
// of either from the other (the Hausdorff distance), contour by contour.
#pragma once

#include "geometry/Umriss.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace konturo {

struct Speicher;

// The distance of p from the part t0..t1 of a piece.
double StueckAbstand(const UmrissStueck& s, P2 p, double t0 = 0, double t1 = 1);

// How the nearest piece or element of a point is found: by a grid for large contours (Auto), or
// always by looking at all of them, or always by the grid; all three give the same figure.
enum class Naechstensuche { Auto, Alle, Raster };
// The largest distance between one contour and the elements that stand for it, in both
// directions (see AbweichungMessen).
double KonturAbweichung(const UmrissKontur& k, const std::vector<const GeoElement*>& elemente,
                        Naechstensuche suche = Naechstensuche::Auto);

// KonturAbweichung with the figures kept by shape: a contour and its elements relative to the
// contour's start, so the glyphs a text repeats are measured once.
class KonturMessung {
public:
    double Messen(const UmrissKontur& k, const std::vector<const GeoElement*>& elemente);

private:
    std::unordered_map<std::uint64_t, double> gemessen_;
};
// The largest distance between each contour of the true outline u and the store's elements of
// its contour number among elements 1 .. anzahl (lines, arcs, circles), in both directions. The
// distances are sampled about four times along every element and each local maximum is refined,
// so the figure meets the truth to well within a percent. Contours without elements count 0.
double AbweichungMessen(const Umriss& u, const Speicher& sp, std::int32_t anzahl);

} // namespace konturo
