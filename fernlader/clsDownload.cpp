// The download: address, request, the response read block by block into the local file, events.
#include "fernlader/clsDownload.h"

#include "fernlader/HttpAnfrage.h"
#include "fernlader/HttpAntwort.h"
#include "fernlader/frmWinsock.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>
#include <vector>

using fernlader::HttpAntwort;

namespace {

// Bytes taken from the socket at a time: large enough that a fast server costs few calls, small
// enough that memory does not depend on the size of the file.
constexpr std::int64_t BlockGroesse = 512 * 1024;

// "host:port", the port always shown: a refused connection is often the wrong port.
QString AdresseText(const fernlader::Adresse& a) {
    const std::string h = fernlader::HostKopf(a);
    return QString::fromStdString(a.port == 80 ? h + ":80" : h);
}

} // namespace

struct clsDownload::Zustand {
    fernlader::frmWinsock* mSockCtrl = nullptr;
    fernlader::Adresse adresse;
    QString lokaleDatei;
    QFile datei;
    bool dateiAngelegt = false;
    HttpAntwort antwort;
    std::int64_t BytesLoaded = 0;
    std::int64_t FileSize = 0;
    bool laeuft = false;
    bool finished = false;
    Fehlerart fehler = KeinFehler;
    QString fehlertext;
    // Counts starts and aborts: a handler of an event may start or abort a download, and the
    // code that raised the event must then leave the new state alone.
    std::uint64_t lauf = 0;
    std::vector<char> puffer = std::vector<char>(BlockGroesse);
};

clsDownload::clsDownload(QObject* eltern) : QObject(eltern), d_(std::make_unique<Zustand>()) {}

clsDownload::~clsDownload() {
    if (d_->mSockCtrl) d_->mSockCtrl->Schliessen();
}

bool clsDownload::DoDownload(const QString& strURL, const QString& strLocalFile) {
    Zustand& d = *d_;
    ++d.lauf;
    d.laeuft = false;
    d.datei.close();
    d.dateiAngelegt = false;
    d.antwort = HttpAntwort();
    d.BytesLoaded = 0;
    d.FileSize = 0;
    d.finished = false;
    d.fehler = KeinFehler;
    d.fehlertext.clear();
    if (d.mSockCtrl) d.mSockCtrl->Schliessen();

    d.adresse = fernlader::AdresseZerlegen(strURL.toStdString());
    switch (d.adresse.fehler) {
    case fernlader::AdressFehler::Keiner:
        break;
    case fernlader::AdressFehler::NurHttp:
        return Scheitern(NurHttp, QStringLiteral("only http:// is supported: ") + strURL);
    case fernlader::AdressFehler::Leer:
        return Scheitern(AdresseUngueltig, QStringLiteral("no address given"));
    case fernlader::AdressFehler::Ungueltig:
        return Scheitern(AdresseUngueltig, QStringLiteral("invalid address: ") + strURL);
    }
    if (strLocalFile.isEmpty())
        return Scheitern(DateiFehler, QStringLiteral("no local file given"));
    d.lokaleDatei = QFileInfo(strLocalFile).absoluteFilePath();
    const QFileInfo ziel(d.lokaleDatei);
    if (ziel.isDir())
        return Scheitern(DateiFehler, d.lokaleDatei + QStringLiteral(": is a folder"));
    // A file or a link is replaced; a device such as /dev/null is written to, never deleted.
    if ((ziel.isFile() || ziel.isSymLink()) && !QFile::remove(d.lokaleDatei))
        return Scheitern(DateiFehler, d.lokaleDatei + QStringLiteral(": cannot be replaced"));
    const QFileInfo geraet(d.lokaleDatei);
    const QFileInfo ordner(ziel.absolutePath());
    if (geraet.exists() && !geraet.isWritable())
        return Scheitern(DateiFehler, d.lokaleDatei + QStringLiteral(": cannot be written"));
    if (!geraet.exists() && (!ordner.isDir() || !ordner.isWritable()))
        return Scheitern(DateiFehler, ziel.absolutePath() + QStringLiteral(": no writable folder"));

    if (!d.mSockCtrl) {
        d.mSockCtrl = new fernlader::frmWinsock(this);
        connect(d.mSockCtrl, &fernlader::frmWinsock::Connect, this,
                &clsDownload::mSockCtrl_Connect);
        connect(d.mSockCtrl, &fernlader::frmWinsock::DataArrival, this,
                &clsDownload::mSockCtrl_DataArrival);
        connect(d.mSockCtrl, &fernlader::frmWinsock::Close, this, &clsDownload::mSockCtrl_Close);
        connect(d.mSockCtrl, &fernlader::frmWinsock::Error, this, &clsDownload::mSockCtrl_Error);
    }
    d.laeuft = true;
    d.mSockCtrl->Verbinden(QString::fromStdString(d.adresse.host), d.adresse.port);
    return true;
}

void clsDownload::AbortDownload() {
    Zustand& d = *d_;
    ++d.lauf;
    if (d.laeuft) {
        d.fehler = Abgebrochen;
        d.fehlertext = QStringLiteral("aborted");
    }
    d.laeuft = false;
    d.datei.close();
    if (d.mSockCtrl) {
        d.mSockCtrl->Schliessen();
        // Abort may come from a handler of the socket's own event: delete it once that is over.
        d.mSockCtrl->deleteLater();
        d.mSockCtrl = nullptr;
    }
}

