// The economy fitting over every glyph of three fonts (Liberation Sans and DejaVu Sans with
// TrueType quadratics, URW's Nimbus Sans with CFF cubics) at a text height of 100 mm, checked
// against FreeType's own outline: the largest deviation in either direction, contours whose
// elements do not close, and elements other than lines, arcs and circles. A glyph outside the
// bound or with an open end fails the benchmark.
#include "FreetypeUmriss.h"

#include "geometry/Abweichung.h"
#include "text/Sparfitting.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace konturo;

// The em in millimetres at a text height of 100 (Liberation Sans' ascent 133 mm).
constexpr double EmMm = 147;
constexpr double MaxAbweichung = 0.1;

void BM_JedeGlyphe(benchmark::State& state, const char* datei) {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&lib) != 0 || FT_New_Face(lib, datei, 0, &face) != 0) {
        state.SkipWithError((std::string("cannot open ") + datei).c_str());
        return;
    }
    Sparparameter p;
    p.MaxAbweichung = MaxAbweichung;
    double groesste = 0;
    std::int64_t glyphen = 0, elemente = 0, offen = 0, fremd = 0;
    std::string schlechteste;
    for (auto _ : state) {
        groesste = 0;
        glyphen = elemente = offen = fremd = 0;
        for (FT_Long g = 0; g < face->num_glyphs; ++g) {
            const Umriss u = test::GlyphUmriss(face, static_cast<FT_ULong>(g), EmMm, true);
            if (u.Leer()) continue;
            ++glyphen;
            for (const UmrissKontur& k : u.Konturen) {
                std::vector<GeoElement> el;
                SparKonturFitten(k, p, el);
                std::vector<const GeoElement*> zeiger;
                for (const GeoElement& e : el) {
                    if (e.Typ != Linie && e.Typ != Bogen && e.Typ != Kreis) ++fremd;
                    zeiger.push_back(&e);
                }
                const bool zu = !el.empty() && test::Geschlossen(el);
                if (!zu) ++offen;
                const double d = KonturAbweichung(k, zeiger);
                if (!zu || d > MaxAbweichung)
                    std::fprintf(stderr,
                                 "glyph %ld contour %d: %zu pieces, %zu elements, %s, %.4f mm\n",
                                 static_cast<long>(g), k.KonturNr, k.Stuecke.size(), el.size(),
                                 zu ? "closed" : "open", d);
                if (d > groesste) {
                    groesste = d;
                    schlechteste = "glyph " + std::to_string(g);
                }
                elemente += static_cast<std::int64_t>(el.size());
            }
        }
    }
    state.counters["Glyphen"] = static_cast<double>(glyphen);
    state.counters["ElementeJeGlyphe"] =
        static_cast<double>(elemente) / std::max<std::int64_t>(glyphen, 1);
    state.counters["MaxAbweichung_mm"] = groesste;
    state.counters["OffeneKonturen"] = static_cast<double>(offen);
    state.counters["FremdeElemente"] = static_cast<double>(fremd);
    if (groesste > MaxAbweichung || offen > 0 || fremd > 0)
        state.SkipWithError(("bound broken or open contour, worst: " + schlechteste).c_str());
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
}
BENCHMARK_CAPTURE(BM_JedeGlyphe, LiberationSans,
                  "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf")
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_JedeGlyphe, DejaVuSans, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_JedeGlyphe, NimbusSans,
                  "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf")
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
