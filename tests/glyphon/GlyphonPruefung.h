// Test helpers for Glyphon's stream: caller-owned arrays, the converter's way of reading the
// stream back into curves, FreeType's own decomposition of an outline, and curve distances.
#pragma once

#include "glyphon/glyphon.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace konturo::test {

// The four arrays the converter owns, with bounds 0..obergrenze (or no data).
struct GlyphonFelder {
    std::vector<double> leerDaten, xDaten, yDaten;
    std::vector<int16_t> kindDaten;
    GlyphonArray leer{0, -1, GLYPHON_R8, nullptr};
    GlyphonArray x{0, -1, GLYPHON_R8, nullptr};
    GlyphonArray y{0, -1, GLYPHON_R8, nullptr};
    GlyphonArray kind{0, -1, GLYPHON_I2, nullptr};
    GlyphonArray* pLeer = &leer;
    GlyphonArray* pX = &x;
    GlyphonArray* pY = &y;
    GlyphonArray* pKind = &kind;

    // Re-dimensions all four to 0..obergrenze, zeroed, as the converter does between the calls.
    void Dimensionieren(int32_t obergrenze) {
        size_t n = static_cast<size_t>(obergrenze) + 1;
        leerDaten.assign(n, 0.0);
        xDaten.assign(n, 0.0);
        yDaten.assign(n, 0.0);
        kindDaten.assign(n, 0);
        leer = {0, obergrenze, GLYPHON_R8, leerDaten.data()};
        x = {0, obergrenze, GLYPHON_R8, xDaten.data()};
        y = {0, obergrenze, GLYPHON_R8, yDaten.data()};
        kind = {0, obergrenze, GLYPHON_I2, kindDaten.data()};
    }

    int32_t Aufruf(GlyphonFunktion f, void* dc, uint32_t code) {
        return f(dc, code, &pLeer, &pX, &pY, &pKind);
    }

    // The converter's two-pass call: learn the size, re-dimension, fill.
    int32_t ZweiPaesse(GlyphonFunktion f, void* dc, uint32_t code) {
        int32_t c = Aufruf(f, dc, code);
        Dimensionieren(c);
        EXPECT_EQ(Aufruf(f, dc, code), c);
        return c;
    }
};

struct P {
    double x = 0, y = 0;
};

// A piece of an outline in device units: a line (p0, p2), a quadratic (p0, p1, p2) or a cubic
// (p0, p1, c2, p2).
struct Stueck {
    int grad = 1;
    P p0, p1, c2, p2;
};

inline P Auswerten(const Stueck& s, double t) {
    double u = 1 - t;
    switch (s.grad) {
    case 1:
        return {u * s.p0.x + t * s.p2.x, u * s.p0.y + t * s.p2.y};
    case 2:
        return {u * u * s.p0.x + 2 * u * t * s.p1.x + t * t * s.p2.x,
                u * u * s.p0.y + 2 * u * t * s.p1.y + t * t * s.p2.y};
    default:
        return {u * u * u * s.p0.x + 3 * u * u * t * s.p1.x + 3 * u * t * t * s.c2.x +
                    t * t * t * s.p2.x,
                u * u * u * s.p0.y + 3 * u * u * t * s.p1.y + 3 * u * t * t * s.c2.y +
                    t * t * t * s.p2.y};
    }
}

using Kontur = std::vector<Stueck>;

// Reads the stream as the converter does: a line record's points are line ends; a spline
// record of k points is k - 1 quadratic pieces from the current point, each ending at the
// midpoint of two consecutive points except the last, which ends at the last point; the
// contour end closes with a line when its point differs from the current point. Checks the
// layout on the way (markers, negative counts, point positions counted from 0).
inline std::vector<Kontur> StromLesen(const GlyphonFelder& f, int32_t c) {
    std::vector<Kontur> konturen;
    const auto& x = f.xDaten;
    const auto& y = f.yDaten;
    const auto& kind = f.kindDaten;
    P L;
    int32_t i = 1;
    auto punkt = [&](int32_t k) { return P{x[static_cast<size_t>(k)], y[static_cast<size_t>(k)]}; };
    while (i < c) {
        int16_t marke = kind[static_cast<size_t>(i)];
        if (marke == 997) {
            konturen.emplace_back();
            L = punkt(i + 1);
            i += 2;
        } else if (marke == 998 || marke == 999) {
            int k = -kind[static_cast<size_t>(i + 1)];
            EXPECT_GE(k, 1) << "count entry at " << i + 1;
            if (k < 1 || i + 1 + k >= c) return konturen;
            int32_t erster = i + 2;
            for (int j = 0; j < k; ++j) {
                EXPECT_EQ(kind[static_cast<size_t>(erster + j)], j)
                    << "point position at " << erster + j;
            }
            if (marke == 998) {
                for (int j = 0; j < k; ++j) {
                    P q = punkt(erster + j);
                    konturen.back().push_back({1, L, {}, {}, q});
                    L = q;
                }
            } else {
                EXPECT_GE(k, 2) << "spline record at " << i;
                for (int j = 1; j <= k - 1; ++j) {
                    P p1 = punkt(erster + j - 1);
                    P n = punkt(erster + j);
                    P p2 = j < k - 1 ? P{(p1.x + n.x) / 2, (p1.y + n.y) / 2} : n;
                    konturen.back().push_back({2, L, p1, {}, p2});
                    L = p2;
                }
            }
            i = erster + k;
        } else if (marke == 996) {
            P s = punkt(i + 1);
            if (s.x != L.x || s.y != L.y) konturen.back().push_back({1, L, {}, {}, s});
            i += 2;
        } else {
            ADD_FAILURE() << "unexpected kind " << marke << " at " << i;
            return konturen;
        }
    }
    EXPECT_EQ(i, c) << "stream must end exactly at the result";
    return konturen;
}

