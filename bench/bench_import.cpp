// Graphic import speed and memory: megabytes of EPS path text (several operators per line as in
// PDF page content, and one operator per line as in Illustrator files) and the same drawing as a
// Flate PDF. Reports MB/s of input and the peak resident memory of the process. A drawing file
// given in KONTURO_IMPORT_DATEI is imported instead of the generated ones (bench_import.sh).
#include "app/DB_System.h"
#include "app/EinstellungenSpeicher.h"
#include "app/Sitzung.h"
#include "import/EPS_Einlesen.h"
#include "import/PDFEinlesen.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <zlib.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

using namespace konturo;

constexpr double MB = 1024.0 * 1024.0;

// Closed paths of six lines and one curve around random centres on a page, in 1/1000 pt.
std::string Zeichnung(std::size_t zielBytes, bool einOperatorJeZeile, bool mitKopf) {
    std::mt19937 zufall(2026);
    std::uniform_real_distribution<double> mitteX(20, 580), mitteY(20, 820), radius(3, 15);
    std::uniform_real_distribution<double> zittern(-0.2, 0.2);
    std::string t;
    t.reserve(zielBytes + 256);
    if (mitKopf) t = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 600 840\n%%EndSetup\n";
    char puffer[32];
    auto zahl = [&](double v) {
        const auto [ende, fehler] =
            std::to_chars(puffer, puffer + sizeof puffer, v, std::chars_format::fixed, 3);
        (void)fehler;
        t.append(puffer, ende);
        t += ' ';
    };
    const char trenner = einOperatorJeZeile ? '\n' : ' ';
    auto op = [&](const char* name) {
        t += name;
        t += trenner;
    };
    const double pi = 3.14159265358979323846;
    for (long pfad = 0; t.size() < zielBytes; ++pfad) {
        if (!einOperatorJeZeile && pfad % 50 == 0) t += "Q q 1 0 0 1 0 0 cm 0.2 0.4 0.6 rg\n";
        const double cx = mitteX(zufall), cy = mitteY(zufall), r = radius(zufall);
        double px[7], py[7];
        for (int k = 0; k < 7; ++k) {
            const double w = 2 * pi * (k + zittern(zufall)) / 7;
            px[k] = cx + r * std::cos(w);
            py[k] = cy + r * std::sin(w);
        }
        zahl(px[0]), zahl(py[0]), op("m");
        for (int k = 1; k < 6; ++k) zahl(px[k]), zahl(py[k]), op("l");
        zahl(px[5] + 0.3 * (px[6] - px[5])), zahl(py[5] + 0.3 * (py[6] - py[5]) + 0.2 * r);
        zahl(px[6] - 0.3 * (px[6] - px[5])), zahl(py[6] - 0.3 * (py[6] - py[5]) + 0.2 * r);
        zahl(px[6]), zahl(py[6]), op("c");
        zahl(px[0]), zahl(py[0]), op("l");
        if (einOperatorJeZeile)
            t += "f\n";
        else
            t += "h f\n";
    }
    return t;
}

std::string FlatePdf(const std::string& inhalt) {
    uLongf groesse = compressBound(static_cast<uLong>(inhalt.size()));
    std::string gepackt(groesse, '\0');
    if (compress2(reinterpret_cast<Bytef*>(gepackt.data()), &groesse,
                  reinterpret_cast<const Bytef*>(inhalt.data()), static_cast<uLong>(inhalt.size()),
                  6) != Z_OK)
        throw std::runtime_error("compress2");
    gepackt.resize(groesse);
    return "%PDF-1.4\n1 0 obj\n<< /Length " + std::to_string(groesse) +
           " /Filter /FlateDecode >>\nstream\n" + gepackt + "\nendstream\nendobj\n%%EOF\n";
}

