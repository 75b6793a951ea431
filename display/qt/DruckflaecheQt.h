// The print surface on QPainter over a paged paint device: QPrinter for "Grafik drucken",
// QPdfWriter for the command line's preview pages.
#pragma once

#include "display/GrafikDrucken.h"

#include <QColor>
#include <QPainter>
#include <QPolygonF>

#include <functional>

class QPagedPaintDevice;

namespace konturo {

// Printer units are twips (1/1440 inch) whatever the device's resolution, so the margin of 300
// units is the same 5.3 mm on every printer and in every PDF.
inline constexpr double TwipsJeZoll = 1440.0;
// Width of the printed lines: thin, yet solid on paper and in a PDF viewer at any zoom.
inline constexpr double DruckStrichMm = 0.2;

class DruckflaecheQt : public Druckflaeche {
public:
    // Starts the document on geraet. fehlerfrei, when given, is asked at every page and at the end
    // whether the device still works (a printer's state).
    explicit DruckflaecheQt(QPagedPaintDevice& geraet, std::function<bool()> fehlerfrei = {});
    ~DruckflaecheQt() override;
    DruckflaecheQt(const DruckflaecheQt&) = delete;
    DruckflaecheQt& operator=(const DruckflaecheQt&) = delete;

    // False when the document could not be started (file not writable, printer not available).
    bool Begonnen() const { return begonnen_; }

    double SeitenBreite() const override;
    double SeitenHoehe() const override;
    void Linie(double x1, double y1, double x2, double y2, std::int32_t farbe) override;
    void Kreis(double cx, double cy, double r, std::int32_t farbe) override;
    void PositionSetzen(double x, double y) override;
    void LinieZu(double x, double y, std::int32_t farbe) override;
    bool NeueSeite() override;
    bool Beenden() override;

private:
    // Segments that continue one another in one colour go out as one polyline, so their corners
    // are joined instead of capped.
    void ZugZeichnen();
    void ZugFortsetzen(const QPointF& von, const QPointF& nach, std::int32_t farbe);
    void StiftSetzen(std::int32_t farbe);

    QPagedPaintDevice& geraet_;
    std::function<bool()> fehlerfrei_;
    QPainter maler_;
    bool begonnen_ = false;
    QPolygonF zug_;
    std::int32_t zugFarbe_ = 0;
    std::int32_t stiftFarbe_ = -1;
    QPointF position_;
};

} // namespace konturo
