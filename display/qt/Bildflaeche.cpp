// QPainter on a raster paint device, mapped from drawing units to pixels.
#include "display/qt/Bildflaeche.h"

#include <QPaintDevice>
#include <QRect>

#include <cmath>

namespace konturo {

QColor FarbeAusRgb(std::int32_t rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

Bildflaeche::Bildflaeche(QPaintDevice* ziel) : ziel_(ziel) {}

Bildflaeche::~Bildflaeche() { Beenden(); }

void Bildflaeche::ZielSetzen(QPaintDevice* ziel) {
    Beenden();
    ziel_ = ziel;
}

QPainter& Bildflaeche::Maler() {
    if (!maler_.isActive() && ziel_ != nullptr) {
        maler_.begin(ziel_);
        maler_.setRenderHint(QPainter::Antialiasing, false);
        StiftSetzen();
    }
    return maler_;
}

void Bildflaeche::Beenden() {
    ZugZeichnen();
    if (maler_.isActive()) maler_.end();
}

void Bildflaeche::ZugZeichnen() {
    if (zug_.isEmpty()) return;
    QPainter& p = Maler();
    if (p.isActive()) {
        if (zug_.size() == 2)
            p.drawLine(QLineF(zug_[0], zug_[1]));
        else
            p.drawPolyline(zug_);
    }
    zug_.clear();
}

void Bildflaeche::StiftSetzen() {
    if (!maler_.isActive()) return;
    QPen stift(qfarbe_);
    stift.setWidth(breite_);
    stift.setCapStyle(Qt::FlatCap);
    maler_.setPen(stift);
    maler_.setBrush(Qt::NoBrush);
}

void Bildflaeche::AnsichtGeaendert() {
    const Ansicht& a = AktuelleAnsicht();
    const int breite = ziel_ != nullptr ? ziel_->width() : 0;
    const int hoehe = ziel_ != nullptr ? ziel_->height() : 0;
    links_ = a.Links;
    oben_ = a.Oben;
    sx_ = a.Breite != 0 ? breite / a.Breite : 1.0;
    sy_ = a.Hoehe != 0 ? hoehe / a.Hoehe : 1.0;
}

void Bildflaeche::Loeschen(std::int32_t farbe) {
    hintergrund_ = farbe;
    zug_.clear();
    if (ziel_ == nullptr) return;
    QPainter& p = Maler();
    if (!p.isActive()) return;
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(0, 0, ziel_->width(), ziel_->height()), FarbeAusRgb(farbe));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Bildflaeche::Farbe(std::int32_t farbe) {
    if (farbe == farbe_) return;
    ZugZeichnen();
    farbe_ = farbe;
    qfarbe_ = FarbeAusRgb(farbe);
    StiftSetzen();
}

void Bildflaeche::Breite(int pixel) {
    if (pixel == breite_) return;
    ZugZeichnen();
    breite_ = pixel;
    StiftSetzen();
}

void Bildflaeche::Linie(float x1, float y1, float x2, float y2) {
    const QPointF a(px(x1), py(y1));
    const QPointF b(px(x2), py(y2));
    if (!zug_.isEmpty() && zug_.constLast() == a) {
        zug_.append(b);
        return;
    }
    ZugZeichnen();
    zug_ << a << b;
}

void Bildflaeche::Punkt(float x, float y) {
    // A point this far outside the area is not visible and would not fit a pixel position.
    constexpr double Weit = 1e8;
    if (!(std::abs(px(x)) < Weit && std::abs(py(y)) < Weit)) return;
    const int mx = static_cast<int>(std::lround(px(x)));
    const int my = static_cast<int>(std::lround(py(y)));
    const int versatz = (breite_ - 1) / 2;
    ZugZeichnen();
    QPainter& p = Maler();
    if (p.isActive()) p.fillRect(QRect(mx - versatz, my - versatz, breite_, breite_), qfarbe_);
}

void Bildflaeche::Kreis(float cx, float cy, float r) {
    ZugZeichnen();
    QPainter& p = Maler();
    if (p.isActive()) p.drawEllipse(QPointF(px(cx), py(cy)), std::abs(r * sx_), std::abs(r * sy_));
}

QPointF Bildflaeche::NachEinheiten(const QPointF& pixel) const {
    return {links_ + pixel.x() / sx_, oben_ + pixel.y() / sy_};
}

QPointF Bildflaeche::NachPixel(double x, double y) const {
    return {(x - links_) * sx_, (y - oben_) * sy_};
}

} // namespace konturo
