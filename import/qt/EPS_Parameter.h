// The import parameters window EPS_Parameter: the arc and full-circle tolerances of graphic
// imports, a preview that imports the current file again, and the statistics of the result.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace konturo {

struct Sitzung;

class EPS_Parameter : public QDialog {
    Q_OBJECT
public:
    EPS_Parameter(Sitzung& s, QWidget* hauptfenster);
    ~EPS_Parameter() override;

    QLineEdit* Text1() const { return text1_; }
    QLineEdit* Text3() const { return text3_; }

    void Command1_Click(); // Vorschau
    void Command2_Click(); // OK
    void Command3_Click(); // Statistik

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void TexteSetzen();
    // Takes the field's number into wert when it is one and within the range of the setting.
    void FeldGeaendert(QLineEdit* feld, double& wert, const char* schluessel);

    Sitzung& s_;
    QLabel* label1_;
    QLabel* label4_;
    QLineEdit* text1_;
    QLineEdit* text3_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;
};

} // namespace konturo
