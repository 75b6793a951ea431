// Downloads from a loopback server through all three faces of Fernlader: the class clsDownload,
// the C interface and the command fernlader. The events, the saved bytes, the status, and that
// nothing the server does hangs the caller.
#include "fernlader/clsDownload.h"
#include "tests/fernlader/CSchnittstelle.h"
#include "tests/fernlader/Testserver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

using namespace fernlader::test;
using Ereignis = std::pair<qint64, qint64>;

namespace {

constexpr int Frist = 10000; // ms; a working download takes a fraction of it

std::string Kopf(std::int64_t laenge) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(laenge) + "\r\n\r\n";
}

std::string K(std::size_t von, std::size_t bis) {
    return std::string(Muster().data() + von, bis - von);
}

std::string Inhalt(const QString& pfad) {
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) return "(fehlt)";
    return f.readAll().toStdString();
}

void Anlegen(const QString& pfad, const std::string& inhalt) {
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(inhalt.data(), static_cast<qint64>(inhalt.size()));
}

// The events one download raised, in order.
struct Protokoll : QObject {
    int starts = 0;
    int finishes = 0;
    std::vector<Ereignis> progress;

    // weiter: each Progress lets a stepwise answer send its next block.
    Protokoll(clsDownload& d, Testserver* weiter = nullptr) {
        connect(&d, &clsDownload::Start, this, [this] { ++starts; });
        connect(&d, &clsDownload::Progress, this, [this, weiter](qint64 b, qint64 f) {
            progress.emplace_back(b, f);
            if (weiter) weiter->Weiter();
        });
        connect(&d, &clsDownload::Finished, this, [this] { ++finishes; });
    }
    // Until Finished, and a moment longer so that a second one would be seen.
    bool BisFinished(int ms = Frist) {
        const bool ok = QTest::qWaitFor([this] { return finishes > 0; }, ms);
        QTest::qWait(30);
        return ok;
    }
};

struct NetzFall {
    const char* name;
    Antwort antwort;
    std::string datei;
    int status;
    // Every Progress event; empty: only the last is checked, (size of datei, fileSize).
    std::vector<Ereignis> progress;
    qint64 fileSize;
    clsDownload::Fehlerart fehler;
};

const std::string K2000 = K(0, 2000);
const std::string Chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

// clang-format off
const NetzFall NetzFaelle[] = {
    {"2000 Bytes in drei Bloecken",
     {.bloecke = {Kopf(2000) + K(0, 700), K(700, 1400), K(1400, 2000)}, .schrittweise = true},
     K2000, 200, {{700, 2000}, {1400, 2000}, {2000, 2000}}, 2000, clsDownload::KeinFehler},
    {"ohne Content-Length",
     {.bloecke = {"HTTP/1.1 200 OK\r\n\r\n" + K(0, 500), K(500, 1000)}, .schrittweise = true},
     K(0, 1000), 200, {{500, 0}, {1000, 0}}, 0, clsDownload::KeinFehler},
    {"Kopf mitten in Content-Length geteilt",
     {.bloecke = {"HTTP/1.1 200 OK\r\nConte", "nt-Length: 5\r\n\r\nhallo"}, .pauseMs = 50},
     "hallo", 200, {}, 5, clsDownload::KeinFehler},
    {"chunked",
     {.bloecke = {Chunked + "7d0\r\n" + K(0, 1000), K(1000, 2000) + "\r\n0\r\n\r\n"},
      .pauseMs = 20},
     K2000, 200, {}, 0, clsDownload::KeinFehler},
    {"404 wird als Fehlerseite gespeichert",
     {.bloecke = {"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"}},
     "not found", 404, {}, 9, clsDownload::KeinFehler},
    {"Ende vor der angekuendigten Laenge", {.bloecke = {Kopf(2000) + K(0, 500)}},
     K(0, 500), 200, {}, 2000, clsDownload::Unterbrochen},
    {"Laenge erreicht, der Server schliesst nicht",
     {.bloecke = {Kopf(5) + "hallo"}, .offenLassen = true},
     "hallo", 200, {}, 5, clsDownload::KeinFehler},
};
// clang-format on

// All cases one after another on one object: a second download reuses it with cleared counters,
// and each one replaces a longer file that was there before.
TEST(clsDownload, AntwortenDesServers) {
    std::vector<Antwort> antworten;
    for (const NetzFall& f : NetzFaelle) antworten.push_back(f.antwort);
    Testserver server(antworten);
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("update.bin"));
    clsDownload d;
    for (const NetzFall& f : NetzFaelle) {
        SCOPED_TRACE(f.name);
        Anlegen(datei, std::string(3000, 'A'));
        Protokoll p(d, &server);
        ASSERT_TRUE(
            d.DoDownload(QString::fromStdString(
                             "HTTP://127.0.0.1:" + std::to_string(server.Port()) + "/datei.zip"),
                         datei));
        ASSERT_TRUE(p.BisFinished());
        EXPECT_EQ(p.starts, 1);
        EXPECT_EQ(p.finishes, 1);
        EXPECT_EQ(Inhalt(datei), f.datei);
        EXPECT_EQ(d.Status(), f.status);
        EXPECT_EQ(d.Fehler(), f.fehler);
        EXPECT_EQ(d.Vollstaendig(), f.fehler == clsDownload::KeinFehler);
        EXPECT_FALSE(d.Laeuft());
        if (!f.progress.empty()) {
            EXPECT_EQ(p.progress, f.progress);
        }
        ASSERT_FALSE(p.progress.empty());
        EXPECT_EQ(p.progress.back(), Ereignis(static_cast<qint64>(f.datei.size()), f.fileSize));
    }
    EXPECT_EQ(server.Anfragen().front(),
              "GET /datei.zip HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) +
                  "\r\nAccept: */*\r\nConnection: close\r\n\r\n");
}

