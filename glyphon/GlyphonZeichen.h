/* The glyph of a character code, as Glyphon and the converter's measuring font both look it up:
 * through the Unicode map, else through a Windows symbol map, whose fonts keep their single-byte
 * codes at U+F000 + code. Header-only so that the library links against nothing of the converter. */
#ifndef GLYPHON_ZEICHEN_H
#define GLYPHON_ZEICHEN_H

#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdint.h>

static inline FT_UInt GlyphonGlyphindex(FT_Face face, uint32_t code) {
    if ((face->charmap && face->charmap->encoding == FT_ENCODING_UNICODE) ||
        FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) {
        return FT_Get_Char_Index(face, code);
    }
    if (FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0) {
        FT_UInt index = FT_Get_Char_Index(face, code);
        if (index == 0 && code <= 0xFF) index = FT_Get_Char_Index(face, 0xF000 + code);
        return index;
    }
    return face->charmap ? FT_Get_Char_Index(face, code) : 0;
}

#endif
