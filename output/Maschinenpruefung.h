// Machine checks of a drawing before it goes to the cutter: arcs below the smallest radius the
// machine takes, elements below its smallest length, and coordinates with more decimals than its
// controller keeps; and the repair of what can be repaired within the deviation allowed from the
// true outline.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace konturo {

struct Einstellungen;
struct Sitzung;
struct Speicher;
struct Umriss;

enum class Verstoss { Radius, Laenge, Nachkommastellen };

struct Pruefbefund {
    std::int32_t Element = 0; // store index
    std::int32_t KonturNr = 0;
    Verstoss Art = Verstoss::Radius;
    double Wert = 0; // the radius or length (mm), or the coordinate with too many decimals
};

struct Maschinengrenzen {
    double MinRadius = 0;              // mm; 0 checks nothing
    double MinLaenge = 0;              // mm; 0 checks nothing
    std::uint8_t Nachkommastellen = 0; // 0 checks nothing
};

Maschinengrenzen GrenzenAus(const Einstellungen& e);

// Every violation of elements 1 .. ElementAnzahl (lines, arcs, circles), in store order.
std::vector<Pruefbefund> MaschinePruefen(const Speicher& sp, const Maschinengrenzen& g);

// "Radius", "Laenge", "Nachkommastellen".
const char* VerstossName(Verstoss v);

// Repairs the elements 1 .. umriss's element count contour by contour: an arc below the smallest
// radius becomes the line between its ends, an element below the smallest length is taken out
// and its neighbours meet in its middle, and line ends are rounded to the controller's decimals
// where both elements at a point are lines. A contour's repair is kept only when the contour
// stays closed and its deviation from the true outline stays within maxAbweichung; removed
// elements become kind 0. Returns the number of contours repaired.
std::int32_t MaschineReparieren(Speicher& sp, const Umriss& u, const Maschinengrenzen& g,
                                double maxAbweichung);

// The end of a conversion before its frame: the elements so far stand for the session's outline,
// and with Reparieren = 1 they are repaired within MaxAbweichung.
void UmrissAbschliessen(Sitzung& s);

} // namespace konturo
