// The drawing area Grafik: a persistent picture (QPixmap) that survives covering and resizing
// until the next redraw, the Qt side of the drawing-surface seam, and the rubber band of the zoom.
#pragma once

#include "display/GrafikZeichnen.h"

#include <QPainter>
#include <QPixmap>
#include <QPointF>
#include <QPolygonF>
#include <QWidget>

#include <functional>
#include <optional>

namespace konturo {

class GrafikFlaeche : public QWidget, public Zeichenflaeche {
    Q_OBJECT
public:
    explicit GrafikFlaeche(QWidget* eltern = nullptr);

    void Loeschen(std::int32_t farbe) override;
    void Farbe(std::int32_t farbe) override;
    void Breite(int pixel) override;
    void Linie(float x1, float y1, float x2, float y2) override;
    void Punkt(float x, float y) override;
    void Kreis(float cx, float cy, float r) override;
    void Beschriften(const std::string& titel, const std::string& anzahl) override;
    void Anzeigen() override;

    // Pixel position to drawing units and back, in the current coordinate system.
    QPointF NachEinheiten(const QPointF& pixel) const;
    QPointF NachPixel(double x, double y) const;
    // The rubber band between two corners in drawing units, drawn exclusive-or in a colour; empty
    // removes it.
    void GummibandSetzen(std::optional<std::pair<QPointF, QPointF>> ecken, std::int32_t farbe);
    const QPixmap& Bild() const { return bild_; }
    void Hintergrund(std::int32_t farbe) { hintergrund_ = farbe; }

    // Caption and element count of the redraw go to the window that owns the area.
    std::function<void(const QString& titel, const QString& anzahl)> beschriftung;
    // Pointer and key events, handed to the main window.
    std::function<void(QMouseEvent*)> maustaste;
    std::function<void(QMouseEvent*)> mausBewegung;
    std::function<void(QMouseEvent*)> mausLosgelassen;
    std::function<void()> tasteGedrueckt;

protected:
    void AnsichtGeaendert() override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPainter& Maler();
    void MalerBeenden();
    // Consecutive segments of one colour (an arc's polyline) go out as one polyline.
    void ZugZeichnen();
    void StiftSetzen();
    double px(float x) const { return (x - links_) * sx_; }
    double py(float y) const { return (y - oben_) * sy_; }

    QPixmap bild_;
    QPainter maler_;
    QPolygonF zug_;
    std::int32_t farbe_ = 0;
    QColor qfarbe_{Qt::black};
    int breite_ = 1;
    std::int32_t hintergrund_ = 0;
    // Mapping of the coordinate system onto the picture.
    double links_ = 0, oben_ = 0, sx_ = 1.0 / 15.0, sy_ = 1.0 / 15.0;
    std::optional<std::pair<QPointF, QPointF>> band_;
    std::int32_t bandFarbe_ = 0;
};

// An RGB value (red + 256 green + 65536 blue) as a colour.
QColor FarbeAusRgb(std::int32_t rgb);

} // namespace konturo
