// The stream writer on synthetic outlines: contours without on-curve points, mixed runs, cubics
// of every shape, malformed tags, records longer than a 16-bit count, and the fixed-point rule.
#include "GlyphonPruefung.h"
#include "glyphon/GlyphonStrom.h"

#include <tuple>

namespace konturo::test {
namespace {

constexpr char EIN = FT_CURVE_TAG_ON;
constexpr char QU = FT_CURVE_TAG_CONIC;
constexpr char KU = FT_CURVE_TAG_CUBIC;

// An outline in 26.6 units built contour by contour.
struct Umriss {
    std::vector<FT_Vector> punkte;
    std::vector<char> tags;
    std::vector<short> enden;

    void Kontur(std::initializer_list<std::tuple<double, double, char>> p) {
        for (auto [x, y, t] : p) {
            punkte.push_back({static_cast<FT_Pos>(x * 64), static_cast<FT_Pos>(y * 64)});
            tags.push_back(t);
        }
        enden.push_back(static_cast<short>(punkte.size() - 1));
    }
    FT_Outline Outline() {
        FT_Outline o{};
        o.n_points = static_cast<short>(punkte.size());
        o.n_contours = static_cast<short>(enden.size());
        o.points = punkte.data();
        o.tags = tags.data();
        o.contours = enden.data();
        return o;
    }
};

// Runs the writer twice as the converter runs the library: once to learn the size, once into
// arrays of that size.
template <typename Schreiben> int32_t ZweiPaesse(GlyphonFelder& f, Schreiben schreiben) {
    int32_t index = 1;
    GlyphonArray* keins = nullptr;
    glyphon::Strom leer(&keins, &keins, &keins, index);
    schreiben(leer);
    int32_t c = index;
    f.Dimensionieren(c);
    index = 1;
    glyphon::Strom strom(&f.pX, &f.pY, &f.pKind, index);
    schreiben(strom);
    EXPECT_EQ(index, c);
    return c;
}

int32_t UmrissSchreiben(GlyphonFelder& f, Umriss& u) {
    FT_Outline o = u.Outline();
    return ZweiPaesse(f, [&](glyphon::Strom& s) { glyphon::UmrissSchreiben(o, s); });
}

std::vector<int> Kennungen(const GlyphonFelder& f, int32_t c) {
    return {f.kindDaten.begin() + 1, f.kindDaten.begin() + c};
}

TEST(GlyphonStromTest, ContourWithoutOnCurvePointStartsBetweenLastAndFirst) {
    Umriss u;
    u.Kontur({{10, 0, QU},
              {10, 10, QU},
              {0, 10, QU},
              {-10, 10, QU},
              {-10, 0, QU},
              {-10, -10, QU},
              {0, -10, QU},
              {10, -10, QU}});
    GlyphonFelder f;
    int32_t c = UmrissSchreiben(f, u);
    // 997, start, 999, -9, 8 controls + start, 996, start.
    ASSERT_EQ(c, 1 + 4 + 9 + 2);
    EXPECT_EQ(f.kindDaten[3], 999);
    EXPECT_EQ(f.kindDaten[4], -9);
    EXPECT_EQ(f.xDaten[2], 10.0);
    EXPECT_EQ(f.yDaten[2], -5.0);
    EXPECT_EQ(f.xDaten[13], 10.0);
    EXPECT_EQ(f.yDaten[13], -5.0);
    FT_Outline o = u.Outline();
    EXPECT_LE(Abweichung(StromLesen(f, c), Zerlegen(o)), 1e-3);
}

TEST(GlyphonStromTest, MixedRunsBecomeLineAndSplineRecordsStartingAtFirstOnCurvePoint) {
    Umriss u;
    u.Kontur({{0, 5, QU},
              {0, 0, EIN},
              {20, 0, EIN},
              {30, 0, QU},
              {30, 10, QU},
              {20, 20, EIN},
              {10, 25, QU}});
    GlyphonFelder f;
    int32_t c = UmrissSchreiben(f, u);
    std::vector<int> erwartet{997, 0, 998, -1, 0, 999, -3, 0, 1, 2, 999, -3, 0, 1, 2, 996, 0};
    // Entries carrying only a point keep the zero of the fresh kind array.
    EXPECT_EQ(Kennungen(f, c), erwartet);
    EXPECT_EQ(f.xDaten[2], 0.0);
    EXPECT_EQ(f.yDaten[2], 0.0);
    // The last spline runs through the wrapped-around control to the start point.
    EXPECT_EQ(f.xDaten[14], 0.0);
    EXPECT_EQ(f.yDaten[14], 5.0);
    EXPECT_EQ(f.xDaten[15], 0.0);
    EXPECT_EQ(f.yDaten[15], 0.0);
    FT_Outline o = u.Outline();
    EXPECT_LE(Abweichung(StromLesen(f, c), Zerlegen(o)), 1e-3);
}

TEST(GlyphonStromTest, CubicsSplitIntoQuadraticsWithinOneSixtyFourth) {
    struct Fall {
        const char* name;
        double x0, y0, x1, y1, x2, y2, x3, y3;
        int hoechstens; // quadratic pieces
    };
    const Fall faelle[] = {
        {"straight, evenly spaced controls", 0, 0, 10, 0, 20, 0, 30, 0, 1},
        {"quadratic in disguise", 0, 0, 20, 40, 40, 40, 60, 0, 1},
        {"quarter circle", 0, 0, 0, 55.23, 44.77, 100, 100, 100, 8},
        {"S curve", 0, 0, 100, 0, -50, 100, 50, 100, 16},
        {"loop", 0, 0, 150, 100, -50, 100, 100, 0, 16},
        {"cusp", 0, 0, 100, 100, 0, 100, 100, 0, 16},
        {"large arc", -9000, 0, -9000, 12000, 9000, 12000, 9000, 0, 64},
    };
    for (const Fall& fall : faelle) {
        Umriss u;
        u.Kontur({{fall.x0, fall.y0, EIN},
                  {fall.x1, fall.y1, KU},
                  {fall.x2, fall.y2, KU},
                  {fall.x3, fall.y3, EIN}});
        GlyphonFelder f;
        int32_t c = UmrissSchreiben(f, u);
        std::vector<Kontur> gelesen = StromLesen(f, c);
        FT_Outline o = u.Outline();
        EXPECT_LE(Abweichung(gelesen, Zerlegen(o)), 1.0 / 64) << fall.name;
        ASSERT_EQ(gelesen.size(), 1u);
        int stuecke = 0;
        for (const Stueck& s : gelesen[0]) stuecke += s.grad == 2;
        EXPECT_GE(stuecke, 1) << fall.name;
        EXPECT_LE(stuecke, fall.hoechstens) << fall.name;
    }
}

TEST(GlyphonStromTest, CubicClosingTheContourEndsAtTheStart) {
    Umriss u;
    u.Kontur({{0, 0, EIN}, {50, 0, EIN}, {80, 40, KU}, {-30, 40, KU}});
    GlyphonFelder f;
    int32_t c = UmrissSchreiben(f, u);
    std::vector<Kontur> gelesen = StromLesen(f, c);
    ASSERT_EQ(gelesen.size(), 1u);
    // No closing line: the last piece already ends at the start point.
    EXPECT_EQ(gelesen[0].back().grad, 2);
    EXPECT_EQ(gelesen[0].back().p2.x, 0.0);
    EXPECT_EQ(gelesen[0].back().p2.y, 0.0);
    FT_Outline o = u.Outline();
    EXPECT_LE(Abweichung(gelesen, Zerlegen(o)), 1.0 / 64);
}

TEST(GlyphonStromTest, MalformedTagsGiveAReadableStream) {
    struct Fall {
        const char* name;
        Umriss u;
    };
    Fall faelle[3];
    faelle[0].name = "single cubic control";
    faelle[0].u.Kontur({{0, 0, EIN}, {10, 10, KU}, {20, 0, EIN}, {10, -10, EIN}});
    faelle[1].name = "cubic controls only";
    faelle[1].u.Kontur({{0, 0, KU}, {10, 10, KU}, {20, 0, KU}});
    faelle[2].name = "quadratic control before cubic pair";
    faelle[2].u.Kontur({{0, 0, EIN}, {5, 5, QU}, {10, 10, KU}, {20, 10, KU}, {30, 0, EIN}});
    for (Fall& fall : faelle) {
        GlyphonFelder f;
        int32_t c = UmrissSchreiben(f, fall.u);
        std::vector<Kontur> gelesen = StromLesen(f, c);
        ASSERT_EQ(gelesen.size(), 1u) << fall.name;
        EXPECT_FALSE(gelesen[0].empty()) << fall.name;
        // Whatever was read, the contour is closed.
        EXPECT_EQ(gelesen[0].back().p2.x, f.xDaten[2]) << fall.name;
        EXPECT_EQ(gelesen[0].back().p2.y, f.yDaten[2]) << fall.name;
    }
}

TEST(GlyphonStromTest, RecordsLongerThanA16BitCountAreSplit) {
    const int n = 40000;
    // A line contour: start, then n - 1 further corners and the start again.
    std::vector<FT_Vector> punkte;
    std::vector<char> tags;
    for (int i = 0; i < n; ++i) {
        punkte.push_back({i * 16, (i % 2) * 64});
        tags.push_back(EIN);
    }
    GlyphonFelder linie;
    int32_t c = ZweiPaesse(linie, [&](glyphon::Strom& s) {
        glyphon::KonturSchreiben(punkte.data(), tags.data(), 0, n - 1, s);
    });
    ASSERT_EQ(c, 1 + 2 + (2 + 32767) + (2 + n - 32767) + 2);
    EXPECT_EQ(linie.kindDaten[4], -32767);
    EXPECT_EQ(linie.kindDaten[3 + 2 + 32767 + 1], -(n - 32767));
    std::vector<Kontur> gelesen = StromLesen(linie, c);
    ASSERT_EQ(gelesen.size(), 1u);
    ASSERT_EQ(gelesen[0].size(), static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const FT_Vector& q = punkte[static_cast<size_t>((i + 1) % n)];
        ASSERT_EQ(gelesen[0][static_cast<size_t>(i)].p2.x, q.x / 64.0) << i;
        ASSERT_EQ(gelesen[0][static_cast<size_t>(i)].p2.y, q.y / 64.0) << i;
    }

    // A spline contour: one on-curve start, then n controls. The split ends the full record at
    // the implied midpoint, so the pieces are exactly those of the unsplit spline.
    for (int i = 1; i < n; ++i) tags[static_cast<size_t>(i)] = QU;
    GlyphonFelder spline;
    c = ZweiPaesse(spline, [&](glyphon::Strom& s) {
        glyphon::KonturSchreiben(punkte.data(), tags.data(), 0, n - 1, s);
    });
    EXPECT_EQ(spline.kindDaten[4], -32767);
    gelesen = StromLesen(spline, c);
    ASSERT_EQ(gelesen.size(), 1u);
    ASSERT_EQ(gelesen[0].size(), static_cast<size_t>(n - 1));
    for (int i = 1; i < n; ++i) {
        const FT_Vector& k = punkte[static_cast<size_t>(i)];
        const FT_Vector& naechster = punkte[static_cast<size_t>((i + 1) % n)];
        P ende = i + 1 < n ? P{(k.x + naechster.x) / 128.0, (k.y + naechster.y) / 128.0}
                           : P{naechster.x / 64.0, naechster.y / 64.0};
        const Stueck& s = gelesen[0][static_cast<size_t>(i - 1)];
        ASSERT_EQ(s.grad, 2) << i;
        ASSERT_EQ(s.p1.x, k.x / 64.0) << i;
        ASSERT_EQ(s.p2.x, ende.x) << i;
        ASSERT_EQ(s.p2.y, ende.y) << i;
    }
}

TEST(GlyphonStromTest, CoordinatesPassThroughSixteenDotSixteen) {
    struct Fall {
        double wert26;
        double erwartet;
    };
    const Fall faelle[] = {
        {1, 1.0 / 64},
        {-97, -97.0 / 64},
        {0.5, 1.0 / 128},
        {1.0 / 1024, 1.0 / 65536},
        {1.0 / 4096, 0.0},
        {64 * 40000.0, 2147483647.0 / 65536},
        {-64 * 40000.0, -32768.0},
    };
    for (const Fall& fall : faelle) {
        EXPECT_EQ(glyphon::Festkomma(fall.wert26), fall.erwartet) << fall.wert26;
    }
}

} // namespace
} // namespace konturo::test
