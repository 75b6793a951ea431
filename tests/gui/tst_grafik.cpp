// The main window on the offscreen platform: start-up menus, busy state, placement and layout,
// import with caption and count, zoom by rectangle, language switch, export, import parameters,
// and a screenshot of an imported drawing.
#include "display/GrafikZeichnen.h"
#include "display/qt/Info.h"
#include "import/qt/EPS_Parameter.h"
#include "output/FSO_Funktionen.h"
#include "tests/gui/GuiHilfe.h"
#include "tests/output/LocaleHilfe.h"
#include "text/FontAuslesen.h"
#include "text/qt/TextBefehle.h"
#include "text/Textquelle.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>

using namespace konturo;

namespace {

// A closed rectangle and a circle made of two curves, in points.
const char* const KleinEps =
    "%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 0 0 200 100\r\n%%EndProlog\r\n"
    "10 10 moveto\r\n190 10 lineto\r\n190 90 lineto\r\n10 90 lineto\r\n10 10 lineto\r\n"
    "100 20 moveto\r\n122 20 140 38 140 50 curveto\r\n140 62 122 80 100 80 curveto\r\n"
    "78 80 60 62 60 50 curveto\r\n60 38 78 20 100 20 curveto\r\n%%EOF\r\n";

struct Aufbau : test::GuiAufbau {
    using GuiAufbau::GuiAufbau;
    void Importieren() { GuiAufbau::Importieren(KleinEps); }
};

} // namespace

class TstGrafik : public QObject {
    Q_OBJECT
private slots:
    void menuesNachStart();
    void menuesNachStartMitRahmen();
    void vorlagenRahmenNachNeustart();
    void beschaeftigtUndBereit();
    void platzierung_data();
    void platzierung();
    void platzierungBeimStart();
    void layoutUndMindestgroesse();
    void importSetztTitelUndAnzahl();
    void zoomRechteck();
    void zoomMitDerMaus();
    void spracheWechseln();
    void startInEnglisch();
    void fehlendeSprachdatei();
    void exportVorschlagUndSchreiber();
    void exportNichtErstellbar();
    void importParameterFenster();
    void deutschesZahlenformat();
    void abbruchWaehrendDesZeichnens();
    void batchDatei();
    void langeArbeitOhneUnterbrechung();
    void tasteImLeerlauf();
    void statuszeileUndGroessenwechsel();
    void einstellungenBeimBeenden();
    void bildschirmfoto();
};

void TstGrafik::menuesNachStart() {
    Aufbau a;
    QVERIFY(a.Starten());
    for (const char* aus : {"mnuGrafik", "mnuParameter", "mnuStatistik", "mnuZoom", "mnuGesamtbild",
                            "mnuNeuZeichnen", "mnuRahmenparameter"}) {
        QVERIFY2(!a.An(aus), aus);
    }
    for (const char* an :
         {"mnuDatei",        "mnuText",           "mnuEPS",         "mnuGrafikExport",
          "mnuDrucken",      "mnuBatch",          "mnuBeenden",     "mnufont",
          "mnufontErzeugen", "mnuRahmen",         "mnuRahmenEin",   "mnuRahmenAus",
          "mnuextras",       "mnuSprache",        "mnuDeutsch",     "mnuEnglish",
          "mnuOptionen",     "mnuInternetUpdate", "mnuDarstellung", "mnuEin",
          "mnuAus",          "mnuFarbe",          "mnuHilfe",       "mnuInfo"}) {
        QVERIFY2(a.An(an), an);
    }
    QVERIFY(a.Haken("mnuDeutsch") && !a.Haken("mnuEnglish"));
    QVERIFY(a.Haken("mnuEin") && !a.Haken("mnuAus"));
    QVERIFY(!a.Haken("mnuRahmenEin") && a.Haken("mnuRahmenAus"));
    const struct {
        const char* name;
        const char* text;
    } captions[] = {{"mnuDatei", "&Datei"},
                    {"mnuGrafikExport", "Grafik e&xportieren"},
                    {"mnuBatch", "B&atch-Datei laden"},
                    {"mnuDrucken", "Grafik drucken"},
                    {"mnuextras", "E&xtras"},
                    {"mnuInternetUpdate", "Internet Update"},
                    {"mnuNeuZeichnen", "&Refresh"},
                    {"mnuHilfe", "&?"}};
    for (const auto& c : captions) {
        QCOMPARE(a.form->Aktion(QLatin1String(c.name))->text(), QString::fromUtf8(c.text));
    }
    for (const char* trenner : {"mnuleer1", "mnuLeer5", "mnuLeer29", "mnuleer16", "mnuLeer40",
                                "mnuleer11", "mnuLeer10"}) {
        QVERIFY2(a.form->Aktion(QLatin1String(trenner))->isSeparator(), trenner);
    }
    QCOMPARE(a.form->windowTitle(), QStringLiteral("Konturo - [] 10x10"));
    QCOMPARE(a.form->Feld(QStringLiteral("SoftVersion"))->text(), QStringLiteral("Version %1.%2.%3")
                                                                      .arg(KONTURO_VERSION_MAJOR)
                                                                      .arg(KONTURO_VERSION_MINOR)
                                                                      .arg(KONTURO_VERSION_PATCH));
    QCOMPARE(a.form->Feld(QStringLiteral("DezTrenn"))->text(), QStringLiteral("P"));
    QVERIFY(!a.form->AbbruchKnopf()->isEnabled());
    QCOMPARE(a.form->AbbruchKnopf()->text(), QStringLiteral("Abbruch"));
    QVERIFY(a.meldungen.isEmpty());
}

