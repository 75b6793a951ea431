// The drawing area Grafik: a persistent picture (QPixmap) that survives covering and resizing
// until the next redraw, drawn on through Bildflaeche, and the rubber band of the zoom.
#pragma once

#include "display/qt/Bildflaeche.h"

#include <QPixmap>
#include <QPointF>
#include <QWidget>

#include <functional>
#include <optional>

namespace konturo {

class GrafikFlaeche : public QWidget, public Bildflaeche {
    Q_OBJECT
public:
    explicit GrafikFlaeche(QWidget* eltern = nullptr);
    ~GrafikFlaeche() override;

    // Clearing first brings the picture to the area's size.
    void Loeschen(std::int32_t farbe) override;
    void Beschriften(const std::string& titel, const std::string& anzahl) override;
    void Anzeigen() override;

    // The rubber band between two corners in drawing units, drawn exclusive-or in a colour; empty
    // removes it.
    void GummibandSetzen(std::optional<std::pair<QPointF, QPointF>> ecken, std::int32_t farbe);
    const QPixmap& Bild() const { return bild_; }

    // Caption and element count of the redraw go to the window that owns the area.
    std::function<void(const QString& titel, const QString& anzahl)> beschriftung;
    // Pointer and key events, handed to the main window.
    std::function<void(QMouseEvent*)> maustaste;
    std::function<void(QMouseEvent*)> mausBewegung;
    std::function<void(QMouseEvent*)> mausLosgelassen;
    std::function<void()> tasteGedrueckt;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPixmap bild_;
    std::optional<std::pair<QPointF, QPointF>> band_;
    std::int32_t bandFarbe_ = 0;
};

} // namespace konturo
