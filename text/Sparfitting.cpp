// Economy fitting of true outline contours: corners, runs of smooth pieces followed by a fine
// polyline, the fewest arcs joined without a kink that a search in layers finds within the
// deviation both ways, the merging of what lies on one line or circle, and a final measurement of
// every contour.
#include "text/Sparfitting.h"

#include "app/DB_System.h"
#include "geometry/Abweichung.h"
#include "text/FontErzeugen.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace konturo {

namespace {

// A joint whose directions differ by more than this is a corner: the elements may turn there.
constexpr double EckWinkelGrad = 3.0;
// The polyline that stands for the outline keeps within this share of the deviation.
constexpr double PolylinienAnteil = 1.0 / 40;
// The share of the deviation the fit aims at; the rest covers the polyline and what lies between
// the points where the distances are checked. A contour that still measures above the deviation
// is fitted again with a narrower aim.
constexpr double FitAnteil = 0.97;
constexpr int Nachbesserungen = 3;
// The finest deviation fitted for (mm).
constexpr double MinAbweichung = 0.001;
// The steps (degrees) in which the direction out of a corner is searched.
constexpr double EckSuchschrittGrad = 2.0;
// The search's bins: this many offsets across the corridor times this many angles to the
// outline up to EndWinkelGrad either way (an arc ending at a larger angle leaves the next one
// little room).
constexpr int Faecher = 7;
constexpr double EndWinkelGrad = 3.0;
// The curvatures tried from a state: a grid of this many steps over the outline's curvature
// plus or minus the larger of this share of it and this many times the aim per millimetre
// squared, then each bin's best narrowed this many times by halving the step.
constexpr int KruemmungsRaster = 16;
constexpr double KruemmungsBreite = 0.3;
constexpr double MinKruemmungsBreite = 0.4;
constexpr int Verfeinerungen = 5;
// The grid over all curvatures where the outline turns too tightly for the first one.
constexpr int WeitesRaster = 128;

P2 Einheit(P2 v) {
    const double l = Laenge(v);
    return l > 0 ? (1 / l) * v : P2{};
}

bool Null(P2 v) { return v.x == 0 && v.y == 0; }

bool Gleich(P2 a, P2 b) { return a.x == b.x && a.y == b.y; }

P2 AnfangsRichtung(const UmrissStueck& s) {
    for (int i = 1; i <= s.Grad; ++i) {
        const P2 v = s.P[static_cast<std::size_t>(i)] - s.P[0];
        if (!Null(v)) return Einheit(v);
    }
    return {};
}

P2 EndRichtung(const UmrissStueck& s) {
    for (int i = s.Grad - 1; i >= 0; --i) {
        const P2 v = s.Ende() - s.P[static_cast<std::size_t>(i)];
        if (!Null(v)) return Einheit(v);
    }
    return {};
}

double Winkel(P2 v) {
    const double w = std::atan2(v.y, v.x);
    return w < 0 ? w + 2 * Pi() : w;
}

double StreckenAbstand(P2 p, P2 a, P2 b) {
    const P2 ab = b - a;
    const double l2 = Skalar(ab, ab);
    const double t = l2 > 0 ? std::clamp(Skalar(p - a, ab) / l2, 0.0, 1.0) : 0.0;
    return Laenge(p - (a + t * ab));
}

// An element on its way along the contour: ccw tells the direction an arc is run in.
struct Zug {
    GeoElement e;
    bool ccw = true;
    P2 a, b; // start and end in the contour's direction
};

Zug LinieZug(P2 a, P2 b, std::int32_t nr) {
    return {NeuesElement(Linie, a.x, a.y, b.x, b.y, 0, nr), true, a, b};
}

// The arc from a with tangent ta to b; a line where it is straight or wider than maxRadius;
// false when no arc leaves a in direction ta towards b.
bool BogenZug(P2 a, P2 ta, P2 b, double maxRadius, std::int32_t nr, Zug& z) {
    const P2 w = b - a;
    const double w2 = Skalar(w, w);
    if (!(w2 > 0)) return false;
    const double kreuz = Kreuz(ta, w);
    if (std::fabs(kreuz) <= 1e-12 * std::sqrt(w2)) {
        if (Skalar(ta, w) <= 0) return false;
        z = LinieZug(a, b, nr);
        return true;
    }
    const double k = 2 * kreuz / w2; // signed curvature
    const double r = 1 / std::fabs(k);
    if (r > maxRadius) {
        z = LinieZug(a, b, nr);
        return true;
    }
    const P2 m = a + (1 / k) * P2{-ta.y, ta.x};
    const double wa = Winkel(a - m), wb = Winkel(b - m);
    const bool ccw = k > 0;
    z = {NeuesElement(Bogen, m.x, m.y, ccw ? wa : wb, ccw ? wb : wa, r, nr), ccw, a, b};
    return true;
}

P2 EndRichtungVon(const Zug& z) {
    if (z.e.Typ != Bogen) return Einheit(z.b - z.a);
    const P2 radial = z.b - P2{z.e.X1, z.e.Y1};
    const P2 t = Einheit(P2{-radial.y, radial.x});
    return z.ccw ? t : -1.0 * t;
}

// The distance of q from the element on its way (as ElementAbstand, without angles: the side of
// the radii through the arc's ends tells whether q lies in its sweep).
double ZugAbstand(const Zug& z, P2 q) {
    if (z.e.Typ != Bogen) return StreckenAbstand(q, z.a, z.b);
    const P2 m{z.e.X1, z.e.Y1};
    const P2 u = (z.ccw ? z.a : z.b) - m, v = (z.ccw ? z.b : z.a) - m, w = q - m;
    const bool innen = Kreuz(u, v) >= 0 ? Kreuz(u, w) >= 0 && Kreuz(w, v) >= 0
                                        : !(Kreuz(v, w) > 0 && Kreuz(w, u) > 0);
    if (innen) return std::fabs(Laenge(w) - z.e.Radius);
    return std::min(Laenge(q - z.a), Laenge(q - z.b));
}

// The biarc from p0 (direction t0) to p1 (direction t1) whose first tangent length is
// anteil times that of the biarc with equal tangent lengths.
bool Biarc(P2 p0, P2 t0, P2 p1, P2 t1, double anteil, double maxRadius, std::int32_t nr,
           std::vector<Zug>& aus) {
    aus.clear();
    const P2 v = p1 - p0;
    const double vv = Skalar(v, v);
    if (!(vv > 0) || Null(t0) || Null(t1)) return false;
    const double vt = Skalar(v, t0 + t1);
    const double nenner = 2 * (1 - Skalar(t0, t1));
    double d;
    if (nenner < 1e-12) {
        if (std::fabs(Kreuz(t0, v)) <= 1e-12 * std::sqrt(vv)) {
            if (Skalar(t0, v) <= 0) return false;
            aus.push_back(LinieZug(p0, p1, nr));
            return true;
        }
        d = vt > 0 ? vv / (2 * vt) : -1;
    } else {
        d = (-vt + std::sqrt(vt * vt + nenner * vv)) / nenner;
    }
    if (!(d > 0) || !std::isfinite(d)) return false;
    // The second tangent length that closes |q2 - q1| = alpha + beta.
    const double alpha = anteil * d;
    const P2 w = v - alpha * t0;
    const double nenner2 = 2 * (Skalar(w, t1) + alpha);
    if (!(std::fabs(nenner2) > 0)) return false;
    const double beta = (Skalar(w, w) - alpha * alpha) / nenner2;
    if (!(beta > 0) || !std::isfinite(beta)) return false;
    const P2 q1 = p0 + alpha * t0, q2 = p1 - beta * t1;
    const P2 j = q1 + (alpha / (alpha + beta)) * (q2 - q1);
    P2 tj = Einheit(q2 - q1);
    if (Null(tj)) tj = Einheit(v);
    Zug z1, z2;
    if (!BogenZug(p0, t0, j, maxRadius, nr, z1) || !BogenZug(j, tj, p1, maxRadius, nr, z2))
        return false;
    aus.push_back(z1);
    aus.push_back(z2);
    return true;
}

// A run of smooth pieces followed by a polyline whose points lie on the curve and whose chords
// stay within eps of it (control polygons flat to eps, a rigorous bound), with the curve's
// direction at every point, and each chord's unit direction, length and distance from the start.
class Lauf {
public:
    // At most maxPunkte points: a run that needs more is left unfinished (Voll).
    Lauf(const std::vector<UmrissStueck>& stuecke, double eps, std::size_t maxPunkte) {
        punkte_.push_back(stuecke.front().Anfang());
        richtungen_.push_back(AnfangsRichtung(stuecke.front()));
        for (const UmrissStueck& s : stuecke) {
            Teilen(s, eps, 0, maxPunkte);
            if (voll_) break;
        }
        weg_.push_back(0);
        for (std::size_t i = 0; i + 1 < punkte_.size(); ++i) {
            const P2 v = punkte_[i + 1] - punkte_[i];
            const double l = Laenge(v);
            sehnen_.push_back(l > 0 ? (1 / l) * v : P2{});
            laengen_.push_back(l);
            weg_.push_back(weg_.back() + l);
        }
    }
    const std::vector<P2>& Punkte() const { return punkte_; }
    const std::vector<P2>& Richtungen() const { return richtungen_; }
    std::size_t Sehnen() const { return sehnen_.size(); }
    // The distance of q from chord i, and where its foot lies along the run.
    double Abstand2(P2 q, std::size_t i) const {
        const P2 v = q - punkte_[i];
        const double t = std::clamp(Skalar(v, sehnen_[i]), 0.0, laengen_[i]);
        const P2 r = v - t * sehnen_[i];
        return Skalar(r, r);
    }
    P2 Sehne(std::size_t i) const { return sehnen_[i]; }
    double Weg(P2 q, std::size_t i) const {
        return weg_[i] + std::clamp(Skalar(q - punkte_[i], sehnen_[i]), 0.0, laengen_[i]);
    }
    double Gesamt() const { return weg_.back(); }
    bool Voll() const { return voll_; }

private:
    void Teilen(const UmrissStueck& s, double eps, int tiefe, std::size_t maxPunkte) {
        if (voll_ || punkte_.size() >= maxPunkte) {
            voll_ = true;
            return;
        }
        const P2 a = s.Anfang(), b = s.Ende();
        bool flach = true;
        for (int i = 1; i < s.Grad && flach; ++i)
            flach = StreckenAbstand(s.P[static_cast<std::size_t>(i)], a, b) <= eps;
        if (flach || tiefe > 24) {
            punkte_.push_back(b);
            richtungen_.push_back(EndRichtung(s));
            return;
        }
        // de Casteljau at one half.
        std::array<P2, 4> q = s.P;
        UmrissStueck links{s.Grad, {}}, rechts{s.Grad, {}};
        for (int k = 0; k <= s.Grad; ++k) {
            links.P[static_cast<std::size_t>(k)] = q[0];
            rechts.P[static_cast<std::size_t>(s.Grad - k)] =
                q[static_cast<std::size_t>(s.Grad - k)];
            for (int i = 0; i < s.Grad - k; ++i)
                q[static_cast<std::size_t>(i)] =
                    0.5 * (q[static_cast<std::size_t>(i)] + q[static_cast<std::size_t>(i + 1)]);
        }
        Teilen(links, eps, tiefe + 1, maxPunkte);
        Teilen(rechts, eps, tiefe + 1, maxPunkte);
    }

