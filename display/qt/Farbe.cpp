// The colour window.
#include "display/qt/Farbe.h"

#include "app/Sitzung.h"
#include "display/qt/Fensterhilfe.h"
#include "display/qt/GrafikFlaeche.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdint>
#include <utility>

namespace konturo {

namespace {

struct Zeile {
    int textNr;
    const char* deutsch; // design caption
    std::int32_t Einstellungen::*farbe;
};

constexpr Zeile Zeilen[8] = {
    {100, "Hintergrund", &Einstellungen::HGF},
    {101, "Linien", &Einstellungen::LF},
    {102, "Bögen", &Einstellungen::BF},
    {103, "Punkte", &Einstellungen::PF},
    {104, "Textvordergrund", &Einstellungen::TVF},
    {105, "Texthintergrund", &Einstellungen::THF},
    {107, "Kurze Elemente", &Einstellungen::ElementWarnFarbe},
    {108, "DXF-Markierungen", &Einstellungen::DXFWarnFarbe},
};

// The marker colour only reaches DXF files; the display does not show it.
constexpr int ZeileDxfMarken = 8;

// Size of a colour field in pixels: a small swatch, as wide as a short number field.
constexpr int FeldBreite = 60;

std::int32_t RgbAusFarbe(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

} // namespace

Farbe::Farbe(Sitzung& s, QWidget* hauptfenster) : QDialog(hauptfenster), s_(s) {
    setObjectName(QStringLiteral("Farbe"));
    setModal(true);

    frame1_ = new QGroupBox(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    auto* raster = new QGridLayout(frame1_);
    for (int i = 0; i < 8; ++i) {
        label_[i] = new QLabel(frame1_);
        label_[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        // A text field only in looks: it shows its colour and answers a click or Space.
        QLineEdit* feld = new QLineEdit(frame1_);
        feld->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        feld->setReadOnly(true);
        feld->setFixedWidth(FeldBreite);
        feld->setCursor(Qt::PointingHandCursor);
        feld->setContextMenuPolicy(Qt::NoContextMenu);
        feld->installEventFilter(this);
        text_[i] = feld;
        label_[i]->setBuddy(feld);
        raster->addWidget(label_[i], i, 0);
        raster->addWidget(feld, i, 1);
        FeldFaerben(i + 1);
    }
    raster->setColumnStretch(0, 1);

    command1_ = new QPushButton(this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setAutoDefault(false);
    command6_ = new QPushButton(this);
    command6_->setObjectName(QStringLiteral("Command6"));
    command6_->setDefault(true);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(command1_);
    knoepfe->addStretch(1);
    knoepfe->addWidget(command6_);
    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(frame1_);
    spalte->addLayout(knoepfe);
    // Qt centres the window over the main window when it is shown and keeps it on the screen.
    spalte->setSizeConstraint(QLayout::SetFixedSize);

    TexteSetzen();
    // The focus starts on "OK": on the first colour field its focus frame would read as a choice.
    command6_->setFocus();
    connect(command1_, &QPushButton::clicked, this, &Farbe::Command1_Click);
    connect(command6_, &QPushButton::clicked, this, &Farbe::Command6_Click);
}

QLineEdit* Farbe::Text(int nr) const { return nr >= 1 && nr <= 8 ? text_[nr - 1] : nullptr; }

QLabel* Farbe::Label(int nr) const { return nr >= 1 && nr <= 8 ? label_[nr - 1] : nullptr; }

void Farbe::TexteSetzen() {
    setWindowTitle(Sprachtext(s_, 109, "Farbauswahl"));
    for (int i = 0; i < 8; ++i)
        label_[i]->setText(Sprachtext(s_, Zeilen[i].textNr, Zeilen[i].deutsch));
    command1_->setText(Sprachtext(s_, 106, "Reset"));
    command6_->setText(Sprachtext(s_, 70, "OK"));
}

void Farbe::FeldFaerben(int nr) {
    QLineEdit* feld = text_[nr - 1];
    QPalette p = feld->palette();
    p.setColor(QPalette::Base, FarbeAusRgb(s_.einstellungen.*Zeilen[nr - 1].farbe));
    feld->setPalette(p);
}

void Farbe::Neuzeichnen() {
    if (neuzeichnen)
        neuzeichnen();
    else
        s_.ui->Neuzeichnen();
}

std::optional<QColor> Farbe::FarbeWaehlen(const QColor& aktuell) {
    if (farbDialog) return farbDialog(aktuell);
    // Qt's dialog always shows its custom colour part; an invalid colour means "Cancel".
    const QColor c = QColorDialog::getColor(aktuell, this);
    if (!c.isValid()) return std::nullopt;
    return c;
}

void Farbe::Text_Click(int nr) {
    if (nr < 1 || nr > 8) return;
    std::int32_t& farbe = s_.einstellungen.*Zeilen[nr - 1].farbe;
    const std::optional<QColor> gewaehlt = FarbeWaehlen(FarbeAusRgb(farbe));
    if (!gewaehlt || !gewaehlt->isValid()) return;
    farbe = RgbAusFarbe(*gewaehlt);
    FeldFaerben(nr);
    if (nr != ZeileDxfMarken) Neuzeichnen();
}

void Farbe::Command1_Click() {
    FarbenZuruecksetzen(s_.einstellungen);
    for (int nr = 1; nr <= 8; ++nr) FeldFaerben(nr);
    Neuzeichnen();
}

void Farbe::Command6_Click() { accept(); }

bool Farbe::eventFilter(QObject* objekt, QEvent* ereignis) {
    for (int i = 0; i < 8; ++i) {
        if (objekt != text_[i]) continue;
        if (ereignis->type() == QEvent::MouseButtonRelease) {
            auto* maus = static_cast<QMouseEvent*>(ereignis);
            if (maus->button() == Qt::LeftButton &&
                text_[i]->rect().contains(maus->position().toPoint())) {
                Text_Click(i + 1);
                return true;
            }
        } else if (ereignis->type() == QEvent::KeyPress) {
            // Space, as on a button; Enter stays with the dialog's default button "OK".
            if (static_cast<QKeyEvent*>(ereignis)->key() == Qt::Key_Space) {
                Text_Click(i + 1);
                return true;
            }
        }
        break;
    }
    return QDialog::eventFilter(objekt, ereignis);
}

void FarbeZeigen(Sitzung& s, QWidget* hauptfenster, std::function<void()> neuzeichnen) {
    Farbe fenster(s, hauptfenster);
    fenster.neuzeichnen = std::move(neuzeichnen);
    fenster.exec();
}

} // namespace konturo
