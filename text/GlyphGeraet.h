// The glyph device context seam: select a font by name, size, bold and italic, measure characters
// and hand the font to the glyph library.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace konturo {

struct AbcBreiten {
    double A = 0; // left side bearing
    double B = 0; // black box width
    double C = 0; // advance - A - B
};

struct Textmetrik {
    double Ascent = 0;
    double Height = 0;
};

class GlyphGeraet {
public:
    virtual ~GlyphGeraet() = default;
    // Selects a font; groesse is the size in points the converter asks for (ten times the
    // character's point size). False when no font could be found or opened.
    virtual bool SchriftWaehlen(const std::string& name, double groesse, bool fett,
                                bool kursiv) = 0;
    // Whether a font of that family is installed; SchriftWaehlen would otherwise stand in
    // another font for it.
    virtual bool Vorhanden(const std::string& /*name*/) { return true; }
    virtual AbcBreiten Breiten(char32_t zeichen) = 0;
    virtual Textmetrik Metrik() = 0;
    // The handle handed to the glyph library as its device context (an FT_Face whose pixel size
    // is set), or nullptr when no font is selected.
    virtual void* Handle() = 0;
};

} // namespace konturo