    std::vector<P2> punkte_;
    std::vector<P2> richtungen_;
    std::vector<P2> sehnen_;
    std::vector<double> laengen_;
    std::vector<double> weg_;
    bool voll_ = false;
};

// The fitting of one contour's runs with the fewest arcs found by a search in layers. Layer n
// holds states (a point inside the corridor of the aim's width around the outline, and a
// direction) that n arcs reach, each arc leaving in the direction the previous one arrived in:
// for every offset from the outline and angle to it (a grid of bins), the state farthest along.
// The run ends with one arc or a biarc into its end point, in the outline's own direction there
// unless the end is a corner. The elements' direction is continuous along the run.
class Fitter {
public:
    // schritte: the steps along arcs the fit may still take; once they are used up, every run
    // fails.
    Fitter(const Sparparameter& p, std::int32_t nr, double ziel, std::int64_t& schritte)
        : p_(p), nr_(nr), ziel_(ziel), eps_(p.MaxAbweichung * PolylinienAnteil),
          grenze_(ziel - eps_), schritt_(std::max(ziel / 2, 1e-4)),
          winkelTangens_(std::tan(EndWinkelGrad * Pi() / 180)), schritte_(schritte) {}

    double Eps() const { return eps_; }

    // A run that starts at a corner may leave it in any direction, one that ends at a corner
    // may arrive in any; elsewhere the outline's direction is kept. False when aus would grow
    // beyond maxElemente or the steps are used up.
    bool LaufFitten(const Lauf& l, bool eckAnfang, bool eckEnde, std::vector<Zug>& aus,
                    std::size_t maxElemente) const {
        const std::vector<P2>& pt = l.Punkte();
        const std::size_t letzter = pt.size() - 1;
        Suche su;
        const P2 t0 = l.Richtungen()[0];
        const int richtungen = eckAnfang ? 9 : 1;
        for (int r = 0; r < richtungen; ++r) {
            const double w =
                (r % 2 == 0 ? 1 : -1) * ((r + 1) / 2) * EckSuchschrittGrad * Pi() / 180;
            const P2 tr{std::cos(w) * t0.x - std::sin(w) * t0.y,
                        std::sin(w) * t0.x + std::cos(w) * t0.y};
            su.schicht.push_back(static_cast<std::int32_t>(su.alle.size()));
            su.alle.push_back({pt[0], tr, 0, 0.0, -1, {}});
        }
        std::vector<Zug> zuege, schluss;
        // Every layer moves on by half a step at least, or by a polyline point when stuck.
        const double schichten = 2 * l.Gesamt() / schritt_ + static_cast<double>(pt.size()) + 2;
        for (double n = 0; n < schichten; ++n) {
            if (aus.size() + static_cast<std::size_t>(n) + 2 > maxElemente || schritte_ < 0)
                return false;
            // The first layer from which the end is reached gives the fewest arcs.
            std::int32_t fertig = -1;
            for (const std::int32_t i : su.schicht) {
                const Zustand& z = su.alle[static_cast<std::size_t>(i)];
                if (Schluss(l, z.p, z.t, z.seg, eckEnde, zuege) &&
                    (fertig < 0 || zuege.size() < schluss.size())) {
                    fertig = i;
                    schluss = zuege;
                    if (zuege.size() == 1) break;
                }
            }
            if (fertig >= 0) {
                su.Kette(fertig, aus);
                aus.insert(aus.end(), schluss.begin(), schluss.end());
                return true;
            }
            std::vector<std::int32_t> neu;
            // The next layer from the curvatures around the outline's; where the outline turns
            // too tightly for them to follow, from the whole range of curvatures it can have.
            for (const bool weit : {false, true}) {
                std::vector<Kandidat> beste(Faecher * Faecher);
                for (const std::int32_t i : su.schicht) Ausbreiten(l, su.alle, i, weit, beste);
                Verfeinern(l, su.alle, beste);
                Uebernehmen(l, beste, su, neu);
                if (!neu.empty()) break;
            }
            if (neu.empty()) {
                // Stuck (a cusp): a line from the farthest state to the next point keeps the
                // contour closed.
                std::int32_t weitester = su.schicht[0];
                for (const std::int32_t i : su.schicht)
                    if (su.alle[static_cast<std::size_t>(i)].weg >
                        su.alle[static_cast<std::size_t>(weitester)].weg)
                        weitester = i;
                const Zustand v = su.alle[static_cast<std::size_t>(weitester)];
                const std::size_t ziel = std::min(v.seg + 1, letzter);
                const Zug z = LinieZug(v.p, pt[ziel], nr_);
                if (ziel == letzter) {
                    su.Kette(weitester, aus);
                    aus.push_back(z);
                    return true;
                }
                neu.push_back(static_cast<std::int32_t>(su.alle.size()));
                su.alle.push_back(
                    {pt[ziel], Einheit(pt[ziel] - v.p), ziel, l.Weg(pt[ziel], ziel), weitester, z});
            }
            su.schicht = std::move(neu);
        }
        // Not reached for any outline the polyline can follow; the contour stays closed.
        aus.push_back(LinieZug(su.alle[static_cast<std::size_t>(su.schicht[0])].p, pt.back(), nr_));
        return true;
    }

