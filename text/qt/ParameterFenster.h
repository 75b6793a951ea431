// The text parameters window "Parameter": the five numbers that shape a text conversion, the
// single-line mode, and the buttons that preview, convert and show the statistics.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace konturo {

struct Sitzung;

class ParameterFenster : public QDialog {
    Q_OBJECT
public:
    // hauptfenster gets the busy pointer during a preview (may be null).
    ParameterFenster(Sitzung& s, QWidget* hauptfenster);
    ~ParameterFenster() override;

    QLineEdit* Text1;      // "Genauigkeit": Toleranz
    QLineEdit* Text2;      // "Laufweite +/-": Laufweite
    QLineEdit* Text3;      // "Schrifthöhe ca.": Schrifthoehe
    QLineEdit* Text4;      // "Zeilenabstand +/-": Zeilenabstand
    QLineEdit* Text5;      // "Kreistoleranz": KreisToleranz
    QCheckBox* Check1;     // "Singleline Modus"
    QPushButton* Command1; // "Vorschau"
    QPushButton* Command2; // confirms, closes, converts
    QPushButton* Command3; // "Statistik"

    // Each field shown with its variable in the user's number format.
    void FelderFuellen();
    // "Vorschau": converts with the window left open.
    void Vorschau();
    // Command2: closes the window, then converts.
    void Uebernehmen();

private:
    void TexteSetzen();
    // Typed numbers go into variable; for a setting (schluessel given) only those within its
    // range.
    void FeldVerbinden(QLineEdit* feld, double& variable, const char* schluessel = nullptr);

    Sitzung& s_;
    QWidget* hauptfenster_;
    QLabel* labels_[5] = {};
};

} // namespace konturo
