// Binding of the Glyphon library by name at the first glyph request.
#pragma once

#include "glyphon/glyphon.h"

#include <mutex>
#include <string>

namespace konturo {

// The library's get_glyph_points, loaded at the first call: libglyphon.so from the program's own
// folder first, then by name through the library search path. nullptr when it cannot be bound
// (the caller then shows language text 125).
GlyphonFunktion GlyphonBinden();

// Calls of get_glyph_points must not overlap: whoever calls it holds this lock.
std::mutex& GlyphonSperre();

// The folder of the running program (without trailing "/").
std::string ProgrammOrdner();

} // namespace konturo
