// The economy fitting against FreeType's own outlines of three fonts (TrueType quadratics and a
// CFF font's cubics) at a sign's size, with a distance check of its own: every glyph within the
// deviation both ways, closed contours, only lines, arcs and circles; and the machine checks with
// their repair.
#include "TestHilfe.h"

#include "geometry/Abweichung.h"
#include "output/Maschinenpruefung.h"
#include "text/Sparfitting.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace konturo {
namespace {

// The em in millimetres: Liberation Sans at a text height of 100 (ascent 133 mm).
constexpr double EmMm = 147;

struct Sammler {
    Umriss* u;
    double mm;
    int nr = 0;
    P2 Punkt(const FT_Vector* v) const { return {v->x * mm, v->y * mm}; }
};

Umriss GlyphUmriss(FT_Face face, FT_ULong zeichen) {
    Umriss u;
    if (FT_Load_Char(face, zeichen, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0) return u;
    Sammler s{&u, EmMm / face->units_per_EM};
    FT_Outline_Funcs f{};
    f.move_to = [](const FT_Vector* to, void* p) {
        auto* s = static_cast<Sammler*>(p);
        s->u->Beginnen(++s->nr, s->Punkt(to));
        return 0;
    };
    f.line_to = [](const FT_Vector* to, void* p) {
        auto* s = static_cast<Sammler*>(p);
        s->u->Linie(s->Punkt(to));
        return 0;
    };
    f.conic_to = [](const FT_Vector* c, const FT_Vector* to, void* p) {
        auto* s = static_cast<Sammler*>(p);
        s->u->Quadratisch(s->Punkt(c), s->Punkt(to));
        return 0;
    };
    f.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* p) {
        auto* s = static_cast<Sammler*>(p);
        s->u->Kubisch(s->Punkt(c1), s->Punkt(c2), s->Punkt(to));
        return 0;
    };
    FT_Outline_Decompose(&face->glyph->outline, &f, &s);
    u.Schliessen();
    return u;
}

// The true outline as a fine polyline, and distances by brute force: independent of the
// library's own measurement.
std::vector<P2> Dicht(const UmrissKontur& k, int proStueck) {
    std::vector<P2> v;
    for (const UmrissStueck& s : k.Stuecke)
        for (int i = 0; i <= proStueck; ++i) v.push_back(s.Punkt(double(i) / proStueck));
    return v;
}

double ZumPolygon(P2 p, const std::vector<P2>& v) {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i + 1 < v.size(); ++i) {
        const P2 ab = v[i + 1] - v[i];
        const double l2 = Skalar(ab, ab);
        const double t = l2 > 0 ? std::clamp(Skalar(p - v[i], ab) / l2, 0.0, 1.0) : 0.0;
        best = std::min(best, Laenge(p - (v[i] + t * ab)));
    }
    return best;
}

double BeideRichtungen(const UmrissKontur& k, const std::vector<GeoElement>& el) {
    const std::vector<P2> umriss = Dicht(k, 400);
    double d = 0;
    for (const P2& p : umriss) {
        double n = std::numeric_limits<double>::infinity();
        for (const GeoElement& e : el) n = std::min(n, ElementAbstand(e, p));
        d = std::max(d, n);
    }
    for (const GeoElement& e : el) {
        const double l = ElementLaenge(e);
        for (int i = 0; i <= 100; ++i) d = std::max(d, ZumPolygon(ElementPunkt(e, l * i / 100), umriss));
    }
    return d;
}

P2 Anfang(const GeoElement& e) {
    return e.Typ == Linie ? P2{e.X1, e.Y1} : P2{BogenStartX(e), BogenStartY(e)};
}
P2 Ende(const GeoElement& e) {
    return e.Typ == Linie ? P2{e.X2, e.Y2} : P2{BogenEndeX(e), BogenEndeY(e)};
}

// Every element end meets an end of the next one (in either direction), round the contour.
bool Geschlossen(const std::vector<GeoElement>& el) {
    if (el.size() == 1) return el[0].Typ == Kreis;
    for (std::size_t i = 0; i < el.size(); ++i) {
        const GeoElement& a = el[i];
        const GeoElement& b = el[(i + 1) % el.size()];
        double best = std::numeric_limits<double>::infinity();
        for (P2 p : {Anfang(a), Ende(a)})
            for (P2 q : {Anfang(b), Ende(b)}) best = std::min(best, Laenge(p - q));
        if (best > 1e-6) return false;
    }
    return true;
}

