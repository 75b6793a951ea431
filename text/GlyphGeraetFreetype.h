// The glyph device context on Linux: fonts found through fontconfig (with its substitutions, so
// "Arial" resolves to a metric-compatible font), opened and measured with FreeType.
#pragma once

#include "text/GlyphGeraet.h"

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace konturo {

// Largest em in pixels a font is set to. Larger ems would push glyph coordinates past the 16.16
// fixed-point range of the glyph stream (±32768 device units).
constexpr int MaxEmPixel = 16384;

// The em in pixels for a size in points at 96 dpi: round(groesse × 96 / 72), at least 1 and at
// most MaxEmPixel.
int EmPixel(double groesse);

class GlyphGeraetFreetype : public GlyphGeraet {
public:
    GlyphGeraetFreetype();
    ~GlyphGeraetFreetype() override;
    GlyphGeraetFreetype(const GlyphGeraetFreetype&) = delete;
    GlyphGeraetFreetype& operator=(const GlyphGeraetFreetype&) = delete;

    // fontconfig's best outline font for the family, weight and slant, at em = EmPixel(groesse).
    // False (the previous font stays selected) when groesse is not positive or no font at all
    // can be opened.
    bool SchriftWaehlen(const std::string& name, double groesse, bool fett, bool kursiv) override;
    bool Vorhanden(const std::string& name) override;
    // Unhinted widths in device units: A = left side bearing, B = ink width, C = advance - A - B.
    // A character the font lacks is measured as the font's missing-glyph box; a glyph without
    // ink has A = B = 0.
    AbcBreiten Breiten(char32_t zeichen) override;
    // Ascent = usWinAscent, Height = usWinAscent + usWinDescent (OS/2 table), scaled to the em;
    // without an OS/2 table the horizontal header's ascender and descender.
    Textmetrik Metrik() override;
    // The selected FT_Face (pixel size set), or nullptr before the first successful selection.
    void* Handle() override;

    // The selected font's file and em in pixels (empty and 0 before the first selection).
    const std::string& SchriftDatei() const { return datei_; }
    int Em() const { return em_; }

private:
    struct BibliothekFreigeben {
        void operator()(FT_LibraryRec_* bibliothek) const;
    };
    struct GesichtFreigeben {
        void operator()(FT_FaceRec_* gesicht) const;
    };
    struct Schrift {
        FT_FaceRec_* gesicht = nullptr;
        std::string datei;
    };

    Schrift Suchen(const std::string& name, bool fett, bool kursiv);
    FT_FaceRec_* Oeffnen(const std::string& datei, int index);

    // Declared before the faces so that the faces are released first.
    std::unique_ptr<FT_LibraryRec_, BibliothekFreigeben> bibliothek_;
    std::map<std::pair<std::string, int>, std::unique_ptr<FT_FaceRec_, GesichtFreigeben>>
        gesichter_;
    // Faces already found for (name, bold, italic): fontconfig is asked once per style.
    std::map<std::tuple<std::string, bool, bool>, Schrift> gefunden_;
    FT_FaceRec_* aktuell_ = nullptr;
    std::string datei_;
    int em_ = 0;
};

// True when fontconfig's best match for name is a font of that family, or of a family that the
// name is bound to strongly by an alias ("Arial" -> "Liberation Sans"); false when only a
// fallback (any sans-serif font) would stand in.
bool SchriftVorhanden(const std::string& name);

// The family names of the installed outline fonts, sorted (ignoring case), each once.
std::vector<std::string> SkalierbareSchriften();

} // namespace konturo
