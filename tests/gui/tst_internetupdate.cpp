// The update window on the offscreen platform, downloading from a loopback server: live progress
// (a busy bar without a length), the saved path, every failure with its message and no file left
// behind, "Abbruch", the address kept in the settings, and the menu entry opening the window.
// With KONTURO_BILDER set to a folder, the window is also saved there as pictures.
#include "app/qt/InternetUpdate.h"
#include "tests/fernlader/Testserver.h"
#include "tests/gui/GuiHilfe.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace konturo;
using fernlader::test::Antwort;
using fernlader::test::Testserver;

namespace {

struct Aufbau : test::GuiAufbau {
    explicit Aufbau(int sprache = 1) : GuiAufbau(test::DatMitSprache(sprache)) { Starten(); }
    QString Text(int nr) const { return QString::fromStdString(s.Text(nr)); }
};

std::string Kopf(int laenge) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(laenge) + "\r\n\r\n";
}

QByteArray Inhalt(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(fehlt)");
}

void Bild(QWidget& w, const QString& name) {
    const QString ordner = qEnvironmentVariable("KONTURO_BILDER");
    if (!ordner.isEmpty()) w.grab().save(ordner + QStringLiteral("/update-") + name + ".png");
}

// Fills in address and folder and clicks "Download".
void Starten(InternetUpdate& f, const QString& url, const QString& ordner) {
    f.Text1->setText(url);
    f.Text2->setText(ordner);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
}

struct Fehlschlag {
    const char* name;
    std::string antwort; // empty: nothing listens
    const char* url;     // %1: the port
    bool ordnerFehlt;
    int textNr;
    const char* zusatz; // in the message after the text
    // A file of the same name stays where the download never began; otherwise nothing is left.
    bool alteDateiBleibt;
};

const Fehlschlag Fehlschlaege[] = {
    {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 1\r\n\r\nx", "http://127.0.0.1:%1/u.zip",
     false, 47, " 404 Not Found", false},
    {"abgerissen", Kopf(9) + "abc", "http://127.0.0.1:%1/u.zip", false, 150, "", false},
    {"kaputte Antwort", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n",
     "http://127.0.0.1:%1/u.zip", false, 46, " invalid Content-Length", false},
    {"nicht erreichbar", "", "http://127.0.0.1:%1/u.zip", false, 48, " 127.0.0.1:", false},
    {"https", "", "https://127.0.0.1:%1/u.zip", false, 49, " https://127.0.0.1:", true},
    {"Adresse ungueltig", "", "http://:%1/u.zip", false, 148, " http://:", true},
    {"Ordner fehlt", Kopf(1) + "x", "http://127.0.0.1:%1/u.zip", true, 46, "no writable folder",
     true},
};

} // namespace

class TstInternetUpdate : public QObject {
    Q_OBJECT
private slots:
    void downloadMitFortschritt_data();
    void downloadMitFortschritt();
    void fehlschlaege_data();
    void fehlschlaege();
    void abbruch();
    void dateinameAusAdresse();
    void menueOeffnetDasFenster();
};

void TstInternetUpdate::downloadMitFortschritt_data() {
    QTest::addColumn<int>("sprache");
    QTest::newRow("deutsch") << 1;
    QTest::newRow("englisch") << 2;
}

// First without a length (a busy bar), then with one (a bar that fills); each ends with the
// saved path, and the address is kept for the next time.
void TstInternetUpdate::downloadMitFortschritt() {
    QFETCH(int, sprache);
    Aufbau a(sprache);
    const std::string teil1(1000, 'a'), teil2(1500, 'b');
    Testserver server(
        {{.bloecke = {"HTTP/1.1 200 OK\r\n\r\n" + teil1, teil2}, .schrittweise = true},
         {.bloecke = {Kopf(2500) + teil1, teil2}, .schrittweise = true}});
    InternetUpdate f(a.s, a.form.get());
    f.show();
    QCOMPARE(f.windowTitle(), a.Text(41));
    QCOMPARE(f.Label1->text(), a.Text(42));
    QCOMPARE(f.Command2->text(), a.Text(70));
    const QString url = QString::fromStdString(server.Url("/neu/Konturo%20Setup.zip"));
    const QString ziel = a.ordner.filePath(QStringLiteral("Konturo Setup.zip"));

    for (int runde = 0; runde < 2; ++runde) {
        Starten(f, url, a.ordner.path());
        QTRY_COMPARE(f.Label3->text().replace(',', '.'),
                     runde == 0 ? QStringLiteral("1.0 kB") : QStringLiteral("1.0 / 2.5 kB"));
        QVERIFY(f.Laeuft());
        QCOMPARE(f.Command2->text(), a.Text(133));
        QVERIFY(!f.Command1->isEnabled() && !f.Text1->isEnabled());
        if (runde == 0) {
            QCOMPARE(f.ProgressBar1->maximum(), 0);
        } else {
            QCOMPARE(f.ProgressBar1->value(), 400);
        }
        Bild(f, QStringLiteral("%1-laeuft-%2").arg(sprache == 1 ? "de" : "en").arg(runde));
        server.Weiter();
        QTRY_COMPARE(a.meldungen.size(), runde + 1);
        QCOMPARE(a.meldungen.last().first, 45);
        QCOMPARE(a.meldungen.last().second, a.Text(45) + ' ' + ziel);
        QCOMPARE(f.Label3->text(), a.meldungen.last().second);
        QCOMPARE(f.ProgressBar1->value(), f.ProgressBar1->maximum());
        QVERIFY(f.ProgressBar1->maximum() > 0);
        QCOMPARE(Inhalt(ziel), QByteArray::fromStdString(teil1 + teil2));
        QCOMPARE(f.Command2->text(), a.Text(70));
        Bild(f, QStringLiteral("%1-fertig-%2").arg(sprache == 1 ? "de" : "en").arg(runde));
    }
    QCOMPARE(QString::fromStdString(a.s.einstellungen.UpdateAdresse), url);
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    QCOMPARE(f.result(), int(QDialog::Accepted));
}