    // A smooth closed contour that is a circle within the aim.
    bool KreisVersuchen(const Lauf& l, std::vector<Zug>& aus) const {
        const std::vector<P2>& pt = l.Punkte();
        const std::size_t n = pt.size();
        if (n < 4) return false;
        const P2 a = pt[0], b = pt[n / 3], c = pt[2 * n / 3];
        const double nenner = 2 * Kreuz(b - a, c - a);
        if (std::fabs(nenner) < 1e-12) return false;
        const double ab = Skalar(b - a, b - a), ac = Skalar(c - a, c - a);
        const P2 m =
            a + (1 / nenner) * P2{(c - a).y * ab - (b - a).y * ac, (b - a).x * ac - (c - a).x * ab};
        const double r = Laenge(a - m);
        if (!std::isfinite(r) || r > p_.MaxRadius) return false;
        for (const P2& q : pt)
            if (std::fabs(Laenge(q - m) - r) > ziel_) return false;
        aus.push_back({NeuesElement(Kreis, m.x, m.y, 0, 0, r, nr_), true, a, a});
        return true;
    }

private:
    struct Zustand {
        P2 p, t;
        std::size_t seg; // the chord p lies beside
        double weg;      // how far along the run
        std::int32_t eltern;
        Zug zug; // the arc from the parent here
    };
    // The best arc end found for a bin: the curvature it was found with and the step of the
    // curvature grid around it.
    struct Kandidat {
        P2 q;
        std::size_t seg = 0;
        double weg = -1;
        std::int32_t eltern = -1;
        double k = 0, dk = 0;
    };
    struct Suche {
        std::vector<Zustand> alle;
        std::vector<std::int32_t> schicht;
        // The arcs that lead to state i, in the run's order, appended to aus.
        void Kette(std::int32_t i, std::vector<Zug>& aus) const {
            std::vector<Zug> r;
            for (; i >= 0 && alle[static_cast<std::size_t>(i)].eltern >= 0;
                 i = alle[static_cast<std::size_t>(i)].eltern)
                r.push_back(alle[static_cast<std::size_t>(i)].zug);
            aus.insert(aus.end(), r.rbegin(), r.rend());
        }
    };

