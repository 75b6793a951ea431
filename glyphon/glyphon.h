/* Glyphon: the outline of one glyph of a TrueType font as a stream of numbered points.
 *
 * The caller owns the arrays. get_glyph_points copies blank into x and y, then writes the stream
 * from index 1 on: 997 contour start, the start point, per record 998 (line) or 999 (quadratic
 * spline), minus the point count, the points (kind = position in the record), 996 contour end and
 * the start point again. A store outside an array's bounds, or into an array without data, is
 * skipped while the index still advances, so the result (the index after the last entry) is the
 * same whatever arrays were passed: call once to learn the size, size the arrays 0..result, call
 * again to fill them. Calls must not overlap (one static running index). */
#ifndef GLYPHON_H
#define GLYPHON_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Element types of a GlyphonArray. */
#define GLYPHON_I2 2 /* int16_t */
#define GLYPHON_R8 5 /* double */

/* A one-dimensional array with bounds, the counterpart of a safe array. */
typedef struct GlyphonArray {
    int32_t untergrenze; /* lower bound */
    int32_t obergrenze;  /* upper bound (inclusive) */
    int32_t elementTyp;  /* GLYPHON_I2 or GLYPHON_R8 */
    void* daten;         /* obergrenze - untergrenze + 1 elements, or NULL */
} GlyphonArray;

/* dc: an FT_Face whose pixel size the caller has set (the measuring font).
 * code: the character's Unicode code point. */
__attribute__((visibility("default"))) int32_t get_glyph_points(void* dc, uint32_t code,
                                                                GlyphonArray** blank,
                                                                GlyphonArray** x, GlyphonArray** y,
                                                                GlyphonArray** kind);

typedef int32_t (*GlyphonFunktion)(void*, uint32_t, GlyphonArray**, GlyphonArray**, GlyphonArray**,
                                   GlyphonArray**);

#ifdef __cplusplus
}
#endif

#endif
