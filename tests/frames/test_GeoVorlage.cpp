// Reading ToPs GEO/VLG frame templates: point table, record variants, colours, directions, line
// ends and files that end early.
#include "RahmenHilfe.h"

#include "frames/Vorlagen.h"
#include "output/GEO_Ausgeben.h"

#include <gtest/gtest.h>

#include <cmath>

#include <sstream>
#include <string>
#include <vector>

namespace konturo {
namespace {

using test::NeueSitzung;

constexpr double Genau = 1e-9;

// A template file: a first line, the point section with the given points, then the element
// lines, joined by the line end.
std::string GeoText(const std::vector<std::pair<double, double>>& punkte,
                    const std::vector<std::string>& elemente, const std::string& ende = "\r\n") {
    std::string t = "#~1" + ende + "1.03" + ende + "#~31" + ende;
    int nr = 1;
    for (auto [x, y] : punkte) {
        std::ostringstream koord;
        koord << x << ' ' << y << " 0";
        t += "P" + ende + std::to_string(nr++) + ende + koord.str() + ende + "|~" + ende;
    }
    t += "##~~" + ende + "#~32" + ende;
    for (const auto& z : elemente) t += z + ende;
    return t;
}

void Lesen(Sitzung& s, const std::string& text) {
    std::istringstream ein(text);
    GeoVorlageLesen(s, ein);
}

const std::vector<std::pair<double, double>> Viertel = {{0, 0}, {10, 0}, {0, 10}};

TEST(GeoVorlageLesen, BogenrichtungAusDerRichtungszeile) {
    struct Fall {
        const char* name;
        std::string richtung;
        double start, ende;
    };
    const double pi = Pi();
    const Fall faelle[] = {
        {"Richtung 1: Viertelbogen", "1", 0, pi / 2},
        {"Richtung -1: Dreiviertelbogen", "-1", pi / 2, 0},
        {"Richtung 0", "0", pi / 2, 0},
        {"Richtung mit Blank ist nicht genau 1", " 1", pi / 2, 0},
    };
    for (const Fall& f : faelle) {
        auto s = NeueSitzung();
        Lesen(*s, GeoText(Viertel, {"ARC", "1 0", "1 2 3", f.richtung, "|~", "#~EOF"}));
        ASSERT_EQ(s->speicher.VorlageElemente.Anzahl(), 1) << f.name;
        const GeoElement& e = s->speicher.VorlageElemente[1];
        EXPECT_EQ(e.Typ, Bogen) << f.name;
        EXPECT_NEAR(e.X2, f.start, Genau) << f.name;
        EXPECT_NEAR(e.Y2, f.ende, Genau) << f.name;
        EXPECT_NEAR(e.Radius, 10, Genau) << f.name;
    }
}

TEST(GeoVorlageLesen, SatzartenUndFarben) {
    struct Fall {
        const char* name;
        std::vector<std::string> satz;
        std::uint8_t typ;
        std::int32_t farbe;
    };
    const Fall faelle[] = {
        {"LIN", {"LIN", "1 0", "2 3", "|~"}, Linie, RahmenFarbe},
        {"CHA als Linie", {"CHA", "1 0", "2 3", "|~"}, Linie, RahmenFarbe},
        {"lin klein", {"lin", "1 0", "2 3", "|~"}, Linie, RahmenFarbe},
        {"cha klein", {"Cha", "1 0", "2 3", "|~"}, Linie, RahmenFarbe},
        {"FIL als Bogen", {"FIL", "1 0", "1 2 3", "1", "|~"}, Bogen, RahmenFarbe},
        {"arc klein", {"arc", "1 0", "1 2 3", "1", "|~"}, Bogen, RahmenFarbe},
        {"cir klein", {"cir", "1 0", "1", "5", "|~"}, Kreis, RahmenFarbe},
        {"Farbcode 3", {"LIN", "3 0", "2 3", "|~"}, Linie, RGB(255, 0, 0)},
        {"Farbcode 3 beim Kreis", {"CIR", "3", "1", "5", "|~"}, Kreis, RGB(255, 0, 0)},
        {"Farbcode 2", {"LIN", "2 0", "2 3", "|~"}, Linie, RahmenFarbe},
        {"Farbcode 30", {"LIN", "30 0", "2 3", "|~"}, Linie, RahmenFarbe},
    };
    for (const Fall& f : faelle) {
        auto s = NeueSitzung();
        auto satz = f.satz;
        satz.push_back("#~EOF");
        Lesen(*s, GeoText(Viertel, satz));
        ASSERT_EQ(s->speicher.VorlageElemente.Anzahl(), 1) << f.name;
        const GeoElement& e = s->speicher.VorlageElemente[1];
        EXPECT_EQ(e.Typ, f.typ) << f.name;
        EXPECT_EQ(e.Farbe, f.farbe) << f.name;
        if (f.typ == Linie) {
            EXPECT_EQ(e.X1, 10) << f.name;
            EXPECT_EQ(e.Y2, 10) << f.name;
        }
        if (f.typ == Kreis) {
            EXPECT_EQ(e.Radius, 5) << f.name;
        }
    }
}

TEST(GeoVorlageLesen, PunktsaetzeMuessenGenauPSein) {
    auto s = NeueSitzung();
    // "p" ends the point section: the record after it is read as elements, so nothing of it
    // becomes a point.
    Lesen(*s, "x\r\n#~31\r\nP\r\n1\r\n1 2 0\r\n|~\r\np\r\n2\r\n3 4 0\r\n|~\r\n"
              "LIN\r\n1 0\r\n1 1\r\n|~\r\n#~EOF\r\n");
    EXPECT_EQ(s->speicher.VorlagePunkteX.size(), 2u);
    ASSERT_EQ(s->speicher.VorlageElemente.Anzahl(), 1);
    EXPECT_EQ(s->speicher.VorlageElemente[1].X1, 1);
    EXPECT_EQ(s->speicher.VorlageElemente[1].Y2, 2);
}

TEST(GeoVorlageLesen, PunktnummerAusserhalbDerTabelleUeberspringtDenSatz) {
    auto s = NeueSitzung();
    auto punkte = Viertel;
    punkte.push_back({12345, 0});
    std::string text = GeoText(punkte, {"LIN", "1 0", "1 5",   "|~",       // 5 is not in the table
                                        "LIN", "1 0", "0 2",   "|~",       // 0 neither
                                        "ARC", "1 0", "1 2 x", "1",  "|~", // not a number
                                        "CIR", "1 0", "1.5",   "2",  "|~", // not a whole number
                                        "LIN", "1 0", "1",     "|~",       // second number missing
                                        "LIN", "1 0", "1 4",   "|~",       // point 4 is not finite
                                        "LIN", "1 0", "2 3",   "|~", "#~EOF"});
    // Point 4 is too large for a double.
    text.replace(text.find("12345 0 0"), 9, "1e999 0 0");
    Lesen(*s, text);
    ASSERT_EQ(s->speicher.VorlageElemente.Anzahl(), 1);
    EXPECT_EQ(s->speicher.VorlageElemente[1].X1, 10);
}

TEST(GeoVorlageLesen, ZeilenendenCRLFundLFundCR) {
    for (const char* ende : {"\r\n", "\n", "\r"}) {
        auto s = NeueSitzung();
        Lesen(*s, GeoText(Viertel,
                          {"LIN", "1 0", "1 2", "|~", "CIR", "3 0", "1", " 2.5 ", "|~", "#~EOF"},
                          ende));
        ASSERT_EQ(s->speicher.VorlageElemente.Anzahl(), 2) << int(ende[0]) << int(ende[1]);
        EXPECT_EQ(s->speicher.VorlageElemente[2].Radius, 2.5);
        EXPECT_EQ(s->speicher.VorlagePunkteX.size(), 4u);
    }
}

TEST(GeoVorlageLesen, VorzeitigesEndeBehaeltDasGelesene) {
    struct Fall {
        const char* name;
        std::string text;
        std::int32_t elemente;
        std::size_t punkte;
    };
    const std::string voll = GeoText(Viertel, {"LIN", "1 0", "1 2", "|~", "ARC", "1 0", "1 2 3",
                                               "1", "|~", "CIR", "1 0", "1", "4", "|~"});
    const Fall faelle[] = {
        {"leere Datei", "", 0, 0},
        {"nur die erste Zeile", "#~31\r\n", 0, 0},
        {"ohne #~31", "#~1\r\nP\r\n1\r\n0 0 0\r\n|~\r\nLIN\r\n1 0\r\n1 1\r\n", 0, 0},
        {"endet in einem Punktsatz", "#~1\r\n#~31\r\nP\r\n1\r\n5 5 0\r\n|~\r\nP\r\n2\r\n", 0, 1},
        {"ohne #~EOF", voll, 3, 3},
        {"Linie ohne Punktzeile", voll + "LIN\r\n1 0\r\n", 3, 3},
        {"Bogen ohne Richtungszeile", voll + "ARC\r\n1 0\r\n1 2 3\r\n", 3, 3},
        {"Kreis ohne Radiuszeile", voll + "CIR\r\n1 0\r\n1\r\n", 3, 3},
        {"nach #~EOF wird nichts gelesen", voll + "#~EOF\r\nLIN\r\n1 0\r\n1 2\r\n|~\r\n", 3, 3},
    };
    for (const Fall& f : faelle) {
        auto s = NeueSitzung();
        Lesen(*s, f.text);
        EXPECT_EQ(s->speicher.VorlageElemente.Anzahl(), f.elemente) << f.name;
        EXPECT_EQ(s->speicher.VorlagePunkteX.size() - 1, f.punkte) << f.name;
        EXPECT_EQ(s->speicher.VorlagePunkteY.size(), s->speicher.VorlagePunkteX.size()) << f.name;
    }
}

TEST(GeoVorlageLesen, VorlagendateiMitPunktnummernInDateireihenfolge) {
    auto s = NeueSitzung();
    s->einstellungen.RVorlage = test::Testdaten("frames/daten/vorlage.vlg").string();
    GeoVorlageLesen(*s);
    const std::int32_t rot = RGB(255, 0, 0);
    test::VorlagePruefen(*s,
                         {{Linie, 0, 0, 200, 0, 0, RahmenFarbe},
                          {Linie, 200, 0, 200, 100, 0, rot},
                          {Linie, 200, 100, 0, 100, 0, RahmenFarbe},
                          {Linie, 0, 100, 0, 0, 0, RahmenFarbe},
                          {Bogen, 100, 50, 0, Pi() / 2, 20, rot},
                          {Kreis, 100, 50, 0, 0, 8.5, RahmenFarbe}},
                         "vorlage.vlg");
}

bool WinkelGleich(double a, double b) { return std::fabs(std::remainder(a - b, 2 * Pi())) < 1e-7; }

// A drawing written by the GEO writer reads back into the same lines, arcs and circles, shifted
// so that the lower-left corner of the drawing's box is at (0, 0); with Ausgabenfarbe on, the
// frame elements come back in the frame colour and all others in red.
TEST(GeoVorlageLesen, RundreiseDurchDenGeoSchreiber) {
    const double pi = Pi();
    const std::vector<GeoElement> elemente = {
        NeuesElement(Linie, -5, 2, 10, 2, 0, 0, 0),
        NeuesElement(Linie, 10, 2, 10, 8, 0, 0, 0),
        NeuesElement(Bogen, 0, 8, 0, pi / 2, 10, 0, 0),
        NeuesElement(Kreis, 3, 4, 0, 0, 1.5, 0, RGB(255, 0, 0)),
        NeuesElement(Bogen, 20, 20, 5.5, 0.5, 3, 0, 0),
        NeuesElement(Linie, -7, -1, 25, -1, 0, 0, RahmenFarbe),
        NeuesElement(Bogen, 30, 0, pi, 3 * pi / 2, 2.25, 0, RahmenFarbe),
    };
    for (std::uint8_t ausgabenfarbe : {0, 1}) {
        auto quelle = NeueSitzung();
        quelle->einstellungen.Ausgabenfarbe = ausgabenfarbe;
        quelle->text.MaxKonturLaenge = 10;
        for (const GeoElement& e : elemente) {
            quelle->speicher.Elemente.Anfuegen(e);
            if (e.Typ == Linie) {
                BoxErweitern(quelle->speicher, e.X1, e.Y1);
                BoxErweitern(quelle->speicher, e.X2, e.Y2);
            } else {
                BoxErweitern(quelle->speicher, e.X1 - e.Radius, e.Y1 - e.Radius);
                BoxErweitern(quelle->speicher, e.X1 + e.Radius, e.Y1 + e.Radius);
            }
        }
        const double dx = quelle->speicher.XMin, dy = quelle->speicher.YMin;
        std::ostringstream datei;
        GeoSchreiben(*quelle, datei);

        auto s = NeueSitzung();
        Lesen(*s, datei.str());
        const auto& v = s->speicher.VorlageElemente;
        ASSERT_EQ(v.Anzahl(), static_cast<std::int32_t>(elemente.size()));
        for (std::int32_t i = 1; i <= v.Anzahl(); ++i) {
            const GeoElement& w = elemente[static_cast<std::size_t>(i - 1)];
            const std::string fall =
                "Ausgabenfarbe " + std::to_string(ausgabenfarbe) + ", element " + std::to_string(i);
            EXPECT_EQ(v[i].Typ, w.Typ) << fall;
            EXPECT_NEAR(v[i].X1, w.X1 - dx, 1e-8) << fall;
            EXPECT_NEAR(v[i].Y1, w.Y1 - dy, 1e-8) << fall;
            EXPECT_NEAR(v[i].Radius, w.Radius, 1e-8) << fall;
            if (w.Typ == Linie) {
                EXPECT_NEAR(v[i].X2, w.X2 - dx, 1e-8) << fall;
                EXPECT_NEAR(v[i].Y2, w.Y2 - dy, 1e-8) << fall;
            } else if (w.Typ == Bogen) {
                EXPECT_TRUE(WinkelGleich(v[i].X2, w.X2)) << fall << ": " << v[i].X2;
                EXPECT_TRUE(WinkelGleich(v[i].Y2, w.Y2)) << fall << ": " << v[i].Y2;
            }
            const bool rot = ausgabenfarbe == 1 && w.Farbe != RahmenFarbe;
            EXPECT_EQ(v[i].Farbe, rot ? RGB(255, 0, 0) : RahmenFarbe) << fall;
        }
    }
}

} // namespace
} // namespace konturo
