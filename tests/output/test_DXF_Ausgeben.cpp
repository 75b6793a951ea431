// DXF writer: exact bytes in a point and a comma locale, limits, colours, marker circles and their
// colour number, and the file step's failure reports.
#include "AusgabeHilfe.h"
#include "LocaleHilfe.h"
#include "TestHilfe.h"
#include "geometry/AllgLesen.h"
#include "output/Ausgabe.h"
#include "output/DXF_Ausgeben.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

namespace konturo::test {
namespace {

std::string Dxf(Sitzung& s) {
    std::ostringstream aus;
    DxfSchreiben(s, aus);
    return aus.str();
}

// Groups 11 to 39: the fixed tables and the empty block section.
std::string Tabellen() {
    return CrLf({" 0 ",  "ENDSEC",  " 0 ",  "SECTION",    " 2 ",  "TABLES", " 0 ",  "TABLE",
                 " 2 ",  "LTYPE",   " 70 ", " 4 ",        " 0 ",  "LTYPE",  " 2 ",  "CONTINUOUS",
                 " 70 ", " 0 ",     " 3 ",  "SOLID LINE", " 72 ", " 65 ",   " 73 ", " 0 ",
                 " 40 ", " 0 ",     " 0 ",  "ENDTAB",     " 0 ",  "TABLE",  " 2 ",  "LAYER",
                 " 70 ", " 1 ",     " 0 ",  "LAYER",      " 2 ",  "WHITE",  " 70 ", " 0 ",
                 " 62 ", " 7 ",     " 6 ",  "CONTINUOUS", " 0 ",  "ENDTAB", " 0 ",  "ENDSEC",
                 " 0 ",  "SECTION", " 2 ",  "BLOCKS",     " 0 ",  "ENDSEC", " 0 ",  "SECTION",
                 " 2 ",  "ENTITIES"});
}

std::string Kopf(std::string_view xmin, std::string_view ymin, std::string_view xmax,
                 std::string_view ymax) {
    return CrLf({" 0 ",    "SECTION", " 2 ",     "HEADER", " 9 ",  "$ACADVER", " 1 ",
                 "AC1009", " 9 ",     "$LIMMIN", " 10 ",   xmin,   " 20 ",     ymin,
                 " 9 ",    "$LIMMAX", " 10 ",    xmax,     " 20 ", ymax}) +
           Tabellen();
}

const std::string Schluss = CrLf({" 0 ", "ENDSEC", " 0 ", "EOF"});

// Line, frame arc through angle 0, a removed element, a short red circle, a short red line and a
// short red arc; box 20 wide, so the margin is 1 and a marker has radius 0.1.
void GemischterSpeicher(Sitzung& s) {
    const double pi = Pi();
    Element(s, Linie, 0, 0, 10, 0.5);
    Element(s, Bogen, 5, 5, 3 * pi / 2, pi / 2, 2.5, RahmenFarbe);
    Element(s, Entfernt, 7, 7, 8, 8);
    Element(s, Kreis, 1, 1, 0, 0, 0.5, RGB(255, 0, 0));
    Element(s, Linie, -1.5, 2, -1.25, 2, 0, RGB(255, 0, 0));
    Element(s, Bogen, 0, 0, pi / 2, pi, 1, RGB(255, 0, 0));
    Box(s, -2, -1, 18, 9);
    s.einstellungen.Ausgabenfarbe = 1;
    s.einstellungen.WarnAusgabe = 1;
}

TEST(DxfSchreiben, GemischterSpeicherPunktLocaleBytegenau) {
    auto s = NeueSitzung();
    GemischterSpeicher(*s);
    s->speicher.DezimalPunkt = true;
    const std::string erwartet =
        Kopf("-3 ", "-2 ", " 19 ", " 10 ") +
        CrLf({" 0 ", "LINE", " 8 ", "WHITE", " 10 ", " 0 ", " 20 ", " 0 ", " 30 ", " 0 ", " 11 ",
              " 10 ", " 21 ", " 0.5 ", " 31 ", " 0 ", " 62 ", "2",
              // frame arc: white whatever Ausgabenfarbe says
              " 0 ", "ARC", " 8 ", "WHITE", " 10 ", " 5 ", " 20 ", " 5 ", " 30 ", " 0 ", " 40 ",
              " 2.5 ", " 50 ", " 270 ", " 51 ", " 90 ", " 62 ", "7",
              // red circle, marker at its centre
              " 0 ", "CIRCLE", " 8 ", "WHITE", " 10 ", " 1 ", " 20 ", " 1 ", " 30 ", " 0 ", " 40 ",
              " 0.5 ", " 62 ", "2", " 0 ", "CIRCLE", " 8 ", "WHITE", " 10 ", " 1 ", " 20 ", " 1 ",
              " 30 ", " 0 ", " 40 ", " 0.1 ", " 62 ", "2",
              // red line, marker at its start point
              " 0 ", "LINE", " 8 ", "WHITE", " 10 ", "-1.5 ", " 20 ", " 2 ", " 30 ", " 0 ", " 11 ",
              "-1.25 ", " 21 ", " 2 ", " 31 ", " 0 ", " 62 ", "2", " 0 ", "CIRCLE", " 8 ", "WHITE",
              " 10 ", "-1.5 ", " 20 ", " 2 ", " 30 ", " 0 ", " 40 ", " 0.1 ", " 62 ", "2",
              // red arc, marker at its start point (0, 1)
              " 0 ", "ARC", " 8 ", "WHITE", " 10 ", " 0 ", " 20 ", " 0 ", " 30 ", " 0 ", " 40 ",
              " 1 ", " 50 ", " 90 ", " 51 ", " 180 ", " 62 ", "2", " 0 ", "CIRCLE", " 8 ", "WHITE",
              " 10 ", " 0 ", " 20 ", " 1 ", " 30 ", " 0 ", " 40 ", " 0.1 ", " 62 ", "2"}) +
        Schluss;
    EXPECT_EQ(Dxf(*s), erwartet);
}

TEST(DxfSchreiben, KommaLocaleOhneAuffuellenUndMitPunkt) {
    DeutschesLocale locale;
    auto s = NeueSitzung();
    if (locale.Aktiv()) {
        // The C library now formats 1.3 as "1,3": the writer learns a comma locale from it.
        s->speicher.DezimalPunkt = DezimalPunktErmitteln();
        ASSERT_FALSE(s->speicher.DezimalPunkt);
    } else {
        s->speicher.DezimalPunkt = false;
    }
    Element(*s, Linie, 0, -3.25, 12.5, 0);
    Element(*s, Kreis, 2, 2, 0, 0, 0.75, RGB(255, 0, 0));
    Box(*s, 0, -3.25, 12.5, 2.75);
    s->einstellungen.WarnAusgabe = 0;
    s->einstellungen.Ausgabenfarbe = 0;
    const std::string erwartet =
        Kopf("-0.625", "-3.875", "13.125", "3.375") +
        CrLf({" 0 ",  "LINE", " 8 ",  "WHITE",  " 10 ", "0",     " 20 ", "-3.25",
              " 30 ", " 0 ",  " 11 ", "12.5",   " 21 ", "0",     " 31 ", " 0 ",
              " 62 ", "7",    " 0 ",  "CIRCLE", " 8 ",  "WHITE", " 10 ", "2",
              " 20 ", "2",    " 30 ", " 0 ",    " 40 ", "0.75",  " 62 ", "7"}) +
        Schluss;
    EXPECT_EQ(Dxf(*s), erwartet);
}

// The $LIMMIN and $LIMMAX values as written: x min, y min, x max, y max.
using Grenzen = std::array<std::string, 4>;

Grenzen GrenzenLesen(const std::string& dxf) {
    auto wert = [&](std::string_view marke, std::string_view code) {
        std::size_t p = dxf.find(marke);
        p = dxf.find(code, p) + code.size();
        return dxf.substr(p, dxf.find("\r\n", p) - p);
    };
    return {wert("$LIMMIN", " 10 \r\n"), wert("$LIMMIN", " 20 \r\n"), wert("$LIMMAX", " 10 \r\n"),
            wert("$LIMMAX", " 20 \r\n")};
}

TEST(DxfSchreiben, RandAusDerBreiteFuerBeideAchsen) {
    struct Fall {
        const char* name;
        double xmin, ymin, xmax, ymax;
        Grenzen erwartet;
    };
    const Fall faelle[] = {
        {"100 breit, 10 hoch: Rand 5", 0, 0, 100, 10, {{"-5 ", "-5 ", " 105 ", " 15 "}}},
        {"Breite 0: Grenzen gleich der Box", 3, 1, 3, 40, {{" 3 ", " 1 ", " 3 ", " 40 "}}},
        {"negative Ecke", -20, -10, 0, 50, {{"-21 ", "-11 ", " 1 ", " 51 "}}},
    };
    for (const Fall& f : faelle) {
        auto s = NeueSitzung();
        s->speicher.DezimalPunkt = true;
        Element(*s, Linie, f.xmin, f.ymin, f.xmax, f.ymax);
        Box(*s, f.xmin, f.ymin, f.xmax, f.ymax);
        EXPECT_EQ(GrenzenLesen(Dxf(*s)), f.erwartet) << f.name;
    }
}

TEST(DxfSchreiben, MarkenUndFarbenNachEinstellung) {
    struct Fall {
        const char* name;
        std::uint8_t warnAusgabe, ausgabenfarbe;
        std::int32_t farbe;
        int kreise;           // CIRCLE entities in the file
        const char* farbwert; // group 62 of the line
    };
    const Fall faelle[] = {
        {"rot, Marken an", 1, 0, RGB(255, 0, 0), 1, "7"},
        {"rot, Marken aus", 0, 0, RGB(255, 0, 0), 0, "7"},
        {"andere Warnfarbe bekommt keine Marke", 1, 0, RGB(255, 0, 1), 0, "7"},
        {"Ausgabenfarbe: Buchstabe gelb", 0, 1, 0, 0, "2"},
        {"Ausgabenfarbe: Rahmen weiss", 0, 1, RahmenFarbe, 0, "7"},
        {"ohne Ausgabenfarbe: Rahmen weiss", 0, 0, RahmenFarbe, 0, "7"},
    };
    for (const Fall& f : faelle) {
        auto s = NeueSitzung();
        Element(*s, Linie, 0, 0, 0.1, 0, 0, f.farbe);
        Box(*s, 0, 0, 0.1, 0);
        s->einstellungen.WarnAusgabe = f.warnAusgabe;
        s->einstellungen.Ausgabenfarbe = f.ausgabenfarbe;
        const std::string dxf = Dxf(*s);
        int kreise = 0;
        for (std::size_t p = dxf.find("CIRCLE"); p != std::string::npos;
             p = dxf.find("CIRCLE", p + 1))
            ++kreise;
        EXPECT_EQ(kreise, f.kreise) << f.name;
        const std::size_t linie = dxf.find("\r\nLINE\r\n");
        const std::size_t farbe = dxf.find(" 62 \r\n", linie) + 6;
        EXPECT_EQ(dxf.substr(farbe, dxf.find("\r\n", farbe) - farbe), f.farbwert) << f.name;
    }
}

TEST(DxfFarbNummer, NaechsteStandardfarbe) {
    struct Fall {
        const char* name;
        std::int32_t rgb;
        int nummer;
    };
    const Fall faelle[] = {
        {"Standard der DXF-Markierungen", RGB(255, 255, 124), 2},
        {"rot", RGB(255, 0, 0), 1},
        {"gelb", RGB(255, 255, 0), 2},
        {"gruen", RGB(0, 255, 0), 3},
        {"cyan", RGB(0, 255, 255), 4},
        {"blau", RGB(0, 0, 255), 5},
        {"magenta", RGB(255, 0, 255), 6},
        {"weiss", RGB(255, 255, 255), 7},
        {"hellgrau", RGB(200, 200, 200), 7},
        {"dunkelblau", RGB(0, 0, 120), 5},
        {"schwarz: rot, gruen und blau gleich nah, die kleinste Nummer", RGB(0, 0, 0), 1},
    };
    for (const Fall& f : faelle) EXPECT_EQ(DxfFarbNummer(f.rgb), f.nummer) << f.name;
}

TEST(DxfSchreiben, MarkeInDerFarbeDerDxfMarkierungen) {
    struct Fall {
        std::int32_t dxfWarnFarbe;
        const char* farbwert;
    };
    for (const Fall f : {Fall{RGB(255, 255, 124), "2"}, Fall{RGB(20, 40, 230), "5"}}) {
        auto s = NeueSitzung();
        Element(*s, Linie, 0, 0, 0.1, 0, 0, RGB(255, 0, 0));
        Box(*s, 0, 0, 0.1, 0);
        s->einstellungen.WarnAusgabe = 1;
        s->einstellungen.DXFWarnFarbe = f.dxfWarnFarbe;
        const std::string dxf = Dxf(*s);
        // Value of the first colour group after the entity that starts at entitaet.
        auto farbwert = [&dxf](std::size_t entitaet) {
            const std::size_t p = dxf.find(" 62 \r\n", entitaet) + 6;
            return dxf.substr(p, dxf.find("\r\n", p) - p);
        };
        // The line keeps its own colour; only the marker circle after it follows the setting.
        const std::size_t linie = dxf.find("\r\nLINE\r\n");
        const std::size_t kreis = dxf.find("\r\nCIRCLE\r\n", linie);
        ASSERT_NE(kreis, std::string::npos);
        EXPECT_EQ(farbwert(linie), "7");
        EXPECT_EQ(farbwert(kreis), f.farbwert);
    }
}

TEST(DxfSchreiben, FortschrittUndSanduhr) {
    auto s = NeueSitzung();
    for (int i = 0; i < 45; ++i) Element(*s, Linie, i, 0, i + 1, 0);
    Box(*s, 0, 0, 45, 0);
    std::vector<std::int32_t> werte;
    struct Aufzeichner : UiDiensteKopflos {
        std::vector<std::int32_t>* werte;
        void FortschrittWert(std::int32_t w) override {
            werte->push_back(w);
            UiDiensteKopflos::FortschrittWert(w);
        }
    } ui;
    ui.werte = &werte;
    s->ui = &ui;
    Dxf(*s);
    EXPECT_EQ(ui.fortschrittMaximum, 45);
    EXPECT_EQ(werte, (std::vector<std::int32_t>{0, 20, 40, 0}));
    ASSERT_EQ(ui.aufrufe.size(), 2u);
    EXPECT_EQ(ui.aufrufe[0].art, "Sanduhr");
    EXPECT_EQ(ui.aufrufe[0].wert, 1);
    EXPECT_EQ(ui.aufrufe[1].wert, 0);
}

TEST(DxfSchreiben, VollerDatentraegerHaeltAnUndBehaeltDenAnfang) {
    auto s = NeueSitzung();
    for (int i = 0; i < 200000; ++i) Element(*s, Linie, i * 0.001, 1.5, i * 0.001 + 0.5, 2.5);
    Box(*s, 0, 1.5, 200.5, 2.5);
    const std::string ganz = Dxf(*s);
    VollerPuffer voll(1000000);
    std::ostream aus(&voll);
    DxfSchreiben(*s, aus);
    EXPECT_TRUE(aus.bad());
    EXPECT_EQ(voll.angenommen, ganz.substr(0, voll.angenommen.size()));
    // The run stopped at the refused block instead of formatting the rest of the store.
    EXPECT_LT(s->speicher.AktElement, s->speicher.ElementAnzahl());
}

} // namespace
} // namespace konturo::test
