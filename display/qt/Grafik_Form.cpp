// The main window: start-up, menus, layout, pointer and zoom, busy state and the commands.
#include "display/qt/Grafik_Form.h"

#include "app/BatchVerarbeitung.h"
#include "app/DB_System.h"
#include "app/Sitzung.h"
#include "app/Sprache.h"
#include "app/StartParameter.h"
#include "app/qt/InternetUpdate.h"
#include "app/qt/Optionen.h"
#include "app/adapter/EinstellungenQt.h"
#include "display/qt/DruckenBefehl.h"
#include "display/qt/Farbe.h"
#include "display/qt/Fensterhilfe.h"
#include "display/qt/Info.h"
#include "display/qt/Meldung.h"
#include "display/qt/UiDiensteQt.h"
#include "frames/Vorlagen.h"
#include "frames/qt/RahmenParameter.h"
#include "import/EPS_Einlesen.h"
#include "import/qt/EPS_Parameter.h"
#include "output/Ausgabe.h"
#include "output/FSO_Funktionen.h"
#include "text/Textquelle.h"
#include "text/qt/TextBefehle.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <cmath>

namespace konturo {

const char* const ExportFilter =
    "DXF-Format (*.dxf)|*.dxf|ToPs Nativ Geo (*.geo)|*.geo|ToPs Vorlage (*.vlg)|*.vlg|"
    "ToPs / ME10 Input-Format (*.inp)|*.inp";

namespace {

constexpr int StatusHoehe = 300;
constexpr int MindestBreite = 8000;
constexpr int MindestHoehe = 6000;
constexpr int FeldBreite = 900;
constexpr int DezTrennBreite = 300;
constexpr int VersionBreite = 1250;
constexpr int KnopfBreite = 950;
constexpr int Abstand = 50;

int NachPixel(int twips) {
    return static_cast<int>(std::lround(twips / static_cast<double>(Twips)));
}
QRect NachPixel(const QRect& t) {
    return QRect(NachPixel(t.left()), NachPixel(t.top()), NachPixel(t.width()),
                 NachPixel(t.height()));
}

QString VersionsText() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(KONTURO_VERSION_MAJOR)
        .arg(KONTURO_VERSION_MINOR)
        .arg(KONTURO_VERSION_PATCH);
}

// Menu entries and the language text that captions them.
struct TextZuordnung {
    const char* name;
    int nr;
};
constexpr TextZuordnung MenueTexte[] = {
    {"mnuDatei", 1},         {"mnuText", 2},          {"mnuEPS", 3},
    {"mnuGrafikExport", 4},  {"mnuBatch", 5},         {"mnuBeenden", 6},
    {"mnufont", 10},         {"mnufontErzeugen", 11}, {"mnuParameter", 12},
    {"mnuEPSParameter", 12}, {"mnuStatistik", 13},    {"mnuStatistik2", 13},
    {"mnuGrafik", 15},       {"mnuRahmen", 20},       {"mnuRahmenErzeugen", 21},
    {"mnuRahmenEin", 22},    {"mnuRahmenAus", 23},    {"mnuRahmenparameter", 24},
    {"mnuDarstellung", 30},  {"mnuPunkte", 31},       {"mnuEin", 32},
    {"mnuAus", 33},          {"mnuFarbe", 34},        {"mnuZoom", 35},
    {"mnuGesamtbild", 36},   {"mnuNeuZeichnen", 37},  {"mnuSprache", 38},
    {"mnuDeutsch", 39},      {"mnuEnglish", 40},      {"mnuInfo", 50},
    {"mnuOptionen", 152},    {"mnuDrucken", 153},
};

} // namespace

StatusLayout LayoutBerechnen(int w, int h, int koordinatenBreite, int anzahlBreite) {
    StatusLayout l;
    const int oben = h - StatusHoehe;
    const int kb = std::max(FeldBreite, koordinatenBreite);
    const int ab = std::max(FeldBreite, anzahlBreite);
    l.Grafik = QRect(0, 0, w, oben);
    l.KoordinatenX = QRect(0, oben, kb, StatusHoehe);
    l.KoordinatenY = QRect(l.KoordinatenX.left() + kb + Abstand, oben, kb, StatusHoehe);
    l.AnzElemente = QRect(l.KoordinatenY.left() + kb + Abstand, oben, ab, StatusHoehe);
    l.DezTrenn = QRect(l.AnzElemente.left() + ab + Abstand, oben, DezTrennBreite, StatusHoehe);
    l.SoftVersion = QRect(w - VersionBreite, oben, VersionBreite, StatusHoehe);
    const int pbLinks = l.DezTrenn.left() + DezTrennBreite + Abstand;
    const int pbBreite = std::max(0, w - VersionBreite - pbLinks - 1050);
    l.ProgressBar1 = QRect(pbLinks, oben, pbBreite, StatusHoehe);
    l.Command1 = QRect(pbLinks + pbBreite + Abstand, oben, KnopfBreite, StatusHoehe);
    return l;
}

