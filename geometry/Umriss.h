// The true outline of a conversion: the glyphs' quadratic curves and the imported Béziers and
// lines as they were before any approximation, in millimetres and placed like the elements, so
// that the deviation of the elements can be measured and the economy fitting can work from the
// curves themselves.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
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

// A contour: the pieces of one contour number. A glyph's contours are closed (the end of the last
// piece is the start of the first); an imported path may be open, or jump where the drawing moved
// without starting a new path.
struct UmrissKontur {
    std::int32_t KonturNr = 0;
    std::vector<UmrissStueck> Stuecke;
    bool Geschlossen() const;
};

struct Umriss {
    std::vector<UmrissKontur> Konturen;
    // The store's elements 1 .. AnzElemente stand for this outline (the frame comes after them).
    std::int32_t AnzElemente = 0;
    // Set when the outline could not be kept whole (a drawing beyond the size kept for the
    // deviation report): the outline then stands for nothing, and nothing is measured.
    bool Unvollstaendig = false;
    // The most pieces the outline keeps (72 bytes each; a million are about 75 MB). A larger
    // drawing is converted all the same; its outline is given up. Leeren keeps the bound.
    std::size_t MaxStuecke = std::size_t{1} << 20;

    void Leeren() {
        Konturen.clear();
        AnzElemente = 0;
        Unvollstaendig = false;
        offen_ = false;
        gezaehlt_ = 0;
    }
    bool Leer() const { return Konturen.empty(); }
    std::size_t AnzStuecke() const;
    // The pieces taken so far by KonturUebernehmen and Anfuegen.
    std::size_t Gezaehlt() const { return gezaehlt_; }
    // Drops every contour with its memory and marks the outline Unvollstaendig.
    void Aufgeben();
    // Takes the contour over; the outline is given up instead when it would exceed MaxStuecke.
    void KonturUebernehmen(UmrissKontur k);
    // Starts a contour at p.
    void Beginnen(std::int32_t konturNr, P2 p);
    void Linie(P2 p);
    void Quadratisch(P2 c, P2 p);
    void Kubisch(P2 c1, P2 c2, P2 p);
    // Closes the contour with a line back to its start when it does not end there; a contour
    // without any extent is dropped.
    void Schliessen();
    // Ends the contour as it is, open or closed; a contour without any extent is dropped.
    void Beenden();
    // Appends s to contour konturNr: to the last contour when it has that number (where s need
    // not start at its end), else to a new one. Gives the outline up beyond MaxStuecke.
    void Anfuegen(std::int32_t konturNr, const UmrissStueck& s);

private:
    void Abschliessen(bool schliessen);
    P2 aktuell_;
    bool offen_ = false;
    std::size_t gezaehlt_ = 0; // pieces taken by KonturUebernehmen and Anfuegen
};
// The extremes of the outline's pieces (their end points and eight points along each curve)
// widen the box xMin .. yMax; false when the outline is empty.
bool UmrissBox(const UmrissKontur& k, double& xMin, double& yMin, double& xMax, double& yMax);

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
