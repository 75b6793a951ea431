// The colour window on the offscreen platform: "Reset" and "OK" giving the default colours, a
// chosen colour stored, shown and redrawn (except for the DXF marks), a cancelled chooser changing
// nothing, and the captions in both languages with room for them.
#include "display/qt/Farbe.h"
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
    void gewaehlteFarbe_data();
    void gewaehlteFarbe();
    void abgebrochenAendertNichts();
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
        QCOMPARE(Feldfarbe(f, 1), QColor(0, 0, 0));
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
    QCOMPARE(e.HGF, RGB(0, 0, 0));
    QCOMPARE(e.LF, RGB(255, 255, 255));
    QCOMPARE(e.BF, RGB(0, 255, 0));
    QCOMPARE(e.PF, RGB(0, 255, 0));
    QCOMPARE(e.TVF, RGB(0, 0, 0));
    QCOMPARE(e.THF, RGB(255, 255, 255));
    QCOMPARE(e.ElementWarnFarbe, RGB(255, 0, 0));
    QCOMPARE(e.DXFWarnFarbe, RGB(255, 255, 124));
    QCOMPARE(neugezeichnet, 1);
}

void TstFarbe::gewaehlteFarbe_data() {
    QTest::addColumn<int>("zeile");
    QTest::addColumn<int>("neuzeichnen");
    const char* namen[8] = {"Hintergrund",    "Linien",          "Boegen",
                            "Punkte",         "Textvordergrund", "Texthintergrund",
                            "Kurze Elemente", "DXF-Markierungen"};
    for (int nr = 1; nr <= 8; ++nr) QTest::newRow(namen[nr - 1]) << nr << (nr == 8 ? 0 : 1);
}

void TstFarbe::gewaehlteFarbe() {
    QFETCH(int, zeile);
    QFETCH(int, neuzeichnen);
    Aufbau a;
    Einstellungen& e = a.s.einstellungen;
    *Zeilenfarbe(e, zeile) = RGB(200, 100, 50);
    Farbe f(a.s, a.form.get());
    QList<QColor> vorgewaehlt;
    f.farbDialog = [&vorgewaehlt](const QColor& aktuell) -> std::optional<QColor> {
        vorgewaehlt.append(aktuell);
        return QColor(10, 20, 30);
    };
    int neugezeichnet = 0;
    f.neuzeichnen = [&neugezeichnet] { ++neugezeichnet; };
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTest::mouseClick(f.Text(zeile), Qt::LeftButton);
    QCOMPARE(vorgewaehlt, QList<QColor>{QColor(200, 100, 50)});
    QCOMPARE(*Zeilenfarbe(e, zeile), RGB(10, 20, 30));
    QCOMPARE(Feldfarbe(f, zeile), QColor(10, 20, 30));
    QCOMPARE(neugezeichnet, neuzeichnen);
    // The other rows keep their colours.
    for (int nr = 1; nr <= 8; ++nr) {
        if (nr != zeile) QVERIFY(*Zeilenfarbe(e, nr) != RGB(10, 20, 30));
    }
}

void TstFarbe::abgebrochenAendertNichts() {
    Aufbau a;
    Einstellungen& e = a.s.einstellungen;
    e.LF = RGB(255, 255, 255);
    Farbe f(a.s, a.form.get());
    int gefragt = 0;
    f.farbDialog = [&gefragt](const QColor&) -> std::optional<QColor> {
        ++gefragt;
        return std::nullopt;
    };
    int neugezeichnet = 0;
    f.neuzeichnen = [&neugezeichnet] { ++neugezeichnet; };
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    // Once with the mouse, once with Space on the focused field.
    QTest::mouseClick(f.Text(2), Qt::LeftButton);
    f.Text(2)->setFocus();
    QTest::keyClick(f.Text(2), Qt::Key_Space);
    QCOMPARE(gefragt, 2);
    QCOMPARE(e.LF, RGB(255, 255, 255));
    QCOMPARE(Feldfarbe(f, 2), QColor(255, 255, 255));
    QCOMPARE(neugezeichnet, 0);
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
