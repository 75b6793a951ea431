// The window "Internet Update": fetches a file from the address the user gives (kept in the
// setting UpdateAdresse) into a folder through Fernlader, with live progress, "Abbruch", and a
// message with the saved file's path or the reason it failed.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;
class clsDownload;

namespace konturo {

struct Sitzung;

// The file name an address names: its last path segment, decoded; "download" when it names
// none. Never a path: no "/" and not "." or "..".
QString DateinameAusAdresse(const QString& adresse);

class InternetUpdate : public QDialog {
    Q_OBJECT
public:
    InternetUpdate(Sitzung& s, QWidget* hauptfenster);
    ~InternetUpdate() override;

    QLabel* Label1;        // Download-Adresse
    QLineEdit* Text1;      // the address
    QLabel* Label2;        // Zielordner
    QLineEdit* Text2;      // the folder
    QToolButton* Command3; // chooses the folder
    QProgressBar* ProgressBar1;
    QLabel* Label3;        // bytes so far, then the result
    QPushButton* Command1; // Download
    QPushButton* Command2; // "Abbruch" while a download runs, "OK" otherwise

    // The folder chooser: the folder picked, or empty when the user cancelled. Unset: Qt's.
    std::function<QString(const QString& ordner)> ordnerDialog;

    bool Laeuft() const;
    // The file the current or last download writes.
    const QString& Zieldatei() const { return zieldatei_; }

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

public slots:
    // Escape and the close box: a running download is stopped and its file removed first.
    void reject() override;

private:
    void TexteSetzen();
    void LaufSetzen(bool laeuft);
    void Download_Progress(qint64 BytesLoaded, qint64 FileSize);
    void Download_Finished();
    void Abbrechen();
    void Ergebnis(int textNr, const QString& zusatz);
    void MengeZeigen();

    Sitzung& s_;
    std::unique_ptr<clsDownload> download_;
    QString zieldatei_;
    // The byte count is shown at once, then ten times a second at most (a fast server sends
    // thousands of blocks a second); the timer brings the last count up once it has run out.
    QTimer* anzeige_;
    qint64 geladen_ = 0;
    qint64 groesse_ = 0;
};

// Shows the window modally over the main window.
void InternetUpdateZeigen(Sitzung& s, QWidget* hauptfenster);

} // namespace konturo
