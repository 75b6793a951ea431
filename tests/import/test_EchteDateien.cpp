// Files written by real programs (Inkscape, cairo, Ghostscript, pdftops) from one drawing: a
// 40 x 20 mm rectangle, a circle of 10 mm radius and a 40 x 11.25 mm curve shape below the
// rectangle. Each must import into closed contours, right side up, at the size drawn.
#include "ImportHilfe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace konturo {
namespace {

constexpr double MmJePunkt = 25.4 / 72.0;
// Producers round coordinates to 1/1000 pt or to cairo's 1/256 pt grid: 0.0014 mm at most.
constexpr double MassGenau = 0.01;

struct Kontur {
    double xMin = 1e300, xMax = -1e300, yMin = 1e300, yMax = -1e300;
    double startX = 0, startY = 0, endeX = 0, endeY = 0;
    int datensaetze = 0;
    double Breite() const { return xMax - xMin; }
    double Hoehe() const { return yMax - yMin; }
    double MitteX() const { return (xMin + xMax) / 2; }
    double MitteY() const { return (yMin + yMax) / 2; }
};

// The contours of the outline buffer in millimetres, in path order.
std::vector<Kontur> Konturen(const Sitzung& s) {
    std::map<std::int32_t, Kontur> nachNr;
    for (const GeoElement& e : test::Datensaetze(s)) {
        Kontur& k = nachNr[e.KonturNr];
        const double x1 = e.X1 * MmJePunkt, y1 = e.Y1 * MmJePunkt;
        const double x2 = e.X2 * MmJePunkt, y2 = e.Y2 * MmJePunkt;
        if (k.datensaetze++ == 0) {
            k.startX = x1;
            k.startY = y1;
        }
        k.endeX = x2;
        k.endeY = y2;
        k.xMin = std::min({k.xMin, x1, x2});
        k.xMax = std::max({k.xMax, x1, x2});
        k.yMin = std::min({k.yMin, y1, y2});
        k.yMax = std::max({k.yMax, y1, y2});
    }
    std::vector<Kontur> v;
    for (const auto& [nr, k] : nachNr) v.push_back(k);
    return v;
}

struct Ende {
    double x, y;
};

// Ends of lines and arcs of one contour that no other end meets: 0 for a closed contour.
int OffeneEnden(const std::vector<GeoElement>& elemente) {
    std::vector<Ende> enden;
    for (const GeoElement& e : elemente) {
        if (e.Typ == Linie) {
            enden.push_back({e.X1, e.Y1});
            enden.push_back({e.X2, e.Y2});
        } else if (e.Typ == Bogen) {
            enden.push_back({BogenStartX(e), BogenStartY(e)});
            enden.push_back({BogenEndeX(e), BogenEndeY(e)});
        }
    }
    std::vector<bool> belegt(enden.size(), false);
    int offen = 0;
    for (std::size_t i = 0; i < enden.size(); ++i) {
        if (belegt[i]) continue;
        belegt[i] = true;
        bool gefunden = false;
        for (std::size_t j = i + 1; j < enden.size() && !gefunden; ++j) {
            if (!belegt[j] && std::hypot(enden[i].x - enden[j].x, enden[i].y - enden[j].y) < 1e-3) {
                belegt[j] = true;
                gefunden = true;
            }
        }
        if (!gefunden) ++offen;
    }
    return offen;
}

std::unique_ptr<Sitzung> DateiImportieren(const std::string& name) {
    auto s = test::NeueSitzung();
    s->fenster.AktDatei = test::Testdaten("import/daten/" + name).string();
    s->fenster.ParameterZeigen = false;
    EXPECT_EQ(EPSEinlesen(*s), ImportErgebnis::Gelesen) << name;
    EXPECT_TRUE(s->kopflos.meldungen.empty()) << name;
    return s;
}

const char* const Dateien[] = {"inkscape.eps", "inkscape.ps",     "inkscape.pdf", "cairo.eps",
                               "cairo.pdf",    "ghostscript.pdf", "pdftops.eps"};

TEST(EchteDateien, GeschlosseneKonturenInGezeichneterGroesse) {
    for (const char* name : Dateien) {
        auto s = DateiImportieren(name);
        const std::vector<Kontur> k = Konturen(*s);
        ASSERT_EQ(k.size(), 3u) << name;
        for (const Kontur& c : k) {
            EXPECT_NEAR(c.startX, c.endeX, 1e-6) << name << ": outline not closed";
            EXPECT_NEAR(c.startY, c.endeY, 1e-6) << name << ": outline not closed";
        }
        // Path order of the drawing: rectangle, circle, curve shape.
        const Kontur &rechteck = k[0], &kreis = k[1], &form = k[2];
        EXPECT_NEAR(rechteck.Breite(), 40, MassGenau) << name;
        EXPECT_NEAR(rechteck.Hoehe(), 20, MassGenau) << name;
        EXPECT_NEAR(kreis.Breite(), 20, MassGenau) << name;
        EXPECT_NEAR(kreis.Hoehe(), 20, MassGenau) << name;
        EXPECT_NEAR(form.Breite(), 40, MassGenau) << name;
        EXPECT_NEAR(form.Hoehe(), 11.25, MassGenau) << name;
        // Right side up: the shape lies below the rectangle, the circle beside it.
        EXPECT_NEAR(rechteck.MitteY() - form.MitteY(), 25.625, MassGenau) << name;
        EXPECT_NEAR(kreis.MitteY(), rechteck.MitteY(), MassGenau) << name;
        EXPECT_NEAR(kreis.MitteX() - rechteck.MitteX(), 45, MassGenau) << name;

        std::map<std::int32_t, std::vector<GeoElement>> elemente;
        int kreise = 0;
        for (const GeoElement& e : test::Elemente(*s)) {
            elemente[e.KonturNr].push_back(e);
            if (e.Typ == Kreis) {
                ++kreise;
                EXPECT_NEAR(e.Radius, 10, MassGenau) << name;
            }
        }
        EXPECT_EQ(elemente.size(), 3u) << name;
        EXPECT_EQ(kreise, 1) << name;
        for (const auto& [nr, liste] : elemente)
            EXPECT_EQ(OffeneEnden(liste), 0) << name << ", contour " << nr;
    }
}

// weichmaske.pdf, written by Inkscape from weichmaske.svg (see daten/README.md): its gradient with
// transparent stops and its mask become soft masks, one of them a page-size "re f". Only what is
// drawn is read: two triangles and a circle within x 5..53 mm, y 5..35 mm of the 60 x 40 mm page.
TEST(EchteDateien, WeichmaskenBleibenDraussen) {
    auto s = DateiImportieren("weichmaske.pdf");
    EXPECT_EQ(Konturen(*s).size(), 3u);
    int linien = 0, kreise = 0;
    for (const GeoElement& e : test::Elemente(*s)) {
        if (e.Typ == Linie) ++linien;
        if (e.Typ == Kreis) {
            ++kreise;
            EXPECT_NEAR(e.Radius, 8, MassGenau);
        }
    }
    EXPECT_EQ(linien, 6);
    EXPECT_EQ(kreise, 1);
    const Speicher& sp = s->speicher;
    EXPECT_NEAR(sp.XMin, 5, MassGenau);
    EXPECT_NEAR(sp.XMax, 53, MassGenau);
    EXPECT_NEAR(sp.YMin, 5, MassGenau);
    EXPECT_NEAR(sp.YMax, 35, MassGenau);
}

// Elements moved so that the outline buffer's lowest corner lies at the origin.
std::vector<GeoElement> Verschoben(const Sitzung& s) {
    double xMin = 1e300, yMin = 1e300;
    for (const GeoElement& e : test::Datensaetze(s)) {
        xMin = std::min({xMin, e.X1, e.X2});
        yMin = std::min({yMin, e.Y1, e.Y2});
    }
    std::vector<GeoElement> v = test::Elemente(s);
    for (GeoElement& e : v) {
        e.X1 -= xMin * MmJePunkt;
        e.Y1 -= yMin * MmJePunkt;
        if (e.Typ == Linie) {
            e.X2 -= xMin * MmJePunkt;
            e.Y2 -= yMin * MmJePunkt;
        }
    }
    return v;
}

bool Nah(double x1, double y1, double x2, double y2) {
    return std::fabs(x1 - x2) <= MassGenau && std::fabs(y1 - y2) <= MassGenau;
}

bool GleicheEnden(double ax1, double ay1, double ax2, double ay2, double bx1, double by1,
                  double bx2, double by2) {
    return (Nah(ax1, ay1, bx1, by1) && Nah(ax2, ay2, bx2, by2)) ||
           (Nah(ax1, ay1, bx2, by2) && Nah(ax2, ay2, bx1, by1));
}

// The same element up to its direction: producers may start a closed shape at another corner.
// Arcs are compared by their ends only: the circle construction of the greedy split reacts to
// differences far below a micrometre in its input points (a chord direction of exactly 0 or not)
// with another centre through the same two ends.
bool GleichesElement(const GeoElement& a, const GeoElement& b) {
    if (a.Typ != b.Typ) return false;
    switch (a.Typ) {
    case Linie:
        return GleicheEnden(a.X1, a.Y1, a.X2, a.Y2, b.X1, b.Y1, b.X2, b.Y2);
    case Bogen:
        return GleicheEnden(BogenStartX(a), BogenStartY(a), BogenEndeX(a), BogenEndeY(a),
                            BogenStartX(b), BogenStartY(b), BogenEndeX(b), BogenEndeY(b));
    case Kreis:
        return Nah(a.X1, a.Y1, b.X1, b.Y1) && std::fabs(a.Radius - b.Radius) <= MassGenau;
    default:
        return false;
    }
}

TEST(EchteDateien, GhostscriptPdfGleichCairoEps) {
    auto gs = DateiImportieren("ghostscript.pdf");
    auto cairo = DateiImportieren("cairo.eps");
    const std::vector<Kontur> kg = Konturen(*gs), kc = Konturen(*cairo);
    ASSERT_EQ(kg.size(), kc.size());
    for (std::size_t i = 0; i < kg.size(); ++i) {
        EXPECT_NEAR(kg[i].Breite(), kc[i].Breite(), MassGenau) << "contour " << i;
        EXPECT_NEAR(kg[i].Hoehe(), kc[i].Hoehe(), MassGenau) << "contour " << i;
        EXPECT_NEAR(kg[i].xMin - kg[0].xMin, kc[i].xMin - kc[0].xMin, MassGenau) << i;
        EXPECT_NEAR(kg[i].yMin - kg[0].yMin, kc[i].yMin - kc[0].yMin, MassGenau) << i;
    }
    const std::vector<GeoElement> a = Verschoben(*gs), b = Verschoben(*cairo);
    ASSERT_EQ(a.size(), b.size());
    std::vector<bool> belegt(b.size(), false);
    for (std::size_t i = 0; i < a.size(); ++i) {
        bool gefunden = false;
        for (std::size_t j = 0; j < b.size() && !gefunden; ++j) {
            if (!belegt[j] && GleichesElement(a[i], b[j])) belegt[j] = gefunden = true;
        }
        EXPECT_TRUE(gefunden) << "Ghostscript element " << i << " (kind " << int(a[i].Typ) << " at "
                              << a[i].X1 << ", " << a[i].Y1 << ") has no cairo twin";
    }
}

} // namespace
} // namespace konturo
