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
    const std::pair<QCheckBox * Optionen::*, std::uint8_t*> boxen[] = {
        {&Optionen::Check1, &e.Unterbrechung},
        {&Optionen::Check2, &e.WarnAusgabe},
        {&Optionen::Check3, &e.WarnDarstellung},
        {&Optionen::Check4, &e.Ausgabenfarbe},
        {&Optionen::Check5, &e.GespiegelteAusgabe}};
    int i = 0;
    for (const auto& b : boxen) *b.second = static_cast<std::uint8_t>(i++ % 2);
    e.SplineT = 0.01;
    e.maxRadius = 250.5;
    a.s.speicher.DezimalPunkt = true;
    Optionen f(a.s, a.form.get());
    QCOMPARE(f.Combo1->currentIndex(), 1);
    QCOMPARE(f.Text2->text(), QStringLiteral("250.5"));
    // Each box shows its setting and writes it at once.
    for (const auto& [box, wert] : boxen) {
        QCheckBox* c = f.*box;
        QVERIFY2(c->isChecked() == (*wert == 1), qPrintable(c->objectName()));
        c->click();
        QVERIFY2(*wert == (c->isChecked() ? 1 : 0), qPrintable(c->objectName()));
    }
    // The entries stand for 0.05, 0.01 and 0.1.
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
        bool mitGeometrie = true;
        bool ok = true; // otherwise closed with Escape
        bool neu = false;
    };
    auto check3 = [](Optionen& f) { f.Check3->click(); };
    const Fall faelle[] = {
        {"nur max. Radius", [](Optionen& f) { Tippen(f.Text2, "50"); }},
        {"Check1, Check2, Check4, Check5",
         [](Optionen& f) {
             for (QCheckBox* b : {f.Check1, f.Check2, f.Check4, f.Check5}) b->click();
         }},
        {"Check3", check3, true, true, true},
        {"Combo1", [](Optionen& f) { QTest::keyClick(f.Combo1, Qt::Key_Down); }, true, true, true},
        {"Grenzlaenge geleert", [](Optionen& f) { f.Text11->clear(); }, true, true, true},
        {"Check3, leerer Speicher", check3, false},
        {"Check3, ohne OK geschlossen", check3, true, false},
    };
    for (const Fall& fall : faelle) {
        Aufbau a;
        a.Importieren();
        const std::int32_t gemacht = a.s.speicher.ElementAnzahl();
        // Marks that only a new import removes: an extra element, or an empty store whose
        // current file would fill it again.
        if (fall.mitGeometrie) {
            const GeoElement zusatz = a.s.speicher.Elemente[1];
            a.s.speicher.Elemente.Anfuegen(zusatz);
        } else {
            ElementeLeeren(a.s.speicher);
        }
        const std::int32_t vorher = a.s.speicher.ElementAnzahl();
        Bedienen(a, [&](Optionen& f) {
            fall.aendern(f);
            if (fall.ok)
                Ok(f);
            else
                QTest::keyClick(&f, Qt::Key_Escape);
            QVERIFY2(!f.isVisible(), fall.name);
        });
        const std::int32_t nachher = a.s.speicher.ElementAnzahl();
        QVERIFY2(gemacht > 0 && nachher == (fall.neu ? gemacht : vorher),
                 qPrintable(QStringLiteral("%1: %2 elements").arg(fall.name).arg(nachher)));
    }
}

void TstOptionen::splineTeilungAusserhalbDerListe() {
    Aufbau a;
    a.s.speicher.DezimalPunkt = false;
    a.s.einstellungen.SplineT = 0.02;
    Bedienen(a, [](Optionen& f) {
        QCOMPARE(f.Combo1->currentIndex(), -1);
        // The step in force is still shown, in the user's number format.
        QCOMPARE(f.Combo1->placeholderText(), QStringLiteral("0,02"));
        Ok(f);
    });
    QCOMPARE(a.s.einstellungen.SplineT, 0.02);
    Bedienen(a, [](Optionen& f) {
        QTest::keyClick(f.Combo1, Qt::Key_Down);
        QCOMPARE(f.Combo1->currentIndex(), 0);
    });
    QCOMPARE(a.s.einstellungen.SplineT, 0.05);
}

void TstOptionen::zahlenImFormatDesBenutzers_data() {
    QTest::addColumn<bool>("dezimalPunkt");
    QTest::addColumn<QString>("gezeigt"); // maxRadius 9999.99 as the window shows it
    QTest::addColumn<QString>("getippt");
    QTest::addColumn<QString>("feld");
    QTest::addColumn<double>("wert");
    QTest::newRow("Komma-Format") << false << "9999,99"
                                  << "-12.5x"
                                  << "12,5" << 12.5;
    QTest::newRow("Punkt-Format") << true << "9999.99"
                                  << "-12,5x"
                                  << "12.5" << 12.5;
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
    QTest::addColumn<QStringList>("texte"); // caption, the four tabs, the first list entry
    QTest::newRow("deutsch") << 1 << QStringList{"Optionen", "Programm",       "Konvertierung",
                                                 "Ausgabe",  "Kurze Elemente", "mittel (0,05)"};
    QTest::newRow("englisch") << 2 << QStringList{"Options", "Program",        "Conversion",
                                                  "Output",  "Short elements", "medium (0.05)"};
}

void TstOptionen::texteUndPlatz() {
    QFETCH(int, sprache);
    QFETCH(QStringList, texte);
    Aufbau a(sprache);
    Optionen f(a.s, a.form.get());
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.windowTitle(), texte[0]);
    QCOMPARE(f.Combo1->itemText(0), texte[5]);
    const QGroupBox* frames[] = {f.Frame1, f.Frame3, f.Frame2, f.Frame4};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(f.SSTab1->tabText(i), texte[i + 1]);
        // Every tab caption in view, without scroll arrows, and no caption on the page cut.
        QVERIFY2(f.SSTab1->tabBar()->tabRect(i).right() < f.SSTab1->width(),
                 qPrintable(texte[i + 1]));
        f.SSTab1->setCurrentIndex(i);
        QVERIFY(frames[i]->isVisible());
        for (const QWidget* w : frames[i]->findChildren<QWidget*>()) {
            if (qobject_cast<const QLabel*>(w) || qobject_cast<const QCheckBox*>(w))
                QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(w->objectName()));
        }
    }
}

QTEST_MAIN(TstOptionen)
#include "tst_optionen.moc"
