// Geometry rendering: the view of the drawing area (whole geometry with a margin, or the zoom
// rectangle), the redraw with caption and element count, and the drawing of lines, arcs and full
// circles over the drawing-surface seam. The window layer provides the surface.
#pragma once

#include <cstdint>
#include <string>

namespace konturo {

struct Sitzung;
struct Speicher;

// The user coordinate system of the drawing area, in drawing units: left edge, top edge, width
// and height. Height is negative, so y grows upward on screen.
struct Ansicht {
    double Links = 0;
    double Oben = 0;
    double Breite = 0;
    double Hoehe = 0;
};

// The drawing-surface seam: a persistent picture with a user coordinate system. Coordinates are
// handed over in single precision, as the renderer computes them.
class Zeichenflaeche {
public:
    virtual ~Zeichenflaeche() = default;

    // Sets the user coordinate system; the surface maps it onto its whole area.
    void AnsichtSetzen(const Ansicht& a) {
        ansicht_ = a;
        AnsichtGeaendert();
    }
    const Ansicht& AktuelleAnsicht() const { return ansicht_; }

    // Clears the whole picture to a colour (RGB value).
    virtual void Loeschen(std::int32_t farbe) = 0;
    // Current colour (RGB value) of the following lines, points and circles.
    virtual void Farbe(std::int32_t farbe) = 0;
    // Current line width in pixels; a point is a dot of this width.
    virtual void Breite(int pixel) = 0;
    virtual void Linie(float x1, float y1, float x2, float y2) = 0;
    virtual void Punkt(float x, float y) = 0;
    virtual void Kreis(float cx, float cy, float r) = 0;

    // The caption and element count of the redraw, for the window that shows them.
    virtual void Beschriften(const std::string& /*titel*/, const std::string& /*anzahl*/) {}
    // Makes what has been drawn so far visible (end of a redraw, before pending events run).
    virtual void Anzeigen() {}

protected:
    virtual void AnsichtGeaendert() {}

private:
    Ansicht ansicht_;
};

// Angle step (radians) of arc polylines in the whole view, coarser for larger drawings.
float BogenschrittFuerAnzahl(std::int32_t elementAnzahl);

// "n/last contour": element count and the contour number of the last element (0 when empty).
std::string AnzahlText(const Speicher& sp);
// "Konturo - [name] WxH" with the base name of AktDatei and the box size rounded to one decimal
// in the user's number format.
std::string FensterTitel(const Sitzung& s);
// A number rounded to one decimal, without trailing zeros, with "," when dezimalPunkt is false.
std::string EineStelleText(double wert, bool dezimalPunkt);
// A pointer coordinate: cut toward zero to two decimals, in the user's number format.
float AufZweiStellenGekappt(double wert);
std::string ZeigerText(float wert, bool dezimalPunkt);

// The whole view of the current box for a drawing area of the given proportions (width / height),
// with the margin; a box without extent gets a square of 10 units around its point.
Ansicht GesamtAnsicht(double xMin, double xMax, double yMin, double yMax, double seitenverhaeltnis,
                      float& rand);
// The view of the zoom rectangle: width from the x corners, height from the proportions.
Ansicht ZoomAnsicht(double x1, double y1, double x2, double y2, double seitenverhaeltnis);

// Sets the surface's coordinate system from the window state (zoomed or whole view) and sets
// Bogenschritt. False when the view could not be set.
bool AnsichtSetzen(Sitzung& s, Zeichenflaeche& f);
// Draws every element of the store; busy state, progress, pending events and the cancel request
// as the main window expects of a long operation.
void AllesZeichnen(Sitzung& s, Zeichenflaeche& f);
// One arc, counter-clockwise from a1 to a2 (radians), as a polyline of Bogenschritt steps, with
// its end points when end points are shown.
void BogenZeichnen(Sitzung& s, Zeichenflaeche& f, double cx, double cy, double r, double a1,
                   double a2, std::int32_t farbe);
// The redraw: clear, caption and count, view, all elements.
void Neuzeichnen(Sitzung& s, Zeichenflaeche& f);

// True when an element of the zoomed view is drawn: for each edge of the visible window at least
// one of its two reference points lies strictly inside (single precision).
bool ImZoomFenster(const Ansicht& a, double px1, double py1, double px2, double py2);

} // namespace konturo