// FreeType's own reading of an outline (26.6 units), in device units. FreeType truncates the
// implied on-curve midpoints to whole 26.6 units; the outline is decomposed at twice its size so
// that they come out exact.
inline std::vector<Kontur> Zerlegen(const FT_Outline& umriss) {
    struct Sammler {
        std::vector<Kontur> konturen;
        P aktuell;
        static P Punkt(const FT_Vector* v) { return {v->x / 128.0, v->y / 128.0}; }
        static int Anfuegen(void* user, int grad, P p1, P c2, const FT_Vector* to) {
            auto* s = static_cast<Sammler*>(user);
            s->konturen.back().push_back({grad, s->aktuell, p1, c2, Punkt(to)});
            s->aktuell = Punkt(to);
            return 0;
        }
    } sammler;
    std::vector<FT_Vector> doppelt(umriss.points, umriss.points + umriss.n_points);
    for (FT_Vector& v : doppelt) v.x *= 2, v.y *= 2;
    FT_Outline kopie = umriss;
    kopie.points = doppelt.data();
    FT_Outline_Funcs funktionen{};
    funktionen.move_to = [](const FT_Vector* to, void* user) {
        auto* s = static_cast<Sammler*>(user);
        s->konturen.emplace_back();
        s->aktuell = Sammler::Punkt(to);
        return 0;
    };
    funktionen.line_to = [](const FT_Vector* to, void* u) {
        return Sammler::Anfuegen(u, 1, {}, {}, to);
    };
    funktionen.conic_to = [](const FT_Vector* c, const FT_Vector* to, void* u) {
        return Sammler::Anfuegen(u, 2, Sammler::Punkt(c), {}, to);
    };
    funktionen.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to,
                             void* u) {
        return Sammler::Anfuegen(u, 3, Sammler::Punkt(c1), Sammler::Punkt(c2), to);
    };
    EXPECT_EQ(FT_Outline_Decompose(&kopie, &funktionen, &sammler), 0);
    return sammler.konturen;
}

inline std::vector<P> Abtasten(const Kontur& k, int proStueck) {
    std::vector<P> punkte;
    for (const Stueck& s : k) {
        for (int i = 0; i <= proStueck; ++i) punkte.push_back(Auswerten(s, double(i) / proStueck));
    }
    return punkte;
}

inline double Entfernung(P a, P b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Distance of p from a piece: a coarse scan of the parameter, each local minimum of it refined
// by a golden-section search (so a loop's other branch cannot hide the nearest point).
inline double AbstandZumStueck(P p, const Stueck& s) {
    if (s.grad == 1) {
        double dx = s.p2.x - s.p0.x, dy = s.p2.y - s.p0.y;
        double l2 = dx * dx + dy * dy;
        double t =
            l2 > 0 ? std::clamp(((p.x - s.p0.x) * dx + (p.y - s.p0.y) * dy) / l2, 0.0, 1.0) : 0.0;
        return Entfernung(p, Auswerten(s, t));
    }
    const int grob = 64;
    double d[grob + 1];
    for (int i = 0; i <= grob; ++i) d[i] = Entfernung(p, Auswerten(s, double(i) / grob));
    double beste = *std::min_element(d, d + grob + 1);
    const double g = (std::sqrt(5.0) - 1) / 2;
    for (int i = 0; i <= grob; ++i) {
        if ((i > 0 && d[i - 1] < d[i]) || (i < grob && d[i + 1] < d[i])) continue;
        double a = std::max(0.0, (i - 1.0) / grob), b = std::min(1.0, (i + 1.0) / grob);
        for (int k = 0; k < 60; ++k) {
            double t1 = b - g * (b - a), t2 = a + g * (b - a);
            if (Entfernung(p, Auswerten(s, t1)) < Entfernung(p, Auswerten(s, t2)))
                b = t2;
            else
                a = t1;
        }
        beste = std::min(beste, Entfernung(p, Auswerten(s, (a + b) / 2)));
    }
    return beste;
}

// The control polygon's box holds the piece: a point farther from it than a known distance
// cannot come closer on the piece.
inline double AbstandZurBox(P p, const Stueck& s) {
    double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
    for (P q : {s.p0, s.p2, s.grad >= 2 ? s.p1 : s.p0, s.grad == 3 ? s.c2 : s.p0}) {
        x0 = std::min(x0, q.x), x1 = std::max(x1, q.x);
        y0 = std::min(y0, q.y), y1 = std::max(y1, q.y);
    }
    return std::hypot(std::max({x0 - p.x, 0.0, p.x - x1}), std::max({y0 - p.y, 0.0, p.y - y1}));
}

// Largest distance of a point of curve a from curve b.
inline double Einseitig(const Kontur& a, const Kontur& b) {
    double groesste = 0;
    for (P p : Abtasten(a, 32)) {
        double naechste = INFINITY;
        for (const Stueck& s : b) {
            if (AbstandZurBox(p, s) < naechste) {
                naechste = std::min(naechste, AbstandZumStueck(p, s));
            }
        }
        groesste = std::max(groesste, naechste);
    }
    return groesste;
}

// Largest distance between two contour lists, contour by contour in both directions (infinite
// when the contour counts differ).
inline double Abweichung(const std::vector<Kontur>& a, const std::vector<Kontur>& b) {
    if (a.size() != b.size()) return INFINITY;
    double groesste = 0;
    for (size_t k = 0; k < a.size(); ++k) {
        groesste = std::max({groesste, Einseitig(a[k], b[k]), Einseitig(b[k], a[k])});
    }
    return groesste;
}

} // namespace konturo::test
