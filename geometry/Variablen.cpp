// Element store operations: clearing, growth, bounding box and mirroring.
#include "geometry/Variablen.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace konturo {

GeoElement NeuesElement(std::uint8_t typ, double x1, double y1, double x2, double y2, double radius,
                        std::int32_t konturNr, std::int32_t farbe) {
    GeoElement e;
    e.Typ = typ;
    e.X1 = x1;
    e.Y1 = y1;
    e.X2 = x2;
    e.Y2 = y2;
    e.Radius = radius;
    e.KonturNr = konturNr;
    e.Farbe = farbe;
    return e;
}

GeoFeld::~GeoFeld() { Freigeben(); }

GeoFeld::GeoFeld(const GeoFeld& anderes) { *this = anderes; }

GeoFeld& GeoFeld::operator=(const GeoFeld& anderes) {
    if (this == &anderes) return *this;
    Freigeben();
    max_ = anderes.max_;
    BloeckeBis(max_);
    for (std::int32_t i = 1; i <= anderes.anzahl_; ++i) Anfuegen(anderes[i]);
    max_ = anderes.max_;
    BloeckeBis(max_);
    return *this;
}

GeoFeld::GeoFeld(GeoFeld&& anderes) noexcept { *this = std::move(anderes); }

GeoFeld& GeoFeld::operator=(GeoFeld&& anderes) noexcept {
    if (this == &anderes) return *this;
    Freigeben();
    bloecke_ = std::move(anderes.bloecke_);
    konstruiert_ = anderes.konstruiert_;
    anzahl_ = anderes.anzahl_;
    max_ = anderes.max_;
    anderes.bloecke_.clear();
    anderes.konstruiert_ = 0;
    anderes.Zuruecksetzen();
    return *this;
}

void GeoFeld::Freigeben() {
    for (GeoElement* block : bloecke_) std::free(block);
    bloecke_.clear();
    konstruiert_ = 0;
    anzahl_ = 0;
}

void GeoFeld::BloeckeBis(std::int32_t index) {
    // Blocks are aligned to and sized in whole 2 MiB pages and offered to the kernel as huge-page
    // memory: first touches of millions of records then cost a few hundred page faults instead of
    // tens of thousands. Untouched parts of a block take no memory.
    constexpr std::size_t seite = std::size_t{2} << 20;
    constexpr std::size_t bytes = BlockBytes;
    const std::size_t noetig = static_cast<std::size_t>(index) / BlockGroesse + 1;
    while (bloecke_.size() < noetig) {
        void* roh = std::aligned_alloc(seite, bytes);
        if (!roh) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        madvise(roh, bytes, MADV_HUGEPAGE);
#endif
        bloecke_.push_back(static_cast<GeoElement*>(roh));
    }
}

void GeoFeld::KonstruierenBis(std::int32_t index) const {
    for (; konstruiert_ <= index; ++konstruiert_) new (Platz(konstruiert_)) GeoElement();
}

void GeoFeld::Leeren() { Kuerzen(0); }

void GeoFeld::Zuruecksetzen() {
    Freigeben();
    max_ = Schritt;
    BloeckeBis(max_);
}

void GeoFeld::Vergroessern() {
    max_ += Schritt;
    BloeckeBis(max_);
}

GeoElement& GeoFeld::AnfuegenLangsam(const GeoElement& e) {
    ++anzahl_;
    if (anzahl_ > max_) Vergroessern();
    GeoElement* platz = Platz(anzahl_);
    if (anzahl_ == konstruiert_) {
        new (platz) GeoElement(e);
        ++konstruiert_;
    } else {
        if (anzahl_ > konstruiert_) KonstruierenBis(anzahl_);
        *platz = e;
    }
    if (anzahl_ > max_ - Rand) Vergroessern();
    return *platz;
}

void GeoFeld::Kuerzen(std::int32_t n) {
    if (n >= anzahl_) return;
    anzahl_ = n;
    // The slots behind the count become empty again when they are next used.
    if (konstruiert_ > n + 1) konstruiert_ = n + 1;
}

void GeoFeld::VorneEntfernen(std::int32_t k) {
    if (k <= 0) return;
    if (k >= anzahl_) {
        Leeren();
        return;
    }
    for (std::int32_t i = 1; i + k <= anzahl_; ++i) (*this)[i] = (*this)[i + k];
    Kuerzen(anzahl_ - k);
}

double Pi() {
    static const double pi = 4.0 * std::atan(1.0);
    return pi;
}

void ElementeLeeren(Speicher& s) { s.Elemente.Leeren(); }
void KonturPunkteLeeren(Speicher& s) { s.KonturPunkte.Leeren(); }
void ElementeVergroessern(Speicher& s) { s.Elemente.Vergroessern(); }
void KonturPunkteVergroessern(Speicher& s) { s.KonturPunkte.Vergroessern(); }

void BoxErweitern(Speicher& s, double x, double y) {
    if (s.BoxNeu) {
        s.XMin = s.XMax = x;
        s.YMin = s.YMax = y;
        s.BoxNeu = false;
    }
    if (s.XMax < x) s.XMax = x;
    if (s.XMin > x) s.XMin = x;
    if (s.YMax < y) s.YMax = y;
    if (s.YMin > y) s.YMin = y;
}

void BoxZuruecksetzen(Speicher& s) {
    s.XMin = 0;
    s.YMin = 0;
    s.XMax = 10;
    s.YMax = 10;
    s.BoxNeu = true;
}

void Spiegeln(Speicher& s) {
    const double pi = Pi();
    for (std::int32_t i = 1; i <= s.Elemente.Anzahl(); ++i) {
        GeoElement& e = s.Elemente[i];
        switch (e.Typ) {
        case Linie:
            e.X1 = s.XMax - e.X1;
            e.X2 = s.XMax - e.X2;
            break;
        case Kreis:
            e.X1 = s.XMax - e.X1;
            break;
        case Bogen: {
            e.X1 = s.XMax - e.X1;
            double start = pi - e.Y2;
            double ende = pi - e.X2;
            if (start < 0) start += 2 * pi;
            if (ende < 0) ende += 2 * pi;
            e.X2 = start;
            e.Y2 = ende;
            break;
        }
        default:
            break;
        }
    }
}

double Bogenwinkel(double start, double ende) {
    return ende > start ? ende - start : ende + 2 * Pi() - start;
}

double BogenStartX(const GeoElement& e) { return e.X1 + e.Radius * std::cos(e.X2); }
double BogenStartY(const GeoElement& e) { return e.Y1 + e.Radius * std::sin(e.X2); }
double BogenEndeX(const GeoElement& e) { return e.X1 + e.Radius * std::cos(e.Y2); }
double BogenEndeY(const GeoElement& e) { return e.Y1 + e.Radius * std::sin(e.Y2); }

bool DezimalPunktErmitteln() {
    char puffer[32];
    std::snprintf(puffer, sizeof puffer, "%g", static_cast<double>(1.3f));
    return puffer[1] != ',';
}

} // namespace konturo
