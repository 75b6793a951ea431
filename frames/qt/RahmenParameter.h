// The frame parameters window RahmenParameter: automatic or fixed frame size with offset, width,
// height and corner radius, or a ToPs or DXF template file; "OK" rebuilds the geometry with it.
#pragma once

#include "display/qt/Grafik_Form.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace konturo {

struct Sitzung;
enum class RahmenOption;

class RahmenParameter : public QDialog {
    Q_OBJECT
public:
    using DateiDialog = std::function<DateiDialogErgebnis(const DateiDialogAnfrage&)>;

    // dateiDialog answers the "..." button (the main window's replaceable file dialog).
    RahmenParameter(Sitzung& s, QWidget* hauptfenster, DateiDialog dateiDialog);

    QRadioButton* Option(int nr) const; // 1 to 4
    QLineEdit* Text(int nr) const;      // 1 to 6
    QGroupBox* Frame(int nr) const;     // 1 to 3
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command6() const { return command6_; }

    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Command1_Click(); // "...": choose the template file
    void Command6_Click(); // OK

    // The option that is selected, as the frame type choice reads it.
    RahmenOption GewaehlteOption() const;

private:
    void TexteSetzen();
    void FelderFreigeben(bool automatisch, bool fix);
    // Takes the field's number into wert when it is one and within the range of the setting.
    void FeldGeaendert(QLineEdit* feld, double& wert, const char* schluessel);

    Sitzung& s_;
    DateiDialog dateiDialog_;
    QGroupBox* frame1_;
    QGroupBox* frame2_;
    QGroupBox* frame3_;
    QRadioButton* option1_;
    QRadioButton* option2_;
    QRadioButton* option3_;
    QRadioButton* option4_;
    QLabel* label1_; // Offset
    QLabel* label2_; // Radius (automatic)
    QLabel* label3_; // Radius (fixed)
    QLabel* label5_; // Breite
    QLabel* label6_; // Hoehe
    QLineEdit* text_[6];
    QPushButton* command1_;
    QPushButton* command6_;
};

} // namespace konturo
