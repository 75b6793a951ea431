// GEO writer: point table with shared end points, the fixed 52-line header, point and element
// sections. Coordinates are shifted so the box's lower-left corner is (0, 0).
#include "output/GEO_Ausgeben.h"

#include "app/Sitzung.h"
#include "output/Schreibpuffer.h"
#include "text/FontErzeugen.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace konturo {

namespace {

// |dx| below which the distance is computed at all.
constexpr double Vorfilter = 0.1;
// Grid cells 4 tolerances wide. A search looks at the cells under x +- 1.5 tolerances (y alike):
// the half tolerance of slack covers the rounding of x +- tolerance, and the span of 3
// tolerances never covers more than two cells per axis.
constexpr double Zellbreite = 4 * PunktToleranz;
constexpr double Suchweite = 1.5 * PunktToleranz;
// Cell numbers are clamped to 32 bits (about 86 km either side of the origin); points beyond
// share the border cells, which costs time but never a match.
constexpr double ZellGrenze = 2147483647.0;
// The newest points are compared one by one before the grid is asked: consecutive elements of a
// contour meet at one of them, and a hit there is the literal search's first hit.
constexpr std::int32_t Nahbereich = 4;

std::uint64_t Streuwert(std::int32_t cx, std::int32_t cy) {
    std::uint64_t h = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) |
                      static_cast<std::uint32_t>(cy);
    h *= 0x9E3779B97F4A7C15ULL;
    return h ^ (h >> 29);
}

} // namespace

GeoPunktTabelle::GeoPunktTabelle(std::int64_t fenster) : fenster_(fenster) { zellen_.resize(1024); }

void GeoPunktTabelle::Reservieren(std::size_t punkte) {
    xy_.reserve(punkte + 1);
    belegt_.reserve(punkte + 1);
    naechster_.reserve(punkte + 1);
}

bool GeoPunktTabelle::Passt(std::int32_t k, double x, double y) const {
    const auto u = static_cast<std::size_t>(k);
    const Ort& p = xy_[u];
    return belegt_[u] == 0 && std::fabs(x - p.x) < Vorfilter &&
           Abstand(x, y, p.x, p.y) < PunktToleranz;
}

std::int32_t GeoPunktTabelle::ZellNr(double v) {
    // Monotonic in v, so every point within the search span lies in a cell between the numbers
    // of its two ends.
    double c = std::floor(v / Zellbreite);
    if (c > ZellGrenze) c = ZellGrenze;
    if (c < -ZellGrenze) c = -ZellGrenze;
    return static_cast<std::int32_t>(c);
}

std::size_t GeoPunktTabelle::SlotSuchen(std::int32_t cx, std::int32_t cy) const {
    const std::size_t maske = zellen_.size() - 1;
    std::size_t i = static_cast<std::size_t>(Streuwert(cx, cy)) & maske;
    while (zellen_[i].kopf >= 0 && (zellen_[i].cx != cx || zellen_[i].cy != cy))
        i = (i + 1) & maske;
    return i;
}

GeoPunktTabelle::Zelle* GeoPunktTabelle::ZelleFinden(std::int32_t cx, std::int32_t cy) {
    Zelle& z = zellen_[SlotSuchen(cx, cy)];
    return z.kopf >= 0 ? &z : nullptr;
}

void GeoPunktTabelle::ZelleEintragen(std::int32_t k) {
    const Ort& p = xy_[static_cast<std::size_t>(k)];
    const std::int32_t cx = ZellNr(p.x), cy = ZellNr(p.y);
    Zelle& z = zellen_[SlotSuchen(cx, cy)];
    if (z.kopf < 0) {
        z.cx = cx;
        z.cy = cy;
        z.kopf = 0;
        ++belegteZellen_;
    }
    naechster_[static_cast<std::size_t>(k)] = z.kopf;
    z.kopf = k;
}