QRect PlatzierungBerechnen(int posX, int posY, int sizeX, int sizeY, int sw, int sh) {
    if (posX < 0 || posX > sw) posX = 0;
    if (posY < 0 || posY > sh) posY = 0;
    sizeX = std::min(sizeX, sw);
    sizeY = std::min(sizeY, sh);
    return QRect(posX, posY, sizeX, sizeY);
}

QStringList FilterNachQt(const QString& filter) {
    const QStringList teile = filter.split(QLatin1Char('|'));
    QStringList aus;
    for (int i = 0; i + 1 < teile.size(); i += 2) {
        QString text = teile[i];
        const QString muster = teile[i + 1];
        QString qtMuster = muster;
        qtMuster.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString angehaengt = QLatin1Char('(') + muster + QLatin1Char(')');
        if (text.endsWith(angehaengt))
            text.chop(angehaengt.size());
        else
            text += QLatin1Char(' ');
        aus << text + QLatin1Char('(') + qtMuster + QLatin1Char(')');
    }
    return aus;
}

Grafik_Form::Grafik_Form(Sitzung& s, QWidget* eltern)
    : QMainWindow(eltern), s_(s), ui_(std::make_unique<UiDiensteQt>(*this)) {
    setObjectName(QStringLiteral("Grafik_Form"));
    s_.ui = ui_.get();
    dateiDialog = [this](const DateiDialogAnfrage& a) { return DateiDialogQt(a); };
    druckDienste_ = std::make_unique<DruckDienste>();
    // Printing asks for a PDF file's name through the same seam as the other file dialogs.
    druckDienste_->dateiDialog = [this](const DateiDialogAnfrage& a) { return dateiDialog(a); };

    neuAnpassen_ = new QTimer(this);
    neuAnpassen_->setSingleShot(true);
    neuAnpassen_->setInterval(250);
    connect(neuAnpassen_, &QTimer::timeout, this, [this] {
        // Running work redraws when it ends.
        if (s_.fenster.Bereit && s_.speicher.ElementAnzahl() >= 1) Neuzeichnen();
    });

    auto* innen = new QWidget(this);
    innen->setObjectName(QStringLiteral("Innen"));
    setCentralWidget(innen);
    innen->installEventFilter(this);

    grafik_ = new GrafikFlaeche(innen);
    auto feld = [innen](const char* name, const QString& text = {}) {
        auto* f = new QLineEdit(text, innen);
        f->setObjectName(QLatin1String(name));
        f->setReadOnly(true);
        f->setFocusPolicy(Qt::NoFocus);
        return f;
    };
    koordinatenX_ = feld("KoordinatenX");
    koordinatenY_ = feld("KoordinatenY");
    anzElemente_ = feld("AnzElemente");
    dezTrenn_ = feld("DezTrenn");
    softVersion_ = feld("SoftVersion", VersionsText());
    progressBar1_ = new QProgressBar(innen);
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setTextVisible(false);
    progressBar1_->setRange(0, 1);
    progressBar1_->setValue(0);
    command1_ = new QPushButton(QStringLiteral("Abbruch"), innen);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setEnabled(false);
    connect(command1_, &QPushButton::pressed, this, &Grafik_Form::Command1_MouseDown);
    connect(command1_, &QPushButton::clicked, this, &Grafik_Form::Command1_Click);

    grafik_->beschriftung = [this](const QString& t, const QString& a) { TitelUndAnzahl(t, a); };
    grafik_->maustaste = [this](QMouseEvent* e) {
        Grafik_MouseDown(e->button(), grafik_->NachEinheiten(e->position()));
    };
    grafik_->mausBewegung = [this](QMouseEvent* e) {
        Grafik_MouseMove(grafik_->NachEinheiten(e->position()));
    };
    grafik_->mausLosgelassen = [this](QMouseEvent* e) { Grafik_MouseUp(e->button()); };
    // A key in the drawing area cancels running work only; pressed while idle (Alt of a menu
    // shortcut, Escape) it must not linger and stop the next job at its first check.
    grafik_->tasteGedrueckt = [this] {
        if (!s_.fenster.Bereit) s_.fenster.AbbruchWunsch = true;
    };

    MenuesAnlegen();
    setMinimumSize((MindestBreite + Twips - 1) / Twips, MindestHoehe / Twips);
    setWindowTitle(Q(FensterTitel(s_)));
}

Grafik_Form::~Grafik_Form() {
    if (s_.ui == ui_.get()) s_.ui = &s_.kopflos;
}

QMenu* Grafik_Form::Hauptmenue(const char* name, const char* text) {
    QMenu* m = menuBar()->addMenu(QString::fromUtf8(text));
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    aktionen_[QLatin1String(name)] = m->menuAction();
    return m;
}

QMenu* Grafik_Form::Untermenue(QMenu* eltern, const char* name, const char* text) {
    QMenu* m = eltern->addMenu(QString::fromUtf8(text));
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    aktionen_[QLatin1String(name)] = m->menuAction();
    return m;
}

