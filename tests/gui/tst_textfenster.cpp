// The text workflow's windows on the offscreen platform: typing through the number filters in a
// point and a comma locale, empty fields, previews, the style combo, the rich text as text
// source, a two-font rich-text file converted per character, the statistics window, and
// screenshots of the text and statistics windows.
#include "app/DB_System.h"
#include "app/EinstellungenSpeicher.h"
#include "app/Sitzung.h"
#include "display/qt/StatistikFenster.h"
#include "text/GlyphGeraetFreetype.h"
#include "text/RtfLesen.h"
#include "text/qt/ParameterFenster.h"
#include "text/qt/TextFenster.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest>

#include <memory>
#include <vector>

using namespace konturo;

namespace {

std::unique_ptr<Sitzung> NeueSitzung() {
    auto s = std::make_unique<Sitzung>();
    EinstellungenSpeicherSpeicher leer;
    EinstellungenUmgebung umgebung;
    umgebung.programmOrdner = QDir::tempPath().toStdString();
    EinstellungenLaden(*s, leer, umgebung);
    return s;
}

std::string Testdatei(const char* name) {
    QFile datei(QStringLiteral(KONTURO_TESTDATEN "/text/daten/") + QLatin1String(name));
    if (!datei.open(QIODevice::ReadOnly)) return {};
    const QByteArray b = datei.readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// Records the font selected when each character is measured.
class AufzeichnendesGeraet : public GlyphGeraet {
public:
    bool SchriftWaehlen(const std::string& name, double groesse, bool fett, bool kursiv) override {
        aktuell_ = QString::fromStdString(name) + (fett ? " bold" : "") +
                   (kursiv ? " italic" : "") + " " + QString::number(groesse);
        return echt_.SchriftWaehlen(name, groesse, fett, kursiv);
    }
    AbcBreiten Breiten(char32_t zeichen) override {
        gemessen << QString::fromUcs4(&zeichen, 1) + ":" + aktuell_;
        return echt_.Breiten(zeichen);
    }
    Textmetrik Metrik() override { return echt_.Metrik(); }
    void* Handle() override { return echt_.Handle(); }

    QStringList gemessen;

private:
    GlyphGeraetFreetype echt_;
    QString aktuell_;
};

struct Element {
    int typ;
    double x1, y1, x2, y2, r;
    bool operator==(const Element&) const = default;
};

std::vector<Element> Elemente(const Sitzung& s) {
    std::vector<Element> v;
    for (std::int32_t i = 1; i <= s.speicher.ElementAnzahl(); ++i) {
        const GeoElement& e = s.speicher.Elemente[i];
        v.push_back({e.Typ, e.X1, e.Y1, e.X2, e.Y2, e.Radius});
    }
    return v;
}

void Markieren(QTextEdit* rtf, int von, int bis) {
    QTextCursor c = rtf->textCursor();
    c.setPosition(von);
    c.setPosition(bis, QTextCursor::KeepAnchor);
    rtf->setTextCursor(c);
}

} // namespace

class TextfensterTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        s = NeueSitzung();
        s->glyphGeraet = &geraet;
    }
    void cleanup() { s.reset(); }

    void typingThroughTheFiltersInBothLocales_data();
    void typingThroughTheFiltersInBothLocales();
    void emptyFieldKeepsItsValueAndReopeningShowsIt();
    void lettersAreRejectedAndMinusOnlyWhereAllowed();
    void previewTwiceGivesIdenticalGeometry();
    void styleComboAppliesOnlyItsFourNames();
    void sizeWithoutSelectionAppliesAtTheCaret();
    void richTextAsTextSourceCountsLineBreaksTwice();
    void textSetzenKeepsTheFirstCharactersFormat();
    void twoFontRtfConvertsEachCharacterInItsFont();
    void windowHidesInsteadOfClosingAndListsOutlineFonts();
    void statisticsWindowShowsTheCoreNumbers();
    void screenshots();

private:
    std::unique_ptr<Sitzung> s;
    AufzeichnendesGeraet geraet;
};