// The grid anew from the points a search after the next point can still find (the window only
// moves on), twice as large while they fill a quarter of it: the next rebuild then waits for a
// quarter of the grid in new cells, so its cost is spread thinly over the points.
void GeoPunktTabelle::GitterNeuAufbauen() {
    const std::int64_t unten = std::max<std::int64_t>(1, std::int64_t{anzahl_} - fenster_ + 2);
    std::size_t lebend = 0;
    for (std::int64_t k = unten; k <= anzahl_; ++k)
        lebend += belegt_[static_cast<std::size_t>(k)] == 0;
    std::size_t slots = zellen_.size();
    while (lebend * 4 >= slots) slots *= 2;
    zellen_.assign(slots, Zelle{});
    belegteZellen_ = 0;
    for (std::int64_t k = unten; k <= anzahl_; ++k) {
        const auto u = static_cast<std::size_t>(k);
        if (belegt_[u] == 0 && std::isfinite(xy_[u].x) && std::isfinite(xy_[u].y))
            ZelleEintragen(static_cast<std::int32_t>(k));
    }
}

std::int32_t GeoPunktTabelle::NeuerPunkt(double x, double y) {
    // A point with a non-finite coordinate can never be matched, so it stays out of the grid, as
    // do all points when nothing is ever searched.
    const bool insGitter = fenster_ > 0 && std::isfinite(x) && std::isfinite(y);
    // At most half full, so probe runs stay short.
    if (insGitter && (belegteZellen_ + 1) * 2 > zellen_.size()) GitterNeuAufbauen();
    ++anzahl_;
    xy_.push_back({x, y});
    belegt_.push_back(0);
    naechster_.push_back(0);
    if (insGitter) ZelleEintragen(anzahl_);
    return anzahl_;
}

std::int32_t GeoPunktTabelle::PunktSuchenLinear(double x, double y, bool suchen) {
    if (suchen) {
        for (std::int32_t k = anzahl_; k >= 1 && anzahl_ - k < fenster_; --k) {
            if (Passt(k, x, y)) {
                belegt_[static_cast<std::size_t>(k)] = 1;
                return k;
            }
        }
    }
    return NeuerPunkt(x, y);
}

// The newest eligible point at or above `unten` in the cells around (x, y); 0 when there is none.
std::int32_t GeoPunktTabelle::GitterSuchen(double x, double y, std::int64_t unten) {
    const std::int32_t x0 = ZellNr(x - Suchweite), x1 = ZellNr(x + Suchweite);
    const std::int32_t y0 = ZellNr(y - Suchweite), y1 = ZellNr(y + Suchweite);
    std::int32_t bester = 0;
    for (std::int64_t cx = x0; cx <= x1; ++cx) {
        for (std::int64_t cy = y0; cy <= y1; ++cy) {
            Zelle* z = ZelleFinden(static_cast<std::int32_t>(cx), static_cast<std::int32_t>(cy));
            if (!z) continue;
            // Each cell's chain runs newest first; matched points are unlinked when met, so a
            // spot shared by many ends is not rescanned on every search.
            std::int32_t vorher = 0;
            std::int32_t k = z->kopf;
            while (k > bester && k >= unten) {
                const std::size_t ku = static_cast<std::size_t>(k);
                if (belegt_[ku]) {
                    if (vorher == 0)
                        z->kopf = naechster_[ku];
                    else
                        naechster_[static_cast<std::size_t>(vorher)] = naechster_[ku];
                    k = naechster_[ku];
                    continue;
                }
                if (Passt(k, x, y)) {
                    bester = k;
                    break;
                }
                vorher = k;
                k = naechster_[ku];
            }
        }
    }
    return bester;
}

std::int32_t GeoPunktTabelle::PunktSuchen(double x, double y, bool suchen) {
    if (!suchen || fenster_ <= 0 || !std::isfinite(x) || !std::isfinite(y)) return NeuerPunkt(x, y);
    // The window holds the points k with anzahl_ - k < fenster_.
    const std::int64_t unten = std::max<std::int64_t>(1, std::int64_t{anzahl_} - fenster_ + 1);
    std::int32_t bester = 0;
    const std::int64_t nahEnde =
        std::max<std::int64_t>(unten, std::int64_t{anzahl_} - Nahbereich + 1);
    for (std::int64_t k = anzahl_; k >= nahEnde; --k) {
        if (Passt(static_cast<std::int32_t>(k), x, y)) {
            bester = static_cast<std::int32_t>(k);
            break;
        }
    }
    if (bester == 0) bester = GitterSuchen(x, y, unten);
    if (bester > 0) {
        belegt_[static_cast<std::size_t>(bester)] = 1;
        return bester;
    }
    return NeuerPunkt(x, y);
}

