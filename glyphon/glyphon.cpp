// get_glyph_points: one glyph of a FreeType face as Glyphon's point stream.
#include "glyphon.h"
#include "GlyphonStrom.h"
#include "GlyphonZeichen.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

// The running index: one per process, so calls must not overlap.
int32_t laufIndex = 1;

// The unhinted outline at the face's pixel size (26.6 device units), or nullptr when the glyph
// is missing, has no outline or the face has no size set.
const FT_Outline* Umriss(FT_Face face, uint32_t code) {
    if (!face || !face->size || face->size->metrics.x_ppem == 0) return nullptr;
    FT_UInt index = GlyphonGlyphindex(face, code);
    if (index == 0) return nullptr;
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return nullptr;
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return nullptr;
    return &face->glyph->outline;
}

} // namespace

extern "C" int32_t get_glyph_points(void* dc, uint32_t code, GlyphonArray** blank, GlyphonArray** x,
                                    GlyphonArray** y, GlyphonArray** kind) {
    glyphon::LeerKopieren(blank, x);
    glyphon::LeerKopieren(blank, y);
    laufIndex = 1;
    if (const FT_Outline* umriss = Umriss(static_cast<FT_Face>(dc), code)) {
        glyphon::Strom strom(x, y, kind, laufIndex);
        glyphon::UmrissSchreiben(*umriss, strom);
    }
    return laufIndex;
}
