// Printing over a recording print surface: the fit onto the page, arcs through angle 0, black
// only, drawings without width or height, and the command's copies, cancel and failure.
#include "TestHilfe.h"
#include "display/GrafikDrucken.h"

#include <gtest/gtest.h>

#include <cmath>

namespace konturo {
namespace {

// 10000 x 12500 units leave a usable area of 8000 x 10000.
constexpr double Breite = 10000, Hoehe = 12500;

struct Strecke {
    double x1, y1, x2, y2;
};
struct Kreisbild {
    double cx, cy, r;
};

// What a print surface was given, kept beyond the surface, which the command drops at its end.
struct Protokoll {
    std::vector<Strecke> strecken;
    std::vector<Kreisbild> kreise;
    std::vector<std::int32_t> farben;
    int seiten = 1;
    std::string ablauf;
    bool beendenOk = true;
};

class Aufzeichner : public Druckflaeche {
public:
    explicit Aufzeichner(Protokoll& p) : p_(p) {}
    double SeitenBreite() const override { return Breite; }
    double SeitenHoehe() const override { return Hoehe; }
    void Linie(double x1, double y1, double x2, double y2, std::int32_t farbe) override {
        p_.strecken.push_back({x1, y1, x2, y2});
        p_.farben.push_back(farbe);
    }
    void Kreis(double cx, double cy, double r, std::int32_t farbe) override {
        p_.kreise.push_back({cx, cy, r});
        p_.farben.push_back(farbe);
    }
    void PositionSetzen(double x, double y) override { pos_ = {x, y}; }
    void LinieZu(double x, double y, std::int32_t farbe) override {
        Linie(pos_.first, pos_.second, x, y, farbe);
        pos_ = {x, y};
    }
    bool NeueSeite() override {
        ++p_.seiten;
        return true;
    }
    bool Beenden() override {
        p_.ablauf += "Beenden ";
        return p_.beendenOk;
    }

private:
    Protokoll& p_;
    std::pair<double, double> pos_;
};

class Umgebung : public Druckumgebung {
public:
    std::int32_t DruckerDialogZeigen(Sitzung& s) override {
        ++dialoge;
        s.fenster.AbbruchWunsch = abbrechen;
        return exemplare;
    }
    std::unique_ptr<Druckflaeche> DokumentBeginnen(Sitzung&) override {
        begonnen = true;
        return std::make_unique<Aufzeichner>(protokoll);
    }
    void MeldungZeigen(const std::string& text) override { protokoll.ablauf += text + " "; }
    void MeldungSchliessen() override { protokoll.ablauf += "zu "; }