QAction* Grafik_Form::Eintrag(QMenu* menu, const char* name, const char* text,
                              void (Grafik_Form::*handler)()) {
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setObjectName(QLatin1String(name));
    aktionen_[QLatin1String(name)] = a;
    if (handler) connect(a, &QAction::triggered, this, handler);
    return a;
}

void Grafik_Form::Trenner(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(QLatin1String(name));
    aktionen_[QLatin1String(name)] = a;
}

void Grafik_Form::MenuesAnlegen() {
    using G = Grafik_Form;
    QMenu* datei = Hauptmenue("mnuDatei", "&Datei");
    Eintrag(datei, "mnuText", "&Text importieren", &G::mnuText_Click);
    Eintrag(datei, "mnuEPS", "&Grafik importieren", &G::mnuEPS_Click);
    Trenner(datei, "mnuleer1");
    Eintrag(datei, "mnuGrafikExport", "Grafik e&xportieren", &G::mnuGrafikExport_Click);
    Eintrag(datei, "mnuDrucken", "Grafik drucken", &G::mnuDrucken_Click);
    Trenner(datei, "mnuLeer5");
    Eintrag(datei, "mnuBatch", "B&atch-Datei laden", &G::mnuBatch_Click);
    Trenner(datei, "mnuLeer29");
    Eintrag(datei, "mnuBeenden", "B&eenden");
    connect(aktionen_[QStringLiteral("mnuBeenden")], &QAction::triggered, this, &QWidget::close);

    QMenu* font = Hauptmenue("mnufont", "&Text");
    Eintrag(font, "mnufontErzeugen", "&Text eingeben");
    connect(aktionen_[QStringLiteral("mnufontErzeugen")], &QAction::triggered, this,
            [this] { TextFensterZeigen(s_, this); });
    Trenner(font, "mnuleer16");
    Eintrag(font, "mnuParameter", "&Parameter");
    connect(aktionen_[QStringLiteral("mnuParameter")], &QAction::triggered, this,
            [this] { ParameterFensterZeigen(s_, this); });
    Eintrag(font, "mnuStatistik", "&Statistik");
    connect(aktionen_[QStringLiteral("mnuStatistik")], &QAction::triggered, this,
            [this] { StatistikFensterZeigen(s_, this); });

    QMenu* grafik = Hauptmenue("mnuGrafik", "&Grafik");
    Eintrag(grafik, "mnuEPSParameter", "&Parameter", &G::mnuEPSParameter_Click);
    Eintrag(grafik, "mnuStatistik2", "&Statistik");
    connect(aktionen_[QStringLiteral("mnuStatistik2")], &QAction::triggered, this,
            [this] { StatistikFensterZeigen(s_, this); });

    QMenu* rahmen = Hauptmenue("mnuRahmen", "&Rahmen");
    QMenu* erzeugen = Untermenue(rahmen, "mnuRahmenErzeugen", "&Erzeugen");
    Eintrag(erzeugen, "mnuRahmenEin", "ein", &G::mnuRahmenEin_Click);
    Eintrag(erzeugen, "mnuRahmenAus", "aus", &G::mnuRahmenAus_Click);
    Eintrag(rahmen, "mnuRahmenparameter", "&Parameter", &G::mnuRahmenparameter_Click);

    QMenu* extras = Hauptmenue("mnuextras", "E&xtras");
    QMenu* sprache = Untermenue(extras, "mnuSprache", "&Sprache");
    Eintrag(sprache, "mnuEnglish", "&English", &G::mnuEnglish_Click);
    Eintrag(sprache, "mnuDeutsch", "&Deutsch", &G::mnuDeutsch_Click);
    Eintrag(extras, "mnuOptionen", "&Optionen", &G::mnuOptionen_Click);
    Trenner(extras, "mnuLeer40");
    Eintrag(extras, "mnuInternetUpdate", "Internet Update", &G::InternetUpdate);

    QMenu* anzeige = Hauptmenue("mnuDarstellung", "&Anzeige");
    QMenu* punkte = Untermenue(anzeige, "mnuPunkte", "&Punkte");
    Eintrag(punkte, "mnuEin", "ein", &G::mnuEin_Click);
    Eintrag(punkte, "mnuAus", "aus", &G::mnuAus_Click);
    Trenner(anzeige, "mnuleer11");
    Eintrag(anzeige, "mnuFarbe", "&Farbe", &G::mnuFarbe_Click);
    Trenner(anzeige, "mnuLeer10");
    Eintrag(anzeige, "mnuZoom", "&Zoom", &G::mnuZoom_Click);
    Eintrag(anzeige, "mnuGesamtbild", "&Gesamtbild", &G::mnuGesamtbild_Click);
    Eintrag(anzeige, "mnuNeuZeichnen", "&Refresh", &G::mnuNeuZeichnen_Click);

    // The help menu sits at the right end of the menu bar.
    auto* rechts = new QMenuBar(menuBar());
    rechts->setObjectName(QStringLiteral("HilfeLeiste"));
    QMenu* hilfe = rechts->addMenu(QStringLiteral("&?"));
    hilfe->setObjectName(QStringLiteral("mnuHilfe"));
    hilfe->menuAction()->setObjectName(QStringLiteral("mnuHilfe"));
    aktionen_[QStringLiteral("mnuHilfe")] = hilfe->menuAction();
    menuBar()->setCornerWidget(rechts, Qt::TopRightCorner);
    Eintrag(hilfe, "mnuInfo", "&Info", &G::mnuInfo_Click);

    for (const char* name :
         {"mnuDeutsch", "mnuEnglish", "mnuEin", "mnuAus", "mnuRahmenEin", "mnuRahmenAus"}) {
        aktionen_[QLatin1String(name)]->setCheckable(true);
    }
}