void TextfensterTest::typingThroughTheFiltersInBothLocales_data() {
    QTest::addColumn<bool>("punkt");
    QTest::addColumn<QString>("getippt");
    QTest::addColumn<QString>("angezeigt");
    QTest::addColumn<double>("wert");
    QTest::newRow("point locale, point") << true << "0.5"
                                         << "0.5" << 0.5;
    QTest::newRow("point locale, comma typed") << true << "0,5"
                                               << "0.5" << 0.5;
    QTest::newRow("comma locale, point typed") << false << "0.5"
                                               << "0,5" << 0.5;
    QTest::newRow("comma locale, comma") << false << "1,25"
                                         << "1,25" << 1.25;
}

void TextfensterTest::typingThroughTheFiltersInBothLocales() {
    QFETCH(bool, punkt);
    QFETCH(QString, getippt);
    QFETCH(QString, angezeigt);
    QFETCH(double, wert);
    s->speicher.DezimalPunkt = punkt;
    ParameterFenster fenster(*s, nullptr);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    fenster.Text1->clear();
    fenster.Text1->setFocus();
    QTest::keyClicks(fenster.Text1, getippt);
    QCOMPARE(fenster.Text1->text(), angezeigt);
    QCOMPARE(s->einstellungen.Toleranz, wert);
}

void TextfensterTest::emptyFieldKeepsItsValueAndReopeningShowsIt() {
    s->speicher.DezimalPunkt = false;
    s->text.Schrifthoehe = 12.5;
    {
        ParameterFenster fenster(*s, nullptr);
        fenster.show();
        QCOMPARE(fenster.Text3->text(), QStringLiteral("12,5"));
        fenster.Text3->setFocus();
        fenster.Text3->selectAll();
        QTest::keyClick(fenster.Text3, Qt::Key_Backspace);
        QCOMPARE(fenster.Text3->text(), QString());
        QCOMPARE(s->text.Schrifthoehe, 12.5);
        // A lone minus is no number in a comma locale: the value stays too.
        QTest::keyClicks(fenster.Text3, "-");
        QCOMPARE(s->text.Schrifthoehe, 12.5);
    }
    ParameterFenster wieder(*s, nullptr);
    QCOMPARE(wieder.Text3->text(), QStringLiteral("12,5"));

    // In a point locale the locale-independent reading makes a lone minus 0.
    s->speicher.DezimalPunkt = true;
    ParameterFenster punkt(*s, nullptr);
    punkt.show();
    punkt.Text2->setFocus();
    punkt.Text2->selectAll();
    QTest::keyClicks(punkt.Text2, "7");
    QCOMPARE(s->text.Laufweite, 7.0);
    punkt.Text2->selectAll();
    QTest::keyClicks(punkt.Text2, "-");
    QCOMPARE(punkt.Text2->text(), QStringLiteral("-"));
    QCOMPARE(s->text.Laufweite, 0.0);
}

void TextfensterTest::lettersAreRejectedAndMinusOnlyWhereAllowed() {
    ParameterFenster fenster(*s, nullptr);
    fenster.show();
    fenster.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&fenster));
    // A field that receives the focus has its whole text selected.
    fenster.Text3->setFocus();
    QTRY_COMPARE(fenster.Text3->selectedText(), QStringLiteral("100"));
    for (QLineEdit* feld :
         {fenster.Text1, fenster.Text2, fenster.Text3, fenster.Text4, fenster.Text5}) {
        feld->clear();
        feld->setFocus();
        QTest::keyClicks(feld, "a1x-b2 ");
        QCOMPARE(feld->text(), QStringLiteral("1-2"));
    }
    fenster.Check1->setChecked(true);
    QCOMPARE(int(s->einstellungen.SingleLineModus), 1);
    fenster.Check1->setChecked(false);
    QCOMPARE(int(s->einstellungen.SingleLineModus), 0);
}

