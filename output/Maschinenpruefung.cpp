// Machine checks and their repair, contour by contour as a closed chain of points.
#include "output/Maschinenpruefung.h"

#include "app/DB_System.h"
#include "app/Sitzung.h"
#include "geometry/Abweichung.h"
#include "geometry/Umriss.h"
#include "geometry/Variablen.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace konturo {

namespace {

bool Zeichnungselement(const GeoElement& e) {
    return e.Typ == Linie || e.Typ == Bogen || e.Typ == Kreis;
}

// True when v has digits beyond the given decimals (beyond rounding noise).
bool ZuVieleStellen(double v, int stellen) {
    const double f = std::pow(10.0, stellen);
    return std::fabs(v * f - std::nearbyint(v * f)) > 1e-6 * std::max(1.0, std::fabs(v * f)) &&
           std::fabs(v - std::nearbyint(v * f) / f) > 1e-9;
}

double Gerundet(double v, int stellen) {
    const double f = std::pow(10.0, stellen);
    return std::nearbyint(v * f) / f;
}

// One element of a contour as a step of its closed chain: from point a to point b, straight or
// on a circle about m in the given sense.
struct Schritt {
    std::int32_t Index = 0; // store slot
    bool Bogen = false;
    P2 M;
    bool Ccw = true;
    P2 A, B;
};

P2 Anfang(const GeoElement& e) {
    return e.Typ == Linie ? P2{e.X1, e.Y1} : P2{BogenStartX(e), BogenStartY(e)};
}
P2 Ende(const GeoElement& e) {
    return e.Typ == Linie ? P2{e.X2, e.Y2} : P2{BogenEndeX(e), BogenEndeY(e)};
}
double Abst(P2 a, P2 b) { return Laenge(a - b); }

// The contour's lines and arcs as a chain in their order; empty when they do not join up.
std::vector<Schritt> Kette(const Speicher& sp, const std::vector<std::int32_t>& nr) {
    std::vector<Schritt> k;
    for (const std::int32_t i : nr) {
        const GeoElement& e = sp.Elemente[i];
        if (e.Typ == Kreis) return {};
        k.push_back({i, e.Typ == Bogen, {e.X1, e.Y1}, true, Anfang(e), Ende(e)});
    }
    if (k.size() < 2) return {};
    // Each step runs towards the point it shares with the next one.
    constexpr double Fuge = 1e-6;
    for (std::size_t j = 0; j < k.size(); ++j) {
        Schritt& s = k[j];
        const Schritt& n = k[(j + 1) % k.size()];
        const double geradeaus = std::min(Abst(s.B, n.A), Abst(s.B, n.B));
        const double umgekehrt = std::min(Abst(s.A, n.A), Abst(s.A, n.B));
        if (umgekehrt < geradeaus) {
            std::swap(s.A, s.B);
            s.Ccw = false;
        }
    }
    for (std::size_t j = 0; j < k.size(); ++j)
        if (Abst(k[j].B, k[(j + 1) % k.size()].A) > Fuge) return {};
    return k;
}

double SchrittLaenge(const Schritt& s) {
    if (!s.Bogen) return Abst(s.A, s.B);
    const double r = Abst(s.A, s.M);
    double w = std::atan2(s.B.y - s.M.y, s.B.x - s.M.x) - std::atan2(s.A.y - s.M.y, s.A.x - s.M.x);
    if (!s.Ccw) w = -w;
    while (w <= 0) w += 2 * Pi();
    return r * w;
}

// The point halfway along a step.
P2 Mitte(const Schritt& s) {
    if (!s.Bogen) return 0.5 * (s.A + s.B);
    const double r = Abst(s.A, s.M);
    const double wa = std::atan2(s.A.y - s.M.y, s.A.x - s.M.x);
    const double w = wa + (s.Ccw ? 1 : -1) * SchrittLaenge(s) / r / 2;
    return s.M + r * P2{std::cos(w), std::sin(w)};
}

// The arc through a, c and b in that order; a line when they lie in one line.
Schritt DurchDreiPunkte(P2 a, P2 c, P2 b, std::int32_t index) {
    const double nenner = 2 * Kreuz(c - a, b - a);
    if (std::fabs(nenner) < 1e-12 * std::max(1.0, Skalar(b - a, b - a)))
        return {index, false, {}, true, a, b};
    const double ac = Skalar(c - a, c - a), ab = Skalar(b - a, b - a);
    const P2 m =
        a + (1 / nenner) * P2{(b - a).y * ac - (c - a).y * ab, (c - a).x * ab - (b - a).x * ac};
    return {index, true, m, Kreuz(c - a, b - c) > 0, a, b};
}

GeoElement AlsElement(const Schritt& s, const GeoElement& vorlage) {
    GeoElement e = vorlage;
    if (!s.Bogen) {
        e.Typ = Linie;
        e.X1 = s.A.x;
        e.Y1 = s.A.y;
        e.X2 = s.B.x;
        e.Y2 = s.B.y;
        e.Radius = 0;
        return e;
    }
    const auto winkel = [&](P2 p) {
        const double w = std::atan2(p.y - s.M.y, p.x - s.M.x);
        return w < 0 ? w + 2 * Pi() : w;
    };
    e.Typ = Bogen;
    e.X1 = s.M.x;
    e.Y1 = s.M.y;
    e.Radius = Abst(s.A, s.M);
    e.X2 = winkel(s.Ccw ? s.A : s.B);
    e.Y2 = winkel(s.Ccw ? s.B : s.A);
    return e;
}

// One pass of the repairs over the chain; false when nothing changed.
bool Nachbessern(std::vector<Schritt>& k, const Maschinengrenzen& g) {
    bool geaendert = false;
    for (Schritt& s : k) {
        if (s.Bogen && g.MinRadius > 0 && Abst(s.A, s.M) < g.MinRadius) {
            s.Bogen = false;
            geaendert = true;
        }
    }
    if (g.MinLaenge > 0) {
        for (std::size_t j = 0; j < k.size() && k.size() > 2; ++j) {
            if (SchrittLaenge(k[j]) >= g.MinLaenge) continue;
            const P2 m = Mitte(k[j]);
            Schritt& vor = k[(j + k.size() - 1) % k.size()];
            Schritt& nach = k[(j + 1) % k.size()];
            vor = vor.Bogen ? DurchDreiPunkte(vor.A, Mitte(vor), m, vor.Index)
                            : Schritt{vor.Index, false, {}, true, vor.A, m};
            nach = nach.Bogen ? DurchDreiPunkte(m, Mitte(nach), nach.B, nach.Index)
                              : Schritt{nach.Index, false, {}, true, m, nach.B};
            k.erase(k.begin() + static_cast<std::ptrdiff_t>(j));
            geaendert = true;
            break;
        }
    }
    return geaendert;
}

void Runden(std::vector<Schritt>& k, int stellen) {
    for (std::size_t j = 0; j < k.size(); ++j) {
        Schritt& s = k[j];
        Schritt& n = k[(j + 1) % k.size()];
        if (s.Bogen || n.Bogen) continue;
        const P2 p{Gerundet(s.B.x, stellen), Gerundet(s.B.y, stellen)};
        s.B = p;
        n.A = p;
    }
}

} // namespace