    int dialoge = 0;
    bool abbrechen = false;
    std::int32_t exemplare = 1;
    bool begonnen = false;
    Protokoll protokoll;
};

void Anfuegen(Speicher& sp, const GeoElement& e, double xMin, double xMax, double yMin,
              double yMax) {
    sp.Elemente.Anfuegen(e);
    sp.XMin = xMin;
    sp.XMax = xMax;
    sp.YMin = yMin;
    sp.YMax = yMax;
}

// The outline of the box (50, -20) .. (250, 80), 200 wide and 100 high, in four colours.
void Rechteck(Speicher& sp) {
    const double x0 = 50, y0 = -20, x1 = 250, y1 = 80;
    sp.Elemente.Anfuegen(NeuesElement(Linie, x0, y0, x1, y0, 0, 1, RGB(255, 0, 0)));
    sp.Elemente.Anfuegen(NeuesElement(Linie, x1, y0, x1, y1, 0, 1, RGB(0, 255, 0)));
    sp.Elemente.Anfuegen(NeuesElement(Linie, x1, y1, x0, y1, 0, 1, RGB(255, 255, 255)));
    Anfuegen(sp, NeuesElement(Kreis, 150, 30, 0, 0, 10, 1, RGB(0, 0, 255)), x0, x1, y0, y1);
}

TEST(GrafikDrucken, PasstBreiteOhneRandOben) {
    Speicher sp;
    Rechteck(sp);
    Protokoll p;
    Aufzeichner f(p);
    ASSERT_TRUE(ZeichnungDrucken(sp, f));
    ASSERT_EQ(p.strecken.size(), 3u);
    // s = 40: the bottom edge lies 4000 units below the top edge at y' = 0.
    EXPECT_DOUBLE_EQ(p.strecken[0].x1, 300);
    EXPECT_DOUBLE_EQ(p.strecken[0].x2, 8300);
    EXPECT_DOUBLE_EQ(p.strecken[0].y1, 4000);
    EXPECT_DOUBLE_EQ(p.strecken[2].y1, 0);
    ASSERT_EQ(p.kreise.size(), 1u);
    EXPECT_DOUBLE_EQ(p.kreise[0].cx, 300 + 100 * 40);
    EXPECT_DOUBLE_EQ(p.kreise[0].cy, 4000 - 50 * 40);
    EXPECT_DOUBLE_EQ(p.kreise[0].r, 400);
    for (const std::int32_t farbe : p.farben) EXPECT_EQ(farbe, DruckFarbe);
}

// An arc from 350 to 10 degrees, its angles given in several forms a turn apart, always the same
// polyline through angle 0: on the circle, counter-clockwise, ending exactly at the end angle.
TEST(GrafikDrucken, BogenUeberNullGrad) {
    const double grad = Pi() / 180;
    const std::pair<double, double> winkel[] = {{350 * grad, 10 * grad},
                                                {-10 * grad, 10 * grad},
                                                {350 * grad, 370 * grad},
                                                {-10 * grad, 370 * grad},
                                                {350 * grad, -350 * grad}};
    for (const auto& [a0, a1] : winkel) {
        SCOPED_TRACE(std::to_string(a0 / grad) + " to " + std::to_string(a1 / grad));
        Speicher sp;
        Anfuegen(sp, NeuesElement(Bogen, 0, 0, a0, a1, 100), -100, 100, -100, 100);
        Protokoll p;
        Aufzeichner f(p);
        ASSERT_TRUE(ZeichnungDrucken(sp, f));
        // s = 40 on the 200 x 200 box: the centre lies at (4300, 4000), the radius 4000.
        ASSERT_EQ(p.strecken.size(), 7u); // six steps of 0.05 rad within 20 degrees, then the end
        double vorher = -1;
        bool unterNull = false, ueberNull = false;
        for (const Strecke& st : p.strecken) {
            const double a = std::atan2(4000 - st.y2, st.x2 - 4300);
            EXPECT_NEAR(std::hypot(st.x2 - 4300, st.y2 - 4000), 4000, 1e-6);
            EXPECT_GT(a, vorher == -1 ? -11 * grad : vorher);
            vorher = a;
            unterNull = unterNull || st.y1 > 4000;
            ueberNull = ueberNull || st.y2 < 4000;
        }
        EXPECT_TRUE(unterNull && ueberNull);
        EXPECT_NEAR(p.strecken.back().x2, 4300 + 4000 * std::cos(10 * grad), 1e-9);
        EXPECT_NEAR(p.strecken.back().y2, 4000 - 4000 * std::sin(10 * grad), 1e-9);
    }
}

TEST(GrafikDrucken, OhneBreiteOderHoehe) {
    Speicher senkrecht;
    Anfuegen(senkrecht, NeuesElement(Linie, 5, 0, 5, 100), 5, 5, 0, 100);
    Protokoll p;
    Aufzeichner f(p);
    ASSERT_TRUE(ZeichnungDrucken(senkrecht, f));
    // Fitted by its height: s = 10000 / 100.
    EXPECT_DOUBLE_EQ(p.strecken[0].y1, 10000);
    EXPECT_DOUBLE_EQ(p.strecken[0].y2, 0);
    EXPECT_DOUBLE_EQ(p.strecken[0].x1, 300);

    Speicher waagrecht;
    Anfuegen(waagrecht, NeuesElement(Linie, 0, 7, 100, 7), 0, 100, 7, 7);
    const auto t = DruckTransformBerechnen(waagrecht, Breite, Hoehe);
    ASSERT_TRUE(t);
    EXPECT_DOUBLE_EQ(t->s, 80);

    Speicher punkt;
    Anfuegen(punkt, NeuesElement(Linie, 3, 3, 3, 3), 3, 3, 3, 3);
    EXPECT_FALSE(DruckTransformBerechnen(punkt, Breite, Hoehe));
    auto s = test::NeueSitzung();
    Anfuegen(s->speicher, NeuesElement(Linie, 3, 3, 3, 3), 3, 3, 3, 3);
    Umgebung u;
    GrafikDrucken(*s, u);
    EXPECT_EQ(u.dialoge, 0);
}

TEST(GrafikDrucken, Befehl) {
    auto s = test::NeueSitzung();
    s->fenster.Texte[172] = "Ausdruck aktiv ...";
    UiDiensteKopflos ui(true);
    s->ui = &ui;

    Umgebung leer;
    GrafikDrucken(*s, leer);
    EXPECT_EQ(leer.dialoge, 0);

    Rechteck(s->speicher);
    Umgebung abgebrochen;
    abgebrochen.abbrechen = true;
    GrafikDrucken(*s, abgebrochen);
    EXPECT_FALSE(abgebrochen.begonnen);
    // Left set, the request would stop the next conversion at once.
    EXPECT_FALSE(s->fenster.AbbruchWunsch);

    Umgebung drei;
    drei.exemplare = 3;
    GrafikDrucken(*s, drei);
    EXPECT_EQ(drei.protokoll.seiten, 3);
    EXPECT_EQ(drei.protokoll.strecken.size(), 9u);
    EXPECT_EQ(drei.protokoll.ablauf, "Ausdruck aktiv ... Beenden zu ");
    EXPECT_EQ(ui.fortschrittMaximum, 4);
    EXPECT_EQ(ui.fortschrittWert, 0);
    ASSERT_FALSE(ui.aufrufe.empty());
    EXPECT_EQ(ui.aufrufe.back().art, "Sanduhr");
    EXPECT_EQ(ui.aufrufe.back().wert, 0);
    EXPECT_TRUE(ui.meldungen.empty());

    Umgebung fehler;
    fehler.protokoll.beendenOk = false;
    GrafikDrucken(*s, fehler);
    EXPECT_EQ(ui.meldungen, std::vector<int>{179});
}

TEST(GrafikDrucken, ExemplareAusText) {
    EXPECT_EQ(ExemplareAusText("2.5", true), 2);
    EXPECT_EQ(ExemplareAusText("3.5", true), 4);
    EXPECT_EQ(ExemplareAusText("3,5", false), 4);
    EXPECT_EQ(ExemplareAusText("2,51", false), 3);
    EXPECT_EQ(ExemplareAusText("", true), std::nullopt);
    EXPECT_EQ(ExemplareAusText(",", false), std::nullopt);
    EXPECT_EQ(ExemplareAusText("40000", true), std::nullopt);
}

} // namespace
} // namespace konturo
