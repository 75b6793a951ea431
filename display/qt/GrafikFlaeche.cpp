// The drawing area: QPainter on a persistent pixmap, mapped from drawing units to pixels.
#include "display/qt/GrafikFlaeche.h"

#include <QMouseEvent>
#include <QPaintEvent>

#include <cmath>

namespace konturo {

// Twips per pixel at 96 DPI: the coordinate system of the area before the first view is set.
constexpr double TwipsJePixel = 15.0;

QColor FarbeAusRgb(std::int32_t rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

GrafikFlaeche::GrafikFlaeche(QWidget* eltern) : QWidget(eltern) {
    setObjectName(QStringLiteral("Grafik"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    bild_ = QPixmap(1, 1);
    bild_.fill(Qt::black);
}

QPainter& GrafikFlaeche::Maler() {
    if (!maler_.isActive()) {
        maler_.begin(&bild_);
        maler_.setRenderHint(QPainter::Antialiasing, false);
        StiftSetzen();
    }
    return maler_;
}

void GrafikFlaeche::MalerBeenden() {
    ZugZeichnen();
    if (maler_.isActive()) maler_.end();
}

void GrafikFlaeche::ZugZeichnen() {
    if (zug_.isEmpty()) return;
    if (zug_.size() == 2)
        Maler().drawLine(QLineF(zug_[0], zug_[1]));
    else
        Maler().drawPolyline(zug_);
    zug_.clear();
}

void GrafikFlaeche::StiftSetzen() {
    if (!maler_.isActive()) return;
    QPen stift(qfarbe_);
    stift.setWidth(breite_);
    stift.setCapStyle(Qt::FlatCap);
    maler_.setPen(stift);
    maler_.setBrush(Qt::NoBrush);
}

void GrafikFlaeche::AnsichtGeaendert() {
    const Ansicht& a = AktuelleAnsicht();
    links_ = a.Links;
    oben_ = a.Oben;
    sx_ = a.Breite != 0 ? bild_.width() / a.Breite : 1.0;
    sy_ = a.Hoehe != 0 ? bild_.height() / a.Hoehe : 1.0;
}

void GrafikFlaeche::Loeschen(std::int32_t farbe) {
    hintergrund_ = farbe;
    zug_.clear();
    MalerBeenden();
    if (bild_.size() != size() && !size().isEmpty()) bild_ = QPixmap(size());
    bild_.fill(FarbeAusRgb(farbe));
    update();
}

void GrafikFlaeche::Farbe(std::int32_t farbe) {
    if (farbe == farbe_) return;
    ZugZeichnen();
    farbe_ = farbe;
    qfarbe_ = FarbeAusRgb(farbe);
    StiftSetzen();
}

void GrafikFlaeche::Breite(int pixel) {
    if (pixel == breite_) return;
    ZugZeichnen();
    breite_ = pixel;
    StiftSetzen();
}

void GrafikFlaeche::Linie(float x1, float y1, float x2, float y2) {
    const QPointF a(px(x1), py(y1));
    const QPointF b(px(x2), py(y2));
    if (!zug_.isEmpty() && zug_.constLast() == a) {
        zug_.append(b);
        return;
    }
    ZugZeichnen();
    zug_ << a << b;
}

void GrafikFlaeche::Punkt(float x, float y) {
    // A point this far outside the area is not visible and would not fit a pixel position.
    constexpr double Weit = 1e8;
    if (!(std::abs(px(x)) < Weit && std::abs(py(y)) < Weit)) return;
    const int mx = static_cast<int>(std::lround(px(x)));
    const int my = static_cast<int>(std::lround(py(y)));
    const int versatz = (breite_ - 1) / 2;
    ZugZeichnen();
    Maler().fillRect(QRect(mx - versatz, my - versatz, breite_, breite_), qfarbe_);
}

void GrafikFlaeche::Kreis(float cx, float cy, float r) {
    ZugZeichnen();
    Maler().drawEllipse(QPointF(px(cx), py(cy)), std::abs(r * sx_), std::abs(r * sy_));
}

void GrafikFlaeche::Beschriften(const std::string& titel, const std::string& anzahl) {
    if (beschriftung) beschriftung(QString::fromStdString(titel), QString::fromStdString(anzahl));
}

void GrafikFlaeche::Anzeigen() {
    MalerBeenden();
    update();
}

QPointF GrafikFlaeche::NachEinheiten(const QPointF& pixel) const {
    return {links_ + pixel.x() / sx_, oben_ + pixel.y() / sy_};
}

QPointF GrafikFlaeche::NachPixel(double x, double y) const {
    return {(x - links_) * sx_, (y - oben_) * sy_};
}

void GrafikFlaeche::GummibandSetzen(std::optional<std::pair<QPointF, QPointF>> ecken,
                                    std::int32_t farbe) {
    band_ = std::move(ecken);
    bandFarbe_ = farbe;
    update();
}

void GrafikFlaeche::paintEvent(QPaintEvent*) {
    // The picture may be drawn on between two event passes of a long redraw: close that painter
    // first; the next drawing call opens a new one.
    MalerBeenden();
    QPainter p(this);
    p.fillRect(rect(), FarbeAusRgb(hintergrund_));
    p.drawPixmap(0, 0, bild_);
    if (band_) {
        const QPointF a = NachPixel(band_->first.x(), band_->first.y());
        const QPointF b = NachPixel(band_->second.x(), band_->second.y());
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(FarbeAusRgb(bandFarbe_), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(a, b).normalized());
    }
}

void GrafikFlaeche::resizeEvent(QResizeEvent*) {
    if (size().isEmpty()) return;
    MalerBeenden();
    const QSize alt = bild_.size();
    QPixmap neu(size());
    neu.fill(FarbeAusRgb(hintergrund_));
    {
        QPainter p(&neu);
        p.drawPixmap(0, 0, bild_);
    }
    bild_ = neu;
    if (AktuelleAnsicht().Breite == 0) {
        // Until the first view is set the area counts in twips, y downward.
        Zeichenflaeche::AnsichtSetzen(
            Ansicht{0, 0, width() * TwipsJePixel, height() * TwipsJePixel});
        return;
    }
    // The picture keeps its pixels until the next redraw; keep the scale with it so that pointer
    // positions still match what is shown.
    Ansicht a = AktuelleAnsicht();
    a.Breite *= static_cast<double>(width()) / alt.width();
    a.Hoehe *= static_cast<double>(height()) / alt.height();
    Zeichenflaeche::AnsichtSetzen(a);
}

void GrafikFlaeche::mousePressEvent(QMouseEvent* e) {
    if (maustaste) maustaste(e);
}

void GrafikFlaeche::mouseMoveEvent(QMouseEvent* e) {
    if (mausBewegung) mausBewegung(e);
}

void GrafikFlaeche::mouseReleaseEvent(QMouseEvent* e) {
    if (mausLosgelassen) mausLosgelassen(e);
}

void GrafikFlaeche::keyPressEvent(QKeyEvent*) {
    if (tasteGedrueckt) tasteGedrueckt();
}

} // namespace konturo
