// The printer window and "Grafik drucken" on the offscreen platform: the printer list, copies and
// cancel; a PDF printed through QPrinter and read back with poppler; the failures.
#include "app/Sprache.h"
#include "display/qt/DruckenBefehl.h"
#include "geometry/Variablen.h"
#include "tests/gui/GuiHilfe.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace konturo;

namespace {

struct Druckaufbau {
    QTemporaryDir ordner;
    Sitzung s;
    DruckDienste dienste;
    DruckerListe drucker;
    QList<DateiDialogAnfrage> anfragen;
    // The save dialog's answer; empty: cancelled.
    QString antwort;

    explicit Druckaufbau(int sprache = 1) {
        const QString dat = ordner.filePath(QStringLiteral("Konturo.dat"));
        test::DateiAnlegen(dat, test::DatMitSprache(sprache));
        StartSprache(s, dat.toStdString());
        SpracheLaden(s, dat.toStdString());
        dienste.druckerListe = [this] { return drucker; };
        dienste.dateiDialog = [this](const DateiDialogAnfrage& a) {
            anfragen.append(a);
            return DateiDialogErgebnis{!antwort.isEmpty(), antwort, 1};
        };
        // The outline of a box 200 wide and 100 high.
        Speicher& sp = s.speicher;
        sp.Elemente.Anfuegen(NeuesElement(Linie, 0, 0, 200, 0));
        sp.Elemente.Anfuegen(NeuesElement(Linie, 200, 0, 200, 100));
        sp.Elemente.Anfuegen(NeuesElement(Linie, 200, 100, 0, 100));
        sp.Elemente.Anfuegen(NeuesElement(Linie, 0, 100, 0, 0));
        sp.XMin = sp.YMin = 0;
        sp.XMax = 200;
        sp.YMax = 100;
    }

    // Prints, answering the printer window with aktion once it is shown.
    void Drucken(const std::function<void(DruckerDialog&)>& aktion) {
        bool gesehen = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<DruckerDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            gesehen = true;
            aktion(*d);
        });
        DruckenBefehl(s, nullptr, dienste);
        QVERIFY2(gesehen, "the printer window did not show");
    }

    QList<int> Meldungen() const {
        return QList<int>(s.kopflos.meldungen.begin(), s.kopflos.meldungen.end());
    }
};

bool Poppler(const QString& programm, const QStringList& argumente, QByteArray* ausgabe = nullptr) {
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        qWarning() << programm << "failed (poppler-utils: scripts/install-deps.sh)"
                   << p.errorString();
        return false;
    }
    if (ausgabe) *ausgabe = p.readAllStandardOutput();
    return true;
}

