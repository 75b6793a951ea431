// Download speed of Fernlader: 100 MB and 1 GB from a loopback server (on its own thread) into a
// file through clsDownload. Target: at least 500 MB/s; the peak memory the same for both sizes.
#include "fernlader/clsDownload.h"
#include "tests/fernlader/Testserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>

namespace {

std::int64_t StatusWertKb(const char* name) {
    std::ifstream status("/proc/self/status");
    std::string zeile;
    while (std::getline(status, zeile))
        if (zeile.rfind(name, 0) == 0) return std::stoll(zeile.substr(std::strlen(name)));
    return 0;
}

void Download(benchmark::State& state) {
    const std::int64_t groesse = state.range(0);
    const QString datei = QDir::temp().filePath(QStringLiteral("fernlader-bench.bin"));
    std::int64_t zuwachsKb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fernlader::test::Testserver server({{.bloecke = {"HTTP/1.1 200 OK\r\nContent-Length: " +
                                                         std::to_string(groesse) + "\r\n\r\n"},
                                             .musterBytes = groesse}});
        std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from here
        const std::int64_t vorher = StatusWertKb("VmRSS:");
        state.ResumeTiming();

        clsDownload d;
        QEventLoop schleife;
        QObject::connect(&d, &clsDownload::Finished, &schleife, &QEventLoop::quit);
        d.DoDownload(QString::fromStdString(server.Url("/gross")), datei);
        schleife.exec();

        state.PauseTiming();
        if (!d.Vollstaendig() || d.BytesLoaded() != groesse) state.SkipWithError("incomplete");
        zuwachsKb = std::max(zuwachsKb, StatusWertKb("VmHWM:") - vorher);
        QFile::remove(datei);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * groesse);
    state.counters["Speicherzuwachs_MB"] = static_cast<double>(zuwachsKb) / 1024.0;
}

BENCHMARK(Download)
    ->Arg(100'000'000)
    ->Arg(1'000'000'000)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication anwendung(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