void TstGrafik::menuesNachStartMitRahmen() {
    Aufbau a;
    {
        QSettings ini(a.Ini(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Param/Rtyp"), QStringLiteral("2"));
        ini.setValue(QStringLiteral("Param/Punkte"), QStringLiteral("0"));
    }
    QVERIFY(a.Starten());
    QVERIFY(a.Haken("mnuRahmenEin") && !a.Haken("mnuRahmenAus"));
    QVERIFY(a.An("mnuRahmenparameter"));
    QVERIFY(!a.Haken("mnuEin") && a.Haken("mnuAus"));
}

void TstGrafik::vorlagenRahmenNachNeustart() {
    Aufbau a;
    const QString vorlage = QStringLiteral(KONTURO_TESTDATEN "/frames/daten/ezdxf_r12.dxf");
    {
        QSettings ini(a.Ini(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Param/Rtyp"), QStringLiteral("6"));
        ini.setValue(QStringLiteral("Param/RVorlage"), vorlage);
    }
    QVERIFY(a.Starten());
    QCOMPARE(a.s.einstellungen.Rtyp, std::uint8_t{6});
    QVERIFY(a.s.speicher.VorlageElemente.Anzahl() > 0);
    a.Importieren();
    std::int32_t vorlagenElemente = 0;
    const std::int32_t rahmenKontur = a.s.speicher.Elemente[a.s.speicher.ElementAnzahl()].KonturNr;
    for (std::int32_t i = 1; i <= a.s.speicher.ElementAnzahl(); ++i)
        if (a.s.speicher.Elemente[i].KonturNr == rahmenKontur) ++vorlagenElemente;
    QVERIFY(vorlagenElemente > 0);
}

void TstGrafik::beschaeftigtUndBereit() {
    Aufbau a;
    QVERIFY(a.Starten());
    // "Abbruch" is offered where pending events may interrupt the work.
    a.s.einstellungen.Unterbrechung = 1;
    a.form->BeschaeftigtSetzen();
    for (const char* aus :
         {"mnuDatei", "mnufont", "mnuGrafik", "mnuRahmen", "mnuDarstellung", "mnuHilfe"}) {
        QVERIFY2(!a.An(aus), aus);
    }
    QVERIFY(a.form->AbbruchKnopf()->isEnabled());
    QVERIFY(!a.s.fenster.Bereit);

    // Pointer moves while busy neither show the position nor zoom.
    a.form->Grafik_MouseDown(Qt::LeftButton, {1, 1});
    a.form->Grafik_MouseMove({5, 5});
    QVERIFY(!a.s.fenster.ZoomAufziehen);
    QVERIFY(a.form->Feld(QStringLiteral("KoordinatenX"))->text().isEmpty());

    QTest::mouseClick(a.form->AbbruchKnopf(), Qt::LeftButton);
    QVERIFY(a.s.fenster.AbbruchWunsch);
    QVERIFY(a.s.fenster.BatchAbbruch);
    a.s.fenster.AbbruchWunsch = false;
    QTest::keyClick(a.form->Grafik(), Qt::Key_Space);
    QVERIFY(a.s.fenster.AbbruchWunsch);

    a.s.fenster.TextModus = true;
    a.form->BereitSetzen();
    QVERIFY(a.An("mnuDatei") && a.An("mnuHilfe") && a.An("mnuDarstellung"));
    QVERIFY(!a.An("mnuGrafik"));
    QVERIFY(!a.form->AbbruchKnopf()->isEnabled());
    QVERIFY(a.s.fenster.Bereit);
    a.s.fenster.TextModus = false;
    a.form->BereitSetzen();
    QVERIFY(a.An("mnuGrafik"));
}

void TstGrafik::platzierung_data() {
    QTest::addColumn<QRect>("gespeichert");
    QTest::addColumn<QRect>("erwartet");
    const int sw = 19200, sh = 14400;
    QTest::newRow("passt") << QRect(1500, 3000, 12000, 9000) << QRect(1500, 3000, 12000, 9000);
    QTest::newRow("negativ") << QRect(-15, -30, 12000, 9000) << QRect(0, 0, 12000, 9000);
    QTest::newRow("rechts und unten ausserhalb")
        << QRect(sw + 1, sh + 1, 12000, 9000) << QRect(0, 0, 12000, 9000);
    QTest::newRow("zu gross") << QRect(0, 0, 30000, 20000) << QRect(0, 0, sw, sh);
}

void TstGrafik::platzierung() {
    QFETCH(QRect, gespeichert);
    QFETCH(QRect, erwartet);
    QCOMPARE(PlatzierungBerechnen(gespeichert.left(), gespeichert.top(), gespeichert.width(),
                                  gespeichert.height(), 19200, 14400),
             erwartet);
}

void TstGrafik::platzierungBeimStart() {
    Aufbau a;
    {
        QSettings ini(a.Ini(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Window/PosX"), QStringLiteral("-300"));
        ini.setValue(QStringLiteral("Window/PosY"), QStringLiteral("99999"));
        ini.setValue(QStringLiteral("Window/SizeX"), QStringLiteral("99999"));
        ini.setValue(QStringLiteral("Window/SizeY"), QStringLiteral("7500"));
    }
    QVERIFY(a.Starten(12000, 9000));
    QCOMPARE(a.form->pos(), QPoint(0, 0));
    QCOMPARE(a.form->width(), 800);
    QCOMPARE(a.form->height(), 500);
}

void TstGrafik::layoutUndMindestgroesse() {
    const StatusLayout l = LayoutBerechnen(12000, 9000);
    QCOMPARE(l.Grafik, QRect(0, 0, 12000, 8700));
    QCOMPARE(l.KoordinatenX, QRect(0, 8700, 900, 300));
    QCOMPARE(l.KoordinatenY.left(), 950);
    QCOMPARE(l.AnzElemente.left(), 1900);
    QCOMPARE(l.DezTrenn, QRect(2850, 8700, 300, 300));
    QCOMPARE(l.ProgressBar1.left(), 3200);
    QCOMPARE(l.SoftVersion, QRect(12000 - 1250, 8700, 1250, 300));
    QCOMPARE(l.ProgressBar1.width(), 12000 - 1250 - 3200 - 1050);
    QCOMPARE(l.Command1.left(), l.ProgressBar1.left() + l.ProgressBar1.width() + 50);
    QVERIFY(l.Command1.right() < l.SoftVersion.left());

    Aufbau a;
    QVERIFY(a.Starten(12000, 9000));
    a.form->show();
    a.form->resize(200, 150);
    QVERIFY(a.form->width() * Twips >= 8000);
    QVERIFY(a.form->height() * Twips >= 6000);
    a.form->resize(900, 640);
    QCoreApplication::processEvents();
    QWidget* innen = a.form->centralWidget();
    const QRect g = a.form->Grafik()->geometry();
    QCOMPARE(g.topLeft(), QPoint(0, 0));
    QCOMPARE(g.width(), innen->width());
    QCOMPARE(g.height(), innen->height() - 20);
    QCOMPARE(a.form->Feld(QStringLiteral("KoordinatenX"))->geometry().top(), g.height());
    QCOMPARE(a.s.fenster.Seitenverhaeltnis, double(g.width()) / g.height());
}

void TstGrafik::importSetztTitelUndAnzahl() {
    Aufbau a;
    QVERIFY(a.Starten());
    a.form->show();
    a.Importieren();
    QCOMPARE(a.anfragen.size(), 1);
    QVERIFY(
        a.anfragen[0].filter.startsWith(QStringLiteral("Grafikdateien (*.eps;*.ai;*.ps;*.pdf)|")));
    QVERIFY(a.anfragen[0].filter.endsWith(QStringLiteral("|Alle Dateien (*.*)|*.*")));
    QVERIFY(a.s.speicher.ElementAnzahl() > 0);
    QVERIFY(!a.s.fenster.TextModus);
    QCOMPARE(a.form->windowTitle(), QString::fromStdString(FensterTitel(a.s)));
    QVERIFY(a.form->windowTitle().startsWith(QStringLiteral("Konturo - [klein] ")));
    QCOMPARE(a.form->Feld(QStringLiteral("AnzElemente"))->text(),
             QString::fromStdString(AnzahlText(a.s.speicher)));
    QVERIFY(a.An("mnuZoom") && a.An("mnuGesamtbild") && a.An("mnuNeuZeichnen"));
    QVERIFY(a.An("mnuGrafik"));
    QVERIFY(!a.An("mnuParameter") && !a.An("mnuStatistik"));
    QVERIFY(a.s.fenster.Bereit);
    QCOMPARE(QString::fromStdString(a.s.einstellungen.GInPath), a.ordner.path());
    QVERIFY(a.meldungen.isEmpty());

    // A cancelled dialog leaves the store alone.
    const auto anzahl = a.s.speicher.ElementAnzahl();
    a.antwort = {};
    a.form->mnuEPS_Click();
    QCOMPARE(a.s.speicher.ElementAnzahl(), anzahl);
}

void TstGrafik::zoomRechteck() {
    Aufbau a;
    QVERIFY(a.Starten());
    a.form->show();
    a.Importieren();
    const Ansicht ganz = a.form->Grafik()->AktuelleAnsicht();
    const double v = a.s.fenster.Seitenverhaeltnis;
    const QPointF start(ganz.Links + ganz.Breite * 0.3, ganz.Oben + ganz.Hoehe * 0.3);

    struct Fall {
        const char* name;
        QPointF ziel;
    };
    const Fall faelle[] = {
        {"rechts unten", start + QPointF(20, -5)},
        {"links unten", start + QPointF(-15, -30)},
        {"rechts oben", start + QPointF(12, 3)},
    };
    for (const Fall& f : faelle) {
        a.form->Grafik_MouseDown(Qt::LeftButton, start);
        QVERIFY2(a.s.fenster.ZoomAufziehen, f.name);
        QCOMPARE(a.s.fenster.AltX1, ganz.Links);
        a.form->Grafik_MouseMove(f.ziel);
        const double dx = f.ziel.x() - start.x();
        const double dy = f.ziel.y() - start.y();
        QCOMPARE(a.s.fenster.ZoomX2, f.ziel.x());
        QVERIFY2(qAbs(a.s.fenster.ZoomY2 - (start.y() + qAbs(dx) * (dy > 0 ? 1 : -1) / v)) < 1e-9,
                 f.name);
        a.form->Grafik_MouseUp(Qt::LeftButton);
        QVERIFY2(a.s.fenster.Gezoomt && !a.s.fenster.ZoomAufziehen, f.name);
        const Ansicht z = a.form->Grafik()->AktuelleAnsicht();
        QVERIFY2(qAbs(z.Links - qMin(start.x(), f.ziel.x())) < 1e-9, f.name);
        QVERIFY2(qAbs(z.Breite - qAbs(dx)) < 1e-9, f.name);
        QVERIFY2(qAbs(z.Oben - qMax(start.y(), a.s.fenster.ZoomY2)) < 1e-9, f.name);
        QCOMPARE(a.s.fenster.Bogenschritt, 0.01f);

        // The right button returns to the whole view.
        a.form->Grafik_MouseDown(Qt::RightButton, start);
        a.form->Grafik_MouseUp(Qt::RightButton);
        QVERIFY2(!a.s.fenster.Gezoomt, f.name);
        const Ansicht zurueck = a.form->Grafik()->AktuelleAnsicht();
        QVERIFY2(qAbs(zurueck.Links - ganz.Links) < 1e-9, f.name);
        QVERIFY2(qAbs(zurueck.Breite - ganz.Breite) < 1e-9, f.name);
    }

    // A drag under 1.0 unit in x changes nothing.
    a.form->Grafik_MouseDown(Qt::LeftButton, start);
    a.form->Grafik_MouseMove(start + QPointF(0.5, -0.5));
    a.form->Grafik_MouseUp(Qt::LeftButton);
    const Ansicht nachKlick = a.form->Grafik()->AktuelleAnsicht();
    QCOMPARE(nachKlick.Links, ganz.Links);
    QCOMPARE(nachKlick.Breite, ganz.Breite);
    QCOMPARE(a.s.fenster.ZoomX1, ganz.Links);
    QCOMPARE(a.s.fenster.ZoomX2, ganz.Links + ganz.Breite);

    // "Gesamtbild" shows its message and returns to the whole view.
    a.form->mnuGesamtbild_Click();
    QVERIFY(!a.s.fenster.Gezoomt);
    QCOMPARE(a.meldungen.last().first, 112);
    a.form->mnuZoom_Click();
    QCOMPARE(a.meldungen.last().first, 116);
}

void TstGrafik::zoomMitDerMaus() {
    Aufbau a;
    QVERIFY(a.Starten());
    a.form->resize(900, 640);
    a.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(a.form.get()));
    a.Importieren();
    GrafikFlaeche* g = a.form->Grafik();
    QTest::mouseMove(g, QPoint(100, 100));
    const QPointF p = g->NachEinheiten(QPointF(100, 100));
    QCOMPARE(a.form->Feld(QStringLiteral("KoordinatenX"))->text(),
             QString::fromStdString(ZeigerText(AufZweiStellenGekappt(p.x()), true)));
    QTest::mousePress(g, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(g, QPoint(300, 250));
    QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(300, 250));
    QVERIFY(a.s.fenster.Gezoomt);
    const Ansicht z = g->AktuelleAnsicht();
    QVERIFY(qAbs(z.Links - p.x()) < 1e-9);
    QTest::mousePress(g, Qt::RightButton, {}, QPoint(50, 50));
    QTest::mouseRelease(g, Qt::RightButton, {}, QPoint(50, 50));
    QVERIFY(!a.s.fenster.Gezoomt);
}

void TstGrafik::spracheWechseln() {
    Aufbau a;
    QVERIFY(a.Starten());
    a.form->mnuEnglish_Click();
    QVERIFY(a.Haken("mnuEnglish") && !a.Haken("mnuDeutsch"));
    QCOMPARE(a.s.fenster.SprachNr, 2);
    QCOMPARE(a.form->Aktion(QStringLiteral("mnuDatei"))->text(), QStringLiteral("&File"));
    QCOMPARE(a.form->Aktion(QStringLiteral("mnuInfo"))->text(), QStringLiteral("&About"));
    QCOMPARE(a.form->Aktion(QStringLiteral("mnuStatistik2"))->text(),
             QStringLiteral("&Statistics"));
    QCOMPARE(a.form->AbbruchKnopf()->text(), QStringLiteral("Cancel"));
    a.form->mnuDeutsch_Click();
    QVERIFY(!a.Haken("mnuEnglish") && a.Haken("mnuDeutsch"));
    QCOMPARE(a.form->Aktion(QStringLiteral("mnuDatei"))->text(), QStringLiteral("&Datei"));
    QCOMPARE(a.form->Aktion(QStringLiteral("mnuRahmenparameter"))->text(),
             QStringLiteral("&Parameter"));
    QCOMPARE(a.form->AbbruchKnopf()->text(), QStringLiteral("Abbruch"));
}

void TstGrafik::startInEnglisch() {
    Aufbau englisch(test::DatMitSprache(2));
    QVERIFY(englisch.Starten());
    QVERIFY(englisch.Haken("mnuEnglish"));
    QCOMPARE(englisch.form->Aktion(QStringLiteral("mnuBeenden"))->text(), QStringLiteral("E&xit"));

    // Without a language line the number stays 0 and "English" is checked.
    QByteArray ohne = test::DatMitSprache(1);
    ohne.replace("0;Language;1", "' no language line");
    Aufbau null(ohne);
    QVERIFY(null.Starten());
    QCOMPARE(null.s.fenster.SprachNr, 0);
    QVERIFY(null.Haken("mnuEnglish") && !null.Haken("mnuDeutsch"));
}

void TstGrafik::fehlendeSprachdatei() {
    Aufbau a;
    QFile::remove(a.ordner.filePath(QStringLiteral("Konturo.dat")));
    Startumgebung u;
    u.programmOrdner = a.ordner.path();
    u.einstellungsDatei = a.Ini();
    QString grund;
    QVERIFY(!a.form->Starten(u, grund));
    QVERIFY2(grund.contains(QStringLiteral("Konturo.dat")), qPrintable(grund));
}

void TstGrafik::exportVorschlagUndSchreiber() {
    Aufbau a;
    QVERIFY(a.Starten());
    a.Importieren();
    QTemporaryDir ziel;
    a.s.einstellungen.GOutPath = ziel.path().toStdString();
    a.s.einstellungen.LastFilter = 3;

    const QString geo = ziel.filePath(QStringLiteral("z.geo"));
    a.antwort = {true, geo, 2};
    a.anfragen.clear();
    a.form->mnuGrafikExport_Click();
    QCOMPARE(a.anfragen.size(), 1);
    const DateiDialogAnfrage& anf = a.anfragen[0];
    QVERIFY(anf.speichern);
    QCOMPARE(anf.name, QStringLiteral("klein"));
    QCOMPARE(anf.ordner, ziel.path());
    QCOMPARE(anf.filterIndex, 3);
    QCOMPARE(anf.filter, QStringLiteral("DXF-Format (*.dxf)|*.dxf|ToPs Nativ Geo (*.geo)|*.geo|"
                                        "ToPs Vorlage (*.vlg)|*.vlg|ToPs / ME10 Input-Format "
                                        "(*.inp)|*.inp"));
    QVERIFY(QFile::exists(geo));
    QCOMPARE(a.s.einstellungen.LastFilter, 2);
    {
        // The settings were saved before LastFilter changed.
        QSettings ini(a.Ini(), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("Param/GOutPath")).toString(), ziel.path());
        QCOMPARE(ini.value(QStringLiteral("Param/LastFilter")).toString(), QStringLiteral("3"));
    }

    // The writer follows the name: .vlg gives the GEO bytes, .dxf and .inp their own files.
    const QString vlg = ziel.filePath(QStringLiteral("z.vlg"));
    a.antwort = {true, vlg, 1};
    a.form->mnuGrafikExport_Click();
    QFile fg(geo), fv(vlg);
    QVERIFY(fg.open(QIODevice::ReadOnly) && fv.open(QIODevice::ReadOnly));
    QCOMPARE(fv.readAll(), fg.readAll());
    for (const char* name : {"z.dxf", "z.inp"}) {
        a.antwort = {true, ziel.filePath(QLatin1String(name)), 1};
        a.form->mnuGrafikExport_Click();
        QVERIFY2(QFileInfo(ziel.filePath(QLatin1String(name))).size() > 0, name);
    }

    // A name without a writer's ending (the proposed name has none) gets the chosen type's.
    QTemporaryDir anders;
    a.antwort = {true, anders.filePath(QStringLiteral("klein")), 2};
    a.form->mnuGrafikExport_Click();
    QVERIFY(QFileInfo(anders.filePath(QStringLiteral("klein.geo"))).size() > 0);
    a.antwort = {true, anders.filePath(QStringLiteral("z.txt")), 1};
    a.form->mnuGrafikExport_Click();
    QVERIFY(QFileInfo(anders.filePath(QStringLiteral("z.txt.dxf"))).size() > 0);
    QCOMPARE(QString::fromStdString(a.s.einstellungen.GOutPath), anders.path());

    // A folder deleted since makes the dialog open in the temporary folder; cancel changes nothing.
    a.s.einstellungen.GOutPath = ziel.filePath(QStringLiteral("weg")).toStdString();
    a.antwort = {};
    a.anfragen.clear();
    a.form->mnuGrafikExport_Click();
    QCOMPARE(a.anfragen[0].ordner, QString::fromStdString(TempOrdner(false)));
    QCOMPARE(a.s.einstellungen.LastFilter, 1);
    QVERIFY(a.meldungen.isEmpty());

    // Without a source file the proposal comes from the text window's text.
    TextquelleKlartext text("Hallo Welt", Zeichenformat{});
    a.s.textquelle = &text;
    a.s.fenster.AktDatei.clear();
    a.anfragen.clear();
    a.form->mnuGrafikExport_Click();
    QCOMPARE(a.anfragen[0].name, QStringLiteral("Hallo_We"));
    a.s.textquelle = nullptr;
    a.anfragen.clear();
    a.form->mnuGrafikExport_Click();
    QCOMPARE(a.anfragen[0].name, QStringLiteral("Grafik"));
}

void TstGrafik::exportNichtErstellbar() {
    Aufbau a;
    QVERIFY(a.Starten());
    // An empty store does nothing at all.
    a.form->mnuGrafikExport_Click();
    QVERIFY(a.anfragen.isEmpty());
    a.Importieren();
    const QString pfad = a.ordner.filePath(QStringLiteral("fehlt/z.dxf"));
    a.antwort = {true, pfad, 1};
    a.form->mnuGrafikExport_Click();
    QCOMPARE(a.meldungen.size(), 1);
    QCOMPARE(a.meldungen[0].first, 119);
    QVERIFY2(a.meldungen[0].second.endsWith(pfad), qPrintable(a.meldungen[0].second));

    // A folder that took no file is not offered again, and a dialog never starts in /proc.
    const std::string vorher = a.s.einstellungen.GOutPath;
    a.antwort = {true, QStringLiteral("/proc/z.dxf"), 1};
    a.form->mnuGrafikExport_Click();
    QCOMPARE(a.s.einstellungen.GOutPath, vorher);
    a.s.einstellungen.GOutPath = "/proc/self";
    a.anfragen.clear();
    a.antwort = {};
    a.form->mnuGrafikExport_Click();
    QCOMPARE(a.anfragen[0].ordner, QString::fromStdString(TempOrdner(false)));
}

void TstGrafik::importParameterFenster() {
    Aufbau a;
    QVERIFY(a.Starten());
    a.Importieren();
    a.s.einstellungen.Toleranz = 0.05;
    EPS_Parameter fenster(a.s, a.form.get());
    QVERIFY(a.s.fenster.ParameterFensterOffen);
    QCOMPARE(fenster.Text1()->text(), QStringLiteral("0.05"));
    fenster.show();
    fenster.Text1()->setFocus();
    fenster.Text1()->clear();
    QCOMPARE(a.s.einstellungen.Toleranz, 0.05); // an empty field keeps the value
    QTest::keyClicks(fenster.Text1(), QStringLiteral("0,07x"));
    QCOMPARE(fenster.Text1()->text(), QStringLiteral("0.07")); // "," becomes ".", "x" rejected
    QCOMPARE(a.s.einstellungen.Toleranz, 0.07);

    // "Vorschau" imports again with the new tolerance each time; the window stays open and the
    // main window shows the last result.
    fenster.Command1_Click();
    const auto nachErster = a.s.speicher.ElementAnzahl();
    a.s.speicher.Elemente.Leeren();
    fenster.Command1_Click();
    QVERIFY(fenster.isVisible());
    QCOMPARE(a.s.speicher.ElementAnzahl(), nachErster);
    QCOMPARE(a.form->Feld(QStringLiteral("AnzElemente"))->text(),
             QString::fromStdString(AnzahlText(a.s.speicher)));
    fenster.Command2_Click();
    QVERIFY(!a.s.fenster.ParameterZeigen);
    QVERIFY(!a.s.fenster.ParameterFensterOffen);
}

void TstGrafik::deutschesZahlenformat() {
    test::DeutschesLocale deutsch;
    if (!deutsch.Aktiv()) QSKIP("no German locale on this machine");
    Aufbau a;
    QVERIFY(a.Starten());
    QCOMPARE(a.form->Feld(QStringLiteral("DezTrenn"))->text(), QStringLiteral("K"));
    a.Importieren();
    // 180 x 80 points are 63.5 x 28.2 mm.
    QVERIFY2(a.form->windowTitle().endsWith(QStringLiteral("] 63,5x28,2")),
             qPrintable(a.form->windowTitle()));
    a.form->Grafik_MouseMove({12.3456, -3.5});
    QCOMPARE(a.form->Feld(QStringLiteral("KoordinatenX"))->text(), QStringLiteral("12,34"));
    QCOMPARE(a.form->Feld(QStringLiteral("KoordinatenY"))->text(), QStringLiteral("-3,5"));

    a.s.einstellungen.Toleranz = 0.05;
    EPS_Parameter fenster(a.s, a.form.get());
    QCOMPARE(fenster.Text1()->text(), QStringLiteral("0,05"));
    fenster.show();
    fenster.Text1()->setFocus();
    fenster.Text1()->clear();
    QTest::keyClicks(fenster.Text1(), QStringLiteral("0.07"));
    QCOMPARE(fenster.Text1()->text(), QStringLiteral("0,07"));
    QCOMPARE(a.s.einstellungen.Toleranz, 0.07);
}

namespace {
// Columns of the drawing area that hold at least one white pixel.
int WeisseSpalten(const QImage& bild) {
    int spalten = 0;
    for (int x = 0; x < bild.width(); ++x) {
        for (int y = 0; y < bild.height(); ++y) {
            if (bild.pixel(x, y) == qRgb(255, 255, 255)) {
                ++spalten;
                break;
            }
        }
    }
    return spalten;
}
} // namespace

void TstGrafik::abbruchWaehrendDesZeichnens() {
    for (const bool abbrechen : {false, true}) {
        Aufbau a;
        QVERIFY(a.Starten());
        a.form->resize(900, 640);
        a.form->show();
        a.s.einstellungen.Unterbrechung = 1;
        a.s.einstellungen.Punkte = 0;
        for (int i = 1; i <= 100; ++i)
            a.s.speicher.Elemente.Anfuegen(NeuesElement(Linie, i, 0, i, 50));
        a.s.speicher.XMin = 1;
        a.s.speicher.XMax = 100;
        a.s.speicher.YMin = 0;
        a.s.speicher.YMax = 50;
        // With "Unterbrechung" the redraw lets pending events run before its first element:
        // a click on "Abbruch" waiting there leaves only the last element to draw.
        if (abbrechen) {
            QTimer::singleShot(0, a.form.get(),
                               [&a] { QTest::mouseClick(a.form->AbbruchKnopf(), Qt::LeftButton); });
        }
        a.form->Neuzeichnen();
        const int spalten = WeisseSpalten(a.form->Grafik()->Bild().toImage());
        if (abbrechen) {
            QCOMPARE(spalten, 1);
            QVERIFY(a.s.fenster.BatchAbbruch);
        } else {
            QCOMPARE(spalten, 100);
        }
        QVERIFY(!a.s.fenster.AbbruchWunsch);
        QVERIFY(a.s.fenster.Bereit);
        QVERIFY(!a.form->AbbruchKnopf()->isEnabled());
    }
}

void TstGrafik::batchDatei() {
    Aufbau a(test::DatMitSprache(2));
    QVERIFY(a.Starten());
    a.form->show();
    QTemporaryDir ordner;
    QByteArray liste;
    for (int i = 1; i <= 10; ++i) liste += "Schild " + QByteArray::number(i) + "\r\n";
    test::DateiAnlegen(ordner.filePath(QStringLiteral("liste.bch")), liste);
    a.s.einstellungen.LastFilter = 2;
    a.antwort = {true, ordner.filePath(QStringLiteral("liste.bch")), 1};

    // "Abbruch" pressed while entry 3 runs: entry 3 is written and the run ends.
    QTimer klick;
    klick.setInterval(0);
    QObject::connect(&klick, &QTimer::timeout, [&a] {
        if (a.s.batch.BatchZeile == 3 && a.form->AbbruchKnopf()->isEnabled()) {
            QVERIFY(!a.An("mnuDatei"));
            QTest::mouseClick(a.form->AbbruchKnopf(), Qt::LeftButton);
        }
    });
    klick.start();
    a.form->mnuBatch_Click();
    klick.stop();
    QCOMPARE(a.anfragen.size(), 1);
    QCOMPARE(a.anfragen[0].filter, QStringLiteral("Batch file (*.bch)|*.bch"));
    QVERIFY(!a.anfragen[0].speichern);
    const QStringList geschrieben = QDir(ordner.path()).entryList({QStringLiteral("*.geo")});
    QCOMPARE(geschrieben, (QStringList{QStringLiteral("Schild_1.geo"), QStringLiteral("Schild_2.geo"),
                                       QStringLiteral("Schild_3.geo")}));
    QVERIFY(a.meldungen.isEmpty());
    // The drawing and the text window hold the last entry; the window is ready again.
    QCOMPARE(QString::fromStdString(a.s.textquelle->KlarText()), QStringLiteral("Schild 3"));
    QVERIFY(a.s.speicher.ElementAnzahl() > 0);
    QVERIFY(a.An("mnuDatei") && a.An("mnuParameter") && a.s.fenster.Bereit);
    QVERIFY(!a.form->AbbruchKnopf()->isEnabled() && !a.s.fenster.BatchAbbruch);

    // A file that cannot be created stops the run with one message in the current language.
    QVERIFY(QDir(ordner.path()).mkdir(QStringLiteral("Schild_5.geo")));
    a.form->mnuBatch_Click();
    QCOMPARE(QDir(ordner.path()).entryList({QStringLiteral("Schild_*")}).size(), 5);
    QCOMPARE(a.MeldungsNummern(), QList<int>{135});
    QVERIFY2(a.meldungen[0].second.startsWith(
                 QStringLiteral("The batch run stopped at entry 5: Schild_5.geo\nThe output file "
                                "cannot be created: ")),
             qPrintable(a.meldungen[0].second));

    // A batch file that cannot be read says so, and why.
    a.meldungen.clear();
    a.antwort = {true, ordner.filePath(QStringLiteral("fehlt.bch")), 1};
    a.form->mnuBatch_Click();
    QCOMPARE(a.MeldungsNummern(), QList<int>{120});
    a.meldungen.clear();
    QVERIFY(QDir(ordner.path()).mkdir(QStringLiteral("ordner.bch")));
    a.antwort = {true, ordner.filePath(QStringLiteral("ordner.bch")), 1};
    a.form->mnuBatch_Click();
    QCOMPARE(a.MeldungsNummern(), QList<int>{121});
    QVERIFY2(a.meldungen[0].second.endsWith(QStringLiteral("ordner.bch (is a directory)")),
             qPrintable(a.meldungen[0].second));
}

void TstGrafik::langeArbeitOhneUnterbrechung() {
    Aufbau a;
    QVERIFY(a.Starten());
    a.form->show();
    a.s.einstellungen.Unterbrechung = 0;
    std::string text;
    for (int i = 0; i < 800; ++i) text += "Langer Text ";
    Zeichenformat format;
    format.Schriftart = "Liberation Sans";
    TextquelleKlartext quelle(text, format);
    a.s.textquelle = &quelle;

    // Without "Unterbrechung" the window still paints while the text converts (a timer stands for
    // the paint events), but no input reaches the work, so "Abbruch" is not offered.
    QList<int> fortschritte;
    bool abbruchAngeboten = false;
    QTimer beobachter;
    beobachter.setInterval(0);
    QObject::connect(&beobachter, &QTimer::timeout, [&] {
        fortschritte.append(a.form->Fortschritt()->value());
        abbruchAngeboten |= a.form->AbbruchKnopf()->isEnabled();
    });
    beobachter.start();
    TextUmwandeln(a.s);
    beobachter.stop();
    QVERIFY2(std::any_of(fortschritte.begin(), fortschritte.end(), [](int w) { return w > 0; }),
             qPrintable(QString::number(fortschritte.size())));
    QVERIFY(!abbruchAngeboten);

    // With it, "Abbruch" is offered and a click ends the conversion early.
    a.s.einstellungen.Unterbrechung = 1;
    const auto ganz = a.s.speicher.ElementAnzahl();
    QTimer::singleShot(0, a.form.get(), [&a] {
        QVERIFY(a.form->AbbruchKnopf()->isEnabled());
        QTest::mouseClick(a.form->AbbruchKnopf(), Qt::LeftButton);
    });
    TextUmwandeln(a.s);
    QVERIFY(a.s.speicher.ElementAnzahl() < ganz / 2);
    QVERIFY(!a.form->AbbruchKnopf()->isEnabled() && a.s.fenster.Bereit);
}

void TstGrafik::tasteImLeerlauf() {
    Aufbau a;
    QVERIFY(a.Starten());
    Zeichenformat format;
    format.Schriftart = "Liberation Sans";
    TextquelleKlartext quelle("Ein Text von mehr als zehn Zeichen", format);
    a.s.textquelle = &quelle;
    TextUmwandeln(a.s);
    const auto ganz = a.s.speicher.ElementAnzahl();
    // Escape or the Alt of a menu shortcut while nothing runs does not cut the next job short.
    for (const Qt::Key taste : {Qt::Key_Escape, Qt::Key_Alt, Qt::Key_X}) {
        QTest::keyClick(a.form->Grafik(), taste);
        QVERIFY(!a.s.fenster.AbbruchWunsch);
        TextUmwandeln(a.s);
        QCOMPARE(a.s.speicher.ElementAnzahl(), ganz);
    }
    // A request left over from before a job does not stop it either.
    a.s.fenster.AbbruchWunsch = true;
    TextUmwandeln(a.s);
    QCOMPARE(a.s.speicher.ElementAnzahl(), ganz);
}

void TstGrafik::statuszeileUndGroessenwechsel() {
    Aufbau a;
    QVERIFY(a.Starten());
    a.form->resize(900, 640);
    a.form->show();
    a.Importieren();
    // The fields take their widest content at the window's font.
    for (const auto& [name, muster] : {std::pair{"KoordinatenX", "-99999.99"},
                                       std::pair{"AnzElemente", "1234567/123456"}}) {
        QLineEdit* feld = a.form->Feld(QLatin1String(name));
        QVERIFY2(QFontMetrics(feld->font()).horizontalAdvance(QLatin1String(muster)) <
                     feld->width(),
                 name);
    }
    // Nothing to do shows an empty bar, not an endless busy animation.
    a.form->Ui().FortschrittMaximum(0);
    QVERIFY(a.form->Fortschritt()->maximum() > a.form->Fortschritt()->minimum());

    // A smaller window gets its picture refitted once the resizing has stopped.
    a.form->resize(700, 600);
    QCoreApplication::processEvents();
    const double breiteVorher = a.form->Grafik()->AktuelleAnsicht().Breite;
    QTest::qWait(400);
    const Ansicht nachher = a.form->Grafik()->AktuelleAnsicht();
    QVERIFY(nachher.Breite != breiteVorher);
    QCOMPARE(-nachher.Breite / nachher.Hoehe, a.s.fenster.Seitenverhaeltnis);

    // The statistics window opens centred over the window that asked for it, also a dialog.
    QDialog eltern(a.form.get());
    eltern.setGeometry(300, 250, 320, 200);
    eltern.show();
    QPoint mitte;
    QTimer::singleShot(0, &eltern, [&mitte] {
        QWidget* fenster = QApplication::activeModalWidget();
        if (!fenster) return;
        mitte = fenster->geometry().center();
        fenster->close();
    });
    StatistikFensterZeigen(a.s, &eltern);
    QVERIFY2((mitte - eltern.geometry().center()).manhattanLength() < 20,
             qPrintable(QStringLiteral("%1,%2").arg(mitte.x()).arg(mitte.y())));
}

void TstGrafik::einstellungenBeimBeenden() {
    Aufbau a;
    QVERIFY(a.Starten(19200, 14400));
    a.form->show();
    a.form->mnuAus_Click();
    a.form->Aktion(QStringLiteral("mnuBeenden"))->trigger();
    QVERIFY(!a.form->isVisible());
    QSettings ini(a.Ini(), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Param/Punkte")).toString(), QStringLiteral("0"));
    QCOMPARE(ini.value(QStringLiteral("Window/SizeX")).toInt(), a.form->width() * Twips);
}

void TstGrafik::bildschirmfoto() {
    Aufbau a;
    QVERIFY(a.Starten());
    a.form->resize(900, 640);
    a.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(a.form.get()));
    a.Importieren();
    QCoreApplication::processEvents();
    const QImage bild = a.form->grab().toImage();
    const QString datei = QStringLiteral(KONTURO_BIN "/../grafik_form.png");
    QVERIFY(bild.save(datei));
    // Lines are white and arcs and end points green on black.
    const QImage flaeche = a.form->Grafik()->Bild().toImage();
    int weiss = 0, gruen = 0;
    for (int y = 0; y < flaeche.height(); ++y) {
        for (int x = 0; x < flaeche.width(); ++x) {
            const QRgb p = flaeche.pixel(x, y);
            if (p == qRgb(255, 255, 255)) ++weiss;
            if (p == qRgb(0, 255, 0)) ++gruen;
        }
    }
    QVERIFY2(weiss > 500, qPrintable(QString::number(weiss)));
    QVERIFY2(gruen > 100, qPrintable(QString::number(gruen)));

    // Zoomed onto the lower left corner of the rectangle: its two edges fill the area.
    GrafikFlaeche* g = a.form->Grafik();
    const Ansicht ganz = g->AktuelleAnsicht();
    const QPointF ecke(ganz.Links + ganz.Breite * 0.02, ganz.Oben + ganz.Hoehe * 0.70);
    a.form->Grafik_MouseDown(Qt::LeftButton, ecke);
    a.form->Grafik_MouseMove(ecke + QPointF(ganz.Breite * 0.15, -ganz.Breite * 0.15));
    QVERIFY(a.form->grab().toImage().save(QStringLiteral(KONTURO_BIN "/../grafik_form_band.png")));
    a.form->Grafik_MouseUp(Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(a.form->grab().toImage().save(QStringLiteral(KONTURO_BIN "/../grafik_form_zoom.png")));
    QVERIFY(g->AktuelleAnsicht().Breite < ganz.Breite / 5);

    // The two small windows of the main window, for a look.
    Info info(a.s, a.form.get());
    info.show();
    QVERIFY(info.grab().toImage().save(QStringLiteral(KONTURO_BIN "/../info.png")));
    EPS_Parameter parameter(a.s, a.form.get());
    parameter.show();
    QVERIFY(parameter.grab().toImage().save(QStringLiteral(KONTURO_BIN "/../eps_parameter.png")));
}

QTEST_MAIN(TstGrafik)
#include "tst_grafik.moc"
