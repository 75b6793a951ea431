// The options window on the offscreen platform: values shown and stored at once, a curve step
// outside the list, typing numbers in both number formats, "OK" making the geometry again only
// when a change needs it, and the captions in both languages with room for them.
#include "app/qt/Optionen.h"
#include "tests/gui/GuiHilfe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace konturo;

namespace {

struct Aufbau : test::GuiAufbau {
    explicit Aufbau(int sprache = 1) : GuiAufbau(test::DatMitSprache(sprache)) { Starten(); }
};

// Opens the window through its entry function and runs handeln on it while it is shown
// modally; a window the handler leaves open is closed without "OK".
void Bedienen(Aufbau& a, const std::function<void(Optionen&)>& handeln) {
    bool gesehen = false;
    QTimer::singleShot(0, [&] {
        auto* f = qobject_cast<Optionen*>(QApplication::activeModalWidget());
        if (!f) return;
        gesehen = true;
        handeln(*f);
        if (f->isVisible()) f->reject();
    });
    OptionenZeigen(a.s, a.form.get());
    QVERIFY2(gesehen, "OptionenZeigen did not show the window modally");
}

void Tippen(QLineEdit* feld, const QString& text) {
    feld->clear();
    QTest::keyClicks(feld, text);
}

void Ok(Optionen& f) { QTest::mouseClick(f.Command1, Qt::LeftButton); }

} // namespace

class TstOptionen : public QObject {
    Q_OBJECT
private slots:
    void werteZeigenUndSofortSpeichern();
    void okMachtDieGeometrieNurBeiBedarfNeu();
    void splineTeilungAusserhalbDerListe();
    void zahlenImFormatDesBenutzers_data();
    void zahlenImFormatDesBenutzers();
    void texteUndPlatz_data();
    void texteUndPlatz();
};

void TstOptionen::werteZeigenUndSofortSpeichern() {
    Aufbau a;
    Einstellungen& e = a.s.einstellungen;
    e.Unterbrechung = 1;
    e.WarnAusgabe = 0;
    e.WarnDarstellung = 1;
    e.Ausgabenfarbe = 1;
    e.GespiegelteAusgabe = 0;
    e.SplineT = 0.01;
    e.maxRadius = 250.5;
    e.WarnLaenge = 0.3;
    a.s.speicher.DezimalPunkt = true;
    Optionen f(a.s, a.form.get());
    QCOMPARE(f.Combo1->currentIndex(), 1);
    QCOMPARE(f.Text2->text(), QStringLiteral("250.5"));
    QCOMPARE(f.Text11->text(), QStringLiteral("0.3"));
    QVERIFY(f.Check1->isChecked());
    QVERIFY(!f.Check2->isChecked());
    QVERIFY(f.Check3->isChecked());
    QVERIFY(f.Check4->isChecked());
    QVERIFY(!f.Check5->isChecked());
    QVERIFY(!f.NeuBerechnen);

    // Each box writes its setting at once, both ways.
    const std::pair<QCheckBox*, std::uint8_t*> boxen[] = {{f.Check1, &e.Unterbrechung},
                                                          {f.Check2, &e.WarnAusgabe},
                                                          {f.Check3, &e.WarnDarstellung},
                                                          {f.Check4, &e.Ausgabenfarbe},
                                                          {f.Check5, &e.GespiegelteAusgabe}};
    for (const auto& [box, wert] : boxen) {
        const int vorher = *wert;
        box->click();
        QVERIFY2(*wert == 1 - vorher, qPrintable(box->objectName()));
        box->click();
        QVERIFY2(*wert == vorher, qPrintable(box->objectName()));
    }

    // The list's entries stand for 0.05, 0.01 and 0.1.
    f.show();
    f.Combo1->setFocus();
    QTest::keyClick(f.Combo1, Qt::Key_Down);
    QCOMPARE(e.SplineT, 0.1);
    QTest::keyClick(f.Combo1, Qt::Key_Home);
    QCOMPARE(e.SplineT, 0.05);
}