void TextfensterTest::previewTwiceGivesIdenticalGeometry() {
    TextFenster text(*s, nullptr);
    s->textquelle = &text.Quelle();
    text.RTF->insertPlainText(QStringLiteral("T\u00FCr 08"));
    Markieren(text.RTF, 4, 6);
    text.Combo1Waehlen(QStringLiteral("Liberation Serif"));
    ParameterFenster fenster(*s, nullptr);
    fenster.show();
    QTest::mouseClick(fenster.Command1, Qt::LeftButton);
    const auto erste = Elemente(*s);
    QVERIFY(erste.size() > 20);
    QVERIFY(fenster.isVisible()); // the preview leaves the window open
    QTest::mouseClick(fenster.Command1, Qt::LeftButton);
    QVERIFY(Elemente(*s) == erste);
    // Command2 closes the window and converts once more, again to the same geometry.
    QTest::mouseClick(fenster.Command2, Qt::LeftButton);
    QVERIFY(!fenster.isVisible());
    QVERIFY(Elemente(*s) == erste);
}

void TextfensterTest::styleComboAppliesOnlyItsFourNames() {
    TextFenster text(*s, nullptr);
    QCOMPARE(text.Combo3->count(), 4);
    QCOMPARE(text.Combo3->itemText(1), QStringLiteral("fett"));
    text.RTF->setPlainText(QStringLiteral("abc"));
    Markieren(text.RTF, 0, 3);
    text.Combo3Waehlen(QStringLiteral("fett kursiv"));
    auto format = [&](int pos) {
        QTextCursor c(text.RTF->document());
        c.setPosition(pos + 1);
        return c.charFormat();
    };
    QVERIFY(format(1).fontWeight() >= QFont::Bold && format(1).fontItalic());
    text.Combo3Waehlen(QStringLiteral("halbfett"));
    QCOMPARE(s->einstellungen.Stil, std::string("halbfett"));
    QVERIFY(format(1).fontWeight() >= QFont::Bold && format(1).fontItalic());
    text.Combo3Waehlen(QStringLiteral("kursiv"));
    QVERIFY(format(1).fontWeight() < QFont::Bold && format(1).fontItalic());
    text.Combo3Waehlen(QStringLiteral("standard"));
    QVERIFY(format(1).fontWeight() < QFont::Bold && !format(1).fontItalic());
    // A name typed into the combo's field and confirmed goes the same way.
    text.Combo3->setFocus();
    text.Combo3->lineEdit()->selectAll();
    QTest::keyClicks(text.Combo3, "fett");
    QTest::keyClick(text.Combo3, Qt::Key_Return);
    QVERIFY(format(1).fontWeight() >= QFont::Bold);

    // After a switch to English the window (hidden, not closed) speaks English, the chosen style
    // stays chosen, and a name of either language applies its style.
    const char* englisch[] = {"regular", "bold", "italic", "bold italic"};
    for (int i = 0; i < 4; ++i) s->fenster.Texte[static_cast<std::size_t>(140 + i)] = englisch[i];
    s->fenster.Texte[61] = "Convert font";
    text.Combo3->setCurrentIndex(3);
    text.TexteSetzen();
    QCOMPARE(text.FontUmwandeln->text(), QStringLiteral("Convert font"));
    QCOMPARE(text.Combo3->itemText(3), QStringLiteral("bold italic"));
    QCOMPARE(text.Combo3->currentIndex(), 3);
    text.Combo3Waehlen(QStringLiteral("standard"));
    text.Combo3Waehlen(QStringLiteral("bold italic"));
    QVERIFY(format(1).fontWeight() >= QFont::Bold && format(1).fontItalic());
    text.Combo3Waehlen(QStringLiteral("regular"));
    text.Combo3Waehlen(QStringLiteral("fett kursiv"));
    QVERIFY(format(1).fontWeight() >= QFont::Bold && format(1).fontItalic());
    s->fenster.Texte = {};
}

void TextfensterTest::sizeWithoutSelectionAppliesAtTheCaret() {
    TextFenster text(*s, nullptr);
    text.RTF->setPlainText(QStringLiteral("ab"));
    QTextCursor c = text.RTF->textCursor();
    c.setPosition(2);
    text.RTF->setTextCursor(c);
    text.Combo2Waehlen(QStringLiteral("40"));
    QCOMPARE(s->einstellungen.Hoehe, std::string("40"));
    text.RTF->setFocus();
    QTest::keyClicks(text.RTF, "c");
    QCOMPARE(text.Quelle().An(2).format.Groesse, 40.0);
    QVERIFY(text.Quelle().An(0).format.Groesse != 40.0);
    QVERIFY(text.Quelle().An(1).format.Groesse != 40.0);
    // A typed text that is no size changes nothing.
    text.Combo2Waehlen(QStringLiteral("gross"));
    QCOMPARE(s->einstellungen.Hoehe, std::string("40"));
}