// Addresses and files ruled out before any connection: false, one message, no event, and the
// old file stays where the address was at fault.
TEST(clsDownload, DoDownloadLehntAb) {
    QTemporaryDir ordner;
    const QString alt = ordner.filePath(QStringLiteral("alt.bin"));
    Anlegen(alt, "alt");
    struct Fall {
        QString url, datei;
        clsDownload::Fehlerart fehler;
    } const faelle[] = {
        {QStringLiteral("https://127.0.0.1/x"), alt, clsDownload::NurHttp},
        {QStringLiteral("http://127.0.0.1:99999/x"), alt, clsDownload::AdresseUngueltig},
        {QStringLiteral("http://127.0.0.1/x"), ordner.filePath(QStringLiteral("fehlt/x.bin")),
         clsDownload::DateiFehler},
        {QStringLiteral("http://127.0.0.1/x"), ordner.path(), clsDownload::DateiFehler},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.url.toStdString() + " -> " + f.datei.toStdString());
        clsDownload d;
        std::vector<int> meldungen;
        d.fehlerMelden = [&](int nr, const QString&) { meldungen.push_back(nr); };
        Protokoll p(d);
        EXPECT_FALSE(d.DoDownload(f.url, f.datei));
        QTest::qWait(30);
        EXPECT_EQ(meldungen, std::vector<int>{f.fehler});
        EXPECT_EQ(d.Fehler(), f.fehler);
        EXPECT_EQ(p.starts + p.finishes + static_cast<int>(p.progress.size()), 0);
    }
    EXPECT_EQ(Inhalt(alt), "alt");
}

// AbortDownload from a Progress handler: no Finished, what came stays, and the same object
// downloads again afterwards.
TEST(clsDownload, AbbruchMittendrin) {
    Testserver server({{.bloecke = {Kopf(2000) + K(0, 700), K(700, 2000)}, .schrittweise = true},
                       {.bloecke = {Kopf(5) + "hallo"}}});
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("x.bin"));
    clsDownload d;
    bool abbrechen = true;
    QObject::connect(&d, &clsDownload::Progress, [&] {
        if (abbrechen) d.AbortDownload();
    });
    {
        Protokoll p(d);
        ASSERT_TRUE(d.DoDownload(QString::fromStdString(server.Url("/1")), datei));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !p.progress.empty(); }, Frist));
        QTest::qWait(100);
        EXPECT_EQ(p.finishes, 0);
        EXPECT_EQ(p.progress, (std::vector<Ereignis>{{700, 2000}}));
        EXPECT_FALSE(d.Laeuft());
        EXPECT_EQ(d.Fehler(), clsDownload::Abgebrochen);
        EXPECT_EQ(Inhalt(datei), K(0, 700));
    }
    abbrechen = false;
    Protokoll p(d);
    ASSERT_TRUE(d.DoDownload(QString::fromStdString(server.Url("/2")), datei));
    ASSERT_TRUE(p.BisFinished());
    EXPECT_EQ(Inhalt(datei), "hallo");
}

std::int64_t SpeicherSpitzeKb() {
    std::ifstream status("/proc/self/status");
    std::string zeile;
    while (std::getline(status, zeile))
        if (zeile.rfind("VmHWM:", 0) == 0) return std::stoll(zeile.substr(6));
    return -1;
}

// 100 MB arrive byte for byte, and the process does not grow with them.
TEST(clsDownload, HundertMegabyte) {
    constexpr std::int64_t Groesse = 100'000'000;
    Testserver server({{.bloecke = {Kopf(Groesse)}, .musterBytes = Groesse}});
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("gross.bin"));
    std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from here
    [[maybe_unused]] const std::int64_t vorher = SpeicherSpitzeKb();
    clsDownload d;
    Protokoll p(d);
    ASSERT_TRUE(d.DoDownload(QString::fromStdString(server.Url("/gross")), datei));
    ASSERT_TRUE(p.BisFinished(60000));
    EXPECT_TRUE(d.Vollstaendig());
    EXPECT_EQ(d.BytesLoaded(), Groesse);
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer holds freed blocks back (up to 256 MB) to catch their use: the peak would
    // measure that, not the download.
    EXPECT_LT(SpeicherSpitzeKb() - vorher, 32 * 1024);