void TstInternetUpdate::fehlschlaege_data() {
    QTest::addColumn<int>("nr");
    for (int i = 0; i < int(std::size(Fehlschlaege)); ++i) QTest::newRow(Fehlschlaege[i].name) << i;
}

void TstInternetUpdate::fehlschlaege() {
    QFETCH(int, nr);
    const Fehlschlag& fall = Fehlschlaege[nr];
    Aufbau a;
    std::uint16_t port = 0;
    {
        Testserver frei; // a port nobody listens on once it is closed
        port = frei.Port();
    }
    std::vector<Antwort> antworten;
    if (!fall.antwort.empty()) antworten.push_back({.bloecke = {fall.antwort}});
    Testserver server(antworten);
    if (!fall.antwort.empty()) port = server.Port();
    InternetUpdate f(a.s, a.form.get());
    f.show();
    const QString ziel = a.ordner.filePath(QStringLiteral("u.zip"));
    test::DateiAnlegen(ziel, "alt");
    const QString ordner =
        fall.ordnerFehlt ? a.ordner.filePath(QStringLiteral("fehlt")) : a.ordner.path();
    Starten(f, QString::fromLatin1(fall.url).arg(port), ordner);
    QTRY_COMPARE(a.meldungen.size(), 1);
    QCOMPARE(a.meldungen[0].first, fall.textNr);
    const QString& meldung = a.meldungen[0].second;
    QVERIFY2(meldung.startsWith(a.Text(fall.textNr)) && meldung.contains(fall.zusatz),
             qPrintable(meldung));
    QVERIFY(!f.Laeuft());
    QVERIFY(f.Command1->isEnabled());
    QCOMPARE(QFile::exists(ziel), fall.alteDateiBleibt);
}

// "Abbruch" stops the download and removes its file; the close box does the same; with nothing
// running, the button closes the window.
void TstInternetUpdate::abbruch() {
    Aufbau a;
    Testserver server(
        {{.bloecke = {Kopf(2000) + std::string(700, 'a'), "b"}, .schrittweise = true},
         {.bloecke = {Kopf(2000) + std::string(700, 'a'), "b"}, .schrittweise = true}});
    InternetUpdate f(a.s, a.form.get());
    f.show();
    Starten(f, QString::fromStdString(server.Url("/u.zip")), a.ordner.path());
    QTRY_COMPARE(f.ProgressBar1->value(), 350);
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    QCOMPARE(a.MeldungsNummern(), QList<int>{149});
    QVERIFY(!f.Laeuft());
    QVERIFY(!QFile::exists(f.Zieldatei()));
    QCOMPARE(f.Command2->text(), a.Text(70));

    Starten(f, QString::fromStdString(server.Url("/u.zip")), a.ordner.path());
    QTRY_COMPARE(f.ProgressBar1->value(), 350);
    f.reject();
    QVERIFY(!f.Laeuft());
    QVERIFY(!QFile::exists(f.Zieldatei()));
    QCOMPARE(a.MeldungsNummern(), QList<int>{149});
}

void TstInternetUpdate::dateinameAusAdresse() {
    const QPair<const char*, const char*> faelle[] = {
        {"http://h:81/a/Konturo%20Setup%202.zip?x=1#y", "Konturo Setup 2.zip"},
        {"h/a/b.exe", "b.exe"},
        {"http://h", "download"},
        {"http://h/ordner/", "download"},
        {"http://h/..", "download"},
        {"http://h/a%2Fb", "ab"},
    };
    for (const auto& [adresse, name] : faelle)
        QCOMPARE(DateinameAusAdresse(QLatin1String(adresse)), QLatin1String(name));
}

void TstInternetUpdate::menueOeffnetDasFenster() {
    Aufbau a(2);
    a.s.einstellungen.UpdateAdresse = "http://update.example/konturo.zip";
    QString titel, adresse;
    QTimer::singleShot(0, [&] {
        auto* f = qobject_cast<InternetUpdate*>(QApplication::activeModalWidget());
        if (!f) return;
        titel = f->windowTitle();
        adresse = f->Text1->text();
        f->reject();
    });
    a.form->Aktion(QStringLiteral("mnuInternetUpdate"))->trigger();
    QCOMPARE(titel, a.Text(41));
    QCOMPARE(adresse, QStringLiteral("http://update.example/konturo.zip"));
    QVERIFY(a.meldungen.isEmpty());
}

QTEST_MAIN(TstInternetUpdate)
#include "tst_internetupdate.moc"
