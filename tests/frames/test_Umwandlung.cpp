// The frame commands rebuild the geometry: the text conversion again after text, the graphic
// import again (without its parameters window) after a graphic.
#include "TestHilfe.h"

#include "app/Umwandlung.h"
#include "frames/Vorlagen.h"
#include "text/GlyphGeraetFreetype.h"
#include "text/Textquelle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace konturo {
namespace {

using test::NeueSitzung;

std::int32_t Rahmenelemente(const Sitzung& s) {
    std::int32_t n = 0;
    for (std::int32_t i = 1; i <= s.speicher.ElementAnzahl(); ++i)
        if (s.speicher.Elemente[i].Farbe == RahmenFarbe) ++n;
    return n;
}

bool ImportFensterGezeigt(const UiDiensteKopflos& ui) {
    return std::any_of(ui.aufrufe.begin(), ui.aufrufe.end(),
                       [](const auto& a) { return a.art == "ImportParameterZeigen"; });
}

TEST(Umwandlung, RahmenbefehleWiederholenDieTextumwandlung) {
    auto s = NeueSitzung();
    GlyphGeraetFreetype geraet;
    s->glyphGeraet = &geraet;
    Zeichenformat format;
    format.Schriftart = "Liberation Sans";
    format.Groesse = 24;
    TextquelleKlartext quelle("IO", format);
    s->textquelle = &quelle;
    s->fenster.TextModus = true;
    s->einstellungen.Rtyp = 0;
    s->einstellungen.RRad = 0;
    UmwandlungWiederholen(*s);
    const std::int32_t buchstaben = s->speicher.ElementAnzahl();
    ASSERT_GT(buchstaben, 0);
    ASSERT_EQ(Rahmenelemente(*s), 0);

    EXPECT_TRUE(RahmenEin(*s));
    EXPECT_EQ(s->einstellungen.Rtyp, 3);
    EXPECT_EQ(s->speicher.ElementAnzahl(), buchstaben + 8) << "four edges, four corner arcs";
    EXPECT_EQ(Rahmenelemente(*s), 8);

    EXPECT_TRUE(RahmenParameterUebernehmen(*s, RahmenOption::Fix));
    EXPECT_EQ(s->einstellungen.Rtyp, 2);
    EXPECT_EQ(Rahmenelemente(*s), 4);
    const GeoElement& unten = s->speicher.Elemente[buchstaben + 1];
    EXPECT_NEAR(unten.X2 - unten.X1, s->einstellungen.Rx, 1e-9);

    EXPECT_TRUE(RahmenAus(*s));
    EXPECT_EQ(s->einstellungen.Rtyp, 0);
    EXPECT_EQ(s->speicher.ElementAnzahl(), buchstaben);
    EXPECT_EQ(Rahmenelemente(*s), 0);
    EXPECT_FALSE(RahmenParameterUebernehmen(*s, RahmenOption::Automatisch))
        << "with the frame off the window's OK re-runs nothing";
}

TEST(Umwandlung, RahmenbefehleWiederholenDenGrafikimportOhneParameterfenster) {
    test::TempOrdner ordner;
    const auto eps = ordner / "quadrat.eps";
    test::DateiSchreiben(eps, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 72 72\n%%EndProlog\n"
                              "0 0 moveto\n72 0 lineto\n72 72 lineto\n0 72 lineto\n0 0 lineto\n");
    auto s = NeueSitzung();
    UiDiensteKopflos ui(true);
    s->ui = &ui;
    s->fenster.TextModus = false;
    s->fenster.AktDatei = eps.string();
    s->fenster.ParameterZeigen = true;
    s->einstellungen.Rtyp = 0;
    s->einstellungen.Roff = 10;
    s->einstellungen.RRad = 0;
    // A store left from an earlier import: the re-run replaces it.
    GeoElement alt;
    alt.Typ = Kreis;
    alt.Radius = 1000;
    s->speicher.Elemente.Anfuegen(alt);

    EXPECT_TRUE(RahmenEin(*s));
    EXPECT_FALSE(ImportFensterGezeigt(ui));
    EXPECT_TRUE(s->fenster.ParameterZeigen) << "the import sets the flag again afterwards";
    EXPECT_EQ(Rahmenelemente(*s), 8);
    ASSERT_GT(s->speicher.ElementAnzahl(), 8);
    for (std::int32_t i = 1; i <= s->speicher.ElementAnzahl(); ++i)
        EXPECT_NE(s->speicher.Elemente[i].Radius, 1000) << "element " << i;
    // The square of 72 points is 25.4 mm wide; the frame lies 10 mm around it.
    const GeoElement& unten = s->speicher.Elemente[s->speicher.ElementAnzahl() - 7];
    EXPECT_NEAR(unten.X2 - unten.X1, 45.4, 1e-6);

    ui.aufrufe.clear();
    EXPECT_TRUE(RahmenAus(*s));
    EXPECT_FALSE(ImportFensterGezeigt(ui));
    EXPECT_EQ(Rahmenelemente(*s), 0);
}

} // namespace
} // namespace konturo
