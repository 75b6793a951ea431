// The main window of Serienmacher.
#include "serienmacher/qt/Main.h"

#include "app/adapter/EinstellungenQt.h"
#include "serienmacher/BatchDatei.h"
#include "serienmacher/Funktionen.h"
#include "serienmacher/qt/Info.h"
#include "text/qt/Tastenfilter.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace konturo::serienmacher {

namespace {

// Pending events run at most this often while a file is written, and the clock is read only
// every few lines, so that small files are not slowed down by the window.
constexpr qint64 EreignisAbstandMs = 50;
constexpr std::int64_t UhrZeilen = 1024;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The wait cursor for the time of the write, also on an early return.
struct WarteZeiger {
    WarteZeiger() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WarteZeiger() { QGuiApplication::restoreOverrideCursor(); }
    WarteZeiger(const WarteZeiger&) = delete;
    WarteZeiger& operator=(const WarteZeiger&) = delete;
};

} // namespace

Main::Main(EinstellungenQt& speicher, bool deutsch, QWidget* eltern)
    : QMainWindow(eltern), speicher_(speicher), deutsch_(deutsch) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(T(TextNr::Titel));
    speicherDialog = [this](const QString& filter) { return SpeicherDialogQt(filter); };
    meldung = [this](const QString& text) { QMessageBox::warning(this, T(TextNr::Titel), text); };
    FensterAnlegen();
    MenuesAnlegen();
    Form_Load();
}

QString Main::T(TextNr nr, const QString& einsatz) const {
    return Q(Text(nr, deutsch_, einsatz.toStdString()));
}

QLineEdit* Main::Feld(int nr) const {
    switch (nr) {
    case 1:
        return text1_;
    case 2:
        return text2_;
    case 3:
        return text3_;
    case 4:
        return text4_;
    default:
        return nullptr;
    }
}

void Main::FensterAnlegen() {
    auto* innen = new QWidget(this);
    setCentralWidget(innen);
    auto* spalte = new QVBoxLayout(innen);

    auto* frame1 = new QGroupBox(T(TextNr::Eingabe), innen);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto* raster = new QGridLayout(frame1);
    auto zeile = [&](int nr, TextNr beschriftung) {
        auto* feld = new QLineEdit(frame1);
        feld->setObjectName(QStringLiteral("Text%1").arg(nr));
        auto* label = new QLabel(T(beschriftung), frame1);
        label->setObjectName(QStringLiteral("Label%1").arg(nr));
        label->setBuddy(feld);
        raster->addWidget(label, nr - 1, 0);
        raster->addWidget(feld, nr - 1, 1);
        return feld;
    };
    text1_ = zeile(1, TextNr::LabelVorText);
    text2_ = zeile(2, TextNr::LabelStartNr);
    text3_ = zeile(3, TextNr::LabelEndNr);
    text4_ = zeile(4, TextNr::LabelNachText);
    raster->setColumnStretch(1, 1);
    text1_->setMinimumWidth(220);
    spalte->addWidget(frame1);

    check1_ = new QCheckBox(T(TextNr::Senkrecht), innen);
    check1_->setObjectName(QStringLiteral("Check1"));
    check2_ = new QCheckBox(T(TextNr::FuehrendeNullen), innen);
    check2_->setObjectName(QStringLiteral("Check2"));
    spalte->addWidget(check1_);
    spalte->addWidget(check2_);

    command1_ = new QPushButton(T(TextNr::Erzeugen), innen);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setDefault(true);
    spalte->addWidget(command1_);

    progressBar1_ = new QProgressBar(innen);
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setTextVisible(false);
    progressBar1_->setRange(0, 1);
    progressBar1_->setValue(0);
    spalte->addWidget(progressBar1_);
    spalte->addStretch(1);

    TastenfilterSetzen(text2_, Tastenfilter::ZiffernTaste, dezimalPunkt_);
    TastenfilterSetzen(text3_, Tastenfilter::ZiffernTaste, dezimalPunkt_);
    // Text2 and Text3 select their text on focus through the key filter; Text1 and Text4 here.
    text1_->installEventFilter(this);
    text4_->installEventFilter(this);

    connect(text1_, &QLineEdit::textChanged, this, &Main::Text1_Change);
    connect(text2_, &QLineEdit::textChanged, this, &Main::Text2_Change);
    connect(text3_, &QLineEdit::textChanged, this, &Main::Text3_Change);
    connect(text4_, &QLineEdit::textChanged, this, &Main::Text4_Change);
    connect(check1_, &QCheckBox::toggled, this, &Main::Check1_Click);
    connect(check2_, &QCheckBox::toggled, this, &Main::Check2_Click);
    connect(command1_, &QPushButton::clicked, this, &Main::Command1_Click);
}

void Main::MenuesAnlegen() {
    QMenu* mnuDatei = menuBar()->addMenu(T(TextNr::MenuDatei));
    mnuDatei->setObjectName(QStringLiteral("mnuDatei"));
    QAction* mnuEnde = mnuDatei->addAction(T(TextNr::MenuBeenden));
    mnuEnde->setObjectName(QStringLiteral("mnuEnde"));
    connect(mnuEnde, &QAction::triggered, this, &Main::mnuEnde_Click);
    // A command right in the menu bar, as the window has no other entry under "Info".
    QAction* mnuAbout = menuBar()->addAction(T(TextNr::MenuInfo));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout, &QAction::triggered, this, &Main::mnuAbout_Click);
}

