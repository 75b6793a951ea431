// The colour window on the offscreen platform: "Reset" and "OK" giving the default colours, a
// chosen colour stored, shown and redrawn (except for the DXF marks), a cancelled chooser changing
// nothing, and the captions in both languages with room for them.
#include "display/qt/Farbe.h"
#include "display/qt/GrafikFlaeche.h"
#include "tests/gui/GuiHilfe.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace konturo;

namespace {

struct Aufbau : test::GuiAufbau {
    explicit Aufbau(int sprache = 1) : GuiAufbau(test::DatMitSprache(sprache)) { Starten(); }
};

// The colours of rows 1 to 8 (HGF, LF, BF, PF, TVF, THF, ElementWarnFarbe, DXFWarnFarbe).
std::int32_t* Zeilenfarbe(Einstellungen& e, int nr) {
    std::int32_t* farben[8] = {
        &e.HGF, &e.LF, &e.BF, &e.PF, &e.TVF, &e.THF, &e.ElementWarnFarbe, &e.DXFWarnFarbe};
    return farben[nr - 1];
}

QColor Feldfarbe(const Farbe& f, int nr) { return f.Text(nr)->palette().color(QPalette::Base); }

} // namespace

class TstFarbe : public QObject {
    Q_OBJECT
private slots:
    void resetUndOkGebenDieStandardfarben();
    void farbfeldKlicken_data();
    void farbfeldKlicken();
    void texteUndPlatz_data();
    void texteUndPlatz();
};

void TstFarbe::resetUndOkGebenDieStandardfarben() {
    Aufbau a;
    Einstellungen& e = a.s.einstellungen;
    for (int nr = 1; nr <= 8; ++nr) *Zeilenfarbe(e, nr) = RGB(1, 2, 3);
    int neugezeichnet = 0;
    bool gesehen = false;
    auto bedienen = [&neugezeichnet](Farbe& f) {
        for (int nr = 1; nr <= 8; ++nr) QCOMPARE(Feldfarbe(f, nr), QColor(1, 2, 3));
        QTest::mouseClick(f.Command1(), Qt::LeftButton);
        QCOMPARE(neugezeichnet, 1);
        QCOMPARE(Feldfarbe(f, 8), QColor(255, 255, 124));
        QTest::mouseClick(f.Command6(), Qt::LeftButton);
        QVERIFY(!f.isVisible());
    };
    QTimer::singleShot(0, [&] {
        auto* f = qobject_cast<Farbe*>(QApplication::activeModalWidget());
        if (!f) return;
        gesehen = true;
        bedienen(*f);
        // A failed check above must not leave the modal window waiting.
        if (f->isVisible()) f->reject();
    });
    FarbeZeigen(a.s, a.form.get(), [&neugezeichnet] { ++neugezeichnet; });
    QVERIFY2(gesehen, "FarbeZeigen did not show the window modally");
    const std::int32_t standard[8] = {RGB(0, 0, 0),   RGB(255, 255, 255), RGB(0, 255, 0),
                                      RGB(0, 255, 0), RGB(0, 0, 0),       RGB(255, 255, 255),
                                      RGB(255, 0, 0), RGB(255, 255, 124)};
    for (int nr = 1; nr <= 8; ++nr) QCOMPARE(*Zeilenfarbe(e, nr), standard[nr - 1]);
    QCOMPARE(neugezeichnet, 1);
}

void TstFarbe::farbfeldKlicken_data() {
    QTest::addColumn<int>("zeile");
    QTest::addColumn<bool>("gewaehlt"); // otherwise the chooser is cancelled
    const char* namen[8] = {"Hintergrund",    "Linien",          "Boegen",
                            "Punkte",         "Textvordergrund", "Texthintergrund",
                            "Kurze Elemente", "DXF-Markierungen"};
    for (int nr = 1; nr <= 8; ++nr) QTest::newRow(namen[nr - 1]) << nr << true;
    QTest::newRow("Linien, abgebrochen") << 2 << false;
}

void TstFarbe::farbfeldKlicken() {
    QFETCH(int, zeile);
    QFETCH(bool, gewaehlt);
    Aufbau a;
    Einstellungen& e = a.s.einstellungen;
    for (int nr = 1; nr <= 8; ++nr) *Zeilenfarbe(e, nr) = RGB(200, 100, nr);
    Farbe f(a.s, a.form.get());
    QList<QColor> vorgewaehlt;
    f.farbDialog = [&](const QColor& aktuell) -> std::optional<QColor> {
        vorgewaehlt.append(aktuell);
        if (!gewaehlt) return std::nullopt;
        return QColor(10, 20, 30);
    };
    int neugezeichnet = 0;
    f.neuzeichnen = [&neugezeichnet] { ++neugezeichnet; };
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTest::mouseClick(f.Text(zeile), Qt::LeftButton);
    QCOMPARE(vorgewaehlt, QList<QColor>{QColor(200, 100, zeile)});
    const std::int32_t erwartet = gewaehlt ? RGB(10, 20, 30) : RGB(200, 100, zeile);
    for (int nr = 1; nr <= 8; ++nr) {
        const std::int32_t soll = nr == zeile ? erwartet : RGB(200, 100, nr);
        QCOMPARE(*Zeilenfarbe(e, nr), soll);
        QCOMPARE(Feldfarbe(f, nr), FarbeAusRgb(soll));
    }
    // The DXF marks do not show in the main window, and a cancel changes nothing there.
    QCOMPARE(neugezeichnet, gewaehlt && zeile != 8 ? 1 : 0);
}

void TstFarbe::texteUndPlatz_data() {
    QTest::addColumn<int>("sprache");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QStringList>("zeilen");
    QTest::newRow("deutsch") << 1 << "Farbauswahl"
                             << QStringList{
                                    "Hintergrund",    "Linien",          QString::fromUtf8("Bögen"),
                                    "Punkte",         "Textvordergrund", "Texthintergrund",
                                    "Kurze Elemente", "DXF-Markierungen"};
    QTest::newRow("englisch") << 2 << "Colour choice"
                              << QStringList{"Background",     "Lines",           "Arcs",
                                             "Points",         "Text foreground", "Text background",
                                             "Short elements", "DXF marks"};
}

void TstFarbe::texteUndPlatz() {
    QFETCH(int, sprache);
    QFETCH(QString, titel);
    QFETCH(QStringList, zeilen);
    Aufbau a(sprache);
    Farbe f(a.s, a.form.get());
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.windowTitle(), titel);
    for (int nr = 1; nr <= 8; ++nr) {
        QLabel* l = f.Label(nr);
        QCOMPARE(l->text(), zeilen[nr - 1]);
        QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->text()));
    }
    QCOMPARE(f.Command1()->text(), QStringLiteral("Reset"));
    QVERIFY(f.rect().contains(f.Command6()->geometry()));
}

QTEST_MAIN(TstFarbe)
#include "tst_farbe.moc"
