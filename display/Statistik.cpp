// Statistics of the element store and their display texts.
#include "display/Statistik.h"

#include "app/Sitzung.h"
#include "geometry/Abweichung.h"
#include "geometry/Variablen.h"
#include "text/FontErzeugen.h"
#include "text/SyntaxCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace konturo {

namespace {

// The minimum rule of the window: zero values never become the minimum.
void MinimumSetzen(double& minimum, double wert) {
    if (wert != 0 && (minimum == 0 || wert < minimum)) minimum = wert;
}

void MaximumSetzen(double& maximum, double wert) {
    if (wert > maximum) maximum = wert;
}

} // namespace

StatistikWerte StatistikBerechnen(const Speicher& s) {
    StatistikWerte w;
    const double grad = 180.0 / Pi();
    for (std::int32_t i = 1; i <= s.ElementAnzahl(); ++i) {
        const GeoElement& e = s.Elemente[i];
        switch (e.Typ) {
        case Linie: {
            const double l = Abstand(e.X1, e.Y1, e.X2, e.Y2);
            ++w.LinienAnzahl;
            w.LinienSumme += l;
            MaximumSetzen(w.LinienMax, l);
            MinimumSetzen(w.LinienMin, l);
            break;
        }
        case Bogen: {
            const double l = Bogenlaenge(e.X2 * grad, e.Y2 * grad, e.Radius);
            ++w.BoegenAnzahl;
            w.BoegenSumme += l;
            MaximumSetzen(w.BoegenMax, l);
            MinimumSetzen(w.BoegenMin, l);
            MaximumSetzen(w.BoegenMaxRadius, e.Radius);
            MinimumSetzen(w.BoegenMinRadius, e.Radius);
            break;
        }
        case Kreis: {
            ++w.KreiseAnzahl;
            w.KreiseSumme += 2 * e.Radius * Pi();
            MaximumSetzen(w.KreiseMaxDurchmesser, 2 * e.Radius);
            MinimumSetzen(w.KreiseMinDurchmesser, 2 * e.Radius);
            break;
        }
        default:
            break;
        }
    }
    return w;
}

double ZweiStellenAbgeschnitten(double x) { return std::trunc(x * 100) / 100; }

double ZweiStellenGerundet(double x) {
    // The default floating point rounding mode rounds a half to the even neighbour.
    return std::nearbyint(x * 100) / 100;
}

std::vector<StatistikFeld> StatistikFelder(const StatistikWerte& w, bool dezimalPunkt) {
    auto zahl = [dezimalPunkt](double x) { return ZahlAnzeigen(x, dezimalPunkt); };
    auto fix = [&](double x) { return zahl(ZweiStellenAbgeschnitten(x)); };
    auto summe = [&](double x) { return zahl(ZweiStellenGerundet(x)); };
    auto mittel = [&](double total, std::int32_t anzahl) {
        return anzahl == 0 ? std::string("0") : fix(total / anzahl);
    };
    const std::string linien = "Linien", boegen = "B\xC3\xB6gen", kreise = "Kreise";
    const std::string laenge = "L\xC3\xA4nge";
    return {
        {linien, "Anzahl", std::to_string(w.LinienAnzahl)},
        {linien, "min. " + laenge, fix(w.LinienMin)},
        {linien, "max. " + laenge, fix(w.LinienMax)},
        {linien, "mittlere " + laenge, mittel(w.LinienSumme, w.LinienAnzahl)},
        {linien, "Gesamtl\xC3\xA4nge", summe(w.LinienSumme)},
        {boegen, "Anzahl", std::to_string(w.BoegenAnzahl)},
        {boegen, "min. Radius", fix(w.BoegenMinRadius)},
        {boegen, "max. Radius", fix(w.BoegenMaxRadius)},
        {boegen, "min. " + laenge, fix(w.BoegenMin)},
        {boegen, "max. " + laenge, fix(w.BoegenMax)},
        {boegen, "mittlere " + laenge, mittel(w.BoegenSumme, w.BoegenAnzahl)},
        {boegen, "Gesamtl\xC3\xA4nge", summe(w.BoegenSumme)},
        {kreise, "Anzahl", std::to_string(w.KreiseAnzahl)},
        {kreise, "min. Durchmesser", fix(w.KreiseMinDurchmesser)},
        {kreise, "max. Durchmesser", fix(w.KreiseMaxDurchmesser)},
        {kreise, "mittlere " + laenge, mittel(w.KreiseSumme, w.KreiseAnzahl)},
        {kreise, "Gesamtl\xC3\xA4nge", summe(w.KreiseSumme)},
        {"", "Gesamtkontur", summe(w.LinienSumme + w.BoegenSumme + w.KreiseSumme)},
    };
}

std::string AbweichungText(const Sitzung& s, bool dezimalPunkt) {
    if (s.umriss.Leer() || s.umriss.AnzElemente < 1) return "-";
    const double d = AbweichungMessen(s.umriss, s.speicher, s.umriss.AnzElemente);
    // Coordinates so large that the squares of distances overflow cannot be measured.
    if (!std::isfinite(d)) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", d);
    std::string t = text;
    if (!dezimalPunkt) std::replace(t.begin(), t.end(), '.', ',');
    return t;
}

std::string AbweichungZeile(const Sitzung& s) {
    return "Abweichung/max. = " + AbweichungText(s, true);
}

std::vector<std::string> StatistikZeilen(const Speicher& s) {
    std::vector<std::string> zeilen;
    for (const StatistikFeld& f : StatistikFelder(StatistikBerechnen(s), true)) {
        zeilen.push_back((f.Gruppe.empty() ? f.Feld : f.Gruppe + "/" + f.Feld) + " = " + f.Wert);
    }
    return zeilen;
}

} // namespace konturo
