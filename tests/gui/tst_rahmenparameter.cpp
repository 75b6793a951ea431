// The frame parameters window on the offscreen platform: what opening shows for each frame type,
// the option clicks, number fields stored at once, the template choice and "OK" rebuilding the
// frame of an imported drawing through the main window's menu entry.
#include "display/GrafikZeichnen.h"
#include "frames/qt/RahmenParameter.h"
#include "tests/gui/GuiHilfe.h"
#include "tests/output/LocaleHilfe.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cmath>

using namespace konturo;

namespace {

const QString TrigDxf = QStringLiteral(KONTURO_TESTDATEN "/frames/daten/librecad_trig.dxf");
const QString TrigErwartet =
    QStringLiteral(KONTURO_TESTDATEN "/frames/daten/librecad_trig.erwartet.csv");

// The main window started in the given language.
struct Aufbau : test::GuiAufbau {
    explicit Aufbau(int sprache = 1) : GuiAufbau(test::DatMitSprache(sprache)) { Starten(); }

    // Imports the rectangle with the frame type already set.
    void Importieren() {
        GuiAufbau::Importieren();
        anfragen.clear();
    }

    // The elements of the frame: the last contour, in the frame's place at the end of the store.
    QList<GeoElement> Rahmen() const {
        QList<GeoElement> r;
        const auto& el = s.speicher.Elemente;
        const std::int32_t n = el.Anzahl();
        if (n < 1) return r;
        const std::int32_t kontur = el[n].KonturNr;
        for (std::int32_t i = n; i >= 1 && el[i].KonturNr == kontur; --i) r.prepend(el[i]);
        return r;
    }
};

double LinkeKante(const QList<GeoElement>& rahmen) {
    double x = 1e300;
    for (const GeoElement& e : rahmen) {
        if (e.Typ == Linie) x = std::min({x, e.X1, e.X2});
    }
    return x;
}

// A click on the option's circle, where a user clicks (the middle of a wide button is no hit).
void Anklicken(QRadioButton* o) {
    QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(6, o->height() / 2));
}

// Opens the window through the main window's menu entry and runs handeln on it while it is
// shown modally; the handler must close it.
void MenueBedienen(Aufbau& a, const std::function<void(RahmenParameter&)>& handeln) {
    bool gesehen = false;
    QTimer::singleShot(0, [&] {
        auto* f = qobject_cast<RahmenParameter*>(QApplication::activeModalWidget());
        if (!f) return;
        gesehen = true;
        handeln(*f);
        if (f->isVisible()) f->reject();
    });
    a.form->Aktion(QStringLiteral("mnuRahmenparameter"))->trigger();
    QVERIFY2(gesehen, "the menu entry did not show the frame parameters window modally");
}

} // namespace

class TstRahmenParameter : public QObject {
    Q_OBJECT
private slots:
    void oeffnen_data();
    void oeffnen();
    void texteInEnglisch();
    void optionenWechseln();
    void felderSofortGespeichert_data();
    void felderSofortGespeichert();
    void deutschesZahlenformat();
    void neuerOffsetVerschiebtDenRahmen();
    void dxfVorlageWirdAngefuegt();
    void vorlagenDialogAbgebrochen();
    void bildschirmfoto();
};

void TstRahmenParameter::oeffnen_data() {
    QTest::addColumn<int>("rtyp");
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("automatischAn");
    QTest::addColumn<bool>("fixAn");
    QTest::addColumn<QString>("pfad");
    QTest::newRow("1 automatic square") << 1 << 1 << true << false << QString();
    QTest::newRow("3 automatic rounded") << 3 << 1 << true << false << QString();
    QTest::newRow("2 fixed square") << 2 << 2 << false << true << QString();
    QTest::newRow("4 fixed rounded") << 4 << 2 << false << true << QString();
    QTest::newRow("5 ToPs template") << 5 << 3 << false << false << QStringLiteral("/v/r.vlg");
    QTest::newRow("6 DXF template") << 6 << 4 << false << false << QStringLiteral("/v/r.dxf");
}