QAction* Grafik_Form::Aktion(const QString& name) const { return aktionen_.value(name, nullptr); }

QLineEdit* Grafik_Form::Feld(const QString& name) const {
    return centralWidget()->findChild<QLineEdit*>(name);
}

QString Grafik_Form::Sprachdatei() const {
    return QDir(programmOrdner_).filePath(QStringLiteral("Konturo.dat"));
}

bool Grafik_Form::Starten(const Startumgebung& umgebung, QString& grund) {
    programmOrdner_ = umgebung.programmOrdner;
    QDir::setCurrent(programmOrdner_);
    const std::string datei = S(Sprachdatei());
    std::string warum;
    if (!StartSprache(s_, datei, warum) || !SpracheLaden(s_, datei, warum)) {
        grund = Q(warum);
        return false;
    }
    TexteSetzen();
    QtSpracheSetzen();

    auto meldung = std::make_unique<Meldung>(s_, this);
    meldung->Zeigen(Q(s_.Text(151)));

    einstellungen_ = umgebung.einstellungsDatei.isEmpty()
                         ? std::make_unique<EinstellungenQt>()
                         : std::make_unique<EinstellungenQt>(umgebung.einstellungsDatei);
    EinstellungenUmgebung eu;
    eu.programmOrdner = S(QDir::toNativeSeparators(programmOrdner_));
    int sw = umgebung.bildschirmBreite, sh = umgebung.bildschirmHoehe;
    if (sw <= 0 || sh <= 0) {
        const QScreen* schirm = QGuiApplication::primaryScreen();
        const QSize groesse = schirm ? schirm->geometry().size() : QSize(1024, 768);
        sw = groesse.width() * Twips;
        sh = groesse.height() * Twips;
    }
    eu.bildschirmBreite = sw;
    eu.bildschirmHoehe = sh;
    EinstellungenLaden(s_, *einstellungen_, eu);
    StartwerteSetzen(s_);
    // A template frame chosen in an earlier run comes back with its template; otherwise the frame
    // would be on in the menu and missing from every conversion until the type is chosen again.
    RahmenVorlageLesen(s_);
    StartMenues();

    s_.speicher.DezimalPunkt = DezimalPunktErmitteln();
    grafik_->Hintergrund(s_.einstellungen.HGF);
    grafik_->Loeschen(s_.einstellungen.HGF);
    if (s_.einstellungen.Rtyp != 0) Aktion(QStringLiteral("mnuRahmenparameter"))->setEnabled(true);

    const QRect platz =
        PlatzierungBerechnen(s_.einstellungen.PosX, s_.einstellungen.PosY, s_.einstellungen.SizeX,
                             s_.einstellungen.SizeY, sw, sh);
    resize(std::max(NachPixel(platz.width()), minimumWidth()),
           std::max(NachPixel(platz.height()), minimumHeight()));
    move(NachPixel(platz.left()), NachPixel(platz.top()));
    progressBar1_->setMinimum(0);
    progressBar1_->setValue(0);
    setWindowTitle(Q(FensterTitel(s_)));
    meldung->close();
    gestartet_ = true;
    LayoutAnwenden();
    return true;
}

void Grafik_Form::StartMenues() {
    const Einstellungen& e = s_.einstellungen;
    const bool deutsch = s_.fenster.SprachNr == 1;
    Aktion(QStringLiteral("mnuDeutsch"))->setChecked(deutsch);
    Aktion(QStringLiteral("mnuEnglish"))->setChecked(!deutsch);
    for (const char* name : {"mnuGrafik", "mnuParameter", "mnuStatistik", "mnuRahmenparameter",
                             "mnuZoom", "mnuGesamtbild", "mnuNeuZeichnen"}) {
        Aktion(QLatin1String(name))->setEnabled(false);
    }
    Aktion(QStringLiteral("mnuEin"))->setChecked(e.Punkte == 1);
    Aktion(QStringLiteral("mnuAus"))->setChecked(e.Punkte != 1);
    Aktion(QStringLiteral("mnuRahmenEin"))->setChecked(e.Rtyp != 0);
    Aktion(QStringLiteral("mnuRahmenAus"))->setChecked(e.Rtyp == 0);
}

