// The element record, the element store with its bounding box, and the operations that clear,
// grow, extend and mirror it.
#pragma once

#include <cstdint>
#include <map>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

namespace konturo {

// Element kinds.
inline constexpr std::uint8_t Entfernt = 0; // removed duplicate (store only)
inline constexpr std::uint8_t Punkt = 1;    // sampled curve point (outline buffer only)
inline constexpr std::uint8_t Linie = 2;
inline constexpr std::uint8_t Bogen = 3;
inline constexpr std::uint8_t Kreis = 4;
inline constexpr std::uint8_t Textelement = 5; // template text (template array only)

// Colours are RGB values: red + 256 * green + 65536 * blue.
constexpr std::int32_t RGB(int r, int g, int b) { return r + 256 * g + 65536 * b; }
inline constexpr std::int32_t RahmenFarbe = RGB(254, 254, 254);

// Plain data of 56 bytes: arrays of millions of records are allocated, cleared and copied as raw
// memory. The text of a template's text element is kept beside the template array
// (Speicher::VorlageTexte).
struct GeoElement {
    std::uint8_t Typ = 0;
    double X1 = 0; // line: start x; arc, circle: centre x
    double Y1 = 0; // line: start y; arc, circle: centre y
    double X2 = 0; // line: end x; arc: start angle (radians)
    double Y2 = 0; // line: end y; arc: end angle (radians)
    double Radius = 0;
    std::int32_t KonturNr = 0;
    std::int32_t Farbe = 0;
};
static_assert(std::is_trivially_copyable_v<GeoElement> && sizeof(GeoElement) == 56);

// A record of the given kind: a line from (x1, y1) to (x2, y2); an arc or circle about (x1, y1)
// with start and end angle x2, y2 and the radius.
GeoElement NeuesElement(std::uint8_t typ, double x1, double y1, double x2, double y2,
                        double radius = 0, std::int32_t konturNr = 0, std::int32_t farbe = 0);

// A 1-based array of records with the capacity rules of the store: capacity starts at 1000 and
// grows by 1000 whenever the count passes capacity - 20. Index 0 holds no record.
// The records live in fixed blocks of raw memory, so growing never moves or copies the records
// already there, and a slot is made empty only when it is first used after growing or clearing:
// clearing costs nothing, and memory is touched only where records go.
class GeoFeld {
public:
    static constexpr std::int32_t Schritt = 1000;
    static constexpr std::int32_t Rand = 20;

    GeoFeld() { Zuruecksetzen(); }
    ~GeoFeld();
    GeoFeld(const GeoFeld& anderes);
    GeoFeld& operator=(const GeoFeld& anderes);
    GeoFeld(GeoFeld&& anderes) noexcept;
    GeoFeld& operator=(GeoFeld&& anderes) noexcept;

    std::int32_t Anzahl() const { return anzahl_; }
    std::int32_t Kapazitaet() const { return max_; }

    // Slots 0 to the capacity are valid; a slot past the count holds an empty record.
    GeoElement& operator[](std::int32_t i) {
        if (i >= konstruiert_) KonstruierenBis(i);
        return *Platz(i);
    }
    const GeoElement& operator[](std::int32_t i) const {
        if (i >= konstruiert_) KonstruierenBis(i);
        return *Platz(i);
    }

    // Discards all records; the slots are empty again and the capacity is kept.
    void Leeren();
    // Capacity back to its start value of 1000, array re-created empty.
    void Zuruecksetzen();
    // Capacity += 1000, records kept.
    void Vergroessern();
    // Appends a record (count + 1) and grows when the count passes capacity - 20.
    GeoElement& Anfuegen(const GeoElement& e) {
        const std::int32_t neu = anzahl_ + 1;
        if (neu != konstruiert_ || neu > max_ - Rand) return AnfuegenLangsam(e);
        anzahl_ = neu;
        ++konstruiert_;
        return *new (Platz(neu)) GeoElement(e);
    }
    // Back to the first n records; the slots behind them are empty again, the capacity is kept.
    void Kuerzen(std::int32_t n);
    // Drops records 1 to k; the rest move to the front in their order, the capacity is kept.
    void VorneEntfernen(std::int32_t k);

private:
    // A block fills 4 MiB, two huge pages, without a partly used page at its end.
    static constexpr std::size_t BlockBytes = std::size_t{4} << 20;
    static constexpr std::uint32_t BlockGroesse = BlockBytes / sizeof(GeoElement);

    GeoElement* Platz(std::int32_t i) const {
        const auto u = static_cast<std::uint32_t>(i);
        return bloecke_[u / BlockGroesse] + u % BlockGroesse;
    }
    GeoElement& AnfuegenLangsam(const GeoElement& e);
    // Allocates raw blocks until slot `index` exists.
    void BloeckeBis(std::int32_t index);
    // Writes empty records into the slots up to `index` (the slots are logically empty already).
    void KonstruierenBis(std::int32_t index) const;
    void Freigeben();

    std::vector<GeoElement*> bloecke_;
    mutable std::int32_t konstruiert_ = 0; // slots 0 .. konstruiert_ - 1 hold records
    std::int32_t anzahl_ = 0;
    std::int32_t max_ = Schritt;
};

// The process-wide geometry: element store, outline buffer, template array and bounding box.
struct Speicher {
    GeoFeld Elemente;     // ElementAnzahl = Elemente.Anzahl(), MaxElemente = Elemente.Kapazitaet()
    GeoFeld KonturPunkte; // outline buffer
    GeoFeld VorlageElemente;
    // The text of each template text element (kind Textelement) by its index in VorlageElemente.
    std::map<std::int32_t, std::string> VorlageTexte;
    std::vector<double> VorlagePunkteX{0.0}, VorlagePunkteY{0.0}; // 1-based template points

    double XMin = 0, XMax = 10, YMin = 0, YMax = 10;
    bool BoxNeu = true;

    std::int32_t AktElement = 0;
    std::string AusgabeDatei;
    bool DezimalPunkt = true;

    std::int32_t ElementAnzahl() const { return Elemente.Anzahl(); }
};

// pi as 4 * atan(1).
double Pi();

void ElementeLeeren(Speicher& s);
void KonturPunkteLeeren(Speicher& s);
void ElementeVergroessern(Speicher& s);
void KonturPunkteVergroessern(Speicher& s);
void BoxErweitern(Speicher& s, double x, double y);
// Bounding box back to its start-up values (0,0)-(10,10) with BoxNeu set.
void BoxZuruecksetzen(Speicher& s);
// Mirrors the whole store left to right about XMax; the box is left as it was.
void Spiegeln(Speicher& s);

// Sweep of a counter-clockwise arc from start to end angle (radians); an end not greater than
// the start passes through angle 0.
double Bogenwinkel(double start, double ende);
// Start and end point of an arc element.
double BogenStartX(const GeoElement& e);
double BogenStartY(const GeoElement& e);
double BogenEndeX(const GeoElement& e);
double BogenEndeY(const GeoElement& e);

// True when the user's number format (C library LC_NUMERIC, after setlocale) writes a decimal
// point: the single-precision value 1.3 formatted as text must not have "," as second character.
bool DezimalPunktErmitteln();

} // namespace konturo
