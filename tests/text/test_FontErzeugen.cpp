// Outline approximation: circle constructions and their special slopes, stream reading from
// hand-made point streams, spline sampling, arc fitting, full circles and the emit rules.
#include "TestHilfe.h"

#include "text/FontErzeugen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace konturo {
namespace {

const double pi = 4.0 * std::atan(1.0);

// A Glyphon stream built by hand: entries from index 1, as the library writes them.
struct Strom {
    std::vector<double> x{0}, y{0};
    std::vector<std::int16_t> art{0};
    void Art(std::int16_t a) {
        x.push_back(0);
        y.push_back(0);
        art.push_back(a);
    }
    void Punkt(double px, double py, std::int16_t a = 0) {
        x.push_back(px);
        y.push_back(py);
        art.push_back(a);
    }
    // Entries plus the never-written slot at the result index.
    std::int32_t Anzahl() {
        Punkt(0, 0);
        return static_cast<std::int32_t>(art.size()) - 1;
    }
};

// One contour: the start point, one record (lines or spline) over the other points, and the
// contour end back at the start.
Strom EineKontur(const std::vector<std::pair<double, double>>& punkte,
                 std::int16_t art = GlyphLinie) {
    Strom st;
    st.Art(GlyphKonturStart);
    st.Punkt(punkte[0].first, punkte[0].second);
    st.Art(art);
    st.Art(static_cast<std::int16_t>(-(static_cast<int>(punkte.size()) - 1)));
    for (std::size_t i = 1; i < punkte.size(); ++i)
        st.Punkt(punkte[i].first, punkte[i].second, static_cast<std::int16_t>(i - 1));
    st.Art(GlyphKonturEnde);
    st.Punkt(punkte[0].first, punkte[0].second);
    return st;
}

bool StromLesen(Sitzung& s, Strom& st) {
    const std::int32_t n = st.Anzahl();
    return GlyphStromLesen(s, st.x.data(), st.y.data(), st.art.data(), n);
}

std::vector<const GeoElement*> Elemente(const Sitzung& s, std::uint8_t typ) {
    std::vector<const GeoElement*> v;
    for (std::int32_t i = 1; i <= s.speicher.ElementAnzahl(); ++i)
        if (s.speicher.Elemente[i].Typ == typ) v.push_back(&s.speicher.Elemente[i]);
    return v;
}

void PunktAnfuegen(Sitzung& s, double x, double y, std::int32_t kontur) {
    s.speicher.KonturPunkte.Anfuegen(NeuesElement(Punkt, x, y, 0, 0, 0, kontur));
}

void LinieAnfuegen(Sitzung& s, double x1, double y1, double x2, double y2, std::int32_t kontur) {
    s.speicher.KonturPunkte.Anfuegen(NeuesElement(Linie, x1, y1, x2, y2, 0, kontur));
}

TEST(Richtungswinkel, SpecialSlopesQuadrantsAndTheRepeatedPoint) {
    struct Fall {
        const char* name;
        double dx, dy, erwartet;
    } faelle[] = {
        {"up", 0, 2, pi / 2},
        {"down", 0, -2, 3 * pi / 2},
        {"right", 3, 0, 0},
        {"left", -3, 0, pi},
        {"first quadrant", 1, 1, pi / 4},
        {"second quadrant", -1, 1, 3 * pi / 4},
        {"third quadrant", -1, -1, 5 * pi / 4},
        {"fourth quadrant", 1, -1, 7 * pi / 4},
    };
    Textzustand z;
    for (const Fall& f : faelle) {
        const double w = Richtungswinkel(z, 5, 7, 5 + f.dx, 7 + f.dy);
        EXPECT_NEAR(w, f.erwartet, 1e-12) << f.name;
        EXPECT_GE(w, 0) << f.name;
        EXPECT_LT(w, 2 * pi) << f.name;
        // P = Q gives the previous result, whatever it was.
        EXPECT_EQ(Richtungswinkel(z, 1, 1, 1, 1), w) << f.name;
    }
    // Up is exactly pi / 2, the value the tangent construction tests for.
    EXPECT_EQ(Richtungswinkel(z, 0, 0, 0, 1), 4.0 * std::atan(1.0) / 2);
}

TEST(KreisDurchDreiPunkte, CentreRadiusAndAngles) {
    struct Fall {
        const char* name;
        double x1, y1, x2, y2, x3, y3;
        double mx, my, r, start, ende;
    } faelle[] = {
        {"quarter", 1, 0, std::sqrt(0.5), std::sqrt(0.5), 0, 1, 0, 0, 1, 0, pi / 2},
        {"reversed quarter", 0, 1, std::sqrt(0.5), std::sqrt(0.5), 1, 0, 0, 0, 1, 0, pi / 2},
        // Through angle 0: the start angle comes out negative.
        {"across zero", 10 + 2 * std::cos(-pi / 6), 5 + 2 * std::sin(-pi / 6), 12, 5,
         10 + 2 * std::cos(pi / 6), 5 + 2 * std::sin(pi / 6), 10, 5, 2, -pi / 6, pi / 6},
        // Exactly 180 degrees: from the third point's angle to the first point's.
        {"half", 1, 0, 0, 1, -1, 0, 0, 0, 1, pi, 0},
    };
    for (const Fall& f : faelle) {
        Textzustand z;
        KreisDurchDreiPunkte(z, f.x1, f.y1, f.x2, f.y2, f.x3, f.y3);
        EXPECT_FALSE(z.KeinKreis) << f.name;
        EXPECT_NEAR(z.Bogen.MX, f.mx, 1e-9) << f.name;
        EXPECT_NEAR(z.Bogen.MY, f.my, 1e-9) << f.name;
        EXPECT_NEAR(z.Bogen.Radius, f.r, 1e-9) << f.name;
        // Compared as the stored arc: a centre a rounding error off can put a point's angle at
        // 2 pi instead of 0, which the store's at-most-180-degrees exchange makes good.
        GeoElement b;
        b.Radius = 1;
        b.X2 = z.Bogen.Start;
        b.Y2 = z.Bogen.Ende;
        if (b.Y2 - b.X2 > pi) std::swap(b.X2, b.Y2);
        EXPECT_NEAR(BogenStartX(b), std::cos(f.start), 1e-9) << f.name;
        EXPECT_NEAR(BogenStartY(b), std::sin(f.start), 1e-9) << f.name;
        EXPECT_NEAR(BogenEndeX(b), std::cos(f.ende), 1e-9) << f.name;
        EXPECT_NEAR(BogenEndeY(b), std::sin(f.ende), 1e-9) << f.name;
        EXPECT_NEAR(Bogenwinkel(b.X2, b.Y2), Bogenwinkel(f.start, f.ende), 1e-9) << f.name;
    }
}

TEST(KreisDurchDreiPunkte, CollinearOrRepeatedPointsRaiseKeinKreisAndKeepTheCircle) {
    struct Fall {
        const char* name;
        double x1, y1, x2, y2, x3, y3;
    } faelle[] = {
        {"on a line", 0, 0, 1, 1, 2, 2},
        {"horizontal", 0, 3, 5, 3, 9, 3},
        {"first twice", 1, 1, 1, 1, 4, 0},
        {"all equal", 2, 2, 2, 2, 2, 2},
    };
    for (const Fall& f : faelle) {
        Textzustand z;
        z.Bogen = {7, 8, 9, 0.5, 1.5};
        KreisDurchDreiPunkte(z, f.x1, f.y1, f.x2, f.y2, f.x3, f.y3);
        EXPECT_TRUE(z.KeinKreis) << f.name;
        EXPECT_EQ(z.Bogen.MX, 7) << f.name;
        EXPECT_EQ(z.Bogen.Radius, 9) << f.name;
    }
}

TEST(KreisTangential, SpecialSlopes) {
    struct Fall {
        const char* name;
        double ax, ay, bx, by, alpha;
        double mx, my, r;
    } faelle[] = {
        // alpha = pi / 2 exactly: the normal at B is horizontal; the chord is horizontal.
        {"vertical tangent", 0, 0, 2, 0, pi / 2, 1, 0, 1},
        // alpha = 0: the normal at B is (almost) vertical.
        {"horizontal tangent", 0, 0, 1, 1, 0, 1, 0, 1},
        {"tangent across the chord", 0, 0, 1, 1, pi / 2 + pi / 4, 0.5, 0.5, std::sqrt(0.5)},
    };
    for (const Fall& f : faelle) {
        Textzustand z;
        KreisTangential(z, f.ax, f.ay, f.bx, f.by, f.alpha);
        EXPECT_NEAR(z.Bogen.MX, f.mx, 1e-9) << f.name;
        EXPECT_NEAR(z.Bogen.MY, f.my, 1e-9) << f.name;
        EXPECT_NEAR(z.Bogen.Radius, f.r, 1e-9) << f.name;
        // Both points lie on the circle.
        EXPECT_NEAR(Abstand(f.ax, f.ay, z.Bogen.MX, z.Bogen.MY), z.Bogen.Radius, 1e-9) << f.name;
    }
}

TEST(KreisTangential, TangentAlongAVerticalChordGivesAHugeCircleInsteadOfAFault) {
    // Chord and tangent both vertical: both slopes are 0, so 1e-10 is added to one of them and
    // the "circle" becomes a straight line with a centre far out on the bisector.
    Textzustand z;
    KreisTangential(z, 0, 0, 0, 2, pi / 2);
    EXPECT_TRUE(std::isfinite(z.Bogen.MX));
    EXPECT_NEAR(z.Bogen.MY, 1, 1e-6);
    EXPECT_GT(z.Bogen.Radius, 1e9);
}

TEST(BogenWinkel, ArcOfAtMostHalfATurnBetweenTheTwoPoints) {
    struct Fall {
        const char* name;
        double a1Grad, a2Grad, start, ende;
    } faelle[] = {
        {"ascending", 20, 80, 20, 80},
        {"descending", 80, 20, 20, 80},
        {"first near 0, second below", 10, 350, -10, 10},
        {"second near 0, first below", 350, 10, -10, 10},
        {"long way round is never taken", 100, 300, 300, 100},
        {"exactly half", 0, 180, 180, 0},
    };
    for (const Fall& f : faelle) {
        Textzustand z;
        const double a1 = f.a1Grad * pi / 180, a2 = f.a2Grad * pi / 180;
        BogenWinkel(z, 3, 4, 3 + 5 * std::cos(a1), 4 + 5 * std::sin(a1), 3 + 5 * std::cos(a2),
                    4 + 5 * std::sin(a2));
        EXPECT_NEAR(z.Bogen.Start * 180 / pi, f.start, 1e-9) << f.name;
        EXPECT_NEAR(z.Bogen.Ende * 180 / pi, f.ende, 1e-9) << f.name;
    }
}

TEST(Geometriehilfen, BogenlaengeGeradeUndLotabstand) {
    EXPECT_NEAR(Bogenlaenge(350, 10, 1), pi / 9, 1e-12);
    EXPECT_NEAR(Bogenlaenge(10, 100, 2), pi, 1e-12);
    EXPECT_NEAR(Bogenlaenge(30, 30, 1), 2 * pi, 1e-12); // equal angles: a full turn
    EXPECT_DOUBLE_EQ(Abstand(1, 1, 4, 5), 5);

    Textzustand z;
    GeradeDurchZweiPunkte(z, 0, 3, 4, 3);
    EXPECT_NEAR(Lotabstand(z, 1, 5), -2, 1e-12);
    GeradeDurchZweiPunkte(z, 5, 0, 5, 9); // vertical: slope 9999999999
    EXPECT_EQ(z.GeradeSteigung, SenkrechteSteigung);
    EXPECT_NEAR(Lotabstand(z, 7, 0), 2, 1e-6);
    GeradeDurchZweiPunkte(z, 0, 0, 1, 1);
    EXPECT_NEAR(Lotabstand(z, 0, std::sqrt(2.0)), -1, 1e-12);
}

// Stream reading and approximation on a fresh session at scale 1.
class Approximation : public ::testing::Test {
protected:
    void SetUp() override { Neu(); }
    void Neu() {
        s = test::NeueSitzung();
        s->text.Massstab = 1;
    }
    // A full box so the full-circle test runs.
    void GrosseBox() {
        s->speicher.BoxNeu = false;
        s->speicher.XMin = 0;
        s->speicher.XMax = 1000;
    }
    // n + 1 points of a circle of radius r about (mx, my) from angle a to b.
    void Lauf(double mx, double my, double r, double a, double b, std::int32_t kontur) {
        for (int k = 0; k <= 20; ++k) {
            const double w = a + (b - a) * k / 20;
            PunktAnfuegen(*s, mx + r * std::cos(w), my + r * std::sin(w), kontur);
        }
    }
    std::unique_ptr<Sitzung> s;
};
using Stromlesen = Approximation;

TEST_F(Stromlesen, LineOnlyGlyphGivesOneLinePerPointAndAClosingLineOnlyWhenOpen) {
    struct Fall {
        const char* name;
        std::vector<std::pair<double, double>> punkte;
        int linien;
    } faelle[] = {
        {"open square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 4},
        {"closed square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, 4},
        {"triangle", {{0, 0}, {10, 0}, {5, 8}}, 3},
    };
    for (const Fall& f : faelle) {
        Neu();
        Strom st = EineKontur(f.punkte);
        ASSERT_TRUE(StromLesen(*s, st)) << f.name;
        EXPECT_EQ(s->speicher.KonturPunkte.Anzahl(), f.linien) << f.name;
        KonturApproximieren(*s, false);
        const auto linien = Elemente(*s, Linie);
        ASSERT_EQ(static_cast<int>(linien.size()), f.linien) << f.name;
        EXPECT_EQ(s->speicher.ElementAnzahl(), f.linien) << f.name;
        // Chained, and the last one ends at the contour start.
        for (std::size_t i = 0; i + 1 < linien.size(); ++i) {
            EXPECT_EQ(linien[i]->X2, linien[i + 1]->X1) << f.name;
            EXPECT_EQ(linien[i]->Y2, linien[i + 1]->Y1) << f.name;
        }
        EXPECT_EQ(linien.back()->X2, 0) << f.name;
        EXPECT_EQ(linien.back()->Y2, 0) << f.name;
        EXPECT_EQ(s->text.KonturZaehler, 1) << f.name;
    }
}

TEST_F(Stromlesen, NoContourStartMeansNoOutline) {
    Strom st;
    st.Punkt(0, 0);
    EXPECT_TRUE(StromLesen(*s, st));
    EXPECT_EQ(s->speicher.KonturPunkte.Anzahl(), 0);
}

TEST_F(Stromlesen, ARecordCountBeyondTheStreamIsAFaultAndKeepsWhatWasRead) {
    Strom st = EineKontur({{0, 0}, {10, 0}, {10, 10}});
    // A second contour whose line record claims more points than the stream holds.
    st.Art(GlyphKonturStart);
    st.Punkt(20, 20);
    st.Art(GlyphLinie);
    st.Art(-50);
    st.Punkt(30, 20, 0);
    EXPECT_FALSE(StromLesen(*s, st));
    EXPECT_EQ(s->speicher.KonturPunkte.Anzahl(), 3);
}

TEST_F(Stromlesen, SplineRecordsAreSampledAtNPlusOnePointsWithTByRepeatedAddition) {
    struct Fall {
        const char* name;
        double splineT;
        std::uint8_t einLinie;
        int punkte;
    } faelle[] = {
        {"SplineT 0.05", 0.05, 0, 21},
        {"SplineT 0.1", 0.1, 0, 11},
        {"single-line mode ignores SplineT", 0.05, 1, 51},
    };
    for (const Fall& f : faelle) {
        Neu();
        s->einstellungen.SplineT = f.splineT;
        s->einstellungen.SingleLineModus = f.einLinie;
        // A quadratic from (0,0) over (50,100) to (100,0), then the closing line.
        Strom st = EineKontur({{0, 0}, {50, 100}, {100, 0}}, GlyphSpline);
        ASSERT_TRUE(StromLesen(*s, st)) << f.name;
        const GeoFeld& kp = s->speicher.KonturPunkte;
        ASSERT_EQ(kp.Anzahl(), f.punkte + 1) << f.name;
        const double schritt = f.einLinie ? 0.02 : f.splineT;
        double t = 0;
        for (int k = 1; k <= f.punkte; ++k) {
            EXPECT_EQ(kp[k].Typ, Punkt) << f.name;
            EXPECT_NEAR(kp[k].X1, 100 * t, 1e-9) << f.name << " point " << k;
            EXPECT_NEAR(kp[k].Y1, 200 * t * (1 - t), 1e-9) << f.name << " point " << k;
            t += schritt;
        }
        EXPECT_EQ(kp[1].X1, 0) << f.name;
        EXPECT_EQ(kp[f.punkte + 1].Typ, Linie) << f.name;
    }
}

TEST_F(Stromlesen, ImpliedOnCurveMidpointsJoinTheSegmentsOfASplineRecord) {
    Strom st = EineKontur({{0, 0}, {0, 10}, {10, 10}, {10, 0}}, GlyphSpline);
    ASSERT_TRUE(StromLesen(*s, st));
    const GeoFeld& kp = s->speicher.KonturPunkte;
    ASSERT_EQ(kp.Anzahl(), 2 * 21 + 1);
    EXPECT_NEAR(kp[21].X1, 5, 1e-9); // midpoint of the two control points
    EXPECT_NEAR(kp[21].Y1, 10, 1e-9);
    EXPECT_NEAR(kp[22].X1, 5, 1e-9);
    EXPECT_NEAR(kp[42].X1, 10, 1e-9);
    EXPECT_NEAR(kp[42].Y1, 0, 1e-9);
}

TEST_F(Approximation, ACircularContourBecomesOneKreis) {
    GrosseBox();
    for (int q = 0; q < 4; ++q) Lauf(100, 100, 50, q * pi / 2, (q + 1) * pi / 2, 1);
    KonturApproximieren(*s, false);
    ASSERT_EQ(s->speicher.ElementAnzahl(), 1);
    const GeoElement& k = s->speicher.Elemente[1];
    EXPECT_EQ(k.Typ, Kreis);
    EXPECT_NEAR(k.X1, 100, 1e-9);
    EXPECT_NEAR(k.Y1, 100, 1e-9);
    EXPECT_NEAR(k.Radius, 50, 1e-9);
    EXPECT_EQ(k.Farbe, 0);
    // The circle extends the box to centre +- radius.
    EXPECT_LE(s->speicher.YMin, 50 + 1e-9);
    EXPECT_GE(s->speicher.YMax, 150 - 1e-9);
}

TEST_F(Approximation, ContoursThatAreNotFullCirclesBecomeArcs) {
    struct Fall {
        const char* name;
        double boxBreite;
        double verformung; // added to the radius of one quarter
        double luecke;     // angle left open at the end
    } faelle[] = {
        // The box extent (output units) is compared with the radius (outline units).
        {"box narrower than the radius", 40, 0, 0},
        {"one quarter off the circle", 1000, 0.5, 0},
        {"first and last point apart", 1000, 0, 0.01},
    };
    for (const Fall& f : faelle) {
        Neu();
        s->speicher.BoxNeu = false;
        s->speicher.XMax = f.boxBreite;
        for (int q = 0; q < 4; ++q) {
            const double ende = (q + 1) * pi / 2 - (q == 3 ? f.luecke : 0);
            Lauf(100, 100, 50 + (q == 2 ? f.verformung : 0), q * pi / 2, ende, 1);
        }
        KonturApproximieren(*s, false);
        EXPECT_TRUE(Elemente(*s, Kreis).empty()) << f.name;
        EXPECT_GE(Elemente(*s, Bogen).size(), 4u) << f.name;
    }
}

TEST_F(Approximation, ArcAtExactlyMaxRadiusStaysAnArcAboveItBecomesALine) {
    Lauf(0, 0, 100, 0.2, 1.0, 1);
    Textzustand z;
    const GeoFeld& kp = s->speicher.KonturPunkte;
    KreisDurchDreiPunkte(z, kp[1].X1, kp[1].Y1, kp[11].X1, kp[11].Y1, kp[21].X1, kp[21].Y1);
    struct Fall {
        const char* name;
        double maxRadius;
        std::uint8_t typ;
    } faelle[] = {
        {"equal", z.Bogen.Radius, Bogen},
        {"just below", z.Bogen.Radius * (1 - 1e-12), Linie},
    };
    for (const Fall& f : faelle) {
        ElementeLeeren(s->speicher);
        s->einstellungen.maxRadius = f.maxRadius;
        KonturApproximieren(*s, false);
        ASSERT_EQ(s->speicher.ElementAnzahl(), 1) << f.name;
        const GeoElement& e = s->speicher.Elemente[1];
        EXPECT_EQ(e.Typ, f.typ) << f.name;
        if (f.typ == Bogen) {
            EXPECT_NEAR(e.X2, 0.2, 1e-9) << f.name;
            EXPECT_NEAR(e.Y2, 1.0, 1e-9) << f.name;
            EXPECT_NEAR(e.Radius, 100, 1e-9) << f.name;
        } else {
            EXPECT_EQ(e.X1, kp[1].X1) << f.name;
            EXPECT_EQ(e.X2, kp[21].X1) << f.name;
        }
    }
}

TEST_F(Approximation, PlacementScalesPointsAndRadiiAndColoursShortElements) {
    s->text.StiftX = 10;
    s->text.StiftY = -5;
    s->text.Massstab = 0.5;
    s->einstellungen.WarnLaenge = 3;
    Lauf(0, 0, 100, 0.2, 1.0, 1);
    LinieAnfuegen(*s, 0, 0, 4, 0, 2);  // placed length 2: below WarnLaenge
    LinieAnfuegen(*s, 0, 0, 40, 0, 2); // placed length 20
    KonturApproximieren(*s, false);
    ASSERT_EQ(s->speicher.ElementAnzahl(), 3);
    const GeoElement& b = s->speicher.Elemente[1];
    EXPECT_EQ(b.Typ, Bogen);
    EXPECT_NEAR(b.X1, 5, 1e-9);
    EXPECT_NEAR(b.Y1, -2.5, 1e-9);
    EXPECT_NEAR(b.Radius, 50, 1e-9);
    EXPECT_EQ(b.Farbe, 0);
    EXPECT_EQ(s->speicher.Elemente[2].Farbe, s->einstellungen.ElementWarnFarbe);
    EXPECT_EQ(s->speicher.Elemente[3].Farbe, 0);
    EXPECT_DOUBLE_EQ(s->speicher.Elemente[3].X2, 25);
}

TEST_F(Approximation, CollinearControlPointsGoThroughTheGreedySplitAndGiveLines) {
    s->einstellungen.SplineT = 0.05;
    SplineTeilen(*s, 0, 0, 50, 50, 100, 100);
    KonturApproximieren(*s, false);
    const auto linien = Elemente(*s, Linie);
    ASSERT_FALSE(linien.empty());
    EXPECT_EQ(static_cast<int>(linien.size()), s->speicher.ElementAnzahl());
    // Pieces chain from the segment's start to its end.
    EXPECT_NEAR(linien.front()->X1, 0, 1e-9);
    for (std::size_t i = 0; i + 1 < linien.size(); ++i)
        EXPECT_NEAR(linien[i]->X2, linien[i + 1]->X1, 1e-9);
    EXPECT_NEAR(linien.back()->X2, 100, 1e-9);
    EXPECT_NEAR(linien.back()->Y2, 100, 1e-9);
}

TEST_F(Approximation, AWigglyRunIsSplitIntoArcsThatStayNearThePointsAndJoinUp) {
    // An S-curve: no single arc fits, so the greedy split and the closing arc run.
    for (int k = 0; k <= 20; ++k) {
        const double t = k / 20.0;
        PunktAnfuegen(*s, 200 * t, 30 * std::sin(1.5 * pi * t), 1);
    }
    KonturApproximieren(*s, false);
    const auto boegen = Elemente(*s, Bogen);
    ASSERT_GE(boegen.size(), 2u);
    ASSERT_EQ(static_cast<int>(boegen.size()), s->speicher.ElementAnzahl());
    // Each arc's two end points are sample points, and consecutive arcs share one.
    std::vector<std::pair<double, double>> enden;
    for (const GeoElement* b : boegen) {
        enden.emplace_back(BogenStartX(*b), BogenStartY(*b));
        enden.emplace_back(BogenEndeX(*b), BogenEndeY(*b));
    }
    auto istProbe = [&](double x, double y) {
        for (int k = 1; k <= s->speicher.KonturPunkte.Anzahl(); ++k) {
            const GeoElement& p = s->speicher.KonturPunkte[k];
            if (Abstand(x, y, p.X1, p.Y1) < 1e-6) return true;
        }
        return false;
    };
    for (const auto& [x, y] : enden) EXPECT_TRUE(istProbe(x, y)) << x << " " << y;
    auto gemeinsam = [&](std::size_t a, std::size_t b) {
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                if (Abstand(enden[2 * a + i].first, enden[2 * a + i].second, enden[2 * b + j].first,
                            enden[2 * b + j].second) < 1e-6)
                    return true;
        return false;
    };
    for (std::size_t i = 0; i + 1 < boegen.size(); ++i) EXPECT_TRUE(gemeinsam(i, i + 1)) << i;
}

TEST_F(Approximation, ShortLinesAndNonFiniteValuesNeverReachTheStore) {
    LinieAnfuegen(*s, 0, 0, 1e-9, 0, 1);
    LinieAnfuegen(*s, 5, 5, 5, 5, 1);
    KonturApproximieren(*s, false);
    EXPECT_EQ(s->speicher.ElementAnzahl(), 0);

    KonturPunkteLeeren(s->speicher);
    s->text.Massstab = std::numeric_limits<double>::infinity();
    LinieAnfuegen(*s, 0, 0, 10, 0, 1);
    Lauf(0, 0, 100, 0.2, 1.0, 2);
    const bool boxNeu = s->speicher.BoxNeu;
    KonturApproximieren(*s, false);
    EXPECT_EQ(s->speicher.ElementAnzahl(), 0);
    EXPECT_EQ(s->speicher.BoxNeu, boxNeu);
}

TEST_F(Approximation, MaxKonturLaengeCountsStepsUpToTheNextContourStart) {
    for (int i = 0; i < 5; ++i) LinieAnfuegen(*s, i, 0, i + 1, 0, 1);
    for (int i = 0; i < 3; ++i) LinieAnfuegen(*s, i, 5, i + 1, 5, 2);
    for (int i = 0; i < 20; ++i) LinieAnfuegen(*s, i, 9, i + 1, 9, 3); // last: never measured
    s->text.MaxKonturLaenge = 1;
    KonturApproximieren(*s, false);
    EXPECT_EQ(s->text.MaxKonturLaenge, 6);
}

TEST_F(Approximation, GraphicModeReportsProgressAndStopsOnAbort) {
    for (int i = 0; i < 100; ++i) LinieAnfuegen(*s, i, 0, i + 1, 0, 1);
    s->einstellungen.Unterbrechung = 1;
    s->kopflos.ereignisKontext = s.get();
    s->kopflos.beiEreignissen = [](void* k) {
        static_cast<Sitzung*>(k)->fenster.AbbruchWunsch = true;
    };
    KonturApproximieren(*s, true);
    EXPECT_EQ(s->speicher.ElementAnzahl(), 9);
    EXPECT_FALSE(s->fenster.AbbruchWunsch);
    EXPECT_EQ(s->kopflos.fortschrittWert, 10);

    // Text mode neither yields nor stops.
    ElementeLeeren(s->speicher);
    s->fenster.AbbruchWunsch = true;
    KonturApproximieren(*s, false);
    EXPECT_EQ(s->speicher.ElementAnzahl(), 100);
}

// The pass of an import runs while the reader still changes the circle values it would start
// from. A first run of equal points reads the direction memory before setting it: the pass must
// wait for the reader's values and give the elements of one pass over the whole buffer.
TEST_F(Approximation, StreamedPassWaitsForTheReadersCircleValues) {
    Textzustand leser = s->text;
    leser.LetzterRichtungswinkel = 2.0;
    leser.Bogen = {1, 2, 3, 0.5, 1.5};
    auto fuellen = [](Sitzung& t, KonturStrom* strom) {
        auto punkt = [&](double x, double y, std::int32_t kontur) {
            PunktAnfuegen(t, x, y, kontur);
            if (strom) strom->Angefuegt();
        };
        // Every other point equal: each chord direction of the greedy split is the memory.
        for (int j = 0; j <= 20; ++j) punkt(3 + 10 * (j % 2), 4, 1);
        for (int k = 2; k < 5000; ++k) {
            for (int j = 0; j <= 20; ++j) {
                const double w = 0.1 * j + 0.01 * k;
                punkt(k % 50 * 10 + 3 * std::cos(w), k / 50 * 10 + 2 * std::sin(1.7 * w), k);
            }
        }
    };
    auto ganz = test::NeueSitzung();
    ganz->text.Massstab = 1;
    ganz->text.LetzterRichtungswinkel = leser.LetzterRichtungswinkel;
    ganz->text.Bogen = leser.Bogen;
    fuellen(*ganz, nullptr);
    KonturApproximieren(*ganz, false);

    KonturStrom strom(*s);
    strom.AnfangOffen();
    fuellen(*s, &strom);
    strom.Ende(leser, false);

    // A pass that did not wait would start from the session's own values: its arcs, tangent to
    // the direction memory, come out elsewhere.
    auto eigene = test::NeueSitzung();
    eigene->text.Massstab = 1;
    fuellen(*eigene, nullptr);
    KonturApproximieren(*eigene, false);

    const GeoFeld& a = s->speicher.Elemente;
    const GeoFeld& b = ganz->speicher.Elemente;
    ASSERT_EQ(a.Anzahl(), b.Anzahl());
    ASSERT_EQ(b[1].Typ, Bogen);
    ASSERT_NE(eigene->speicher.Elemente[1].X1, b[1].X1);
    for (std::int32_t i = 1; i <= a.Anzahl(); ++i)
        ASSERT_TRUE(a[i].Typ == b[i].Typ && a[i].X1 == b[i].X1 && a[i].Y1 == b[i].Y1 &&
                    a[i].X2 == b[i].X2 && a[i].Y2 == b[i].Y2 && a[i].Radius == b[i].Radius)
            << "element " << i;
    EXPECT_EQ(s->text.LetzterRichtungswinkel, ganz->text.LetzterRichtungswinkel);
}

} // namespace
} // namespace konturo
