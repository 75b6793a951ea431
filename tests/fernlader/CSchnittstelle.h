/* The C side of the interface test: one download through fernlader.h from a C translation unit,
 * its events counted. */
#ifndef CSCHNITTSTELLE_H
#define CSCHNITTSTELLE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct {
    int gestartet;   /* fernlader_DoDownload */
    int gewartet;    /* the first fernlader_warten */
    int nachAbbruch; /* fernlader_warten after an abort (when the first wait timed out) */
    int starts, progresse, finishes;
    int64_t geladen, groesse;
    int status, vollstaendig, fehler;
} CErgebnis;

/* Fetches url into datei and waits at most ms for the end; a download still running then is
 * aborted. */
void CHerunterladen(const char* url, const char* datei, int32_t ms, CErgebnis* e);

#ifdef __cplusplus
}
#endif

#endif