TEST(Sparfitting, GlyphsOfThreeFontsStayWithinTheDeviationAndClosed) {
    FT_Library lib = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    const char* schriften[] = {"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
                               "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                               "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf"};
    Sparparameter p;
    p.MaxAbweichung = 0.1;
    for (const char* datei : schriften) {
        FT_Face face = nullptr;
        ASSERT_EQ(FT_New_Face(lib, datei, 0, &face), 0) << datei;
        std::size_t elemente = 0, glyphen = 0;
        for (FT_ULong z = 0x21; z <= 0xFF; ++z) {
            if (z >= 0x7F && z < 0xA1) continue;
            const Umriss u = GlyphUmriss(face, z);
            // The brute-force check is slow: it looks at the glyphs with the most curves.
            const bool genau = std::string("aegsS&@83").find(static_cast<char>(z)) != std::string::npos;
            for (const UmrissKontur& k : u.Konturen) {
                std::vector<GeoElement> el;
                SparKonturFitten(k, p, el);
                ASSERT_FALSE(el.empty()) << datei << " " << z;
                std::vector<const GeoElement*> zeiger;
                for (const GeoElement& e : el) {
                    ASSERT_TRUE(e.Typ == Linie || e.Typ == Bogen || e.Typ == Kreis);
                    ASSERT_EQ(e.KonturNr, k.KonturNr);
                    zeiger.push_back(&e);
                }
                EXPECT_TRUE(Geschlossen(el)) << datei << " U+" << std::hex << z;
                const double d = genau ? BeideRichtungen(k, el) : KonturAbweichung(k, zeiger);
                EXPECT_LE(d, p.MaxAbweichung) << datei << " U+" << std::hex << z;
                elemente += el.size();
            }
            ++glyphen;
        }
        // Far fewer than the default fitting's roughly 30 elements per glyph at this size.
        EXPECT_LT(double(elemente) / double(glyphen), 30) << datei;
        FT_Done_Face(face);
    }
    FT_Done_FreeType(lib);
}

TEST(Sparfitting, ACircleBecomesOneCircleAndAStraightOutlineItsLines) {
    Umriss u;
    // A circle of radius 20 drawn with four cubics (the usual kappa 0.5523: off by 0.0054 mm).
    const double r = 20, k = 0.5522847498 * r;
    u.Beginnen(1, {r, 0});
    u.Kubisch({r, k}, {k, r}, {0, r});
    u.Kubisch({-k, r}, {-r, k}, {-r, 0});
    u.Kubisch({-r, -k}, {-k, -r}, {0, -r});
    u.Kubisch({k, -r}, {r, -k}, {r, 0});
    u.Schliessen();
    u.Beginnen(2, {0, 0});
    for (P2 q : {P2{30, 0}, P2{60, 0}, P2{60, 10}, P2{0, 10}}) u.Linie(q);
    u.Schliessen();
    std::vector<GeoElement> el;
    SparKonturFitten(u.Konturen[0], {}, el);
    ASSERT_EQ(el.size(), 1u);
    EXPECT_EQ(el[0].Typ, Kreis);
    EXPECT_NEAR(el[0].Radius, r, 0.01);
    el.clear();
    SparKonturFitten(u.Konturen[1], {}, el);
    // The two collinear lines along the bottom become one.
    EXPECT_EQ(el.size(), 4u);
}

TEST(Maschinenpruefung, ViolationsAreListedAndRepairedWithinTheDeviation) {
    Speicher sp;
    Umriss u;
    // A square of side 10 with one corner cut by a 0.05 mm line and a tiny arc at another.
    u.Beginnen(1, {0, 0});
    for (P2 q : {P2{10, 0}, P2{10, 10}, P2{0.05, 10}, P2{0, 9.95}}) u.Linie(q);
    u.Schliessen();
    const auto linie = [&](double x1, double y1, double x2, double y2) {
        sp.Elemente.Anfuegen(NeuesElement(Linie, x1, y1, x2, y2, 0, 1));
    };
    linie(0, 0, 10, 0);
    linie(10, 0, 10, 10);
    linie(10, 10, 0.05, 10);
    linie(0.05, 10, 0, 9.95);
    linie(0, 9.95, 0, 0);
    u.AnzElemente = sp.ElementAnzahl();
    Maschinengrenzen g;
    g.MinLaenge = 0.1;
    g.Nachkommastellen = 1;
    const auto befunde = MaschinePruefen(sp, g);
    std::vector<std::pair<std::int32_t, Verstoss>> liste;
    for (const Pruefbefund& b : befunde) liste.emplace_back(b.Element, b.Art);
    EXPECT_EQ(liste, (std::vector<std::pair<std::int32_t, Verstoss>>{
                         {3, Verstoss::Nachkommastellen},
                         {4, Verstoss::Laenge},
                         {4, Verstoss::Nachkommastellen},
                         {5, Verstoss::Nachkommastellen}}));
    EXPECT_NEAR(befunde[1].Wert, std::sqrt(0.005), 1e-9);

    // Too tight a deviation keeps the contour as it is; a wider one takes the repair: the short
    // line goes, its neighbours meet at the rounded corner (0, 10).
    EXPECT_EQ(MaschineReparieren(sp, u, g, 0.01), 0);
    EXPECT_EQ(MaschinePruefen(sp, g).size(), 4u);
    EXPECT_EQ(MaschineReparieren(sp, u, g, 0.1), 1);
    EXPECT_TRUE(MaschinePruefen(sp, g).empty());
    std::vector<GeoElement> rest;
    for (std::int32_t i = 1; i <= sp.ElementAnzahl(); ++i)
        if (sp.Elemente[i].Typ != Entfernt) rest.push_back(sp.Elemente[i]);
    EXPECT_EQ(rest.size(), 4u);
    EXPECT_TRUE(Geschlossen(rest));
}

} // namespace
} // namespace konturo
