// Outline curve approximation: glyph stream reading, spline sampling, the arc fitting pass and
// the circle constructions it is built on.
#include "text/FontErzeugen.h"

#include "app/Sitzung.h"
#include "text/GlyphGeraet.h"
#include "text/GlyphonBindung.h"
#include "text/Sparfitting.h"

#include <cmath>
#include <exception>
#include <new>
#include <utility>
#include <vector>

namespace konturo {

namespace {

// A glyph stream longer than this is taken as a fault of the library rather than an outline
// (the largest glyphs of real fonts need a few thousand entries).
constexpr std::int32_t MaxStromLaenge = 10'000'000;

// Lines shorter than this (outline units) carry no information and are not stored.
constexpr double MinLinienLaenge = 1e-8;

// A contour whose first and last point are this close (outline units) may be a full circle.
constexpr double KreisSchluss = 0.1;

bool Endlich(double a) { return std::isfinite(a); }

// Assigns only a finite value: an arithmetic fault leaves the previous content. True when it
// assigned.
bool Setzen(double& ziel, double wert) {
    if (!Endlich(wert)) return false;
    ziel = wert;
    return true;
}

// Division that reports a zero divisor or an overflow as NaN, so Setzen keeps the old value.
double Teilen(double a, double b) {
    if (b == 0.0) return std::nan("");
    return a / b;
}

void BoxPunkt(Speicher& sp, double x, double y) {
    if (Endlich(x) && Endlich(y)) BoxErweitern(sp, x, y);
}

double Platziert(double stift, double wert, double massstab) { return (stift + wert) * massstab; }

// The four arrays handed to Glyphon; the converter owns them and re-dimensions them between the
// two calls.
struct GlyphonFelder {
    std::vector<double> blank, x, y;
    std::vector<std::int16_t> art;
    GlyphonArray feldBlank{0, -1, GLYPHON_R8, nullptr};
    GlyphonArray feldX{0, -1, GLYPHON_R8, nullptr};
    GlyphonArray feldY{0, -1, GLYPHON_R8, nullptr};
    GlyphonArray feldArt{0, -1, GLYPHON_I2, nullptr};

    // Bounds 0..obergrenze, all elements zero.
    void Dimensionieren(std::int32_t obergrenze) {
        const auto n = static_cast<std::size_t>(obergrenze) + 1;
        blank.assign(n, 0.0);
        x.assign(n, 0.0);
        y.assign(n, 0.0);
        art.assign(n, 0);
        feldBlank = {0, obergrenze, GLYPHON_R8, blank.data()};
        feldX = {0, obergrenze, GLYPHON_R8, x.data()};
        feldY = {0, obergrenze, GLYPHON_R8, y.data()};
        feldArt = {0, obergrenze, GLYPHON_I2, art.data()};
    }