void TstRahmenParameter::oeffnen() {
    QFETCH(int, rtyp);
    QFETCH(int, option);
    QFETCH(bool, automatischAn);
    QFETCH(bool, fixAn);
    QFETCH(QString, pfad);
    Aufbau a;
    Einstellungen& e = a.s.einstellungen;
    e.Rtyp = static_cast<std::uint8_t>(rtyp);
    e.Roff = 2.5f;
    e.RRad = 4;
    e.Rx = 120.25;
    e.Ry = 80;
    e.RVorlage = "/v/r." + std::string(rtyp == 5 ? "vlg" : "dxf");
    RahmenParameter f(a.s, a.form.get(), a.form->dateiDialog);
    QCOMPARE(f.windowTitle(), QStringLiteral("Rahmen-Parameter"));
    for (int i = 1; i <= 4; ++i) QCOMPARE(f.Option(i)->isChecked(), i == option);
    const QStringList werte = {"2.5", "4", "120.25", "80", "4"};
    for (int i = 1; i <= 5; ++i) {
        QCOMPARE(f.Text(i)->text(), werte[i - 1]);
        QCOMPARE(f.Text(i)->isEnabled(), i <= 2 ? automatischAn : fixAn);
    }
    QCOMPARE(f.Text(6)->text(), pfad);
    // Showing the values stores nothing.
    QCOMPARE(int(e.Rtyp), rtyp);
    QCOMPARE(e.Rx, 120.25);
}

void TstRahmenParameter::texteInEnglisch() {
    Aufbau deutsch;
    RahmenParameter d(deutsch.s, nullptr, {});
    QCOMPARE(d.Option(1)->text(), QString::fromUtf8("Rahmengröße automatisch"));
    QCOMPARE(d.Frame(3)->title(), QStringLiteral("Vorlagenauswahl"));
    QCOMPARE(d.findChild<QLabel*>(QStringLiteral("Label6"))->text(), QString::fromUtf8("Höhe"));

    Aufbau englisch(2);
    RahmenParameter f(englisch.s, nullptr, {});
    const QList<QPair<QString, QString>> erwartet = {{"Option1", "Automatic frame size"},
                                                     {"Option2", "Fixed frame size"},
                                                     {"Option3", "Frame from ToPs template"},
                                                     {"Option4", "Frame from DXF template"},
                                                     {"Label1", "Offset"},
                                                     {"Label2", "Radius"},
                                                     {"Label3", "Radius"},
                                                     {"Label5", "Width"},
                                                     {"Label6", "Height"}};
    for (const auto& [name, text] : erwartet) {
        auto* o = f.findChild<QRadioButton*>(name);
        const QString ist = o ? o->text() : f.findChild<QLabel*>(name)->text();
        QVERIFY2(ist == text, qPrintable(name + ": " + ist));
    }
    QCOMPARE(f.Frame(3)->title(), QStringLiteral("Template choice"));
    // The window is placed at the same offset from the main window as the other parameter windows.
    RahmenParameter p(englisch.s, englisch.form.get(), {});
    QCOMPARE(p.pos(), englisch.form->geometry().topLeft() + QPoint(66, 66));
}

void TstRahmenParameter::optionenWechseln() {
    Aufbau a;
    Einstellungen& e = a.s.einstellungen;
    e.Rtyp = 3;
    e.RRad = 0;
    RahmenParameter f(a.s, nullptr, {});
    f.show();
    Anklicken(f.Option(2));
    QVERIFY(f.Option(2)->isChecked() && !f.Option(1)->isChecked());
    QCOMPARE(int(e.Rtyp), 2); // radius 0: square corners
    for (int i = 1; i <= 5; ++i) QCOMPARE(f.Text(i)->isEnabled(), i >= 3);

    e.RRad = 6;
    Anklicken(f.Option(1));
    QCOMPARE(int(e.Rtyp), 3);
    for (int i = 1; i <= 5; ++i) QCOMPARE(f.Text(i)->isEnabled(), i <= 2);

    // The template options are one choice with the size options although they sit in another
    // frame; the template is read only at "OK".
    Anklicken(f.Option(4));
    QVERIFY(f.Option(4)->isChecked() && !f.Option(1)->isChecked());
    QCOMPARE(int(e.Rtyp), 3);
}

void TstRahmenParameter::felderSofortGespeichert_data() {
    QTest::addColumn<int>("feld");
    QTest::newRow("Text1 Offset") << 1;
    QTest::newRow("Text2 Radius") << 2;
    QTest::newRow("Text3 Breite") << 3;
    QTest::newRow("Text4 Hoehe") << 4;
    QTest::newRow("Text5 Radius") << 5;
}

