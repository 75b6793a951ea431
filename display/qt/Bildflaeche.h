// The QPainter side of the drawing-surface seam on a raster paint device: the main window's
// persistent QPixmap, or a QImage for the preview pictures of the command line.
#pragma once

#include "display/GrafikZeichnen.h"

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QPolygonF>

class QPaintDevice;

namespace konturo {

// An RGB value (red + 256 green + 65536 blue) as a colour.
QColor FarbeAusRgb(std::int32_t rgb);

class Bildflaeche : public Zeichenflaeche {
public:
    explicit Bildflaeche(QPaintDevice* ziel = nullptr);
    ~Bildflaeche() override;
    Bildflaeche(const Bildflaeche&) = delete;
    Bildflaeche& operator=(const Bildflaeche&) = delete;

    // The device drawn on. A painter still open on it is ended first, so the device may then be
    // replaced, resized or shown. The mapping follows the device's size at the next view.
    void ZielSetzen(QPaintDevice* ziel);
    QPaintDevice* Ziel() const { return ziel_; }

    void Loeschen(std::int32_t farbe) override;
    void Farbe(std::int32_t farbe) override;
    void Breite(int pixel) override;
    void Linie(float x1, float y1, float x2, float y2) override;
    void Punkt(float x, float y) override;
    void Kreis(float cx, float cy, float r) override;
    void Anzeigen() override { Beenden(); }

    // Draws what is still held back and ends the painter; the next drawing call opens a new one.
    void Beenden();

    // Pixel position to drawing units and back, in the current coordinate system.
    QPointF NachEinheiten(const QPointF& pixel) const;
    QPointF NachPixel(double x, double y) const;
    // The colour of the last clearing.
    std::int32_t Hintergrund() const { return hintergrund_; }
    void Hintergrund(std::int32_t farbe) { hintergrund_ = farbe; }

protected:
    void AnsichtGeaendert() override;

private:
    QPainter& Maler();
    // Consecutive segments of one colour (an arc's polyline) go out as one polyline.
    void ZugZeichnen();
    void StiftSetzen();
    double px(float x) const { return (x - links_) * sx_; }
    double py(float y) const { return (y - oben_) * sy_; }

    QPaintDevice* ziel_ = nullptr;
    QPainter maler_;
    QPolygonF zug_;
    std::int32_t farbe_ = 0;
    QColor qfarbe_{Qt::black};
    int breite_ = 1;
    std::int32_t hintergrund_ = 0;
    // Mapping of the coordinate system onto the device; twips at 96 DPI until a view is set.
    double links_ = 0, oben_ = 0, sx_ = 1.0 / 15.0, sy_ = 1.0 / 15.0;
};

} // namespace konturo