void TstOptionen::okMachtDieGeometrieNurBeiBedarfNeu() {
    struct Fall {
        const char* name;
        std::function<void(Optionen&)> aendern;
        bool mitGeometrie;
        bool ok; // closed with "OK", otherwise with Escape
        bool neu;
    };
    const Fall faelle[] = {
        {"nichts geaendert", [](Optionen&) {}, true, true, false},
        {"nur max. Radius", [](Optionen& f) { Tippen(f.Text2, "50"); }, true, true, false},
        {"Check1, Check2, Check4, Check5",
         [](Optionen& f) {
             for (QCheckBox* b : {f.Check1, f.Check2, f.Check4, f.Check5}) b->click();
         },
         true, true, false},
        {"Check3", [](Optionen& f) { f.Check3->click(); }, true, true, true},
        {"Combo1",
         [](Optionen& f) {
             f.Combo1->setFocus();
             QTest::keyClick(f.Combo1, Qt::Key_Down);
         },
         true, true, true},
        {"Grenzlaenge", [](Optionen& f) { Tippen(f.Text11, "0,5"); }, true, true, true},
        {"Grenzlaenge geleert", [](Optionen& f) { f.Text11->clear(); }, true, true, true},
        {"Check3, leerer Speicher", [](Optionen& f) { f.Check3->click(); }, false, true, false},
        {"Check3, ohne OK geschlossen", [](Optionen& f) { f.Check3->click(); }, true, false, false},
    };
    for (const Fall& fall : faelle) {
        Aufbau a;
        a.s.speicher.DezimalPunkt = true;
        a.Importieren();
        const std::int32_t gemacht = a.s.speicher.ElementAnzahl();
        QVERIFY(gemacht > 0);
        // A marker that only a new import removes: an extra element, or an empty store whose
        // current file would fill it again.
        if (fall.mitGeometrie) {
            const GeoElement zusatz = a.s.speicher.Elemente[1];
            a.s.speicher.Elemente.Anfuegen(zusatz);
        } else {
            ElementeLeeren(a.s.speicher);
        }
        const std::int32_t vorher = a.s.speicher.ElementAnzahl();
        const double warnLaenge = a.s.einstellungen.WarnLaenge;

        Bedienen(a, [&](Optionen& f) {
            fall.aendern(f);
            if (fall.ok)
                Ok(f);
            else
                QTest::keyClick(&f, Qt::Key_Escape);
            QVERIFY2(!f.isVisible(), fall.name);
        });
        const std::int32_t nachher = a.s.speicher.ElementAnzahl();
        QVERIFY2(nachher == (fall.neu ? gemacht : vorher),
                 qPrintable(QStringLiteral("%1: %2 elements").arg(fall.name).arg(nachher)));
        if (QLatin1String(fall.name) == QLatin1String("Grenzlaenge geleert"))
            QCOMPARE(a.s.einstellungen.WarnLaenge, warnLaenge);
        if (QLatin1String(fall.name) == QLatin1String("nur max. Radius"))
            QCOMPARE(a.s.einstellungen.maxRadius, 50.0);
        QVERIFY2(a.meldungen.isEmpty(), fall.name);
    }
}

void TstOptionen::splineTeilungAusserhalbDerListe() {
    Aufbau a;
    a.s.speicher.DezimalPunkt = false;
    a.s.einstellungen.SplineT = 0.02;
    a.Importieren();
    const std::int32_t anzahl = a.s.speicher.ElementAnzahl();
    Bedienen(a, [](Optionen& f) {
        QCOMPARE(f.Combo1->currentIndex(), -1);
        QCOMPARE(f.Combo1->currentText(), QString());
        // The step in force is still shown, in the user's number format.
        QCOMPARE(f.Combo1->placeholderText(), QStringLiteral("0,02"));
        Ok(f);
    });
    QCOMPARE(a.s.einstellungen.SplineT, 0.02);
    QCOMPARE(a.s.speicher.ElementAnzahl(), anzahl);

    Bedienen(a, [](Optionen& f) {
        f.Combo1->setFocus();
        QTest::keyClick(f.Combo1, Qt::Key_Down);
        QCOMPARE(f.Combo1->currentIndex(), 0);
        QVERIFY(f.NeuBerechnen);
    });
    QCOMPARE(a.s.einstellungen.SplineT, 0.05);
}