    std::int32_t Aufrufen(GlyphonFunktion f, void* dc, char32_t zeichen) {
        GlyphonArray* b = &feldBlank;
        GlyphonArray* px = &feldX;
        GlyphonArray* py = &feldY;
        GlyphonArray* pa = &feldArt;
        // The library keeps one running index per process: sessions on other threads (batch
        // runs of the command line) take turns.
        const std::lock_guard<std::mutex> sperre(GlyphonSperre());
        return f(dc, static_cast<std::uint32_t>(zeichen), &b, &px, &py, &pa);
    }
};

// Appends one outline record and extends the box by its placed start point.
void KonturPunktAnfuegen(Sitzung& s, std::uint8_t typ, double x1, double y1, double x2, double y2) {
    GeoElement e = NeuesElement(typ, x1, y1, x2, y2, 0, s.text.KonturZaehler);
    s.speicher.KonturPunkte.Anfuegen(e);
    BoxPunkt(s.speicher, Platziert(s.text.StiftX, x1, s.text.Massstab),
             Platziert(s.text.StiftY, y1, s.text.Massstab));
}

// Centre and radius of the circle through three points; false when there is none (collinear
// points or an overflow).
bool DreiPunkteKreis(double x1, double y1, double x2, double y2, double x3, double y3,
                     Kreisbogen& kb) {
    const double q1 = x1 * x1 + y1 * y1;
    const double a = (x2 * x2 + y2 * y2 - q1) / 2;
    const double b = (x3 * x3 + y3 * y3 - q1) / 2;
    const double dx2 = x2 - x1, dy2 = y2 - y1, dx3 = x3 - x1, dy3 = y3 - y1;
    const double nennerX = dy3 * dx2 - dx3 * dy2;
    const double nennerY = dx3 * dy2 - dy3 * dx2;
    if (nennerX == 0.0 || nennerY == 0.0) return false;
    const double mx = (a * dy3 - b * dy2) / nennerX;
    const double my = (a * dx3 - b * dx2) / nennerY;
    const double r = Abstand(x1, y1, mx, my);
    if (!Endlich(mx) || !Endlich(my) || !Endlich(r)) return false;
    kb.MX = mx;
    kb.MY = my;
    kb.Radius = r;
    return true;
}

// Which circle values a construction set; a value that did not come out finite keeps the one
// before it.
enum Kreiswert : unsigned {
    WertLetzter = 1, // LetzterRichtungswinkel
    WertMX = 2,
    WertMY = 4,
    WertRadius = 8,
    WertWinkel = 16, // start and end angle
    AlleWerte = 31,
};

// Centre and radius of the circle through A and B tangent at B to the direction alpha into kb.
unsigned TangentialKreis(Kreisbogen& kb, double ax, double ay, double bx, double by, double alpha) {
    double t = 0;
    if (alpha == Pi() / 2)
        t = SenkrechteSteigung;
    else
        Setzen(t, std::tan(alpha));
    const double mx = (ax + bx) / 2, my = (ay + by) / 2;
    double sehne = 0;
    if (ax == bx)
        sehne = SenkrechteSteigung;
    else
        Setzen(sehne, (ay - by) / (ax - bx));
    double k1 = 0;
    if (sehne == 0)
        k1 = -SenkrechteSteigung;
    else if (sehne != SenkrechteSteigung)
        Setzen(k1, -1 / sehne);
    double k2 = 0;
    if (t == 0)
        k2 = -999999999999.0;
    else if (t != SenkrechteSteigung)
        Setzen(k2, -1 / t);
    const double b1 = my - k1 * mx;
    const double b2 = by - k2 * bx;
    if (k1 == k2) k2 += 1e-10;
    unsigned gesetzt = 0;
    if (Setzen(kb.MX, Teilen(b2 - b1, k1 - k2))) gesetzt |= WertMX;
    if (Setzen(kb.MY, k1 * kb.MX + b1)) gesetzt |= WertMY;
    if (Setzen(kb.Radius, Abstand(bx, by, kb.MX, kb.MY))) gesetzt |= WertRadius;
    return gesetzt;
}

// Whether Richtungswinkel of this vector gives an angle of its own rather than the previous one.
bool RichtungBestimmt(double dx, double dy) {
    return std::isfinite(dx) && std::isfinite(dy) && (dx != 0 || dy != 0);
}

// The start and end angle of an arc construction, not yet computed: BogenWinkel is carried out
// only when an arc is emitted or its direction memory is read, since most candidate circles of
// the greedy split are discarded untested against their angles. Only constructions whose two
// directions are determined by their points are deferred, so the result does not depend on
// when it is computed.
struct Winkelauftrag {
    bool offen = false;
    bool letzterOffen = false; // its direction is still the newest LetzterRichtungswinkel
    double cx = 0, cy = 0, px = 0, py = 0, qx = 0, qy = 0;
};

} // namespace

// What the approximation of one glyph made of it in outline units, in emission order, and what
// of the state before it the result depended on.
struct GlyphAufzeichnung::Daten {
    enum class Art : std::uint8_t { Linie, Bogen, Kreis, Kasten };
    struct Ereignis {
        Art art;
        std::int32_t kontur; // contour number minus the contour counter before the glyph
        // Linie: x1 y1 x2 y2. Bogen: centre x, y, radius, start, end, then the arc's end points
        // of the buffer. Kreis: centre x, y, radius. Kasten: the radius the box width was
        // compared with, and 1 when the box was at least as wide.
        double w[9];
    };
    std::vector<Ereignis> ereignisse;
    std::int32_t konturen = 0;                     // contours read
    std::int32_t schrittMax = 0;                   // largest step count seen at a contour start
    bool punkte = false;                           // outline records that extended the box
    double minX = 0, maxX = 0, minY = 0, maxY = 0; // their start points
    unsigned gesetzt = 0; // circle values the pass set, with their last values
    Kreisbogen bogen;
    double letzter = 0;
};

GlyphAufzeichnung::GlyphAufzeichnung() = default;
GlyphAufzeichnung::~GlyphAufzeichnung() = default;
GlyphAufzeichnung::GlyphAufzeichnung(GlyphAufzeichnung&&) noexcept = default;
GlyphAufzeichnung& GlyphAufzeichnung::operator=(GlyphAufzeichnung&&) noexcept = default;

namespace {

// One approximation pass over the outline buffer. It can run in pieces while the buffer is still
// being filled (Laufen with ende false stops before a record whose iteration needs records not
// there yet) and then gives the same elements as one run over the whole buffer.
class Durchlauf {
public:
    Durchlauf(Sitzung& s, bool grafikModus)
        : s_(s), z_(s.text), kp_(s.speicher.KonturPunkte), par_(ParameterLesen(s)),
          n_(SchritteJeSegment(par_.SplineSchritt)), grafik_(grafikModus) {}

    // Approximates records from the current one on; with ende false only as far as the buffer
    // holds everything an iteration reads.
    void Laufen(bool ende);
    // Computes a deferred angle construction, leaving the state as the eager order would.
    void WinkelJetzt();

    // The pass starts from circle values that the import's reader may still change: an
    // iteration that would read one of them before setting it is undone and the pass waits for
    // the end of the reading (AnfangUebernehmen).
    void AnfangOffen() { anfangOffen_ = true; }
    // The reader's final circle values for those the pass has not set itself.
    void AnfangUebernehmen(const Textzustand& leser);

    // Notes every emission and box comparison into daten, and where the pass read circle values
    // it had not set itself (Abhaengig).
    void Aufzeichnen(GlyphAufzeichnung::Daten* daten, std::int32_t konturBasis) {
        auf_ = daten;
        konturBasis_ = konturBasis;
    }
    bool Abhaengig() const { return unbekanntGelesen_; }
    unsigned Gesetzt() const { return bekannt_; }
    // The recorded emissions placed at the current pen; false (nothing changed) when a box
    // comparison comes out otherwise now.
    bool Wiederholen(const GlyphAufzeichnung::Daten& daten, std::int32_t konturBasis);

    std::int32_t Position() const { return i_; }
    // The buffer lost its first k records.
    void Verschieben(std::int32_t k) { i_ -= k; }
    void GrafikModus(bool an) { grafik_ = an; }

private:
    double X(std::int32_t k) const { return kp_[k].X1; }
    double Y(std::int32_t k) const { return kp_[k].Y1; }
    double PX(double x) const { return Platziert(z_.StiftX, x, z_.Massstab); }
    double PY(double y) const { return Platziert(z_.StiftY, y, z_.Massstab); }

