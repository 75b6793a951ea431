// The frame step: rectangles of the four generated types, template copies, the frame type choice
// and the frame menu commands.
#include "RahmenHilfe.h"

#include "frames/Vorlagen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace konturo {
namespace {

using test::NeueSitzung;

// Geometry whose bounding box runs from (x1, y1) to (x2, y2): one diagonal line.
void GeometrieSetzen(Sitzung& s, double x1, double y1, double x2, double y2) {
    GeoElement e = NeuesElement(Linie, x1, y1, x2, y2, 0, 1);
    s.speicher.Elemente.Anfuegen(e);
    BoxErweitern(s.speicher, x1, y1);
    BoxErweitern(s.speicher, x2, y2);
    s.text.KonturZaehler = 1;
}

using test::ElementPruefen;
using test::Erwartet;

// The frame elements appended after the one geometry element.
std::vector<GeoElement> Rahmen(const Sitzung& s) {
    std::vector<GeoElement> r;
    for (std::int32_t i = 2; i <= s.speicher.ElementAnzahl(); ++i)
        r.push_back(s.speicher.Elemente[i]);
    return r;
}

struct Ende {
    double x, y;
};
Ende Anfang(const GeoElement& e) {
    return e.Typ == Linie ? Ende{e.X1, e.Y1} : Ende{BogenStartX(e), BogenStartY(e)};
}
Ende Schluss(const GeoElement& e) {
    return e.Typ == Linie ? Ende{e.X2, e.Y2} : Ende{BogenEndeX(e), BogenEndeY(e)};
}

// Every element end meets exactly one element start: the frame is one closed contour.
void GeschlossenPruefen(const std::vector<GeoElement>& rahmen, const std::string& fall) {
    SCOPED_TRACE(fall);
    for (std::size_t i = 0; i < rahmen.size(); ++i) {
        int treffer = 0;
        for (const GeoElement& anderes : rahmen) {
            const Ende a = Schluss(rahmen[i]), b = Anfang(anderes);
            if (std::hypot(a.x - b.x, a.y - b.y) < 1e-9) ++treffer;
        }
        EXPECT_EQ(treffer, 1) << "element " << i + 1;
    }
}

TEST(RahmenAnfuegen, RechteckrahmenUmDieGeometrie) {
    const double pi = Pi();
    struct Fall {
        const char* name;
        std::uint8_t typ;
        double radius;
        double box[4]; // xMin, yMin, xMax, yMax
        std::vector<Erwartet> rahmen;
    };
    // Geometry (0, 0)-(100, 50), offset 10, fixed size 300 x 200.
    const Fall faelle[] = {
        {"Typ 1 automatisch",
         1,
         5,
         {-10, -10, 110, 60},
         {{Linie, -10, -10, 110, -10, 0},
          {Linie, 110, -10, 110, 60, 0},
          {Linie, 110, 60, -10, 60, 0},
          {Linie, -10, 60, -10, -10, 0}}},
        {"Typ 3 rund: Kanten um den Radius gekuerzt",
         3,
         5,
         {-10, -10, 110, 60},
         {{Linie, -5, -10, 105, -10, 0},
          {Linie, 110, -5, 110, 55, 0},
          {Linie, 105, 60, -5, 60, 0},
          {Linie, -10, 55, -10, -5, 0},
          {Bogen, 105, -5, 3 * pi / 2, 0, 5},
          {Bogen, 105, 55, 0, pi / 2, 5},
          {Bogen, -5, 55, pi / 2, pi, 5},
          {Bogen, -5, -5, pi, 3 * pi / 2, 5}}},
        {"Typ 3 mit Radius 0: volle Kanten, Boegen ohne Radius",
         3,
         0,
         {-10, -10, 110, 60},
         {{Linie, -10, -10, 110, -10, 0},
          {Linie, 110, -10, 110, 60, 0},
          {Linie, 110, 60, -10, 60, 0},
          {Linie, -10, 60, -10, -10, 0},
          {Bogen, 110, -10, 3 * pi / 2, 0, 0},
          {Bogen, 110, 60, 0, pi / 2, 0},
          {Bogen, -10, 60, pi / 2, pi, 0},
          {Bogen, -10, -10, pi, 3 * pi / 2, 0}}},
        {"Typ 2 fest, mittig ohne Abstand",
         2,
         10,
         {-100, -75, 200, 125},
         {{Linie, -100, -75, 200, -75, 0},
          {Linie, 200, -75, 200, 125, 0},
          {Linie, 200, 125, -100, 125, 0},
          {Linie, -100, 125, -100, -75, 0}}},
        {"Typ 4 fest rund",
         4,
         10,
         {-100, -75, 200, 125},
         {{Linie, -90, -75, 190, -75, 0},
          {Linie, 200, -65, 200, 115, 0},
          {Linie, 190, 125, -90, 125, 0},
          {Linie, -100, 115, -100, -65, 0},
          {Bogen, 190, -65, 3 * pi / 2, 0, 10},
          {Bogen, 190, 115, 0, pi / 2, 10},
          {Bogen, -90, 115, pi / 2, pi, 10},
          {Bogen, -90, -65, pi, 3 * pi / 2, 10}}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        auto s = NeueSitzung();
        GeometrieSetzen(*s, 0, 0, 100, 50);
        s->einstellungen.Rtyp = f.typ;
        s->einstellungen.Roff = 10;
        s->einstellungen.RRad = f.radius;
        s->einstellungen.Rx = 300;
        s->einstellungen.Ry = 200;
        RahmenAnfuegen(*s);
        auto r = Rahmen(*s);
        ASSERT_EQ(r.size(), f.rahmen.size());
        for (std::size_t i = 0; i < r.size(); ++i) {
            ElementPruefen(r[i], f.rahmen[i], "element " + std::to_string(i + 1));
            EXPECT_EQ(r[i].KonturNr, 2);
        }
        EXPECT_EQ(s->text.KonturZaehler, 2);
        EXPECT_DOUBLE_EQ(s->speicher.XMin, f.box[0]);
        EXPECT_DOUBLE_EQ(s->speicher.YMin, f.box[1]);
        EXPECT_DOUBLE_EQ(s->speicher.XMax, f.box[2]);
        EXPECT_DOUBLE_EQ(s->speicher.YMax, f.box[3]);
        // A corner arc of radius 0 is a single point, met by both of its neighbours.
        if (f.radius > 0) GeschlossenPruefen(r, f.name);
    }
}

TEST(RahmenAnfuegen, EinUndAusMitLeeremSpeicherSchaltenNurDenTyp) {
    auto s = NeueSitzung();
    s->einstellungen.RRad = 0;
    s->einstellungen.Rtyp = 0;
    EXPECT_FALSE(RahmenEin(*s)) << "an empty store re-runs nothing";
    EXPECT_EQ(s->einstellungen.Rtyp, 3) << "ein gives the round frame even with radius 0";
    EXPECT_FALSE(RahmenAus(*s));
    EXPECT_EQ(s->einstellungen.Rtyp, 0);
    EXPECT_EQ(s->speicher.ElementAnzahl(), 0);
}

TEST(RahmenAnfuegen, OhneRahmenOderOhneGeometrieKommtNichtsHinzu) {
    for (std::uint8_t typ = 0; typ <= 4; ++typ) {
        auto s = NeueSitzung();
        s->einstellungen.Rtyp = typ;
        RahmenAnfuegen(*s);
        EXPECT_EQ(s->speicher.ElementAnzahl(), 0) << "leerer Speicher, Typ " << int(typ);
        EXPECT_TRUE(s->speicher.BoxNeu) << "Typ " << int(typ);
    }
    auto s = NeueSitzung();
    GeometrieSetzen(*s, 0, 0, 100, 50);
    s->einstellungen.Rtyp = 0;
    RahmenAnfuegen(*s);
    EXPECT_EQ(s->speicher.ElementAnzahl(), 1);
    EXPECT_EQ(s->text.KonturZaehler, 1);
}

GeoElement Vorlagenelement(std::uint8_t typ, double x1, double y1, double x2, double y2,
                           double radius, std::int32_t farbe) {
    GeoElement e = NeuesElement(typ, x1, y1, x2, y2, radius, 0, farbe);
    e.KonturNr = 77;
    return e;
}

void VorlageFuellen(Sitzung& s) {
    auto& v = s.speicher.VorlageElemente;
    v.Anfuegen(Vorlagenelement(Linie, -80, -40, 80, -40, 0, RGB(255, 0, 0)));
    v.Anfuegen(Vorlagenelement(Bogen, 70, 30, 0, Pi() / 2, 10, RGB(0, 255, 0)));
    v.Anfuegen(Vorlagenelement(Kreis, 0, 0, 0, 0, 90, RahmenFarbe));
    v.Anfuegen(Vorlagenelement(Textelement, 5, 5, 2.5, 0, 0, RGB(0, 0, 255)));
    s.speicher.VorlageTexte[4] = "Schild";
    v.Anfuegen(Vorlagenelement(Punkt, 1, 1, 0, 0, 0, 0));
}

TEST(RahmenAnfuegen, VorlageWirdMittigInIhrenFarbenKopiert) {
    for (std::uint8_t typ : {5, 6}) {
        auto s = NeueSitzung();
        GeometrieSetzen(*s, 0, 0, 100, 50);
        VorlageFuellen(*s);
        s->einstellungen.Rtyp = typ;
        RahmenAnfuegen(*s);
        auto r = Rahmen(*s);
        const std::string fall = "Typ " + std::to_string(typ);
        ASSERT_EQ(r.size(), 3u) << fall << ": texts and points are not copied";
        ElementPruefen(r[0], {Linie, -30, -15, 130, -15, 0, RGB(255, 0, 0)}, fall);
        ElementPruefen(r[1], {Bogen, 120, 55, 0, Pi() / 2, 10, RGB(0, 255, 0)}, fall);
        ElementPruefen(r[2], {Kreis, 50, 25, 0, 0, 90, RahmenFarbe}, fall);
        for (const auto& e : r) EXPECT_EQ(e.KonturNr, 2) << fall;
        // The circle's square, centre +- radius, extends the box; the arc's too.
        EXPECT_DOUBLE_EQ(s->speicher.XMin, -40) << fall;
        EXPECT_DOUBLE_EQ(s->speicher.XMax, 140) << fall;
        EXPECT_DOUBLE_EQ(s->speicher.YMin, -65) << fall;
        EXPECT_DOUBLE_EQ(s->speicher.YMax, 115) << fall;
    }
}

TEST(RahmenAnfuegen, VorlageOhneGeometrieBehaeltIhreKoordinaten) {
    auto s = NeueSitzung();
    VorlageFuellen(*s);
    // A former conversion's box must not place the template.
    s->speicher.XMin = 500;
    s->speicher.XMax = 700;
    s->einstellungen.Rtyp = 5;
    RahmenAnfuegen(*s);
    ASSERT_EQ(s->speicher.ElementAnzahl(), 3);
    ElementPruefen(s->speicher.Elemente[1], {Linie, -80, -40, 80, -40, 0, RGB(255, 0, 0)}, "Linie");
    EXPECT_DOUBLE_EQ(s->speicher.XMin, -90);
    EXPECT_DOUBLE_EQ(s->speicher.XMax, 90);
}

TEST(RahmenTypSetzen, OptionWirdZumRahmentyp) {
    struct Fall {
        const char* name;
        std::uint8_t vorher;
        double radius;
        RahmenOption option;
        std::uint8_t nachher;
    };
    const Fall faelle[] = {
        {"aus bleibt aus", 0, 5, RahmenOption::Automatisch, 0},
        {"automatisch eckig", 3, 0, RahmenOption::Automatisch, 1},
        {"automatisch eckig, negativer Radius", 3, -2, RahmenOption::Automatisch, 1},
        {"automatisch rund", 1, 5, RahmenOption::Automatisch, 3},
        {"fix eckig", 3, 0, RahmenOption::Fix, 2},
        {"fix rund", 1, 0.5, RahmenOption::Fix, 4},
        {"ToPs-Vorlage", 1, 5, RahmenOption::ToPsVorlage, 5},
        {"DXF-Vorlage", 1, 5, RahmenOption::DxfVorlage, 6},
    };
    for (const Fall& f : faelle) {
        auto s = NeueSitzung();
        s->einstellungen.Rtyp = f.vorher;
        s->einstellungen.RRad = f.radius;
        RahmenTypSetzen(*s, f.option);
        EXPECT_EQ(s->einstellungen.Rtyp, f.nachher) << f.name;
    }
}

TEST(RahmenTypSetzen, VorlagenoptionLiestDieVorlage) {
    struct Fall {
        const char* name;
        RahmenOption option;
        std::string datei;
        std::int32_t anzahl;
    };
    const Fall faelle[] = {
        {"ToPs", RahmenOption::ToPsVorlage, "frames/daten/vorlage.vlg", 6},
        {"DXF", RahmenOption::DxfVorlage, "frames/daten/ezdxf_r12.dxf", 9},
        {"ToPs, Datei fehlt", RahmenOption::ToPsVorlage, "frames/daten/fehlt.vlg", 0},
        {"DXF, kein Pfad", RahmenOption::DxfVorlage, "", 0},
        {"DXF, Datei fehlt", RahmenOption::DxfVorlage, "frames/daten/fehlt.dxf", 0},
        {"DXF, Ordner", RahmenOption::DxfVorlage, "frames/daten", 0},
    };
    for (const Fall& f : faelle) {
        auto s = NeueSitzung();
        s->einstellungen.Rtyp = 1;
        s->einstellungen.RVorlage = f.datei.empty() ? "" : test::Testdaten(f.datei).string();
        // A template read before must not survive a failed reading.
        s->speicher.VorlageElemente.Anfuegen(Vorlagenelement(Linie, 0, 0, 1, 1, 0, 0));
        RahmenTypSetzen(*s, f.option);
        EXPECT_EQ(s->speicher.VorlageElemente.Anzahl(), f.anzahl) << f.name;
    }
}

} // namespace
} // namespace konturo
