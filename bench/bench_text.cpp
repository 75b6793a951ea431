// Text conversion speed: 10,000 characters (letters, digits, spaces, line breaks) in Liberation
// Sans 24 pt to a DXF file, with duplicate removal; the parts are timed on their own as well.
#include "app/DB_System.h"
#include "app/EinstellungenSpeicher.h"
#include "app/Sitzung.h"
#include "geometry/Abweichung.h"
#include "output/Ausgabe.h"
#include "text/FontAuslesen.h"
#include "text/Textquelle.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace konturo;

// Words of 2 to 9 letters or digits, lines of about 60 characters.
std::string ZehntausendZeichen() {
    const std::string zeichen = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::mt19937 zufall(2026);
    std::uniform_int_distribution<std::size_t> wahl(0, zeichen.size() - 1);
    std::uniform_int_distribution<int> wortLaenge(2, 9);
    std::string text;
    int zeile = 0;
    while (text.size() < 10000) {
        const int n = wortLaenge(zufall);
        for (int i = 0; i < n; ++i) text += zeichen[wahl(zufall)];
        zeile += n;
        if (zeile > 60) {
            text += '\n';
            zeile = 0;
        } else {
            text += ' ';
            ++zeile;
        }
    }
    text.resize(10000);
    return text;
}

std::unique_ptr<Sitzung> Vorbereiten(TextquelleKlartext& quelle) {
    auto s = std::make_unique<Sitzung>();
    EinstellungenSpeicherSpeicher leer;
    EinstellungenLaden(*s, leer, EinstellungenUmgebung{});
    s->text.Schrifthoehe = 10;
    Zeichenformat f;
    f.Schriftart = "Liberation Sans";
    f.Groesse = 24;
    quelle = TextquelleKlartext(ZehntausendZeichen(), f);
    s->textquelle = &quelle;
    return s;
}

void BM_TextNachDxf(benchmark::State& state) {
    TextquelleKlartext quelle;
    auto s = Vorbereiten(quelle);
    const std::string pfad =
        (std::filesystem::temp_directory_path() / "konturo-bench-text.dxf").string();
    s->speicher.AusgabeDatei = pfad;
    TextUmwandeln(*s); // fonts found and opened once, outside the timing
    for (auto _ : state) {
        TextUmwandeln(*s);
        if (AusgabeSchreiben(*s, Ausgabeformat::Dxf) != Schreibergebnis::Ok)
            state.SkipWithError("DXF could not be written");
    }
    state.counters["Elemente"] = s->speicher.ElementAnzahl();
    std::filesystem::remove(pfad);
}
BENCHMARK(BM_TextNachDxf)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The economy fitting of the same text at a text height of 100 mm and a deviation of 0.1 mm, with
// the elements and the measured deviation as counters (measured outside the timing).
void BM_TextSparsamNachDxf(benchmark::State& state) {
    TextquelleKlartext quelle;
    auto s = Vorbereiten(quelle);
    s->text.Schrifthoehe = 100;
    s->einstellungen.SparModus = 1;
    s->einstellungen.MaxAbweichung = 0.1;
    const std::string pfad =
        (std::filesystem::temp_directory_path() / "konturo-bench-spar.dxf").string();
    s->speicher.AusgabeDatei = pfad;
    TextUmwandeln(*s);
    for (auto _ : state) {
        TextUmwandeln(*s);
        if (AusgabeSchreiben(*s, Ausgabeformat::Dxf) != Schreibergebnis::Ok)
            state.SkipWithError("DXF could not be written");
    }
    state.counters["Elemente"] = s->speicher.ElementAnzahl();
    state.counters["Abweichung_mm"] =
        AbweichungMessen(s->umriss, s->speicher, s->umriss.AnzElemente);
    std::filesystem::remove(pfad);
}
BENCHMARK(BM_TextSparsamNachDxf)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_DoppelteEntfernen(benchmark::State& state) {
    TextquelleKlartext quelle;
    auto s = Vorbereiten(quelle);
    TextUmwandeln(*s);
    const Speicher fertig = s->speicher;
    for (auto _ : state) {
        state.PauseTiming();
        Speicher sp = fertig;
        state.ResumeTiming();
        DoppelteEntfernen(sp);
        benchmark::DoNotOptimize(sp.Elemente[1].Typ);
    }
    state.counters["Elemente"] = fertig.ElementAnzahl();
}
BENCHMARK(BM_DoppelteEntfernen)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