    // The arcs of a range of curvatures around the outline's from state i.
    void Ausbreiten(const Lauf& l, const std::vector<Zustand>& alle, std::int32_t i, bool weit,
                    std::vector<Kandidat>& beste) const {
        const Zustand& z = alle[static_cast<std::size_t>(i)];
        const double kSchaetz = weit ? 0 : Kruemmung(l.Punkte(), z.p, z.seg);
        // Wide: every radius down to half the aim (a tighter arc stays inside the corridor).
        const double breite =
            weit ? 2 / ziel_
                 : std::max(KruemmungsBreite * std::fabs(kSchaetz), MinKruemmungsBreite * ziel_);
        const int raster = weit ? WeitesRaster : KruemmungsRaster;
        const double dk = 2 * breite / raster;
        for (int r = 0; r <= raster; ++r) Gehen(l, alle, i, kSchaetz - breite + r * dk, dk, beste);
    }

    // The bins' arc ends as the next layer's states, where the outline points each arc passes
    // lie within the aim of it.
    void Uebernehmen(const Lauf& l, const std::vector<Kandidat>& beste, Suche& su,
                     std::vector<std::int32_t>& neu) const {
        for (const Kandidat& k : beste) {
            if (k.eltern < 0) continue;
            const Zustand& v = su.alle[static_cast<std::size_t>(k.eltern)];
            Zug z;
            if (!BogenZug(v.p, v.t, k.q, p_.MaxRadius, nr_, z)) continue;
            bool gut = true;
            for (std::size_t j = v.seg + 1; j <= k.seg && gut; ++j)
                gut = ZugAbstand(z, l.Punkte()[j]) <= ziel_;
            if (!gut) continue;
            neu.push_back(static_cast<std::int32_t>(su.alle.size()));
            su.alle.push_back({k.q, EndRichtungVon(z), k.seg, k.weg, k.eltern, z});
        }
    }

    // Each bin's best arc tried again with the curvature a little either side, narrowing.
    void Verfeinern(const Lauf& l, const std::vector<Zustand>& alle,
                    std::vector<Kandidat>& beste) const {
        for (int stufe = 0; stufe < Verfeinerungen; ++stufe) {
            const std::vector<Kandidat> stand = beste;
            for (const Kandidat& b : stand) {
                if (b.eltern < 0) continue;
                const double dk = b.dk / 2;
                Gehen(l, alle, b.eltern, b.k - dk, dk, beste);
                Gehen(l, alle, b.eltern, b.k + dk, dk, beste);
            }
        }
    }