#endif

    std::ifstream f(datei.toStdString(), std::ios::binary);
    std::vector<char> block(MusterPeriode);
    std::int64_t gelesen = 0;
    while (f.read(block.data(), static_cast<std::streamsize>(block.size())) || f.gcount() > 0) {
        const auto n = static_cast<std::size_t>(f.gcount());
        ASSERT_TRUE(std::equal(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(n),
                               Muster().begin()))
            << "bei Byte " << gelesen;
        gelesen += static_cast<std::int64_t>(n);
    }
    EXPECT_EQ(gelesen, Groesse);
}

TEST(CSchnittstelle, DownloadMitRueckrufen) {
    Testserver server({{.bloecke = {Chunked + "7d0\r\n" + K2000 + "\r\n0\r\n\r\n"}}});
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("c.bin"));
    CErgebnis e;
    CHerunterladen(server.Url("/c").c_str(), datei.toUtf8().constData(), Frist, &e);
    EXPECT_EQ(e.gestartet, 1);
    EXPECT_EQ(e.gewartet, 1);
    EXPECT_EQ(e.starts, 1);
    EXPECT_GE(e.progresse, 1);
    EXPECT_EQ(e.finishes, 1);
    EXPECT_EQ(e.geladen, 2000);
    EXPECT_EQ(e.status, 200);
    EXPECT_EQ(e.vollstaendig, 1);
    EXPECT_EQ(Inhalt(datei), K2000);
}

// A server that accepts and then says nothing: the wait returns when its time is up, and the
// abort leaves nothing to wait for.
TEST(CSchnittstelle, WartenEndetNachDerFrist) {
    Testserver server(std::vector<Antwort>{{.bloecke = {}, .offenLassen = true}});
    QTemporaryDir ordner;
    CErgebnis e;
    QElapsedTimer uhr;
    uhr.start();
    CHerunterladen(server.Url("/still").c_str(),
                   ordner.filePath(QStringLiteral("x")).toUtf8().constData(), 300, &e);
    EXPECT_LT(uhr.elapsed(), 3000);
    EXPECT_EQ(e.gestartet, 1);
    EXPECT_EQ(e.gewartet, 0);
    EXPECT_EQ(e.nachAbbruch, -1);
    EXPECT_EQ(e.finishes, 0);
    EXPECT_EQ(e.fehler, FERNLADER_ABGEBROCHEN);

    CHerunterladen("https://127.0.0.1/x", ordner.filePath(QStringLiteral("x")).toUtf8().constData(),
                   300, &e);
    EXPECT_EQ(e.gestartet, 0);
    EXPECT_EQ(e.gewartet, -1);
    EXPECT_EQ(e.fehler, FERNLADER_NUR_HTTP);
}

// The command: exit status, the file kept only when whole and 2xx, and a message that says why.
TEST(Befehl, FernladerUrlDatei) {
    // Answered in this order; the fourth says nothing and keeps the connection open.
    Testserver server({{.bloecke = {Kopf(5) + "hallo"}},
                       {.bloecke = {"HTTP/1.1 404 Not Found\r\nContent-Length: 1\r\n\r\nx"}},
                       {.bloecke = {Kopf(9) + "abc"}},
                       {.bloecke = {}, .offenLassen = true}});
    const QString url = QStringLiteral("http://127.0.0.1:%1/x").arg(server.Port());
    // A port that was free a moment ago: nobody listens there.
    const QString niemand = QStringLiteral("http://127.0.0.1:%1/x").arg(Testserver().Port());
    struct Fall {
        QStringList argumente; // before FILE
        int status;
        const char* datei; // the file afterwards; nullptr: none
        const char* meldung;
    } const faelle[] = {
        {{url}, 0, "hallo", "saved"},
        {{url}, 1, nullptr, "answered 404 Not Found"},
        {{url}, 1, nullptr, "closed after 3 bytes of 9"},
        {{QStringLiteral("-t"), QStringLiteral("0.5"), url}, 1, nullptr, "no data for 0.5 s"},
        {{QStringLiteral("https://127.0.0.1/x")}, 1, "alt", "only http://"},
        {{niemand}, 1, nullptr, "Connection refused"},
    };
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("aus.bin"));
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.meldung);
        Anlegen(datei, "alt");
        QProcess befehl;
        befehl.start(QStringLiteral(KONTURO_BIN "/fernlader"), f.argumente + QStringList{datei});
        ASSERT_TRUE(befehl.waitForFinished(Frist));
        EXPECT_EQ(befehl.exitCode(), f.status);
        EXPECT_EQ(Inhalt(datei), f.datei ? f.datei : "(fehlt)");
        const QByteArray meldung = befehl.readAllStandardError();
        EXPECT_NE(meldung.indexOf(f.meldung), -1) << meldung.toStdString();
    }
    QProcess ohne;
    ohne.start(QStringLiteral(KONTURO_BIN "/fernlader"), {});
    ASSERT_TRUE(ohne.waitForFinished(Frist));
    EXPECT_EQ(ohne.exitCode(), 2);
}

} // namespace
