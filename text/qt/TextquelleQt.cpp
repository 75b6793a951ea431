// Text source over a QTextDocument and the loading of rich-text runs into one.
#include "text/qt/TextquelleQt.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

namespace konturo {

namespace {

constexpr char32_t ZeilenTrenner = 0x2028; // QChar::LineSeparator
constexpr char32_t AbsatzTrenner = 0x2029; // QChar::ParagraphSeparator
constexpr char32_t ObjektErsatz = 0xFFFC;  // an embedded object has no glyph

void UmbruchAnfuegen(std::vector<TextPosition>& positionen) {
    TextPosition cr;
    cr.art = TextPosition::Art::Zeilenumbruch;
    cr.zeichen = U'\r';
    positionen.push_back(cr);
    TextPosition lf;
    lf.art = TextPosition::Art::Leer;
    lf.zeichen = U'\n';
    positionen.push_back(lf);
}

// CR LF and lone CR as the LF that QTextCursor::insertText turns into a block boundary.
QString ZeilenendenVereinheitlichen(const std::string& utf8) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    return text;
}

} // namespace

Zeichenformat FormatVon(const QTextCharFormat& format, const QTextDocument& dokument) {
    const QFont schrift = format.font().resolve(dokument.defaultFont());
    Zeichenformat z;
    z.Schriftart = schrift.family().toStdString();
    z.Groesse = schrift.pointSizeF() > 0 ? schrift.pointSizeF() : 12.0;
    z.Fett = schrift.weight() >= QFont::Bold;
    z.Kursiv = schrift.italic();
    return z;
}

QTextCharFormat ZeichenformatQt(const Zeichenformat& format) {
    QTextCharFormat f;
    f.setFontFamilies({QString::fromStdString(format.Schriftart)});
    f.setFontPointSize(format.Groesse);
    f.setFontWeight(format.Fett ? QFont::Bold : QFont::Normal);
    f.setFontItalic(format.Kursiv);
    return f;
}

TextquelleQt::TextquelleQt(QTextDocument* dokument) : dokument_(dokument) {
    if (dokument)
        verbindung_ = QObject::connect(dokument, &QTextDocument::contentsChanged,
                                       [this] { veraltet_ = true; });
}

TextquelleQt::~TextquelleQt() { QObject::disconnect(verbindung_); }

void TextquelleQt::Aufbauen() const {
    if (!veraltet_) return;
    positionen_.clear();
    veraltet_ = false;
    if (!dokument_) return;
    for (QTextBlock block = dokument_->begin(); block.isValid(); block = block.next()) {
        if (block != dokument_->begin()) UmbruchAnfuegen(positionen_);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            const Zeichenformat format = FormatVon(fragment.charFormat(), *dokument_);
            for (char32_t c : fragment.text().toUcs4()) {
                if (c == ZeilenTrenner || c == AbsatzTrenner) {
                    UmbruchAnfuegen(positionen_);
                    continue;
                }
                if (c == ObjektErsatz) continue;
                TextPosition p;
                p.art = TextPosition::Art::Zeichen;
                p.zeichen = c;
                p.format = format;
                positionen_.push_back(std::move(p));
            }
        }
    }
}

std::int32_t TextquelleQt::Laenge() const {
    Aufbauen();
    return static_cast<std::int32_t>(positionen_.size());
}

TextPosition TextquelleQt::An(std::int32_t position) const {
    Aufbauen();
    if (position < 0 || position >= static_cast<std::int32_t>(positionen_.size())) return {};
    return positionen_[static_cast<std::size_t>(position)];
}

std::string TextquelleQt::KlarText() const {
    Aufbauen();
    std::string text;
    for (const TextPosition& p : positionen_) {
        if (p.art == TextPosition::Art::Zeilenumbruch)
            text += "\r\n";
        else if (p.art == TextPosition::Art::Zeichen)
            text += Utf8Kodieren(p.zeichen);
    }
    return text;
}

void TextquelleQt::TextSetzen(const std::string& utf8) {
    if (!dokument_) return;
    QTextCursor cursor(dokument_);
    cursor.movePosition(QTextCursor::Start);
    // The format of the first character (the caret format of an empty document).
    cursor.movePosition(QTextCursor::NextCharacter);
    const QTextCharFormat format = cursor.charFormat();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setCharFormat(format);
    cursor.insertText(ZeilenendenVereinheitlichen(utf8), format);
}

void LaeufeSetzen(QTextDocument& dokument, const RtfText& rtf) {
    dokument.clear();
    QTextCursor cursor(&dokument);
    bool ersterLauf = true;
    for (const RtfLauf& lauf : rtf.Laeufe) {
        const QTextCharFormat format = ZeichenformatQt(lauf.Format);
        if (ersterLauf) {
            // The empty first block takes the first run's format, so a caret there types in it.
            cursor.setBlockCharFormat(format);
            ersterLauf = false;
        }
        cursor.insertText(QString::fromStdString(lauf.Text), format);
    }
}

void KlartextSetzen(QTextDocument& dokument, const std::string& bytes) {
    const std::string utf8 = IstUtf8(bytes) ? bytes : Cp1252NachUtf8(bytes);
    std::string ohneBom = utf8.rfind("\xEF\xBB\xBF", 0) == 0 ? utf8.substr(3) : utf8;
    dokument.clear();
    QTextCursor cursor(&dokument);
    cursor.insertText(ZeilenendenVereinheitlichen(ohneBom));
}

} // namespace konturo