    // The arc of curvature k from state i, walked while it stays in the corridor: every point
    // where it runs at less than the bins' largest angle to the outline is a candidate for the
    // bin of its offset and angle.
    void Gehen(const Lauf& l, const std::vector<Zustand>& alle, std::int32_t i, double k, double dk,
               std::vector<Kandidat>& beste) const {
        const Zustand& z = alle[static_cast<std::size_t>(i)];
        const std::vector<P2>& pt = l.Punkte();
        const std::size_t letzte = l.Sehnen() - 1;
        const double grenze2 = grenze_ * grenze_;
        const P2 t = z.t, n{-t.y, t.x};
        // Steps short enough that the distance between two of them cannot rise far above the
        // larger of the two.
        const double h = std::clamp(std::sqrt(0.2 * ziel_ / (2 * std::fabs(k) + 1e-6)), schritt_,
                                    std::max(1.0, l.Gesamt() / 1024));
        const double maxL = std::fabs(k) > 0 ? Pi() / std::fabs(k) : 1e9; // a half turn
        const double cs = std::cos(k * h), sn = std::sin(k * h);
        const double kehr = k != 0 ? 1 / k : 0;
        double c = 1, si = 0;
        std::size_t s = z.seg;
        for (double x = h; x <= maxL && --schritte_ >= 0; x += h) {
            // The point and direction at length x, turned on step by step: p + (sin kx t +
            // (1 - cos kx) n) / k, written so that k = 0 is the straight line.
            const double c2 = c * cs - si * sn;
            si = si * cs + c * sn;
            c = c2;
            const bool gerade = std::fabs(k * x) < 1e-8;
            const double sinc = gerade ? x : si * kehr;
            const double cosc = gerade ? k * x * x / 2 : (1 - c) * kehr;
            const P2 q = z.p + sinc * t + cosc * n;
            // The nearest chord from s on.
            double d2 = l.Abstand2(q, s);
            while (s < letzte) {
                const double weiter = l.Abstand2(q, s + 1);
                if (weiter > d2) break;
                d2 = weiter;
                ++s;
            }
            if (d2 > grenze2) break;
            const P2 sehne = l.Sehne(s);
            const P2 richtung{c * t.x - si * t.y, si * t.x + c * t.y};
            const double vor = Skalar(sehne, richtung);
            if (vor > 0) {
                const double w = Kreuz(sehne, richtung) / vor; // tangent of the angle
                if (std::fabs(w) <= winkelTangens_) {
                    const double d = std::sqrt(d2);
                    const double seite = Kreuz(sehne, q - pt[s]) >= 0 ? d : -d;
                    const int fa = std::clamp(static_cast<int>((seite / grenze_ + 1) / 2 * Faecher),
                                              0, Faecher - 1);
                    const int fw = std::clamp(
                        static_cast<int>((w / winkelTangens_ + 1) / 2 * Faecher), 0, Faecher - 1);
                    const double weg = l.Weg(q, s);
                    Kandidat& b = beste[static_cast<std::size_t>(fa * Faecher + fw)];
                    if (weg > b.weg && weg >= z.weg + schritt_ / 2) b = {q, s, weg, i, k, dk};
                }
            }
            // Past the end of the run: the run's own end takes over.
            if (s == letzte && Skalar(q - pt.back(), sehne) > 0) break;
        }
    }

    // The end of the run from p: one arc into the end point where the end is a corner, else a
    // biarc in the outline's direction there.
    bool Schluss(const Lauf& l, P2 p, P2 t, std::size_t seg, bool eckEnde,
                 std::vector<Zug>& zuege) const {
        const std::vector<P2>& pt = l.Punkte();
        Zug z;
        if (eckEnde && BogenZug(p, t, pt.back(), p_.MaxRadius, nr_, z)) {
            zuege = {z};
            if (Passt(zuege, pt, seg, pt.size() - 1)) return true;
        }
        for (const double anteil : {1.0, 0.6, 1.6, 0.35, 2.8}) {
            if (Biarc(p, t, pt.back(), l.Richtungen().back(), anteil, p_.MaxRadius, nr_, zuege) &&
                Passt(zuege, pt, seg, pt.size() - 1))
                return true;
        }
        return false;
    }

    // The curvature of the outline ahead of p: the circle through p and two polyline points
    // about one and two millimetres on.
    static double Kruemmung(const std::vector<P2>& pt, P2 p, std::size_t seg) {
        std::size_t i1 = seg + 1, i2 = seg + 1;
        while (i1 + 1 < pt.size() && Laenge(pt[i1] - p) < 1.0) ++i1;
        i2 = i1;
        while (i2 + 1 < pt.size() && Laenge(pt[i2] - pt[i1]) < 1.0) ++i2;
        if (i2 >= pt.size() || i1 == i2) return 0;
        const P2 a = pt[i1] - p, b = pt[i2] - p, c = pt[i2] - pt[i1];
        const double la = Laenge(a), lb = Laenge(b), lc = Laenge(c);
        if (!(la > 0 && lb > 0 && lc > 0)) return 0;
        return 2 * Kreuz(a, b) / (la * lb * lc);
    }

