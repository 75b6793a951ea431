// ME10 macro writer: exact commands, the x-derived window margin, three-point arcs through
// angle 0 and flat arcs written as lines.
#include "AusgabeHilfe.h"
#include "TestHilfe.h"
#include "output/ME10_Ausgeben.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace konturo::test {
namespace {

std::string Me10(Sitzung& s) {
    std::ostringstream aus;
    Me10Schreiben(s, aus);
    return aus.str();
}

TEST(Me10Schreiben, EineLinieGibtVierZeilen) {
    auto s = NeueSitzung();
    Element(*s, Linie, 0, 0, 100, 10);
    Box(*s, 0, 0, 100, 10);
    EXPECT_EQ(Me10(*s), CrLf({"window (-5,-5) (105,15)", "line two_pts (0,0) (100,10)", "end",
                              "window fit"}));
}

TEST(Me10Schreiben, GemischteZeichnungBytegenauOhneAuffuellen) {
    auto s = NeueSitzung();
    const double pi = Pi();
    // The padding of value lines in a point locale never reaches a joined command.
    s->speicher.DezimalPunkt = true;
    Element(*s, Bogen, 0, 0, 0, pi / 2, 10);
    Element(*s, Kreis, 1, 1, 0, 0, 2.5);
    Element(*s, Entfernt, 1, 1, 2, 2);
    Element(*s, Linie, -1.25, 3, 0.5, -0.00001);
    Box(*s, -10, -10, 10, 10);
    EXPECT_EQ(Me10(*s), CrLf({"window (-11,-11) (11,11)",
                              "arc three_pts (10,0) (0,10) (7.07106781186548,7.07106781186548)",
                              "circle center (1,1) (2.5)", "line two_pts (-1.25,3) (0.5,-1E-05)",
                              "end", "window fit"}));
}

TEST(Me10Schreiben, MittelpunktDurchWinkelNull) {
    auto s = NeueSitzung();
    const double grad = Pi() / 180;
    Element(*s, Bogen, 2, 3, 350 * grad, 10 * grad, 4);
    Box(*s, 0, 0, 10, 10);
    const std::string me10 = Me10(*s);
    // Middle point at angle 0: (2 + 4, 3), not at 180 degrees (2 - 4, 3).
    EXPECT_NE(me10.find(") (6,3)\r\n"), std::string::npos) << me10;
    EXPECT_NE(me10.find("arc three_pts (5.93923101204883,2.30540728933228) "
                        "(5.93923101204883,3.69459271066772) (6,3)"),
              std::string::npos)
        << me10;
}

TEST(Me10Schreiben, FlacherBogenWirdLinie) {
    struct Fall {
        const char* name;
        double radius, sweep;
        bool linie;
    };
    const Fall faelle[] = {
        {"Radius 1000, 0.001 rad: 0.000125 von der Sehne", 1000, 0.001, true},
        {"Radius 1000, 0.02 rad: 0.05 von der Sehne", 1000, 0.02, false},
        {"Radius 1, Viertelkreis", 1, Pi() / 2, false},
    };
    for (const Fall& f : faelle) {
        auto s = NeueSitzung();
        Element(*s, Bogen, 0, 0, 1, 1 + f.sweep, f.radius);
        Box(*s, 0, 0, 1000, 1000);
        const std::string me10 = Me10(*s);
        EXPECT_EQ(me10.find("line two_pts") != std::string::npos, f.linie) << f.name;
        EXPECT_EQ(me10.find("arc three_pts") != std::string::npos, !f.linie) << f.name;
    }
}

TEST(Me10Sehnenabstand, SenkrechteSehneUndVorzeichen) {
    // Half circle from -90 to 90 degrees: vertical chord through x = 0, middle point (5, 0).
    GeoElement e;
    e.Typ = Bogen;
    e.Radius = 5;
    e.X2 = -Pi() / 2;
    e.Y2 = Pi() / 2;
    EXPECT_NEAR(std::fabs(Me10Sehnenabstand(e)), 5, 1e-6);
    // Quarter arc from 0 to 90 degrees: chord x + y = 10, middle point 10/sqrt(2) from the centre.
    e.X2 = 0;
    e.Radius = 10;
    EXPECT_NEAR(std::fabs(Me10Sehnenabstand(e)), 10 - 10 / std::sqrt(2.0), 1e-12);
}

} // namespace
} // namespace konturo::test
