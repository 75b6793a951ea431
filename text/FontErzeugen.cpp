// Outline curve approximation: glyph stream reading, spline sampling, the arc fitting pass and
// the circle constructions it is built on.
#include "text/FontErzeugen.h"

#include "app/Sitzung.h"
#include "text/GlyphGeraet.h"
#include "text/GlyphonBindung.h"

#include <cmath>
#include <exception>
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

// Assigns only a finite value: an arithmetic fault leaves the previous content.
void Setzen(double& ziel, double wert) {
    if (Endlich(wert)) ziel = wert;
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

// One approximation pass over the outline buffer.
class Durchlauf {
public:
    Durchlauf(Sitzung& s, bool grafikModus)
        : s_(s), z_(s.text), kp_(s.speicher.KonturPunkte), par_(ParameterLesen(s)),
          n_(SchritteJeSegment(par_.SplineSchritt)), grafik_(grafikModus) {}

    void Ausfuehren();

private:
    double X(std::int32_t k) const { return kp_[k].X1; }
    double Y(std::int32_t k) const { return kp_[k].Y1; }
    double PX(double x) const { return Platziert(z_.StiftX, x, z_.Massstab); }
    double PY(double y) const { return Platziert(z_.StiftY, y, z_.Massstab); }

    bool Unterbrechen(std::int32_t i, std::int32_t& naechsteMeldung);
    bool VollkreisTest(std::int32_t f, std::int32_t& l);
    std::int32_t LaufApproximieren(std::int32_t i);
    bool Passt(std::int32_t von, std::int32_t bis) const;

    void LinieAusgeben(double x1, double y1, double x2, double y2, std::int32_t kontur);
    void PlatzierteLinie(double x1, double y1, double x2, double y2, std::int32_t kontur,
                         bool boxErweitern);
    void BogenAusgeben(std::int32_t von, std::int32_t bis, std::int32_t kontur);
    void KreisAusgeben(std::int32_t kontur);

    Sitzung& s_;
    Textzustand& z_;
    GeoFeld& kp_;
    Approximationsparameter par_;
    std::int32_t n_;
    bool grafik_;
};

void Durchlauf::Ausfuehren() {
    const std::int32_t anzahl = kp_.Anzahl();
    std::int32_t schritt = 1;
    std::int32_t naechsteMeldung = 10;
    for (std::int32_t i = 1; i <= anzahl; ++i) {
        ++schritt;
        if (grafik_ && Unterbrechen(i, naechsteMeldung)) break;
        const GeoElement& r = kp_[i];
        // Slot 0 holds no record, so its contour number is the 0 the pass starts from.
        if (r.KonturNr != kp_[i - 1].KonturNr) {
            if (schritt > z_.MaxKonturLaenge) z_.MaxKonturLaenge = schritt;
            schritt = 1;
            std::int32_t l = i;
            if (r.Typ == Punkt && VollkreisTest(i, l)) {
                i = l;
                continue;
            }
        }
        if (r.Typ == Linie)
            LinieAusgeben(r.X1, r.Y1, r.X2, r.Y2, r.KonturNr);
        else if (r.Typ == Punkt)
            i = LaufApproximieren(i);
    }
}

// Progress every 10 records; true when the user asked to abort.
bool Durchlauf::Unterbrechen(std::int32_t i, std::int32_t& naechsteMeldung) {
    if (i < naechsteMeldung) return false;
    naechsteMeldung = i + 10;
    s_.ui->FortschrittWert(i);
    if (s_.einstellungen.Unterbrechung == 1) s_.ui->EreignisseVerarbeiten();
    if (!s_.fenster.AbbruchWunsch) return false;
    s_.fenster.AbbruchWunsch = false;
    return true;
}

bool Durchlauf::VollkreisTest(std::int32_t f, std::int32_t& l) {
    const std::int32_t anzahl = kp_.Anzahl();
    l = f;
    while (l < anzahl && kp_[l + 1].KonturNr == kp_[f].KonturNr) ++l;
    const std::int32_t d = l - f;
    KreisDurchDreiPunkte(z_, X(f), Y(f), X(f + d / 3), Y(f + d / 3), X(f + 2 * d / 3),
                         Y(f + 2 * d / 3));
    if (z_.KeinKreis) {
        z_.KeinKreis = false;
        return false;
    }
    // The box extent (output units) is compared with the radius (outline units) as they stand.
    if (!(s_.speicher.XMax - s_.speicher.XMin >= z_.Bogen.Radius)) return false;
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

// Replaces one run of n + 1 sample points by arcs; returns the run's last record.
std::int32_t Durchlauf::LaufApproximieren(std::int32_t i) {
    const std::int32_t kontur = kp_[i].KonturNr;
    std::int32_t s = i;
    // A run cut short by the end of the buffer (malformed input) is fitted as far as it goes.
    const std::int32_t e = std::min(i + n_, kp_.Anzahl());
    const std::int32_t laenge = e - s;
    const std::int32_t mitte = s + laenge / 2;

    KreisDurchDreiPunkte(z_, X(s), Y(s), X(mitte), Y(mitte), X(e), Y(e));
    bool passt;
    if (z_.KeinKreis) {
        z_.KeinKreis = false;
        passt = false;
    } else {
        passt = Passt(s, e);
    }
    if (passt) {
        BogenAusgeben(s, e, kontur);
        return e;
    }

    // Greedy split: grow an arc tangent to the chord direction at its end point until it leaves
    // the tolerance or covers half the run.
    const double halbLauf = laenge / 2.0;
    std::int32_t m = s + 2;
    while (m < e) {
        const double a = Richtungswinkel(z_, X(m - 1), Y(m - 1), X(m + 1), Y(m + 1));
        KreisTangential(z_, X(s), Y(s), X(m), Y(m), a);
        const bool kandidatPasst = Passt(s, m);
        if (m > s + halbLauf || !kandidatPasst) {
            BogenAusgeben(s, m, kontur);
            s = m;
        }
        ++m;
        if (e - m < 2) m = e;
    }

    if (X(e) == X(s) && Y(e) == Y(s)) return e;
    const double a = Richtungswinkel(z_, X(s + 1), Y(s + 1), X(s - 1), Y(s - 1));
    KreisTangential(z_, X(e), Y(e), X(s), Y(s), a);
    BogenAusgeben(s, e, kontur);
    return e;
}

void Durchlauf::LinieAusgeben(double x1, double y1, double x2, double y2, std::int32_t kontur) {
    if (x1 == x2 && y1 == y2) return;
    if (!(Abstand(x1, y1, x2, y2) >= MinLinienLaenge)) return;
    PlatzierteLinie(PX(x1), PY(y1), PX(x2), PY(y2), kontur, true);
}

void Durchlauf::PlatzierteLinie(double x1, double y1, double x2, double y2, std::int32_t kontur,
                                bool boxErweitern) {
    if (!Endlich(x1) || !Endlich(y1) || !Endlich(x2) || !Endlich(y2)) return;
    if (x1 == x2 && y1 == y2) return;
    const std::int32_t farbe = Abstand(x1, y1, x2, y2) < par_.WarnLaenge ? par_.WarnFarbe : 0;
    GeoElement e = NeuesElement(Linie, x1, y1, x2, y2, 0, kontur, farbe);
    s_.speicher.Elemente.Anfuegen(e);
    if (boxErweitern) {
        BoxPunkt(s_.speicher, x1, y1);
        BoxPunkt(s_.speicher, x2, y2);
    }
}

void Durchlauf::BogenAusgeben(std::int32_t von, std::int32_t bis, std::int32_t kontur) {
    const Kreisbogen& b = z_.Bogen;
    const double r = b.Radius * z_.Massstab;
    const double mx = PX(b.MX);
    const double my = PY(b.MY);
    double start = b.Start;
    double ende = b.Ende;
    if (!Endlich(r) || !Endlich(mx) || !Endlich(my) || !Endlich(start) || !Endlich(ende)) return;

    if (r > par_.MaxRadius) {
        PlatzierteLinie(PX(X(von)), PY(Y(von)), PX(X(bis)), PY(Y(bis)), kontur, false);
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
    const double r = std::fabs(z_.Bogen.Radius) * z_.Massstab;
    const double mx = PX(z_.Bogen.MX);
    const double my = PY(z_.Bogen.MY);
    if (!Endlich(r) || !Endlich(mx) || !Endlich(my) || r > par_.MaxRadius) return;
    GeoElement e;
    e.Typ = Kreis;
    e.X1 = mx;
    e.Y1 = my;
    e.Radius = r;
    e.KonturNr = kontur;
    s_.speicher.Elemente.Anfuegen(e);
    // A circle reaches centre +- radius; without this a circle on the outside of the drawing
    // would stick out of the box that limits, origin and frame are taken from.
    BoxPunkt(s_.speicher, mx - r, my - r);
    BoxPunkt(s_.speicher, mx + r, my + r);
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

void GlyphEinlesen(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen) {
    GlyphonFunktion funktion = GlyphonBinden();
    void* dc = geraet.Handle();
    if (funktion == nullptr || dc == nullptr) {
        s.Melden(125);
        return;
    }
    GlyphonFelder felder;
    std::int32_t anzahl = 0;
    try {
        anzahl = felder.Aufrufen(funktion, dc, zeichen);
        if (anzahl < 1 || anzahl > MaxStromLaenge) {
            s.Melden(125);
            return;
        }
        felder.Dimensionieren(anzahl);
        const std::int32_t zweiter = felder.Aufrufen(funktion, dc, zeichen);
        if (zweiter != anzahl) {
            s.Melden(125);
            return;
        }
    } catch (const std::exception&) {
        s.Melden(125);
        return;
    }
    try {
        if (!GlyphStromLesen(s, felder.x.data(), felder.y.data(), felder.art.data(), anzahl))
            s.Melden(126);
    } catch (const std::exception&) {
        s.Melden(126);
    }
}

void KonturApproximieren(Sitzung& s, bool grafikModus) {
    try {
        Durchlauf(s, grafikModus).Ausfuehren();
    } catch (const std::exception&) {
        s.Melden(127);
        s.ui->BereitSetzen();
    }
}

void KreisDurchDreiPunkte(Textzustand& z, double x1, double y1, double x2, double y2, double x3,
                          double y3) {
    const double q1 = x1 * x1 + y1 * y1;
    const double a = (x2 * x2 + y2 * y2 - q1) / 2;
    const double b = (x3 * x3 + y3 * y3 - q1) / 2;
    const double dx2 = x2 - x1, dy2 = y2 - y1, dx3 = x3 - x1, dy3 = y3 - y1;
    const double nennerX = dy3 * dx2 - dx3 * dy2;
    const double nennerY = dx3 * dy2 - dy3 * dx2;
    if (nennerX == 0.0 || nennerY == 0.0) {
        z.KeinKreis = true;
        return;
    }
    const double mx = (a * dy3 - b * dy2) / nennerX;
    const double my = (a * dx3 - b * dx2) / nennerY;
    const double r = Abstand(x1, y1, mx, my);
    if (!Endlich(mx) || !Endlich(my) || !Endlich(r)) {
        z.KeinKreis = true;
        return;
    }
    z.Bogen.MX = mx;
    z.Bogen.MY = my;
    z.Bogen.Radius = r;
    BogenWinkel(z, mx, my, x1, y1, x3, y3);
}

void KreisTangential(Textzustand& z, double ax, double ay, double bx, double by, double alpha) {
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
    Kreisbogen& kb = z.Bogen;
    Setzen(kb.MX, Teilen(b2 - b1, k1 - k2));
    Setzen(kb.MY, k1 * kb.MX + b1);
    Setzen(kb.Radius, Abstand(bx, by, kb.MX, kb.MY));
    BogenWinkel(z, kb.MX, kb.MY, bx, by, ax, ay);
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
