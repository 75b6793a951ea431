// Statistics of the element store: counts, lengths, radii and diameters of lines, arcs and
// circles, and the texts the statistics window and the command line show for them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace konturo {

struct Sitzung;
struct Speicher;

// Sums and extremes of one walk over the store (millimetres). A minimum of 0 means that no
// non-zero value has been found.
struct StatistikWerte {
    std::int32_t LinienAnzahl = 0;
    double LinienMin = 0, LinienMax = 0, LinienSumme = 0;

    std::int32_t BoegenAnzahl = 0;
    double BoegenMin = 0, BoegenMax = 0, BoegenSumme = 0;
    double BoegenMinRadius = 0, BoegenMaxRadius = 0;

    std::int32_t KreiseAnzahl = 0;
    double KreiseMinDurchmesser = 0, KreiseMaxDurchmesser = 0, KreiseSumme = 0;
};

// Walks elements 1 .. ElementAnzahl; removed elements and other kinds are not counted.
StatistikWerte StatistikBerechnen(const Speicher& s);

// One shown field: its group caption ("Linien", "Bögen", "Kreise"; empty for "Gesamtkontur"),
// its caption and its value text.
struct StatistikFeld {
    std::string Gruppe;
    std::string Feld;
    std::string Wert;
};

// Every field in window order with the German captions. Minima and maxima and means are
// truncated to two decimals, totals rounded to two decimals (a half to the even digit); the
// numbers use the user's separator when dezimalPunkt is false.
std::vector<StatistikFeld> StatistikFelder(const StatistikWerte& w, bool dezimalPunkt);

// The command line's form: one "Gruppe/Feld = Wert" line per field (just "Gesamtkontur = Wert"
// for the last), "." as separator, in window order.
std::vector<std::string> StatistikZeilen(const Speicher& s);

// The largest deviation of the elements from the true outline (mm) as shown: four decimals, the
// user's separator when dezimalPunkt is false; "-" when there is no outline to measure against.
std::string AbweichungText(const Sitzung& s, bool dezimalPunkt);
// The command line's line of it: "Abweichung/max. = 0.0945".
std::string AbweichungZeile(const Sitzung& s);

// Fix(x * 100) / 100: the digits beyond the second decimal dropped towards zero.
double ZweiStellenAbgeschnitten(double x);
// x rounded to two decimals, an exact half going to the even digit.
double ZweiStellenGerundet(double x);

} // namespace konturo
