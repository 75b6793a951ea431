// Text layout: pen advance by widths and tracking, tabs, line breaks with the next line's height,
// the reference ascent, the file name rule, busy state and abort, mirroring, umlauts, and the
// duplicate removal against its quadratic definition.
#include "TestHilfe.h"

#include "text/FontAuslesen.h"
#include "text/FontErzeugen.h"
#include "text/GlyphGeraetFreetype.h"
#include "text/Textquelle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>

namespace konturo {
namespace {

// Real outlines of Liberation Sans with widths and metrics chosen by the test, so pen positions
// can be predicted exactly.
class MessGeraet : public GlyphGeraet {
public:
    bool SchriftWaehlen(const std::string&, double groesse, bool fett, bool kursiv) override {
        groesse_ = groesse;
        return echt_.SchriftWaehlen("Liberation Sans", groesse, fett, kursiv);
    }
    AbcBreiten Breiten(char32_t z) override {
        const auto it = breiten.find(z);
        return it != breiten.end() ? it->second : AbcBreiten{10, 20, 5};
    }
    // Ascent = the requested size, height = 1.5 times it.
    Textmetrik Metrik() override { return {groesse_, 1.5 * groesse_}; }
    void* Handle() override { return echt_.Handle(); }

    std::map<char32_t, AbcBreiten> breiten{{U' ', {0, 0, 50}}};

private:
    GlyphGeraetFreetype echt_;
    double groesse_ = 0;
};

// Liberation Sans 24 pt through the measuring device; the Freetype tests use the real one.
class Layout : public ::testing::Test {
protected:
    void SetUp() override {
        Neu();
        format.Schriftart = "Liberation Sans";
        format.Groesse = 24;
    }
    void Neu() {
        s = test::NeueSitzung();
        if (mitMessGeraet) s->glyphGeraet = &geraet;
    }
    void Umwandeln(const std::string& text) {
        quelle = TextquelleKlartext(text, format);
        s->textquelle = &quelle;
        TextUmwandeln(*s);
    }
    // Smallest x and y and largest y of the lines of one contour (contour numbers count from 1
    // per text).
    struct Rahmen {
        double x = 1e300, y = 1e300, oben = -1e300;
    };
    Rahmen Ecke(std::int32_t kontur) const {
        Rahmen r;
        for (std::int32_t i = 1; i <= s->speicher.ElementAnzahl(); ++i) {
            const GeoElement& e = s->speicher.Elemente[i];
            if (e.KonturNr != kontur || e.Typ != Linie) continue;
            r.x = std::min({r.x, e.X1, e.X2});
            r.y = std::min({r.y, e.Y1, e.Y2});
            r.oben = std::max({r.oben, e.Y1, e.Y2});
        }
        return r;
    }
    bool mitMessGeraet = true;
    std::unique_ptr<Sitzung> s;
    MessGeraet geraet;
    Zeichenformat format;
    TextquelleKlartext quelle;
};

TEST_F(Layout, SpacesTabsAndTrackingMoveThePen) {
    struct Fall {
        const char* name;
        const char* text;
        double laufweite;
        // Expected pen advance before the second "l", in device units, without tracking, and
        // the number of tracked characters before it.
        double vorschub;
        int verfolgt;
    } faelle[] = {
        {"space", "l l", 0, 35 + 50, 2},        {"space with tracking", "l l", 3, 35 + 50, 2},
        {"tab", "l\tl", 0, 35 + 300, 1},        {"tab gets no tracking", "l\tl", 3, 35 + 300, 1},
        {"two spaces", "l  l", 2, 35 + 100, 3},
    };
    for (const Fall& f : faelle) {
        Neu();
        s->text.Laufweite = f.laufweite;
        Umwandeln(f.text);
        const double m = s->text.Massstab;
        EXPECT_DOUBLE_EQ(m, 100.0 / 240.0 / 0.75) << f.name;
        const double spur = f.laufweite * m * 10.0;
        const double erwartet = (f.vorschub + f.verfolgt * spur) * m;
        EXPECT_NEAR(Ecke(2).x - Ecke(1).x, erwartet, 1e-9) << f.name;
        EXPECT_NEAR(Ecke(2).y, Ecke(1).y, 1e-12) << f.name;
        EXPECT_NEAR(s->text.StiftX, f.vorschub + 35 + (f.verfolgt + 1) * spur, 1e-9) << f.name;
    }
}

TEST_F(Layout, LineBreaksUseTheNextLinesHeightAndZeilenabstand) {
    struct Fall {
        const char* name;
        const char* text;
        double zeilenabstand;
        double erwartetY; // device units of the second "l" below the first
    } faelle[] = {
        {"one break", "l\nl", 0, -360},
        {"two breaks: the empty line has height 0", "l\n\nl", 0, -360},
        {"two breaks with Zeilenabstand", "l\r\n\r\nl", 40, -360 + 80},
        {"positive Zeilenabstand raises the next line", "l\rl", 100, -260},
    };
    for (const Fall& f : faelle) {
        Neu();
        s->text.Zeilenabstand = f.zeilenabstand;
        Umwandeln(f.text);
        const double m = s->text.Massstab;
        EXPECT_NEAR(Ecke(2).y - Ecke(1).y, f.erwartetY * m, 1e-9) << f.name;
        EXPECT_NEAR(Ecke(2).x, Ecke(1).x, 1e-12) << f.name; // pen back at x = 0
    }
}

TEST_F(Layout, TheNextLinesTallestFontSetsTheLineHeightAndTheFirstCharacterTheScale) {
    quelle = TextquelleKlartext("l\n", format);
    Zeichenformat gross = format;
    gross.Groesse = 48;
    quelle.Anhaengen("l", format);
    quelle.Anhaengen("l", gross);
    s->textquelle = &quelle;
    TextUmwandeln(*s);
    const double m = s->text.Massstab;
    EXPECT_DOUBLE_EQ(s->text.Oberlaenge, 240); // fixed by the first character
    EXPECT_NEAR(Ecke(2).y - Ecke(1).y, -720 * m, 1e-9);

    // A larger first character makes every later character smaller in the output.
    auto hoeheVon = [&](std::int32_t kontur) { return Ecke(kontur).oben - Ecke(kontur).y; };
    quelle = TextquelleKlartext("l", format);
    quelle.Anhaengen("l", format);
    TextUmwandeln(*s);
    const double normal = hoeheVon(2);
    quelle = TextquelleKlartext("l", gross);
    quelle.Anhaengen("l", format);
    TextUmwandeln(*s);
    EXPECT_NEAR(hoeheVon(2), normal / 2, normal * 1e-3);
}

TEST_F(Layout, AktDateiIsTakenFromTheTextOnlyWhenEmpty) {
    struct Fall {
        const char* name;
        const char* vorher;
        const char* text;
        const char* erwartet;
    } faelle[] = {
        {"first eight characters", "", "Hallo Welt", "Hallo We.rtf"},
        {"line breaks removed", "", "Ha\nllo\nWelt", "HalloWel.rtf"},
        {"short text", "", "Ab", "Ab.rtf"},
        {"umlauts count as one character each", "",
         "\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f"
         "abcdef",
         "\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f"
         "abcd.rtf"},
        {"only line breaks", "", "\n\n", "Text1.rtf"},
        {"kept", "brief.rtf", "Hallo", "brief.rtf"},
    };
    for (const Fall& f : faelle) {
        s->fenster.AktDatei = f.vorher;
        Umwandeln(f.text);
        EXPECT_EQ(s->fenster.AktDatei, f.erwartet) << f.name;
    }
}

TEST_F(Layout, EmptyTextLeavesTheStoreUntouched) {
    Umwandeln("l");
    const std::int32_t vorher = s->speicher.ElementAnzahl();
    ASSERT_GT(vorher, 0);
    s->kopflos.aufrufe.clear();
    Umwandeln("");
    EXPECT_EQ(s->speicher.ElementAnzahl(), vorher);
    EXPECT_TRUE(s->kopflos.aufrufe.empty());
}

TEST_F(Layout, BusyStateAroundTheConversionThenRedrawAndMenus) {
    Umwandeln("ll");
    std::vector<std::string> arten;
    for (const auto& a : s->kopflos.aufrufe) arten.push_back(a.art);
    const std::vector<std::string> erwartet = {"BeschaeftigtSetzen", "AbbruchKnopf",
                                               "AbbruchKnopf",       "BereitSetzen",
                                               "Neuzeichnen",        "MenuesNachUmwandlung"};
    EXPECT_EQ(arten, erwartet);
    EXPECT_EQ(s->kopflos.aufrufe.back().wert, 1); // text mode
    EXPECT_TRUE(s->fenster.TextModus);
    EXPECT_EQ(s->kopflos.fortschrittMaximum, 2);
    EXPECT_TRUE(s->kopflos.meldungen.empty());
}

TEST_F(Layout, AnAbortRequestEndsTheConversionAfterTheCurrentCharacter) {
    // The user presses "Abbruch" once, while the first events are processed.
    struct Klick {
        Sitzung* s;
        int aufrufe = 0;
    } klick{s.get()};
    s->einstellungen.Unterbrechung = 1;
    s->kopflos.ereignisKontext = &klick;
    s->kopflos.beiEreignissen = [](void* k) {
        auto* klick = static_cast<Klick*>(k);
        if (klick->aufrufe++ == 0) klick->s->fenster.AbbruchWunsch = true;
    };
    Umwandeln(std::string(40, 'l'));
    // Events run at position 10; the request is seen at position 20, which is still converted.
    std::set<std::int32_t> konturen;
    for (std::int32_t i = 1; i <= s->speicher.ElementAnzahl(); ++i)
        konturen.insert(s->speicher.Elemente[i].KonturNr);
    EXPECT_EQ(konturen.size(), 21u);
    EXPECT_FALSE(s->fenster.AbbruchWunsch);
}

class Freetype : public Layout {
protected:
    Freetype() { mitMessGeraet = false; }
};

TEST_F(Freetype, UmlautsAndSharpSConvert) {
    struct Fall {
        const char* zeichen;
        std::size_t konturen; // at least
    } faelle[] = {{"\xc3\xa4", 4}, {"\xc3\xb6", 4}, {"\xc3\xbc", 3}, {"\xc3\x84", 4},
                  {"\xc3\x96", 4}, {"\xc3\x9c", 3}, {"\xc3\x9f", 1}, {"\xe2\x82\xac", 1}};
    for (const auto& f : faelle) {
        Umwandeln(f.zeichen);
        std::set<std::int32_t> konturen;
        for (std::int32_t i = 1; i <= s->speicher.ElementAnzahl(); ++i)
            if (s->speicher.Elemente[i].Typ != Entfernt)
                konturen.insert(s->speicher.Elemente[i].KonturNr);
        EXPECT_GE(konturen.size(), f.konturen) << f.zeichen;
        EXPECT_TRUE(s->kopflos.meldungen.empty()) << f.zeichen;
    }
}

TEST_F(Freetype, AFontThatIsNotInstalledIsNamedAndNothingIsConverted) {
    Umwandeln("l");
    const std::int32_t vorher = s->speicher.ElementAnzahl();
    format.Schriftart = "Keine Solche Schrift";
    Umwandeln("Hallo");
    EXPECT_EQ(s->speicher.ElementAnzahl(), vorher);
    EXPECT_EQ(s->kopflos.meldungen, std::vector<int>{89});
    EXPECT_NE(s->kopflos.aufrufe.back().text.find("Keine Solche Schrift"), std::string::npos);
}

TEST_F(Freetype, WithOneFontTheOutputSizeDoesNotDependOnThePointSize) {
    s->text.Schrifthoehe = 50;
    Umwandeln("Hallo");
    const Speicher klein = s->speicher;
    format.Groesse = 48;
    Umwandeln("Hallo");
    EXPECT_NEAR(s->speicher.XMax, klein.XMax, 0.02);
    EXPECT_NEAR(s->speicher.YMax, klein.YMax, 0.02);
    EXPECT_NEAR(s->speicher.YMin, klein.YMin, 0.02);
    // The ascent comes out at Schrifthoehe / 0.75.
    EXPECT_NEAR(s->text.Oberlaenge * s->text.Massstab, 50 / 0.75, 1e-9);
}

TEST_F(Freetype, MirroredOutputIsTheConversionMirroredAboutXMax) {
    Umwandeln("Hb");
    const Speicher gerade = s->speicher;
    s->einstellungen.GespiegelteAusgabe = 1;
    Umwandeln("Hb");
    const Speicher& sp = s->speicher;
    ASSERT_EQ(sp.ElementAnzahl(), gerade.ElementAnzahl());
    EXPECT_EQ(sp.XMax, gerade.XMax);
    EXPECT_EQ(sp.XMin, gerade.XMin);
    int boegen = 0;
    for (std::int32_t i = 1; i <= sp.ElementAnzahl(); ++i) {
        const GeoElement& a = gerade.Elemente[i];
        const GeoElement& b = sp.Elemente[i];
        ASSERT_EQ(a.Typ, b.Typ) << i;
        EXPECT_NEAR(b.X1, gerade.XMax - a.X1, 1e-9) << i;
        EXPECT_EQ(b.Y1, a.Y1) << i;
        if (a.Typ == Bogen) {
            ++boegen;
            EXPECT_NEAR(BogenStartX(b), gerade.XMax - BogenEndeX(a), 1e-9) << i;
            EXPECT_NEAR(BogenStartY(b), BogenEndeY(a), 1e-9) << i;
        }
    }
    EXPECT_GT(boegen, 0);
}

// Seeded random stores full of near-duplicates: the grid version must mark exactly the elements
// the literal quadratic loop marks.
TEST(DoppelteEntfernen, EqualsTheQuadraticDefinitionOnRandomStores) {
    for (unsigned saat = 1; saat <= 12; ++saat) {
        std::mt19937 zufall(saat);
        std::uniform_real_distribution<double> ort(-5, 5);
        std::uniform_real_distribution<double> zitter(-0.015, 0.015);
        std::uniform_int_distribution<int> wahl(0, 9);
        Speicher a;
        std::vector<GeoElement> basis;
        const int anzahl = 300 + static_cast<int>(saat) * 100;
        for (int i = 0; i < anzahl; ++i) {
            GeoElement e;
            const int w = wahl(zufall);
            if (!basis.empty() && w < 6) {
                // A copy of an earlier element, moved by up to 1.5 duplicate distances per field;
                // sometimes a line reversed, sometimes the kind changed.
                e = basis[std::uniform_int_distribution<std::size_t>(0, basis.size() - 1)(zufall)];
                e.X1 += zitter(zufall);
                e.Y1 += zitter(zufall);
                if (wahl(zufall) < 7) e.X2 += zitter(zufall);
                if (wahl(zufall) < 7) e.Y2 += zitter(zufall);
                if (wahl(zufall) < 7) e.Radius += zitter(zufall);
                if (e.Typ == Linie && wahl(zufall) == 0) {
                    std::swap(e.X1, e.X2);
                    std::swap(e.Y1, e.Y2);
                }
                if (wahl(zufall) == 0) e.Typ = static_cast<std::uint8_t>(Linie + wahl(zufall) % 3);
            } else {
                e.Typ = static_cast<std::uint8_t>(Linie + w % 3);
                e.X1 = ort(zufall);
                e.Y1 = ort(zufall);
                e.X2 = ort(zufall);
                e.Y2 = ort(zufall);
                e.Radius = std::fabs(ort(zufall));
                basis.push_back(e);
            }
            a.Elemente.Anfuegen(e);
        }
        Speicher b = a;
        DoppelteEntfernen(a);
        DoppelteEntfernenQuadratisch(b);
        int entfernt = 0;
        for (std::int32_t i = 1; i <= a.ElementAnzahl(); ++i) {
            ASSERT_EQ(a.Elemente[i].Typ, b.Elemente[i].Typ) << "seed " << saat << " element " << i;
            entfernt += a.Elemente[i].Typ == Entfernt;
        }
        EXPECT_EQ(a.ElementAnzahl(), anzahl) << "seed " << saat;
        EXPECT_GT(entfernt, anzahl / 10) << "seed " << saat; // the stores really had duplicates
    }
}

TEST(DoppelteEntfernen, LastOfAGroupSurvivesAndAReversedLineStays) {
    Speicher sp;
    auto linie = [&](double x1, double y1, double x2, double y2) {
        sp.Elemente.Anfuegen(NeuesElement(Linie, x1, y1, x2, y2));
    };
    linie(0, 0, 10, 0);
    linie(0.005, 0, 10, 0.009);
    linie(10, 0, 0, 0); // reversed: not a duplicate
    linie(0, 0, 10, 0.004);
    linie(0, 0, 10.02, 0); // 0.02 apart in one field: not a duplicate
    GeoElement k = NeuesElement(Kreis, 1e13, 0, 0, 0, 2); // outside the grid
    sp.Elemente.Anfuegen(k);
    k.Radius = 2.001;
    sp.Elemente.Anfuegen(k);
    DoppelteEntfernen(sp);
    std::vector<int> typen;
    for (std::int32_t i = 1; i <= sp.ElementAnzahl(); ++i) typen.push_back(sp.Elemente[i].Typ);
    EXPECT_EQ(typen, (std::vector<int>{0, 0, Linie, Linie, Linie, 0, Kreis}));
}

} // namespace
} // namespace konturo