void Grafik_Form::TexteSetzen() {
    for (const TextZuordnung& z : MenueTexte) {
        const std::string& text = s_.Text(z.nr);
        QAction* a = Aktion(QLatin1String(z.name));
        if (a && !text.empty()) a->setText(Q(text));
    }
    if (!s_.Text(133).empty()) command1_->setText(Q(s_.Text(133)));
}

bool Grafik_Form::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == centralWidget() && ereignis->type() == QEvent::Resize) LayoutAnwenden();
    return QMainWindow::eventFilter(objekt, ereignis);
}

void Grafik_Form::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (isMinimized()) return;
    // Dragging stays smooth even with a million elements: the picture is refitted once the
    // window has kept its size for a moment.
    if (gestartet_) neuAnpassen_->start();
    if (width() * Twips < MindestBreite || height() * Twips < MindestHoehe) {
        resize(std::max(width(), minimumWidth()), std::max(height(), minimumHeight()));
    }
}

void Grafik_Form::LayoutAnwenden() {
    if (isMinimized()) return;
    const QSize innen = centralWidget()->size();
    // The widest values the fields show: a coordinate beyond 9999 with sign and two decimals, a
    // count of millions of elements with its contour number.
    auto breite = [](const QLineEdit* feld, const char* muster) {
        const QFontMetrics metrik(feld->font());
        return (metrik.horizontalAdvance(QLatin1String(muster)) + 12) * Twips;
    };
    const StatusLayout l =
        LayoutBerechnen(innen.width() * Twips, innen.height() * Twips,
                        breite(koordinatenX_, "-99999.99"), breite(anzElemente_, "1234567/123456"));
    grafik_->setGeometry(NachPixel(l.Grafik));
    koordinatenX_->setGeometry(NachPixel(l.KoordinatenX));
    koordinatenY_->setGeometry(NachPixel(l.KoordinatenY));
    anzElemente_->setGeometry(NachPixel(l.AnzElemente));
    dezTrenn_->setGeometry(NachPixel(l.DezTrenn));
    progressBar1_->setGeometry(NachPixel(l.ProgressBar1));
    command1_->setGeometry(NachPixel(l.Command1));
    softVersion_->setGeometry(NachPixel(l.SoftVersion));
    if (grafik_->height() > 0) {
        s_.fenster.Seitenverhaeltnis =
            static_cast<double>(grafik_->width()) / static_cast<double>(grafik_->height());
    }
    softVersion_->setText(VersionsText());
    dezTrenn_->setText(s_.speicher.DezimalPunkt ? QStringLiteral("P") : QStringLiteral("K"));
}

void Grafik_Form::closeEvent(QCloseEvent* e) {
    // Work still running (its pending events let the close through) stops at its next check.
    s_.fenster.AbbruchWunsch = s_.fenster.BatchAbbruch = !s_.fenster.Bereit;
    if (gestartet_) EinstellungenSpeichern();
    e->accept();
}

bool Grafik_Form::EinstellungenSpeichern() {
    if (!einstellungen_) return false;
    if (!isMinimized() && !isMaximized()) {
        // Position of the frame and size of the window, as the start-up places them again.
        s_.einstellungen.PosX = pos().x() * Twips;
        s_.einstellungen.PosY = pos().y() * Twips;
        s_.einstellungen.SizeX = width() * Twips;
        s_.einstellungen.SizeY = height() * Twips;
    }
    const bool ok = EinstellungenSichern(s_, *einstellungen_);
    return einstellungen_->Abschliessen() && ok;
}

bool Grafik_Form::AbbruchMoeglich() const {
    return s_.einstellungen.Unterbrechung == 1 || s_.fenster.BatchLaeuft;
}

void Grafik_Form::BeschaeftigtSetzen() {
    command1_->setEnabled(AbbruchMoeglich());
    for (const char* name :
         {"mnuDatei", "mnufont", "mnuGrafik", "mnuRahmen", "mnuDarstellung", "mnuHilfe"}) {
        Aktion(QLatin1String(name))->setEnabled(false);
    }
    s_.fenster.Bereit = false;
}

void Grafik_Form::BereitSetzen() {
    for (const char* name : {"mnuDatei", "mnufont", "mnuRahmen", "mnuDarstellung", "mnuHilfe"}) {
        Aktion(QLatin1String(name))->setEnabled(true);
    }
    Aktion(QStringLiteral("mnuGrafik"))->setEnabled(!s_.fenster.TextModus);
    command1_->setEnabled(false);
    s_.fenster.Bereit = true;
}

void Grafik_Form::MenuesNachUmwandlung(bool textModus) {
    if (textModus) {
        Aktion(QStringLiteral("mnuParameter"))->setEnabled(true);
        Aktion(QStringLiteral("mnuStatistik"))->setEnabled(true);
    }
    for (const char* name : {"mnuZoom", "mnuGesamtbild", "mnuNeuZeichnen"}) {
        Aktion(QLatin1String(name))->setEnabled(true);
    }
}

void Grafik_Form::TitelUndAnzahl(const QString& titel, const QString& anzahl) {
    setWindowTitle(titel);
    anzElemente_->setText(anzahl);
}

