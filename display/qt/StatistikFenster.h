// The statistics window "Statistik": counts and lengths of lines, arcs and circles of the store,
// computed once when it opens, and the check box of the setting WarnDarstellung.
#pragma once

#include <QDialog>

#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace konturo {

struct Sitzung;

class StatistikFenster : public QDialog {
    Q_OBJECT
public:
    StatistikFenster(Sitzung& s, QWidget* eltern);

    QGroupBox* Frame1; // "Linien"
    QGroupBox* Frame2; // "Bögen"
    QGroupBox* Frame3; // "Kreise"
    QCheckBox* WarnDarstellung;
    QPushButton* Command1; // "OK"
    // The value labels in window order (as StatistikFelder lists them).
    std::vector<QLabel*> Werte;
    // The caption labels in the same order.
    std::vector<QLabel*> Beschriftungen;
    // The largest deviation from the true outline, beside the total.
    QLabel* AbweichungBeschriftung;
    QLabel* AbweichungWert;

private:
    void TexteSetzen();
    void WerteFuellen();
    void WarnDarstellungGeaendert(bool an);

    Sitzung& s_;
    bool warnGeaendert_ = false;
};

} // namespace konturo
