// The colour window Farbe: the eight colours of the program, each picked with the colour chooser,
// and "Reset" to their defaults; the main window follows every change at once.
#pragma once

#include <QColor>
#include <QDialog>

#include <functional>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace konturo {

struct Sitzung;

class Farbe : public QDialog {
    Q_OBJECT
public:
    // The colour chooser: the colour picked, or nothing when the user cancelled.
    using FarbDialog = std::function<std::optional<QColor>(const QColor& aktuell)>;

    Farbe(Sitzung& s, QWidget* hauptfenster);

    // Rows 1 to 8: Hintergrund, Linien, Boegen, Punkte, Textvordergrund, Texthintergrund,
    // Kurze Elemente, DXF-Markierungen.
    QLineEdit* Text(int nr) const;
    QLabel* Label(int nr) const;
    QGroupBox* Frame1() const { return frame1_; }
    QPushButton* Command1() const { return command1_; } // Reset
    QPushButton* Command6() const { return command6_; } // OK

    // Replaceable by tests; unset: Qt's colour dialog.
    FarbDialog farbDialog;
    // The main window's redraw after a colour change (drawing area background, drawing, text
    // window colours); unset: the UI services' redraw.
    std::function<void()> neuzeichnen;

    void Text_Click(int nr);
    void Command1_Click();
    void Command6_Click();

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void TexteSetzen();
    void FeldFaerben(int nr);
    void Neuzeichnen();
    std::optional<QColor> FarbeWaehlen(const QColor& aktuell);

    Sitzung& s_;
    QGroupBox* frame1_;
    QLabel* label_[8];
    QLineEdit* text_[8];
    QPushButton* command1_;
    QPushButton* command6_;
};

// Shows the colour window modally over the main window; neuzeichnen is its redraw (see Farbe).
void FarbeZeigen(Sitzung& s, QWidget* hauptfenster, std::function<void()> neuzeichnen);

} // namespace konturo