void TstOptionen::zahlenImFormatDesBenutzers_data() {
    QTest::addColumn<bool>("dezimalPunkt");
    QTest::addColumn<QString>("gezeigt"); // maxRadius 9999.99 as the window shows it
    QTest::addColumn<QString>("getippt");
    QTest::addColumn<QString>("feld");
    QTest::addColumn<double>("wert");
    QTest::newRow("Komma-Format, Komma") << false << "9999,99"
                                         << "12,5"
                                         << "12,5" << 12.5;
    QTest::newRow("Komma-Format, Punkt") << false << "9999,99"
                                         << "12.5"
                                         << "12,5" << 12.5;
    QTest::newRow("Punkt-Format, Komma") << true << "9999.99"
                                         << "12,5"
                                         << "12.5" << 12.5;
    QTest::newRow("kein Vorzeichen, keine Buchstaben") << true << "9999.99"
                                                       << "-3x"
                                                       << "3" << 3.0;
}

void TstOptionen::zahlenImFormatDesBenutzers() {
    QFETCH(bool, dezimalPunkt);
    QFETCH(QString, gezeigt);
    QFETCH(QString, getippt);
    QFETCH(QString, feld);
    QFETCH(double, wert);
    Aufbau a;
    a.s.speicher.DezimalPunkt = dezimalPunkt;
    a.s.einstellungen.maxRadius = 9999.99;
    a.s.einstellungen.WarnLaenge = 0.3;
    Optionen f(a.s, a.form.get());
    QCOMPARE(f.Text2->text(), gezeigt);
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.SSTab1->setCurrentIndex(2);
    Tippen(f.Text2, getippt);
    QCOMPARE(f.Text2->text(), feld);
    QCOMPARE(a.s.einstellungen.maxRadius, wert);

    // "Grenzlaenge:" selects its text when it gets the focus, so typing replaces it.
    f.SSTab1->setCurrentIndex(3);
    f.Text11->setFocus();
    QTRY_COMPARE(f.Text11->selectedText(), f.Text11->text());
    QTest::keyClicks(f.Text11, getippt);
    QCOMPARE(f.Text11->text(), feld);
    QCOMPARE(a.s.einstellungen.WarnLaenge, wert);
}

void TstOptionen::texteUndPlatz_data() {
    QTest::addColumn<int>("sprache");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QStringList>("reiter");
    QTest::addColumn<QString>("eintrag1");
    QTest::addColumn<QString>("grenze");
    QTest::newRow("deutsch") << 1 << "Optionen"
                             << QStringList{"Programm", "Konvertierung", "Ausgabe",
                                            "Kurze Elemente"}
                             << "mittel (0,05)" << QString::fromUtf8("Grenzlänge:");
    QTest::newRow("englisch") << 2 << "Options"
                              << QStringList{"Program", "Conversion", "Output", "Short elements"}
                              << "medium (0.05)"
                              << "Limit length:";
}

void TstOptionen::texteUndPlatz() {
    QFETCH(int, sprache);
    QFETCH(QString, titel);
    QFETCH(QStringList, reiter);
    QFETCH(QString, eintrag1);
    QFETCH(QString, grenze);
    Aufbau a(sprache);
    Optionen f(a.s, a.form.get());
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.windowTitle(), titel);
    QCOMPARE(f.SSTab1->count(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(f.SSTab1->tabText(i), reiter[i]);
        // Every tab shows its whole caption without scrolling the tab bar.
        QVERIFY2(f.SSTab1->tabBar()->tabRect(i).right() < f.SSTab1->width(), qPrintable(reiter[i]));
    }
    QCOMPARE(f.Combo1->itemText(0), eintrag1);
    QCOMPARE(f.Label1->text(), grenze);
    // Each frame sits on its tab: Programm, Konvertierung, Ausgabe, Kurze Elemente.
    const QGroupBox* frames[] = {f.Frame1, f.Frame3, f.Frame2, f.Frame4};
    for (int i = 0; i < 4; ++i) {
        f.SSTab1->setCurrentIndex(i);
        QVERIFY(frames[i]->isVisible());
        // No caption is cut.
        for (const QWidget* w : frames[i]->findChildren<QWidget*>()) {
            if (!qobject_cast<const QLabel*>(w) && !qobject_cast<const QCheckBox*>(w)) continue;
            QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(w->objectName()));
        }
    }
    QVERIFY(f.rect().contains(f.Command1->geometry()));
    QCOMPARE(f.Command1->text(), QStringLiteral("OK"));
}

QTEST_MAIN(TstOptionen)
#include "tst_optionen.moc"
