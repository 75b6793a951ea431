// clsDownload: fetches one file over plain HTTP/1.1 and saves the response body, reporting start,
// progress and end as signals on the thread that created it, driven by that thread's event loop.
// A handler of its signals may start or abort a download, but must not delete the object (use
// deleteLater).
#pragma once

#include "fernlader/fernlader.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class FERNLADER_API clsDownload : public QObject {
    Q_OBJECT
public:
    // Why a download failed; also the number its error message shows ("Error: 2").
    enum Fehlerart {
        KeinFehler = FERNLADER_KEIN_FEHLER,
        AdresseUngueltig = FERNLADER_ADRESSE_UNGUELTIG,
        NurHttp = FERNLADER_NUR_HTTP,
        DateiFehler = FERNLADER_DATEIFEHLER,
        NichtErreichbar = FERNLADER_NICHT_ERREICHBAR,
        Unterbrochen = FERNLADER_UNTERBROCHEN,
        AntwortFehler = FERNLADER_ANTWORTFEHLER,
        Abgebrochen = FERNLADER_ABGEBROCHEN,
    };

    explicit clsDownload(QObject* eltern = nullptr);
    ~clsDownload() override;

    // Starts fetching strURL ("http://host[:port]/path", the scheme optional) into strLocalFile,
    // deleting that file first if it exists. True when the connection attempt has started;
    // false, after the error message, when the address or the local file rules it out.
    bool DoDownload(const QString& strURL, const QString& strLocalFile);
    // Drops the connection; no event follows. What was saved so far stays in the file.
    void AbortDownload();

    // Between a successful DoDownload and Finished (or AbortDownload).
    bool Laeuft() const;
    // Body bytes saved so far, and the announced length (0 when none was announced).
    std::int64_t BytesLoaded() const;
    std::int64_t FileSize() const;
    // The status code and reason phrase; 0 and empty before the status line, or when the server
    // answered without one. An error page is saved like any body: check the status.
    int Status() const;
    QString Grund() const;
    // The body arrived whole: its announced length, its last chunk, or the end of the
    // connection when no length was announced.
    bool Vollstaendig() const;
    Fehlerart Fehler() const;
    // What went wrong, in English, with the system's reason where there is one.
    QString Fehlertext() const;

    // Shows the error message of a DoDownload that returns false. Unset: a message box with the
    // error icon in a widget program, otherwise a line on standard error.
    std::function<void(int nummer, const QString& beschreibung)> fehlerMelden;

signals:
    // The request has been sent.
    void Start();
    // After every block received once the header is through.
    void Progress(qint64 BytesLoaded, qint64 FileSize);
    // Once per download: the body is complete, or the download failed after DoDownload returned
    // true (Fehler() says why). AbortDownload ends a download without it.
    void Finished();

private:
    void mSockCtrl_Connect();
    void mSockCtrl_DataArrival();
    void mSockCtrl_Close();
    void mSockCtrl_Error(bool verbunden, const QString& text);
    bool Scheitern(Fehlerart art, const QString& text);
    void Beenden(Fehlerart art, const QString& text = {});
    bool DateiOeffnen();

    struct Zustand;
    std::unique_ptr<Zustand> d_;
};
