// Element store operations: clearing, growth, bounding box and mirroring.
#include "geometry/Variablen.h"

#include <cmath>
#include <cstdio>

namespace konturo {

GeoElement NeuesElement(std::uint8_t typ, double x1, double y1, double x2, double y2, double radius,
                        std::int32_t konturNr, std::int32_t farbe) {
    GeoElement e;
    e.Typ = typ;
    e.X1 = x1;
    e.Y1 = y1;
    e.X2 = x2;
    e.Y2 = y2;
    e.Radius = radius;
    e.KonturNr = konturNr;
    e.Farbe = farbe;
    return e;
}

void GeoFeld::Leeren() {
    daten_.clear();
    daten_.resize(static_cast<std::size_t>(max_) + 1);
    anzahl_ = 0;
}

void GeoFeld::Zuruecksetzen() {
    max_ = Schritt;
    Leeren();
}

void GeoFeld::Vergroessern() {
    max_ += Schritt;
    daten_.resize(static_cast<std::size_t>(max_) + 1);
}

GeoElement& GeoFeld::Anfuegen(const GeoElement& e) {
    ++anzahl_;
    if (static_cast<std::size_t>(anzahl_) >= daten_.size())
        daten_.resize(static_cast<std::size_t>(anzahl_) + 1);
    daten_[static_cast<std::size_t>(anzahl_)] = e;
    if (anzahl_ > max_ - Rand) Vergroessern();
    return daten_[static_cast<std::size_t>(anzahl_)];
}

double Pi() {
    static const double pi = 4.0 * std::atan(1.0);
    return pi;
}

void ElementeLeeren(Speicher& s) { s.Elemente.Leeren(); }
void KonturPunkteLeeren(Speicher& s) { s.KonturPunkte.Leeren(); }
void ElementeVergroessern(Speicher& s) { s.Elemente.Vergroessern(); }
void KonturPunkteVergroessern(Speicher& s) { s.KonturPunkte.Vergroessern(); }

void BoxErweitern(Speicher& s, double x, double y) {
    if (s.BoxNeu) {
        s.XMin = s.XMax = x;
        s.YMin = s.YMax = y;
        s.BoxNeu = false;
    }
    if (s.XMax < x) s.XMax = x;
    if (s.XMin > x) s.XMin = x;
    if (s.YMax < y) s.YMax = y;
    if (s.YMin > y) s.YMin = y;
}

void BoxZuruecksetzen(Speicher& s) {
    s.XMin = 0;
    s.YMin = 0;
    s.XMax = 10;
    s.YMax = 10;
    s.BoxNeu = true;
}

void Spiegeln(Speicher& s) {
    const double pi = Pi();
    for (std::int32_t i = 1; i <= s.Elemente.Anzahl(); ++i) {
        GeoElement& e = s.Elemente[i];
        switch (e.Typ) {
        case Linie:
            e.X1 = s.XMax - e.X1;
            e.X2 = s.XMax - e.X2;
            break;
        case Kreis:
            e.X1 = s.XMax - e.X1;
            break;
        case Bogen: {
            e.X1 = s.XMax - e.X1;
            double start = pi - e.Y2;
            double ende = pi - e.X2;
            if (start < 0) start += 2 * pi;
            if (ende < 0) ende += 2 * pi;
            e.X2 = start;
            e.Y2 = ende;
            break;
        }
        default:
            break;
        }
    }
}

double Bogenwinkel(double start, double ende) {
    return ende > start ? ende - start : ende + 2 * Pi() - start;
}

double BogenStartX(const GeoElement& e) { return e.X1 + e.Radius * std::cos(e.X2); }
double BogenStartY(const GeoElement& e) { return e.Y1 + e.Radius * std::sin(e.X2); }
double BogenEndeX(const GeoElement& e) { return e.X1 + e.Radius * std::cos(e.Y2); }
double BogenEndeY(const GeoElement& e) { return e.Y1 + e.Radius * std::sin(e.Y2); }

bool DezimalPunktErmitteln() {
    char puffer[32];
    std::snprintf(puffer, sizeof puffer, "%g", static_cast<double>(1.3f));
    return puffer[1] != ',';
}

} // namespace konturo
