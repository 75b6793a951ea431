// End to end: "Hallo Welt" in Liberation Sans through the whole conversion. The elements must
// follow FreeType's own outline within a small multiple of the arc tolerance, and the command
// line's DXF file must pass an independent reader's checks (types, closed contours).
#include "TestHilfe.h"
#include "glyphon/GlyphonPruefung.h"

#include "text/FontAuslesen.h"
#include "text/FontErzeugen.h"
#include "text/GlyphGeraetFreetype.h"
#include "text/Textquelle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace konturo {
namespace {

using test::P;

// The true outline of one glyph as polylines in output units: FreeType's own decomposition, each
// piece cut into 64 chords, which stay far below the tolerances checked here.
void UmrissAnfuegen(std::vector<std::vector<P>>& linien, FT_Face gesicht, char32_t zeichen,
                    double stiftX, double massstab) {
    ASSERT_EQ(FT_Load_Char(gesicht, zeichen, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP), 0);
    for (const test::Kontur& k : test::Zerlegen(gesicht->glyph->outline)) {
        linien.push_back(test::Abtasten(k, 64));
        for (P& p : linien.back()) p = {(stiftX + p.x) * massstab, p.y * massstab};
    }
}

double StreckenAbstand(P p, P a, P b) { return test::AbstandZumStueck(p, {1, a, {}, {}, b}); }

// Points along an element (end points included).
std::vector<P> Proben(const GeoElement& e) {
    std::vector<P> v;
    for (int i = 0; i <= 16; ++i) {
        const double t = i / 16.0;
        if (e.Typ == Linie) {
            v.push_back({e.X1 + t * (e.X2 - e.X1), e.Y1 + t * (e.Y2 - e.Y1)});
        } else {
            const double w = e.Typ == Kreis ? 2 * Pi() * t : e.X2 + t * Bogenwinkel(e.X2, e.Y2);
            v.push_back({e.X1 + e.Radius * std::cos(w), e.Y1 + e.Radius * std::sin(w)});
        }
    }
    return v;
}

double ElementAbstand(const GeoElement& e, P p) {
    if (e.Typ == Linie) return StreckenAbstand(p, {e.X1, e.Y1}, {e.X2, e.Y2});
    const double d = std::hypot(p.x - e.X1, p.y - e.Y1);
    if (e.Typ == Kreis) return std::fabs(d - e.Radius);
    double w = std::atan2(p.y - e.Y1, p.x - e.X1) - e.X2;
    w = std::fmod(std::fmod(w, 2 * Pi()) + 2 * Pi(), 2 * Pi());
    if (w <= Bogenwinkel(e.X2, e.Y2)) return std::fabs(d - e.Radius);
    return std::min(std::hypot(p.x - BogenStartX(e), p.y - BogenStartY(e)),
                    std::hypot(p.x - BogenEndeX(e), p.y - BogenEndeY(e)));
}

TEST(TextEndeZuEnde, ElementsFollowFreetypesOutlineWithinTheArcTolerance) {
    auto s = test::NeueSitzung();
    s->text.Schrifthoehe = 50;
    Zeichenformat f;
    f.Schriftart = "Liberation Sans";
    f.Groesse = 24;
    const std::u32string text = U"Hallo Welt";
    TextquelleKlartext quelle(Utf8Kodieren(text), f);
    s->textquelle = &quelle;
    TextUmwandeln(*s);
    ASSERT_GT(s->speicher.ElementAnzahl(), 0);
    ASSERT_TRUE(s->kopflos.meldungen.empty());

    GlyphGeraetFreetype geraet;
    ASSERT_TRUE(geraet.SchriftWaehlen("Liberation Sans", 240, false, false));
    auto* gesicht = static_cast<FT_Face>(geraet.Handle());
    const double m = s->text.Massstab;
    std::vector<std::vector<P>> umriss;
    double stift = 0;
    for (char32_t z : text) {
        if (z != U' ') UmrissAnfuegen(umriss, gesicht, z, stift, m);
        const AbcBreiten b = geraet.Breiten(z);
        stift += b.A + b.B + b.C;
    }

    // The arc tolerance in millimetres. The fitted arcs meet it at every sample point, but the
    // closing arc of a split run is only made tangent at its start and is never tested, so on
    // the large bowls ("o", "e", "a") it strays up to about four tolerances from the curve.
    const double toleranz = s->einstellungen.Toleranz * m;
    double hin = 0, zurueck = 0;
    std::vector<const GeoElement*> elemente;
    for (std::int32_t i = 1; i <= s->speicher.ElementAnzahl(); ++i) {
        const GeoElement& e = s->speicher.Elemente[i];
        if (e.Typ == Entfernt) continue;
        elemente.push_back(&e);
        for (P p : Proben(e)) {
            double best = 1e300;
            for (const auto& l : umriss)
                for (std::size_t j = 0; j + 1 < l.size(); ++j)
                    best = std::min(best, StreckenAbstand(p, l[j], l[j + 1]));
            hin = std::max(hin, best);
        }
    }
    for (const auto& l : umriss)
        for (P p : l) {
            double best = 1e300;
            for (const GeoElement* e : elemente) best = std::min(best, ElementAbstand(*e, p));
            zurueck = std::max(zurueck, best);
        }
    RecordProperty("element_to_outline_mm", std::to_string(hin));
    RecordProperty("outline_to_element_mm", std::to_string(zurueck));
    EXPECT_LT(hin, 5 * toleranz) << "tolerance " << toleranz << " mm";
    EXPECT_LT(zurueck, 5 * toleranz) << "tolerance " << toleranz << " mm";
}

TEST(TextEndeZuEnde, CommandLineDxfOpensInEzdxfWithClosedContoursOfLinesArcsAndCircles) {
    const std::string python = std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") == 0
                                   ? "/usr/bin/python3"
                                   : "python3";
    if (std::system((python + " -c 'import ezdxf' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "python3-ezdxf is not installed; the DXF reader check is skipped";
    test::TempOrdner ordner;
    const std::string dxf = (ordner / "hallo.dxf").string();
    const std::string cli = std::string(KONTURO_BIN) + "/konturo-cli";
    const std::string aufruf = "'" + cli +
                               "' text --defaults --font 'Liberation Sans' --size 24 --height 50 "
                               "'Hallo Welt' -o '" +
                               dxf + "'";
    ASSERT_EQ(std::system(aufruf.c_str()), 0) << aufruf;
    const std::string pruefen =
        python + " '" + test::Testdaten("text/dxf_pruefen.py").string() + "' '" + dxf + "'";
    EXPECT_EQ(std::system(pruefen.c_str()), 0) << pruefen;
}

} // namespace
} // namespace konturo
