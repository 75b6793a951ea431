// The redraw of the main window's drawing area: 100,000 and 1,000,000 mixed elements in the whole
// view, painted with QPainter on the persistent pixmap (targets: 0.5 s and 3 s).
#include "app/Sitzung.h"
#include "display/GrafikZeichnen.h"
#include "display/qt/GrafikFlaeche.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

using namespace konturo;

// Short contours scattered over a 1000 x 700 mm sheet: 70 % lines, 25 % arcs, 5 % circles, as a
// converted lettering or drawing has them.
void SpeicherFuellen(Sitzung& s, std::int32_t anzahl) {
    std::mt19937 zufall(42);
    std::uniform_real_distribution<double> x(0, 1000), y(0, 700), d(-3, 3), r(0.5, 5),
        winkel(0, 2 * Pi());
    std::uniform_int_distribution<int> art(0, 99);
    Speicher& sp = s.speicher;
    sp.Elemente.Zuruecksetzen();
    for (std::int32_t i = 0; i < anzahl; ++i) {
        GeoElement e;
        e.KonturNr = i / 20 + 1;
        const int a = art(zufall);
        e.X1 = x(zufall);
        e.Y1 = y(zufall);
        if (a < 70) {
            e.Typ = Linie;
            e.X2 = e.X1 + d(zufall);
            e.Y2 = e.Y1 + d(zufall);
        } else {
            e.Typ = a < 95 ? Bogen : Kreis;
            e.Radius = r(zufall);
            e.X2 = winkel(zufall);
            e.Y2 = winkel(zufall);
        }
        sp.Elemente.Anfuegen(e);
    }
    sp.XMin = 0;
    sp.XMax = 1000;
    sp.YMin = 0;
    sp.YMax = 700;
    sp.BoxNeu = false;
}

void BM_Neuzeichnen(benchmark::State& state) {
    Sitzung s;
    s.einstellungen.HGF = RGB(0, 0, 0);
    s.einstellungen.LF = RGB(255, 255, 255);
    s.einstellungen.BF = RGB(0, 255, 0);
    s.einstellungen.PF = RGB(0, 255, 0);
    s.einstellungen.Punkte = 1;
    SpeicherFuellen(s, static_cast<std::int32_t>(state.range(0)));
    GrafikFlaeche flaeche;
    flaeche.resize(1400, 900);
    s.fenster.Seitenverhaeltnis = 1400.0 / 900.0;
    for (auto _ : state) {
        s.kopflos.aufrufe.clear();
        Neuzeichnen(s, flaeche);
        benchmark::DoNotOptimize(flaeche.Bild().cacheKey());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Neuzeichnen)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
