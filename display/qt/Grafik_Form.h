// The main window Grafik_Form: drawing area, status row, menu tree, start-up, layout in twips,
// pointer position, zoom by rectangle, busy state, language switch and the menu commands.
#pragma once

#include "display/qt/GrafikFlaeche.h"

#include <QMainWindow>
#include <QMap>

#include <functional>
#include <memory>

class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class QTranslator;

namespace konturo {

struct Sitzung;
class EinstellungenQt;
class UiDiensteQt;
struct DruckDienste;
class Meldung;

// Twips per pixel at 96 DPI.
inline constexpr int Twips = 15;

// Where the program finds its language file and keeps its settings.
struct Startumgebung {
    QString programmOrdner;
    // Empty: the user's settings store; otherwise this INI file (tests).
    QString einstellungsDatei;
    // Screen size in twips; zero: taken from the primary screen.
    int bildschirmBreite = 0;
    int bildschirmHoehe = 0;
};

// What a file dialog is asked for and what it answers; tests replace the dialog.
struct DateiDialogAnfrage {
    bool speichern = false;
    QString ordner;
    QString name;
    // Pairs of description and pattern joined by "|".
    QString filter;
    int filterIndex = 1; // 1-based
};
struct DateiDialogErgebnis {
    bool ok = false;
    QString pfad;
    int filterIndex = 1;
};

// Positions of the drawing area and the status row in twips, from the window's inner size.
struct StatusLayout {
    QRect Grafik, KoordinatenX, KoordinatenY, AnzElemente, DezTrenn, ProgressBar1, Command1,
        SoftVersion;
};
// The fields KoordinatenX/KoordinatenY and AnzElemente are at least 900 twips wide, wider when
// their widest content needs it at the window's font.
StatusLayout LayoutBerechnen(int innenBreite, int innenHoehe, int koordinatenBreite = 900,
                             int anzahlBreite = 900);
// The saved window placement cut to the screen, all in twips.
QRect PlatzierungBerechnen(int posX, int posY, int sizeX, int sizeY, int bildschirmBreite,
                           int bildschirmHoehe);
// The filter pairs as the name filters of a Qt file dialog.
QStringList FilterNachQt(const QString& filter);

// The export dialog's file types.
extern const char* const ExportFilter;

class Grafik_Form : public QMainWindow {
    Q_OBJECT
public:
    explicit Grafik_Form(Sitzung& s, QWidget* eltern = nullptr);
    ~Grafik_Form() override;

    // The start-up: language file, texts, settings, start values, placement. False, with the
    // reason, when the language file is missing or malformed: the program cannot start.
    bool Starten(const Startumgebung& umgebung, QString& grund);

    // A menu entry or menu by its name (mnuDatei, mnuEPS, ...).
    QAction* Aktion(const QString& name) const;
    GrafikFlaeche* Grafik() const { return grafik_; }
    QLineEdit* Feld(const QString& name) const;
    QProgressBar* Fortschritt() const { return progressBar1_; }
    QPushButton* AbbruchKnopf() const { return command1_; }
    Sitzung& Sitz() { return s_; }
    UiDiensteQt& Ui() { return *ui_; }

    void BeschaeftigtSetzen();
    void BereitSetzen();
    // Whether a click on "Abbruch" can reach running work: only where the work lets pending
    // events run ("Unterbrechung" on, or a batch run). Otherwise the button stays disabled rather
    // than promise a cancel that cannot come.
    bool AbbruchMoeglich() const;
    void Neuzeichnen();
    // Menu entries that need geometry, after a conversion (textModus) or a graphic import.
    void MenuesNachUmwandlung(bool textModus);
    // Writes the language texts into the menus and the "Abbruch" button.
    void TexteSetzen();
    // Saves every setting (with the window placement) and finishes the store's file.
    bool EinstellungenSpeichern();
    QString Sprachdatei() const;

    // The file dialogs of the import and export commands; tests replace it.
    std::function<DateiDialogErgebnis(const DateiDialogAnfrage&)> dateiDialog;

    // Menu commands.
    void mnuText_Click();
    void mnuEPS_Click();
    void mnuGrafikExport_Click();
    void mnuBatch_Click();
    void mnuEPSParameter_Click();
    void mnuDeutsch_Click();
    void mnuEnglish_Click();
    void mnuEin_Click();
    void mnuAus_Click();
    void mnuRahmenEin_Click();
    void mnuRahmenAus_Click();
    void mnuRahmenparameter_Click();
    void mnuZoom_Click();
    void mnuGesamtbild_Click();
    void mnuNeuZeichnen_Click();
    void mnuInfo_Click();
    void mnuOptionen_Click();
    void mnuFarbe_Click();
    void mnuDrucken_Click();
    // The printer chosen last and the test seams of printing.
    DruckDienste& Druckdienste() { return *druckDienste_; }

    // Pointer and zoom handling of the drawing area (public for tests).
    void Grafik_MouseDown(Qt::MouseButton knopf, const QPointF& einheiten);
    void Grafik_MouseMove(const QPointF& einheiten);
    void Grafik_MouseUp(Qt::MouseButton knopf);
    void Command1_Click();
    void Command1_MouseDown();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void MenuesAnlegen();
    QAction* Eintrag(QMenu* menu, const char* name, const char* text,
                     void (Grafik_Form::*handler)() = nullptr);
    QMenu* Untermenue(QMenu* eltern, const char* name, const char* text);
    QMenu* Hauptmenue(const char* name, const char* text);
    void Trenner(QMenu* menu, const char* name);
    void StartMenues();
    void LayoutAnwenden();
    void Placieren(const Startumgebung& umgebung);
    void InternetUpdate();
    void SpracheWechseln(std::uint8_t nr);
    // Qt's own dialogs and buttons in the language of SprachNr (German: Qt's German texts where
    // they are installed; English: Qt's own texts).
    void QtSpracheSetzen();
    void ZoomRechteckZeigen(bool an);
    void TitelUndAnzahl(const QString& titel, const QString& anzahl);
    DateiDialogErgebnis DateiDialogQt(const DateiDialogAnfrage& a);

    Sitzung& s_;
    std::unique_ptr<UiDiensteQt> ui_;
    std::unique_ptr<EinstellungenQt> einstellungen_;
    QString programmOrdner_;
    GrafikFlaeche* grafik_ = nullptr;
    QLineEdit* koordinatenX_ = nullptr;
    QLineEdit* koordinatenY_ = nullptr;
    QLineEdit* anzElemente_ = nullptr;
    QLineEdit* dezTrenn_ = nullptr;
    QLineEdit* softVersion_ = nullptr;
    QProgressBar* progressBar1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QMap<QString, QAction*> aktionen_;
    std::unique_ptr<QTranslator> qtTexte_;
    std::unique_ptr<DruckDienste> druckDienste_;
    bool gestartet_ = false;
    // Redraws once the user has stopped resizing the window.
    QTimer* neuAnpassen_ = nullptr;
};

} // namespace konturo
