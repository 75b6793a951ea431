// The text window.
#include "text/qt/TextFenster.h"

#include "app/Sitzung.h"
#include "display/qt/Fensterhilfe.h"
#include "display/qt/Grafik_Form.h"
#include "display/qt/Meldung.h"
#include "text/GlyphGeraetFreetype.h"
#include "text/Stil.h"
#include "text/qt/TextBefehle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace konturo {

namespace {

constexpr int MinBreiteTwips = 2000;
constexpr int MinHoeheTwips = 1500;

// A settings colour (red + 256 green + 65536 blue) as a Qt colour.
QColor Farbe(std::int32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

QComboBox* NeueCombo(QWidget* eltern, const char* name) {
    auto* combo = new QComboBox(eltern);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    // A typed entry is applied, never added to the list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

} // namespace

QStringList KonturSchriftarten() {
    // The families the glyph device finds, not Qt's list: Qt adds foundry suffixes ("C059 [urw]")
    // and generic aliases that the conversion would resolve to another font.
    QStringList namen;
    for (const std::string& familie : SkalierbareSchriften()) namen << Q(familie);
    return namen;
}

TextFenster::TextFenster(Sitzung& s, QWidget* hauptfenster)
    : QDialog(hauptfenster), s_(s), hauptfenster_(hauptfenster) {
    setObjectName(QStringLiteral("Text"));
    setWindowModality(Qt::ApplicationModal);
    setSizeGripEnabled(true);
    setMinimumSize(MinBreiteTwips / Twips, MinHoeheTwips / Twips);

    RTF = new QTextEdit(this);
    RTF->setObjectName(QStringLiteral("RTF"));
    RTF->setAcceptRichText(true);
    RTF->setFont(QFont(QStringLiteral("Arial")));
    RTF->document()->setDefaultFont(QFont(QStringLiteral("Arial")));
    quelle_ = std::make_unique<TextquelleQt>(RTF->document());

    Combo1 = NeueCombo(this, "Combo1");
    Combo1->setMinimumContentsLength(18);
    Combo2 = NeueCombo(this, "Combo2");
    Combo2->setMinimumContentsLength(3);
    Combo3 = NeueCombo(this, "Combo3");
    Combo3->setMinimumContentsLength(10);
    FontUmwandeln = new QPushButton(this);
    FontUmwandeln->setObjectName(QStringLiteral("FontUmwandeln"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);

    // The text fills the window; the combos, the button and Text1 sit in a strip below it.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 4);
    layout->addWidget(RTF, 1);
    auto* leiste = new QHBoxLayout;
    leiste->addWidget(Combo1, 3);
    leiste->addWidget(Combo2, 1);
    leiste->addWidget(Combo3, 2);
    leiste->addWidget(FontUmwandeln);
    layout->addLayout(leiste);
    layout->addWidget(Text1);

    Laden();

    connect(Combo1, &QComboBox::textActivated, this, &TextFenster::Combo1Waehlen);
    connect(Combo2, &QComboBox::textActivated, this, &TextFenster::Combo2Waehlen);
    connect(Combo3, &QComboBox::textActivated, this, &TextFenster::Combo3Waehlen);
    connect(RTF, &QTextEdit::textChanged, this, &TextFenster::Text1Aktualisieren);
    connect(FontUmwandeln, &QPushButton::clicked, this, &TextFenster::FontUmwandelnKlick);
}

TextFenster::~TextFenster() {
    // The session must not read a text source that goes with this window.
    if (s_.textquelle == quelle_.get()) s_.textquelle = nullptr;
}

void TextFenster::Laden() {
    TexteSetzen();
    PlatzierungHerstellen();
    FarbenSetzen();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SchriftartenFuellen();
    for (int groesse = 8; groesse <= 72; ++groesse) Combo2->addItem(QString::number(groesse));
    StartformatSetzen();
    QApplication::restoreOverrideCursor();
}

void TextFenster::TexteSetzen() {
    setWindowTitle(Sprachtext(s_, 64, "Text"));
    FontUmwandeln->setText(Sprachtext(s_, 61, "Font umwandeln"));
    // The style names in the current language; the chosen style stays chosen.
    const QString bisher = Combo3->currentText();
    const int nr = StilNummer(s_, S(bisher));
    Combo3->clear();
    Combo3->addItems(Stilnamen());
    if (nr >= 0)
        Combo3->setCurrentIndex(nr);
    else
        Combo3->setCurrentText(bisher);
}

QStringList TextFenster::Stilnamen() const {
    return {Sprachtext(s_, 140, "standard"), Sprachtext(s_, 141, "fett"),
            Sprachtext(s_, 142, "kursiv"), Sprachtext(s_, 143, "fett kursiv")};
}

void TextFenster::PlatzierungHerstellen() {
    const Einstellungen& e = s_.einstellungen;
    int breite = e.TextSizeX, hoehe = e.TextSizeY;
    if (hauptfenster_) {
        // Never larger than the main window.
        breite = std::min(breite, hauptfenster_->width() * Twips);
        hoehe = std::min(hoehe, hauptfenster_->height() * Twips);
    }
    breite = std::max(breite, MinBreiteTwips);
    hoehe = std::max(hoehe, MinHoeheTwips);
    resize(breite / Twips, hoehe / Twips);
    move(e.TextPosX / Twips, e.TextPosY / Twips);
}

void TextFenster::FarbenSetzen() {
    // Background of the text from THF; the text colour TVF for typed and selected text.
    QPalette palette = RTF->palette();
    palette.setColor(QPalette::Base, Farbe(s_.einstellungen.THF));
    palette.setColor(QPalette::Text, Farbe(s_.einstellungen.TVF));
    RTF->setPalette(palette);
    RTF->setTextColor(Farbe(s_.einstellungen.TVF));
}

void TextFenster::SchriftartenFuellen() {
    Meldung meldung(s_, hauptfenster_);
    meldung.Zeigen(Sprachtext(s_, 170, "Schriftarten werden geladen,") + QLatin1Char(' ') +
                   Sprachtext(s_, 171, "bitte warten ..."));
    Combo1->clear();
    Combo1->addItems(KonturSchriftarten());
    meldung.close();
}

void TextFenster::StartformatSetzen() {
    const Einstellungen& e = s_.einstellungen;
    const QString font = QString::fromStdString(e.Font.empty() ? "Arial" : e.Font);
    Combo1->setCurrentText(font);
    Combo2->setCurrentText(QString::fromStdString(e.Hoehe));
    Combo3->setCurrentText(QString::fromStdString(e.Stil));
    QFont basis = RTF->document()->defaultFont();
    basis.setFamilies({font});
    RTF->document()->setDefaultFont(basis);
    Text1->setFont(QFont(font));
    // The current selection (the caret of the empty text) in font, size and style.
    QTextCharFormat format;
    format.setFontFamilies({font});
    RTF->mergeCurrentCharFormat(format);
    bool ok = false;
    const double groesse = QString::fromStdString(e.Hoehe).toDouble(&ok);
    if (ok && groesse > 0) {
        QTextCharFormat f;
        f.setFontPointSize(groesse);
        RTF->mergeCurrentCharFormat(f);
    }
    const int stil = StilNummer(s_, e.Stil);
    if (stil >= 0) {
        Combo3->setCurrentIndex(stil);
        QTextCharFormat f;
        f.setFontWeight(stil == 1 || stil == 3 ? QFont::Bold : QFont::Normal);
        f.setFontItalic(stil >= 2);
        RTF->mergeCurrentCharFormat(f);
    }
}

void TextFenster::Combo1Waehlen(const QString& name) {
    if (name.isEmpty()) return;
    s_.einstellungen.Font = name.toStdString();
    QTextCharFormat format;
    format.setFontFamilies({name});
    RTF->mergeCurrentCharFormat(format);
    Text1->setFont(QFont(name));
    RTF->setFocus();
}

void TextFenster::Combo2Waehlen(const QString& groesse) {
    bool ok = false;
    const double punkte = groesse.trimmed().toDouble(&ok);
    // A typed text that is not a size changes nothing.
    if (!ok || punkte <= 0 || punkte > 1638) return;
    s_.einstellungen.Hoehe = groesse.trimmed().toStdString();
    QTextCharFormat format;
    format.setFontPointSize(punkte);
    RTF->mergeCurrentCharFormat(format);
    RTF->setFocus();
}

void TextFenster::Combo3Waehlen(const QString& stil) {
    s_.einstellungen.Stil = stil.toStdString();
    const int nr = StilNummer(s_, stil.toStdString());
    if (nr < 0) return; // none of the four: bold and italic stay as they are
    QTextCharFormat format;
    format.setFontWeight(nr == 1 || nr == 3 ? QFont::Bold : QFont::Normal);
    format.setFontItalic(nr >= 2);
    RTF->mergeCurrentCharFormat(format);
    RTF->setFocus();
}

void TextFenster::Text1Aktualisieren() {
    QString text = RTF->toPlainText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char(' '));
    text.replace(QChar::LineSeparator, QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    Text1->setText(text);
}

void TextFenster::FontUmwandelnKlick() {
    Einstellungen& e = s_.einstellungen;
    e.TextPosX = x() * Twips;
    e.TextPosY = y() * Twips;
    e.TextSizeX = width() * Twips;
    e.TextSizeY = height() * Twips;
    if (auto* haupt = qobject_cast<Grafik_Form*>(hauptfenster_)) haupt->EinstellungenSpeichern();
    hide();
    ParameterFensterZeigen(s_, hauptfenster_);
}

void TextFenster::showEvent(QShowEvent* e) {
    FarbenSetzen();
    QDialog::showEvent(e);
    RTF->setFocus();
}

void TextFenster::closeEvent(QCloseEvent* e) {
    // Hidden, not closed: the text stays for every later re-conversion.
    e->ignore();
    hide();
}

} // namespace konturo