    // Every polyline point between a and b near the elements, and every element near the
    // polyline, within the aim.
    bool Passt(const std::vector<Zug>& zuege, const std::vector<P2>& pt, std::size_t a,
               std::size_t b) const {
        for (const Zug& z : zuege) {
            // An arc going round beyond a turn and a half of its points is no fit of them.
            if (z.e.Typ == Bogen && Bogenwinkel(z.e.X2, z.e.Y2) > 1.5 * Pi()) return false;
        }
        for (std::size_t i = a + 1; i < b; ++i) {
            double d = std::numeric_limits<double>::infinity();
            for (const Zug& z : zuege) d = std::min(d, ZugAbstand(z, pt[i]));
            if (d > ziel_) return false;
        }
        std::size_t naechste = a;
        for (const Zug& z : zuege) {
            const double laenge = ElementLaenge(z.e);
            // Points half the aim apart, at most 16 for each chord of the polyline they follow.
            const double dicht = std::min(std::ceil(laenge / schritt_), 16.0 * double(b - a + 1));
            const int n = dicht > 8 ? static_cast<int>(dicht) : 8;
            for (int k = 1; k < n; ++k) {
                const double s = laenge * k / n;
                const P2 q = ElementPunkt(z.e, z.ccw ? s : laenge - s);
                if (!NaheAmPolygon(q, pt, a, b, naechste)) return false;
            }
        }
        return true;
    }

    bool NaheAmPolygon(P2 q, const std::vector<P2>& pt, std::size_t a, std::size_t b,
                       std::size_t& naechste) const {
        const double grenze = ziel_ - eps_;
        for (std::size_t i = naechste; i < b; ++i) {
            if (StreckenAbstand(q, pt[i], pt[i + 1]) <= grenze) {
                naechste = i;
                return true;
            }
        }
        for (std::size_t i = a; i < naechste; ++i) {
            if (StreckenAbstand(q, pt[i], pt[i + 1]) <= grenze) {
                naechste = i;
                return true;
            }
        }
        return false;
    }

    const Sparparameter& p_;
    std::int32_t nr_;
    double ziel_;
    double eps_;
    double grenze_; // the corridor's half width: the aim less the polyline's own deviation
    double schritt_;
    double winkelTangens_;
    std::int64_t& schritte_;
};

bool GleicherKreis(const GeoElement& x, const GeoElement& y) {
    const double eps = 1e-9 * std::max({1.0, x.Radius, std::fabs(x.X1), std::fabs(x.Y1)});
    return std::fabs(x.X1 - y.X1) <= eps && std::fabs(x.Y1 - y.Y1) <= eps &&
           std::fabs(x.Radius - y.Radius) <= eps;
}

bool GleicheGerade(const Zug& x, const Zug& y) {
    const P2 u = x.b - x.a, v = y.b - y.a;
    const double lu = Laenge(u), lv = Laenge(v);
    return lu > 0 && lv > 0 && std::fabs(Kreuz(u, v)) <= 1e-12 * lu * lv && Skalar(u, v) > 0 &&
           std::fabs(Kreuz(u, y.b - x.a)) <= 1e-9 * lu * std::max(1.0, Laenge(y.b - x.a));
}

// Neighbours on one line or one circle become one element; the geometry does not change.
std::vector<Zug> Zusammenfassen(const std::vector<Zug>& zuege) {
    std::vector<Zug> aus;
    for (const Zug& z : zuege) {
        if (!aus.empty()) {
            Zug& v = aus.back();
            if (v.e.Typ == Linie && z.e.Typ == Linie && GleicheGerade(v, z)) {
                v = LinieZug(v.a, z.b, v.e.KonturNr);
                continue;
            }
            if (v.e.Typ == Bogen && z.e.Typ == Bogen && v.ccw == z.ccw && GleicherKreis(v.e, z.e)) {
                const double sweep = Bogenwinkel(v.e.X2, v.e.Y2) + Bogenwinkel(z.e.X2, z.e.Y2);
                if (sweep < 2 * Pi() - 1e-9) {
                    const P2 m{v.e.X1, v.e.Y1};
                    const double wa = Winkel(v.a - m), wb = Winkel(z.b - m);
                    v.e.X2 = v.ccw ? wa : wb;
                    v.e.Y2 = v.ccw ? wb : wa;
                    v.b = z.b;
                    continue;
                }
            }
        }
        aus.push_back(z);
    }
    return aus;
}

// Whether the outline turns at the joint of the two pieces.
bool EckWinkel(const UmrissStueck& vorher, const UmrissStueck& nachher) {
    const double c = std::clamp(Skalar(EndRichtung(vorher), AnfangsRichtung(nachher)), -1.0, 1.0);
    return std::acos(c) > EckWinkelGrad * Pi() / 180;
}

// Runs of curves end at corners and at lines.
bool IstEcke(const UmrissStueck& vorher, const UmrissStueck& nachher) {
    return EckWinkel(vorher, nachher);
}

// What the fit of one contour may take: points of each run's polyline, elements, and steps along
// arcs (used up as they are taken, over every attempt).
struct Arbeitsgrenzen {
    std::size_t punkte;
    std::size_t elemente;
    std::int64_t schritte;
};

// The pieces of a contour, closed (the last piece ends where the first starts) or an open chain
// whose two ends are corners, appended to aus; false when the fit would take more than grenzen.
bool KonturFitten(const std::vector<UmrissStueck>& st, bool geschlossen, bool glatt,
                  const Sparparameter& p, std::int32_t nr, double ziel, Arbeitsgrenzen& grenzen,
                  std::vector<Zug>& aus) {
    const std::size_t maxPunkte = grenzen.punkte, maxElemente = grenzen.elemente;
    const Fitter fitter(p, nr, ziel, grenzen.schritte);
    std::vector<Zug> zuege;
    if (geschlossen && glatt) {
        const Lauf l(st, fitter.Eps(), maxPunkte);
        if (l.Voll()) return false;
        if (fitter.KreisVersuchen(l, zuege)) {
            aus.insert(aus.end(), zuege.begin(), zuege.end());
            return true;
        }
    }
    const std::size_t n = st.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t j = i + 1;
        while (j < n && !IstEcke(st[j - 1], st[j])) ++j;
        if (st[i].Grad == 1 && j == i + 1) {
            zuege.push_back(LinieZug(st[i].Anfang(), st[i].Ende(), nr));
            ++i;
            if (aus.size() + zuege.size() > maxElemente) return false;
            continue;
        }
        // The joints before and after the run: corners unless the contour is smooth all round
        // or a line meets the curve in its direction; the ends of an open chain are corners.
        const bool eckAnfang = geschlossen ? !glatt && EckWinkel(st[(i + n - 1) % n], st[i])
                                           : i == 0 || EckWinkel(st[i - 1], st[i]);
        const bool eckEnde = geschlossen ? !glatt && EckWinkel(st[j - 1], st[j % n])
                                         : j == n || EckWinkel(st[j - 1], st[j]);
        const Lauf l({st.begin() + static_cast<std::ptrdiff_t>(i),
                      st.begin() + static_cast<std::ptrdiff_t>(j)},
                     fitter.Eps(), maxPunkte);
        if (l.Voll() || !fitter.LaufFitten(l, eckAnfang, eckEnde, zuege,
                                           maxElemente - std::min(maxElemente, aus.size())))
            return false;
        i = j;
    }
    const std::vector<Zug> zusammen = Zusammenfassen(zuege);
    aus.insert(aus.end(), zusammen.begin(), zusammen.end());
    return true;
}

} // namespace

