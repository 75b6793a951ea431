// PostScript reader: scans EPS/AI/PS text or PDF page content line by line for path operators,
// keeps the current transformation matrix, flattens Bezier curves into the outline buffer and
// hands the buffer to the curve approximation. PostScript is not interpreted as a language.
#include "import/EPS_Einlesen.h"

#include "app/Sitzung.h"
#include "frames/Vorlagen.h"
#include "geometry/Abweichung.h"
#include "geometry/AllgLesen.h"
#include "import/PDFEinlesen.h"
#include "output/FSO_Funktionen.h"
#include "output/Maschinenpruefung.h"
#include "text/FontErzeugen.h"
#include "text/Sparfitting.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace konturo {

namespace {

// Millimetres per PostScript point.
constexpr double MmJePunkt = 25.4 / 72.0;
// Deeper q/gsave nesting than this is not kept (PDF itself allows 28 levels); the surplus pushes
// are only counted so that their pops leave the matrix alone.
constexpr std::size_t MaxSicherungen = 4096;
// Curve control points beyond this magnitude are garbage; they would overflow the power form.
constexpr double MaxKoordinate = 1e100;
// Only tokens up to this length are prepared and compared with operator names; no longer token
// can shrink to one of them through the replacements.
constexpr std::size_t MaxOperatorLaenge = 64;
// The operand stack of the stack reader keeps its newest entries.
constexpr int StapelGroesse = 9;

enum class Op : std::uint8_t {
    Zahl,
    Neutral, // array brackets of "[a b c d e f] cm": neither operand nor operator
    M,
    MO,
    L,
    LN,
    LI,
    Y,
    V,
    CV,
    C,
    H,
    CM,
    RE,
    Sichern, // q, gsave
    Zurueck, // Q, grestore
    Clip,    // W, W*
    Scale,
    Andere,
};

struct Wort {
    Op exakt = Op::Andere; // the prepared token as it stands (line reader, scale scan)
    Op gross = Op::Andere; // the prepared token upper-cased again (stack reader)
    double wert = 0;       // the token read as a number; 0 when it does not begin with one
};

struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
};

// m applied first, then t: the matrix "m cm" makes of the current matrix t.
Matrix Verketten(const Matrix& m, const Matrix& t) {
    return {m.a * t.a + m.b * t.c, m.a * t.b + m.b * t.d,       m.c * t.a + m.d * t.c,
            m.c * t.b + m.d * t.d, m.e * t.a + m.f * t.c + t.e, m.e * t.b + m.f * t.d + t.f};
}

struct Pkt {
    double x = 0, y = 0;
};