Maschinengrenzen GrenzenAus(const Einstellungen& e) {
    return {e.MinRadius, e.MinLaenge, e.Nachkommastellen};
}

const char* VerstossName(Verstoss v) {
    switch (v) {
    case Verstoss::Radius:
        return "Radius";
    case Verstoss::Laenge:
        return "Laenge";
    case Verstoss::Nachkommastellen:
        return "Nachkommastellen";
    }
    return "";
}

std::vector<Pruefbefund> MaschinePruefen(const Speicher& sp, const Maschinengrenzen& g) {
    std::vector<Pruefbefund> befunde;
    for (std::int32_t i = 1; i <= sp.ElementAnzahl(); ++i) {
        const GeoElement& e = sp.Elemente[i];
        if (!Zeichnungselement(e)) continue;
        if (e.Typ != Linie && g.MinRadius > 0 && e.Radius < g.MinRadius)
            befunde.push_back({i, e.KonturNr, Verstoss::Radius, e.Radius});
        const double laenge = ElementLaenge(e);
        if (g.MinLaenge > 0 && laenge < g.MinLaenge)
            befunde.push_back({i, e.KonturNr, Verstoss::Laenge, laenge});
        if (g.Nachkommastellen > 0) {
            const P2 a = e.Typ == Kreis ? P2{e.X1, e.Y1} : Anfang(e);
            const P2 b = e.Typ == Kreis ? P2{e.X1, e.Y1} : Ende(e);
            for (const double v : {a.x, a.y, b.x, b.y}) {
                if (ZuVieleStellen(v, g.Nachkommastellen)) {
                    befunde.push_back({i, e.KonturNr, Verstoss::Nachkommastellen, v});
                    break;
                }
            }
        }
    }
    return befunde;
}

std::int32_t MaschineReparieren(Speicher& sp, const Umriss& u, const Maschinengrenzen& g,
                                double maxAbweichung) {
    std::map<std::int32_t, std::vector<std::int32_t>> jeKontur;
    for (std::int32_t i = 1; i <= std::min(u.AnzElemente, sp.ElementAnzahl()); ++i)
        if (Zeichnungselement(sp.Elemente[i])) jeKontur[sp.Elemente[i].KonturNr].push_back(i);
    std::int32_t repariert = 0;
    for (const UmrissKontur& kontur : u.Konturen) {
        const auto it = jeKontur.find(kontur.KonturNr);
        // An open path has ends that no repair may move.
        if (it == jeKontur.end() || !kontur.Geschlossen()) continue;
        std::vector<Schritt> k = Kette(sp, it->second);
        if (k.empty()) continue;
        bool geaendert = false;
        for (int runde = 0; runde < 1000 && Nachbessern(k, g); ++runde) geaendert = true;
        if (g.Nachkommastellen > 0) {
            Runden(k, g.Nachkommastellen);
            geaendert = true;
        }
        if (!geaendert) continue;

        std::vector<GeoElement> neu;
        for (const Schritt& s : k) neu.push_back(AlsElement(s, sp.Elemente[s.Index]));
        std::vector<const GeoElement*> zeiger;
        for (const GeoElement& e : neu) zeiger.push_back(&e);
        if (KonturAbweichung(kontur, zeiger) > maxAbweichung) continue;
        // The repaired contour takes the first slots of the old one; the rest are removed.
        const std::vector<std::int32_t>& plaetze = it->second;
        for (std::size_t j = 0; j < plaetze.size(); ++j) {
            if (j < neu.size())
                sp.Elemente[plaetze[j]] = neu[j];
            else
                sp.Elemente[plaetze[j]].Typ = Entfernt;
        }
        ++repariert;
    }
    return repariert;
}

void UmrissAbschliessen(Sitzung& s) {
    s.umriss.AnzElemente = s.speicher.ElementAnzahl();
    const Einstellungen& e = s.einstellungen;
    if (e.Reparieren != 1 || s.umriss.Leer()) return;
    const double maxAbweichung = std::isfinite(e.MaxAbweichung) ? e.MaxAbweichung : 0.0;
    MaschineReparieren(s.speicher, s.umriss, GrenzenAus(e), maxAbweichung);
}

} // namespace konturo
