// The update window.
#include "app/qt/InternetUpdate.h"

#include "app/Sitzung.h"
#include "display/qt/Fensterhilfe.h"
#include "fernlader/clsDownload.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace konturo {

namespace {

// The bar counts in thousandths: QProgressBar holds an int, a file may be larger than 2 GiB.
constexpr int Promille = 1000;
constexpr int AnzeigeAbstandMs = 100;
// Room for a typical address without scrolling.
constexpr int FeldBreite = 420;

template <typename T> T* Control(const char* name, QWidget* eltern) {
    auto* c = new T(eltern);
    c->setObjectName(QLatin1String(name));
    return c;
}

// Removes what a failed or stopped download saved; only a plain file, never a device the user
// named as the target.
void Entfernen(const QString& pfad) {
    if (QFileInfo(pfad).isFile()) QFile::remove(pfad);
}

QString StandardOrdner() {
    const QString ordner = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return QDir(ordner).exists() ? ordner : QDir::homePath();
}

} // namespace

QString DateinameAusAdresse(const QString& adresse) {
    QString t = adresse.trimmed();
    const int schema = t.indexOf(QLatin1String("://"));
    if (schema >= 0) t = t.mid(schema + 3);
    t = t.left(t.indexOf(QRegularExpression(QStringLiteral("[?#]"))));
    const int pfad = t.indexOf(QLatin1Char('/'));
    QString name = pfad < 0 ? QString() : t.section(QLatin1Char('/'), -1);
    name = QUrl::fromPercentEncoding(name.toUtf8());
    name.remove(QLatin1Char('/'));
    name.remove(QChar(0));
    name = name.trimmed();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("download");
    return name;
}