void TstRahmenParameter::felderSofortGespeichert() {
    QFETCH(int, feld);
    Aufbau a;
    Einstellungen& e = a.s.einstellungen;
    e.Rtyp = feld <= 2 ? 3 : 4;
    e.Roff = 10;
    e.RRad = 10;
    e.Rx = 10;
    e.Ry = 10;
    auto wert = [&] {
        switch (feld) {
        case 1:
            return static_cast<double>(e.Roff);
        case 3:
            return e.Rx;
        case 4:
            return e.Ry;
        default:
            return e.RRad;
        }
    };
    RahmenParameter f(a.s, nullptr, {});
    f.show();
    QLineEdit* t = f.Text(feld);
    t->setFocus();
    t->clear();
    QCOMPARE(wert(), 10.0); // an emptied field keeps its value
    QTest::keyClicks(t, QStringLiteral("-7,5x"));
    QCOMPARE(t->text(), QStringLiteral("7.5")); // no sign; "," is the user's "."; letters rejected
    QCOMPARE(wert(), 7.5);
    t->clear();
    QCOMPARE(wert(), 7.5);
}

void TstRahmenParameter::deutschesZahlenformat() {
    test::DeutschesLocale deutsch;
    if (!deutsch.Aktiv()) QSKIP("no German locale on this machine");
    Aufbau a;
    Einstellungen& e = a.s.einstellungen;
    e.Rtyp = 4;
    e.Rx = 120.25;
    e.Roff = 2.5f;
    RahmenParameter f(a.s, nullptr, {});
    QCOMPARE(f.Text(1)->text(), QStringLiteral("2,5"));
    QCOMPARE(f.Text(3)->text(), QStringLiteral("120,25"));
    f.show();
    f.Text(4)->setFocus();
    f.Text(4)->clear();
    QTest::keyClicks(f.Text(4), QStringLiteral("80.5"));
    QCOMPARE(f.Text(4)->text(), QStringLiteral("80,5"));
    QCOMPARE(e.Ry, 80.5);
}

void TstRahmenParameter::neuerOffsetVerschiebtDenRahmen() {
    Aufbau a;
    a.Importieren();
    const double xMin = a.s.speicher.XMin;
    const std::int32_t ohneRahmen = a.s.speicher.ElementAnzahl();
    a.s.einstellungen.Roff = 10;
    a.s.einstellungen.RRad = 5;
    a.form->mnuRahmenEin_Click();
    QVERIFY(a.form->Aktion(QStringLiteral("mnuRahmenparameter"))->isEnabled());
    QCOMPARE(a.s.speicher.ElementAnzahl(), ohneRahmen + 8);
    QVERIFY(std::abs(LinkeKante(a.Rahmen()) - (xMin - 10)) < 1e-9);
    const QString titelVorher = a.form->windowTitle();

    MenueBedienen(a, [](RahmenParameter& f) {
        QVERIFY(f.isModal());
        QVERIFY(f.Option(1)->isChecked());
        f.Text(1)->setFocus();
        f.Text(1)->selectAll();
        QTest::keyClicks(f.Text(1), QStringLiteral("25"));
        QTest::mouseClick(f.Command6(), Qt::LeftButton);
        QVERIFY(!f.isVisible());
    });
    QCOMPARE(a.s.einstellungen.Roff, 25.0f);
    QCOMPARE(int(a.s.einstellungen.Rtyp), 3);
    QCOMPARE(a.s.speicher.ElementAnzahl(), ohneRahmen + 8);
    const double kante = LinkeKante(a.Rahmen());
    QVERIFY2(std::abs(kante - (xMin - 25)) < 1e-9, qPrintable(QString::number(kante)));
    // The main window was redrawn: the caption gives the larger size.
    QVERIFY2(a.form->windowTitle() != titelVorher, qPrintable(a.form->windowTitle()));
    QCOMPARE(a.form->Feld(QStringLiteral("AnzElemente"))->text(),
             QString::fromStdString(AnzahlText(a.s.speicher)));
}

