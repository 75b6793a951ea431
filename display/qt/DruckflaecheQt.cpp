// QPainter on a paged paint device, scaled from twips to the device's pixels.
#include "display/qt/DruckflaecheQt.h"

#include "display/qt/Bildflaeche.h"

#include <QPagedPaintDevice>

#include <utility>

namespace konturo {

namespace {

constexpr double MmJeZoll = 25.4;

} // namespace

DruckflaecheQt::DruckflaecheQt(QPagedPaintDevice& geraet, std::function<bool()> fehlerfrei)
    : geraet_(geraet), fehlerfrei_(std::move(fehlerfrei)) {
    begonnen_ = maler_.begin(&geraet_);
    if (!begonnen_) return;
    maler_.setRenderHint(QPainter::Antialiasing, true);
    maler_.scale(geraet_.logicalDpiX() / TwipsJeZoll, geraet_.logicalDpiY() / TwipsJeZoll);
    maler_.setBrush(Qt::NoBrush);
}

DruckflaecheQt::~DruckflaecheQt() {
    if (maler_.isActive()) maler_.end();
}

double DruckflaecheQt::SeitenBreite() const {
    return geraet_.width() * TwipsJeZoll / geraet_.logicalDpiX();
}

double DruckflaecheQt::SeitenHoehe() const {
    return geraet_.height() * TwipsJeZoll / geraet_.logicalDpiY();
}

void DruckflaecheQt::StiftSetzen(std::int32_t farbe) {
    if (farbe == stiftFarbe_) return;
    stiftFarbe_ = farbe;
    QPen stift(FarbeAusRgb(farbe));
    stift.setWidthF(DruckStrichMm / MmJeZoll * TwipsJeZoll);
    stift.setCapStyle(Qt::RoundCap);
    stift.setJoinStyle(Qt::RoundJoin);
    maler_.setPen(stift);
}

void DruckflaecheQt::ZugZeichnen() {
    if (zug_.size() >= 2 && maler_.isActive()) {
        StiftSetzen(zugFarbe_);
        maler_.drawPolyline(zug_);
    }
    zug_.clear();
}

void DruckflaecheQt::ZugFortsetzen(const QPointF& von, const QPointF& nach, std::int32_t farbe) {
    if (zug_.isEmpty() || zug_.constLast() != von || farbe != zugFarbe_) {
        ZugZeichnen();
        zug_ << von;
        zugFarbe_ = farbe;
    }
    zug_ << nach;
    position_ = nach;
}

void DruckflaecheQt::Linie(double x1, double y1, double x2, double y2, std::int32_t farbe) {
    ZugFortsetzen(QPointF(x1, y1), QPointF(x2, y2), farbe);
}

void DruckflaecheQt::Kreis(double cx, double cy, double r, std::int32_t farbe) {
    ZugZeichnen();
    if (!maler_.isActive()) return;
    StiftSetzen(farbe);
    maler_.drawEllipse(QPointF(cx, cy), r, r);
}

void DruckflaecheQt::PositionSetzen(double x, double y) {
    ZugZeichnen();
    position_ = QPointF(x, y);
}

void DruckflaecheQt::LinieZu(double x, double y, std::int32_t farbe) {
    ZugFortsetzen(position_, QPointF(x, y), farbe);
}

bool DruckflaecheQt::NeueSeite() {
    ZugZeichnen();
    if (!maler_.isActive()) return false;
    return geraet_.newPage() && (!fehlerfrei_ || fehlerfrei_());
}

bool DruckflaecheQt::Beenden() {
    ZugZeichnen();
    if (!maler_.isActive()) return false;
    return maler_.end() && (!fehlerfrei_ || fehlerfrei_());
}

} // namespace konturo