void TextfensterTest::richTextAsTextSourceCountsLineBreaksTwice() {
    TextFenster text(*s, nullptr);
    text.RTF->setFocus();
    QTest::keyClicks(text.RTF, "ab");
    QTest::keyClick(text.RTF, Qt::Key_Return);
    QTest::keyClicks(text.RTF, "c");
    QTest::keyClick(text.RTF, Qt::Key_Return, Qt::ShiftModifier); // line separator
    QTest::keyClicks(text.RTF, "d");
    const TextquelleQt& q = text.Quelle();
    QCOMPARE(q.Laenge(), 8);
    QCOMPARE(q.KlarText(), std::string("ab\r\nc\r\nd"));
    QVERIFY(q.An(2).art == TextPosition::Art::Zeilenumbruch);
    QVERIFY(q.An(3).art == TextPosition::Art::Leer);
    QVERIFY(q.An(5).art == TextPosition::Art::Zeilenumbruch);
    QVERIFY(q.An(7).art == TextPosition::Art::Zeichen);
    QVERIFY(q.An(8).art == TextPosition::Art::Leer); // past the end
    QCOMPARE(q.An(0).format.Schriftart, s->einstellungen.Font);
    QCOMPARE(text.Text1->text(), QStringLiteral("ab c d"));
}

void TextfensterTest::textSetzenKeepsTheFirstCharactersFormat() {
    TextFenster text(*s, nullptr);
    LaeufeSetzen(*text.RTF->document(), RtfLesen(Testdatei("zwei_schriften.rtf")));
    text.Quelle().TextSetzen("Neu\r\nZeile");
    const TextquelleQt& q = text.Quelle();
    QCOMPARE(q.KlarText(), std::string("Neu\r\nZeile"));
    for (int p : {0, 2, 5, 9}) {
        QCOMPARE(q.An(p).format.Schriftart, std::string("DejaVu Sans"));
        QCOMPARE(q.An(p).format.Groesse, 24.0);
        QVERIFY(!q.An(p).format.Fett);
    }
}

void TextfensterTest::twoFontRtfConvertsEachCharacterInItsFont() {
    TextFenster text(*s, nullptr);
    const RtfText rtf = RtfLesen(Testdatei("zwei_schriften.rtf"));
    QVERIFY(rtf.Fehler.empty());
    LaeufeSetzen(*text.RTF->document(), rtf);
    s->textquelle = &text.Quelle();
    QCOMPARE(text.Quelle().KlarText(), std::string("T\xC3\xBCr 08"));
    geraet.gemessen.clear();
    ParameterFenster fenster(*s, nullptr);
    fenster.Vorschau();
    const QStringList erwartet = {
        QStringLiteral("T:DejaVu Sans 240"),
        QStringLiteral("\u00FC:DejaVu Sans 240"),
        QStringLiteral("r:DejaVu Sans 240"),
        QStringLiteral(" :Liberation Serif bold 240"),
        QStringLiteral("0:Liberation Serif bold 240"),
        QStringLiteral("8:Liberation Serif bold 240"),
    };
    QCOMPARE(geraet.gemessen, erwartet);
    QVERIFY(s->speicher.ElementAnzahl() > 20);
}

