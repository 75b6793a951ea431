// The frame parameters window.
#include "frames/qt/RahmenParameter.h"

#include "app/Sitzung.h"
#include "display/qt/Fensterhilfe.h"
#include "frames/Vorlagen.h"
#include "output/FSO_Funktionen.h"
#include "text/SyntaxCheck.h"
#include "text/qt/Tastenfilter.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace konturo {

namespace {

// Offset of the window from the main window's top left corner, in pixels (1000 twips), as the
// other parameter windows.
constexpr int Versatz = 1000 / 15;

// Wide enough for a template path of usual length without scrolling at once.
constexpr int PfadBreite = 320;

QLabel* Beschriftung(const char* name, const char* text, QWidget* eltern) {
    auto* l = new QLabel(QString::fromUtf8(text), eltern);
    l->setObjectName(QLatin1String(name));
    return l;
}

} // namespace

RahmenParameter::RahmenParameter(Sitzung& s, QWidget* hauptfenster, DateiDialog dateiDialog)
    : QDialog(hauptfenster), s_(s), dateiDialog_(std::move(dateiDialog)) {
    setObjectName(QStringLiteral("RahmenParameter"));
    setWindowTitle(QStringLiteral("Rahmen-Parameter"));
    setModal(true);

    frame1_ = new QGroupBox(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame2_ = new QGroupBox(this);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    frame3_ = new QGroupBox(QStringLiteral("Vorlagenauswahl"), this);
    frame3_->setObjectName(QStringLiteral("Frame3"));

    option1_ = new QRadioButton(QString::fromUtf8("Rahmengröße automatisch"), frame1_);
    option1_->setObjectName(QStringLiteral("Option1"));
    option2_ = new QRadioButton(QString::fromUtf8("Rahmengröße fix"), frame2_);
    option2_->setObjectName(QStringLiteral("Option2"));
    option3_ = new QRadioButton(QStringLiteral("Rahmen aus ToPs Vorlage"), frame3_);
    option3_->setObjectName(QStringLiteral("Option3"));
    option4_ = new QRadioButton(QStringLiteral("Rahmen aus DXF Vorlage"), frame3_);
    option4_->setObjectName(QStringLiteral("Option4"));
    // The four options sit in three frames but form one choice.
    auto* gruppe = new QButtonGroup(this);
    for (QRadioButton* o : {option1_, option2_, option3_, option4_}) gruppe->addButton(o);

    for (int i = 0; i < 6; ++i) {
        QWidget* eltern = i < 2 ? frame1_ : i < 5 ? frame2_ : frame3_;
        text_[i] = new QLineEdit(eltern);
        text_[i]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
    }
    // The path is chosen with "..." only; a typed path would never reach the setting.
    text_[5]->setReadOnly(true);
    text_[5]->setMinimumWidth(PfadBreite);

    label1_ = Beschriftung("Label1", "Offset", frame1_);
    label2_ = Beschriftung("Label2", "Radius", frame1_);
    label5_ = Beschriftung("Label5", "Breite", frame2_);
    label6_ = Beschriftung("Label6", "Höhe", frame2_);
    label3_ = Beschriftung("Label3", "Radius", frame2_);

    command1_ = new QPushButton(QStringLiteral("..."), frame3_);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setAutoDefault(false);
    command1_->setMaximumWidth(command1_->fontMetrics().horizontalAdvance(QStringLiteral("...")) +
                               24);
    command6_ = new QPushButton(QStringLiteral("OK"), this);
    command6_->setObjectName(QStringLiteral("Command6"));
    command6_->setDefault(true);

    auto* raster1 = new QGridLayout(frame1_);
    raster1->addWidget(option1_, 0, 0, 1, 2);
    raster1->addWidget(label1_, 1, 0);
    raster1->addWidget(text_[0], 1, 1);
    raster1->addWidget(label2_, 2, 0);
    raster1->addWidget(text_[1], 2, 1);
    raster1->setRowStretch(3, 1);

    auto* raster2 = new QGridLayout(frame2_);
    raster2->addWidget(option2_, 0, 0, 1, 2);
    raster2->addWidget(label5_, 1, 0);
    raster2->addWidget(text_[2], 1, 1);
    raster2->addWidget(label6_, 2, 0);
    raster2->addWidget(text_[3], 2, 1);
    raster2->addWidget(label3_, 3, 0);
    raster2->addWidget(text_[4], 3, 1);

    auto* raster3 = new QGridLayout(frame3_);
    raster3->addWidget(option3_, 0, 0, 1, 2);
    raster3->addWidget(option4_, 1, 0, 1, 2);
    raster3->addWidget(text_[5], 2, 0);
    raster3->addWidget(command1_, 2, 1);

    auto* groessen = new QHBoxLayout;
    groessen->addWidget(frame1_);
    groessen->addWidget(frame2_);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(command6_);
    auto* spalte = new QVBoxLayout(this);
    spalte->addLayout(groessen);
    spalte->addWidget(frame3_);
    spalte->addLayout(knoepfe);

    TexteSetzen();
    if (hauptfenster) {
        const QPoint ecke = hauptfenster->geometry().topLeft();
        move(ecke.x() + Versatz, ecke.y() + Versatz);
    }

    const Einstellungen& e = s_.einstellungen;
    const bool punkt = s_.speicher.DezimalPunkt;
    const double werte[5] = {static_cast<double>(e.Roff), e.RRad, e.Rx, e.Ry, e.RRad};
    for (int i = 0; i < 5; ++i) text_[i]->setText(Q(ZahlAnzeigen(werte[i], punkt)));

    switch (e.Rtyp) {
    case 1:
    case 3:
        option1_->setChecked(true);
        FelderFreigeben(true, false);
        break;
    case 2:
    case 4:
        option2_->setChecked(true);
        FelderFreigeben(false, true);
        break;
    case 5:
    case 6:
        (e.Rtyp == 5 ? option3_ : option4_)->setChecked(true);
        text_[5]->setText(Q(e.RVorlage));
        // The sizes play no part in a template frame.
        FelderFreigeben(false, false);
        break;
    default:
        break;
    }

    // Connected after the fields are filled, so that showing the values stores nothing.
    Einstellungen& w = s_.einstellungen;
    connect(text_[0], &QLineEdit::textChanged, this, [this, &w] {
        double roff = static_cast<double>(w.Roff);
        FeldGeaendert(text_[0], roff, "Roff");
        w.Roff = static_cast<float>(roff);
    });
    connect(text_[1], &QLineEdit::textChanged, this,
            [this, &w] { FeldGeaendert(text_[1], w.RRad, "RRad"); });
    connect(text_[2], &QLineEdit::textChanged, this,
            [this, &w] { FeldGeaendert(text_[2], w.Rx, "Rx"); });
    connect(text_[3], &QLineEdit::textChanged, this,
            [this, &w] { FeldGeaendert(text_[3], w.Ry, "Ry"); });
    connect(text_[4], &QLineEdit::textChanged, this,
            [this, &w] { FeldGeaendert(text_[4], w.RRad, "RRad"); });
    for (int i = 0; i < 5; ++i) {
        TastenfilterSetzen(text_[i], Tastenfilter::KommaZahlTaste, s_.speicher.DezimalPunkt);
    }

    connect(option1_, &QRadioButton::clicked, this, &RahmenParameter::Option1_Click);
    connect(option2_, &QRadioButton::clicked, this, &RahmenParameter::Option2_Click);
    connect(option3_, &QRadioButton::clicked, this, &RahmenParameter::Option3_Click);
    connect(option4_, &QRadioButton::clicked, this, &RahmenParameter::Option4_Click);
    connect(command1_, &QPushButton::clicked, this, &RahmenParameter::Command1_Click);
    connect(command6_, &QPushButton::clicked, this, &RahmenParameter::Command6_Click);
}

QRadioButton* RahmenParameter::Option(int nr) const {
    switch (nr) {
    case 1:
        return option1_;
    case 2:
        return option2_;
    case 3:
        return option3_;
    case 4:
        return option4_;
    default:
        return nullptr;
    }
}

QLineEdit* RahmenParameter::Text(int nr) const {
    return nr >= 1 && nr <= 6 ? text_[nr - 1] : nullptr;
}

QGroupBox* RahmenParameter::Frame(int nr) const {
    return nr == 1 ? frame1_ : nr == 2 ? frame2_ : nr == 3 ? frame3_ : nullptr;
}

void RahmenParameter::TexteSetzen() {
    auto setzen = [this](auto* control, int nr) {
        const std::string& t = s_.Text(nr);
        if (!t.empty()) control->setText(Q(t));
    };
    if (const std::string& titel = s_.Text(67); !titel.empty()) setWindowTitle(Q(titel));
    setzen(option1_, 91);
    setzen(option2_, 92);
    setzen(label1_, 93);
    setzen(label2_, 94);
    setzen(label3_, 94);
    setzen(label5_, 95);
    setzen(label6_, 96);
    setzen(option3_, 97);
    const std::string& vorlagen = s_.Text(98);
    if (!vorlagen.empty()) frame3_->setTitle(Q(vorlagen));
    setzen(option4_, 99);
}

void RahmenParameter::FelderFreigeben(bool automatisch, bool fix) {
    text_[0]->setEnabled(automatisch);
    text_[1]->setEnabled(automatisch);
    label1_->setEnabled(automatisch);
    label2_->setEnabled(automatisch);
    for (int i = 2; i < 5; ++i) text_[i]->setEnabled(fix);
    label3_->setEnabled(fix);
    label5_->setEnabled(fix);
    label6_->setEnabled(fix);
}

void RahmenParameter::FeldGeaendert(QLineEdit* feld, double& wert, const char* schluessel) {
    const auto zahl = FeldZahl(feld->text().toStdString(), s_.speicher.DezimalPunkt);
    if (zahl && EinstellungImBereich(schluessel, *zahl)) wert = *zahl;
}

RahmenOption RahmenParameter::GewaehlteOption() const {
    if (option1_->isChecked()) return RahmenOption::Automatisch;
    if (option2_->isChecked()) return RahmenOption::Fix;
    if (option3_->isChecked()) return RahmenOption::ToPsVorlage;
    return RahmenOption::DxfVorlage;
}

void RahmenParameter::Option1_Click() {
    option1_->setChecked(true);
    FelderFreigeben(true, false);
    RahmenTypSetzen(s_, RahmenOption::Automatisch);
}

void RahmenParameter::Option2_Click() {
    option2_->setChecked(true);
    FelderFreigeben(false, true);
    RahmenTypSetzen(s_, RahmenOption::Fix);
}

// The template is read at "OK", once its path is chosen; here only the choice is shown.
void RahmenParameter::Option3_Click() {
    option3_->setChecked(true);
    FelderFreigeben(false, false);
}

void RahmenParameter::Option4_Click() {
    option4_->setChecked(true);
    FelderFreigeben(false, false);
}

void RahmenParameter::Command1_Click() {
    Einstellungen& e = s_.einstellungen;
    const std::string bisher = e.RVorlage;
    e.RVorlage.clear();
    DateiDialogAnfrage a;
    if (!bisher.empty()) a.ordner = Q(Verzeichnis(bisher));
    a.filter = option3_->isChecked()
                   ? Sprachtext(s_, 55, "ToPs-Vorlage") + QStringLiteral(" (*.vlg)|*.vlg")
                   : Sprachtext(s_, 56, "DXF-Vorlage") + QStringLiteral(" (*.dxf)|*.dxf");
    const DateiDialogErgebnis r = dateiDialog_ ? dateiDialog_(a) : DateiDialogErgebnis{};
    // A cancelled dialog keeps the template that was chosen before (and is still shown).
    if (!r.ok) {
        e.RVorlage = bisher;
        return;
    }
    // A file that is there and cannot be read (a folder, a pipe, no permission, too large) is
    // named with its reason and not taken; a missing one gives an empty template, as at start.
    const std::string pfad = r.pfad.toStdString();
    const Dateifehler fehler =
        pfad.empty() ? Dateifehler::Keiner : DateiPruefen(pfad, MaxVorlageDatei);
    if (fehler != Dateifehler::Keiner && fehler != Dateifehler::Fehlt) {
        e.RVorlage = bisher;
        s_.DateifehlerMelden(fehler, pfad, MaxVorlageDatei);
        return;
    }
    e.RVorlage = pfad;
    if (!e.RVorlage.empty()) text_[5]->setText(r.pfad);
}

void RahmenParameter::Command6_Click() {
    const RahmenOption option = GewaehlteOption();
    accept();
    // The re-run redraws the main window through the UI services.
    RahmenParameterUebernehmen(s_, option);
}

} // namespace konturo