std::int32_t GlyphUmrissLesen(const double* x, const double* y, const std::int16_t* art,
                              std::int32_t anzahl, std::int32_t ersteNr, double stiftX,
                              double stiftY, double massstab, Umriss& u) {
    const auto platz = [&](std::int32_t i) {
        return P2{(stiftX + x[i]) * massstab, (stiftY + y[i]) * massstab};
    };
    std::int32_t nr = ersteNr;
    bool offen = false;
    for (std::int32_t i = 1; i <= anzahl; ++i) {
        const std::int16_t a = art[i];
        if (a == GlyphKonturStart) {
            if (++i > anzahl) break;
            u.Beginnen(++nr, platz(i));
            offen = true;
        } else if ((a == GlyphLinie || a == GlyphSpline) && offen) {
            if (i + 2 > anzahl) break;
            const std::int32_t k = -art[i + 1];
            i += 2;
            if (k < 0 || i + k - 1 > anzahl) break;
            if (a == GlyphLinie) {
                for (std::int32_t j = 0; j < k; ++j) u.Linie(platz(i + j));
            } else {
                // Off-curve points with the on-curve point between two of them implied.
                for (std::int32_t j = 1; j <= k - 1; ++j) {
                    const P2 c = platz(i + j - 1), naechster = platz(i + j);
                    u.Quadratisch(c, j < k - 1 ? 0.5 * (c + naechster) : naechster);
                }
            }
            i += k - 1;
        } else if (a == GlyphKonturEnde) {
            if (++i > anzahl) break;
            if (offen) u.Linie(platz(i));
            u.Schliessen();
            offen = false;
        }
    }
    if (offen) u.Schliessen();
    return nr - ersteNr;
}

Sparparameter SparparameterAus(const Einstellungen& e) {
    Sparparameter p;
    p.MaxAbweichung =
        std::isfinite(e.MaxAbweichung) ? std::max(e.MaxAbweichung, MinAbweichung) : MinAbweichung;
    p.MaxRadius = e.maxRadius;
    p.WarnLaenge = e.WarnLaenge;
    p.WarnFarbe = e.ElementWarnFarbe;
    return p;
}

