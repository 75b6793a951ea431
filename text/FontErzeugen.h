// Outline curve approximation: reading a glyph's point stream into the outline buffer and turning
// the buffer into lines, arcs and full circles in the element store, plus the small geometric
// operations (distance, direction angle, circle constructions) that readers and writers share.
#pragma once

#include "geometry/Variablen.h"

#include <cstdint>
#include <memory>

namespace konturo {

struct Sitzung;
struct Umriss;
struct Textzustand;
class GlyphGeraet;

// Kind markers of Glyphon's point stream.
inline constexpr std::int16_t GlyphKonturEnde = 996;
inline constexpr std::int16_t GlyphLinie = 998;
inline constexpr std::int16_t GlyphSpline = 999;
inline constexpr std::int16_t GlyphKonturStart = 997;

// The slope that stands for "vertical" in the line and circle constructions.
inline constexpr double SenkrechteSteigung = 9999999999.0;

// Parameters of one approximation pass, read from the settings (single-line mode replaces the
// spline step and the arc tolerance).
struct Approximationsparameter {
    double SplineSchritt = 0.05; // t step of the spline subdivision
    double Toleranz = 0.05;      // arc tolerance, outline units
    double KreisToleranz = 0.1;  // full-circle tolerance, outline units
    double MaxRadius = 9999.99;  // output units
    double WarnLaenge = 0.3;     // output units
    std::int32_t WarnFarbe = 255;
};
Approximationsparameter ParameterLesen(const Sitzung& s);
// Points per curve segment minus one: the integer nearest to 1 / step.
std::int32_t SchritteJeSegment(double splineSchritt);

// Reads the outline of zeichen (Unicode code point) of the font selected in the device into
// s.speicher.KonturPunkte. Glyphon is called twice: once to learn the stream size, once into
// arrays dimensioned 0..size. Language text 125 when the library cannot be bound or called,
// 126 when the stream cannot be interpreted; what was appended before stays. False when one of
// them was shown.
bool GlyphEinlesen(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen);
// The true outline of zeichen at the pen's origin, scaled by massstab, its contours numbered from
// 1 on (konturen: how many the stream starts, as GlyphEinlesen counts them). False when it cannot
// be read, with texts 125 and 126 as GlyphEinlesen shows them when melden.
bool GlyphUmrissHolen(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen, double massstab,
                      Umriss& umriss, std::int32_t& konturen, bool melden = true);

// One glyph as read and approximated at a pen position: what the approximation made of it in
// outline units and what of the state before it that depended on. A text repeats its glyphs, and
// placing the recording at another pen position gives the elements, box and state that reading
// and approximating the glyph there would give.
struct GlyphAufzeichnung {
    GlyphAufzeichnung();
    ~GlyphAufzeichnung();
    GlyphAufzeichnung(GlyphAufzeichnung&&) noexcept;
    GlyphAufzeichnung& operator=(GlyphAufzeichnung&&) noexcept;

    struct Daten;
    // Empty when the glyph cannot be placed again: a message was shown, or the approximation
    // read circle values (Textzustand::Bogen, the direction memory) that it had not set itself.
    std::unique_ptr<Daten> daten;
};

// GlyphEinlesen, KonturApproximieren (text mode) and KonturPunkteLeeren of one character, with the
// result recorded into aufzeichnung.
void GlyphUmwandeln(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen,
                    GlyphAufzeichnung& aufzeichnung);
// The recorded glyph placed at the current pen and scale: the same as GlyphUmwandeln there.
// False, with nothing changed, when it cannot be: the box is still new, or a full-circle test of
// the glyph would compare the box otherwise than at the recording.
bool GlyphWiederholen(Sitzung& s, const GlyphAufzeichnung& aufzeichnung);

// Reads an already filled stream (entries 1..anzahl of the three arrays) into the outline buffer;
// GlyphEinlesen's second half. Returns false on an interpretation fault (text 126 not shown).
bool GlyphStromLesen(Sitzung& s, const double* x, const double* y, const std::int16_t* art,
                     std::int32_t anzahl);

// Appends n + 1 sample points of the quadratic segment P0, P1, P2 to the outline buffer
// (t accumulates by repeated addition of the step).
void SplineTeilen(Sitzung& s, double x0, double y0, double x1, double y1, double x2, double y2);

// Approximates the outline buffer by lines, arcs and circles into the element store. In graphic
// mode the pass reports progress, lets events run and honours an abort request.
void KonturApproximieren(Sitzung& s, bool grafikModus);

// A contour of more outline records than this is never tested for being a full circle. The test
// needs the whole contour at once; without a bound an import streaming its outline buffer would
// have to hold a contour of any length. No glyph comes near it, and a path of a million points
// on one circle is no drawing.
inline constexpr std::int32_t MaxVollkreisLaenge = 1 << 20;

// The approximation pass of a graphic import, run while the reader still fills the outline
// buffer: the records whose lines, arcs and circles are made are dropped from the buffer, so a
// drawing never needs memory for all of its sampled points. The elements, the box and the state
// afterwards are those of KonturApproximieren over the whole buffer after the reading.
class KonturStrom {
public:
    explicit KonturStrom(Sitzung& s);
    ~KonturStrom();
    KonturStrom(const KonturStrom&) = delete;
    KonturStrom& operator=(const KonturStrom&) = delete;

    // The reader's flatness tests change circle values (Textzustand::Bogen and the direction
    // memory) on a state of their own, which the pass would have started from after a whole
    // reading: an iteration that would read one of them before setting it waits for Ende.
    void AnfangOffen();
    // Called after every record appended to the outline buffer.
    void Angefuegt() {
        if (kp_.Anzahl() >= schwelle_) Weiter();
    }
    // After the reading: the reader's circle values stand in for those the pass has not set, and
    // the rest of the buffer is approximated; in graphic mode with progress and abort.
    void Ende(const Textzustand& leser, bool grafikModus);

private:
    // Records that wait before a piece is approximated: few enough to stay in the cache.
    static constexpr std::int32_t Stueck = 1 << 16;

    void Weiter();

    struct Zustand;
    Sitzung& s_;
    GeoFeld& kp_;
    std::unique_ptr<Zustand> zustand_;
    std::int32_t schwelle_ = Stueck;
    bool fehler_ = false;
};

// Circle through three points into z.Bogen (arc from the first to the third point); raises
// z.KeinKreis instead when the points are collinear or the numbers overflow.
void KreisDurchDreiPunkte(Textzustand& z, double x1, double y1, double x2, double y2, double x3,
                          double y3);
// Circle through A and B that is tangent at B to the direction alpha (radians), into z.Bogen.
void KreisTangential(Textzustand& z, double ax, double ay, double bx, double by, double alpha);
// Start and end angle of z.Bogen for the arc about C between P and Q (at most 180 degrees).
void BogenWinkel(Textzustand& z, double cx, double cy, double px, double py, double qx, double qy);
// Angle of the vector P->Q in radians, 0 <= angle < 2 pi; for P = Q the previous result.
double Richtungswinkel(Textzustand& z, double px, double py, double qx, double qy);
double Abstand(double x1, double y1, double x2, double y2);
// Length of the counter-clockwise arc from start to end angle (degrees) of radius r.
double Bogenlaenge(double startGrad, double endeGrad, double radius);
// Slope and intercept of the line through P and Q into z (a vertical line gets the slope
// SenkrechteSteigung).
void GeradeDurchZweiPunkte(Textzustand& z, double px, double py, double qx, double qy);
// Signed distance of (x, y) from the line last set by GeradeDurchZweiPunkte.
double Lotabstand(const Textzustand& z, double x, double y);

} // namespace konturo
