// Glyphon through its exported entry, bound by name as the converter binds it: the stream layout,
// the caller-owned arrays, and curves that read back onto the font's own outline.
#include "GlyphonPruefung.h"
#include "text/GlyphGeraetFreetype.h"
#include "text/GlyphonBindung.h"

#include <fontconfig/fontconfig.h>

#include <filesystem>
#include <memory>

namespace konturo::test {
namespace {

struct Lib {
    FT_Library lib = nullptr;
    Lib() { FT_Init_FreeType(&lib); }
    ~Lib() { FT_Done_FreeType(lib); }
};

class GlyphonTest : public ::testing::Test {
protected:
    void SetUp() override {
        glyphon = GlyphonBinden();
        ASSERT_NE(glyphon, nullptr) << "libglyphon.so beside the test program";
        ASSERT_TRUE(geraet.SchriftWaehlen("Liberation Sans", 240, false, false));
        face = static_cast<FT_Face>(geraet.Handle());
    }

    GlyphonFunktion glyphon = nullptr;
    GlyphGeraetFreetype geraet;
    FT_Face face = nullptr;
};

TEST_F(GlyphonTest, LineOnlyGlyphIsOneLineRecordClosedBackToTheStart) {
    for (char32_t zeichen : {U'I', U'T', U'L', U'-'}) {
        SCOPED_TRACE(static_cast<char>(zeichen));
        ASSERT_EQ(FT_Load_Char(face, zeichen, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP), 0);
        const FT_Outline& o = face->glyph->outline;
        ASSERT_EQ(o.n_contours, 1) << "test glyph must have one contour";
        for (int i = 0; i < o.n_points; ++i)
            ASSERT_EQ(FT_CURVE_TAG(o.tags[i]), FT_CURVE_TAG_ON) << "lines only";
        const std::vector<FT_Vector> punkte(o.points, o.points + o.n_points); // the call reloads
        const int n = o.n_points;

        GlyphonFelder f;
        int32_t c = f.ZweiPaesse(glyphon, face, zeichen);
        ASSERT_EQ(c, n + 7);
        auto X = [&](int i) { return f.xDaten[static_cast<size_t>(i)]; };
        auto Y = [&](int i) { return f.yDaten[static_cast<size_t>(i)]; };
        auto K = [&](int i) { return f.kindDaten[static_cast<size_t>(i)]; };
        EXPECT_EQ(K(1), 997);
        EXPECT_EQ(X(2), punkte[0].x / 64.0);
        EXPECT_EQ(Y(2), punkte[0].y / 64.0);
        EXPECT_EQ(K(3), 998);
        EXPECT_EQ(K(4), -n);
        // The record runs over the other corners and ends back at the start point.
        for (int j = 0; j < n; ++j) {
            const FT_Vector& q = punkte[static_cast<size_t>((j + 1) % n)];
            EXPECT_EQ(K(5 + j), j) << "point " << j;
            EXPECT_EQ(X(5 + j), q.x / 64.0) << "point " << j;
            EXPECT_EQ(Y(5 + j), q.y / 64.0) << "point " << j;
        }
        EXPECT_EQ(K(5 + n), 996);
        EXPECT_EQ(X(6 + n), X(2));
        EXPECT_EQ(Y(6 + n), Y(2));
        // Index 0 and the index of the result are never written.
        EXPECT_EQ(K(0), 0);
        EXPECT_EQ(K(c), 0);
    }
}

TEST_F(GlyphonTest, GlyphWithoutOutlineGivesOneAndClearsOnlyXAndY) {
    struct Fall {
        const char* name;
        void* dc;
        uint32_t code;
    };
    const Fall faelle[] = {
        {"space", face, U' '},
        {"no-break space", face, 0xA0},
        {"character the font lacks", face, 0x10FFFD},
        {"no device context", nullptr, U'A'},
    };
    for (const Fall& fall : faelle) {
        GlyphonFelder f;
        f.Dimensionieren(9);
        std::fill(f.xDaten.begin(), f.xDaten.end(), 3.5);
        std::fill(f.yDaten.begin(), f.yDaten.end(), -2.0);
        std::fill(f.kindDaten.begin(), f.kindDaten.end(), int16_t{77});
        EXPECT_EQ(f.Aufruf(glyphon, fall.dc, fall.code), 1) << fall.name;
        for (size_t i = 0; i < f.xDaten.size(); ++i) {
            EXPECT_EQ(f.xDaten[i], 0.0) << fall.name << " x[" << i << "]";
            EXPECT_EQ(f.yDaten[i], 0.0) << fall.name << " y[" << i << "]";
            EXPECT_EQ(f.kindDaten[i], 77) << fall.name << " kind[" << i << "]";
        }
    }
}

TEST_F(GlyphonTest, ResultIsTheSameWhateverArraysArePassed) {
    GlyphonFelder voll;
    int32_t c = voll.ZweiPaesse(glyphon, face, U'g');
    ASSERT_GT(c, 20);

    // Unallocated arrays, and no arrays at all.
    GlyphonFelder leer;
    EXPECT_EQ(leer.Aufruf(glyphon, face, U'g'), c);
    EXPECT_EQ(glyphon(face, U'g', nullptr, nullptr, nullptr, nullptr), c);

    // Too small: only indices inside the bounds are written, and the same values as in full.
    GlyphonFelder klein;
    klein.Dimensionieren(10);
    EXPECT_EQ(klein.Aufruf(glyphon, face, U'g'), c);
    for (size_t i = 0; i <= 10; ++i) {
        EXPECT_EQ(klein.kindDaten[i], voll.kindDaten[i]) << i;
        EXPECT_EQ(klein.xDaten[i], voll.xDaten[i]) << i;
    }

    // Arrays of the wrong element type are not written to.
    GlyphonFelder falsch;
    falsch.Dimensionieren(c);
    falsch.kind.elementTyp = GLYPHON_R8;
    falsch.x.elementTyp = GLYPHON_I2;
    EXPECT_EQ(falsch.Aufruf(glyphon, face, U'g'), c);
    EXPECT_TRUE(std::all_of(falsch.kindDaten.begin(), falsch.kindDaten.end(),
                            [](int16_t k) { return k == 0; }));
    EXPECT_TRUE(
        std::all_of(falsch.xDaten.begin(), falsch.xDaten.end(), [](double v) { return v == 0; }));
    EXPECT_EQ(falsch.yDaten, voll.yDaten);
}

TEST_F(GlyphonTest, BlankWithOtherBoundsIsNotCopied) {
    GlyphonFelder voll;
    int32_t c = voll.ZweiPaesse(glyphon, face, U'o');
    GlyphonFelder f;
    f.Dimensionieren(c);
    std::fill(f.xDaten.begin(), f.xDaten.end(), 5.0);
    f.leer.obergrenze = c - 1;
    EXPECT_EQ(f.Aufruf(glyphon, face, U'o'), c);
    // Entry 1 (the 997 marker) carries no point: it keeps what the array held.
    EXPECT_EQ(f.xDaten[1], 5.0);
    EXPECT_EQ(f.xDaten[0], 5.0);
    EXPECT_EQ(f.xDaten[2], voll.xDaten[2]);
}

// The stream read back as the converter reads it (which checks every record's layout: negative
// count, points numbered from 0) lies on FreeType's own decomposition of the outline: exactly for
// quadratic fonts (up to sampling), within 1/64 device unit for cubic ones.
void RekonstruktionPruefen(GlyphonFunktion glyphon, FT_Face face, const std::u32string& zeichen,
                           double toleranz, const std::string& schrift) {
    for (char32_t z : zeichen) {
        SCOPED_TRACE(schrift + " U+" + std::to_string(static_cast<uint32_t>(z)));
        GlyphonFelder f;
        int32_t c = f.ZweiPaesse(glyphon, face, z);
        std::vector<Kontur> gelesen = StromLesen(f, c);
        ASSERT_EQ(
            FT_Load_Glyph(face, FT_Get_Char_Index(face, z), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP),
            0);
        std::vector<Kontur> referenz = Zerlegen(face->glyph->outline);
        ASSERT_EQ(gelesen.size(), static_cast<size_t>(face->glyph->outline.n_contours));
        ASSERT_FALSE(referenz.empty());
        EXPECT_LE(Abweichung(gelesen, referenz), toleranz);
    }
}

TEST_F(GlyphonTest, QuadraticOutlinesReadBackExactly) {
    // Quadratic pieces pass through unchanged: only rounding remains.
    RekonstruktionPruefen(glyphon, face, U"OgßäS@&8QaB%", 1e-6, "Liberation Sans 320 px");
    ASSERT_TRUE(geraet.SchriftWaehlen("DejaVu Serif", 30, true, true));
    RekonstruktionPruefen(glyphon, static_cast<FT_Face>(geraet.Handle()), U"Ogßä", 1e-6,
                          "DejaVu Serif bold italic 40 px");
}

// The first installed font of a format, opened directly.
std::string SchriftMitFormat(const char* format) {
    FcPattern* muster = FcPatternCreate();
    FcPatternAddString(muster, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>(format));
    FcObjectSet* objekte = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* satz = FcFontList(nullptr, muster, objekte);
    std::string datei;
    FcChar8* pfad = nullptr;
    for (int i = 0; satz && i < satz->nfont && datei.empty(); ++i) {
        if (FcPatternGetString(satz->fonts[i], FC_FILE, 0, &pfad) == FcResultMatch) {
            datei = reinterpret_cast<const char*>(pfad);
        }
    }
    if (satz) FcFontSetDestroy(satz);
    FcObjectSetDestroy(objekte);
    FcPatternDestroy(muster);
    return datei;
}

TEST_F(GlyphonTest, CubicOutlinesReadBackWithinOneSixtyFourth) {
    int geprueft = 0;
    for (const char* format : {"CFF", "Type 1"}) {
        std::string datei = SchriftMitFormat(format);
        if (datei.empty()) continue;
        Lib lib;
        FT_Face kubisch = nullptr;
        ASSERT_EQ(FT_New_Face(lib.lib, datei.c_str(), 0, &kubisch), 0) << datei;
        ASSERT_EQ(FT_Set_Pixel_Sizes(kubisch, 320, 320), 0);
        RekonstruktionPruefen(glyphon, kubisch, U"OgßäS", 1.0 / 64, datei);
        // Small sizes too: there a single quadratic usually suffices per cubic.
        ASSERT_EQ(FT_Set_Pixel_Sizes(kubisch, 13, 13), 0);
        RekonstruktionPruefen(glyphon, kubisch, U"Og", 1.0 / 64, datei);
        FT_Done_Face(kubisch);
        ++geprueft;
    }
    if (geprueft == 0) GTEST_SKIP() << "no CFF or Type 1 font installed";
}

TEST(GlyphonBindungTest, BindsFromTheProgramFolderOnce) {
    EXPECT_EQ(std::filesystem::path(ProgrammOrdner()), std::filesystem::path(KONTURO_BIN));
    GlyphonFunktion f = GlyphonBinden();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(GlyphonBinden(), f);
}

} // namespace
} // namespace konturo::test
