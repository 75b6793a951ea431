// The text parameters window.
#include "text/qt/ParameterFenster.h"

#include "app/Sitzung.h"
#include "display/qt/Fensterhilfe.h"
#include "text/FontAuslesen.h"
#include "text/SyntaxCheck.h"
#include "text/qt/Tastenfilter.h"
#include "text/qt/TextBefehle.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace konturo {

namespace {

// Busy pointer over the main window and this window while a conversion runs.
class Sanduhr {
public:
    explicit Sanduhr(Sitzung& s) : s_(s) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        s_.ui->Sanduhr(true);
    }
    ~Sanduhr() {
        s_.ui->Sanduhr(false);
        QApplication::restoreOverrideCursor();
    }
    Sanduhr(const Sanduhr&) = delete;
    Sanduhr& operator=(const Sanduhr&) = delete;

private:
    Sitzung& s_;
};

} // namespace

ParameterFenster::ParameterFenster(Sitzung& s, QWidget* hauptfenster)
    : QDialog(hauptfenster), s_(s), hauptfenster_(hauptfenster) {
    setObjectName(QStringLiteral("Parameter"));
    setModal(true);
    s_.fenster.ParameterFensterOffen = true;

    auto* layout = new QVBoxLayout(this);
    auto* raster = new QGridLayout;
    QLineEdit** felder[5] = {&Text1, &Text2, &Text3, &Text4, &Text5};
    const char* namen[5] = {"Text1", "Text2", "Text3", "Text4", "Text5"};
    for (int i = 0; i < 5; ++i) {
        labels_[i] = new QLabel(this);
        *felder[i] = new QLineEdit(this);
        (*felder[i])->setObjectName(QString::fromLatin1(namen[i]));
        (*felder[i])->setAlignment(Qt::AlignRight);
        (*felder[i])->setMaximumWidth(120);
        labels_[i]->setBuddy(*felder[i]);
        raster->addWidget(labels_[i], i, 0);
        raster->addWidget(*felder[i], i, 1);
    }
    layout->addLayout(raster);
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    layout->addWidget(Check1);

    auto* knoepfe = new QHBoxLayout;
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setDefault(true);
    Command3 = new QPushButton(this);
    Command3->setObjectName(QStringLiteral("Command3"));
    knoepfe->addWidget(Command1);
    knoepfe->addWidget(Command3);
    knoepfe->addStretch();
    knoepfe->addWidget(Command2);
    layout->addLayout(knoepfe);

    const bool& punkt = s_.speicher.DezimalPunkt;
    TastenfilterSetzen(Text1, Tastenfilter::KommaZahl, punkt);
    TastenfilterSetzen(Text2, Tastenfilter::PlusMinusKommaZahl, punkt);
    TastenfilterSetzen(Text3, Tastenfilter::KommaZahl, punkt);
    TastenfilterSetzen(Text4, Tastenfilter::KommaZahl, punkt);
    TastenfilterSetzen(Text5, Tastenfilter::KommaZahl, punkt);

    TexteSetzen();
    FelderFuellen();
    Check1->setChecked(s_.einstellungen.SingleLineModus == 1);

    FeldVerbinden(Text1, s_.einstellungen.Toleranz, "Toleranz");
    FeldVerbinden(Text2, s_.text.Laufweite);
    FeldVerbinden(Text3, s_.text.Schrifthoehe);
    FeldVerbinden(Text4, s_.text.Zeilenabstand);
    FeldVerbinden(Text5, s_.einstellungen.KreisToleranz, "KreisToleranz");
    connect(Check1, &QCheckBox::toggled, this,
            [this](bool an) { s_.einstellungen.SingleLineModus = an ? 1 : 0; });
    connect(Command1, &QPushButton::clicked, this, &ParameterFenster::Vorschau);
    connect(Command2, &QPushButton::clicked, this, &ParameterFenster::Uebernehmen);
    connect(Command3, &QPushButton::clicked, this, [this] { StatistikFensterZeigen(s_, this); });
}

ParameterFenster::~ParameterFenster() { s_.fenster.ParameterFensterOffen = false; }

void ParameterFenster::TexteSetzen() {
    setWindowTitle(Sprachtext(s_, 65, "Parameter"));
    labels_[0]->setText(Sprachtext(s_, 72, "Genauigkeit"));
    labels_[1]->setText(Sprachtext(s_, 73, "Laufweite +/-"));
    labels_[2]->setText(Sprachtext(s_, 71, "Schrifthöhe ca."));
    labels_[3]->setText(Sprachtext(s_, 62, "Zeilenabstand +/-"));
    labels_[4]->setText(Sprachtext(s_, 78, "Kreistoleranz"));
    Check1->setText(Sprachtext(s_, 63, "Singleline Modus"));
    Command1->setText(Sprachtext(s_, 75, "Vorschau"));
    Command2->setText(Sprachtext(s_, 70, "OK"));
    Command3->setText(Sprachtext(s_, 74, "Statistik"));
}

void ParameterFenster::FelderFuellen() {
    const bool punkt = s_.speicher.DezimalPunkt;
    auto zeigen = [punkt](QLineEdit* feld, double wert) {
        feld->setText(QString::fromStdString(ZahlAnzeigen(wert, punkt)));
    };
    zeigen(Text1, s_.einstellungen.Toleranz);
    zeigen(Text2, s_.text.Laufweite);
    zeigen(Text3, s_.text.Schrifthoehe);
    zeigen(Text4, s_.text.Zeilenabstand);
    zeigen(Text5, s_.einstellungen.KreisToleranz);
}

void ParameterFenster::FeldVerbinden(QLineEdit* feld, double& variable, const char* schluessel) {
    // Only the user's edits set the variable; filling the field shows the value it already has.
    connect(feld, &QLineEdit::textEdited, this, [this, &variable, schluessel](const QString& text) {
        const auto wert = FeldZahl(text.toStdString(), s_.speicher.DezimalPunkt);
        if (wert && (!schluessel || EinstellungImBereich(schluessel, *wert))) variable = *wert;
    });
}

void ParameterFenster::Vorschau() {
    Sanduhr sanduhr(s_);
    TextUmwandeln(s_);
}

void ParameterFenster::Uebernehmen() {
    close();
    s_.fenster.ParameterFensterOffen = false;
    Sanduhr sanduhr(s_);
    TextUmwandeln(s_);
}

} // namespace konturo
