/* fernlader URL FILE: fetches one file over plain HTTP through Fernlader's C interface, showing
 * progress on standard error. Exit status 0: saved whole with a 2xx status; 1: the download
 * failed and what it had saved is removed again; 2: wrong command line. */
#define _POSIX_C_SOURCE 200809L

#include "fernlader/fernlader.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

/* How long the command waits for the next byte before it gives up, unless -t says otherwise. */
#define STANDARD_ZEITLIMIT 60.0
/* Progress lines: ten a second on a terminal, where they overwrite each other; one a second in a
 * log, where each stays. */
#define ABSTAND_TERMINAL 0.1
#define ABSTAND_LOG 1.0

struct Anzeige {
    int terminal;
    int64_t geladen;
    int64_t groesse;
    double letzteZeile;
    double letzterFortschritt;
};

static double Sekunden(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static void ZeileSchreiben(const struct Anzeige* a) {
    const double mb = (double)a->geladen / 1e6;
    char zeile[128];
    if (a->groesse > 0)
        snprintf(zeile, sizeof zeile, "%.1f of %.1f MB (%d %%)", mb, (double)a->groesse / 1e6,
                 (int)(a->geladen * 100 / a->groesse));
    else
        snprintf(zeile, sizeof zeile, "%.1f MB", mb);
    if (a->terminal)
        fprintf(stderr, "\r%-40s", zeile);
    else
        fprintf(stderr, "%s\n", zeile);
}

static void Start(void* benutzer) {
    struct Anzeige* a = benutzer;
    a->letzterFortschritt = Sekunden();
}

static void Progress(void* benutzer, int64_t BytesLoaded, int64_t FileSize) {
    struct Anzeige* a = benutzer;
    const double jetzt = Sekunden();
    if (BytesLoaded != a->geladen) a->letzterFortschritt = jetzt;
    a->geladen = BytesLoaded;
    a->groesse = FileSize;
    if (jetzt - a->letzteZeile < (a->terminal ? ABSTAND_TERMINAL : ABSTAND_LOG)) return;
    a->letzteZeile = jetzt;
    ZeileSchreiben(a);
}

static int Hilfe(FILE* aus, int status) {
    fputs("usage: fernlader [-t SECONDS] URL FILE\n"
          "Fetches URL (http:// only) into FILE, replacing it. Exits 0 when the whole body was\n"
          "saved with a 2xx status; otherwise removes FILE and exits 1.\n"
          "  -t SECONDS  give up when no data arrives for this long (default 60)\n",
          aus);
    return status;
}

/* Ends a failed download: the message, the file removed, status 1. Only a plain file is
 * removed: a target such as /dev/null stays what it is. */
static int Scheitern(FernladerDownload* d, const char* datei, const char* grund) {
    struct stat st;
    if (lstat(datei, &st) == 0 && S_ISREG(st.st_mode) && remove(datei) != 0)
        fprintf(stderr, "fernlader: %s could not be removed: %s\n", datei, strerror(errno));
    fprintf(stderr, "fernlader: %s\n", grund);
    fernlader_freigeben(d);
    return 1;
}

int main(int argc, char** argv) {
    double zeitlimit = STANDARD_ZEITLIMIT;
    int i = 1;
    if (i < argc && (strcmp(argv[i], "-h") == 0 || strcmp(argv[i], "--help") == 0))
        return Hilfe(stdout, 0);
    if (i + 1 < argc && strcmp(argv[i], "-t") == 0) {
        char* ende = NULL;
        zeitlimit = strtod(argv[i + 1], &ende);
        if (ende == argv[i + 1] || *ende != '\0' || !(zeitlimit > 0)) return Hilfe(stderr, 2);
        i += 2;
    }
    if (argc - i != 2) return Hilfe(stderr, 2);
    const char* url = argv[i];
    const char* datei = argv[i + 1];

    FernladerDownload* d = fernlader_erzeugen();
    if (!d) {
        fputs("fernlader: no event loop can be had on this thread\n", stderr);
        return 1;
    }
    struct Anzeige a = {isatty(STDERR_FILENO), 0, 0, 0.0, Sekunden()};
    fernlader_ereignisse(d, Start, Progress, NULL, &a);
    if (!fernlader_DoDownload(d, url, datei)) {
        fprintf(stderr, "fernlader: %s\n", fernlader_fehlertext(d));
        fernlader_freigeben(d);
        return 1;
    }
    while (fernlader_warten(d, 200) == 0) {
        if (Sekunden() - a.letzterFortschritt > zeitlimit) {
            fernlader_AbortDownload(d);
            char grund[160];
            snprintf(grund, sizeof grund, "%s: no data for %g s; nothing saved", url, zeitlimit);
            return Scheitern(d, datei, grund);
        }
    }
    if (a.terminal && a.geladen > 0) fputc('\n', stderr);

    char grund[1200];
    const int status = fernlader_status(d);
    if (!fernlader_vollstaendig(d)) {
        snprintf(grund, sizeof grund, "%s: %s; nothing saved", url, fernlader_fehlertext(d));
        return Scheitern(d, datei, grund);
    }
    if (status < 200 || status > 299) {
        if (status == 0)
            snprintf(grund, sizeof grund, "%s: the server sent no HTTP answer; nothing saved", url);
        else
            snprintf(grund, sizeof grund, "%s: the server answered %d %s; nothing saved", url,
                     status, fernlader_grund(d));
        return Scheitern(d, datei, grund);
    }
    fprintf(stderr, "fernlader: saved %s (%lld bytes)\n", datei,
            (long long)fernlader_BytesLoaded(d));
    fernlader_freigeben(d);
    return 0;
}
