// The C interface: a clsDownload behind a plain pointer, its events as callbacks, and a wait that
// runs the events for a bounded time.
#include "fernlader/fernlader.h"

#include "fernlader/clsDownload.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

struct FernladerDownload {
    clsDownload download;
    FernladerStart start = nullptr;
    FernladerProgress progress = nullptr;
    FernladerFinished finished = nullptr;
    void* benutzer = nullptr;
    // A download was started and not aborted, and whether its Finished has come.
    bool gestartet = false;
    bool fertig = false;
    // The wait in progress, so that an abort from a callback ends it at once.
    QEventLoop* schleife = nullptr;
    // The texts last handed out; they live until the next call.
    QByteArray fehlertext;
    QByteArray grund;
};

namespace {

// Sockets and events need a Qt application object. A program without one gets one here; it stays
// until the process ends, because taking Qt down from a static destructor is not safe.
bool AnwendungSichern() {
    if (QCoreApplication::instance()) return true;
    static int argc = 1;
    static char name[] = "fernlader";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    return QCoreApplication::instance() != nullptr;
}

} // namespace

extern "C" {

FernladerDownload* fernlader_erzeugen(void) {
    if (!AnwendungSichern()) return nullptr;
    auto* d = new FernladerDownload;
    // A C program reads the failure through fernlader_fehler; it has no message box to show.
    d->download.fehlerMelden = [](int, const QString&) {};
    QObject::connect(&d->download, &clsDownload::Start, &d->download, [d] {
        if (d->start) d->start(d->benutzer);
    });
    QObject::connect(&d->download, &clsDownload::Progress, &d->download,
                     [d](qint64 geladen, qint64 groesse) {
                         if (d->progress) d->progress(d->benutzer, geladen, groesse);
                     });
    QObject::connect(&d->download, &clsDownload::Finished, &d->download, [d] {
        d->fertig = true;
        if (d->finished) d->finished(d->benutzer);
        if (d->schleife && d->fertig) d->schleife->quit();
    });
    return d;
}

void fernlader_freigeben(FernladerDownload* d) {
    if (!d) return;
    d->download.AbortDownload();
    delete d;
}

void fernlader_ereignisse(FernladerDownload* d, FernladerStart start, FernladerProgress progress,
                          FernladerFinished finished, void* benutzer) {
    d->start = start;
    d->progress = progress;
    d->finished = finished;
    d->benutzer = benutzer;
}

int fernlader_DoDownload(FernladerDownload* d, const char* strURL, const char* strLocalFile) {
    d->fertig = false;
    d->gestartet = d->download.DoDownload(QString::fromUtf8(strURL ? strURL : ""),
                                          QString::fromUtf8(strLocalFile ? strLocalFile : ""));
    return d->gestartet ? 1 : 0;
}

void fernlader_AbortDownload(FernladerDownload* d) {
    d->download.AbortDownload();
    d->gestartet = false;
    d->fertig = false;
    if (d->schleife) d->schleife->quit();
}

int fernlader_warten(FernladerDownload* d, int32_t millisekunden) {
    if (!d->gestartet) return -1;
    if (d->fertig) return 1;
    QEventLoop schleife;
    QTimer uhr;
    uhr.setSingleShot(true);
    QObject::connect(&uhr, &QTimer::timeout, &schleife, &QEventLoop::quit);
    uhr.start(std::max<int32_t>(0, millisekunden));
    d->schleife = &schleife;
    schleife.exec();
    d->schleife = nullptr;
    if (!d->gestartet) return -1;
    return d->fertig ? 1 : 0;
}

int64_t fernlader_BytesLoaded(const FernladerDownload* d) { return d->download.BytesLoaded(); }

int64_t fernlader_FileSize(const FernladerDownload* d) { return d->download.FileSize(); }

int fernlader_status(const FernladerDownload* d) { return d->download.Status(); }

const char* fernlader_grund(FernladerDownload* d) {
    d->grund = d->download.Grund().toUtf8();
    return d->grund.constData();
}

int fernlader_vollstaendig(const FernladerDownload* d) {
    return d->download.Vollstaendig() ? 1 : 0;
}

int fernlader_fehler(const FernladerDownload* d) { return d->download.Fehler(); }

const char* fernlader_fehlertext(FernladerDownload* d) {
    d->fehlertext = d->download.Fehlertext().toUtf8();
    return d->fehlertext.constData();
}

} // extern "C"
