// The text window "Text": the rich text to convert with per-character font, size and style,
// the three combos that set them, the plain-text echo and the button that goes on to the
// parameters. It is hidden, never closed, so later re-conversions read the same text.
#pragma once

#include "text/qt/TextquelleQt.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace konturo {

struct Sitzung;

class TextFenster : public QDialog {
    Q_OBJECT
public:
    // Loads the window (captions, placement, font list, combos, start format) without showing
    // it; hauptfenster places it and limits its size (may be null in tests).
    TextFenster(Sitzung& s, QWidget* hauptfenster);
    ~TextFenster() override;

    QTextEdit* RTF;
    QComboBox* Combo1; // font names
    QComboBox* Combo2; // sizes 8 .. 72
    QComboBox* Combo3; // the four style names
    QPushButton* FontUmwandeln;
    QLineEdit* Text1; // the plain text of RTF in the chosen font

    TextquelleQt& Quelle() { return *quelle_; }

    // The combo handlers: each stores its setting and formats the selection of RTF (or the
    // caret when nothing is selected).
    void Combo1Waehlen(const QString& name);
    void Combo2Waehlen(const QString& groesse);
    void Combo3Waehlen(const QString& stil);
    // Saves placement and settings, hides the window and opens the parameters window.
    void FontUmwandelnKlick();

    // The four style names as Combo3 lists them (language texts 140 to 143).
    QStringList Stilnamen() const;
    // Caption, button and style names in the current language (also after a language switch,
    // since the window is hidden rather than closed).
    void TexteSetzen();
    // The text field's colours from THF and TVF.
    void FarbenSetzen();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Laden();
    void PlatzierungHerstellen();
    void SchriftartenFuellen();
    void StartformatSetzen();
    void Text1Aktualisieren();

    Sitzung& s_;
    QWidget* hauptfenster_;
    std::unique_ptr<TextquelleQt> quelle_;
};

// Installed fonts whose outlines can be converted (scalable outline fonts), sorted.
QStringList KonturSchriftarten();

} // namespace konturo
