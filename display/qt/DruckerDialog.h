// The printer window DruckerDialog: the list of installed printers (and the PDF file), the number
// of copies, "OK" and "Abbruch". Closing it any other way than with "OK" leaves AbbruchWunsch set.
#pragma once

#include <QDialog>
#include <QStringList>

#include <cstdint>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace konturo {

struct Sitzung;

// The installed printers by device name, in the system's order, and the default printer's name
// (empty when there is none).
struct DruckerListe {
    QStringList namen;
    QString standard;
};

// The printer chosen in the window: a device name, or the PDF file.
struct DruckerWahl {
    bool pdf = false;
    QString name;
};

class DruckerDialog : public QDialog {
    Q_OBJECT
public:
    // aktuell: the printer chosen last; when it is not installed (or none was chosen yet) the
    // default printer, and without any printer the PDF file.
    DruckerDialog(Sitzung& s, QWidget* hauptfenster, const DruckerListe& drucker,
                  const DruckerWahl& aktuell);

    QGroupBox* Frame1() const { return frame1_; }
    QGroupBox* Frame2() const { return frame2_; }
    QComboBox* Combo1() const { return combo1_; }
    QLabel* Label1() const { return label1_; }
    QLabel* Label2() const { return label2_; }
    QLineEdit* Text1() const { return text1_; }
    QPushButton* Command2() const { return command2_; }
    QPushButton* Command3() const { return command3_; }

    std::int16_t Exemplare() const { return Exemplare_; }
    const DruckerWahl& AktuellerDrucker() const { return aktuell_; }

    void Combo1_Click(int index);
    void Text1_Change();
    void Command2_Click(); // OK
    void Command3_Click(); // Abbruch

private:
    void Form_Load(const DruckerListe& drucker);
    void TexteSetzen();
    QString PdfText() const;

    Sitzung& s_;
    DruckerWahl aktuell_;
    std::int16_t Exemplare_ = 1;
    QGroupBox* frame1_;
    QGroupBox* frame2_;
    QComboBox* combo1_;
    QLabel* label1_;
    QLabel* label2_;
    QLineEdit* text1_;
    QPushButton* command2_;
    QPushButton* command3_;
};

} // namespace konturo