InternetUpdate::InternetUpdate(Sitzung& s, QWidget* hauptfenster)
    : QDialog(hauptfenster), s_(s), download_(std::make_unique<clsDownload>()) {
    setObjectName(QStringLiteral("InternetUpdate"));
    setModal(true);

    Label1 = Control<QLabel>("Label1", this);
    Text1 = Control<QLineEdit>("Text1", this);
    Text1->setMinimumWidth(FeldBreite);
    Label1->setBuddy(Text1);
    Label2 = Control<QLabel>("Label2", this);
    Text2 = Control<QLineEdit>("Text2", this);
    Label2->setBuddy(Text2);
    Command3 = Control<QToolButton>("Command3", this);
    Command3->setText(QStringLiteral("..."));
    ProgressBar1 = Control<QProgressBar>("ProgressBar1", this);
    ProgressBar1->setRange(0, Promille);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Label3 = Control<QLabel>("Label3", this);
    Label3->setWordWrap(true);
    // Two lines' room, so a long path or reason does not make the window jump.
    Label3->setMinimumHeight(2 * Label3->fontMetrics().lineSpacing());
    Label3->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Command1 = Control<QPushButton>("Command1", this);
    Command2 = Control<QPushButton>("Command2", this);
    Command1->setDefault(true);
    anzeige_ = new QTimer(this);
    anzeige_->setSingleShot(true);
    anzeige_->setInterval(AnzeigeAbstandMs);

    auto* raster = new QGridLayout;
    raster->addWidget(Label1, 0, 0);
    raster->addWidget(Text1, 0, 1, 1, 2);
    raster->addWidget(Label2, 1, 0);
    raster->addWidget(Text2, 1, 1);
    raster->addWidget(Command3, 1, 2);
    raster->setColumnStretch(1, 1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(Command1);
    knoepfe->addWidget(Command2);
    auto* spalte = new QVBoxLayout(this);
    spalte->addLayout(raster);
    spalte->addWidget(ProgressBar1);
    spalte->addWidget(Label3);
    spalte->addLayout(knoepfe);

    Text1->setText(Q(s_.einstellungen.UpdateAdresse));
    Text2->setText(QDir::toNativeSeparators(StandardOrdner()));
    TexteSetzen();
    LaufSetzen(false);

    // The window says what went wrong in the user's language; the component's own message box
    // would only repeat it in English.
    download_->fehlerMelden = [](int, const QString&) {};
    connect(download_.get(), &clsDownload::Progress, this, &InternetUpdate::Download_Progress);
    connect(download_.get(), &clsDownload::Finished, this, &InternetUpdate::Download_Finished);
    connect(anzeige_, &QTimer::timeout, this, [this] {
        if (Laeuft()) MengeZeigen();
    });
    connect(Text1, &QLineEdit::textChanged, this, [this] { LaufSetzen(Laeuft()); });
    connect(Command1, &QPushButton::clicked, this, &InternetUpdate::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &InternetUpdate::Command2_Click);
    connect(Command3, &QToolButton::clicked, this, &InternetUpdate::Command3_Click);
}

InternetUpdate::~InternetUpdate() {
    // Closing the program with the window open: nothing half-saved is left behind.
    if (Laeuft()) Abbrechen();
}

bool InternetUpdate::Laeuft() const { return download_->Laeuft(); }

void InternetUpdate::TexteSetzen() {
    setWindowTitle(Sprachtext(s_, 41, "Internet Update"));
    Label1->setText(Sprachtext(s_, 42, "Download-Adresse:"));
    Label2->setText(Sprachtext(s_, 43, "Zielordner:"));
    Command1->setText(Sprachtext(s_, 44, "Download"));
}

void InternetUpdate::LaufSetzen(bool laeuft) {
    Text1->setEnabled(!laeuft);
    Text2->setEnabled(!laeuft);
    Command3->setEnabled(!laeuft);
    Command1->setEnabled(!laeuft && !Text1->text().trimmed().isEmpty());
    Command2->setText(laeuft ? Sprachtext(s_, 133, "Abbruch") : Sprachtext(s_, 70, "OK"));
}

void InternetUpdate::Command1_Click() {
    if (Laeuft()) return;
    const QString adresse = Text1->text().trimmed();
    s_.einstellungen.UpdateAdresse = S(adresse);
    zieldatei_ = QDir(QDir::fromNativeSeparators(Text2->text().trimmed()))
                     .absoluteFilePath(DateinameAusAdresse(adresse));
    ProgressBar1->setRange(0, Promille);
    ProgressBar1->setValue(0);
    Label3->clear();
    if (!download_->DoDownload(adresse, zieldatei_)) {
        switch (download_->Fehler()) {
        case clsDownload::NurHttp:
            return Ergebnis(49, adresse);
        case clsDownload::AdresseUngueltig:
            return Ergebnis(148, adresse);
        default:
            return Ergebnis(46, download_->Fehlertext());
        }
    }
    geladen_ = 0;
    groesse_ = 0;
    LaufSetzen(true);
    MengeZeigen();
}

void InternetUpdate::Command2_Click() {
    if (!Laeuft()) {
        accept();
        return;
    }
    Abbrechen();
    Ergebnis(149, {});
}

void InternetUpdate::Command3_Click() {
    const QString jetzt = QDir::fromNativeSeparators(Text2->text().trimmed());
    const QString ordner = ordnerDialog
                               ? ordnerDialog(jetzt)
                               : QFileDialog::getExistingDirectory(this, Label2->text(), jetzt);
    if (!ordner.isEmpty()) Text2->setText(QDir::toNativeSeparators(ordner));
}

void InternetUpdate::reject() {
    if (Laeuft()) Abbrechen();
    QDialog::reject();
}

void InternetUpdate::Abbrechen() {
    download_->AbortDownload();
    Entfernen(zieldatei_);
    LaufSetzen(false);
    ProgressBar1->setRange(0, Promille);
    ProgressBar1->setValue(0);
}

void InternetUpdate::Download_Progress(qint64 BytesLoaded, qint64 FileSize) {
    if (FileSize > 0) {
        ProgressBar1->setRange(0, Promille);
        ProgressBar1->setValue(
            static_cast<int>(std::min<qint64>(Promille, BytesLoaded * Promille / FileSize)));
    } else {
        // Without an announced length there is nothing to measure against: a busy bar.
        ProgressBar1->setRange(0, 0);
    }
    geladen_ = BytesLoaded;
    groesse_ = FileSize;
    if (!anzeige_->isActive()) {
        MengeZeigen();
        anzeige_->start();
    }
}

void InternetUpdate::Download_Finished() {
    LaufSetzen(false);
    ProgressBar1->setRange(0, Promille);
    const clsDownload& d = *download_;
    const bool gespeichert = d.Vollstaendig() && d.Status() >= 200 && d.Status() <= 299;
    if (gespeichert) {
        ProgressBar1->setValue(Promille);
        return Ergebnis(45, QDir::toNativeSeparators(zieldatei_));
    }
    // An error page or a cut-off file is no update: nothing of it stays.
    Entfernen(zieldatei_);
    ProgressBar1->setValue(0);
    if (d.Vollstaendig()) {
        if (d.Status() == 0) return Ergebnis(46, Text1->text().trimmed());
        return Ergebnis(47, QString::number(d.Status()) + QLatin1Char(' ') + d.Grund());
    }
    switch (d.Fehler()) {
    case clsDownload::NichtErreichbar:
        return Ergebnis(48, d.Fehlertext());
    case clsDownload::Unterbrochen:
        return Ergebnis(150, {});
    default:
        return Ergebnis(46, d.Fehlertext());
    }
}

void InternetUpdate::MengeZeigen() {
    // Both numbers in one unit, kB until the larger passes a megabyte.
    const double einheit = std::max(geladen_, groesse_) < 1000000 ? 1e3 : 1e6;
    // Always one decimal, so the figure does not jump in width while it counts.
    auto zahl = [&](qint64 bytes) {
        QString z = QString::number(static_cast<double>(bytes) / einheit, 'f', 1);
        return s_.speicher.DezimalPunkt ? z : z.replace(QLatin1Char('.'), QLatin1Char(','));
    };
    QString text = zahl(geladen_);
    if (groesse_ > 0) text += QStringLiteral(" / ") + zahl(groesse_);
    Label3->setText(text + (einheit == 1e3 ? QStringLiteral(" kB") : QStringLiteral(" MB")));
}

void InternetUpdate::Ergebnis(int textNr, const QString& zusatz) {
    const QString z = zusatz.isEmpty() ? QString() : QLatin1Char(' ') + zusatz;
    Label3->setText(Sprachtext(s_, textNr, "") + z);
    s_.Melden(textNr, S(z));
}

void InternetUpdateZeigen(Sitzung& s, QWidget* hauptfenster) {
    InternetUpdate fenster(s, hauptfenster);
    fenster.exec();
}

} // namespace konturo
