// The drawing area: a persistent pixmap drawn on through Bildflaeche, shown with the rubber band.
#include "display/qt/GrafikFlaeche.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace konturo {

// Twips per pixel at 96 DPI: the coordinate system of the area before the first view is set.
constexpr double TwipsJePixel = 15.0;

GrafikFlaeche::GrafikFlaeche(QWidget* eltern) : QWidget(eltern) {
    setObjectName(QStringLiteral("Grafik"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    bild_ = QPixmap(1, 1);
    bild_.fill(Qt::black);
    ZielSetzen(&bild_);
}

// The painter must be closed while the pixmap still lives; the base class goes after it.
GrafikFlaeche::~GrafikFlaeche() { Beenden(); }

void GrafikFlaeche::Loeschen(std::int32_t farbe) {
    if (bild_.size() != size() && !size().isEmpty()) {
        ZielSetzen(nullptr);
        bild_ = QPixmap(size());
        ZielSetzen(&bild_);
    }
    Bildflaeche::Loeschen(farbe);
    update();
}

void GrafikFlaeche::Beschriften(const std::string& titel, const std::string& anzahl) {
    if (beschriftung) beschriftung(QString::fromStdString(titel), QString::fromStdString(anzahl));
}

void GrafikFlaeche::Anzeigen() {
    Beenden();
    update();
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
    Beenden();
    QPainter p(this);
    p.fillRect(rect(), FarbeAusRgb(Hintergrund()));
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
    ZielSetzen(nullptr);
    const QSize alt = bild_.size();
    QPixmap neu(size());
    neu.fill(FarbeAusRgb(Hintergrund()));
    {
        QPainter p(&neu);
        p.drawPixmap(0, 0, bild_);
    }
    bild_ = neu;
    ZielSetzen(&bild_);
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
