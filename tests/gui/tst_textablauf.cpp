// The text workflow through the main window on the offscreen platform: "Text eingeben", typing
// in two fonts, "Font umwandeln" with preview, statistics and conversion, export; loading a .rtf
// and a .txt file through "Text importieren"; the text window kept hidden between uses.
#include "display/qt/StatistikFenster.h"
#include "tests/gui/GuiHilfe.h"
#include "text/qt/ParameterFenster.h"
#include "text/qt/TextFenster.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

using namespace konturo;

namespace {

// The main window started and shown.
struct Aufbau : test::GuiAufbau {
    Aufbau() {
        gestartet = Starten();
        form->show();
    }
    TextFenster* Text() const { return form->findChild<TextFenster*>(); }
    bool gestartet = false;
};

QString Testdatei(const char* name) {
    return QStringLiteral(KONTURO_TESTDATEN "/text/daten/") + QLatin1String(name);
}

} // namespace

class TextablaufTest : public QObject {
    Q_OBJECT
private slots:
    void typeInTwoFontsPreviewStatisticsConvertAndExport();
    void textFilesLoadAsRichOrPlainText();
};

void TextablaufTest::typeInTwoFontsPreviewStatisticsConvertAndExport() {
    Aufbau a;
    QVERIFY(a.gestartet);
    QVERIFY(!a.form->Aktion(QStringLiteral("mnuParameter"))->isEnabled());
    QVERIFY(!a.form->Aktion(QStringLiteral("mnuStatistik"))->isEnabled());

    a.form->Aktion(QStringLiteral("mnufontErzeugen"))->trigger();
    TextFenster* text = a.Text();
    QVERIFY(text);
    QVERIFY(text->isVisible());
    text->RTF->insertPlainText(QStringLiteral("T\u00FCr 08"));
    QTextCursor c = text->RTF->textCursor();
    c.setPosition(4);
    c.setPosition(6, QTextCursor::KeepAnchor);
    text->RTF->setTextCursor(c);
    text->Combo1Waehlen(QStringLiteral("Liberation Serif"));
    text->Combo3Waehlen(QStringLiteral("fett"));

    // The parameters window opens modally from "Font umwandeln": preview, statistics, OK.
    int vorschauElemente = 0;
    QString statistikAnzahl;
    bool parameterGesehen = false;
    QTimer::singleShot(0, [&] {
        auto* parameter = qobject_cast<ParameterFenster*>(QApplication::activeModalWidget());
        if (!parameter) return;
        parameterGesehen = true;
        QTest::mouseClick(parameter->Command1, Qt::LeftButton);
        vorschauElemente = a.s.speicher.ElementAnzahl();
        QTimer::singleShot(0, [&] {
            auto* statistik = qobject_cast<StatistikFenster*>(QApplication::activeModalWidget());
            if (!statistik) return;
            statistikAnzahl = statistik->Werte[5]->text(); // "Bögen/Anzahl"
            QTest::mouseClick(statistik->Command1, Qt::LeftButton);
        });
        QTest::mouseClick(parameter->Command3, Qt::LeftButton);
        QTest::mouseClick(parameter->Command2, Qt::LeftButton);
    });
    QTest::mouseClick(text->FontUmwandeln, Qt::LeftButton);

    QVERIFY(parameterGesehen);
    QVERIFY(text->isHidden());
    QVERIFY(vorschauElemente > 20);
    QCOMPARE(a.s.speicher.ElementAnzahl(), vorschauElemente);
    QVERIFY(!statistikAnzahl.isEmpty() && statistikAnzahl != QStringLiteral("0"));
    QVERIFY(a.form->Aktion(QStringLiteral("mnuParameter"))->isEnabled());
    QVERIFY(a.form->Aktion(QStringLiteral("mnuStatistik"))->isEnabled());
    // "Font umwandeln" saved the settings with the text window's placement and the chosen style.
    QSettings ini(a.Ini(), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Window/TextSizeX")).toInt(), text->width() * Twips);
    QCOMPARE(ini.value(QStringLiteral("Param/Stil")).toString(), QStringLiteral("fett"));

    // Export through the main window's command into a DXF file.
    a.antwort = {true, a.ordner.filePath(QStringLiteral("tuer.dxf")), 1};
    a.form->mnuGrafikExport_Click();
    QFile dxf(a.antwort.pfad);
    QVERIFY(dxf.open(QIODevice::ReadOnly));
    const QByteArray inhalt = dxf.readAll();
    QVERIFY(inhalt.contains("ARC"));
    QVERIFY(inhalt.contains("EOF"));

    // The window comes back with the same text.
    a.form->Aktion(QStringLiteral("mnufontErzeugen"))->trigger();
    QCOMPARE(a.Text(), text);
    QCOMPARE(text->Quelle().KlarText(), std::string("T\xC3\xBCr 08"));
    QCOMPARE(text->Quelle().An(5).format.Schriftart, std::string("Liberation Serif"));
    QVERIFY(text->Quelle().An(5).format.Fett);
    QVERIFY(!text->Quelle().An(0).format.Fett);
}

void TextablaufTest::textFilesLoadAsRichOrPlainText() {
    Aufbau a;
    QVERIFY(a.gestartet);
    const QString rtf = a.ordner.filePath(QStringLiteral("ZWEI.RTF"));
    QVERIFY(QFile::copy(Testdatei("zwei_schriften.rtf"), rtf));
    a.antwort = {true, rtf, 1};
    a.form->Aktion(QStringLiteral("mnuText"))->trigger();
    TextFenster* text = a.Text();
    QVERIFY(text && text->isVisible());
    QCOMPARE(text->Quelle().KlarText(), std::string("T\xC3\xBCr 08"));
    QCOMPARE(text->Quelle().An(0).format.Schriftart, std::string("DejaVu Sans"));
    QCOMPARE(text->Quelle().An(4).format.Schriftart, std::string("Liberation Serif"));

    // An RTF file read as plain text would show its control words; a .txt file does.
    const QString txt = a.ordner.filePath(QStringLiteral("zwei.txt"));
    QVERIFY(QFile::copy(Testdatei("zwei_schriften.rtf"), txt));
    a.antwort.pfad = txt;
    a.form->Aktion(QStringLiteral("mnuText"))->trigger();
    QCOMPARE(a.Text(), text);
    QVERIFY(text->Quelle().KlarText().rfind("{\\rtf1", 0) == 0);

    // A file named .rtf that is no rich text: a message, and the text stays as it was.
    const QString falsch = a.ordner.filePath(QStringLiteral("falsch.rtf"));
    test::DateiAnlegen(falsch, "nur Text");
    const std::string vorher = text->Quelle().KlarText();
    a.antwort.pfad = falsch;
    a.form->Aktion(QStringLiteral("mnuText"))->trigger();
    QCOMPARE(a.MeldungsNummern(), QList<int>{124});
    QCOMPARE(text->Quelle().KlarText(), vorher);

    // Binary junk chosen as a text file is refused instead of converted as garbage.
    const QString junk = a.ordner.filePath(QStringLiteral("programm.txt"));
    test::DateiAnlegen(junk, QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0\x03\0>\0\x01", 16));
    a.antwort.pfad = junk;
    a.form->Aktion(QStringLiteral("mnuText"))->trigger();
    QCOMPARE(a.MeldungsNummern(), (QList<int>{124, 169}));
    QCOMPARE(text->Quelle().KlarText(), vorher);
}

QTEST_MAIN(TextablaufTest)
#include "tst_textablauf.moc"
