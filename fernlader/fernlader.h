/* Fernlader's C interface: one download object that fetches a file over plain HTTP and reports
 * start, progress and end through callbacks, for programs that are not Qt programs (C, Python
 * ctypes and the like).
 *
 * The events run inside fernlader_warten (or inside the Qt event loop of a Qt program that uses
 * this interface). Use an object only on the thread that created it. A program without a Qt
 * application object gets one, created with the first download object and kept until the process
 * ends. Texts are UTF-8. */
#ifndef FERNLADER_H
#define FERNLADER_H

#include <stdint.h>

#if defined(FERNLADER_BAUEN)
#define FERNLADER_API __attribute__((visibility("default")))
#else
#define FERNLADER_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct FernladerDownload FernladerDownload;

/* The events of a download; benutzer is the pointer given to fernlader_ereignisse. FileSize is
 * the announced body length, 0 when the server did not announce one. */
typedef void (*FernladerStart)(void* benutzer);
typedef void (*FernladerProgress)(void* benutzer, int64_t BytesLoaded, int64_t FileSize);
typedef void (*FernladerFinished)(void* benutzer);

/* Why a download failed (fernlader_fehler); the numbers of clsDownload's error message. */
enum {
    FERNLADER_KEIN_FEHLER = 0,
    FERNLADER_ADRESSE_UNGUELTIG = 1, /* empty, no host, bad port */
    FERNLADER_NUR_HTTP = 2,          /* https:// or another scheme: there is no TLS */
    FERNLADER_DATEIFEHLER = 3,       /* the local file cannot be replaced or written */
    FERNLADER_NICHT_ERREICHBAR = 4,  /* host unknown, connection refused */
    FERNLADER_UNTERBROCHEN = 5,      /* the connection ended before the body was complete */
    FERNLADER_ANTWORTFEHLER = 6,     /* the server sent no valid HTTP response */
    FERNLADER_ABGEBROCHEN = 7        /* fernlader_AbortDownload */
};

/* A new download object; NULL when no Qt application object can be had on this thread. */
FERNLADER_API FernladerDownload* fernlader_erzeugen(void);
/* Stops a running download (no event follows) and frees the object. Not inside a callback. */
FERNLADER_API void fernlader_freigeben(FernladerDownload* d);

/* Registers the three callbacks (any may be NULL) and the pointer handed to them. */
FERNLADER_API void fernlader_ereignisse(FernladerDownload* d, FernladerStart start,
                                        FernladerProgress progress, FernladerFinished finished,
                                        void* benutzer);

/* Starts fetching strURL ("http://host[:port]/path") into strLocalFile, which is deleted first
 * if it exists. 1: the connection attempt has started; 0: it could not start, see
 * fernlader_fehler. Does not wait. */
FERNLADER_API int fernlader_DoDownload(FernladerDownload* d, const char* strURL,
                                       const char* strLocalFile);
/* Closes the connection; no event follows. What was saved so far stays in the file. */
FERNLADER_API void fernlader_AbortDownload(FernladerDownload* d);

/* Runs the events until the download has finished or millisekunden have passed.
 * 1: finished (now or before); 0: time passed, the download goes on (wait again or abort);
 * -1: no download was started, or it was aborted. */
FERNLADER_API int fernlader_warten(FernladerDownload* d, int32_t millisekunden);

/* State of the current or last download. */
FERNLADER_API int64_t fernlader_BytesLoaded(const FernladerDownload* d);
FERNLADER_API int64_t fernlader_FileSize(const FernladerDownload* d);
/* The HTTP status code; 0 before the status line or when the server sent none. */
FERNLADER_API int fernlader_status(const FernladerDownload* d);
/* The reason phrase after the status code ("Not Found"); valid until the next call with d. */
FERNLADER_API const char* fernlader_grund(FernladerDownload* d);
/* 1 when the body arrived whole: its announced length, its last chunk, or the end of the
 * connection when no length was announced. */
FERNLADER_API int fernlader_vollstaendig(const FernladerDownload* d);
/* One of the FERNLADER_ numbers above, and a description of it in English ("" when none). The
 * text stays valid until the next call with d. */
FERNLADER_API int fernlader_fehler(const FernladerDownload* d);
FERNLADER_API const char* fernlader_fehlertext(FernladerDownload* d);

#ifdef __cplusplus
}
#endif

#endif
