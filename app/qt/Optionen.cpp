// The options window.
#include "app/qt/Optionen.h"

#include "app/Optionswerte.h"
#include "app/Sitzung.h"
#include "display/qt/Fensterhilfe.h"
#include "text/SyntaxCheck.h"
#include "text/qt/Tastenfilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstdint>
#include <tuple>

namespace konturo {

namespace {

// Room for a radius like 9999,99 and a little more.
constexpr int ZahlFeldBreite = 90;

template <typename T> T* Control(const char* name, QWidget* eltern) {
    auto* c = new T(eltern);
    c->setObjectName(QLatin1String(name));
    return c;
}

QLineEdit* Zahlfeld(const char* name, QWidget* eltern) {
    auto* f = Control<QLineEdit>(name, eltern);
    f->setAlignment(Qt::AlignRight);
    f->setFixedWidth(ZahlFeldBreite);
    return f;
}

// A tab page holding one frame at its top.
QWidget* Seite(QGroupBox* frame) {
    auto* seite = new QWidget;
    auto* spalte = new QVBoxLayout(seite);
    spalte->addWidget(frame);
    spalte->addStretch(1);
    return seite;
}

} // namespace

Optionen::Optionen(Sitzung& s, QWidget* hauptfenster) : QDialog(hauptfenster), s_(s) {
    setObjectName(QStringLiteral("Optionen"));
    setModal(true);

    SSTab1 = Control<QTabWidget>("SSTab1", this);
    // All four tabs in view: with scroll buttons the tab widget would ask for less width than
    // its captions need and hide the last tab behind arrows.
    SSTab1->setUsesScrollButtons(false);
    Frame1 = Control<QGroupBox>("Frame1", nullptr);
    Frame2 = Control<QGroupBox>("Frame2", nullptr);
    Frame3 = Control<QGroupBox>("Frame3", nullptr);
    Frame4 = Control<QGroupBox>("Frame4", nullptr);
    Frame5 = Control<QGroupBox>("Frame5", nullptr);

    Check1 = Control<QCheckBox>("Check1", Frame1);
    auto* programm = new QVBoxLayout(Frame1);
    programm->addWidget(Check1);

    Label2 = Control<QLabel>("Label2", Frame3);
    Combo1 = Control<QComboBox>("Combo1", Frame3);
    Label2->setBuddy(Combo1);
    auto* konvertierung = new QHBoxLayout(Frame3);
    konvertierung->addWidget(Label2);
    konvertierung->addWidget(Combo1);
    konvertierung->addStretch(1);

    Check5 = Control<QCheckBox>("Check5", Frame2);
    Check4 = Control<QCheckBox>("Check4", Frame2);
    Label3 = Control<QLabel>("Label3", Frame2);
    Text2 = Zahlfeld("Text2", Frame2);
    Label3->setBuddy(Text2);
    auto* ausgabe = new QGridLayout(Frame2);
    ausgabe->addWidget(Check5, 0, 0, 1, 3);
    ausgabe->addWidget(Check4, 1, 0, 1, 3);
    ausgabe->addWidget(Label3, 2, 0);
    ausgabe->addWidget(Text2, 2, 1);
    ausgabe->setColumnStretch(2, 1);

    Check2 = Control<QCheckBox>("Check2", Frame4);
    Check3 = Control<QCheckBox>("Check3", Frame4);
    Label1 = Control<QLabel>("Label1", Frame4);
    Text11 = Zahlfeld("Text11", Frame4);
    Label4 = Control<QLabel>("Label4", Frame4);
    Label1->setBuddy(Text11);
    auto* kurz = new QGridLayout(Frame4);
    kurz->addWidget(Check2, 0, 0, 1, 4);
    kurz->addWidget(Check3, 1, 0, 1, 4);
    kurz->addWidget(Label1, 2, 0);
    kurz->addWidget(Text11, 2, 1);
    kurz->addWidget(Label4, 2, 2);
    kurz->setColumnStretch(3, 1);

    Check6 = Control<QCheckBox>("Check6", Frame5);
    Check7 = Control<QCheckBox>("Check7", Frame5);
    auto* maschine = new QGridLayout(Frame5);
    maschine->addWidget(Check6, 0, 0, 1, 4);
    int zeile = 1;
    for (auto [label, feld, name, lname] :
         {std::tuple{&Label5, &Text3, "Text3", "Label5"}, std::tuple{&Label6, &Text4, "Text4", "Label6"},
          std::tuple{&Label7, &Text5, "Text5", "Label7"}, std::tuple{&Label8, &Text6, "Text6", "Label8"}}) {
        *label = Control<QLabel>(lname, Frame5);
        *feld = Zahlfeld(name, Frame5);
        (*label)->setBuddy(*feld);
        maschine->addWidget(*label, zeile, 0);
        maschine->addWidget(*feld, zeile, 1);
        // Lengths are in millimetres; the decimals are a count.
        if (*feld != Text6) maschine->addWidget(new QLabel(Sprachtext(s_, 168, "mm"), Frame5), zeile, 2);
        ++zeile;
    }
    maschine->addWidget(Check7, zeile, 0, 1, 4);
    maschine->setColumnStretch(3, 1);

    // Tab order: Programm, Konvertierung, Ausgabe, Kurze Elemente, Maschine; captions in
    // TexteSetzen.
    for (QGroupBox* frame : {Frame1, Frame3, Frame2, Frame4, Frame5})
        SSTab1->addTab(Seite(frame), {});

    Command1 = Control<QPushButton>("Command1", this);
    Command1->setDefault(true);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(Command1);
    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(SSTab1);
    spalte->addLayout(knoepfe);
    // A settings dialog: it keeps the size its contents need. Qt centres it over the main window
    // when it is shown (and keeps it on the screen).
    spalte->setSizeConstraint(QLayout::SetFixedSize);

    TexteSetzen();
    WerteZeigen();
    Verbinden();
}

void Optionen::TexteSetzen() {
    setWindowTitle(Sprachtext(s_, 158, "Optionen"));
    SSTab1->setTabText(0, Sprachtext(s_, 154, "Programm"));
    SSTab1->setTabText(1, Sprachtext(s_, 155, "Konvertierung"));
    SSTab1->setTabText(2, Sprachtext(s_, 156, "Ausgabe"));
    SSTab1->setTabText(3, Sprachtext(s_, 107, "Kurze Elemente"));
    SSTab1->setTabText(4, Sprachtext(s_, 25, "Maschine"));
    Frame5->setTitle(Sprachtext(s_, 60, "Maschinenprüfung"));
    Check6->setText(Sprachtext(s_, 26, "sparsame Umwandlung"));
    Check7->setText(Sprachtext(s_, 58, "bei Verstößen reparieren"));
    Label5->setText(Sprachtext(s_, 27, "max. Abweichung"));
    Label6->setText(Sprachtext(s_, 28, "min. Radius"));
    Label7->setText(Sprachtext(s_, 29, "min. Länge"));
    Label8->setText(Sprachtext(s_, 57, "Nachkommastellen"));
    Frame1->setTitle(Sprachtext(s_, 160, "Laufzeitparameter"));
    Frame2->setTitle(Sprachtext(s_, 166, "Ausgabeoptionen"));
    Frame3->setTitle(Sprachtext(s_, 159, "Umwandlungsparameter"));
    Frame4->setTitle(Sprachtext(s_, 162, "Bildoptionen"));
    Check1->setText(Sprachtext(s_, 161, "Unterberechungen zulassen"));
    Check2->setText(Sprachtext(s_, 165, "kurze Elemente bei Ausgabe kennzeichnen"));
    Check3->setText(Sprachtext(s_, 164, "kurze Elemente zeigen"));
    Check4->setText(Sprachtext(s_, 167, "Geo-Ausgabe: Rahmen weiss, Buchstaben gelb"));
    Check5->setText(Sprachtext(s_, 157, "gespiegelte Ausgabe"));
    Label1->setText(Sprachtext(s_, 163, "Grenzlänge:"));
    Label2->setText(Sprachtext(s_, 76, "Spline-Teilung"));
    Label3->setText(Sprachtext(s_, 77, "max. Radius"));
    Label4->setText(Sprachtext(s_, 168, "mm"));
    Command1->setText(Sprachtext(s_, 70, "OK"));
    Combo1->addItem(Sprachtext(s_, 144, "mittel (0,05)"));
    Combo1->addItem(Sprachtext(s_, 145, "fein (0,01)"));
    Combo1->addItem(Sprachtext(s_, 146, "grob (0,1)"));
}

void Optionen::WerteZeigen() {
    const Einstellungen& e = s_.einstellungen;
    const bool punkt = s_.speicher.DezimalPunkt;
    const int eintrag = SplineTeilungIndex(e.SplineT);
    Combo1->setCurrentIndex(eintrag);
    // No entry fits the stored step: the empty list shows the step itself, so the user sees what
    // is in force until choosing an entry.
    if (eintrag < 0) Combo1->setPlaceholderText(Q(ZahlAnzeigen(e.SplineT, punkt)));
    Text2->setText(Q(ZahlAnzeigen(e.maxRadius, punkt)));
    Text11->setText(Q(ZahlAnzeigen(e.WarnLaenge, punkt)));
    Check1->setChecked(e.Unterbrechung == 1);
    Check2->setChecked(e.WarnAusgabe == 1);
    Check3->setChecked(e.WarnDarstellung == 1);
    Check4->setChecked(e.Ausgabenfarbe == 1);
    Check5->setChecked(e.GespiegelteAusgabe == 1);
    Check6->setChecked(e.SparModus == 1);
    Check7->setChecked(e.Reparieren == 1);
    Text3->setText(Q(ZahlAnzeigen(e.MaxAbweichung, punkt)));
    Text4->setText(Q(ZahlAnzeigen(e.MinRadius, punkt)));
    Text5->setText(Q(ZahlAnzeigen(e.MinLaenge, punkt)));
    Text6->setText(QString::number(e.Nachkommastellen));
}

// Connected after the values are shown, so that showing them changes nothing.
void Optionen::Verbinden() {
    Einstellungen& e = s_.einstellungen;
    // neu: the setting shapes the geometry, so "OK" must make it again.
    auto schalter = [this](QCheckBox* box, std::uint8_t& wert, bool neu) {
        connect(box, &QCheckBox::toggled, this, [this, &wert, neu](bool an) {
            wert = an ? 1 : 0;
            if (neu) NeuBerechnen = true;
        });
    };
    schalter(Check1, e.Unterbrechung, false);
    schalter(Check2, e.WarnAusgabe, false);
    schalter(Check3, e.WarnDarstellung, true);
    schalter(Check4, e.Ausgabenfarbe, false);
    schalter(Check5, e.GespiegelteAusgabe, false);
    // The fitting and the repair shape the geometry.
    schalter(Check6, e.SparModus, true);
    schalter(Check7, e.Reparieren, true);

    // activated, not currentIndexChanged: choosing the entry already shown counts as a choice.
    connect(Combo1, &QComboBox::activated, this, [this, &e](int eintrag) {
        if (eintrag < 0 || eintrag >= static_cast<int>(SplineTeilungen.size())) return;
        e.SplineT = SplineTeilungen[static_cast<std::size_t>(eintrag)];
        NeuBerechnen = true;
    });

    const bool& punkt = s_.speicher.DezimalPunkt;
    TastenfilterSetzen(Text2, Tastenfilter::KommaZahlTaste, punkt);
    TastenfilterSetzen(Text11, Tastenfilter::KommaZahlTaste, punkt);
    // The radius only limits the next approximation; the geometry in the store stays as it is.
    connect(Text2, &QLineEdit::textChanged, this, [this, &e](const QString& text) {
        const auto zahl = FeldZahl(S(text), s_.speicher.DezimalPunkt);
        if (zahl && EinstellungImBereich("maxRadius", *zahl)) e.maxRadius = *zahl;
    });
    // Even an emptied field counts as a change: the user is working on the limit.
    connect(Text11, &QLineEdit::textChanged, this, [this, &e](const QString& text) {
        const auto zahl = FeldZahl(S(text), s_.speicher.DezimalPunkt);
        if (zahl && EinstellungImBereich("WarnLaenge", *zahl)) e.WarnLaenge = *zahl;
        NeuBerechnen = true;
    });

    // The deviation and the machine's limits shape the geometry when the economy fitting or the
    // repair is on.
    auto grenze = [this](QLineEdit* feld, const char* schluessel, double& wert) {
        TastenfilterSetzen(feld, Tastenfilter::KommaZahlTaste, s_.speicher.DezimalPunkt);
        connect(feld, &QLineEdit::textChanged, this, [this, schluessel, &wert](const QString& text) {
            const auto zahl = FeldZahl(S(text), s_.speicher.DezimalPunkt);
            if (zahl && EinstellungImBereich(schluessel, *zahl)) wert = *zahl;
            NeuBerechnen = true;
        });
    };
    grenze(Text3, "MaxAbweichung", e.MaxAbweichung);
    grenze(Text4, "MinRadius", e.MinRadius);
    grenze(Text5, "MinLaenge", e.MinLaenge);
    TastenfilterSetzen(Text6, Tastenfilter::ZiffernTaste, s_.speicher.DezimalPunkt);
    connect(Text6, &QLineEdit::textChanged, this, [this, &e](const QString& text) {
        bool ok = false;
        const int stellen = text.toInt(&ok);
        if (ok && EinstellungImBereich("Nachkommastellen", stellen))
            e.Nachkommastellen = static_cast<std::uint8_t>(stellen);
        NeuBerechnen = true;
    });

    connect(Command1, &QPushButton::clicked, this, &Optionen::Command1_Click);
}

void Optionen::Command1_Click() {
    // Closed first, so that the window does not stand over the drawing while it is made again.
    accept();
    OptionenUebernehmen(s_, NeuBerechnen);
}

void OptionenZeigen(Sitzung& s, QWidget* hauptfenster) {
    Optionen fenster(s, hauptfenster);
    fenster.exec();
}

} // namespace konturo