GeoTabellen GeoAufbauen(Sitzung& s, Punktsuche suche) {
    Speicher& sp = s.speicher;
    UiDienste& ui = *s.ui;
    GeoTabellen t(10 * static_cast<std::int64_t>(s.text.MaxKonturLaenge));
    const std::int32_t anzahl = sp.ElementAnzahl();
    // Lines and arcs bring two points, or three with an arc's centre; a point per element and a
    // half is what drawings of connected contours need.
    t.punkte.Reservieren(static_cast<std::size_t>(anzahl) * 3 / 2 + 16);
    t.nummern.reserve(static_cast<std::size_t>(anzahl) * 5 / 2 + 16);
    auto punkt = [&](double x, double y, bool suchen) {
        t.nummern.push_back(suche == Punktsuche::Index ? t.punkte.PunktSuchen(x, y, suchen)
                                                       : t.punkte.PunktSuchenLinear(x, y, suchen));
    };
    ui.FortschrittMaximum(anzahl);
    for (sp.AktElement = 1; sp.AktElement <= anzahl; ++sp.AktElement) {
        const GeoElement& e = sp.Elemente[sp.AktElement];
        switch (e.Typ) {
        case Linie:
            punkt(e.X1, e.Y1, true);
            punkt(e.X2, e.Y2, true);
            break;
        case Kreis:
            punkt(e.X1, e.Y1, false);
            break;
        case Bogen:
            punkt(e.X1, e.Y1, false);
            punkt(BogenStartX(e), BogenStartY(e), true);
            punkt(BogenEndeX(e), BogenEndeY(e), true);
            break;
        default:
            break;
        }
        if (sp.AktElement % 20 == 0)
            ui.FortschrittWert(static_cast<std::int32_t>(3 * std::int64_t{sp.AktElement} / 4));
    }
    return t;
}

namespace {

struct GeoZiel {
    Zeilenpuffer& aus;
    double xMin, yMin;

    // x, blank, y, then " 0": three values, z always 0, shifted by the box corner.
    void Koordinaten(double x, double y) {
        aus.GeoZahl(x - xMin);
        aus.Zeichen(' ');
        aus.GeoZahl(y - yMin);
        aus.Text(" 0");
        aus.ZeilenEnde();
    }
    void Nummer(std::int32_t n) {
        aus.Ganz(n);
        aus.ZeilenEnde();
    }
};

void Kopf(const Speicher& sp, GeoZiel& z, const std::string& datum) {
    Zeilenpuffer& a = z.aus;
    a.Zeile("#~1");
    a.Zeile("1.03");
    a.Zeile("1");
    a.Zeile(datum);
    z.Koordinaten(sp.XMin, sp.YMin);
    z.Koordinaten(sp.XMax, sp.YMax);
    a.Text("0.0\r\n"
           "0\r\n"
           "0.001\r\n"
           "0\r\n"
           "1\r\n"
           "##~~\r\n"
           "#~11\r\n"
           "\r\n\r\n\r\n\r\n"
           "*BELEGT*\r\n"
           "\r\n"
           "0.0\r\n"
           "\r\n\r\n\r\n"
           "1\r\n"
           "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
           "\r\n"
           "##~~\r\n"
           "#~END\r\n"
           "#~3\r\n"
           "\r\n"
           "LASER\r\n"
           "\r\n"
           "0 0 1\r\n"
           "1 0 0 0\r\n"
           "0 1 0 0\r\n"
           "0 0 1 0\r\n"
           "0 0 0 1\r\n");
    z.Koordinaten(sp.XMin, sp.YMin);
    z.Koordinaten(sp.XMax, sp.YMax);
    a.Text("0 0 0\r\n"
           "0.0\r\n"
           "0\r\n0\r\n0\r\n"
           "##~~\r\n");
}

// Colour line: with Ausgabenfarbe on, "1 0" for frame elements and "3 0" for the others;
// otherwise always "1 0".
std::string_view Farbzeile(const Sitzung& s, const GeoElement& e) {
    if (s.einstellungen.Ausgabenfarbe == 1 && e.Farbe != RahmenFarbe) return "3 0";
    return "1 0";
}

// One element entry; n walks the elements' point numbers (GeoTabellen::nummern).
void Eintrag(const Sitzung& s, const GeoElement& e, const std::int32_t*& n, GeoZiel& z) {
    Zeilenpuffer& a = z.aus;
    switch (e.Typ) {
    case Linie:
        a.Zeile("LIN");
        a.Zeile(Farbzeile(s, e));
        a.Ganz(n[0]);
        a.Zeichen(' ');
        z.Nummer(n[1]);
        a.Zeile("|~");
        n += 2;
        break;
    case Bogen:
        a.Zeile("ARC");
        a.Zeile(Farbzeile(s, e));
        a.Ganz(n[0]);
        a.Zeichen(' ');
        a.Ganz(n[1]);
        a.Zeichen(' ');
        z.Nummer(n[2]);
        a.Zeile("1");
        a.Zeile("|~");
        n += 3;
        break;
    case Kreis:
        a.Zeile("CIR");
        a.Zeile(Farbzeile(s, e));
        z.Nummer(n[0]);
        a.WertZeile(e.Radius, s.speicher.DezimalPunkt, true);
        a.Zeile("|~");
        n += 1;
        break;
    default:
        break;
    }
}

} // namespace

