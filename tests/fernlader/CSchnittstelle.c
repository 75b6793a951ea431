/* A download through Fernlader's C interface, written in C so the header is proven to be C. */
#include "CSchnittstelle.h"

#include "fernlader/fernlader.h"

#include <string.h>

static void Start(void* benutzer) { ((CErgebnis*)benutzer)->starts++; }

static void Progress(void* benutzer, int64_t BytesLoaded, int64_t FileSize) {
    CErgebnis* e = benutzer;
    e->progresse++;
    e->geladen = BytesLoaded;
    e->groesse = FileSize;
}

static void Finished(void* benutzer) { ((CErgebnis*)benutzer)->finishes++; }

void CHerunterladen(const char* url, const char* datei, int32_t ms, CErgebnis* e) {
    FernladerDownload* d = fernlader_erzeugen();
    memset(e, 0, sizeof *e);
    fernlader_ereignisse(d, Start, Progress, Finished, e);
    e->gestartet = fernlader_DoDownload(d, url, datei);
    e->gewartet = fernlader_warten(d, ms);
    if (e->gewartet == 0) {
        fernlader_AbortDownload(d);
        e->nachAbbruch = fernlader_warten(d, ms);
    }
    e->status = fernlader_status(d);
    e->vollstaendig = fernlader_vollstaendig(d);
    e->fehler = fernlader_fehler(d);
    fernlader_freigeben(d);
}
