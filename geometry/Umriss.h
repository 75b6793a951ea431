// The true outline of a conversion: the glyphs' quadratic curves and the imported Béziers and
// lines as they were before any approximation, in millimetres and placed like the elements, so
// that the deviation of the elements can be measured and the economy fitting can work from the
// curves themselves.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace konturo {

struct GeoElement;

struct P2 {
    double x = 0, y = 0;
};
inline P2 operator+(P2 a, P2 b) { return {a.x + b.x, a.y + b.y}; }
inline P2 operator-(P2 a, P2 b) { return {a.x - b.x, a.y - b.y}; }
inline P2 operator*(double k, P2 a) { return {k * a.x, k * a.y}; }
inline double Skalar(P2 a, P2 b) { return a.x * b.x + a.y * b.y; }
inline double Kreuz(P2 a, P2 b) { return a.x * b.y - a.y * b.x; }
// Millimetre magnitudes never come near overflow, so the plain root serves (hypot costs more).
inline double Laenge(P2 a) { return std::sqrt(a.x * a.x + a.y * a.y); }

// One piece of an outline: a line (Grad 1, points P[0] and P[1]), a quadratic (Grad 2, P[0] to
// P[2]) or a cubic Bézier curve (Grad 3, P[0] to P[3]).
struct UmrissStueck {
    std::uint8_t Grad = 1;
    std::array<P2, 4> P{};

    P2 Anfang() const { return P[0]; }
    P2 Ende() const { return P[Grad]; }
    P2 Punkt(double t) const;
    P2 Ableitung(double t) const;
    // An upper bound of |Ableitung| on [0, 1]: the degree times the longest side of the control
    // polygon. The distance of Punkt(t) to anything changes at most this fast.
    double Tempo() const;
};

// A closed contour: the end of the last piece is the start of the first.
struct UmrissKontur {
    std::int32_t KonturNr = 0;
    std::vector<UmrissStueck> Stuecke;
};

struct Umriss {
    std::vector<UmrissKontur> Konturen;
    // The store's elements 1 .. AnzElemente stand for this outline (the frame comes after them).
    std::int32_t AnzElemente = 0;

    void Leeren() {
        Konturen.clear();
        AnzElemente = 0;
    }
    bool Leer() const { return Konturen.empty(); }
    // Starts a contour at p.
    void Beginnen(std::int32_t konturNr, P2 p);
    void Linie(P2 p);
    void Quadratisch(P2 c, P2 p);
    void Kubisch(P2 c1, P2 c2, P2 p);
    // Closes the contour with a line back to its start when it does not end there; a contour
    // without any extent is dropped.
    void Schliessen();

private:
    P2 aktuell_;
    bool offen_ = false;
};

// The outline as the store is mirrored: left to right about xMax.
void UmrissSpiegeln(Umriss& u, double xMax);

// Geometry of the store's elements: lines, arcs (counter-clockwise from start to end angle) and
// full circles.
double ElementLaenge(const GeoElement& e);
// The point at arc length s from the element's start (its start angle for arcs and circles).
P2 ElementPunkt(const GeoElement& e, double s);
// The distance of p from the element.
double ElementAbstand(const GeoElement& e, P2 p);

} // namespace konturo
