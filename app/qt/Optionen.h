// The options window Optionen: interruptions, curve step, largest arc radius, mirrored output,
// GEO colours and the handling of short elements, each stored at once; "OK" makes the geometry
// again when a change needs it.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace konturo {

struct Sitzung;

class Optionen : public QDialog {
    Q_OBJECT
public:
    Optionen(Sitzung& s, QWidget* hauptfenster);

    // Controls under their design names; the tabs are Programm, Konvertierung, Ausgabe,
    // Kurze Elemente and Maschine.
    QTabWidget* SSTab1;
    QGroupBox* Frame1; // Laufzeitparameter
    QGroupBox* Frame2; // Ausgabeoptionen
    QGroupBox* Frame3; // Umwandlungsparameter
    QGroupBox* Frame4; // Bildoptionen
    QGroupBox* Frame5; // Maschinenprüfung
    QCheckBox* Check1; // Unterbrechung
    QCheckBox* Check2; // WarnAusgabe
    QCheckBox* Check3; // WarnDarstellung
    QCheckBox* Check4; // Ausgabenfarbe
    QCheckBox* Check5; // GespiegelteAusgabe
    QCheckBox* Check6; // SparModus
    QCheckBox* Check7; // Reparieren
    QComboBox* Combo1; // SplineT
    QLineEdit* Text2;  // maxRadius
    QLineEdit* Text11; // WarnLaenge
    QLineEdit* Text3;  // MaxAbweichung
    QLineEdit* Text4;  // MinRadius
    QLineEdit* Text5;  // MinLaenge
    QLineEdit* Text6;  // Nachkommastellen
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5; // max. Abweichung
    QLabel* Label6; // min. Radius
    QLabel* Label7; // min. Länge
    QLabel* Label8; // Nachkommastellen
    QPushButton* Command1; // OK

    // A change made here needs the geometry made again.
    bool NeuBerechnen = false;

    void Command1_Click();

private:
    void TexteSetzen();
    void WerteZeigen();
    void Verbinden();

    Sitzung& s_;
};

// Shows the options window modally over the main window.
void OptionenZeigen(Sitzung& s, QWidget* hauptfenster);

} // namespace konturo
