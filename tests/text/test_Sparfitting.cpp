// The economy fitting against FreeType's own outlines of three fonts (TrueType quadratics and a
// CFF font's cubics) at a sign's size, with a distance check of its own: every glyph within the
// deviation both ways, closed contours, only lines, arcs and circles; and the machine checks with
// their repair.
#include "FreetypeUmriss.h"
#include "TestHilfe.h"

#include "app/Sitzung.h"
#include "geometry/Abweichung.h"
#include "import/EPS_Einlesen.h"
#include "output/Maschinenpruefung.h"
#include "text/Sparfitting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace konturo {
namespace {

// The em in millimetres: Liberation Sans at a text height of 100 (ascent 133 mm).
constexpr double EmMm = 147;

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
        for (int i = 0; i <= 100; ++i)
            d = std::max(d, ZumPolygon(ElementPunkt(e, l * i / 100), umriss));
    }
    return d;
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
            const Umriss u = test::GlyphUmriss(face, z, EmMm);
            // The brute-force check is slow: it looks at the glyphs with the most curves.
            const bool genau =
                std::string("aegsS&@83").find(static_cast<char>(z)) != std::string::npos;
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
                EXPECT_TRUE(test::Geschlossen(el)) << datei << " U+" << std::hex << z;
                const double d = genau ? BeideRichtungen(k, el) : KonturAbweichung(k, zeiger);
                EXPECT_LE(d, p.MaxAbweichung) << datei << " U+" << std::hex << z;
                elemente += el.size();
            }
            ++glyphen;
        }
        // Far fewer than the default fitting's roughly 30 elements per glyph at this size, and
        // fewer than the 23 to 25 of a fit that takes the longest arc at each step (20 to 21.5
        // here).
        EXPECT_LT(double(elemente) / double(glyphen), 22.5) << datei;
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

// A random closed curve of cubic pieces through points around a centre, in PostScript points:
// smooth (the tangent continues at every joint) or with a corner at every other joint.
std::string ZufallsKurve(std::mt19937& zufall, bool eckig) {
    std::uniform_real_distribution<double> gleich(0, 1);
    const int n = 4 + static_cast<int>(gleich(zufall) * 6);
    std::vector<P2> p(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double w = 2 * 3.141592653589793 * (i + 0.6 * gleich(zufall)) / n;
        const double r = 60 + 120 * gleich(zufall);
        p[static_cast<std::size_t>(i)] = {300 + r * std::cos(w), 300 + r * std::sin(w)};
    }
    const auto at = [&](int i) { return p[static_cast<std::size_t>((i + n) % n)]; };
    const auto zahl = [](P2 q) { return std::to_string(q.x) + " " + std::to_string(q.y) + " "; };
    std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 600 600\n%%EndProlog\n";
    eps += zahl(at(0)) + "m\n";
    for (int i = 0; i < n; ++i) {
        // Catmull-Rom tangents; a corner turns the outgoing one.
        P2 aus = 0.5 * (at(i + 1) - at(i - 1)), ein = 0.5 * (at(i + 2) - at(i));
        if (eckig && i % 2 == 0) {
            const double d = (gleich(zufall) - 0.5) * 2.0;
            aus = {aus.x * std::cos(d) - aus.y * std::sin(d),
                   aus.x * std::sin(d) + aus.y * std::cos(d)};
        }
        eps += zahl(at(i) + (1.0 / 3) * aus) + zahl(at(i + 1) - (1.0 / 3) * ein) + zahl(at(i + 1)) +
               "c\n";
    }
    return eps + "h\nf\n";
}

struct ImportFall {
    std::vector<GeoElement> elemente;
    UmrissKontur umriss;
};

ImportFall Importiert(const std::string& eps, bool sparsam, double maxAbweichung) {
    auto s = test::NeueSitzung();
    s->einstellungen.SparModus = sparsam ? 1 : 0;
    s->einstellungen.MaxAbweichung = maxAbweichung;
    EXPECT_EQ(EPSEinlesenText(*s, eps, false), ImportErgebnis::Gelesen);
    ImportFall f;
    for (std::int32_t i = 1; i <= s->speicher.ElementAnzahl(); ++i)
        if (s->speicher.Elemente[i].Typ != Entfernt) f.elemente.push_back(s->speicher.Elemente[i]);
    EXPECT_EQ(s->umriss.Konturen.size(), 1u);
    if (!s->umriss.Konturen.empty()) f.umriss = s->umriss.Konturen[0];
    return f;
}

