// View math, arc polylines, the drawing loop and the caption of the renderer, over a recording
// drawing surface.
#include "TestHilfe.h"
#include "display/GrafikZeichnen.h"

#include <gtest/gtest.h>

#include <cmath>

namespace konturo {
namespace {

struct Strich {
    float x1, y1, x2, y2;
    std::int32_t farbe;
    int breite;
};

class Aufzeichner : public Zeichenflaeche {
public:
    void Loeschen(std::int32_t farbe) override { geloescht.push_back(farbe); }
    void Farbe(std::int32_t f) override { farbe = f; }
    void Breite(int b) override { breite = b; }
    void Linie(float x1, float y1, float x2, float y2) override {
        linien.push_back({x1, y1, x2, y2, farbe, breite});
        if (beiLinie) beiLinie(linien.size());
    }
    void Punkt(float x, float y) override { punkte.push_back({x, y, x, y, farbe, breite}); }
    void Kreis(float cx, float cy, float r) override {
        kreise.push_back({cx, cy, r, 0, farbe, breite});
    }
    void Beschriften(const std::string& t, const std::string& a) override {
        titel = t;
        anzahl = a;
    }

    std::vector<std::int32_t> geloescht;
    std::vector<Strich> linien, punkte, kreise;
    std::int32_t farbe = -1;
    int breite = 0;
    std::string titel, anzahl;
    std::function<void(std::size_t)> beiLinie;
};

GeoElement LinieVon(double x1, double y1, double x2, double y2, int kontur = 1) {
    return NeuesElement(Linie, x1, y1, x2, y2, 0, kontur);
}

GeoElement KreisUm(double cx, double cy, double r) { return NeuesElement(Kreis, cx, cy, 0, 0, r); }

GeoElement BogenUm(double cx, double cy, double r, double a1, double a2) {
    return NeuesElement(Bogen, cx, cy, a1, a2, r);
}

void Einfuegen(Sitzung& s, const GeoElement& e) {
    s.speicher.Elemente.Anfuegen(e);
    if (s.speicher.BoxNeu) {
        s.speicher.XMin = s.speicher.XMax = e.X1;
        s.speicher.YMin = s.speicher.YMax = e.Y1;
        s.speicher.BoxNeu = false;
    }
    BoxErweitern(s.speicher, e.X1, e.Y1);
    if (e.Typ == Linie) BoxErweitern(s.speicher, e.X2, e.Y2);
}

TEST(Bogenschritt, NachElementanzahl) {
    const struct {
        std::int32_t n;
        float schritt;
    } faelle[] = {{0, 0.01f},  {200, 0.01f}, {201, 0.05f}, {500, 0.05f},
                  {501, 0.1f}, {1000, 0.1f}, {1001, 0.5f}, {1000000, 0.5f}};
    for (const auto& f : faelle) {
        EXPECT_FLOAT_EQ(BogenschrittFuerAnzahl(f.n), f.schritt) << "n = " << f.n;
    }
}

TEST(Bogenschritt, GezoomtImmerFein) {
    auto s = test::NeueSitzung();
    for (int i = 0; i < 1500; ++i) Einfuegen(*s, LinieVon(i, 0, i + 1, 1));
    Aufzeichner f;
    ASSERT_TRUE(AnsichtSetzen(*s, f));
    EXPECT_FLOAT_EQ(s->fenster.Bogenschritt, 0.5f);
    s->fenster.Gezoomt = true;
    s->fenster.ZoomX1 = 10;
    s->fenster.ZoomY1 = 1;
    s->fenster.ZoomX2 = 20;
    s->fenster.ZoomY2 = 0;
    ASSERT_TRUE(AnsichtSetzen(*s, f));
    EXPECT_FLOAT_EQ(s->fenster.Bogenschritt, 0.01f);
}

TEST(GesamtAnsicht, HoheGeometrieFuelltDieHoehe) {
    float rand = 0;
    const Ansicht a = GesamtAnsicht(0, 10, 0, 100, 4.0 / 3.0, rand);
    EXPECT_FLOAT_EQ(rand, 5.0f);
    EXPECT_DOUBLE_EQ(a.Hoehe, -110.0);
    EXPECT_DOUBLE_EQ(a.Oben, 105.0);
    EXPECT_NEAR(a.Breite, 110.0 * 4.0 / 3.0, 1e-9);
    // Centred horizontally: equal space left of 0 and right of 10.
    EXPECT_NEAR(0 - a.Links, a.Links + a.Breite - 10, 1e-9);
}

TEST(GesamtAnsicht, BreiteGeometrieFuelltDieBreiteUndWirdSenkrechtZentriert) {
    float rand = 0;
    const Ansicht a = GesamtAnsicht(0, 120.5, 0, 33, 4.0 / 3.0, rand);
    EXPECT_NEAR(rand, 6.025, 1e-6);
    EXPECT_NEAR(a.Breite, 120.5 + 2 * 6.025f, 1e-6);
    EXPECT_NEAR(a.Links, -6.025, 1e-6);
    EXPECT_NEAR(a.Hoehe, -a.Breite * 3.0 / 4.0, 1e-9);
    EXPECT_NEAR(a.Oben - 33, 0 - (a.Oben + a.Hoehe), 1e-9);
}

TEST(GesamtAnsicht, EntarteteBoxGibtEineGesundeAnsicht) {
    const struct {
        const char* fall;
        double xMin, xMax, yMin, yMax;
    } faelle[] = {
        {"einzelner Punkt", 5, 5, 7, 7},
        {"waagerechte Linie", 0, 50, 3, 3},
        {"senkrechte Linie", 2, 2, -10, 40},
    };
    for (const auto& f : faelle) {
        float rand = 0;
        const Ansicht a = GesamtAnsicht(f.xMin, f.xMax, f.yMin, f.yMax, 1.5, rand);
        EXPECT_TRUE(std::isfinite(a.Links) && std::isfinite(a.Oben)) << f.fall;
        EXPECT_GT(a.Breite, 0) << f.fall;
        EXPECT_LT(a.Hoehe, 0) << f.fall;
        EXPECT_NEAR(a.Breite / -a.Hoehe, 1.5, 1e-9) << f.fall;
        // The geometry lies inside the view.
        EXPECT_LE(a.Links, f.xMin) << f.fall;
        EXPECT_GE(a.Links + a.Breite, f.xMax) << f.fall;
        EXPECT_GE(a.Oben, f.yMax) << f.fall;
        EXPECT_LE(a.Oben + a.Hoehe, f.yMin) << f.fall;
    }
}

TEST(Neuzeichnen, EinzelnerPunktOhneMeldungUndGezeichnet) {
    auto s = test::NeueSitzung();
    Einfuegen(*s, LinieVon(5, 7, 5, 7));
    Aufzeichner f;
    Neuzeichnen(*s, f);
    EXPECT_TRUE(s->kopflos.meldungen.empty());
    EXPECT_EQ(f.linien.size(), 1u);
    EXPECT_GT(f.AktuelleAnsicht().Breite, 0);
}

TEST(ZoomAnsicht, LinksObenUndProportionen) {
    const Ansicht a = ZoomAnsicht(30, 5, 10, 20, 2.0);
    EXPECT_DOUBLE_EQ(a.Links, 10);
    EXPECT_DOUBLE_EQ(a.Oben, 20);
    EXPECT_DOUBLE_EQ(a.Breite, 20);
    EXPECT_DOUBLE_EQ(a.Hoehe, -10);
}

TEST(ImZoomFenster, Referenzpunkte) {
    const Ansicht fenster{0, 10, 10, -10}; // x 0..10, y 0..10
    const struct {
        const char* fall;
        double x1, y1, x2, y2;
        bool gezeichnet;
    } faelle[] = {
        {"ganz innen", 2, 2, 8, 8, true},
        {"beide Enden links", -50, 5, -1, 6, false},
        {"quer durch", -50, 5, 50, 5, true},
        {"beide Enden oben", 5, 11, 6, 20, false},
        {"Ende genau auf dem Rand", 0, 5, 0, 6, false},
        {"Kreismitte aussen", 12, 5, 12, 5, false},
        {"Kreismitte innen", 5, 5, 5, 5, true},
    };
    for (const auto& f : faelle) {
        EXPECT_EQ(ImZoomFenster(fenster, f.x1, f.y1, f.x2, f.y2), f.gezeichnet) << f.fall;
    }
}

TEST(AllesZeichnen, GezoomtUeberspringtElementeAusserhalb) {
    auto s = test::NeueSitzung();
    s->einstellungen.Punkte = 0;
    Einfuegen(*s, LinieVon(-100, 5, -1, 5)); // both ends left of the window
    Einfuegen(*s, KreisUm(20, 5, 30));       // centre outside, rim crosses the window
    Einfuegen(*s, LinieVon(1, 1, 9, 9));     // inside
    Einfuegen(*s, BogenUm(30, 5, 5, Pi() / 2, 3 * Pi() / 2)); // both ends right of the window
    s->fenster.Gezoomt = true;
    s->fenster.Seitenverhaeltnis = 1.0;
    s->fenster.ZoomX1 = 0;
    s->fenster.ZoomY1 = 10;
    s->fenster.ZoomX2 = 10;
    s->fenster.ZoomY2 = 0;
    Aufzeichner f;
    Neuzeichnen(*s, f);
    ASSERT_EQ(f.linien.size(), 1u);
    EXPECT_FLOAT_EQ(f.linien[0].x1, 1);
    EXPECT_TRUE(f.kreise.empty());
}

TEST(BogenZeichnen, DurchWinkelNull) {
    auto s = test::NeueSitzung();
    s->einstellungen.Punkte = 1;
    s->fenster.Bogenschritt = 0.01f;
    const double a1 = 350 * Pi() / 180, a2 = 10 * Pi() / 180;
    Aufzeichner f;
    BogenZeichnen(*s, f, 0, 0, 10, a1, a2, RGB(0, 255, 0));
    // 20 degrees in steps of 0.01 rad: 35 segments.
    ASSERT_EQ(f.linien.size(), 35u);
    for (const Strich& l : f.linien) {
        EXPECT_GT(l.x1, 9.8f);
        EXPECT_EQ(l.farbe, RGB(0, 255, 0));
    }
    EXPECT_NEAR(f.linien.front().y1, 10 * std::sin(a1), 1e-4);
    EXPECT_NEAR(f.linien.back().y2, 10 * std::sin(a2), 1e-4);
    // Counter-clockwise: y grows from vertex to vertex.
    for (const Strich& l : f.linien) EXPECT_GT(l.y2, l.y1);
    // The two end points, 3 pixels wide.
    ASSERT_EQ(f.punkte.size(), 2u);
    EXPECT_EQ(f.punkte[0].breite, 3);
}

TEST(AllesZeichnen, KurzeElementeHervorgehoben) {
    for (int warn : {0, 1}) {
        auto s = test::NeueSitzung();
        s->einstellungen.WarnDarstellung = static_cast<std::uint8_t>(warn);
        s->einstellungen.LF = RGB(255, 255, 255);
        s->einstellungen.ElementWarnFarbe = RGB(255, 0, 0);
        s->fenster.KurzFarbe = RGB(255, 0, 0);
        s->einstellungen.Punkte = 0;
        GeoElement kurz = LinieVon(0, 0, 0.1, 0);
        kurz.Farbe = RGB(255, 0, 0);
        Einfuegen(*s, kurz);
        Einfuegen(*s, LinieVon(0, 0, 10, 10));
        Aufzeichner f;
        Neuzeichnen(*s, f);
        ASSERT_EQ(f.linien.size(), 2u);
        EXPECT_EQ(f.linien[0].farbe, warn ? RGB(255, 0, 0) : RGB(255, 255, 255)) << warn;
        EXPECT_EQ(f.linien[0].breite, warn ? 3 : 1) << warn;
        EXPECT_EQ(f.linien[1].farbe, RGB(255, 255, 255)) << warn;
        EXPECT_EQ(f.linien[1].breite, 1) << warn;
        EXPECT_EQ(s->einstellungen.LF, RGB(255, 255, 255)) << warn;
    }
}

TEST(AllesZeichnen, LeererSpeicherOhneBeschaeftigung) {
    auto s = test::NeueSitzung();
    Aufzeichner f;
    Neuzeichnen(*s, f);
    EXPECT_TRUE(s->kopflos.aufrufe.empty());
    EXPECT_EQ(f.titel, "Konturo - [] 10x10");
    EXPECT_EQ(f.anzahl, "0/0");
}

TEST(AllesZeichnen, AbbruchZeichnetNochDasLetzteElement) {
    auto s = test::NeueSitzung();
    s->einstellungen.Punkte = 0;
    for (int i = 1; i <= 100; ++i) Einfuegen(*s, LinieVon(i, 0, i, 10));
    Aufzeichner f;
    f.beiLinie = [&](std::size_t n) {
        if (n == 5) s->fenster.AbbruchWunsch = true;
    };
    Neuzeichnen(*s, f);
    ASSERT_EQ(f.linien.size(), 6u);
    EXPECT_FLOAT_EQ(f.linien.back().x1, 100);
    EXPECT_FALSE(s->fenster.AbbruchWunsch);
    EXPECT_FALSE(s->kopflos.beschaeftigt);
    EXPECT_EQ(s->kopflos.fortschrittWert, 0);
}

TEST(AllesZeichnen, FortschrittAlle20Elemente) {
    auto s = test::NeueSitzung();
    s->einstellungen.Punkte = 0;
    for (int i = 1; i <= 65; ++i) Einfuegen(*s, LinieVon(i, 0, i, 10));
    Aufzeichner f;
    Neuzeichnen(*s, f);
    EXPECT_EQ(s->kopflos.fortschrittMaximum, 65);
    EXPECT_EQ(s->kopflos.aufrufe.front().art, "BeschaeftigtSetzen");
    EXPECT_EQ(s->kopflos.aufrufe.back().art, "BereitSetzen");
}

TEST(AllesZeichnen, NichtEndlicheKoordinateMeldet129) {
    auto s = test::NeueSitzung();
    Einfuegen(*s, LinieVon(0, 0, 1, 1));
    s->speicher.Elemente.Anfuegen(LinieVon(0, 0, std::nan(""), 1));
    Aufzeichner f;
    AllesZeichnen(*s, f);
    EXPECT_EQ(s->kopflos.meldungen, std::vector<int>{129});
    EXPECT_FALSE(s->kopflos.beschaeftigt);
}

TEST(Beschriftung, TitelUndAnzahl) {
    auto s = test::NeueSitzung();
    s->fenster.AktDatei = "/daten/logo.eps";
    s->speicher.XMin = 0;
    s->speicher.XMax = 120.5;
    s->speicher.YMin = 0;
    s->speicher.YMax = 33;
    s->speicher.DezimalPunkt = false;
    EXPECT_EQ(FensterTitel(*s), "Konturo - [logo] 120,5x33");
    s->speicher.DezimalPunkt = true;
    s->fenster.AktDatei = "C:\\Daten\\Logo.alt.eps";
    s->speicher.XMax = 10.04;
    EXPECT_EQ(FensterTitel(*s), "Konturo - [Logo.alt] 10x33");
    Einfuegen(*s, LinieVon(0, 0, 1, 1, 3));
    Einfuegen(*s, LinieVon(0, 0, 1, 1, 7));
    EXPECT_EQ(AnzahlText(s->speicher), "2/7");
}

TEST(Beschriftung, Zeigerposition) {
    const struct {
        double wert;
        bool punkt;
        const char* text;
    } faelle[] = {{12.3456, true, "12.34"},
                  {-12.3456, true, "-12.34"},
                  {12.3456, false, "12,34"},
                  {5.0, true, "5"},
                  {0.105, false, "0,1"}};
    for (const auto& f : faelle) {
        EXPECT_EQ(ZeigerText(AufZweiStellenGekappt(f.wert), f.punkt), f.text) << f.wert;
    }
}

} // namespace
} // namespace konturo
