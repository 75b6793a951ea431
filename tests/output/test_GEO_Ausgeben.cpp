// GEO writer: shared points and the search window, colour codes, the corner shift, exact bytes,
// and the indexed point search against the literal newest-first loop.
#include "AusgabeHilfe.h"
#include "TestHilfe.h"
#include "output/GEO_Ausgeben.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>

namespace konturo::test {
namespace {

std::string Geo(Sitzung& s, const std::string& datum = "07.12.2026") {
    const GeoTabellen t = GeoAufbauen(s);
    std::ostringstream aus;
    GeoAusgeben(s, t, aus, datum);
    return aus.str();
}

struct Punkte {
    std::int32_t Startpunkt = 0, Endpunkt = 0, Mittelpunkt = 0;
};

// The point numbers of element i, taken from the run's list the way the writer takes them.
Punkte Eintrag(const Sitzung& s, const GeoTabellen& t, int i) {
    std::size_t n = 0;
    Punkte p;
    for (int j = 1; j <= i; ++j) {
        switch (s.speicher.Elemente[j].Typ) {
        case Linie:
            p = {t.nummern[n], t.nummern[n + 1], 0};
            n += 2;
            break;
        case Bogen:
            p = {t.nummern[n + 1], t.nummern[n + 2], t.nummern[n]};
            n += 3;
            break;
        case Kreis:
            p = {0, 0, t.nummern[n]};
            n += 1;
            break;
        default:
            p = {};
            break;
        }
    }
    return p;
}

TEST(GeoAufbauen, AufeinanderfolgendeLinienTeilenDenPunkt) {
    auto s = NeueSitzung();
    s->text.MaxKonturLaenge = 1;
    Element(*s, Linie, 0, 0, 10, 0);
    Element(*s, Linie, 10, 0, 10, 5);
    const GeoTabellen t = GeoAufbauen(*s);
    EXPECT_EQ(t.punkte.AnzGeoPunkte(), 3);
    EXPECT_EQ(Eintrag(*s, t, 1).Startpunkt, 1);
    EXPECT_EQ(Eintrag(*s, t, 1).Endpunkt, 2);
    EXPECT_EQ(Eintrag(*s, t, 2).Startpunkt, 2);
    EXPECT_EQ(Eintrag(*s, t, 2).Endpunkt, 3);
}

TEST(GeoAufbauen, GeschlossenesQuadratNurMitSuchfenster) {
    struct Fall {
        const char* name;
        std::int32_t maxKonturLaenge;
        std::int32_t punkte;
    };
    const Fall faelle[] = {{"Fenster 10 Punkte", 1, 4}, {"kein Fenster", 0, 8}};
    for (const Fall& f : faelle) {
        auto s = NeueSitzung();
        s->text.MaxKonturLaenge = f.maxKonturLaenge;
        Element(*s, Linie, 0, 0, 10, 0);
        Element(*s, Linie, 10, 0, 10, 10);
        Element(*s, Linie, 10, 10, 0, 10);
        // The closing end lies a little off the first start, inside the tolerance.
        Element(*s, Linie, 0, 10, 0.004, -0.005);
        const GeoTabellen t = GeoAufbauen(*s);
        EXPECT_EQ(t.punkte.AnzGeoPunkte(), f.punkte) << f.name;
        if (f.punkte == 4) {
            EXPECT_EQ(Eintrag(*s, t, 4).Endpunkt, 1) << f.name;
        }
    }
}

TEST(GeoAufbauen, EinPunktHoechstensEinmalGetroffen) {
    auto s = NeueSitzung();
    s->text.MaxKonturLaenge = 100;
    Element(*s, Linie, 0, 0, 5, 5);
    Element(*s, Linie, 10, 0, 5, 5);
    Element(*s, Linie, 10, 10, 5, 5);
    const GeoTabellen t = GeoAufbauen(*s);
    EXPECT_EQ(t.punkte.AnzGeoPunkte(), 5);
    EXPECT_EQ(Eintrag(*s, t, 2).Endpunkt, 2);
    EXPECT_EQ(Eintrag(*s, t, 3).Endpunkt, 5);
    EXPECT_EQ(t.punkte[5].X, 5);
}

TEST(GeoAufbauen, KreiseTeilenNieAberEndenFindenMittelpunkte) {
    auto s = NeueSitzung();
    s->text.MaxKonturLaenge = 100;
    Element(*s, Kreis, 3, 3, 0, 0, 1);
    Element(*s, Kreis, 3, 3, 0, 0, 2);
    Element(*s, Linie, 0, 0, 3, 3);
    const GeoTabellen t = GeoAufbauen(*s);
    EXPECT_EQ(Eintrag(*s, t, 1).Mittelpunkt, 1);
    EXPECT_EQ(Eintrag(*s, t, 2).Mittelpunkt, 2);
    // The newest free point wins: the second centre.
    EXPECT_EQ(Eintrag(*s, t, 3).Endpunkt, 2);
    EXPECT_EQ(t.punkte.AnzGeoPunkte(), 3);
}

TEST(GeoAufbauen, NurDasFensterWirdDurchsucht) {
    // Window 10: point 1 followed by 9 later points is inside, by 10 later points outside.
    for (int spaeter : {9, 10}) {
        for (bool linear : {false, true}) {
            GeoPunktTabelle p(10);
            p.PunktSuchen(0, 0, false);
            for (int i = 0; i < spaeter; ++i) p.PunktSuchen(100 + i, 0, false);
            const std::int32_t k = linear ? p.PunktSuchenLinear(0.001, 0.001, true)
                                          : p.PunktSuchen(0.001, 0.001, true);
            EXPECT_EQ(k == 1, spaeter == 9) << spaeter << " spaetere Punkte, linear " << linear;
        }
    }
}

TEST(GeoAusgeben, KleineZeichnungBytegenau) {
    auto s = NeueSitzung();
    const double pi = Pi();
    s->text.MaxKonturLaenge = 1;
    s->einstellungen.Ausgabenfarbe = 1;
    s->speicher.DezimalPunkt = true;
    Element(*s, Linie, -5, 2, 5, 2);
    Element(*s, Bogen, 5, 7, 3 * pi / 2, pi / 2, 5);
    Element(*s, Kreis, 0, 7, 0, 0, 2.5, RahmenFarbe);
    Element(*s, Entfernt, 1, 1, 2, 2);
    Box(*s, -5, 2, 15, 12);
    const std::string erwartet =
        CrLf({"#~1",     "1.03",     "1",       "07.12.2026", "0 0 0", "20 10 0", "0.0",   "0",
              "0.001",   "0",        "1",       "##~~",       "#~11",  "",        "",      "",
              "",        "*BELEGT*", "",        "0.0",        "",      "",        "",      "1",
              "0",       "0",        "0",       "0",          "0",     "0",       "0",     "0",
              "",        "##~~",     "#~END",   "#~3",        "",      "LASER",   "",      "0 0 1",
              "1 0 0 0", "0 1 0 0",  "0 0 1 0", "0 0 0 1",    "0 0 0", "20 10 0", "0 0 0", "0.0",
              "0",       "0",        "0",       "##~~",       "#~31",  "P",       "1",     "0 0 0",
              "|~",      "P",        "2",       "10 0 0",     "|~",    "P",       "3",     "10 5 0",
              "|~",      "P",        "4",       "10 10 0",    "|~",    "P",       "5",     "5 5 0",
              "|~",      "##~~",     "#~32",    "LIN",        "3 0",   "1 2",     "|~",    "ARC",
              "3 0",     "3 2 4",    "1",       "|~",         "CIR",   "1 0",     "5",     " 2.5 ",
              "|~",      "##~~",     "#~END",   "#~EOF"});
    EXPECT_EQ(Geo(*s), erwartet);
}

TEST(GeoAusgeben, RadiusZeileUndFarbenNachLocaleUndEinstellung) {
    struct Fall {
        const char* name;
        bool dezimalPunkt;
        std::uint8_t ausgabenfarbe;
        const char* kreis; // colour line, point line and radius line of the circle
        const char* linie; // colour line of the line
    };
    const Fall faelle[] = {
        {"Punkt, Ausgabenfarbe an", true, 1, "CIR\r\n1 0\r\n3\r\n 0.123456789 \r\n", "3 0"},
        {"Komma, Ausgabenfarbe an", false, 1, "CIR\r\n1 0\r\n3\r\n0.123456789\r\n", "3 0"},
        {"Punkt, Ausgabenfarbe aus", true, 0, "CIR\r\n1 0\r\n3\r\n 0.123456789 \r\n", "1 0"},
    };
    for (const Fall& f : faelle) {
        auto s = NeueSitzung();
        s->speicher.DezimalPunkt = f.dezimalPunkt;
        s->einstellungen.Ausgabenfarbe = f.ausgabenfarbe;
        Element(*s, Linie, 0, 0, 1, 1);
        Element(*s, Kreis, 1, 0, 0, 0, 0.1234567894, RahmenFarbe);
        Box(*s, 0, 0, 1, 1);
        const std::string geo = Geo(*s);
        EXPECT_NE(geo.find(f.kreis), std::string::npos) << f.name;
        EXPECT_NE(geo.find(std::string("LIN\r\n") + f.linie + "\r\n"), std::string::npos) << f.name;
    }
}

TEST(GeoAusgeben, NegativeEckeWirdNullpunkt) {
    auto s = NeueSitzung();
    Element(*s, Linie, -5, 2, -2.5, 4.75);
    Box(*s, -5, 2, -2.5, 4.75);
    const std::string geo = Geo(*s);
    EXPECT_NE(geo.find("#~31\r\nP\r\n1\r\n0 0 0\r\n|~\r\nP\r\n2\r\n2.5 2.75 0\r\n|~\r\n##~~"),
              std::string::npos);
    EXPECT_NE(geo.find("07.12.2026\r\n0 0 0\r\n2.5 2.75 0\r\n0.0\r\n"), std::string::npos);
}

// A store built to stress the point search: runs of connected lines and arcs, ends repeated
// many times, ends near (inside and just outside the tolerance) earlier ones, circles on end
// points, and coordinates on the edges of the search grid.
void ZufallsSpeicher(Sitzung& s, unsigned saat, int anzahl) {
    std::mt19937 zufall(saat);
    std::uniform_real_distribution<double> feld(-20, 20);
    std::uniform_int_distribution<int> wahl(0, 9);
    const double versatz[] = {0, 0.003, -0.0099, 0.0101, 0.009, 0.02, 1e-12};
    std::uniform_int_distribution<int> versatzWahl(0, 6);
    std::vector<std::pair<double, double>> frueher{{0, 0}};
    auto punkt = [&]() -> std::pair<double, double> {
        const int w = wahl(zufall);
        if (w < 5) {
            auto [x, y] =
                frueher[std::uniform_int_distribution<std::size_t>(0, frueher.size() - 1)(zufall)];
            return {x + versatz[versatzWahl(zufall)], y + versatz[versatzWahl(zufall)]};
        }
        if (w < 7) return {std::round(feld(zufall)) * 0.02, std::round(feld(zufall)) * 0.02};
        return {feld(zufall), feld(zufall)};
    };
    double lx = 0, ly = 0;
    for (int i = 0; i < anzahl; ++i) {
        const int art = wahl(zufall);
        auto [x, y] = punkt();
        if (art < 6) {
            Element(s, Linie, lx, ly, x, y);
            lx = x;
            ly = y;
        } else if (art < 9) {
            Element(s, Bogen, x, y, feld(zufall), feld(zufall), std::fabs(feld(zufall)) * 0.01);
        } else {
            Element(s, Kreis, lx, ly, 0, 0, 1);
        }
        if (wahl(zufall) < 3) {
            lx = x;
            ly = y;
        }
        frueher.emplace_back(x, y);
        frueher.emplace_back(lx, ly);
    }
}

TEST(PunktSuchen, IndexGibtDieSelbenPunkteWieDieWoertlicheSuche) {
    for (unsigned saat = 1; saat <= 12; ++saat) {
        for (std::int32_t maxKonturLaenge : {0, 1, 3, 40, 100000}) {
            auto s = NeueSitzung();
            s->text.MaxKonturLaenge = maxKonturLaenge;
            ZufallsSpeicher(*s, saat, 3000);
            const GeoTabellen index = GeoAufbauen(*s, Punktsuche::Index);
            const GeoTabellen linear = GeoAufbauen(*s, Punktsuche::Linear);
            const std::string fall = "Saat " + std::to_string(saat) + ", MaxKonturLaenge " +
                                     std::to_string(maxKonturLaenge);
            ASSERT_EQ(index.punkte.AnzGeoPunkte(), linear.punkte.AnzGeoPunkte()) << fall;
            ASSERT_EQ(index.nummern, linear.nummern) << fall;
            // The store really shares points: fewer points than element ends.
            if (maxKonturLaenge >= 3) {
                EXPECT_LT(index.punkte.AnzGeoPunkte(), 2 * s->speicher.ElementAnzahl()) << fall;
            }
        }
    }
}

TEST(PunktSuchen, NichtEndlicheKoordinatenBekommenEigenePunkte) {
    GeoPunktTabelle p(100);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(p.PunktSuchen(nan, 0, true), 1);
    EXPECT_EQ(p.PunktSuchen(nan, 0, true), 2);
    EXPECT_EQ(p.PunktSuchen(inf, 0, true), 3);
    EXPECT_EQ(p.PunktSuchen(inf, 0, true), 4);
    EXPECT_EQ(p.PunktSuchen(1e300, -1e300, true), 5);
    EXPECT_EQ(p.PunktSuchen(1e300, -1e300, true), 5);
}

} // namespace
} // namespace konturo::test
