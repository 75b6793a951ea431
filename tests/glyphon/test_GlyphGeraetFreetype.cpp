// The fontconfig + FreeType glyph device context: font substitution, the em rule, A/B/C widths and
// text metrics against the font's own tables, and the font lists.
#include "text/GlyphGeraetFreetype.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_TRUETYPE_TABLES_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

namespace konturo::test {
namespace {

std::string Dateiname(const std::string& pfad) { return std::filesystem::path(pfad).filename(); }

// The selected font opened a second time, unscaled: its values in font units.
class Rohschrift {
public:
    explicit Rohschrift(const std::string& datei) {
        FT_Init_FreeType(&lib_);
        EXPECT_EQ(FT_New_Face(lib_, datei.c_str(), 0, &face_), 0) << datei;
    }
    ~Rohschrift() {
        if (face_) FT_Done_Face(face_);
        FT_Done_FreeType(lib_);
    }
    FT_Face face() const { return face_; }

private:
    FT_Library lib_ = nullptr;
    FT_Face face_ = nullptr;
};

TEST(GlyphGeraetFreetypeTest, NamesResolveThroughFontconfigSubstitution) {
    struct Fall {
        const char* name;
        bool fett, kursiv;
        const char* datei;
    };
    const Fall faelle[] = {
        {"Arial", false, false, "LiberationSans-Regular.ttf"},
        {"Arial", true, false, "LiberationSans-Bold.ttf"},
        {"Arial", false, true, "LiberationSans-Italic.ttf"},
        {"Arial", true, true, "LiberationSans-BoldItalic.ttf"},
        {"Times New Roman", false, false, "LiberationSerif-Regular.ttf"},
        {"Courier New", true, false, "LiberationMono-Bold.ttf"},
        {"liberation sans", false, false, "LiberationSans-Regular.ttf"},
    };
    GlyphGeraetFreetype geraet;
    for (const Fall& fall : faelle) {
        ASSERT_TRUE(geraet.SchriftWaehlen(fall.name, 120, fall.fett, fall.kursiv)) << fall.name;
        EXPECT_EQ(Dateiname(geraet.SchriftDatei()), fall.datei)
            << fall.name << (fall.fett ? " bold" : "") << (fall.kursiv ? " italic" : "");
        EXPECT_NE(geraet.Handle(), nullptr);
    }
}

TEST(GlyphGeraetFreetypeTest, PresenceCountsStrongAliasesButNotFallbacks) {
    struct Fall {
        const char* name;
        bool vorhanden;
    };
    const Fall faelle[] = {
        {"Liberation Sans", true},
        {"Arial", true},
        {"ARIAL", true},
        {"Helvetica", true},
        {"DejaVu Sans", true},
        {"NoSuchFont123", false},
        {"", false},
        {"Wingdings Fantasy", false},
    };
    for (const Fall& fall : faelle) {
        EXPECT_EQ(SchriftVorhanden(fall.name), fall.vorhanden) << "'" << fall.name << "'";
    }
    // A missing font still selects a substitute: the conversion never runs without a font.
    GlyphGeraetFreetype geraet;
    EXPECT_TRUE(geraet.SchriftWaehlen("NoSuchFont123", 120, false, false));
    EXPECT_NE(geraet.Handle(), nullptr);
}

TEST(GlyphGeraetFreetypeTest, EmIsTheRoundedPixelSizeAt96Dpi) {
    struct Fall {
        double groesse;
        int em;
    };
    const Fall faelle[] = {{240, 320}, {120, 160}, {100, 133},       {105, 140},
                           {7.5, 10},  {0.2, 1},   {1e9, MaxEmPixel}};
    for (const Fall& fall : faelle) EXPECT_EQ(EmPixel(fall.groesse), fall.em) << fall.groesse;

    GlyphGeraetFreetype geraet;
    ASSERT_TRUE(geraet.SchriftWaehlen("Liberation Sans", 240, false, false));
    auto* face = static_cast<FT_Face>(geraet.Handle());
    EXPECT_EQ(face->size->metrics.x_ppem, 320);
    EXPECT_EQ(face->size->metrics.y_ppem, 320);
    // The same face at another size is reset, not left at the previous one.
    ASSERT_TRUE(geraet.SchriftWaehlen("Liberation Sans", 105, false, false));
    EXPECT_EQ(geraet.Handle(), face);
    EXPECT_EQ(face->size->metrics.y_ppem, 140);
    EXPECT_EQ(geraet.Em(), 140);
}

TEST(GlyphGeraetFreetypeTest, InvalidSizeKeepsThePreviousFont) {
    GlyphGeraetFreetype geraet;
    EXPECT_EQ(geraet.Handle(), nullptr);
    EXPECT_DOUBLE_EQ(geraet.Metrik().Ascent, 0.0);
    EXPECT_DOUBLE_EQ(geraet.Breiten(U'A').B, 0.0);
    ASSERT_TRUE(geraet.SchriftWaehlen("Liberation Sans", 240, false, false));
    void* vorher = geraet.Handle();
    for (double groesse : {0.0, -12.0, std::nan("")}) {
        EXPECT_FALSE(geraet.SchriftWaehlen("DejaVu Serif", groesse, false, false)) << groesse;
        EXPECT_EQ(geraet.Handle(), vorher);
        EXPECT_EQ(geraet.Em(), 320);
    }
}

TEST(GlyphGeraetFreetypeTest, WidthsMatchTheFontsUnscaledMetrics) {
    for (const char* name : {"Liberation Sans", "Liberation Serif", "Nimbus Sans"}) {
        GlyphGeraetFreetype geraet;
        ASSERT_TRUE(geraet.SchriftWaehlen(name, 240, false, false));
        Rohschrift roh(geraet.SchriftDatei());
        FT_Face f = roh.face();
        ASSERT_NE(f, nullptr);
        double skala = 320.0 / f->units_per_EM;
        for (char32_t z : {U'A', U'g', U'ä', U'ß', U'j', U'W', U'1'}) {
            ASSERT_EQ(FT_Load_Char(f, z, FT_LOAD_NO_SCALE), 0);
            FT_BBox box;
            FT_Outline_Get_BBox(&f->glyph->outline, &box);
            double vorschub = f->glyph->metrics.horiAdvance * skala;
            AbcBreiten abc = geraet.Breiten(z);
            std::string fall = std::string(name) + " U+" + std::to_string(uint32_t(z));
            // The scaled outline and advance are rounded to 1/64 device unit.
            EXPECT_NEAR(abc.A, box.xMin * skala, 1.0 / 64) << fall;
            EXPECT_NEAR(abc.B, (box.xMax - box.xMin) * skala, 1.0 / 64) << fall;
            EXPECT_NEAR(abc.A + abc.B + abc.C, vorschub, 1.0 / 64) << fall;
            EXPECT_GT(abc.B, 0) << fall;
        }
        // No ink: the advance lies entirely in C.
        ASSERT_EQ(FT_Load_Char(f, U' ', FT_LOAD_NO_SCALE), 0);
        AbcBreiten leer = geraet.Breiten(U' ');
        EXPECT_EQ(leer.A, 0.0) << name;
        EXPECT_EQ(leer.B, 0.0) << name;
        EXPECT_NEAR(leer.C, f->glyph->metrics.horiAdvance * skala, 1.0 / 64) << name;
        // A character the font lacks advances like its missing-glyph box.
        ASSERT_EQ(FT_Load_Glyph(f, 0, FT_LOAD_NO_SCALE), 0);
        AbcBreiten fehlt = geraet.Breiten(0x10FFFD);
        EXPECT_NEAR(fehlt.A + fehlt.B + fehlt.C, f->glyph->metrics.horiAdvance * skala, 1.0 / 64)
            << name;
    }
}

TEST(GlyphGeraetFreetypeTest, MetricsComeFromTheWindowsAscentAndDescent) {
    for (const char* name : {"Liberation Sans", "DejaVu Serif", "Nimbus Roman", "Arial"}) {
        for (double groesse : {240.0, 105.0}) {
            GlyphGeraetFreetype geraet;
            ASSERT_TRUE(geraet.SchriftWaehlen(name, groesse, false, false));
            Rohschrift roh(geraet.SchriftDatei());
            FT_Face f = roh.face();
            ASSERT_NE(f, nullptr);
            double skala = EmPixel(groesse) / double(f->units_per_EM);
            auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
            double oben = os2 ? os2->usWinAscent : f->ascender;
            double unten = os2 ? os2->usWinDescent : -f->descender;
            Textmetrik m = geraet.Metrik();
            std::string fall = std::string(name) + " " + std::to_string(groesse) + " " +
                               Dateiname(geraet.SchriftDatei());
            EXPECT_DOUBLE_EQ(m.Ascent, oben * skala) << fall;
            EXPECT_DOUBLE_EQ(m.Height, (oben + unten) * skala) << fall;
        }
    }
    // Liberation Sans: usWinAscent 1854, usWinDescent 434 of 2048 units, at an em of 320.
    GlyphGeraetFreetype geraet;
    ASSERT_TRUE(geraet.SchriftWaehlen("Arial", 240, false, false));
    EXPECT_DOUBLE_EQ(geraet.Metrik().Ascent, 1854 * 320 / 2048.0);
    EXPECT_DOUBLE_EQ(geraet.Metrik().Height, (1854 + 434) * 320 / 2048.0);
}

TEST(GlyphGeraetFreetypeTest, ScalableFontListIsSortedAndUnique) {
    std::vector<std::string> namen = SkalierbareSchriften();
    auto klein = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    for (const char* erwartet : {"Liberation Sans", "Liberation Mono", "DejaVu Sans"}) {
        EXPECT_NE(std::find(namen.begin(), namen.end(), erwartet), namen.end()) << erwartet;
    }
    for (size_t i = 1; i < namen.size(); ++i) {
        EXPECT_LE(klein(namen[i - 1]), klein(namen[i])) << namen[i - 1] << " / " << namen[i];
        EXPECT_NE(namen[i - 1], namen[i]);
    }
}

} // namespace
} // namespace konturo::test
