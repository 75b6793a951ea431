// The GEO writer: the element store in the ToPs "#~" section format, a fixed header, a table of
// numbered points and LIN/ARC/CIR entries that refer to those points. The same bytes serve as a
// ".geo" drawing and a ".vlg" template.
#pragma once

#include "output/Ausgabe.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace konturo {

struct Sitzung;

// Two points closer than this (mm) are one point.
inline constexpr double PunktToleranz = 0.01;

struct GeoPunkt {
    double X = 0;
    double Y = 0;
    std::uint8_t Belegt = 0; // 1 once a later element end has matched the point
};

// The point table of one run (1-based). A point found by a search is shared by at most two
// element ends; only the newest `fenster` points are searched, newest first, first hit wins.
class GeoPunktTabelle {
public:
    // fenster: the search window, 10 x MaxKonturLaenge points.
    explicit GeoPunktTabelle(std::int64_t fenster);

    // The number of the point to use for (x, y). With suchen false a new point is always added.
    // Gives exactly the point of the literal newest-first window search, found through a grid of
    // cells four tolerances wide, so the cost does not grow with the window.
    std::int32_t PunktSuchen(double x, double y, bool suchen);
    // The literal search: every point of the window, newest first.
    std::int32_t PunktSuchenLinear(double x, double y, bool suchen);
    // Makes room for about `punkte` points in advance.
    void Reservieren(std::size_t punkte);

    std::int32_t AnzGeoPunkte() const { return anzahl_; }
    GeoPunkt operator[](std::int32_t k) const {
        const auto u = static_cast<std::size_t>(k);
        return {xy_[u].x, xy_[u].y, belegt_[u]};
    }

private:
    struct Ort {
        double x, y;
    };
    // One grid cell: its numbers and the newest point of its chain not yet known to be matched
    // (0 = none; -1 marks an unused slot of the hash table).
    struct Zelle {
        std::int32_t cx = 0;
        std::int32_t cy = 0;
        std::int32_t kopf = -1;
    };

    bool Passt(std::int32_t k, double x, double y) const;
    std::int32_t NeuerPunkt(double x, double y);
    std::int32_t GitterSuchen(double x, double y, std::int64_t unten);
    static std::int32_t ZellNr(double v);
    std::size_t SlotSuchen(std::int32_t cx, std::int32_t cy) const;
    Zelle* ZelleFinden(std::int32_t cx, std::int32_t cy);
    void ZelleEintragen(std::int32_t k);
    void GitterNeuAufbauen();

    std::int64_t fenster_;
    std::vector<Ort> xy_{Ort{0, 0}};
    std::vector<std::uint8_t> belegt_{0};    // 1 once a later element end has matched the point
    std::vector<std::int32_t> naechster_{0}; // next older point of the same cell
    std::int32_t anzahl_ = 0;
    // Only points of the window can still be found: the grid holds cells of those alone and is
    // rebuilt from them when it fills, so it stays as small as the window.
    std::vector<Zelle> zellen_;
    std::size_t belegteZellen_ = 0;
};

// The working tables of one run: the points, and the point numbers of the elements in store
// order (a line's start and end point; an arc's centre, start and end point; a circle's centre;
// nothing for other kinds), which the element section reads back while it walks the store again.
struct GeoTabellen {
    explicit GeoTabellen(std::int64_t fenster) : punkte(fenster) {}
    GeoPunktTabelle punkte;
    std::vector<std::int32_t> nummern;
};

enum class Punktsuche { Index, Linear };

// Builds the point table and the elements' point numbers from the store in store order.
GeoTabellen GeoAufbauen(Sitzung& s, Punktsuche suche = Punktsuche::Index);
// Writes header, point section and element section of the store t was built from; datum is the
// header's date line.
void GeoAusgeben(Sitzung& s, const GeoTabellen& t, std::ostream& aus, const std::string& datum);
// Today's date in the user's short date format (C library LC_TIME, "%x").
std::string KurzesDatum();

// GeoAufbauen and GeoAusgeben with today's date, hourglass on while it runs.
void GeoSchreiben(Sitzung& s, std::ostream& aus);
// The same into s.speicher.AusgabeDatei.
Schreibergebnis GeoSchreiben(Sitzung& s);

} // namespace konturo