void Grafik_Form::Neuzeichnen() {
    update();
    konturo::Neuzeichnen(s_, *grafik_);
}

void Grafik_Form::Command1_Click() {
    s_.fenster.AbbruchWunsch = true;
    s_.fenster.BatchAbbruch = true;
}

void Grafik_Form::Command1_MouseDown() { s_.fenster.BatchAbbruch = true; }

void Grafik_Form::ZoomRechteckZeigen(bool an) {
    const Fensterzustand& w = s_.fenster;
    if (!an) {
        grafik_->GummibandSetzen(std::nullopt, w.ZoomRahmenFarbe);
        return;
    }
    const auto ecken = std::make_pair(QPointF(w.ZoomX1, w.ZoomY1), QPointF(w.ZoomX2, w.ZoomY2));
    grafik_->GummibandSetzen(ecken, w.ZoomRahmenFarbe);
}

void Grafik_Form::Grafik_MouseDown(Qt::MouseButton, const QPointF& p) {
    Fensterzustand& w = s_.fenster;
    if (!w.Bereit) return;
    const Ansicht& a = grafik_->AktuelleAnsicht();
    w.AltX1 = a.Links;
    w.AltY1 = a.Oben;
    w.AltX2 = a.Links + a.Breite;
    w.AltY2 = a.Oben + a.Hoehe;
    w.ZoomAufziehen = true;
    w.ZoomX1 = w.ZoomX2 = p.x();
    w.ZoomY1 = w.ZoomY2 = p.y();
    grafik_->setCursor(Qt::CrossCursor);
    ZoomRechteckZeigen(true);
}

void Grafik_Form::Grafik_MouseMove(const QPointF& p) {
    Fensterzustand& w = s_.fenster;
    if (!w.Bereit) return;
    w.ZeigerX = AufZweiStellenGekappt(p.x());
    w.ZeigerY = AufZweiStellenGekappt(p.y());
    koordinatenX_->setText(Q(ZeigerText(w.ZeigerX, s_.speicher.DezimalPunkt)));
    koordinatenY_->setText(Q(ZeigerText(w.ZeigerY, s_.speicher.DezimalPunkt)));
    if (!w.ZoomAufziehen) return;
    if (p.x() == w.ZoomX2 && p.y() == w.ZoomY2) {
        w.ZoomX1 = w.AltX1;
        w.ZoomY1 = w.AltY1;
        w.ZoomX2 = w.AltX2;
        w.ZoomY2 = w.AltY2;
        return;
    }
    if (std::abs(w.ZoomX1 - w.AltX1) < 0.01) {
        w.ZoomX1 = w.ZoomX2 = p.x();
        w.ZoomY1 = w.ZoomY2 = p.y();
    }
    const double dy = p.y() - w.ZoomY1;
    const double vorzeichen = dy > 0 ? 1.0 : (dy < 0 ? -1.0 : 0.0);
    w.ZoomX2 = p.x();
    w.ZoomY2 = w.ZoomY1 + std::abs(p.x() - w.ZoomX1) * vorzeichen / w.Seitenverhaeltnis;
    ZoomRechteckZeigen(true);
}

void Grafik_Form::Grafik_MouseUp(Qt::MouseButton knopf) {
    Fensterzustand& w = s_.fenster;
    if (!w.Bereit) return;
    if (knopf == Qt::RightButton) {
        w.Gezoomt = false;
        w.ZoomAufziehen = false;
        grafik_->unsetCursor();
        ZoomRechteckZeigen(false);
        Neuzeichnen();
        return;
    }
    if (!w.ZoomAufziehen) return;
    ZoomRechteckZeigen(false);
    w.ZoomAufziehen = false;
    grafik_->unsetCursor();
    w.Gezoomt = true;
    if (std::abs(w.ZoomX2 - w.ZoomX1) < 1.0) {
        w.ZoomX1 = w.AltX1;
        w.ZoomY1 = w.AltY1;
        w.ZoomX2 = w.AltX2;
        w.ZoomY2 = w.AltY2;
        return;
    }
    if (w.ZoomX1 != w.ZoomX2 && w.ZoomY1 != w.ZoomY2) Neuzeichnen();
}

