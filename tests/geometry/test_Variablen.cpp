// The element store: growth margin, bounding box, mirroring, arc sweep.
#include "TestHilfe.h"
#include "geometry/Variablen.h"

#include <gtest/gtest.h>

#include <cmath>

namespace konturo {
namespace {

GeoElement LinieVon(double x1, double y1, double x2, double y2) {
    GeoElement e = NeuesElement(Linie, x1, y1, x2, y2);
    return e;
}

TEST(Speicher, WaechstErstNachDemRandVon20Plaetzen) {
    Speicher s;
    ElementeLeeren(s);
    for (int i = 0; i < 980; ++i) s.Elemente.Anfuegen(LinieVon(0, 0, 1, i));
    EXPECT_EQ(s.Elemente.Anzahl(), 980);
    EXPECT_EQ(s.Elemente.Kapazitaet(), 1000) << "exactly MaxElemente - 20 elements: no growth";
    s.Elemente.Anfuegen(LinieVon(0, 0, 1, 980));
    EXPECT_EQ(s.Elemente.Kapazitaet(), 2000);
    EXPECT_DOUBLE_EQ(s.Elemente[1].Y2, 0.0);
    EXPECT_DOUBLE_EQ(s.Elemente[981].Y2, 980.0);
}

TEST(Speicher, LeerenBehaeltKapazitaetZuruecksetzenNicht) {
    Speicher s;
    for (int i = 0; i < 1500; ++i) s.Elemente.Anfuegen(LinieVon(0, 0, 1, 1));
    EXPECT_EQ(s.Elemente.Kapazitaet(), 2000);
    ElementeLeeren(s);
    EXPECT_EQ(s.ElementAnzahl(), 0);
    EXPECT_EQ(s.Elemente.Kapazitaet(), 2000);
    s.Elemente.Zuruecksetzen();
    EXPECT_EQ(s.Elemente.Kapazitaet(), 1000);
}

TEST(Box, ErsterPunktNachBoxNeuErsetztDieBox) {
    Speicher s;
    BoxErweitern(s, 3, 4);
    EXPECT_EQ(s.XMin, 3);
    EXPECT_EQ(s.XMax, 3);
    EXPECT_EQ(s.YMin, 4);
    EXPECT_EQ(s.YMax, 4);
    BoxErweitern(s, -1, 9);
    EXPECT_EQ(s.XMin, -1);
    EXPECT_EQ(s.YMax, 9);
    EXPECT_EQ(s.XMax, 3);
}

TEST(Spiegeln, BogenTauschtUndSpiegeltSeineWinkel) {
    Speicher s;
    GeoElement b;
    b.Typ = Bogen;
    b.X1 = 2;
    b.Radius = 1;
    b.X2 = 0.2;
    b.Y2 = 3.5;
    s.Elemente.Anfuegen(b);
    s.Elemente.Anfuegen(LinieVon(1, 1, 4, 2));
    s.XMax = 10;
    Spiegeln(s);
    const double pi = Pi();
    EXPECT_NEAR(s.Elemente[1].X2, pi - 3.5 + 2 * pi, 1e-12);
    EXPECT_NEAR(s.Elemente[1].Y2, pi - 0.2, 1e-12);
    EXPECT_DOUBLE_EQ(s.Elemente[1].X1, 8);
    EXPECT_DOUBLE_EQ(s.Elemente[2].X1, 9);
    EXPECT_DOUBLE_EQ(s.Elemente[2].X2, 6);
    EXPECT_DOUBLE_EQ(s.Elemente[2].Y2, 2);
}

TEST(Bogen, DurchWinkelNull) {
    EXPECT_NEAR(Bogenwinkel(5.5, 0.5), 0.5 + 2 * Pi() - 5.5, 1e-12);
    EXPECT_NEAR(Bogenwinkel(0.5, 2.0), 1.5, 1e-12);
}

} // namespace
} // namespace konturo
