// Shared by tests and benchmarks of the economy fitting: FreeType's own outline of a glyph as a
// true outline, and whether a contour's elements close.
#pragma once

#include "geometry/Umriss.h"
#include "geometry/Variablen.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <limits>
#include <vector>

namespace konturo::test {

struct Sammler {
    Umriss* u;
    double mm;
    int nr = 0;
    P2 Punkt(const FT_Vector* v) const { return {v->x * mm, v->y * mm}; }
};

// The outline of a glyph as FreeType decomposes it, emMm millimetres to the em; by character, or
// by glyph index when index is set.
inline Umriss GlyphUmriss(FT_Face face, FT_ULong zeichen, double emMm, bool index = false) {
    Umriss u;
    const FT_Int32 laden = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING;
    if ((index ? FT_Load_Glyph(face, static_cast<FT_UInt>(zeichen), laden)
               : FT_Load_Char(face, zeichen, laden)) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return u;
    Sammler s{&u, emMm / face->units_per_EM};
    FT_Outline_Funcs f{};
    f.move_to = [](const FT_Vector* to, void* p) {
        auto* s = static_cast<Sammler*>(p);
        s->u->Beginnen(++s->nr, s->Punkt(to));
        return 0;
    };
    f.line_to = [](const FT_Vector* to, void* p) {
        auto* s = static_cast<Sammler*>(p);
        s->u->Linie(s->Punkt(to));
        return 0;
    };
    f.conic_to = [](const FT_Vector* c, const FT_Vector* to, void* p) {
        auto* s = static_cast<Sammler*>(p);
        s->u->Quadratisch(s->Punkt(c), s->Punkt(to));
        return 0;
    };
    f.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* p) {
        auto* s = static_cast<Sammler*>(p);
        s->u->Kubisch(s->Punkt(c1), s->Punkt(c2), s->Punkt(to));
        return 0;
    };
    FT_Outline_Decompose(&face->glyph->outline, &f, &s);
    u.Schliessen();
    return u;
}

inline P2 Anfang(const GeoElement& e) {
    return e.Typ == Linie ? P2{e.X1, e.Y1} : P2{BogenStartX(e), BogenStartY(e)};
}
inline P2 Ende(const GeoElement& e) {
    return e.Typ == Linie ? P2{e.X2, e.Y2} : P2{BogenEndeX(e), BogenEndeY(e)};
}

// Every element end meets an end of the next one (in either direction), round the contour.
inline bool Geschlossen(const std::vector<GeoElement>& el) {
    if (el.size() == 1) return el[0].Typ == Kreis;
    for (std::size_t i = 0; i < el.size(); ++i) {
        const GeoElement& a = el[i];
        const GeoElement& b = el[(i + 1) % el.size()];
        double best = std::numeric_limits<double>::infinity();
        for (P2 p : {Anfang(a), Ende(a)})
            for (P2 q : {Anfang(b), Ende(b)}) best = std::min(best, Laenge(p - q));
        if (best > 1e-6) return false;
    }
    return true;
}

} // namespace konturo::test