void TstRahmenParameter::dxfVorlageWirdAngefuegt() {
    Aufbau a;
    a.Importieren();
    const Speicher& sp = a.s.speicher;
    const double cx = (sp.XMax - sp.XMin) / 2 + sp.XMin;
    const double cy = (sp.YMax - sp.YMin) / 2 + sp.YMin;
    const std::int32_t ohneRahmen = sp.ElementAnzahl();
    a.form->mnuRahmenEin_Click();

    a.antwort = {true, TrigDxf, 1};
    MenueBedienen(a, [](RahmenParameter& f) {
        Anklicken(f.Option(4));
        QTest::mouseClick(f.Command1(), Qt::LeftButton);
        QCOMPARE(f.Text(6)->text(), TrigDxf);
        QTest::mouseClick(f.Command6(), Qt::LeftButton);
    });
    QCOMPARE(a.anfragen.size(), 1);
    QCOMPARE(a.anfragen[0].filter, QStringLiteral("DXF-Vorlage (*.dxf)|*.dxf"));
    QVERIFY(!a.anfragen[0].speichern);
    QCOMPARE(int(a.s.einstellungen.Rtyp), 6);
    QCOMPARE(QString::fromStdString(a.s.einstellungen.RVorlage), TrigDxf);

    // The template's elements, as an independent reader found them, follow the drawing, centred.
    QFile csv(TrigErwartet);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QList<QList<double>> zeilen;
    for (const QByteArray& z : csv.readAll().split('\n')) {
        if (z.trimmed().isEmpty()) continue;
        QList<double> w;
        for (const QByteArray& feld : z.trimmed().split(';')) w.append(feld.toDouble());
        zeilen.append(w);
    }
    QCOMPARE(sp.ElementAnzahl(), ohneRahmen + static_cast<std::int32_t>(zeilen.size()));
    for (int i = 0; i < zeilen.size(); ++i) {
        const QList<double>& w = zeilen[i];
        const GeoElement& e = sp.Elemente[ohneRahmen + 1 + i];
        const bool linie = w[0] == Linie;
        const double soll[5] = {w[1] + cx, w[2] + cy, linie ? w[3] + cx : w[3],
                                linie ? w[4] + cy : w[4], w[5]};
        const double ist[5] = {e.X1, e.Y1, e.X2, e.Y2, e.Radius};
        QVERIFY2(e.Typ == static_cast<int>(w[0]), qPrintable(QString("record %1").arg(i + 1)));
        QVERIFY2(e.Farbe == static_cast<std::int32_t>(w[6]),
                 qPrintable(QString("record %1").arg(i + 1)));
        for (int k = 0; k < 5; ++k) {
            QVERIFY2(std::abs(soll[k] - ist[k]) < 1e-6,
                     qPrintable(QString("record %1 value %2: %3 != %4")
                                    .arg(i + 1)
                                    .arg(k)
                                    .arg(ist[k])
                                    .arg(soll[k])));
        }
    }
}

void TstRahmenParameter::vorlagenDialogAbgebrochen() {
    Aufbau a;
    Einstellungen& e = a.s.einstellungen;
    e.Rtyp = 5;
    e.RVorlage = "/vorlagen/schild.vlg";
    a.antwort = {};
    RahmenParameter f(a.s, nullptr, a.form->dateiDialog);
    f.Command1_Click();
    QCOMPARE(a.anfragen.size(), 1);
    QCOMPARE(a.anfragen[0].filter, QStringLiteral("ToPs-Vorlage (*.vlg)|*.vlg"));
    QCOMPARE(a.anfragen[0].ordner, QStringLiteral("/vorlagen"));
    // Cancelling keeps the template chosen before, which the window still shows.
    QCOMPARE(e.RVorlage, std::string("/vorlagen/schild.vlg"));
    QCOMPARE(f.Text(6)->text(), QStringLiteral("/vorlagen/schild.vlg"));

    a.antwort = {true, QStringLiteral("/vorlagen/tafel.vlg"), 1};
    f.Command1_Click();
    QCOMPARE(e.RVorlage, std::string("/vorlagen/tafel.vlg"));
    QCOMPARE(f.Text(6)->text(), QStringLiteral("/vorlagen/tafel.vlg"));
}

void TstRahmenParameter::bildschirmfoto() {
    Aufbau a;
    a.s.einstellungen.Rtyp = 3;
    a.s.einstellungen.RVorlage.clear();
    RahmenParameter f(a.s, a.form.get(), {});
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QImage bild = f.grab().toImage();
    QVERIFY(bild.save(QStringLiteral(KONTURO_BIN "/../rahmen_parameter.png")));
    // Everything fits: the path field and "..." lie inside the window.
    QVERIFY(f.Command1()->geometry().right() < f.Frame(3)->width());
    QVERIFY(f.rect().contains(f.Command6()->geometry()));
}

QTEST_MAIN(TstRahmenParameter)
#include "tst_rahmenparameter.moc"
