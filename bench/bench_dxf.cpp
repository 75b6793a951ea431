// DXF writer speed: 1,000,000 mixed lines, arcs and circles with full-precision coordinates
// written into a counting stream. Target: at least 1,000,000 elements per second.
#include "BenchHilfe.h"
#include "output/DXF_Ausgeben.h"

#include <benchmark/benchmark.h>

namespace konturo::bench {
namespace {

Sitzung& MischSpeicher() {
    static Sitzung s;
    static bool gefuellt = false;
    if (!gefuellt) {
        std::mt19937 zufall(42);
        std::uniform_real_distribution<double> feld(-500, 1500);
        std::uniform_real_distribution<double> winkel(0, 2 * Pi());
        std::uniform_real_distribution<double> radius(0.05, 200);
        std::uniform_int_distribution<int> art(0, 9);
        for (int i = 0; i < 1000000; ++i) {
            const int a = art(zufall);
            const std::int32_t farbe = a == 0 ? RGB(255, 0, 0) : a == 1 ? RahmenFarbe : 0;
            if (a < 6) {
                Anfuegen(s, Linie, feld(zufall), feld(zufall), feld(zufall), feld(zufall), 0, i,
                         farbe);
            } else if (a < 9) {
                Anfuegen(s, Bogen, feld(zufall), feld(zufall), winkel(zufall), winkel(zufall),
                         radius(zufall), i, farbe);
            } else {
                Anfuegen(s, Kreis, feld(zufall), feld(zufall), 0, 0, radius(zufall), i, farbe);
            }
        }
        s.einstellungen.WarnAusgabe = 1;
        s.einstellungen.Ausgabenfarbe = 1;
        gefuellt = true;
    }
    return s;
}

void DxfMillionElemente(benchmark::State& state) {
    Sitzung& s = MischSpeicher();
    s.speicher.DezimalPunkt = state.range(0) != 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        ZaehlPuffer puffer;
        std::ostream aus(&puffer);
        DxfSchreiben(s, aus);
        bytes = puffer.bytes;
    }
    state.SetItemsProcessed(state.iterations() * s.speicher.ElementAnzahl());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(DxfMillionElemente)
    ->ArgName("Punktgebiet")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace konturo::bench

BENCHMARK_MAIN();