bool clsDownload::Laeuft() const { return d_->laeuft; }
std::int64_t clsDownload::BytesLoaded() const { return d_->BytesLoaded; }
std::int64_t clsDownload::FileSize() const { return d_->FileSize; }
int clsDownload::Status() const { return d_->antwort.Status(); }
QString clsDownload::Grund() const { return QString::fromStdString(d_->antwort.Grund()); }
bool clsDownload::Vollstaendig() const {
    return d_->fehler == KeinFehler && d_->antwort.Zustand() == HttpAntwort::Stand::Fertig;
}
clsDownload::Fehlerart clsDownload::Fehler() const { return d_->fehler; }
QString clsDownload::Fehlertext() const { return d_->fehlertext; }

void clsDownload::mSockCtrl_Connect() {
    if (!d_->laeuft) return;
    d_->mSockCtrl->Senden(fernlader::AnfrageText(d_->adresse));
    emit Start();
}

void clsDownload::mSockCtrl_DataArrival() {
    Zustand& d = *d_;
    if (!d.laeuft) return;
    const std::uint64_t lauf = d.lauf;
    bool schreibFehler = false;
    // The body goes to the file as it comes, byte for byte; nothing of it is kept in memory.
    const HttpAntwort::KoerperSenke senke = [&](std::string_view teil) {
        if (schreibFehler || !DateiOeffnen()) {
            schreibFehler = true;
            return;
        }
        if (d.datei.write(teil.data(), static_cast<qint64>(teil.size())) !=
            static_cast<qint64>(teil.size()))
            schreibFehler = true;
    };
    bool gelesen = false;
    while (d.antwort.Zustand() == HttpAntwort::Stand::Kopf ||
           d.antwort.Zustand() == HttpAntwort::Stand::Koerper) {
        const std::int64_t n = d.mSockCtrl->GetData(d.puffer.data(), BlockGroesse);
        if (n <= 0) break;
        gelesen = true;
        d.antwort.Aufnehmen(std::string_view(d.puffer.data(), static_cast<std::size_t>(n)), senke);
        if (schreibFehler) break;
    }
    // An empty body still makes an (empty) file.
    if (!schreibFehler && d.antwort.KopfFertig() &&
        d.antwort.Zustand() != HttpAntwort::Stand::Kaputt && !DateiOeffnen())
        schreibFehler = true;
    if (schreibFehler)
        return Beenden(DateiFehler, d.lokaleDatei + QStringLiteral(": ") + d.datei.errorString());
    d.BytesLoaded = d.antwort.KoerperBytes();
    d.FileSize = std::max<std::int64_t>(0, d.antwort.Laenge());
    if (gelesen && d.antwort.KopfFertig()) {
        emit Progress(d.BytesLoaded, d.FileSize);
        if (lauf != d.lauf) return;
    }
    if (d.antwort.Zustand() == HttpAntwort::Stand::Fertig)
        Beenden(KeinFehler);
    else if (d.antwort.Zustand() == HttpAntwort::Stand::Kaputt)
        Beenden(AntwortFehler, QString::fromStdString(d.antwort.Fehler()));
}

void clsDownload::mSockCtrl_Close() {
    // Whatever arrived together with the close belongs to the answer.
    mSockCtrl_DataArrival();
    Zustand& d = *d_;
    if (!d.laeuft) return;
    d.antwort.Schliessen();
    if (d.antwort.Zustand() == HttpAntwort::Stand::Fertig)
        Beenden(KeinFehler);
    else if (d.antwort.Zustand() == HttpAntwort::Stand::Kaputt)
        Beenden(AntwortFehler, QString::fromStdString(d.antwort.Fehler()));
    else
        Beenden(Unterbrochen, QString::fromStdString(d.antwort.Fehler()));
}

void clsDownload::mSockCtrl_Error(bool verbunden, const QString& text) {
    if (!d_->laeuft) return;
    if (verbunden) {
        mSockCtrl_DataArrival();
        if (d_->laeuft) Beenden(Unterbrochen, text);
    } else {
        Beenden(NichtErreichbar, AdresseText(d_->adresse) + QStringLiteral(": ") + text);
    }
}

bool clsDownload::DateiOeffnen() {
    Zustand& d = *d_;
    if (d.dateiAngelegt) return d.datei.isOpen();
    d.dateiAngelegt = true;
    d.datei.setFileName(d.lokaleDatei);
    // Unbuffered: the blocks are large already, and a second copy would only cost time.
    return d.datei.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

bool clsDownload::Scheitern(Fehlerart art, const QString& text) {
    d_->fehler = art;
    d_->fehlertext = text;
    const QString meldung = QStringLiteral("Fehler!\nError: %1\n%2").arg(art).arg(text);
    if (fehlerMelden) {
        fehlerMelden(art, text);
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMessageBox::critical(nullptr, QStringLiteral("Fernlader"), meldung);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(meldung));
    }
    return false;
}

void clsDownload::Beenden(Fehlerart art, const QString& text) {
    Zustand& d = *d_;
    d.laeuft = false;
    d.fehler = art;
    d.fehlertext = text;
    d.datei.close();
    if (d.mSockCtrl) d.mSockCtrl->Schliessen();
    if (!d.finished) {
        d.finished = true;
        emit Finished();
    }
}