DateiDialogErgebnis Grafik_Form::DateiDialogQt(const DateiDialogAnfrage& a) {
    QFileDialog d(this);
    d.setAcceptMode(a.speichern ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d.setFileMode(a.speichern ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Listing /proc or /sys can keep the dialog busy for a long time.
    d.setDirectory(PseudoDateisystem(S(a.ordner)) ? QDir::homePath() : a.ordner);
    if (!a.name.isEmpty()) d.selectFile(a.name);
    const QStringList filter = FilterNachQt(a.filter);
    d.setNameFilters(filter);
    if (a.filterIndex >= 1 && a.filterIndex <= filter.size()) {
        d.selectNameFilter(filter[a.filterIndex - 1]);
    }
    DateiDialogErgebnis e;
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return e;
    e.ok = true;
    e.pfad = d.selectedFiles().constFirst();
    e.filterIndex = static_cast<int>(filter.indexOf(d.selectedNameFilter())) + 1;
    if (e.filterIndex < 1) e.filterIndex = a.filterIndex;
    return e;
}

void Grafik_Form::mnuText_Click() {
    Einstellungen& e = s_.einstellungen;
    e.TInPath = OhneEndtrenner(e.TInPath);
    DateiDialogAnfrage a;
    a.ordner = Q(e.TInPath);
    a.filter = Q(s_.Text(114)) + " (*.rtf;*.txt)|*.rtf;*.txt|" + Q(s_.Text(111)) +
               " (*.*)|*.*|RTF (Rich Text Format)|*.rtf|TXT (" + Q(s_.Text(114)) + ")|*.txt";
    const DateiDialogErgebnis r = dateiDialog(a);
    if (!r.ok) return;
    s_.fenster.AktDatei = S(r.pfad);
    setWindowTitle(Q(FensterTitel(s_)));
    e.TInPath = Verzeichnis(S(r.pfad));
    EinstellungenSpeichern();
    Aktion(QStringLiteral("mnuGrafik"))->setEnabled(false);
    grafik_->Loeschen(e.HGF);
    s_.fenster.Gezoomt = false;
    TextDateiLaden(s_, this, r.pfad);
}

void Grafik_Form::mnuEPS_Click() {
    Einstellungen& e = s_.einstellungen;
    e.GInPath = OhneEndtrenner(e.GInPath);
    s_.fenster.TextModus = false;
    s_.fenster.AktDatei.clear();
    DateiDialogAnfrage a;
    a.ordner = Q(e.GInPath);
    a.filter = Q(s_.Text(110)) +
               " (*.eps;*.ai;*.ps;*.pdf)|*.eps;*.ai;*.ps;*.pdf|EPS (Encapsulated PostScript)|*.eps"
               "|AI (Adobe Illustrator)|*.ai|PS (PostScript)|*.ps|" +
               Q(s_.Text(111)) + " (*.*)|*.*";
    const DateiDialogErgebnis r = dateiDialog(a);
    if (!r.ok) return;
    s_.fenster.AktDatei = S(r.pfad);
    e.GInPath = Verzeichnis(S(r.pfad));
    e.SingleLineModus = 0;
    EinstellungenSpeichern();
    Aktion(QStringLiteral("mnuGrafik"))->setEnabled(true);
    Aktion(QStringLiteral("mnuParameter"))->setEnabled(false);
    Aktion(QStringLiteral("mnuStatistik"))->setEnabled(false);
    grafik_->Loeschen(e.HGF);
    repaint();
    s_.fenster.Gezoomt = false;
    // A folder, a pipe or a file beyond the import's bound is named with its reason before the
    // parameters window would be shown for nothing.
    const Dateifehler fehler = DateiPruefen(s_.fenster.AktDatei, EPSMaxDateiGroesse);
    if (fehler != Dateifehler::Keiner) {
        s_.DateifehlerMelden(fehler, s_.fenster.AktDatei, EPSMaxDateiGroesse);
        return;
    }
    EPSEinlesen(s_);
}

void Grafik_Form::mnuGrafikExport_Click() {
    if (s_.speicher.ElementAnzahl() < 1) return;
    Einstellungen& e = s_.einstellungen;
    if (!OrdnerExistiert(e.GOutPath) || PseudoDateisystem(e.GOutPath))
        e.GOutPath = TempOrdner(false);
    e.GOutPath = OhneEndtrenner(e.GOutPath);
    const std::string text = s_.textquelle ? s_.textquelle->KlarText() : std::string();
    s_.speicher.AusgabeDatei = VorgeschlagenerName(s_.fenster.AktDatei, text);

    DateiDialogAnfrage a;
    a.speichern = true;
    a.ordner = Q(e.GOutPath);
    a.name = Q(DateiName(s_.speicher.AusgabeDatei));
    a.filter = QLatin1String(ExportFilter);
    a.filterIndex = e.LastFilter;
    const DateiDialogErgebnis r = dateiDialog(a);
    if (!r.ok) return;

    const int typ = std::clamp(r.filterIndex, 1, 4);
    s_.speicher.AusgabeDatei = MitEndungDesTyps(S(r.pfad), typ);
    const Ausgabeformat format = FormatNachEndung(s_.speicher.AusgabeDatei);
    const Schreibergebnis ergebnis = AusgabeSchreiben(s_, format);
    // A file that cannot be created must not pass silently: the user would look for it. Only a
    // folder that took the file is offered again next time.
    if (ergebnis == Schreibergebnis::NichtErstellt) s_.Melden(119, " " + s_.speicher.AusgabeDatei);
    if (ergebnis == Schreibergebnis::Ok) e.GOutPath = Verzeichnis(s_.speicher.AusgabeDatei);
    EinstellungenSpeichern();
    e.LastFilter = static_cast<std::uint8_t>(typ);
}

void Grafik_Form::mnuBatch_Click() {
    s_.batch.BatchPfad.clear();
    DateiDialogAnfrage a;
    a.ordner = Q(OhneEndtrenner(s_.einstellungen.TInPath));
    a.filter = Q(s_.Text(134)) + " (*.bch)|*.bch";
    const DateiDialogErgebnis r = dateiDialog(a);
    if (!r.ok || r.pfad.isEmpty()) return;
    s_.batch.BatchPfad = S(r.pfad);
    const Dateifehler fehler = BatchLesen(s_);
    if (fehler != Dateifehler::Keiner) {
        s_.DateifehlerMelden(fehler, s_.batch.BatchPfad, MaxBatchDatei);
        return;
    }
    s_.textquelle = &TextfensterQuelle(s_, this);
    s_.fenster.Gezoomt = false;
    s_.fenster.BatchLaeuft = true;
    BatchAusfuehren(s_, BatchOrdner(s_.batch.BatchPfad));
    s_.fenster.BatchLaeuft = false;
}

void Grafik_Form::mnuEPSParameter_Click() {
    {
        EPS_Parameter fenster(s_, this);
        fenster.exec();
    }
    EPSEinlesen(s_);
}

void Grafik_Form::SpracheWechseln(std::uint8_t nr) {
    s_.fenster.SprachNr = nr;
    Aktion(QStringLiteral("mnuDeutsch"))->setChecked(nr == 1);
    Aktion(QStringLiteral("mnuEnglish"))->setChecked(nr != 1);
    if (SpracheLaden(s_, S(Sprachdatei()))) TexteSetzen();
    QtSpracheSetzen();
    TextfensterAuffrischen(s_);
}

void Grafik_Form::QtSpracheSetzen() {
    if (qtTexte_) QCoreApplication::removeTranslator(qtTexte_.get());
    qtTexte_.reset();
    if (s_.fenster.SprachNr != 1) return;
    auto texte = std::make_unique<QTranslator>();
    if (texte->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(texte.get()))
        qtTexte_ = std::move(texte);
}

void Grafik_Form::mnuDeutsch_Click() { SpracheWechseln(1); }
void Grafik_Form::mnuEnglish_Click() { SpracheWechseln(2); }

void Grafik_Form::mnuEin_Click() {
    s_.einstellungen.Punkte = 1;
    Aktion(QStringLiteral("mnuEin"))->setChecked(true);
    Aktion(QStringLiteral("mnuAus"))->setChecked(false);
    if (s_.speicher.ElementAnzahl() >= 1) Neuzeichnen();
}

void Grafik_Form::mnuAus_Click() {
    s_.einstellungen.Punkte = 0;
    Aktion(QStringLiteral("mnuEin"))->setChecked(false);
    Aktion(QStringLiteral("mnuAus"))->setChecked(true);
    if (s_.speicher.ElementAnzahl() >= 1) Neuzeichnen();
}

void Grafik_Form::mnuRahmenEin_Click() {
    Aktion(QStringLiteral("mnuRahmenEin"))->setChecked(true);
    Aktion(QStringLiteral("mnuRahmenAus"))->setChecked(false);
    Aktion(QStringLiteral("mnuRahmenparameter"))->setEnabled(true);
    RahmenEin(s_);
}

void Grafik_Form::mnuRahmenAus_Click() {
    Aktion(QStringLiteral("mnuRahmenEin"))->setChecked(false);
    Aktion(QStringLiteral("mnuRahmenAus"))->setChecked(true);
    Aktion(QStringLiteral("mnuRahmenparameter"))->setEnabled(false);
    RahmenAus(s_);
}

void Grafik_Form::mnuRahmenparameter_Click() {
    RahmenParameter fenster(s_, this, dateiDialog);
    fenster.exec();
}

void Grafik_Form::mnuZoom_Click() { s_.Melden(116); }

void Grafik_Form::mnuGesamtbild_Click() {
    s_.Melden(112);
    s_.fenster.ZoomAufziehen = false;
    s_.fenster.Gezoomt = false;
    grafik_->unsetCursor();
    Neuzeichnen();
}

void Grafik_Form::mnuNeuZeichnen_Click() { Neuzeichnen(); }

void Grafik_Form::mnuInfo_Click() {
    Info fenster(s_, this);
    fenster.exec();
}

void Grafik_Form::mnuOptionen_Click() { OptionenZeigen(s_, this); }

void Grafik_Form::mnuFarbe_Click() {
    FarbeZeigen(s_, this, [this] {
        grafik_->Hintergrund(s_.einstellungen.HGF);
        if (s_.speicher.ElementAnzahl() >= 1)
            Neuzeichnen();
        else
            grafik_->Loeschen(s_.einstellungen.HGF);
        TextfensterAuffrischen(s_);
    });
}

void Grafik_Form::mnuDrucken_Click() { DruckenBefehl(s_, this, *druckDienste_); }

void Grafik_Form::InternetUpdate() { InternetUpdateZeigen(s_, this); }

} // namespace konturo
