// Deviation measurement: the distance of a point from a piece, and the sampled and refined
// largest distance between contours and their elements.
#include "geometry/Abweichung.h"

#include "geometry/Variablen.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <unordered_map>
#include <vector>

namespace konturo {

namespace {

P2 ZweiteAbleitung(const UmrissStueck& s, double t) {
    if (s.Grad == 2) return 2.0 * (s.P[2] - 2.0 * s.P[1] + s.P[0]);
    if (s.Grad == 3)
        return (6 * (1 - t)) * (s.P[2] - 2.0 * s.P[1] + s.P[0]) +
               (6 * t) * (s.P[3] - 2.0 * s.P[2] + s.P[1]);
    return {};
}

double StreckenAbstand(P2 p, P2 a, P2 b) {
    const P2 ab = b - a;
    const double l2 = Skalar(ab, ab);
    const double t = l2 > 0 ? std::clamp(Skalar(p - a, ab) / l2, 0.0, 1.0) : 0.0;
    return Laenge(p - (a + t * ab));
}

} // namespace

double StueckAbstand(const UmrissStueck& s, P2 p, double t0, double t1) {
    if (s.Grad == 1) return StreckenAbstand(p, s.Punkt(t0), s.Punkt(t1));
    // Samples find the basin of the nearest point; Newton steps on the squared distance then
    // find it to rounding. A wrong basin can only make the distance larger, never smaller.
    constexpr int Proben = 12;
    double bestT = t0, best = std::numeric_limits<double>::infinity();
    for (int i = 0; i <= Proben; ++i) {
        const double t = t0 + (t1 - t0) * i / Proben;
        const double d = Laenge(s.Punkt(t) - p);
        if (d < best) {
            best = d;
            bestT = t;
        }
    }
    const double schritt = (t1 - t0) / Proben;
    const double von = std::max(t0, bestT - schritt), bis = std::min(t1, bestT + schritt);
    double t = bestT;
    for (int i = 0; i < 8; ++i) {
        const P2 d = s.Punkt(t) - p;
        const P2 a1 = s.Ableitung(t);
        const double g = Skalar(d, a1);
        const double g1 = Skalar(a1, a1) + Skalar(d, ZweiteAbleitung(s, t));
        if (!(g1 > 0)) break;
        const double neu = std::clamp(t - g / g1, von, bis);
        best = std::min(best, Laenge(s.Punkt(neu) - p));
        if (std::fabs(neu - t) < 1e-12) break;
        t = neu;
    }
    return best;
}

namespace {

// Golden-section search for a local maximum of f between a and b, near m.
double LokalesMaximum(const std::function<double(double)>& f, double a, double b) {
    constexpr double g = 0.6180339887498949;
    double x1 = b - g * (b - a), x2 = a + g * (b - a);
    double f1 = f(x1), f2 = f(x2);
    for (int i = 0; i < 40 && b - a > 1e-12 * std::max(1.0, std::fabs(b)); ++i) {
        if (f1 > f2) {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - g * (b - a);
            f1 = f(x1);
        } else {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + g * (b - a);
            f2 = f(x2);
        }
    }
    return std::max(f1, f2);
}

// The largest f over a..b from n + 1 samples, each local maximum of the samples refined.
void AbgetastetesMaximum(const std::function<double(double)>& f, double a, double b, int n,
                         double& best) {
    std::vector<double> w(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) w[static_cast<std::size_t>(i)] = f(a + (b - a) * i / n);
    for (int i = 0; i <= n; ++i) {
        const double wi = w[static_cast<std::size_t>(i)];
        best = std::max(best, wi);
        const double links = i > 0 ? w[static_cast<std::size_t>(i - 1)] : -1;
        const double rechts = i < n ? w[static_cast<std::size_t>(i + 1)] : -1;
        // Only maxima that can matter are refined.
        if (wi >= links && wi >= rechts && wi > 0.5 * best) {
            const double von = a + (b - a) * std::max(0, i - 1) / n;
            const double bis = a + (b - a) * std::min(n, i + 1) / n;
            best = std::max(best, LokalesMaximum(f, von, bis));
        }
    }
}

} // namespace

double KonturAbweichung(const UmrissKontur& k, const std::vector<const GeoElement*>& elemente) {
    double laengen = 0;
    for (const GeoElement* e : elemente) laengen += ElementLaenge(*e);
    // About four samples along every element, so every bulge between two joints is seen.
    const double schritt = laengen / static_cast<double>(elemente.size()) / 4;
    const auto zuElementen = [&](P2 p) {
        double d = std::numeric_limits<double>::infinity();
        for (const GeoElement* e : elemente) d = std::min(d, ElementAbstand(*e, p));
        return d;
    };
    const auto zumUmriss = [&](P2 p) {
        double d = std::numeric_limits<double>::infinity();
        for (const UmrissStueck& s : k.Stuecke) d = std::min(d, StueckAbstand(s, p));
        return d;
    };
    double best = 0;
    for (const UmrissStueck& s : k.Stuecke) {
        double lang = 0;
        for (int i = 0; i < s.Grad; ++i)
            lang += Laenge(s.P[static_cast<std::size_t>(i + 1)] - s.P[static_cast<std::size_t>(i)]);
        const int n = std::clamp(static_cast<int>(std::ceil(lang / std::max(schritt, 1e-9))), 8, 4096);
        AbgetastetesMaximum([&](double t) { return zuElementen(s.Punkt(t)); }, 0, 1, n, best);
    }
    for (const GeoElement* e : elemente) {
        AbgetastetesMaximum([&](double l) { return zumUmriss(ElementPunkt(*e, l)); }, 0,
                            ElementLaenge(*e), 8, best);
    }
    return best;
}

namespace {

// The shape of a contour and its elements relative to the contour's start, rounded: contours of
// one glyph repeated along a text share it, and are measured once.
std::uint64_t Gestalt(const UmrissKontur& k, const std::vector<const GeoElement*>& elemente) {
    const P2 o = k.Stuecke.front().Anfang();
    std::uint64_t h = 1469598103934665603ULL;
    const auto dazu = [&h](double v) {
        const auto q = static_cast<std::int64_t>(std::llround(v * 1e7));
        h = (h ^ static_cast<std::uint64_t>(q)) * 1099511628211ULL;
    };
    for (const UmrissStueck& s : k.Stuecke) {
        dazu(s.Grad);
        for (int i = 0; i <= s.Grad; ++i) {
            dazu(s.P[static_cast<std::size_t>(i)].x - o.x);
            dazu(s.P[static_cast<std::size_t>(i)].y - o.y);
        }
    }
    for (const GeoElement* e : elemente) {
        dazu(e->Typ);
        dazu(e->X1 - o.x);
        dazu(e->Y1 - o.y);
        dazu(e->Typ == Linie ? e->X2 - o.x : e->X2);
        dazu(e->Typ == Linie ? e->Y2 - o.y : e->Y2);
        dazu(e->Radius);
    }
    return h;
}

} // namespace

double AbweichungMessen(const Umriss& u, const Speicher& sp, std::int32_t anzahl) {
    std::unordered_map<std::int32_t, std::vector<const GeoElement*>> jeKontur;
    for (std::int32_t i = 1; i <= std::min(anzahl, sp.ElementAnzahl()); ++i) {
        const GeoElement& e = sp.Elemente[i];
        if (e.Typ == Linie || e.Typ == Bogen || e.Typ == Kreis) jeKontur[e.KonturNr].push_back(&e);
    }
    std::unordered_map<std::uint64_t, double> gemessen;
    double best = 0;
    for (const UmrissKontur& k : u.Konturen) {
        const auto it = jeKontur.find(k.KonturNr);
        if (it == jeKontur.end() || k.Stuecke.empty()) continue;
        const std::uint64_t gestalt = Gestalt(k, it->second);
        auto [stelle, neu] = gemessen.try_emplace(gestalt, 0.0);
        if (neu) stelle->second = KonturAbweichung(k, it->second);
        best = std::max(best, stelle->second);
    }
    return best;
}

} // namespace konturo