void GeoAusgeben(Sitzung& s, const GeoTabellen& t, std::ostream& aus, const std::string& datum) {
    const Speicher& sp = s.speicher;
    UiDienste& ui = *s.ui;
    Zeilenpuffer puffer(aus);
    GeoZiel z{puffer, sp.XMin, sp.YMin};
    Kopf(sp, z, datum);

    const std::int32_t anzPunkte = t.punkte.AnzGeoPunkte();
    ui.FortschrittMaximum(anzPunkte);
    puffer.Zeile("#~31");
    for (std::int32_t k = 1; k <= anzPunkte && !puffer.Fehler(); ++k) {
        const GeoPunkt p = t.punkte[k];
        puffer.Zeile("P");
        z.Nummer(k);
        z.Koordinaten(p.X, p.Y);
        puffer.Zeile("|~");
        if (k % 20 == 0)
            ui.FortschrittWert(static_cast<std::int32_t>((6 * std::int64_t{anzPunkte} + k) / 8));
    }
    puffer.Zeile("##~~");

    const std::int32_t anzahl = sp.ElementAnzahl();
    ui.FortschrittMaximum(anzahl);
    puffer.Zeile("#~32");
    const std::int32_t* n = t.nummern.data();
    for (std::int32_t i = 1; i <= anzahl && !puffer.Fehler(); ++i) {
        Eintrag(s, sp.Elemente[i], n, z);
        if (i % 20 == 0)
            ui.FortschrittWert(static_cast<std::int32_t>((7 * std::int64_t{anzahl} + i) / 8));
    }
    puffer.Text("##~~\r\n"
                "#~END\r\n"
                "#~EOF\r\n");
    puffer.Leeren();
    ui.FortschrittWert(0);
}

std::string KurzesDatum() {
    const std::time_t jetzt = std::time(nullptr);
    std::tm zeit{};
    localtime_r(&jetzt, &zeit);
    char text[128];
    const std::size_t n = std::strftime(text, sizeof text, "%x", &zeit);
    return std::string(text, n);
}

void GeoSchreiben(Sitzung& s, std::ostream& aus) {
    const Schreibanzeige anzeige(*s.ui);
    const GeoTabellen t = GeoAufbauen(s);
    GeoAusgeben(s, t, aus, KurzesDatum());
}

Schreibergebnis GeoSchreiben(Sitzung& s) {
    return InDateiSchreiben(s, [&s](std::ostream& aus) { GeoSchreiben(s, aus); });
}

} // namespace konturo
