// Serienmacher's window on the offscreen platform: the number boxes against typed letters, cleared
// boxes and pasted text, the options, the file the button writes, the refusals, the settings kept
// across a restart, closing during a write, and the texts in both languages.
#include "app/adapter/EinstellungenQt.h"
#include "serienmacher/qt/Main.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace konturo;
using namespace konturo::serienmacher;

namespace {

// The window over a private INI file, with the save dialog and the message box recorded.
struct Aufbau {
    QTemporaryDir ordner;
    QString ini = ordner.filePath(QStringLiteral("Serienmacher.ini"));
    std::unique_ptr<EinstellungenQt> speicher;
    std::unique_ptr<Main> fenster;
    QStringList meldungen;
    QStringList filter;
    QString antwort; // what the save dialog answers; empty is Cancel

    explicit Aufbau(bool deutsch = true) { Starten(deutsch); }

    void Starten(bool deutsch = true) {
        fenster.reset();
        speicher = std::make_unique<EinstellungenQt>(ini);
        fenster = std::make_unique<Main>(*speicher, deutsch);
        fenster->meldung = [this](const QString& t) { meldungen.append(t); };
        fenster->speicherDialog = [this](const QString& f) {
            filter.append(f);
            return antwort;
        };
    }

    QLineEdit* Feld(int nr) const { return fenster->Feld(nr); }

