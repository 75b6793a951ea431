// GEO writer speed: 1,000,000 elements in closed contours of 50 to 5,000 elements, so the point
// search window (10 x the longest contour) is 50,000 points. Target: under 2 s. The literal
// newest-first search is measured on 100,000 elements for comparison.
#include "BenchHilfe.h"
#include "output/GEO_Ausgeben.h"

#include <benchmark/benchmark.h>

namespace konturo::bench {
namespace {

Sitzung& KonturSitzung(std::int32_t anzahl) {
    static std::map<std::int32_t, std::unique_ptr<Sitzung>> sitzungen;
    auto& s = sitzungen[anzahl];
    if (!s) {
        s = std::make_unique<Sitzung>();
        s->text.MaxKonturLaenge = KonturSpeicher(*s, anzahl, 50, 5000, 7);
    }
    return *s;
}

void GeoSchreibenGanz(benchmark::State& state) {
    Sitzung& s = KonturSitzung(static_cast<std::int32_t>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        ZaehlPuffer puffer;
        std::ostream aus(&puffer);
        GeoSchreiben(s, aus);
        bytes = puffer.bytes;
    }
    state.SetItemsProcessed(state.iterations() * s.speicher.ElementAnzahl());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["Fenster"] = 10.0 * s.text.MaxKonturLaenge;
}
BENCHMARK(GeoSchreibenGanz)->Arg(1000000)->Arg(100000)->Unit(benchmark::kMillisecond);

void GeoAufbauenSuche(benchmark::State& state) {
    Sitzung& s = KonturSitzung(static_cast<std::int32_t>(state.range(0)));
    const Punktsuche suche = state.range(1) ? Punktsuche::Linear : Punktsuche::Index;
    std::int32_t punkte = 0;
    for (auto _ : state) {
        const GeoTabellen t = GeoAufbauen(s, suche);
        punkte = t.punkte.AnzGeoPunkte();
    }
    state.SetItemsProcessed(state.iterations() * s.speicher.ElementAnzahl());
    state.counters["Punkte"] = punkte;
}
BENCHMARK(GeoAufbauenSuche)
    ->ArgNames({"Elemente", "woertlich"})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Args({1000000, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
} // namespace konturo::bench

BENCHMARK_MAIN();