std::unique_ptr<Sitzung> NeueSitzung() {
    auto s = std::make_unique<Sitzung>();
    EinstellungenSpeicherSpeicher leer;
    EinstellungenLaden(*s, leer, EinstellungenUmgebung{});
    s->fenster.ParameterZeigen = false;
    return s;
}

double SpitzeMB() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return static_cast<double>(r.ru_maxrss) * 1024.0 / MB;
}

// Bytes held by the two stores (capacity, as allocated).
double SpeicherMB(const Sitzung& s) {
    const double slots = static_cast<double>(s.speicher.KonturPunkte.Kapazitaet()) +
                         static_cast<double>(s.speicher.Elemente.Kapazitaet()) + 2;
    return slots * sizeof(GeoElement) / MB;
}

void Zaehler(benchmark::State& state, const Sitzung& s, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["datei_MB"] = static_cast<double>(bytes) / MB;
    state.counters["datensaetze"] = s.speicher.KonturPunkte.Anzahl();
    state.counters["elemente"] = s.speicher.ElementAnzahl();
    state.counters["speicher_MB"] = SpeicherMB(s);
    state.counters["spitze_MB"] = SpitzeMB();
}

// Reading into the outline buffer only, then the whole import with the approximation.
void BM_EPSLesen(benchmark::State& state, bool einOperatorJeZeile) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string text = Zeichnung(bytes, einOperatorJeZeile, true);
    auto s = NeueSitzung();
    for (auto _ : state) EPSKonturPunkteLesen(*s, text, false);
    Zaehler(state, *s, text.size());
}

void BM_EPSImport(benchmark::State& state, bool einOperatorJeZeile) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string text = Zeichnung(bytes, einOperatorJeZeile, true);
    auto s = NeueSitzung();
    for (auto _ : state) EPSEinlesenText(*s, text, false);
    Zaehler(state, *s, text.size());
}

void BM_PDFImport(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string pdf = FlatePdf(Zeichnung(bytes, false, false));
    auto s = NeueSitzung();
    for (auto _ : state) EPSEinlesenText(*s, pdf, true);
    Zaehler(state, *s, pdf.size());
    state.counters["inhalt_MB"] = static_cast<double>(bytes) / MB;
}

void BM_PDFInhaltLesen(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string pdf = FlatePdf(Zeichnung(bytes, false, false));
    std::size_t laenge = 0;
    for (auto _ : state) laenge = PDFInhaltLesen(pdf).size();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * laenge));
    state.counters["datei_MB"] = static_cast<double>(pdf.size()) / MB;
}

// One drawing file from disk through the whole command (file reading included).
void BM_Datei(benchmark::State& state, const std::string& pfad) {
    auto s = NeueSitzung();
    s->fenster.AktDatei = pfad;
    for (auto _ : state) {
        if (EPSEinlesen(*s) != ImportErgebnis::Gelesen) state.SkipWithError("not read");
    }
    std::ifstream ein(pfad, std::ios::binary | std::ios::ate);
    Zaehler(state, *s, static_cast<std::size_t>(ein.tellg()));
}

void Anmelden() {
    if (const char* datei = std::getenv("KONTURO_IMPORT_DATEI")) {
        benchmark::RegisterBenchmark("BM_Datei", BM_Datei, std::string(datei))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        return;
    }
    for (bool zeilen : {false, true}) {
        const std::string art = zeilen ? "/einOperatorJeZeile" : "/Stapel";
        benchmark::RegisterBenchmark(("BM_EPSLesen" + art).c_str(), BM_EPSLesen, zeilen)
            ->Arg(5)
            ->Arg(10)
            ->Arg(20)
            ->Arg(40)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_EPSImport" + art).c_str(), BM_EPSImport, zeilen)
            ->Arg(5)
            ->Arg(10)
            ->Arg(20)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_PDFInhaltLesen", BM_PDFInhaltLesen)
        ->Arg(20)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_PDFImport", BM_PDFImport)
        ->Arg(20)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv) {
    Anmelden();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