    QByteArray Erzeugen(const QString& name) {
        antwort = ordner.filePath(name);
        fenster->Command1()->click();
        QFile f(antwort);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

class TstSerienmacher : public QObject {
    Q_OBJECT
private slots:
    void zahlenfelderBehaltenIhrenWert();
    void erzeugtDieDateiMitDenOptionen();
    void verweigertOhneDatei();
    void schliessenBeendetDasSchreiben();
    void einstellungenUeberEinenNeustart();
    void texteInBeidenSprachen();
};

void TstSerienmacher::zahlenfelderBehaltenIhrenWert() {
    Aufbau a;
    QLineEdit* text2 = a.Feld(2);
    text2->clear();
    QCOMPARE(a.fenster->Werte().StartNr, 0); // cleared: the number stays
    QTest::keyClicks(text2, QStringLiteral("1a2"));
    QCOMPARE(text2->text(), QStringLiteral("12"));
    QCOMPARE(a.fenster->Werte().StartNr, 12);
    // A typed sign or blank would still give a whole number; only the key filter stops them.
    text2->home(false);
    QTest::keyClicks(text2, QStringLiteral("- +"));
    QCOMPARE(text2->text(), QStringLiteral("12"));
    text2->end(false);
    QTest::keyClick(text2, Qt::Key_Backspace);
    QCOMPARE(a.fenster->Werte().StartNr, 1);

    text2->clear();
    QCOMPARE(a.fenster->Werte().StartNr, 1);

    text2->setText(QStringLiteral("5"));
    QGuiApplication::clipboard()->setText(QStringLiteral("12a"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("12a"));
    text2->selectAll();
    text2->paste();
    QCOMPARE(text2->text(), QStringLiteral("5"));
    QCOMPARE(a.fenster->Werte().StartNr, 5);

    // Pasted negative numbers are whole numbers; an eleventh digit would leave the 32-bit range.
    QGuiApplication::clipboard()->setText(QStringLiteral("-40"));
    a.Feld(3)->selectAll();
    a.Feld(3)->paste();
    QCOMPARE(a.fenster->Werte().EndNr, -40);
    a.Feld(3)->setText(QStringLiteral("2147483647"));
    QTest::keyClicks(a.Feld(3), QStringLiteral("0"));
    QCOMPARE(a.Feld(3)->text(), QStringLiteral("2147483647"));
    QCOMPARE(a.fenster->Werte().EndNr, 2147483647);
}

void TstSerienmacher::erzeugtDieDateiMitDenOptionen() {
    Aufbau a;
    a.Feld(1)->setText(QStringLiteral("Tür "));
    a.Feld(2)->setText(QStringLiteral("8"));
    a.Feld(3)->setText(QStringLiteral("10"));
    a.fenster->Check2()->click();
    QVERIFY(a.fenster->Werte().FuehrendeNullen);
    QCOMPARE(a.Erzeugen(QStringLiteral("tuer.bch")),
             QByteArray("T\xFCr 08\r\nT\xFCr 09\r\nT\xFCr 10\r\n"));
    QCOMPARE(a.filter, QStringList{QStringLiteral("Batch-Dateien (*.bch)")});
    QCOMPARE(a.fenster->ProgressBar1()->value(), a.fenster->ProgressBar1()->maximum());

    a.fenster->Check1()->click();
    QVERIFY(a.fenster->Werte().Senkrecht);
    QCOMPARE(a.Erzeugen(QStringLiteral("senkrecht.bch")),
             QByteArray("T|\xFC|r| |0|8\r\nT|\xFC|r| |0|9\r\nT|\xFC|r| |1|0\r\n"));
    QVERIFY(a.meldungen.isEmpty());
    QVERIFY(a.fenster->centralWidget()->isEnabled());
}

void TstSerienmacher::verweigertOhneDatei() {
    Aufbau a;
    a.Feld(2)->setText(QStringLiteral("7"));
    a.Feld(3)->setText(QStringLiteral("3"));
    QVERIFY(a.Erzeugen(QStringLiteral("leer.bch")).isNull());
    QVERIFY(!QFile::exists(a.antwort));
    QVERIFY(a.filter.isEmpty()); // no dialog
    QCOMPARE(a.meldungen.size(), 1);
    QVERIFY(a.meldungen[0].contains(QStringLiteral("kleiner")));

    a.meldungen.clear();
    a.Feld(3)->setText(QStringLiteral("9"));
    a.antwort.clear(); // Cancel
    a.fenster->Command1()->click();
    QCOMPARE(a.filter.size(), 1);
    QVERIFY(a.meldungen.isEmpty());

    QVERIFY(a.Erzeugen(QStringLiteral("fehlt/x.bch")).isNull());
    QCOMPARE(a.meldungen.size(), 1);
    QVERIFY(a.meldungen[0].contains(QStringLiteral("fehlt/x.bch")));
}

void TstSerienmacher::schliessenBeendetDasSchreiben() {
    Aufbau a;
    a.Feld(2)->setText(QStringLiteral("-2147483648"));
    a.Feld(3)->setText(QStringLiteral("2147483647"));
    // Events run while the file is written; closing then stops after a whole line.
    QTimer::singleShot(20, a.fenster.get(), [&] { a.fenster->close(); });
    const QByteArray teil = a.Erzeugen(QStringLiteral("gross.bch"));
    QVERIFY(teil.startsWith("-2147483648\r\n-2147483647\r\n"));
    QVERIFY(teil.endsWith("\r\n"));
    QVERIFY(a.meldungen.isEmpty());
    QSettings gespeichert(a.ini, QSettings::IniFormat);
    QCOMPARE(gespeichert.value(QStringLiteral("Param/StartNr")).toString(),
             QStringLiteral("-2147483648"));
}

void TstSerienmacher::einstellungenUeberEinenNeustart() {
    Aufbau a;
    a.fenster.reset();
    {
        QSettings vorher(a.ini, QSettings::IniFormat);
        vorher.setValue(QStringLiteral("Param/VorText"), QStringLiteral("Tür "));
        vorher.setValue(QStringLiteral("Param/StartNr"), QStringLiteral("2.5"));
        vorher.setValue(QStringLiteral("Param/EndNr"), QStringLiteral("zwölf"));
        vorher.setValue(QStringLiteral("Param/NachText"), QStringLiteral("!"));
    }
    a.Starten();
    QCOMPARE(a.Feld(1)->text(), QStringLiteral("Tür "));
    QCOMPARE(a.Feld(2)->text(), QStringLiteral("2"));   // rounded half to even
    QCOMPARE(a.Feld(3)->text(), QStringLiteral("100")); // not a number: the default
    QCOMPARE(a.Feld(4)->text(), QStringLiteral("!"));
    QVERIFY(!a.fenster->Check1()->isChecked() && !a.fenster->Check2()->isChecked());

    a.Feld(1)->setText(QStringLiteral("Schild ☃"));
    a.Feld(2)->setText(QStringLiteral("-3"));
    a.Feld(3)->clear(); // keeps 100
    a.Feld(4)->clear();
    a.fenster->Check1()->click();
    QVERIFY(a.fenster->close());

    QSettings nachher(a.ini, QSettings::IniFormat);
    QCOMPARE(nachher.value(QStringLiteral("Param/VorText")).toString(), QStringLiteral("Schild ☃"));
    QCOMPARE(nachher.value(QStringLiteral("Param/StartNr")).toString(), QStringLiteral("-3"));
    QCOMPARE(nachher.value(QStringLiteral("Param/EndNr")).toString(), QStringLiteral("100"));
    QCOMPARE(nachher.value(QStringLiteral("Param/NachText")).toString(), QString());

    a.Starten();
    QCOMPARE(a.Feld(1)->text(), QStringLiteral("Schild ☃"));
    QVERIFY(!a.fenster->Check1()->isChecked());
}

void TstSerienmacher::texteInBeidenSprachen() {
    struct Erwartet {
        bool deutsch;
        QStringList texte;
    } sprachen[] = {
        {true,
         {"Serienmacher", "Eingabe", "Text vor Nummer", "Start-Nummer", "End-Nummer",
          "Text nach Nummer", "Textausgabe senkrecht", "führende Nullen ausgeben",
          "Batch-Datei erzeugen", "&Datei", "&Beenden", "&Info"}},
        {false,
         {"Serienmacher", "Input", "Text before number", "First number", "Last number",
          "Text after number", "Vertical text", "Leading zeros", "Create batch file", "&File",
          "E&xit", "&About"}},
    };
    for (const Erwartet& e : sprachen) {
        Aufbau a(e.deutsch);
        Main& m = *a.fenster;
        auto label = [&](int nr) {
            return m.findChild<QLabel*>(QStringLiteral("Label%1").arg(nr))->text();
        };
        const QStringList gezeigt{
            m.windowTitle(),
            m.findChild<QGroupBox*>(QStringLiteral("Frame1"))->title(),
            label(1),
            label(2),
            label(3),
            label(4),
            m.Check1()->text(),
            m.Check2()->text(),
            m.Command1()->text(),
            m.findChild<QMenu*>(QStringLiteral("mnuDatei"))->title(),
            m.findChild<QAction*>(QStringLiteral("mnuEnde"))->text(),
            m.findChild<QAction*>(QStringLiteral("mnuAbout"))->text(),
        };
        QCOMPARE(gezeigt, e.texte);
    }
}

QTEST_MAIN(TstSerienmacher)
#include "tst_serienmacher.moc"
