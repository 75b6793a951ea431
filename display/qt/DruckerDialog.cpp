// The printer window.
#include "display/qt/DruckerDialog.h"

#include "app/Sitzung.h"
#include "display/GrafikDrucken.h"
#include "display/qt/Fensterhilfe.h"
#include "text/qt/Tastenfilter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace konturo {

namespace {

// Wide enough for the usual printer names ("HP_LaserJet_Pro_M404-M405") without cutting them.
constexpr int ListenBreite = 260;
// A copies field for up to five digits.
constexpr int ZahlBreite = 70;

} // namespace

DruckerDialog::DruckerDialog(Sitzung& s, QWidget* hauptfenster, const DruckerListe& drucker,
                             const DruckerWahl& aktuell)
    : QDialog(hauptfenster), s_(s), aktuell_(aktuell) {
    setObjectName(QStringLiteral("DruckerDialog"));
    setModal(true);

    frame1_ = new QGroupBox(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame2_ = new QGroupBox(this);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    combo1_ = new QComboBox(frame1_);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setMinimumWidth(ListenBreite);
    label1_ = new QLabel(frame1_);
    label1_->setObjectName(QStringLiteral("Label1"));
    label2_ = new QLabel(frame2_);
    label2_->setObjectName(QStringLiteral("Label2"));
    text1_ = new QLineEdit(frame2_);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setMaximumWidth(ZahlBreite);
    label2_->setBuddy(text1_);
    command2_ = new QPushButton(this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setDefault(true);
    command3_ = new QPushButton(this);
    command3_->setObjectName(QStringLiteral("Command3"));
    command3_->setAutoDefault(false);

    auto* spalte1 = new QVBoxLayout(frame1_);
    spalte1->addWidget(combo1_);
    spalte1->addWidget(label1_);
    auto* zeile2 = new QHBoxLayout(frame2_);
    zeile2->addWidget(label2_);
    zeile2->addWidget(text1_);
    zeile2->addStretch(1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(command2_);
    knoepfe->addWidget(command3_);
    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(frame1_);
    spalte->addWidget(frame2_);
    spalte->addLayout(knoepfe);

    TexteSetzen();
    Form_Load(drucker);

    // Connected after Form_Load, so that filling the controls changes nothing.
    connect(combo1_, &QComboBox::activated, this, &DruckerDialog::Combo1_Click);
    connect(text1_, &QLineEdit::textChanged, this, &DruckerDialog::Text1_Change);
    // The copies field takes digits and the separator only, and selects its text on focus.
    TastenfilterSetzen(text1_, Tastenfilter::KommaZahlTaste, s_.speicher.DezimalPunkt);
    connect(command2_, &QPushButton::clicked, this, &DruckerDialog::Command2_Click);
    connect(command3_, &QPushButton::clicked, this, &DruckerDialog::Command3_Click);
}

QString DruckerDialog::PdfText() const { return Sprachtext(s_, 174, "PDF-Datei"); }

void DruckerDialog::TexteSetzen() {
    setWindowTitle(Sprachtext(s_, 173, "Drucken"));
    frame1_->setTitle(Sprachtext(s_, 175, "Druckerauswahl"));
    frame2_->setTitle(Sprachtext(s_, 176, "Druckparameter"));
    label2_->setText(Sprachtext(s_, 177, "Anzahl Exemplare:"));
    command2_->setText(Sprachtext(s_, 70, "OK"));
    command3_->setText(Sprachtext(s_, 133, "Abbruch"));
}

void DruckerDialog::Form_Load(const DruckerListe& drucker) {
    // Any way of closing other than "OK" counts as cancelled.
    s_.fenster.AbbruchWunsch = true;
    Exemplare_ = 1;

    for (const QString& name : drucker.namen) combo1_->addItem(name);
    // The PDF file comes last: without printers it is the only entry, with them a harmless extra.
    combo1_->addItem(PdfText());

    int index = -1;
    if (!aktuell_.pdf) {
        index = static_cast<int>(drucker.namen.indexOf(aktuell_.name));
        if (index < 0) index = static_cast<int>(drucker.namen.indexOf(drucker.standard));
        if (index < 0 && !drucker.namen.isEmpty()) index = 0;
    }
    if (index < 0) index = combo1_->count() - 1;
    combo1_->setCurrentIndex(index);
    aktuell_.pdf = index == combo1_->count() - 1;
    aktuell_.name = aktuell_.pdf ? QString() : drucker.namen[index];
    label1_->setText(combo1_->currentText());

    text1_->setText(QString::number(Exemplare_));

    adjustSize();
    if (QWidget* haupt = parentWidget()) {
        const QRect h = haupt->geometry();
        move(h.left() + h.width() / 2 - width() / 2, h.top() + h.height() / 2 - height() / 2);
    }
}

void DruckerDialog::Combo1_Click(int index) {
    if (index < 0) return;
    aktuell_.pdf = index == combo1_->count() - 1;
    aktuell_.name = aktuell_.pdf ? QString() : combo1_->itemText(index);
    label1_->setText(combo1_->itemText(index));
}

void DruckerDialog::Text1_Change() {
    if (const auto n = ExemplareAusText(S(text1_->text()), s_.speicher.DezimalPunkt))
        Exemplare_ = *n;
}

void DruckerDialog::Command2_Click() {
    s_.fenster.AbbruchWunsch = false;
    accept();
}

void DruckerDialog::Command3_Click() { reject(); }

} // namespace konturo