bool Main::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (ereignis->type() == QEvent::FocusIn && (objekt == text1_ || objekt == text4_)) {
        auto* feld = static_cast<QLineEdit*>(objekt);
        // After the click that gave the focus has placed the caret.
        QTimer::singleShot(0, feld, [feld] { feld->selectAll(); });
    }
    return QMainWindow::eventFilter(objekt, ereignis);
}

void Main::Form_Load() {
    serie_ = EinstellungenLaden(speicher_);
    // Filling a box runs its change handler, which writes serie_; the boxes get the loaded values.
    const Serie geladen = serie_;
    text1_->setText(Q(geladen.VorText));
    text2_->setText(QString::number(geladen.StartNr));
    text3_->setText(QString::number(geladen.EndNr));
    text4_->setText(Q(geladen.NachText));
    check1_->setChecked(false);
    check2_->setChecked(false);
}

void Main::Form_Unload() {
    const bool ok = EinstellungenSpeichern(speicher_, serie_) && speicher_.Abschliessen();
    if (!ok) meldung(T(TextNr::EinstellungenNichtGespeichert));
}

void Main::closeEvent(QCloseEvent* ereignis) {
    // Closing while a file is written stops the write after the current line; the lines
    // written so far stay.
    abbruchWunsch_ = true;
    Form_Unload();
    ereignis->accept();
}

void Main::Text1_Change() { serie_.VorText = text1_->text().toStdString(); }
void Main::Text4_Change() { serie_.NachText = text4_->text().toStdString(); }
void Main::Text2_Change() { ZahlFeldGeaendert(text2_, letzterText2_, serie_.StartNr); }
void Main::Text3_Change() { ZahlFeldGeaendert(text3_, letzterText3_, serie_.EndNr); }

void Main::ZahlFeldGeaendert(QLineEdit* feld, QString& letzterText, std::int32_t& wert) {
    const QString text = feld->text();
    if (text.isEmpty()) { // the user is about to type a new number
        letzterText = text;
        return;
    }
    if (const auto zahl = GanzzahlLesen(text.toStdString())) {
        wert = *zahl;
        letzterText = text;
        return;
    }
    // Pasted text, or a typed digit beyond the 32-bit range: the box goes back to its last good
    // text, with the caret where it was before the insertion.
    const auto stelle = feld->cursorPosition() - (text.size() - letzterText.size());
    const QSignalBlocker sperre(feld);
    feld->setText(letzterText);
    feld->setCursorPosition(static_cast<int>(std::max<qsizetype>(0, stelle)));
}

void Main::Check1_Click() { serie_.Senkrecht = check1_->isChecked(); }
void Main::Check2_Click() { serie_.FuehrendeNullen = check2_->isChecked(); }

void Main::Command1_Click() {
    if (schreibt_) return;
    const Serie serie = serie_;
    switch (Pruefen(serie)) {
    case Ergebnis::EndeVorStart:
        meldung(T(TextNr::EndeVorStart));
        return;
    case Ergebnis::Zeilenumbruch:
        meldung(T(TextNr::Zeilenumbruch));
        return;
    default:
        break;
    }
    const QString pfad = speicherDialog(T(TextNr::Filter) + QStringLiteral(" (*.bch)"));
    if (pfad.isEmpty()) return;
    Schreiben(serie, pfad);
}

void Main::Schreiben(const Serie& serie, const QString& pfad) {
    const std::int64_t gesamt = ZeilenAnzahl(serie);
    const int balkenMax =
        static_cast<int>(std::min<std::int64_t>(gesamt, std::numeric_limits<int>::max()));
    progressBar1_->setRange(0, balkenMax);
    progressBar1_->setValue(0);

    // The inputs stay as they are while the file is written and events run.
    schreibt_ = true;
    abbruchWunsch_ = false;
    centralWidget()->setEnabled(false);
    const WarteZeiger warten;
    QElapsedTimer uhr;
    uhr.start();
    const Ergebnis ergebnis =
        BatchDateiErzeugen(QFile::encodeName(pfad).toStdString(), serie, [&](std::int64_t fertig) {
            const bool letzte = fertig == gesamt;
            if (letzte || (fertig % UhrZeilen == 0 && uhr.elapsed() >= EreignisAbstandMs)) {
                progressBar1_->setValue(FortschrittWert(fertig, gesamt, balkenMax));
                QCoreApplication::processEvents();
                uhr.restart();
            }
            return !abbruchWunsch_;
        });
    centralWidget()->setEnabled(true);
    schreibt_ = false;

    const QString name = QDir::toNativeSeparators(pfad);
    if (ergebnis == Ergebnis::NichtGeoeffnet) meldung(T(TextNr::NichtGeoeffnet, name));
    if (ergebnis == Ergebnis::Schreibfehler) meldung(T(TextNr::Schreibfehler, name));
}

QString Main::SpeicherDialogQt(const QString& filter) {
    QFileDialog dialog(this, T(TextNr::Erzeugen));
    dialog.setObjectName(QStringLiteral("Speichern"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(QStringLiteral("bch"));
    // Asking before an existing file is replaced is the dialog's default; said here on purpose.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!letzterOrdner_.isEmpty()) dialog.setDirectory(letzterOrdner_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    // The next series usually goes beside this one; the folder is not stored across starts.
    letzterOrdner_ = dialog.directory().absolutePath();
    return dialog.selectedFiles().constFirst();
}

void Main::mnuEnde_Click() { close(); }

void Main::mnuAbout_Click() {
    Info info(deutsch_, this);
    info.exec();
}

} // namespace konturo::serienmacher
