// The window Main: the four inputs of a series, the two options, the button that writes the batch
// file with its progress bar, and the menus "Datei" and "Info".
#pragma once

#include "serienmacher/DB_System.h"
#include "serienmacher/Texte.h"

#include <QMainWindow>

#include <functional>

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace konturo {
class EinstellungenQt;
}

namespace konturo::serienmacher {

class Main : public QMainWindow {
    Q_OBJECT
public:
    // Loads the settings from speicher (which must outlive the window) and saves them there on
    // close. deutsch: German texts, else English.
    Main(EinstellungenQt& speicher, bool deutsch, QWidget* eltern = nullptr);

    const Serie& Werte() const { return serie_; }
    QLineEdit* Feld(int nr) const; // Text1 .. Text4
    QCheckBox* Check1() const { return check1_; }
    QCheckBox* Check2() const { return check2_; }
    QPushButton* Command1() const { return command1_; }
    QProgressBar* ProgressBar1() const { return progressBar1_; }

    // The save dialog: gets the file filter, gives the chosen path or an empty text for Cancel.
    std::function<QString(const QString& filter)> speicherDialog;
    // A message the user must see.
    std::function<void(const QString& text)> meldung;

    void Form_Load();
    void Form_Unload();
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    void Text4_Change();
    void Check1_Click();
    void Check2_Click();
    void Command1_Click();
    void mnuEnde_Click();
    void mnuAbout_Click();

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    QString T(TextNr nr, const QString& einsatz = {}) const;
    void FensterAnlegen();
    void MenuesAnlegen();
    void ZahlFeldGeaendert(QLineEdit* feld, QString& letzterText, std::int32_t& wert);
    void Schreiben(const Serie& serie, const QString& pfad);
    QString SpeicherDialogQt(const QString& filter);

    EinstellungenQt& speicher_;
    const bool deutsch_;
    Serie serie_;

    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QCheckBox* check2_ = nullptr;
    QPushButton* command1_ = nullptr;
    QProgressBar* progressBar1_ = nullptr;

    // The last text of Text2 / Text3 that was empty or a whole number: a pasted text that is
    // neither is replaced by it.
    QString letzterText2_, letzterText3_;
    // The key filter reads a decimal separator; the digits-only filter ignores it.
    bool dezimalPunkt_ = true;
    QString letzterOrdner_;
    bool schreibt_ = false;
    bool abbruchWunsch_ = false;
};

} // namespace konturo::serienmacher