double SparKonturFitten(const UmrissKontur& k, const Sparparameter& p,
                        std::vector<GeoElement>& aus) {
    // Chains of pieces that follow each other; pieces without extent fall out. A piece whose
    // extent is beyond what a distance can hold (about 1e154 mm) cannot be fitted.
    std::vector<std::vector<UmrissStueck>> ketten;
    for (const UmrissStueck& s : k.Stuecke) {
        for (int i = 0; i < s.Grad; ++i)
            if (!std::isfinite(Laenge(s.P[static_cast<std::size_t>(i + 1)] -
                                      s.P[static_cast<std::size_t>(i)])))
                return -1;
        if (Null(AnfangsRichtung(s))) continue;
        if (ketten.empty() || !Gleich(ketten.back().back().Ende(), s.Anfang()))
            ketten.emplace_back();
        ketten.back().push_back(s);
    }
    if (ketten.empty()) return 0;
    if (ketten.size() > 1 && Gleich(ketten.back().back().Ende(), ketten.front().front().Anfang())) {
        // A closed contour that was started in the middle of a chain.
        ketten.back().insert(ketten.back().end(), ketten.front().begin(), ketten.front().end());
        ketten.erase(ketten.begin());
    }
    const bool geschlossen =
        ketten.size() == 1 && Gleich(ketten[0].back().Ende(), ketten[0].front().Anfang());
    bool glatt = false;
    if (geschlossen) {
        // Start at a corner where there is one, so that every run ends at corners.
        std::vector<UmrissStueck>& st = ketten[0];
        const std::size_t n = st.size();
        std::size_t start = n;
        for (std::size_t j = 0; j < n && start == n; ++j)
            if (IstEcke(st[(j + n - 1) % n], st[j])) start = j;
        glatt = start == n;
        if (glatt) start = 0;
        std::rotate(st.begin(), st.begin() + static_cast<std::ptrdiff_t>(start), st.end());
    }

    // The fit checks distances at points; the measurement of the whole contour decides.
    UmrissKontur ganz{k.KonturNr, {}};
    for (const auto& kette : ketten)
        ganz.Stuecke.insert(ganz.Stuecke.end(), kette.begin(), kette.end());
    // The work is bounded by the outline's pieces, not by its size in millimetres: a contour
    // that would need more is left to the default approximation.
    const std::size_t stuecke = k.Stuecke.size();
    const std::size_t maxElemente = std::max<std::size_t>(1024, 64 * stuecke);
    Arbeitsgrenzen grenzen{
        std::max<std::size_t>(65536, 1024 * stuecke), maxElemente,
        static_cast<std::int64_t>(std::max<std::size_t>(1 << 20, stuecke << 17))};
    double ziel = p.MaxAbweichung * FitAnteil;
    double abweichung = 0;
    std::vector<GeoElement> elemente;
    for (int versuch = 0; versuch <= Nachbesserungen; ++versuch, ziel *= 0.75) {
        elemente.clear();
        std::vector<Zug> zuege;
        for (const auto& kette : ketten)
            if (!KonturFitten(kette, geschlossen, glatt, p, k.KonturNr, ziel, grenzen, zuege))
                return -1;
        for (const Zug& z : zuege) elemente.push_back(z.e);
        std::vector<const GeoElement*> zeiger;
        for (const GeoElement& e : elemente) zeiger.push_back(&e);
        abweichung = KonturAbweichung(ganz, zeiger);
        if (abweichung <= p.MaxAbweichung) break;
    }
    if (abweichung > p.MaxAbweichung) {
        // Outlines the arcs do not follow (a cusp, a loop, a detail below the deviation): the
        // polyline of control polygons flat to half the deviation, whose chords keep it for sure.
        elemente.clear();
        for (const auto& kette : ketten) {
            std::vector<Zug> zuege;
            const Lauf lauf(kette, p.MaxAbweichung / 2, maxElemente);
            if (lauf.Voll()) return -1;
            const std::vector<P2>& pt = lauf.Punkte();
            for (std::size_t i = 0; i + 1 < pt.size(); ++i)
                if (!Gleich(pt[i], pt[i + 1]))
                    zuege.push_back(LinieZug(pt[i], pt[i + 1], k.KonturNr));
            for (const Zug& z : Zusammenfassen(zuege)) elemente.push_back(z.e);
        }
        std::vector<const GeoElement*> zeiger;
        for (const GeoElement& e : elemente) zeiger.push_back(&e);
        abweichung = KonturAbweichung(ganz, zeiger);
    }
    for (GeoElement& e : elemente) {
        if (p.WarnLaenge > 0 && ElementLaenge(e) < p.WarnLaenge) e.Farbe = p.WarnFarbe;
        aus.push_back(e);
    }
    return abweichung;
}

void SparAuswaehlen(Speicher& sp, std::int32_t von, const std::vector<GeoElement>& spar,
                    const std::vector<const UmrissKontur*>& konturen, double maxAbweichung,
                    KonturMessung& messung) {
    std::vector<GeoElement> standard;
    for (std::int32_t i = von + 1; i <= sp.ElementAnzahl(); ++i) standard.push_back(sp.Elemente[i]);
    std::unordered_map<std::int32_t, const UmrissKontur*> umriss;
    for (const UmrissKontur* k : konturen) umriss.emplace(k->KonturNr, k);
    // Both lists run through the contours in ascending order, each contour's elements together.
    const auto gruppe = [](const std::vector<GeoElement>& v, std::size_t i) {
        std::size_t j = i;
        while (j < v.size() && v[j].KonturNr == v[i].KonturNr) ++j;
        return j;
    };
    std::vector<GeoElement> wahl;
    std::size_t a = 0, b = 0;
    while (a < standard.size() || b < spar.size()) {
        const bool mitStandard =
            a < standard.size() && (b >= spar.size() || standard[a].KonturNr <= spar[b].KonturNr);
        const bool mitSpar =
            b < spar.size() && (a >= standard.size() || spar[b].KonturNr <= standard[a].KonturNr);
        const std::size_t aEnde = mitStandard ? gruppe(standard, a) : a;
        const std::size_t bEnde = mitSpar ? gruppe(spar, b) : b;
        bool standardNehmen = !mitSpar;
        if (mitStandard && mitSpar && aEnde - a < bEnde - b) {
            const auto it = umriss.find(standard[a].KonturNr);
            if (it != umriss.end()) {
                std::vector<const GeoElement*> zeiger;
                for (std::size_t i = a; i < aEnde; ++i) zeiger.push_back(&standard[i]);
                standardNehmen = messung.Messen(*it->second, zeiger) <= maxAbweichung;
            }
        }
        if (standardNehmen)
            wahl.insert(wahl.end(), standard.begin() + static_cast<std::ptrdiff_t>(a),
                        standard.begin() + static_cast<std::ptrdiff_t>(aEnde));
        else
            wahl.insert(wahl.end(), spar.begin() + static_cast<std::ptrdiff_t>(b),
                        spar.begin() + static_cast<std::ptrdiff_t>(bEnde));
        a = aEnde;
        b = bEnde;
    }
    sp.Elemente.Kuerzen(von);
    for (const GeoElement& e : wahl) sp.Elemente.Anfuegen(e);
}

} // namespace konturo