// Imported random curves: the economy fitting keeps its bound by a measurement of the test's own
// and a closed contour, and needs no more elements than the default approximation wherever that
// keeps the same bound.
TEST(Sparfitting, RandomImportedCurvesKeepTheBoundWithNoMoreElementsThanTheDefault) {
    std::mt19937 zufall(2026);
    int verglichen = 0;
    for (int fall = 0; fall < 24; ++fall) {
        const bool eckig = fall % 2 == 1;
        // A tight bound and one that the default approximation usually keeps.
        const double grenze = fall % 4 < 2 ? 0.05 : 0.2;
        const std::string eps = ZufallsKurve(zufall, eckig);
        const ImportFall spar = Importiert(eps, true, grenze);
        const ImportFall standard = Importiert(eps, false, grenze);
        ASSERT_FALSE(spar.elemente.empty()) << eps;
        EXPECT_LE(BeideRichtungen(spar.umriss, spar.elemente), grenze * 1.001) << eps;
        EXPECT_TRUE(test::Geschlossen(spar.elemente)) << eps;
        if (BeideRichtungen(standard.umriss, standard.elemente) <= grenze) {
            EXPECT_LE(spar.elemente.size(), standard.elemente.size()) << eps;
            ++verglichen;
        }
    }
    // The default approximation keeps the bound on many of them, so the comparison happened.
    EXPECT_GT(verglichen, 6);
}

// The grid search of large contours finds the same deviation as looking at every element, also
// where elements lie off the outline.
TEST(Abweichung, TheGridSearchMeasuresWhatTheFullSearchMeasures) {
    std::mt19937 zufall(7);
    std::uniform_real_distribution<double> gleich(-1, 1);
    UmrissKontur k{1, {}};
    const int n = 300;
    const auto punkt = [](int i) {
        const double w = 2 * 3.141592653589793 * i / n;
        const double r = 80 + 6 * std::sin(7 * w) + 3 * std::cos(23 * w);
        return P2{r * std::cos(w), r * std::sin(w)};
    };
    for (int i = 0; i < n; ++i) {
        const P2 a = punkt(i), b = punkt(i + 1);
        const P2 c = 0.5 * (a + b) + P2{0.3 * gleich(zufall), 0.3 * gleich(zufall)};
        k.Stuecke.push_back({2, {a, c, b, {}}});
    }
    k.Stuecke.back().P[2] = k.Stuecke.front().P[0];
    Sparparameter p;
    p.MaxAbweichung = 0.05;
    std::vector<GeoElement> el;
    SparKonturFitten(k, p, el);
    ASSERT_GT(el.size() * k.Stuecke.size(), 20000u);
    for (int fall = 0; fall < 2; ++fall) {
        if (fall == 1) {
            // Some elements moved off the outline by up to 2 mm.
            for (std::size_t i = 0; i < el.size(); i += 7) {
                const double dx = 2 * gleich(zufall), dy = 2 * gleich(zufall);
                el[i].X1 += dx;
                el[i].Y1 += dy;
                if (el[i].Typ == Linie) {
                    el[i].X2 += dx;
                    el[i].Y2 += dy;
                }
            }
        }
        std::vector<const GeoElement*> zeiger;
        for (const GeoElement& e : el) zeiger.push_back(&e);
        const double alle = KonturAbweichung(k, zeiger, Naechstensuche::Alle);
        EXPECT_DOUBLE_EQ(KonturAbweichung(k, zeiger, Naechstensuche::Raster), alle) << fall;
        EXPECT_DOUBLE_EQ(KonturAbweichung(k, zeiger), alle) << fall;
        EXPECT_GT(alle, fall == 0 ? 0.0 : 0.5);
    }
}

// Near a cusp or a loop of a piece the nearest point lies in another basin than the nearest
// sample's: the distance is still the true one (a dense brute force), not an overestimate.
TEST(Abweichung, PointsNearCuspsAndLoopsGetTheirTrueDistance) {
    const UmrissStueck stuecke[] = {
        {3, {P2{67.902, 14.589}, P2{28.367, 9.929}, P2{-8.030, -3.193}, P2{10.199, -37.680}}},
        {3, {P2{10.199, -37.680}, P2{-13.421, 12.718}, P2{74.706, 15.113}, P2{115.819, 14.424}}},
        {3, {P2{84.194, 16.062}, P2{78.741, 15.881}, P2{78.227, 15.829}, P2{81.554, 15.879}}},
        {2, {P2{7.1777, 0.6460}, P2{64.2407, 104.7231}, P2{66.5376, 107.0918}, P2{}}}};
    std::mt19937 zufall(3);
    std::uniform_real_distribution<double> gleich(-3, 3);
    for (const UmrissStueck& s : stuecke) {
        for (int i = 0; i < 200; ++i) {
            // Points near the piece, most of them near its end, where the cusps are.
            const double t = i < 150 ? 0.85 + 0.15 * i / 150.0 : (i - 150) / 50.0;
            const P2 p = s.Punkt(t) + P2{0.1 * gleich(zufall), 0.1 * gleich(zufall)};
            double dicht = std::numeric_limits<double>::infinity();
            for (int k = 0; k <= 200000; ++k)
                dicht = std::min(dicht, Laenge(s.Punkt(k / 200000.0) - p));
            EXPECT_NEAR(StueckAbstand(s, p), dicht, 1e-3) << i;
        }
    }
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
    EXPECT_EQ(liste,
              (std::vector<std::pair<std::int32_t, Verstoss>>{{3, Verstoss::Nachkommastellen},
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
    EXPECT_TRUE(test::Geschlossen(rest));
}

} // namespace
} // namespace konturo
