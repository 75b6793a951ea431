// Text layout and conversion: walks the text source character by character, places each glyph's
// approximated outline on the pen position and advances the pen; then removes duplicates, adds
// the frame and mirrors when asked.
#pragma once

#include <cstdint>

namespace konturo {

struct Sitzung;
struct Speicher;
class GlyphGeraet;

// Converts s.textquelle into the element store through s.glyphGeraet (a FreeType device is
// created on demand when none is set). An empty text leaves the store untouched, and so does a
// text in a font that is not installed (language text 89 with its name).
void TextUmwandeln(Sitzung& s);

// Converts one character whose font is already selected in the device: measures it, reads and
// approximates its outline at the pen and advances the pen by its widths plus the tracking.
void ZeichenUmwandeln(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen);

// Device units a tab advances the pen (no tracking).
inline constexpr double TabBreite = 300.0;

// Two elements of one kind are duplicates when every compared field differs by less than this.
inline constexpr double DuplikatAbstand = 0.01;

// Marks duplicate elements as removed (kind 0): of each group of elements of one kind whose
// compared fields (line: both ends in their direction; arc: centre, angles, radius; circle:
// centre, radius) all differ by less than DuplikatAbstand, the later ones in store order survive
// exactly as under DoppelteEntfernenQuadratisch, found through a grid of the centres / start
// points instead of comparing every pair.
void DoppelteEntfernen(Speicher& sp);

// The literal definition: for each element in order, compare it with every other element of the
// same kind; at the first duplicate it is removed. Quadratic; the reference for the fast one.
void DoppelteEntfernenQuadratisch(Speicher& sp);

} // namespace konturo