bool Endlich(const Pkt& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
bool Brauchbar(const Pkt& p) {
    return std::fabs(p.x) < MaxKoordinate && std::fabs(p.y) < MaxKoordinate;
}

// Replaces every occurrence of alt by the shorter neu, left to right without rescanning, in place;
// returns the new length.
std::size_t Ersetzen(char* b, std::size_t n, std::string_view alt, std::string_view neu) {
    if (n < alt.size()) return n;
    std::size_t lesen = 0, schreiben = 0;
    while (lesen < n) {
        if (n - lesen >= alt.size() && std::memcmp(b + lesen, alt.data(), alt.size()) == 0) {
            std::memcpy(b + schreiben, neu.data(), neu.size());
            schreiben += neu.size();
            lesen += alt.size();
        } else {
            b[schreiben++] = b[lesen++];
        }
    }
    return schreiben;
}

Op OperatorVon(std::string_view t) {
    switch (t.size()) {
    case 1:
        switch (t[0]) {
        case 'M':
            return Op::M;
        case 'L':
            return Op::L;
        case 'Y':
            return Op::Y;
        case 'V':
            return Op::V;
        case 'C':
            return Op::C;
        case 'H':
            return Op::H;
        default:
            return Op::Andere;
        }
    case 2:
        if (t == "MO") return Op::MO;
        if (t == "LN") return Op::LN;
        if (t == "LI") return Op::LI;
        if (t == "CV") return Op::CV;
        if (t == "CM") return Op::CM;
        if (t == "RE") return Op::RE;
        return Op::Andere;
    default:
        if (t == "GSAVE") return Op::Sichern;
        if (t == "GRESTORE") return Op::Zurueck;
        if (t == "SCALE") return Op::Scale;
        return Op::Andere;
    }
}

// Plain decimals as drawings write them ([+-]digits[.digits], at most 15 digits, no exponent) in
// one pass: mantissa and power of ten are both exact doubles, so their quotient is the correctly
// rounded value, the same that ZahlLesen gives. Anything else goes to ZahlLesen.
double TokenZahl(std::string_view t, std::size_t& gelesen) {
    static constexpr double Zehner[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const std::size_t n = t.size();
    std::size_t i = 0;
    const bool negativ = n > 0 && t[0] == '-';
    if (n > 0 && (t[0] == '-' || t[0] == '+')) ++i;
    std::uint64_t mantisse = 0;
    int ziffern = 0, nachkomma = 0;
    while (i < n && t[i] >= '0' && t[i] <= '9') {
        mantisse = mantisse * 10 + static_cast<std::uint64_t>(t[i++] - '0');
        ++ziffern;
    }
    if (i < n && t[i] == '.') {
        ++i;
        while (i < n && t[i] >= '0' && t[i] <= '9') {
            mantisse = mantisse * 10 + static_cast<std::uint64_t>(t[i++] - '0');
            ++ziffern;
            ++nachkomma;
        }
    }
    const bool exponent = i < n && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd');
    if (ziffern == 0) {
        // Only a token with a leading tab (a tab belongs to the token) can still be a number.
        if (n > 0 && t[0] == '\t') return ZahlLesen(t, gelesen);
        gelesen = 0;
        return 0;
    }
    if (ziffern > 15 || exponent) return ZahlLesen(t, gelesen);
    gelesen = i;
    const double wert = static_cast<double>(mantisse) / Zehner[nachkomma];
    return negativ ? -wert : wert;
}

// Reads one token: a number (leading array brackets skipped), or an operator by the prepared
// token (upper case, then LINETO -> LI, MOVETO -> MO, CURVETO -> CV, CLOSEPATH -> lower-case c).
// q and Q, W and W* are told apart by the token as the file wrote it.
Wort Klassifizieren(std::string_view roh) {
    Wort w;
    const char erstes = roh.empty() ? ' ' : roh[0];
    if ((erstes >= '0' && erstes <= '9') || erstes == '-' || erstes == '.' || erstes == '+') {
        std::size_t gelesen = 0;
        const double wert = TokenZahl(roh, gelesen);
        if (gelesen > 0) {
            w.exakt = w.gross = Op::Zahl;
            w.wert = wert;
            return w;
        }
    }
    std::string_view zahl = roh;
    while (!zahl.empty() && zahl.front() == '[') zahl.remove_prefix(1);
    std::size_t gelesen = 0;
    const double wert = TokenZahl(zahl, gelesen);
    if (gelesen > 0) {
        w.exakt = w.gross = Op::Zahl;
        w.wert = wert;
        return w;
    }
    if (zahl.find_first_not_of(']') == std::string_view::npos) {
        w.exakt = w.gross = Op::Neutral;
        return w;
    }
    if (roh == "q") {
        w.exakt = w.gross = Op::Sichern;
        return w;
    }
    if (roh == "Q") {
        w.exakt = w.gross = Op::Zurueck;
        return w;
    }
    if (roh == "W" || roh == "W*") {
        w.exakt = w.gross = Op::Clip;
        return w;
    }
    if (roh.size() > MaxOperatorLaenge) return w;
    char b[MaxOperatorLaenge];
    std::size_t n = roh.size();
    bool kleinC = false;
    for (std::size_t i = 0; i < n; ++i) {
        char c = roh[i];
        b[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    if (n >= 6) {
        n = Ersetzen(b, n, "LINETO", "LI");
        n = Ersetzen(b, n, "MOVETO", "MO");
        n = Ersetzen(b, n, "CURVETO", "CV");
        const std::size_t vorher = n;
        n = Ersetzen(b, n, "CLOSEPATH", "c");
        kleinC = n != vorher;
    }
    w.exakt = OperatorVon({b, n});
    if (kleinC) {
        for (std::size_t i = 0; i < n; ++i)
            if (b[i] == 'c') b[i] = 'C';
        w.gross = OperatorVon({b, n});
    } else {
        w.gross = w.exakt;
    }
    return w;
}

// Calls f for every token of a line; only blanks separate tokens, runs of blanks count as one.
template <class F> void WoerterDurchgehen(std::string_view zeile, F&& f) {
    const std::size_t n = zeile.size();
    std::size_t i = 0;
    for (;;) {
        while (i < n && zeile[i] == ' ') ++i;
        if (i >= n) return;
        const std::size_t a = i;
        // Tokens are short, but a file of one endless token must not be walked byte by byte.
        const void* blank = std::memchr(zeile.data() + i, ' ', n - i);
        i = blank ? static_cast<std::size_t>(static_cast<const char*>(blank) - zeile.data()) : n;
        f(zeile.substr(a, i - a));
    }
}

// Lines of a text; CR, CR LF and LF each end a line, and a last line needs no line end. The next
// CR and the next LF are each searched once, so a file with only one kind stays linear.
class Zeilen {
public:
    explicit Zeilen(std::string_view text) : t_(text), cr_(Suchen('\r')), lf_(Suchen('\n')) {}

    bool Holen(std::string_view& zeile) {
        const std::size_t n = t_.size();
        if (pos_ >= n) return false;
        if (cr_ < pos_) cr_ = Suchen('\r');
        if (lf_ < pos_) lf_ = Suchen('\n');
        const std::size_t ende = std::min(cr_, lf_);
        zeile = t_.substr(pos_, ende - pos_);
        if (ende >= n)
            pos_ = n;
        else if (t_[ende] == '\r' && ende + 1 < n && t_[ende + 1] == '\n')
            pos_ = ende + 2;
        else
            pos_ = ende + 1;
        return true;
    }

    std::size_t Position() const { return pos_; }

private:
    std::size_t Suchen(char c) const {
        const void* p = std::memchr(t_.data() + pos_, c, t_.size() - pos_);
        return p ? static_cast<std::size_t>(static_cast<const char*>(p) - t_.data()) : t_.size();
    }

    std::string_view t_;
    std::size_t pos_ = 0;
    std::size_t cr_, lf_;
};

bool IstZeilenGrenze(char c) { return c == ' ' || c == '\r' || c == '\n'; }

// Stack reader's progress count: tokens "m" or "M" standing alone.
std::int32_t EinzelneMZaehlen(std::string_view text) {
    std::int64_t anzahl = 0;
    const std::size_t n = text.size();
    for (const char m : {'m', 'M'}) {
        const char* p = text.data();
        const char* ende = p + n;
        const auto suchen = [&] {
            return static_cast<const char*>(std::memchr(p, m, static_cast<std::size_t>(ende - p)));
        };
        while ((p = suchen())) {
            const std::size_t i = static_cast<std::size_t>(p - text.data());
            if ((i == 0 || IstZeilenGrenze(text[i - 1])) &&
                (i + 1 == n || IstZeilenGrenze(text[i + 1])))
                ++anzahl;
            ++p;
        }
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(anzahl, INT32_MAX));
}

// Line reader's progress count: lines of exactly three tokens whose third is "M" or "MO".
std::int32_t MoveZeilenZaehlen(std::string_view text) {
    std::int64_t anzahl = 0;
    Zeilen zeilen(text);
    std::string_view zeile;
    while (zeilen.Holen(zeile)) {
        int woerter = 0;
        std::string_view dritte;
        WoerterDurchgehen(zeile, [&](std::string_view roh) {
            if (++woerter == 3) dritte = roh;
        });
        if (woerter != 3) continue;
        const Op op = Klassifizieren(dritte).exakt;
        if (op == Op::M || op == Op::MO) ++anzahl;
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(anzahl, INT32_MAX));
}

class PSLeser {
public:
    // strom: the approximation that takes the records while they are read; null leaves them all
    // in the outline buffer.
    PSLeser(Sitzung& s, std::string_view text, KonturStrom* strom)
        : s_(s), ui_(*s.ui), text_(text), maxRadius_(s.einstellungen.maxRadius), strom_(strom),
          flachZustand_(s.text), sparsam_(s.einstellungen.SparModus == 1),
          sparParameter_(SparparameterAus(s.einstellungen)), massstab_(s.text.Massstab) {
        const Approximationsparameter par = ParameterLesen(s);
        schritt_ = par.SplineSchritt;
        schritte_ = SchritteJeSegment(schritt_);
        // The same run length as the approximation expects: n + 1 points with n nearest to 1/h.
        if (!(schritt_ >= 0.001 && schritt_ <= 1.0)) schritt_ = 1.0 / schritte_;
    }

    // False when the user cancelled the reading.
    bool Lesen();
    // Ends the outline of the last path; in the economy mode its elements are fitted.
    void UmrissBeenden() { KonturFertig(); }
    // The economy fit's elements of every path, in contour order, with the box of the outline.
    std::vector<GeoElement>& SparElemente() { return sparElemente_; }
    // Paths too large for the economy fit (left to the approximation).
    std::int64_t SparZuGross() const { return sparZuGross_; }
    // The circle values the flatness tests of the line reader left.
    const Textzustand& FlachZustand() const { return flachZustand_; }
    bool Gespeichert() const { return gespeichert_; }

private:
    struct ZeilenPruefung {
        bool moveto = false;
        bool dreiWoerter = false;
    };

    ZeilenPruefung VorschauZeile(std::string_view zeile);
    bool LinienZeile(std::string_view zeile);
    bool StapelZeile(std::string_view zeile);
    bool StapelWort(const Wort& w, bool pfade);
    bool PfadOperator(Op op);
    bool Abbrechen();

    void Push(double wert);
    double Eintrag(int vonOben) const { return stapel_[stapelHoehe_ - vonOben]; }
    Pkt StapelPunkt(int vonOben) const { return T(Eintrag(vonOben), Eintrag(vonOben - 1)); }
    Pkt T(double x, double y) const {
        return {ctm_.a * x + ctm_.c * y + ctm_.e, ctm_.b * x + ctm_.d * y + ctm_.f};
    }
    void MatrixSetzen();
    void Sichern();
    void Zurueckholen();
    void Rechteck();

    void Kurve(Pkt p0, Pkt p1, Pkt p2, Pkt p3, bool flachTesten);
    bool Flach(Pkt p0, Pkt p1, Pkt p2, Pkt p3);
    std::optional<double> Radius(Pkt a, Pkt b, Pkt c);
    void Speichern(std::uint8_t typ, Pkt a, Pkt b);
    void Anfuegen(const GeoElement& e) {
        gespeichert_ = true;
        if (e.Typ == Linie && !inKurve_)
            UmrissStueckAnfuegen(e.KonturNr, {1, {Mm(e.X1, e.Y1), Mm(e.X2, e.Y2), {}, {}}});
        s_.speicher.KonturPunkte.Anfuegen(e);
        if (strom_) strom_->Angefuegt();
    }
    // A record's point (mirrored as the record is) in millimetres, as the approximation places it.
    P2 Mm(double x, double y) const { return {x * massstab_, y * massstab_}; }
    P2 MmPunkt(Pkt p) const { return Mm(spiegelX_ ? -p.x : p.x, spiegelY_ ? -p.y : p.y); }
    void UmrissStueckAnfuegen(std::int32_t nr, const UmrissStueck& st);
    void KonturFertig();
    GeoElement Datensatz(std::uint8_t typ, Pkt a, Pkt b) const;
    void RechteckeFestschreiben();

    Sitzung& s_;
    UiDienste& ui_;
    std::string_view text_;
    double maxRadius_;
    KonturStrom* strom_;
    // The flatness tests construct circles on a state of their own, so they never disturb an
    // approximation running at the same time.
    Textzustand flachZustand_;
    // The true outline of the path being read; in the economy mode it is fitted when the path
    // ends.
    bool sparsam_;
    std::vector<GeoElement> sparElemente_;
    std::int64_t sparZuGross_ = 0;
    Sparparameter sparParameter_;
    double massstab_;
    UmrissKontur laufend_;
    bool inKurve_ = false;
    bool gespeichert_ = false;
    double schritt_ = 0.05;
    std::int32_t schritte_ = 20;

    Pkt akt_;
    Pkt start_;
    std::int32_t pfadZaehler_ = 0;
    std::int32_t schwelle_ = 10;
    bool spiegelX_ = false;
    bool spiegelY_ = false;

    double stapel_[StapelGroesse] = {};
    int stapelHoehe_ = 0;

    Matrix ctm_;
    std::vector<Matrix> sicherungen_;
    std::size_t ueberzaehligeSicherungen_ = 0;

    // Rectangles ("re") wait until the next operator: a clip ("W") right after them drops them,
    // so that the page's clipping rectangle does not become a contour.
    std::vector<GeoElement> offeneRechtecke_;
};

void PSLeser::Push(double wert) {
    if (stapelHoehe_ == StapelGroesse) {
        std::memmove(stapel_, stapel_ + 1, sizeof(double) * (StapelGroesse - 1));
        --stapelHoehe_;
    }
    stapel_[stapelHoehe_++] = wert;
}

void PSLeser::MatrixSetzen() {
    if (stapelHoehe_ < 6) return;
    const Matrix m{Eintrag(6), Eintrag(5), Eintrag(4), Eintrag(3), Eintrag(2), Eintrag(1)};
    const Matrix neu = Verketten(m, ctm_);
    const double werte[] = {neu.a, neu.b, neu.c, neu.d, neu.e, neu.f};
    for (double v : werte)
        if (!std::isfinite(v)) return;
    ctm_ = neu;
}

void PSLeser::Sichern() {
    if (sicherungen_.size() < MaxSicherungen)
        sicherungen_.push_back(ctm_);
    else
        ++ueberzaehligeSicherungen_;
}

void PSLeser::Zurueckholen() {
    if (ueberzaehligeSicherungen_ > 0) {
        --ueberzaehligeSicherungen_;
    } else if (!sicherungen_.empty()) {
        ctm_ = sicherungen_.back();
        sicherungen_.pop_back();
    }
}

void PSLeser::Rechteck() {
    if (stapelHoehe_ < 4) return;
    const double x = Eintrag(4), y = Eintrag(3), b = Eintrag(2), h = Eintrag(1);
    const Pkt ecken[] = {T(x, y), T(x + b, y), T(x + b, y + h), T(x, y + h)};
    ++pfadZaehler_;
    akt_ = start_ = ecken[0];
    for (int i = 0; i < 4; ++i) {
        const Pkt& von = ecken[i];
        const Pkt& bis = ecken[(i + 1) % 4];
        if (Endlich(von) && Endlich(bis)) offeneRechtecke_.push_back(Datensatz(Linie, von, bis));
    }
}

void PSLeser::RechteckeFestschreiben() {
    for (const GeoElement& e : offeneRechtecke_) Anfuegen(e);
    offeneRechtecke_.clear();
}

GeoElement PSLeser::Datensatz(std::uint8_t typ, Pkt a, Pkt b) const {
    const double sx = spiegelX_ ? -1.0 : 1.0;
    const double sy = spiegelY_ ? -1.0 : 1.0;
    return NeuesElement(typ, sx * a.x, sy * a.y, sx * b.x, sy * b.y, 0, pfadZaehler_);
}

// The store step; a record with a coordinate that is not a finite number is never stored.
void PSLeser::Speichern(std::uint8_t typ, Pkt a, Pkt b) {
    if (!offeneRechtecke_.empty()) RechteckeFestschreiben();
    if (!Endlich(a) || !Endlich(b)) return;
    Anfuegen(Datensatz(typ, a, b));
}

std::optional<double> PSLeser::Radius(Pkt a, Pkt b, Pkt c) {
    Textzustand& z = flachZustand_;
    z.KeinKreis = false;
    KreisDurchDreiPunkte(z, a.x, a.y, b.x, b.y, c.x, c.y);
    if (z.KeinKreis) {
        z.KeinKreis = false;
        return std::nullopt;
    }
    return z.Bogen.Radius;
}

// A circle that does not exist (collinear or equal points) is left out: the curve is flat when an
// existing circle is larger than maxRadius or when neither exists. This also covers "C" curves
// with P0 = P1 and P2 = P3, where neither circle exists.
bool PSLeser::Flach(Pkt p0, Pkt p1, Pkt p2, Pkt p3) {
    const std::optional<double> r1 = Radius(p0, p1, p3);
    const std::optional<double> r2 = Radius(p0, p2, p3);
    if ((r1 && *r1 > maxRadius_) || (r2 && *r2 > maxRadius_)) return true;
    return !r1 && !r2;
}

// Flattens the cubic Bezier curve in power form; t is a running sum of the spline step.
void PSLeser::Kurve(Pkt p0, Pkt p1, Pkt p2, Pkt p3, bool flachTesten) {
    akt_ = p3;
    if (!Brauchbar(p0) || !Brauchbar(p1) || !Brauchbar(p2) || !Brauchbar(p3)) return;
    // The curve itself is the outline, also where it is stored as a line.
    if (!offeneRechtecke_.empty()) RechteckeFestschreiben();
    UmrissStueckAnfuegen(pfadZaehler_, {3, {MmPunkt(p0), MmPunkt(p1), MmPunkt(p2), MmPunkt(p3)}});
    inKurve_ = true;
    struct Ende {
        bool& b;
        ~Ende() { b = false; }
    } ende{inKurve_};
    if (flachTesten && Flach(p0, p1, p2, p3)) {
        Speichern(Linie, p0, p3);
        return;
    }
    const double ax = p3.x - p0.x - 3 * p2.x + 3 * p1.x, ay = p3.y - p0.y - 3 * p2.y + 3 * p1.y;
    const double bx = 3 * p0.x - 6 * p1.x + 3 * p2.x, by = 3 * p0.y - 6 * p1.y + 3 * p2.y;
    const double cx = 3 * p1.x - 3 * p0.x, cy = 3 * p1.y - 3 * p0.y;
    double t = 0;
    for (std::int32_t k = 0; k <= schritte_; ++k) {
        const Pkt p{((ax * t + bx) * t + cx) * t + p0.x, ((ay * t + by) * t + cy) * t + p0.y};
        Speichern(Punkt, p, p);
        t += schritt_;
    }
}

void PSLeser::UmrissStueckAnfuegen(std::int32_t nr, const UmrissStueck& st) {
    if (!laufend_.Stuecke.empty() && laufend_.KonturNr != nr) KonturFertig();
    laufend_.KonturNr = nr;
    if (!sparsam_ && !s_.umriss.Unvollstaendig &&
        s_.umriss.Gezaehlt() + laufend_.Stuecke.size() >= s_.umriss.MaxStuecke) {
        // The report's outline would grow past its bound: it is given up at once.
        s_.umriss.Aufgeben();
        laufend_.Stuecke = {};
    }
    if (sparsam_ || !s_.umriss.Unvollstaendig) laufend_.Stuecke.push_back(st);
}

void PSLeser::KonturFertig() {
    if (laufend_.Stuecke.empty()) return;
    if (sparsam_ && SparKonturFitten(laufend_, sparParameter_, sparElemente_) < 0) ++sparZuGross_;
    s_.umriss.KonturUebernehmen(std::move(laufend_));
    laufend_ = UmrissKontur{};
}

// Cancel request at a moveto: leave the busy state and end the reading.
bool PSLeser::Abbrechen() {
    if (!s_.fenster.AbbruchWunsch) return false;
    ui_.BereitSetzen();
    s_.fenster.AbbruchWunsch = false;
    ui_.AbbruchKnopf(true);
    return true;
}

// Scale scan and first-moveto test of one line before the reading starts: "M" or "MO" right
// after two numbers makes it the first moveto line.
PSLeser::ZeilenPruefung PSLeser::VorschauZeile(std::string_view zeile) {
    ZeilenPruefung ergebnis;
    int woerter = 0;
    int movetoWort = -1;
    Wort vor1, vor2; // tokens i - 1 and i - 2
    WoerterDurchgehen(zeile, [&](std::string_view roh) {
        const Wort w = Klassifizieren(roh);
        if (woerter >= 2) {
            if (w.exakt == Op::Scale) {
                if (vor2.wert < 0) spiegelX_ = true;
                if (vor1.wert < 0) spiegelY_ = true;
            }
            if (movetoWort < 0 && (w.exakt == Op::M || w.exakt == Op::MO) &&
                vor1.exakt == Op::Zahl && vor2.exakt == Op::Zahl)
                movetoWort = woerter;
        }
        vor2 = vor1;
        vor1 = w;
        ++woerter;
    });
    ergebnis.moveto = movetoWort >= 0;
    ergebnis.dreiWoerter = movetoWort == 2 && woerter == 3;
    return ergebnis;
}

// One token through the operand stack. With pfade false only the matrix, rectangles and clips are
// interpreted (the scan before the first moveto and the line reader). False ends the reading.
bool PSLeser::StapelWort(const Wort& w, bool pfade) {
    switch (w.gross) {
    case Op::Zahl:
        Push(w.wert);
        return true;
    case Op::Neutral:
        return true;
    case Op::Clip:
        offeneRechtecke_.clear();
        stapelHoehe_ = 0;
        return true;
    case Op::RE:
        Rechteck();
        stapelHoehe_ = 0;
        return true;
    default:
        break;
    }
    RechteckeFestschreiben();
    bool weiter = true;
    switch (w.gross) {
    case Op::CM:
        MatrixSetzen();
        break;
    case Op::Sichern:
        Sichern();
        break;
    case Op::Zurueck:
        Zurueckholen();
        break;
    default:
        if (pfade) weiter = PfadOperator(w.gross);
        break;
    }
    stapelHoehe_ = 0;
    return weiter;
}

// The path operators of the stack reader; an operator with fewer operands than it reads is
// ignored.
bool PSLeser::PfadOperator(Op op) {
    const int n = stapelHoehe_;
    switch (op) {
    case Op::M:
        if (n < 2) break;
        if (Abbrechen()) return false;
        if (s_.einstellungen.Unterbrechung == 1) ui_.EreignisseVerarbeiten();
        ui_.FortschrittWert(pfadZaehler_);
        ++pfadZaehler_;
        akt_ = start_ = StapelPunkt(2);
        break;
    case Op::L:
        if (n < 2) break;
        Speichern(Linie, akt_, StapelPunkt(2));
        akt_ = StapelPunkt(2);
        break;
    case Op::Y:
        // x1 y1 x3 y3 y: the second control point is the end point.
        if (n >= 4) {
            Kurve(akt_, StapelPunkt(4), StapelPunkt(2), StapelPunkt(2), false);
        } else if (n >= 2) {
            Speichern(Linie, akt_, StapelPunkt(2));
            akt_ = StapelPunkt(2);
        }
        break;
    case Op::V:
        // x2 y2 x3 y3 v: the first control point is the current point.
        if (n >= 4) Kurve(akt_, akt_, StapelPunkt(4), StapelPunkt(2), false);
        break;
    case Op::C:
        if (n >= 6) Kurve(akt_, StapelPunkt(6), StapelPunkt(4), StapelPunkt(2), false);
        break;
    case Op::H:
        Speichern(Linie, akt_, start_);
        break;
    default:
        break;
    }
    return true;
}

bool PSLeser::StapelZeile(std::string_view zeile) {
    bool weiter = true;
    WoerterDurchgehen(zeile, [&](std::string_view roh) {
        if (weiter) weiter = StapelWort(Klassifizieren(roh), true);
    });
    return weiter;
}

// One operator per line, judged by the number of tokens; the matrix, rectangle and clip tokens of
// the line go through the operand stack as well.
bool PSLeser::LinienZeile(std::string_view zeile) {
    Wort t[7];
    int n = 0;
    WoerterDurchgehen(zeile, [&](std::string_view roh) {
        const Wort w = Klassifizieren(roh);
        if (n < 7) t[n] = w;
        ++n;
        StapelWort(w, false);
    });
    auto P = [&](int i) { return T(t[i].wert, t[i + 1].wert); };
    switch (n) {
    case 3:
        if (t[2].exakt == Op::M || t[2].exakt == Op::MO) {
            if (pfadZaehler_ >= schwelle_) {
                ui_.FortschrittWert(pfadZaehler_);
                schwelle_ += 10;
                if (Abbrechen()) return false;
                if (s_.einstellungen.Unterbrechung == 1) ui_.EreignisseVerarbeiten();
            }
            ++pfadZaehler_;
            akt_ = P(0);
        } else if (t[2].exakt == Op::L || t[2].exakt == Op::LN || t[2].exakt == Op::LI) {
            Speichern(Linie, akt_, P(0));
            akt_ = P(0);
        }
        break;
    case 5:
        if (t[4].exakt == Op::Y)
            Kurve(akt_, P(0), P(2), P(2), true);
        else if (t[4].exakt == Op::V)
            Kurve(akt_, akt_, P(0), P(2), true);
        break;
    case 7:
        if (t[6].exakt == Op::V || t[6].exakt == Op::CV || t[6].exakt == Op::C)
            Kurve(akt_, P(0), P(2), P(4), true);
        break;
    default:
        break;
    }
    return true;
}

bool PSLeser::Lesen() {
    Zeilen zeilen(text_);
    std::size_t zeilenAnfang = 0;
    std::string_view zeile;
    bool gefunden = false;
    bool linienLeser = false;
    while (zeilen.Holen(zeile)) {
        const ZeilenPruefung p = VorschauZeile(zeile);
        if (p.moveto) {
            gefunden = true;
            linienLeser = p.dreiWoerter;
            if (linienLeser && strom_) strom_->AnfangOffen();
            break;
        }
        WoerterDurchgehen(zeile,
                          [&](std::string_view roh) { StapelWort(Klassifizieren(roh), false); });
        zeilenAnfang = zeilen.Position();
    }
    if (!gefunden) return true;
    stapelHoehe_ = 0;

    const std::string_view rest = text_.substr(zeilenAnfang);
    ui_.FortschrittMaximum(linienLeser ? MoveZeilenZaehlen(rest) : EinzelneMZaehlen(rest));
    ui_.BeschaeftigtSetzen();
    ui_.AbbruchKnopf(true);
    do {
        const bool weiter = linienLeser ? LinienZeile(zeile) : StapelZeile(zeile);
        if (!weiter) {
            RechteckeFestschreiben();
            return false;
        }
    } while (zeilen.Holen(zeile));
    RechteckeFestschreiben();
    ui_.FortschrittWert(0);
    ui_.BereitSetzen();
    ui_.AbbruchKnopf(false);
    return true;
}

// Position of the start of the path drawing: the last "%%EndSetup", then a later "%%EndProlog",
// then a later "%%EndPageSetup"; npos when none of them occurs.
// The last occurrence of wort (which starts with '%'); npos when there is none. Searches
// backwards for its first character with memrchr, so a large file without it is passed quickly.
std::size_t LetztesVorkommen(std::string_view text, std::string_view wort) {
    std::size_t ende = text.size();
    while (ende > 0) {
        const void* p = memrchr(text.data(), wort[0], ende);
        if (!p) break;
        const std::size_t i = static_cast<std::size_t>(static_cast<const char*>(p) - text.data());
        if (text.substr(i, wort.size()) == wort) return i;
        ende = i;
    }
    return std::string_view::npos;
}

constexpr std::string_view Startmarken[] = {"%%EndSetup", "%%EndProlog", "%%EndPageSetup"};

std::size_t StartmarkeSuchen(std::string_view text) {
    std::size_t p = std::string_view::npos;
    std::size_t von = 0;
    const std::size_t setup = LetztesVorkommen(text, Startmarken[0]);
    if (setup != std::string_view::npos) {
        p = setup;
        von = setup + 1;
    }
    const std::size_t prolog = text.find(Startmarken[1], von);
    if (prolog != std::string_view::npos) {
        p = prolog;
        von = prolog;
    }
    const std::size_t seite = text.find(Startmarken[2], von);
    if (seite != std::string_view::npos) p = seite;
    return p;
}

// What the reading found besides the outline buffer.
struct Lesebefund {
    ImportErgebnis ergebnis = ImportErgebnis::Gelesen;
    bool beschaedigt = false;             // a damaged or cut-off PDF (PDFBefund::beschaedigt)
    bool grenzeErreicht = false;          // text 124 was shown already
    bool abgebrochen = false;             // the user cancelled the reading
    bool gespeichert = false;             // a record reached the outline buffer
    Textzustand flachZustand;             // the circle values the reader's flatness tests left
    std::vector<GeoElement> sparElemente; // the economy fit's elements of every path
    std::int64_t sparZuGross = 0;         // paths too large for the economy fit
};

// Text 115 and the question whether to read a file without start marker anyway.
bool OhneStartmarkeLesen(Sitzung& s) {
    s.Melden(115);
    // Without its language text the question shows its number, as messages do.
    std::string frage = s.Text(139);
    if (frage.empty()) frage = "Meldung 139";
    return s.ui->JaNeinFrage(frage);
}

void SpeicherZuruecksetzen(Sitzung& s) {
    Speicher& sp = s.speicher;
    // Arrays already empty at their start capacity are left as they are: re-creating them
    // would only give back and take again the same memory.
    for (GeoFeld* feld : {&sp.KonturPunkte, &sp.Elemente})
        if (feld->Anzahl() != 0 || feld->Kapazitaet() != GeoFeld::Schritt) feld->Zuruecksetzen();
    s.umriss.Leeren();
    // The default approximation needs the outline only for the report: a drawing of more than
    // 65,536 curve pieces goes without it, so its memory stays small. The economy mode chooses
    // by it, up to the usual bound.
    s.umriss.MaxStuecke =
        s.einstellungen.SparModus == 1 ? std::size_t{1} << 20 : std::size_t{1} << 16;
    // Every import starts from the start-up box, so the same file gives the same geometry.
    BoxZuruecksetzen(sp);
    s.text.StiftX = 0;
    s.text.StiftY = 0;
    s.text.Massstab = MmJePunkt;
}

// Reads the drawing into the outline buffer; with strom set the records are approximated while
// they are read. gefragt: the question for a file without start marker was answered Yes already.
Lesebefund KonturPunkteLesen(Sitzung& s, std::string inhalt, bool istPdf, KonturStrom* strom,
                             bool gefragt = false) {
    SpeicherZuruecksetzen(s);
    Lesebefund befund;
    if (istPdf) {
        PDFBefund pdf;
        inhalt = PDFInhaltLesen(inhalt, PDFEntpackGrenze, &pdf);
        if (pdf.grenzeErreicht) s.Melden(124);
        befund.grenzeErreicht = pdf.grenzeErreicht;
        befund.beschaedigt = pdf.beschaedigt;
    }

    std::string_view text = inhalt;
    const std::size_t marke = StartmarkeSuchen(text);
    if (marke != std::string_view::npos) {
        text.remove_prefix(marke + 1);
    } else if (!istPdf && !gefragt && !OhneStartmarkeLesen(s)) {
        befund.ergebnis = ImportErgebnis::Abgelehnt;
        return befund;
    }

    PSLeser leser(s, text, strom);
    befund.abgebrochen = !leser.Lesen();
    leser.UmrissBeenden();
    befund.sparElemente = std::move(leser.SparElemente());
    befund.sparZuGross = leser.SparZuGross();
    befund.gespeichert = leser.Gespeichert();
    befund.flachZustand = leser.FlachZustand();
    return befund;
}

// Why the drawing may lack what the file holds, with the file's path; one message at most, after
// the drawing is shown. Text 124 already said that the file was not read to its end.
void LesebefundMelden(Sitzung& s, const Lesebefund& befund) {
    if (befund.grenzeErreicht) return;
    const std::string& pfad = s.fenster.AktDatei;
    const std::string zusatz = pfad.empty() ? std::string() : " " + pfad;
    if (befund.beschaedigt)
        s.Melden(90, zusatz);
    else if (!befund.gespeichert && !befund.abgebrochen)
        s.Melden(138, zusatz);
}

bool IstPdfDatei(const std::string& pfad) {
    std::string endung = std::filesystem::path(pfad).extension().string();
    for (char& c : endung)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return endung == ".PDF";
}

} // namespace

ImportErgebnis EPSKonturPunkteLesen(Sitzung& s, std::string inhalt, bool istPdf) {
    const Lesebefund befund = KonturPunkteLesen(s, std::move(inhalt), istPdf, nullptr);
    // The circle values as the flatness tests leave them, which an approximation afterwards
    // starts from.
    s.text.Bogen = befund.flachZustand.Bogen;
    s.text.LetzterRichtungswinkel = befund.flachZustand.LetzterRichtungswinkel;
    return befund.ergebnis;
}

namespace {

// EPSEinlesenText; gefragt: the question for a file without start marker was answered Yes.
ImportErgebnis Importieren(Sitzung& s, std::string inhalt, bool istPdf, bool gefragt) {
    UiDienste& ui = *s.ui;
    // Only a request made while this import runs may stop it.
    s.fenster.AbbruchWunsch = false;
    ui.Sanduhr(true);
    KonturStrom strom(s);
    Lesebefund befund = KonturPunkteLesen(s, std::move(inhalt), istPdf, &strom, gefragt);
    ui.Sanduhr(false);
    if (befund.ergebnis != ImportErgebnis::Gelesen) return befund.ergebnis;
    const Speicher& sp = s.speicher;
    ui.FortschrittMaximum(sp.KonturPunkte.Anzahl());
    ui.FortschrittWert(0);
    ui.BeschaeftigtSetzen();
    ui.AbbruchKnopf(true);
    strom.Ende(befund.flachZustand, true);
    ui.FortschrittWert(0);
    ui.AbbruchKnopf(false);
    ui.BereitSetzen();
    if (s.einstellungen.SparModus == 1) {
        // The economy fit of every path, or the approximation's elements where they are fewer
        // and keep the deviation.
        std::vector<const UmrissKontur*> konturen;
        for (const UmrissKontur& k : s.umriss.Konturen) konturen.push_back(&k);
        KonturMessung messung;
        SparAuswaehlen(s.speicher, 0, befund.sparElemente, konturen,
                       SparparameterAus(s.einstellungen).MaxAbweichung, messung);
        std::vector<GeoElement>().swap(befund.sparElemente);
    }
    UmrissAbschliessen(s);
    RahmenAnfuegen(s);
    ui.Neuzeichnen();
    ui.MenuesNachUmwandlung(false);
    LesebefundMelden(s, befund);
    if (befund.sparZuGross > 0) s.Melden(9);
    return ImportErgebnis::Gelesen;
}

// Whether the file holds a start marker, read in pieces of 1 MiB that are not kept: a file
// without one may end at the question, and must not be held in memory for that.
Dateifehler StartmarkePruefen(const std::string& pfad, bool& gefunden) {
    gefunden = false;
    struct Deskriptor {
        int fd;
        ~Deskriptor() {
            if (fd >= 0) ::close(fd);
        }
    } datei{::open(pfad.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    const int fd = datei.fd;
    if (fd < 0) return Dateifehler::Lesefehler;
    struct stat info {};
    if (::fstat(fd, &info) != 0) return Dateifehler::Lesefehler;
    if (!S_ISREG(info.st_mode)) return Dateifehler::KeineDatei;
    constexpr std::size_t Stueck = std::size_t{1} << 20;
    // A marker cut by the end of a piece is found with the end kept before the next piece.
    constexpr std::size_t Rest = Startmarken[2].size() - 1;
    std::vector<char> puffer(Rest + Stueck);
    std::size_t behalten = 0;
    for (;;) {
        const ssize_t n = ::read(fd, puffer.data() + behalten, Stueck);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Dateifehler::Lesefehler;
        }
        if (n == 0) return Dateifehler::Keiner;
        const std::string_view stueck(puffer.data(), behalten + static_cast<std::size_t>(n));
        for (std::string_view marke : Startmarken) {
            if (stueck.find(marke) != std::string_view::npos) {
                gefunden = true;
                return Dateifehler::Keiner;
            }
        }
        behalten = std::min(Rest, stueck.size());
        std::memmove(puffer.data(), stueck.data() + stueck.size() - behalten, behalten);
    }
}

} // namespace

ImportErgebnis EPSEinlesenText(Sitzung& s, std::string inhalt, bool istPdf) {
    return Importieren(s, std::move(inhalt), istPdf, false);
}

ImportErgebnis EPSEinlesen(Sitzung& s) {
    if (s.fenster.ParameterZeigen) s.ui->ImportParameterZeigen();
    s.fenster.ParameterZeigen = true;
    const std::string& pfad = s.fenster.AktDatei;
    const bool istPdf = IstPdfDatei(pfad);
    Dateifehler fehler = DateiPruefen(pfad, EPSMaxDateiGroesse);
    bool gefragt = false;
    if (fehler == Dateifehler::Keiner && !istPdf) {
        bool marke = false;
        fehler = StartmarkePruefen(pfad, marke);
        if (fehler == Dateifehler::Keiner && !marke) {
            // Asked before the file is read whole, with the stores emptied as at its usual place.
            s.fenster.AbbruchWunsch = false;
            s.ui->Sanduhr(true);
            SpeicherZuruecksetzen(s);
            const bool lesen = OhneStartmarkeLesen(s);
            s.ui->Sanduhr(false);
            if (!lesen) return ImportErgebnis::Abgelehnt;
            gefragt = true;
        }
    }
    std::string inhalt;
    if (fehler == Dateifehler::Keiner) fehler = DateiEinlesen(pfad, EPSMaxDateiGroesse, inhalt);
    if (fehler != Dateifehler::Keiner) {
        s.DateifehlerMelden(fehler, pfad, EPSMaxDateiGroesse);
        return ImportErgebnis::NichtLesbar;
    }
    return Importieren(s, std::move(inhalt), istPdf, gefragt);
}

} // namespace konturo
