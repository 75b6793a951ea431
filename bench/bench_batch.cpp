// Batch speed: the series "Schild 0001" ... "Schild 1000" in Liberation Sans to one DXF file per
// entry, on one thread and on all cores, each run a fresh set of sessions as konturo-cli makes
// them. The peak resident memory of the process is reported at the end.
#include "app/BatchVerarbeitung.h"
#include "app/DB_System.h"
#include "app/EinstellungenSpeicher.h"
#include "app/Sitzung.h"
#include "text/Textquelle.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

using namespace konturo;

void BM_BatchNachDxf(benchmark::State& state) {
    Sitzung s;
    EinstellungenSpeicherSpeicher leer;
    EinstellungenLaden(s, leer, EinstellungenUmgebung{});
    s.einstellungen.LastFilter = 1;
    for (int n = 1; n <= 1000; ++n) {
        char zeile[16];
        std::snprintf(zeile, sizeof zeile, "Schild %04d", n);
        s.batch.BatchZeilen.push_back(zeile);
    }
    Zeichenformat f;
    f.Schriftart = "Liberation Sans";
    const auto ordner = std::filesystem::temp_directory_path() / "konturo-bench-batch";
    std::filesystem::create_directories(ordner);
    const std::atomic<bool> abbruch{false};
    const int faeden = static_cast<int>(state.range(0));
    std::size_t fehler = 0;
    for (auto _ : state) {
        const auto gelaufen = BatchParallelAusfuehren(
            s, f, ordner.string(), faeden, abbruch,
            [&](const BatchEintrag& e) { fehler += e.Fehler != BatchFehler::Keiner; });
        benchmark::DoNotOptimize(gelaufen.data());
    }
    if (fehler > 0) state.SkipWithError("entries failed");
    state.counters["Faeden"] = faeden;
    state.counters["Eintraege/s"] =
        benchmark::Counter(1000.0 * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    std::filesystem::remove_all(ordner);
}
BENCHMARK(BM_BatchNachDxf)
    ->Arg(1)
    ->Arg(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())))
    ->Unit(benchmark::kMillisecond)
    ->MinTime(5.0)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rusage nutzung{};
    getrusage(RUSAGE_SELF, &nutzung);
    std::printf("Peak resident memory: %.1f MB\n", static_cast<double>(nutzung.ru_maxrss) / 1024);
    return 0;
}