void TextfensterTest::windowHidesInsteadOfClosingAndListsOutlineFonts() {
    TextFenster text(*s, nullptr);
    QVERIFY(text.Combo1->findText(QStringLiteral("DejaVu Sans")) >= 0);
    QVERIFY(text.Combo1->findText(QStringLiteral("Liberation Serif")) >= 0);
    // Every name offered is converted in a font of that very family: no foundry suffixes such
    // as "C059 [urw]", no generic aliases that resolve to some other font.
    for (int i = 0; i < text.Combo1->count(); ++i) {
        const QString name = text.Combo1->itemText(i);
        QVERIFY2(!name.contains(QLatin1Char('[')), qPrintable(name));
        QVERIFY2(SchriftVorhanden(name.toStdString()), qPrintable(name));
    }
    for (const char* alias : {"Sans Serif", "Serif", "Monospace"})
        QCOMPARE(text.Combo1->findText(QLatin1String(alias)), -1);
    QCOMPARE(text.Combo2->count(), 65);
    QCOMPARE(text.Combo2->itemText(0), QStringLiteral("8"));
    QCOMPARE(text.Combo2->itemText(64), QStringLiteral("72"));
    QCOMPARE(text.Combo1->currentText(), QStringLiteral("Arial"));
    QCOMPARE(text.Combo2->currentText(), QStringLiteral("24"));
    QCOMPARE(text.Combo3->currentText(), QStringLiteral("standard"));
    text.show();
    QVERIFY(QTest::qWaitForWindowExposed(&text));
    QTest::keyClicks(text.RTF, "Tor");
    QVERIFY(!text.close());
    QVERIFY(text.isHidden());
    QCOMPARE(text.Quelle().KlarText(), std::string("Tor"));
    // The colours of the text field come from THF and TVF.
    QCOMPARE(text.RTF->palette().color(QPalette::Base), QColor(255, 255, 255));
    QCOMPARE(text.RTF->palette().color(QPalette::Text), QColor(0, 0, 0));
}

void TextfensterTest::statisticsWindowShowsTheCoreNumbers() {
    // The numbers themselves are the core's (tests/display); the window shows them in the
    // user's format under joined captions and owns the WarnDarstellung switch.
    s->speicher.Elemente.Anfuegen(NeuesElement(Linie, 0, 0, 2.349, 0));
    s->speicher.DezimalPunkt = false;
    StatistikFenster fenster(*s, nullptr);
    QCOMPARE(fenster.Werte.size(), std::size_t(18));
    QCOMPARE(fenster.Werte[1]->text(), QStringLiteral("2,34"));
    QCOMPARE(fenster.Werte[17]->text(), QStringLiteral("2,35"));
    QCOMPARE(fenster.Beschriftungen[1]->text(), QStringLiteral("min. L\u00E4nge"));
    QCOMPARE(fenster.Beschriftungen[14]->text(), QStringLiteral("max. Durchmesser"));
    QCOMPARE(fenster.Frame2->title(), QStringLiteral("B\u00F6gen"));
    QVERIFY(!fenster.WarnDarstellung->isChecked());
    fenster.WarnDarstellung->setChecked(true);
    QCOMPARE(int(s->einstellungen.WarnDarstellung), 1);
    fenster.WarnDarstellung->setChecked(false);
    QCOMPARE(int(s->einstellungen.WarnDarstellung), 0);
}

void TextfensterTest::screenshots() {
    const QString ordner = QDir::temp().filePath(QStringLiteral("konturo-bilder"));
    QVERIFY(QDir().mkpath(ordner));
    TextFenster text(*s, nullptr);
    LaeufeSetzen(*text.RTF->document(), RtfLesen(Testdatei("formate.rtf")));
    text.resize(640, 360);
    text.show();
    QVERIFY(QTest::qWaitForWindowExposed(&text));
    QVERIFY(text.grab().save(ordner + QStringLiteral("/text.png")));

    s->speicher.Elemente.Anfuegen(NeuesElement(Linie, 0, 0, 12.5, 0));
    s->speicher.Elemente.Anfuegen(NeuesElement(Bogen, 0, 0, 0, 1.5, 4));
    StatistikFenster statistik(*s, nullptr);
    statistik.show();
    QVERIFY(QTest::qWaitForWindowExposed(&statistik));
    QVERIFY(statistik.grab().save(ordner + QStringLiteral("/statistik.png")));

    ParameterFenster parameter(*s, nullptr);
    parameter.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parameter));
    QVERIFY(parameter.grab().save(ordner + QStringLiteral("/parameter.png")));
}

QTEST_MAIN(TextfensterTest)
#include "tst_textfenster.moc"
