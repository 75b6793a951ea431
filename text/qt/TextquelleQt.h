// The text source over the text window's rich text: per position a character with its font or
// a line break, so the conversion reads exactly what the user typed and formatted.
#pragma once

#include "text/RtfLesen.h"
#include "text/Textquelle.h"

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QTextDocument>

#include <vector>

class QTextCharFormat;

namespace konturo {

class TextquelleQt : public Textquelle {
public:
    // The source reads dokument as it is at each call; the document is not owned.
    explicit TextquelleQt(QTextDocument* dokument);
    ~TextquelleQt() override;
    TextquelleQt(const TextquelleQt&) = delete;
    TextquelleQt& operator=(const TextquelleQt&) = delete;

    // Positions are code points; a block boundary or a line separator (Shift+Enter) reads as a
    // CR LF pair: a Zeilenumbruch followed by a Leer position.
    std::int32_t Laenge() const override;
    TextPosition An(std::int32_t position) const override;
    std::string KlarText() const override;
    void TextSetzen(const std::string& utf8) override;

    QTextDocument* Dokument() const { return dokument_; }

private:
    void Aufbauen() const;

    QPointer<QTextDocument> dokument_;
    QMetaObject::Connection verbindung_;
    mutable std::vector<TextPosition> positionen_;
    mutable bool veraltet_ = true;
};

// The effective format of a character: its own settings over the document's default font.
Zeichenformat FormatVon(const QTextCharFormat& format, const QTextDocument& dokument);
QTextCharFormat ZeichenformatQt(const Zeichenformat& format);

// Replaces the document's content with the runs of a rich-text file.
void LaeufeSetzen(QTextDocument& dokument, const RtfText& rtf);
// Replaces the document's content with plain text (UTF-8 or, when not valid UTF-8, code page
// 1252 bytes), in the document's default font.
void KlartextSetzen(QTextDocument& dokument, const std::string& bytes);

} // namespace konturo
