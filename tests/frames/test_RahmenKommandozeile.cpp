// Frames through konturo-cli: the frame settings given with --set, the template read at start,
// and a missing template as an error. The written DXF is read back with the template reader.
#include "TestHilfe.h"

#include "import/DXF_Lesen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace konturo {
namespace {

using test::NeueSitzung;
using test::TempOrdner;

std::filesystem::path Programm() { return std::filesystem::path(KONTURO_BIN) / "konturo-cli"; }

// Runs konturo-cli text with the given frame settings; returns the exit status and stderr.
int Ausfuehren(const std::string& setzen, const std::filesystem::path& ausgabe,
               const TempOrdner& ordner, std::string& fehler) {
    const auto fehlerDatei = ordner / "stderr.txt";
    const std::string befehl =
        "'" + Programm().string() + "' text --defaults --font 'Liberation Sans' --height 50 " +
        setzen + " -o '" + ausgabe.string() + "' Hallo 2>'" + fehlerDatei.string() + "'";
    const int status = std::system(befehl.c_str());
    fehler = test::DateiLesen(fehlerDatei);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<GeoElement> DXFLesen(const std::filesystem::path& datei) {
    auto s = NeueSitzung();
    s->einstellungen.RVorlage = datei.string();
    DXFVorlageLesen(*s);
    std::vector<GeoElement> r;
    for (std::int32_t i = 1; i <= s->speicher.VorlageElemente.Anzahl(); ++i)
        r.push_back(s->speicher.VorlageElemente[i]);
    return r;
}

class RahmenKommandozeile : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(Programm())) GTEST_SKIP() << "konturo-cli is not built";
    }
    TempOrdner ordner;
};

TEST_F(RahmenKommandozeile, AutomatischerRahmenMitAbstand) {
    std::string fehler;
    const auto datei = ordner / "a.dxf";
    ASSERT_EQ(Ausfuehren("--set Rtyp=1 --set Roff=5", datei, ordner, fehler), 0) << fehler;
    auto e = DXFLesen(datei);
    ASSERT_GT(e.size(), 4u);
    // The last four lines are the frame, counter-clockwise from the bottom edge.
    const GeoElement* r = &e[e.size() - 4];
    const double links = r[3].X1, rechts = r[1].X1, unten = r[0].Y1, oben = r[2].Y1;
    EXPECT_EQ(r[0].X1, links);
    EXPECT_EQ(r[0].X2, rechts);
    EXPECT_EQ(r[1].Y2, oben);
    EXPECT_EQ(r[3].Y2, unten);
    // Every end point of the lettering keeps at least the offset from the frame, and on each
    // side the nearest one is close to it (arcs may bulge past their end points).
    double abstand[4] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    for (std::size_t i = 0; i + 4 < e.size(); ++i) {
        if (e[i].Typ != Linie && e[i].Typ != Bogen) continue;
        const bool linie = e[i].Typ == Linie;
        const std::pair<double, double> enden[] = {
            linie ? std::pair{e[i].X1, e[i].Y1} : std::pair{BogenStartX(e[i]), BogenStartY(e[i])},
            linie ? std::pair{e[i].X2, e[i].Y2} : std::pair{BogenEndeX(e[i]), BogenEndeY(e[i])}};
        for (auto [x, y] : enden) {
            abstand[0] = std::min(abstand[0], x - links);
            abstand[1] = std::min(abstand[1], rechts - x);
            abstand[2] = std::min(abstand[2], y - unten);
            abstand[3] = std::min(abstand[3], oben - y);
        }
    }
    for (double a : abstand) {
        EXPECT_GE(a, 5 - 1e-6);
        EXPECT_LT(a, 6);
    }
}

TEST_F(RahmenKommandozeile, FesterRunderRahmen) {
    std::string fehler;
    const auto datei = ordner / "b.dxf";
    ASSERT_EQ(
        Ausfuehren("--set Rtyp=4 --set Rx=300 --set Ry=200 --set RRad=10", datei, ordner, fehler),
        0)
        << fehler;
    auto e = DXFLesen(datei);
    ASSERT_GT(e.size(), 8u);
    const GeoElement* r = &e[e.size() - 8];
    EXPECT_NEAR(r[0].X2 - r[0].X1, 280, 1e-6); // 300 less two corner radii
    EXPECT_NEAR(r[1].Y2 - r[1].Y1, 180, 1e-6);
    for (int i = 4; i < 8; ++i) {
        EXPECT_EQ(r[i].Typ, Bogen);
        EXPECT_NEAR(r[i].Radius, 10, 1e-9);
    }
}

TEST_F(RahmenKommandozeile, DXFVorlageWirdMittigAngefuegt) {
    std::string fehler;
    const auto datei = ordner / "c.dxf";
    const auto vorlage = test::Testdaten("frames/daten/ezdxf_r12.dxf");
    ASSERT_EQ(
        Ausfuehren("--set Rtyp=6 --set 'RVorlage=" + vorlage.string() + "'", datei, ordner, fehler),
        0)
        << fehler;
    auto e = DXFLesen(datei);
    ASSERT_GT(e.size(), 8u);
    // The template's eight lines, arcs and circles (its text is not copied), shifted by the
    // centre of the lettering: its first line runs from (-50, -30) to (50, -30).
    const GeoElement* r = &e[e.size() - 8];
    ASSERT_EQ(r[0].Typ, Linie);
    const double cx = r[0].X1 + 50, cy = r[0].Y1 + 30;
    EXPECT_NEAR(r[0].X2, cx + 50, 1e-6);
    EXPECT_EQ(r[2].Typ, Kreis);
    EXPECT_NEAR(r[2].X1, cx + 10, 1e-6);
    EXPECT_NEAR(r[2].Y1, cy + 5, 1e-6);
    EXPECT_NEAR(r[2].Radius, 7.5, 1e-9);
    EXPECT_EQ(r[7].Typ, Linie);
    EXPECT_NEAR(r[7].Y1, cy + 50, 1e-6);
}

TEST_F(RahmenKommandozeile, FehlendeVorlageIstEinFehler) {
    struct Fall {
        const char* name;
        std::string setzen;
        int status;
        const char* meldung;
    };
    const Fall faelle[] = {
        {"Datei fehlt", "--set Rtyp=6 --set RVorlage=/gibt/es/nicht.dxf", 1, "does not exist"},
        {"ToPs-Datei fehlt", "--set Rtyp=5 --set RVorlage=/gibt/es/nicht.vlg", 1, "does not exist"},
        {"kein Pfad", "--set Rtyp=5", 2, "RVorlage"},
        {"Typ ausserhalb", "--set Rtyp=7", 2, "Rtyp"},
    };
    for (const Fall& f : faelle) {
        std::string fehler;
        const auto datei = ordner / "d.dxf";
        EXPECT_EQ(Ausfuehren(f.setzen, datei, ordner, fehler), f.status) << f.name;
        EXPECT_NE(fehler.find(f.meldung), std::string::npos) << f.name << ": " << fehler;
        EXPECT_FALSE(std::filesystem::exists(datei)) << f.name;
    }
}

} // namespace
} // namespace konturo