    struct Sicherung {
        std::int32_t elemente, i, schritt, naechsteMeldung;
        double xMin, xMax, yMin, yMax;
        bool boxNeu;
        Textzustand z;
        Winkelauftrag offen;
        unsigned bekannt;
    };
    Sicherung Sichern() const;
    void Zurueckholen(const Sicherung& sicherung);

    bool Vollstaendig(std::int32_t i) const;
    bool Schritt();
    bool Unterbrechen(std::int32_t i);
    bool VollkreisTest(std::int32_t f, std::int32_t& l);
    std::int32_t LaufApproximieren(std::int32_t i);
    bool Passt(std::int32_t von, std::int32_t bis) const;

    // The circle constructions of the pass: the public ones with the angles deferred and a note
    // of which circle values were set or read.
    bool DreiPunkte(std::int32_t a, std::int32_t b, std::int32_t c);
    void Tangential(std::int32_t a, std::int32_t b, double alpha);
    double Richtung(double px, double py, double qx, double qy);
    void WinkelSpaeter(double cx, double cy, double px, double py, double qx, double qy);
    void Gesetzt(unsigned werte) { bekannt_ |= werte; }
    void Gelesen(unsigned werte) {
        if ((bekannt_ & werte) != werte) unbekanntGelesen_ = true;
    }

    void LinieAusgeben(double x1, double y1, double x2, double y2, std::int32_t kontur);
    void PlatzierteLinie(double x1, double y1, double x2, double y2, std::int32_t kontur,
                         bool boxErweitern);
    void BogenAusgeben(std::int32_t von, std::int32_t bis, std::int32_t kontur);
    void KreisAusgeben(std::int32_t kontur);
    // The emissions in outline units, placed with the pen and scale of z_.
    void LiniePlatzieren(double x1, double y1, double x2, double y2, std::int32_t kontur);
    void BogenPlatzieren(const Kreisbogen& b, double vonX, double vonY, double bisX, double bisY,
                         std::int32_t kontur);
    void KreisPlatzieren(double mx, double my, double radius, std::int32_t kontur);
    void Notieren(GlyphAufzeichnung::Daten::Art art, std::int32_t kontur,
                  std::initializer_list<double> werte);

    Sitzung& s_;
    Textzustand& z_;
    GeoFeld& kp_;
    Approximationsparameter par_;
    std::int32_t n_;
    bool grafik_;

    std::int32_t i_ = 1;       // the next record
    std::int32_t schritt_ = 1; // steps since the last contour start (MaxKonturLaenge)
    std::int32_t naechsteMeldung_ = 10;
    Winkelauftrag offen_;

    GlyphAufzeichnung::Daten* auf_ = nullptr;
    std::int32_t konturBasis_ = 0;