// The box of all pixels darker than mid grey.
QRect DunkleBox(const QImage& bild) {
    QRect box;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            if (qGray(bild.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TstDrucken : public QObject {
    Q_OBJECT
private slots:
    void druckerDialog();
    void pdfDrucken();
    void fehlerUndAbbruch();
};

void TstDrucken::druckerDialog() {
    Druckaufbau a;
    a.drucker = {{QStringLiteral("Buero"), QStringLiteral("Labor")}, QStringLiteral("Labor")};
    {
        DruckerDialog d(a.s, nullptr, a.drucker, {});
        QVERIFY(a.s.fenster.AbbruchWunsch);
        QCOMPARE(d.windowTitle(), QStringLiteral("Drucken"));
        QCOMPARE(d.Frame1()->title(), QStringLiteral("Druckerauswahl"));
        QCOMPARE(d.Label2()->text(), QStringLiteral("Anzahl Exemplare:"));
        QCOMPARE(d.Combo1()->count(), 3);
        QCOMPARE(d.Combo1()->itemText(2), QStringLiteral("PDF-Datei"));
        QCOMPARE(d.Combo1()->currentText(), QStringLiteral("Labor"));
        QCOMPARE(d.Label1()->text(), QStringLiteral("Labor"));
        QCOMPARE(d.Text1()->text(), QStringLiteral("1"));

        emit d.Combo1()->activated(0);
        QCOMPARE(d.Label1()->text(), QStringLiteral("Buero"));
        QCOMPARE(d.AktuellerDrucker().name, QStringLiteral("Buero"));

        // Focus selects the text; "," becomes the point of this number format, "-" is refused;
        // 2.5 rounds to the even 2.
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.Text1()->setFocus();
        QTRY_VERIFY(d.Text1()->hasSelectedText());
        QTest::keyClicks(d.Text1(), QStringLiteral("-2,5"));
        QCOMPARE(d.Text1()->text(), QStringLiteral("2.5"));
        QCOMPARE(d.Exemplare(), 2);
        d.Text1()->setText(QStringLiteral("3.5"));
        QCOMPARE(d.Exemplare(), 4);
        d.Text1()->clear();
        QCOMPARE(d.Exemplare(), 4);

        d.Command2()->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(!a.s.fenster.AbbruchWunsch);
    }
    // The printer chosen last comes back; one that vanished gives way to the default printer.
    QCOMPARE(DruckerDialog(a.s, nullptr, a.drucker, {false, QStringLiteral("Buero")})
                 .Combo1()
                 ->currentText(),
             QStringLiteral("Buero"));
    QCOMPARE(DruckerDialog(a.s, nullptr, a.drucker, {false, QStringLiteral("Weg")})
                 .Combo1()
                 ->currentText(),
             QStringLiteral("Labor"));
    {
        DruckerDialog d(a.s, nullptr, a.drucker, {});
        d.show();
        d.close();
        QVERIFY(a.s.fenster.AbbruchWunsch);
    }

    Druckaufbau englisch(2);
    DruckerDialog e(englisch.s, nullptr, {}, {});
    QCOMPARE(e.windowTitle(), QStringLiteral("Print"));
    QCOMPARE(e.Combo1()->count(), 1);
    QCOMPARE(e.Label1()->text(), QStringLiteral("PDF file"));
    QCOMPARE(e.Command3()->text(), QStringLiteral("Cancel"));
}

void TstDrucken::pdfDrucken() {
    Druckaufbau a;
    a.antwort = a.ordner.filePath(QStringLiteral("plan"));
    a.Drucken([](DruckerDialog& d) {
        d.Text1()->setText(QStringLiteral("2"));
        d.Command2()->click();
    });
    QCOMPARE(a.Meldungen(), QList<int>());
    QCOMPARE(a.anfragen.size(), 1);
    QVERIFY(a.anfragen[0].speichern);
    QCOMPARE(a.anfragen[0].name, QStringLiteral("Konturo.pdf"));
    QCOMPARE(a.anfragen[0].filter, QStringLiteral("PDF-Dateien (*.pdf)|*.pdf"));
    const QString pdf = a.antwort + QStringLiteral(".pdf");
    QVERIFY(QFile::exists(pdf));

    QByteArray info;
    QVERIFY(Poppler(QStringLiteral("pdfinfo"), {pdf}, &info));
    QVERIFY2(info.contains("Pages:           2"), info.constData());

    // At 50 dpi: the drawing starts 10 mm + 300 twips from the left edge of the page and 10 mm
    // from its top, the printable area's corner, and fills 0.8 of the printable width.
    constexpr int Dpi = 50;
    QVERIFY(Poppler(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-png"),
                     QStringLiteral("-singlefile"), pdf, a.antwort}));
    const QImage seite(a.antwort + QStringLiteral(".png"));
    QVERIFY(!seite.isNull());
    const double mm = Dpi / 25.4;
    const double breite = 0.8 * (seite.width() / mm - 20) * mm;
    const QRectF erwartet(mm * (10 + 300 / 1440.0 * 25.4), 10 * mm, breite, breite / 2);
    const QRect box = DunkleBox(seite);
    const auto nah = [](double ist, double soll) { return std::abs(ist - soll) <= 2; };
    QVERIFY2(nah(box.left(), erwartet.left()) && nah(box.top(), erwartet.top()) &&
                 nah(box.right(), erwartet.right()) && nah(box.bottom(), erwartet.bottom()),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(box.x())
                            .arg(box.y())
                            .arg(box.width())
                            .arg(box.height())));
    QVERIFY(a.dienste.aktuell.pdf);
}

void TstDrucken::fehlerUndAbbruch() {
    Druckaufbau a;
    const auto ok = [](DruckerDialog& d) { d.Command2()->click(); };

    a.Drucken([](DruckerDialog& d) { d.Command3()->click(); });
    QVERIFY(a.anfragen.isEmpty());
    QVERIFY(!a.s.fenster.AbbruchWunsch);

    a.Drucken(ok); // the save dialog is cancelled
    QCOMPARE(a.anfragen.size(), 1);
    QCOMPARE(a.Meldungen(), QList<int>());

    a.antwort = QStringLiteral("/kein/ordner/plan.pdf");
    a.Drucken(ok);
    QCOMPARE(a.Meldungen(), QList<int>{178});
    QVERIFY(QString::fromStdString(a.s.kopflos.aufrufe.back().text).endsWith(a.antwort));

    // A printer that is gone by the time the document starts.
    a.drucker = {{QStringLiteral("Geisterdrucker")}, QStringLiteral("Geisterdrucker")};
    a.Drucken([](DruckerDialog& d) {
        d.Combo1()->setCurrentIndex(0);
        emit d.Combo1()->activated(0);
        d.Command2()->click();
    });
    QCOMPARE(a.Meldungen(), (QList<int>{178, 179}));
}

QTEST_MAIN(TstDrucken)
#include "tst_drucken.moc"
