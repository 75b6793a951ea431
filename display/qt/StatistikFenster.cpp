// The statistics window: three groups of caption and value labels filled from the core's
// statistics of the element store.
#include "display/qt/StatistikFenster.h"

#include "app/Sitzung.h"
#include "display/Statistik.h"
#include "display/qt/Fensterhilfe.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace konturo {

namespace {

// Rows per group in window order: Linien 5, Bögen 7, Kreise 5, then Gesamtkontur.
constexpr int ZeilenLinien = 5, ZeilenBoegen = 7, ZeilenKreise = 5;

QString Verbunden(const Sitzung& s, int nr1, const char* d1, int nr2, const char* d2) {
    return Sprachtext(s, nr1, d1) + QLatin1Char(' ') + Sprachtext(s, nr2, d2);
}

} // namespace

StatistikFenster::StatistikFenster(Sitzung& s, QWidget* eltern) : QDialog(eltern), s_(s) {
    setObjectName(QStringLiteral("Statistik"));
    setModal(true);

    // The three groups side by side, the total and the check box below them.
    auto* haupt = new QVBoxLayout(this);
    auto* gruppen = new QHBoxLayout;
    haupt->addLayout(gruppen);
    auto wertLabel = [this](QWidget* eltern) {
        auto* wert = new QLabel(eltern);
        wert->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        wert->setFrameShape(QFrame::StyledPanel);
        wert->setTextInteractionFlags(Qt::TextSelectableByMouse);
        wert->setMinimumWidth(80);
        return wert;
    };
    auto gruppe = [&](QGroupBox*& frame, const char* name, int zeilen) {
        frame = new QGroupBox(this);
        frame->setObjectName(QString::fromLatin1(name));
        auto* raster = new QGridLayout(frame);
        raster->setColumnStretch(0, 1);
        for (int i = 0; i < zeilen; ++i) {
            auto* beschriftung = new QLabel(frame);
            auto* wert = wertLabel(frame);
            raster->addWidget(beschriftung, i, 0);
            raster->addWidget(wert, i, 1);
            Beschriftungen.push_back(beschriftung);
            Werte.push_back(wert);
        }
        // Groups with fewer rows keep their rows at the top.
        raster->setRowStretch(zeilen, 1);
        gruppen->addWidget(frame);
    };
    gruppe(Frame1, "Frame1", ZeilenLinien);
    gruppe(Frame2, "Frame2", ZeilenBoegen);
    gruppe(Frame3, "Frame3", ZeilenKreise);

    auto* gesamt = new QHBoxLayout;
    auto* gesamtBeschriftung = new QLabel(this);
    auto* gesamtWert = wertLabel(this);
    gesamt->addWidget(gesamtBeschriftung);
    gesamt->addWidget(gesamtWert);
    gesamt->addSpacing(20);
    AbweichungBeschriftung = new QLabel(this);
    AbweichungWert = wertLabel(this);
    AbweichungWert->setObjectName(QStringLiteral("Abweichung"));
    gesamt->addWidget(AbweichungBeschriftung);
    gesamt->addWidget(AbweichungWert);
    gesamt->addStretch();
    Beschriftungen.push_back(gesamtBeschriftung);
    Werte.push_back(gesamtWert);
    haupt->addLayout(gesamt);

    WarnDarstellung = new QCheckBox(this);
    WarnDarstellung->setObjectName(QStringLiteral("WarnDarstellung"));
    haupt->addWidget(WarnDarstellung);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    knoepfe->addWidget(Command1);
    haupt->addLayout(knoepfe);

    TexteSetzen();
    WerteFuellen();
    WarnDarstellung->setChecked(s_.einstellungen.WarnDarstellung == 1);
    connect(WarnDarstellung, &QCheckBox::toggled, this,
            &StatistikFenster::WarnDarstellungGeaendert);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    connect(this, &QDialog::finished, this, [this] {
        // The drawing shows short elements by this setting; draw it again when it changed.
        if (warnGeaendert_) s_.ui->Neuzeichnen();
    });
}

void StatistikFenster::TexteSetzen() {
    setWindowTitle(Sprachtext(s_, 74, "Statistik"));
    Frame1->setTitle(Sprachtext(s_, 81, "Linien"));
    Frame2->setTitle(Sprachtext(s_, 82, "Bögen"));
    Frame3->setTitle(Sprachtext(s_, 79, "Kreise"));
    const QString anzahl = Sprachtext(s_, 68, "Anzahl");
    const QString minLaenge = Verbunden(s_, 84, "min.", 88, "Länge");
    const QString maxLaenge = Verbunden(s_, 85, "max.", 88, "Länge");
    const QString mittel = Verbunden(s_, 86, "mittlere", 88, "Länge");
    const QString summe = Sprachtext(s_, 80, "Gesamtlänge");
    const QStringList texte = {
        anzahl,
        minLaenge,
        maxLaenge,
        mittel,
        summe,
        anzahl,
        Verbunden(s_, 84, "min.", 87, "Radius"),
        Verbunden(s_, 85, "max.", 87, "Radius"),
        minLaenge,
        maxLaenge,
        mittel,
        summe,
        anzahl,
        Verbunden(s_, 84, "min.", 83, "Durchmesser"),
        Verbunden(s_, 85, "max.", 83, "Durchmesser"),
        mittel,
        summe,
        Sprachtext(s_, 69, "Gesamtkontur"),
    };
    for (std::size_t i = 0; i < Beschriftungen.size(); ++i)
        Beschriftungen[i]->setText(texte[static_cast<qsizetype>(i)]);
    WarnDarstellung->setText(Sprachtext(s_, 164, "kurze Elemente zeigen"));
    AbweichungBeschriftung->setText(Sprachtext(s_, 27, "max. Abweichung"));
}

void StatistikFenster::WerteFuellen() {
    const auto felder = StatistikFelder(StatistikBerechnen(s_.speicher), s_.speicher.DezimalPunkt);
    for (std::size_t i = 0; i < felder.size() && i < Werte.size(); ++i)
        Werte[i]->setText(QString::fromStdString(felder[i].Wert));
    AbweichungWert->setText(QString::fromStdString(AbweichungText(s_, s_.speicher.DezimalPunkt)));
}

void StatistikFenster::WarnDarstellungGeaendert(bool an) {
    s_.einstellungen.WarnDarstellung = an ? 1 : 0;
    warnGeaendert_ = true;
}

} // namespace konturo