    bool anfangOffen_ = false;
    unsigned bekannt_ = 0; // circle values the pass has set itself
    bool unbekanntGelesen_ = false;
    bool warten_ = false;
};

void Durchlauf::Laufen(bool ende) {
    while (!warten_ && i_ <= kp_.Anzahl()) {
        if (!ende && !Vollstaendig(i_)) return;
        if (!anfangOffen_) {
            if (!Schritt()) return;
            continue;
        }
        const Sicherung sicherung = Sichern();
        Schritt();
        if (unbekanntGelesen_) {
            // The read value is the reader's, known only when the reading is over.
            Zurueckholen(sicherung);
            warten_ = true;
            return;
        }
        if (bekannt_ == AlleWerte) anfangOffen_ = false;
    }
}

void Durchlauf::AnfangUebernehmen(const Textzustand& leser) {
    if (anfangOffen_) {
        if (!(bekannt_ & WertLetzter)) z_.LetzterRichtungswinkel = leser.LetzterRichtungswinkel;
        if (!(bekannt_ & WertMX)) z_.Bogen.MX = leser.Bogen.MX;
        if (!(bekannt_ & WertMY)) z_.Bogen.MY = leser.Bogen.MY;
        if (!(bekannt_ & WertRadius)) z_.Bogen.Radius = leser.Bogen.Radius;
        if (!(bekannt_ & WertWinkel)) {
            z_.Bogen.Start = leser.Bogen.Start;
            z_.Bogen.Ende = leser.Bogen.Ende;
        }
    }
    anfangOffen_ = false;
    warten_ = false;
}

Durchlauf::Sicherung Durchlauf::Sichern() const {
    const Speicher& sp = s_.speicher;
    return {sp.Elemente.Anzahl(),
            i_,
            schritt_,
            naechsteMeldung_,
            sp.XMin,
            sp.XMax,
            sp.YMin,
            sp.YMax,
            sp.BoxNeu,
            z_,
            offen_,
            bekannt_};
}

void Durchlauf::Zurueckholen(const Sicherung& sicherung) {
    Speicher& sp = s_.speicher;
    sp.Elemente.Kuerzen(sicherung.elemente);
    sp.XMin = sicherung.xMin;
    sp.XMax = sicherung.xMax;
    sp.YMin = sicherung.yMin;
    sp.YMax = sicherung.yMax;
    sp.BoxNeu = sicherung.boxNeu;
    z_ = sicherung.z;
    i_ = sicherung.i;
    schritt_ = sicherung.schritt;
    naechsteMeldung_ = sicherung.naechsteMeldung;
    offen_ = sicherung.offen;
    bekannt_ = sicherung.bekannt;
    unbekanntGelesen_ = false;
}

// Whether the buffer holds every record the iteration at i reads: a run needs its n + 1 points,
// the full-circle test at a contour start the whole contour (records are stored in contour order,
// so a later number in the last record ends it).
bool Durchlauf::Vollstaendig(std::int32_t i) const {
    const GeoElement& r = kp_[i];
    if (r.Typ != Punkt) return true;
    const std::int32_t anzahl = kp_.Anzahl();
    if (i + n_ > anzahl) return false;
    if (r.KonturNr == kp_[i - 1].KonturNr) return true;
    return kp_[anzahl].KonturNr != r.KonturNr || anzahl - i + 1 > MaxVollkreisLaenge;
}

// The iteration at record i_; false when the user aborted (the pass then ends).
bool Durchlauf::Schritt() {
    std::int32_t i = i_;
    ++schritt_;
    if (grafik_ && Unterbrechen(i)) {
        i_ = kp_.Anzahl() + 1;
        return false;
    }
    const GeoElement& r = kp_[i];
    // Slot 0 holds no record, so its contour number is the 0 the pass starts from.
    if (r.KonturNr != kp_[i - 1].KonturNr) {
        if (schritt_ > z_.MaxKonturLaenge) z_.MaxKonturLaenge = schritt_;
        if (auf_) auf_->schrittMax = std::max(auf_->schrittMax, schritt_);
        schritt_ = 1;
        std::int32_t l = i;
        if (r.Typ == Punkt && VollkreisTest(i, l)) {
            i_ = l + 1;
            return true;
        }
    }
    if (r.Typ == Linie)
        LinieAusgeben(r.X1, r.Y1, r.X2, r.Y2, r.KonturNr);
    else if (r.Typ == Punkt)
        i = LaufApproximieren(i);
    i_ = i + 1;
    return true;
}

// Progress every 10 records; true when the user asked to abort.
bool Durchlauf::Unterbrechen(std::int32_t i) {
    if (i < naechsteMeldung_) return false;
    naechsteMeldung_ = i + 10;
    s_.ui->FortschrittWert(i);
    if (s_.einstellungen.Unterbrechung == 1) s_.ui->EreignisseVerarbeiten();
    if (!s_.fenster.AbbruchWunsch) return false;
    s_.fenster.AbbruchWunsch = false;
    return true;
}

bool Durchlauf::VollkreisTest(std::int32_t f, std::int32_t& l) {
    const std::int32_t anzahl = kp_.Anzahl();
    l = f;
    while (l < anzahl && kp_[l + 1].KonturNr == kp_[f].KonturNr) {
        ++l;
        if (l - f + 1 > MaxVollkreisLaenge) return false;
    }
    const std::int32_t d = l - f;
    if (!DreiPunkte(f, f + d / 3, f + 2 * d / 3)) return false;
    // The box extent (output units) is compared with the radius (outline units) as they stand.
    const bool kasten = s_.speicher.XMax - s_.speicher.XMin >= z_.Bogen.Radius;
    if (auf_)
        Notieren(GlyphAufzeichnung::Daten::Art::Kasten, 0, {z_.Bogen.Radius, kasten ? 1.0 : 0.0});
    if (!kasten) return false;
    const double r = std::fabs(z_.Bogen.Radius);
    for (std::int32_t k = f + 1; k <= l; ++k) {
        if (std::fabs(r - Abstand(X(k), Y(k), z_.Bogen.MX, z_.Bogen.MY)) > par_.KreisToleranz)
            return false;
    }
    if (!(Abstand(X(f), Y(f), X(l), Y(l)) <= KreisSchluss)) return false;
    KreisAusgeben(kp_[f].KonturNr);
    return true;
}

// True when every point strictly between von and bis lies within the arc tolerance of the
// current circle.
bool Durchlauf::Passt(std::int32_t von, std::int32_t bis) const {
    for (std::int32_t k = von + 1; k < bis; ++k) {
        const double abw =
            std::fabs(Abstand(X(k), Y(k), z_.Bogen.MX, z_.Bogen.MY) - z_.Bogen.Radius);
        if (!(abw <= par_.Toleranz)) return false;
    }
    return true;
}

// KreisDurchDreiPunkte of records a, b, c; false (KeinKreis, circle kept) when there is none.
bool Durchlauf::DreiPunkte(std::int32_t a, std::int32_t b, std::int32_t c) {
    if (!DreiPunkteKreis(X(a), Y(a), X(b), Y(b), X(c), Y(c), z_.Bogen)) return false;
    Gesetzt(WertMX | WertMY | WertRadius);
    WinkelSpaeter(z_.Bogen.MX, z_.Bogen.MY, X(a), Y(a), X(c), Y(c));
    return true;
}

// KreisTangential of records a and b with the direction alpha at b.
void Durchlauf::Tangential(std::int32_t a, std::int32_t b, double alpha) {
    const unsigned gesetzt = TangentialKreis(z_.Bogen, X(a), Y(a), X(b), Y(b), alpha);
    // A value that kept its predecessor is read by what follows.
    Gelesen(~gesetzt & (WertMX | WertMY | WertRadius));
    Gesetzt(gesetzt);
    WinkelSpaeter(z_.Bogen.MX, z_.Bogen.MY, X(b), Y(b), X(a), Y(a));
}

double Durchlauf::Richtung(double px, double py, double qx, double qy) {
    if (RichtungBestimmt(qx - px, qy - py)) {
        // The angle replaces the direction memory of a deferred construction.
        offen_.letzterOffen = false;
        Gesetzt(WertLetzter);
    } else {
        if (offen_.offen && offen_.letzterOffen) WinkelJetzt();
        Gelesen(WertLetzter);
    }
    return Richtungswinkel(z_, px, py, qx, qy);
}

void Durchlauf::WinkelSpaeter(double cx, double cy, double px, double py, double qx, double qy) {
    Gesetzt(WertWinkel);
    if (RichtungBestimmt(px - cx, py - cy) && RichtungBestimmt(qx - cx, qy - cy)) {
        offen_ = {true, true, cx, cy, px, py, qx, qy};
        Gesetzt(WertLetzter);
        return;
    }
    // A direction of its own may fall back on the memory: the construction before comes first.
    if (offen_.offen && offen_.letzterOffen) WinkelJetzt();
    offen_.offen = false;
    Gelesen(WertLetzter);
    BogenWinkel(z_, cx, cy, px, py, qx, qy);
}

void Durchlauf::WinkelJetzt() {
    if (!offen_.offen) return;
    const double letzter = z_.LetzterRichtungswinkel;
    BogenWinkel(z_, offen_.cx, offen_.cy, offen_.px, offen_.py, offen_.qx, offen_.qy);
    if (!offen_.letzterOffen) z_.LetzterRichtungswinkel = letzter;
    offen_.offen = false;
}

// Replaces one run of n + 1 sample points by arcs; returns the run's last record.
std::int32_t Durchlauf::LaufApproximieren(std::int32_t i) {
    const std::int32_t kontur = kp_[i].KonturNr;
    std::int32_t s = i;
    // A run cut short by the end of the buffer (malformed input) is fitted as far as it goes.
    const std::int32_t e = std::min(i + n_, kp_.Anzahl());
    const std::int32_t laenge = e - s;
    const std::int32_t mitte = s + laenge / 2;

    if (DreiPunkte(s, mitte, e) && Passt(s, e)) {
        BogenAusgeben(s, e, kontur);
        return e;
    }

    // Greedy split: grow an arc tangent to the chord direction at its end point until it leaves
    // the tolerance or covers half the run.
    const double halbLauf = laenge / 2.0;
    std::int32_t m = s + 2;
    while (m < e) {
        const double a = Richtung(X(m - 1), Y(m - 1), X(m + 1), Y(m + 1));
        Tangential(s, m, a);
        const bool kandidatPasst = Passt(s, m);
        if (m > s + halbLauf || !kandidatPasst) {
            BogenAusgeben(s, m, kontur);
            s = m;
        }
        ++m;
        if (e - m < 2) m = e;
    }

    if (X(e) == X(s) && Y(e) == Y(s)) return e;
    const double a = Richtung(X(s + 1), Y(s + 1), X(s - 1), Y(s - 1));
    Tangential(e, s, a);
    BogenAusgeben(s, e, kontur);
    return e;
}

void Durchlauf::Notieren(GlyphAufzeichnung::Daten::Art art, std::int32_t kontur,
                         std::initializer_list<double> werte) {
    GlyphAufzeichnung::Daten::Ereignis e{art, kontur - konturBasis_, {}};
    std::copy(werte.begin(), werte.end(), e.w);
    auf_->ereignisse.push_back(e);
}

void Durchlauf::LinieAusgeben(double x1, double y1, double x2, double y2, std::int32_t kontur) {
    if (x1 == x2 && y1 == y2) return;
    if (!(Abstand(x1, y1, x2, y2) >= MinLinienLaenge)) return;
    if (auf_) Notieren(GlyphAufzeichnung::Daten::Art::Linie, kontur, {x1, y1, x2, y2});
    LiniePlatzieren(x1, y1, x2, y2, kontur);
}

void Durchlauf::LiniePlatzieren(double x1, double y1, double x2, double y2, std::int32_t kontur) {
    PlatzierteLinie(PX(x1), PY(y1), PX(x2), PY(y2), kontur, true);
}

void Durchlauf::PlatzierteLinie(double x1, double y1, double x2, double y2, std::int32_t kontur,
                                bool boxErweitern) {
    if (!Endlich(x1) || !Endlich(y1) || !Endlich(x2) || !Endlich(y2)) return;
    if (x1 == x2 && y1 == y2) return;
    const std::int32_t farbe = Abstand(x1, y1, x2, y2) < par_.WarnLaenge ? par_.WarnFarbe : 0;
    s_.speicher.Elemente.Anfuegen(NeuesElement(Linie, x1, y1, x2, y2, 0, kontur, farbe));
    if (boxErweitern) {
        BoxPunkt(s_.speicher, x1, y1);
        BoxPunkt(s_.speicher, x2, y2);
    }
}

void Durchlauf::BogenAusgeben(std::int32_t von, std::int32_t bis, std::int32_t kontur) {
    WinkelJetzt();
    const Kreisbogen& b = z_.Bogen;
    if (auf_)
        Notieren(GlyphAufzeichnung::Daten::Art::Bogen, kontur,
                 {b.MX, b.MY, b.Radius, b.Start, b.Ende, X(von), Y(von), X(bis), Y(bis)});
    BogenPlatzieren(b, X(von), Y(von), X(bis), Y(bis), kontur);
}

void Durchlauf::BogenPlatzieren(const Kreisbogen& b, double vonX, double vonY, double bisX,
                                double bisY, std::int32_t kontur) {
    const double r = b.Radius * z_.Massstab;
    const double mx = PX(b.MX);
    const double my = PY(b.MY);
    double start = b.Start;
    double ende = b.Ende;
    if (!Endlich(r) || !Endlich(mx) || !Endlich(my) || !Endlich(start) || !Endlich(ende)) return;

    if (r > par_.MaxRadius) {
        PlatzierteLinie(PX(vonX), PY(vonY), PX(bisX), PY(bisY), kontur, false);
    } else {
        if (ende - start > Pi()) std::swap(start, ende);
        GeoElement e = NeuesElement(Bogen, mx, my, start, ende, r, kontur);
        const double grad = 180.0 / Pi();
        e.Farbe = Bogenlaenge(start * grad, ende * grad, r) < par_.WarnLaenge ? par_.WarnFarbe : 0;
        s_.speicher.Elemente.Anfuegen(e);
    }
    BoxPunkt(s_.speicher, mx + r * std::cos(b.Start), my + r * std::sin(b.Start));
    BoxPunkt(s_.speicher, mx + r * std::cos(b.Ende), my + r * std::sin(b.Ende));
}

void Durchlauf::KreisAusgeben(std::int32_t kontur) {
    const Kreisbogen& b = z_.Bogen;
    if (auf_) Notieren(GlyphAufzeichnung::Daten::Art::Kreis, kontur, {b.MX, b.MY, b.Radius});
    KreisPlatzieren(b.MX, b.MY, b.Radius, kontur);
}

void Durchlauf::KreisPlatzieren(double mx0, double my0, double radius, std::int32_t kontur) {
    const double r = std::fabs(radius) * z_.Massstab;
    const double mx = PX(mx0);
    const double my = PY(my0);
    if (!Endlich(r) || !Endlich(mx) || !Endlich(my) || r > par_.MaxRadius) return;
    s_.speicher.Elemente.Anfuegen(NeuesElement(Kreis, mx, my, 0, 0, r, kontur));
    // A circle reaches centre +- radius; without this a circle on the outside of the drawing
    // would stick out of the box that limits, origin and frame are taken from.
    BoxPunkt(s_.speicher, mx - r, my - r);
    BoxPunkt(s_.speicher, mx + r, my + r);
}

bool Durchlauf::Wiederholen(const GlyphAufzeichnung::Daten& daten, std::int32_t konturBasis) {
    using Art = GlyphAufzeichnung::Daten::Art;
    const Sicherung sicherung = Sichern();
    for (const auto& e : daten.ereignisse) {
        const double* w = e.w;
        const std::int32_t kontur = konturBasis + e.kontur;
        switch (e.art) {
        case Art::Linie:
            LiniePlatzieren(w[0], w[1], w[2], w[3], kontur);
            break;
        case Art::Bogen:
            BogenPlatzieren({w[0], w[1], w[2], w[3], w[4]}, w[5], w[6], w[7], w[8], kontur);
            break;
        case Art::Kreis:
            KreisPlatzieren(w[0], w[1], w[2], kontur);
            break;
        case Art::Kasten:
            if ((s_.speicher.XMax - s_.speicher.XMin >= w[0]) != (w[1] == 1.0)) {
                Zurueckholen(sicherung);
                return false;
            }
            break;
        }
    }
    return true;
}

} // namespace

Approximationsparameter ParameterLesen(const Sitzung& s) {
    const Einstellungen& e = s.einstellungen;
    Approximationsparameter p;
    const bool einLinie = e.SingleLineModus == 1;
    p.SplineSchritt = einLinie ? 0.02 : e.SplineT;
    p.Toleranz = einLinie ? 10.0 : e.Toleranz;
    p.KreisToleranz = e.KreisToleranz;
    p.MaxRadius = e.maxRadius;
    p.WarnLaenge = e.WarnLaenge;
    p.WarnFarbe = e.ElementWarnFarbe;
    return p;
}

std::int32_t SchritteJeSegment(double splineSchritt) {
    // A step outside (0.001, 1] would sample nothing or without bound; it is held to that range.
    if (!(splineSchritt >= 0.001)) splineSchritt = 0.001;
    if (splineSchritt > 1.0) splineSchritt = 1.0;
    return static_cast<std::int32_t>(std::lround(1.0 / splineSchritt));
}

void SplineTeilen(Sitzung& s, double x0, double y0, double x1, double y1, double x2, double y2) {
    double schritt = ParameterLesen(s).SplineSchritt;
    const std::int32_t n = SchritteJeSegment(schritt);
    if (!(schritt >= 0.001 && schritt <= 1.0)) schritt = 1.0 / n;
    const double ax = x0 - 2 * x1 + x2, ay = y0 - 2 * y1 + y2;
    const double bx = 2 * x1 - 2 * x0, by = 2 * y1 - 2 * y0;
    double t = 0.0;
    for (std::int32_t k = 0; k <= n; ++k) {
        KonturPunktAnfuegen(s, Punkt, ax * t * t + bx * t + x0, ay * t * t + by * t + y0, 0, 0);
        t += schritt;
    }
}

bool GlyphStromLesen(Sitzung& s, const double* x, const double* y, const std::int16_t* art,
                     std::int32_t anzahl) {
    if (anzahl < 1 || art[1] != GlyphKonturStart) return true;
    double lx = 0, ly = 0;
    for (std::int32_t i = 1; i <= anzahl; ++i) {
        switch (art[i]) {
        case GlyphKonturStart:
            ++s.text.KonturZaehler;
            if (++i > anzahl) return false;
            lx = x[i];
            ly = y[i];
            break;
        case GlyphLinie: {
            if (i + 2 > anzahl) return false;
            const std::int32_t k = -art[i + 1];
            i += 2;
            if (k < 0 || i + k - 1 > anzahl) return false;
            for (std::int32_t j = 0; j < k; ++j, ++i) {
                KonturPunktAnfuegen(s, Linie, lx, ly, x[i], y[i]);
                lx = x[i];
                ly = y[i];
            }
            --i;
            break;
        }
        case GlyphSpline: {
            if (i + 2 > anzahl) return false;
            const std::int32_t k = -art[i + 1];
            i += 2;
            if (k < 0 || i + k - 1 > anzahl) return false;
            for (std::int32_t j = 1; j <= k - 1; ++j, ++i) {
                const double px = x[i], py = y[i];
                const double qx = j < k - 1 ? (x[i] + x[i + 1]) / 2 : x[i + 1];
                const double qy = j < k - 1 ? (y[i] + y[i + 1]) / 2 : y[i + 1];
                SplineTeilen(s, lx, ly, px, py, qx, qy);
                lx = qx;
                ly = qy;
            }
            --i;
            break;
        }
        case GlyphKonturEnde:
            if (++i > anzahl) return false;
            if (x[i] != lx || y[i] != ly) KonturPunktAnfuegen(s, Linie, lx, ly, x[i], y[i]);
            break;
        default:
            break;
        }
    }
    return true;
}

namespace {

// Glyphon's stream of zeichen into felder (entries 1..anzahl); language text 125 when the library
// cannot be bound or called or the stream has no plausible size.
bool StromHolen(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen, GlyphonFelder& felder,
                std::int32_t& anzahl, bool melden = true) {
    const auto fehler = [&] {
        if (melden) s.Melden(125);
        return false;
    };
    GlyphonFunktion funktion = GlyphonBinden();
    void* dc = geraet.Handle();
    if (funktion == nullptr || dc == nullptr) return fehler();
    try {
        anzahl = felder.Aufrufen(funktion, dc, zeichen);
        if (anzahl < 1 || anzahl > MaxStromLaenge) return fehler();
        felder.Dimensionieren(anzahl);
        if (felder.Aufrufen(funktion, dc, zeichen) != anzahl) return fehler();
    } catch (const std::exception&) {
        return fehler();
    }
    return true;
}

} // namespace

bool GlyphEinlesen(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen) {
    GlyphonFelder felder;
    std::int32_t anzahl = 0;
    if (!StromHolen(s, geraet, zeichen, felder, anzahl)) return false;
    try {
        if (GlyphStromLesen(s, felder.x.data(), felder.y.data(), felder.art.data(), anzahl))
            return true;
        s.Melden(126);
    } catch (const std::exception&) {
        s.Melden(126);
    }
    return false;
}

bool GlyphUmrissHolen(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen, double massstab,
                      Umriss& umriss, std::int32_t& konturen, bool melden) {
    umriss.Leeren();
    konturen = 0;
    GlyphonFelder felder;
    std::int32_t anzahl = 0;
    if (!StromHolen(s, geraet, zeichen, felder, anzahl, melden)) return false;
    try {
        konturen = GlyphUmrissLesen(felder.x.data(), felder.y.data(), felder.art.data(), anzahl, 0,
                                    0, 0, massstab, umriss);
        return true;
    } catch (const std::exception&) {
        umriss.Leeren();
        konturen = 0;
        if (melden) s.Melden(126);
        return false;
    }
}

void GlyphUmwandeln(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen,
                    GlyphAufzeichnung& aufzeichnung) {
    aufzeichnung.daten.reset();
    auto daten = std::make_unique<GlyphAufzeichnung::Daten>();
    Textzustand& z = s.text;
    const std::int32_t basis = z.KonturZaehler;
    bool wiederholbar = GlyphEinlesen(s, geraet, zeichen);
    daten->konturen = z.KonturZaehler - basis;
    const GeoFeld& kp = s.speicher.KonturPunkte;
    for (std::int32_t i = 1; i <= kp.Anzahl(); ++i) {
        const GeoElement& r = kp[i];
        daten->minX = daten->punkte ? std::min(daten->minX, r.X1) : r.X1;
        daten->maxX = daten->punkte ? std::max(daten->maxX, r.X1) : r.X1;
        daten->minY = daten->punkte ? std::min(daten->minY, r.Y1) : r.Y1;
        daten->maxY = daten->punkte ? std::max(daten->maxY, r.Y1) : r.Y1;
        daten->punkte = true;
    }
    try {
        Durchlauf d(s, false);
        d.Aufzeichnen(daten.get(), basis);
        d.Laufen(true);
        d.WinkelJetzt();
        wiederholbar = wiederholbar && !d.Abhaengig();
        daten->gesetzt = d.Gesetzt();
    } catch (const std::exception&) {
        s.Melden(127);
        s.ui->BereitSetzen();
        wiederholbar = false;
    }
    daten->bogen = z.Bogen;
    daten->letzter = z.LetzterRichtungswinkel;
    KonturPunkteLeeren(s.speicher);
    if (wiederholbar) aufzeichnung.daten = std::move(daten);
}

bool GlyphWiederholen(Sitzung& s, const GlyphAufzeichnung& aufzeichnung) {
    if (!aufzeichnung.daten) return false;
    const GlyphAufzeichnung::Daten& d = *aufzeichnung.daten;
    Textzustand& z = s.text;
    Speicher& sp = s.speicher;
    if (sp.BoxNeu || !Endlich(z.Massstab) || z.Massstab == 0) return false;
    const double xMin = sp.XMin, xMax = sp.XMax, yMin = sp.YMin, yMax = sp.YMax;
    if (d.punkte) {
        // The box takes every record's placed start point; placing is monotonic in the point,
        // so the two placed extremes extend it alike.
        const double x1 = Platziert(z.StiftX, d.minX, z.Massstab);
        const double x2 = Platziert(z.StiftX, d.maxX, z.Massstab);
        const double y1 = Platziert(z.StiftY, d.minY, z.Massstab);
        const double y2 = Platziert(z.StiftY, d.maxY, z.Massstab);
        if (!Endlich(x1) || !Endlich(x2) || !Endlich(y1) || !Endlich(y2)) return false;
        BoxErweitern(sp, std::min(x1, x2), std::min(y1, y2));
        BoxErweitern(sp, std::max(x1, x2), std::max(y1, y2));
    }
    Durchlauf durchlauf(s, false);
    if (!durchlauf.Wiederholen(d, z.KonturZaehler)) {
        sp.XMin = xMin;
        sp.XMax = xMax;
        sp.YMin = yMin;
        sp.YMax = yMax;
        return false;
    }
    z.KonturZaehler += d.konturen;
    z.MaxKonturLaenge = std::max(z.MaxKonturLaenge, d.schrittMax);
    if (d.gesetzt & WertLetzter) z.LetzterRichtungswinkel = d.letzter;
    if (d.gesetzt & WertMX) z.Bogen.MX = d.bogen.MX;
    if (d.gesetzt & WertMY) z.Bogen.MY = d.bogen.MY;
    if (d.gesetzt & WertRadius) z.Bogen.Radius = d.bogen.Radius;
    if (d.gesetzt & WertWinkel) {
        z.Bogen.Start = d.bogen.Start;
        z.Bogen.Ende = d.bogen.Ende;
    }
    return true;
}

void KonturApproximieren(Sitzung& s, bool grafikModus) {
    try {
        Durchlauf d(s, grafikModus);
        d.Laufen(true);
        d.WinkelJetzt();
    } catch (const std::exception&) {
        s.Melden(127);
        s.ui->BereitSetzen();
    }
}

struct KonturStrom::Zustand {
    explicit Zustand(Sitzung& s) : durchlauf(s, false) {}
    Durchlauf durchlauf;
};

KonturStrom::KonturStrom(Sitzung& s)
    : s_(s), kp_(s.speicher.KonturPunkte), zustand_(std::make_unique<Zustand>(s)) {}

void KonturStrom::AnfangOffen() { zustand_->durchlauf.AnfangOffen(); }

KonturStrom::~KonturStrom() = default;

void KonturStrom::Weiter() {
    if (fehler_) return;
    Durchlauf& d = zustand_->durchlauf;
    try {
        d.Laufen(false);
    } catch (const std::exception&) {
        // Reported once the reading is over, where the whole-buffer pass would report it.
        fehler_ = true;
        return;
    }
    // The record before the next one stays: an iteration reads its predecessor. Records are
    // dropped only once they are at least half of the buffer, so each is moved at most once on
    // average.
    const std::int32_t fertig = d.Position() - 2;
    if (fertig > 0 && fertig >= kp_.Anzahl() / 2) {
        kp_.VorneEntfernen(fertig);
        d.Verschieben(fertig);
    }
    schwelle_ = kp_.Anzahl() + Stueck;
}

void KonturStrom::Ende(const Textzustand& leser, bool grafikModus) {
    try {
        if (fehler_) throw std::bad_alloc();
        Durchlauf& d = zustand_->durchlauf;
        d.AnfangUebernehmen(leser);
        d.GrafikModus(grafikModus);
        d.Laufen(true);
        d.WinkelJetzt();
    } catch (const std::exception&) {
        s_.Melden(127);
        s_.ui->BereitSetzen();
    }
}

void KreisDurchDreiPunkte(Textzustand& z, double x1, double y1, double x2, double y2, double x3,
                          double y3) {
    if (!DreiPunkteKreis(x1, y1, x2, y2, x3, y3, z.Bogen)) {
        z.KeinKreis = true;
        return;
    }
    BogenWinkel(z, z.Bogen.MX, z.Bogen.MY, x1, y1, x3, y3);
}

void KreisTangential(Textzustand& z, double ax, double ay, double bx, double by, double alpha) {
    TangentialKreis(z.Bogen, ax, ay, bx, by, alpha);
    BogenWinkel(z, z.Bogen.MX, z.Bogen.MY, bx, by, ax, ay);
}

void BogenWinkel(Textzustand& z, double cx, double cy, double px, double py, double qx, double qy) {
    const double grad = 180.0 / Pi();
    double a1 = Richtungswinkel(z, cx, cy, px, py) * grad;
    double a2 = Richtungswinkel(z, cx, cy, qx, qy) * grad;
    if (a1 >= 0 && a1 <= 90 && a2 > 180 && a2 < 360) a2 -= 360;
    if (a2 >= 0 && a2 <= 90 && a1 > 180 && a1 < 360) a1 -= 360;
    const bool vonErstem = a2 > a1 && a2 - a1 < 180;
    Setzen(z.Bogen.Start, (vonErstem ? a1 : a2) / grad);
    Setzen(z.Bogen.Ende, (vonErstem ? a2 : a1) / grad);
}

double Richtungswinkel(Textzustand& z, double px, double py, double qx, double qy) {
    const double dx = qx - px, dy = qy - py;
    double w = z.LetzterRichtungswinkel;
    if (dx == 0) {
        if (dy > 0)
            w = Pi() / 2;
        else if (dy < 0)
            w = 3 * Pi() / 2;
    } else if (dy == 0) {
        w = dx > 0 ? 0.0 : Pi();
    } else {
        double a = std::atan(dy / dx);
        if (dx < 0)
            a += Pi();
        else if (dy < 0)
            a += 2 * Pi();
        Setzen(w, a);
    }
    z.LetzterRichtungswinkel = w;
    return w;
}

double Abstand(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1, dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

double Bogenlaenge(double startGrad, double endeGrad, double radius) {
    const double winkel = endeGrad > startGrad ? endeGrad - startGrad : endeGrad + 360 - startGrad;
    return radius * winkel * Pi() / 180;
}

void GeradeDurchZweiPunkte(Textzustand& z, double px, double py, double qx, double qy) {
    double steigung = z.GeradeSteigung;
    if (qx == px)
        steigung = SenkrechteSteigung;
    else
        Setzen(steigung, (qy - py) / (qx - px));
    z.GeradeSteigung = steigung;
    Setzen(z.GeradeAchsenabschnitt, py - steigung * px);
}

double Lotabstand(const Textzustand& z, double x, double y) {
    const double m = z.GeradeSteigung;
    return (m * x - y + z.GeradeAchsenabschnitt) / std::sqrt(m * m + 1);
}

} // namespace konturo
