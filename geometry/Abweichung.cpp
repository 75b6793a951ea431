// Deviation measurement: the distance of a point from a piece, and the sampled and refined
// largest distance between contours and their elements.
#include "geometry/Abweichung.h"

#include "geometry/Variablen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

namespace konturo {

namespace {

P2 ZweiteAbleitung(const UmrissStueck& s, double t) {
    if (s.Grad == 2) return 2.0 * (s.P[2] - 2.0 * s.P[1] + s.P[0]);
    if (s.Grad == 3)
        return (6 * (1 - t)) * (s.P[2] - 2.0 * s.P[1] + s.P[0]) +
               (6 * t) * (s.P[3] - 2.0 * s.P[2] + s.P[1]);
    return {};
}

double StreckenAbstand(P2 p, P2 a, P2 b) {
    const P2 ab = b - a;
    const double l2 = Skalar(ab, ab);
    const double t = l2 > 0 ? std::clamp(Skalar(p - a, ab) / l2, 0.0, 1.0) : 0.0;
    return Laenge(p - (a + t * ab));
}

// The box of the piece's control points (which holds the piece) widens xMin .. yMax.
void KontrollBox(const UmrissStueck& s, double& xMin, double& yMin, double& xMax, double& yMax) {
    for (int i = 0; i <= s.Grad; ++i) {
        const P2 q = s.P[static_cast<std::size_t>(i)];
        xMin = std::min(xMin, q.x);
        xMax = std::max(xMax, q.x);
        yMin = std::min(yMin, q.y);
        yMax = std::max(yMax, q.y);
    }
}

// The distance of p from the box of the piece's control points: the piece is no nearer.
double BoxAbstand(const UmrissStueck& s, P2 p) {
    double xMin = s.P[0].x, xMax = xMin, yMin = s.P[0].y, yMax = yMin;
    KontrollBox(s, xMin, yMin, xMax, yMax);
    const double dx = std::max({xMin - p.x, 0.0, p.x - xMax});
    const double dy = std::max({yMin - p.y, 0.0, p.y - yMax});
    return std::sqrt(dx * dx + dy * dy);
}

// The distance of p from the piece by subdivision, where the search from samples may have
// stopped in the wrong basin (near a cusp or a loop): parts whose control points' box lies
// farther than the best distance so far are dropped, the others halved until their control
// polygon is flat to 10 nanometres and measured as their chord.
double Unterteilt(const UmrissStueck& s, P2 p, double best) {
    struct Teil {
        std::array<P2, 4> P;
        int tiefe;
    };
    Teil stapel[128];
    int n = 0;
    stapel[n++] = {s.P, 0};
    const int g = s.Grad;
    while (n > 0) {
        const Teil t = stapel[--n];
        // Nothing nearer by more than a nanometre can lie in it.
        if (BoxAbstand(UmrissStueck{s.Grad, t.P}, p) >= best - 1e-6) continue;
        const P2 a = t.P[0], b = t.P[static_cast<std::size_t>(g)];
        bool flach = true;
        for (int i = 1; i < g && flach; ++i)
            flach = StreckenAbstand(t.P[static_cast<std::size_t>(i)], a, b) <= 1e-5;
        if (flach || t.tiefe >= 60 || n + 2 > 128) {
            best = std::min(best, StreckenAbstand(p, a, b));
            continue;
        }
        // de Casteljau at one half.
        std::array<P2, 4> q = t.P, links{}, rechts{};
        for (int k = 0; k <= g; ++k) {
            links[static_cast<std::size_t>(k)] = q[0];
            rechts[static_cast<std::size_t>(g - k)] = q[static_cast<std::size_t>(g - k)];
            for (int i = 0; i < g - k; ++i)
                q[static_cast<std::size_t>(i)] =
                    0.5 * (q[static_cast<std::size_t>(i)] + q[static_cast<std::size_t>(i + 1)]);
        }
        stapel[n++] = {rechts, t.tiefe + 1};
        stapel[n++] = {links, t.tiefe + 1};
    }
    return best;
}

} // namespace

double StueckAbstand(const UmrissStueck& s, P2 p, double t0, double t1) {
    if (s.Grad == 1) return StreckenAbstand(p, s.Punkt(t0), s.Punkt(t1));
    // Samples find the basin of the nearest point; Newton steps on the squared distance then
    // find it to rounding. A wrong basin can only make the distance larger, never smaller.
    constexpr int Proben = 12;
    double bestT = t0, best = std::numeric_limits<double>::infinity();
    for (int i = 0; i <= Proben; ++i) {
        const double t = t0 + (t1 - t0) * i / Proben;
        const double d = Laenge(s.Punkt(t) - p);
        if (d < best) {
            best = d;
            bestT = t;
        }
    }
    const double schritt = (t1 - t0) / Proben;
    const double von = std::max(t0, bestT - schritt), bis = std::min(t1, bestT + schritt);
    double t = bestT;
    bool konvergiert = false;
    for (int i = 0; i < 8 && !konvergiert; ++i) {
        const P2 d = s.Punkt(t) - p;
        const P2 a1 = s.Ableitung(t);
        const double g = Skalar(d, a1);
        const double g1 = Skalar(a1, a1) + Skalar(d, ZweiteAbleitung(s, t));
        if (!(g1 > 0)) break;
        const double neu = std::clamp(t - g / g1, von, bis);
        best = std::min(best, Laenge(s.Punkt(neu) - p));
        konvergiert = std::fabs(neu - t) < 1e-12;
        t = neu;
    }
    if (!konvergiert) {
        // Newton stopped short (a piece whose speed changes a lot between samples): a golden
        // section search of the bracket finds the nearest point there.
        constexpr double g = 0.6180339887498949;
        double a = von, b = bis;
        double x1 = b - g * (b - a), x2 = a + g * (b - a);
        double f1 = Laenge(s.Punkt(x1) - p), f2 = Laenge(s.Punkt(x2) - p);
        for (int i = 0; i < 60 && b - a > 1e-13; ++i) {
            if (f1 < f2) {
                b = x2;
                x2 = x1;
                f2 = f1;
                x1 = b - g * (b - a);
                f1 = Laenge(s.Punkt(x1) - p);
            } else {
                a = x1;
                x1 = x2;
                f1 = f2;
                x2 = a + g * (b - a);
                f2 = Laenge(s.Punkt(x2) - p);
            }
        }
        best = std::min({best, f1, f2});
    }
    if (t0 == 0 && t1 == 1) best = std::min(best, Unterteilt(s, p, best));
    return best;
}

namespace {

// Golden-section search for a local maximum of f between a and b, near m.
double LokalesMaximum(const std::function<double(double)>& f, double a, double b) {
    constexpr double g = 0.6180339887498949;
    double x1 = b - g * (b - a), x2 = a + g * (b - a);
    double f1 = f(x1), f2 = f(x2);
    // Near a maximum the function is flat to second order: an interval narrowed to 1e-5 of its
    // width leaves the value off by far less than the 1 % the figure promises.
    const double genug = 1e-5 * (b - a);
    for (int i = 0; i < 40 && b - a > genug; ++i) {
        if (f1 > f2) {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - g * (b - a);
            f1 = f(x1);
        } else {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + g * (b - a);
            f2 = f(x2);
        }
    }
    return std::max(f1, f2);
}

// The largest f over a..b from n + 1 samples, each local maximum of the samples refined.
void AbgetastetesMaximum(const std::function<double(double)>& f, double a, double b, int n,
                         double& best) {
    std::vector<double> w(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) w[static_cast<std::size_t>(i)] = f(a + (b - a) * i / n);
    for (int i = 0; i <= n; ++i) {
        const double wi = w[static_cast<std::size_t>(i)];
        best = std::max(best, wi);
        const double links = i > 0 ? w[static_cast<std::size_t>(i - 1)] : -1;
        const double rechts = i < n ? w[static_cast<std::size_t>(i + 1)] : -1;
        // Only maxima that can matter are refined.
        if (wi >= links && wi >= rechts && wi > 0.5 * best) {
            const double von = a + (b - a) * std::max(0, i - 1) / n;
            const double bis = a + (b - a) * std::min(n, i + 1) / n;
            best = std::max(best, LokalesMaximum(f, von, bis));
        }
    }
}

} // namespace

namespace {

// Nearest-neighbour search among many pieces or elements: each is entered in the cells of a
// uniform grid at points along it no more than a quarter cell apart, and a query looks at rings of
// cells around its point until no unseen entry can be nearer than the nearest found. The result
// is the exact minimum, as the plain search over all would find it.
class Raster {
public:
    Raster(double xMin, double yMin, double xMax, double yMax, double h, std::size_t anzahl)
        : x0_(xMin), y0_(yMin), h_(h), gesehen_(anzahl, 0) {
        nx_ = static_cast<std::int64_t>((xMax - xMin) / h) + 1;
        ny_ = static_cast<std::int64_t>((yMax - yMin) / h) + 1;
    }
    double Zelle() const { return h_; }
    void Eintragen(std::uint32_t id, P2 p) {
        const std::int64_t z = ZelleVon(p);
        if (!paare_.empty() && paare_.back().first == z && paare_.back().second == id) return;
        paare_.emplace_back(z, id);
    }
    void Fertig() {
        std::sort(paare_.begin(), paare_.end());
        paare_.erase(std::unique(paare_.begin(), paare_.end()), paare_.end());
    }
    template <class Abstand> double Naechster(P2 p, const Abstand& abstand) {
        ++runde_;
        const std::int64_t cx =
            std::clamp<std::int64_t>(static_cast<std::int64_t>((p.x - x0_) / h_), 0, nx_ - 1);
        const std::int64_t cy =
            std::clamp<std::int64_t>(static_cast<std::int64_t>((p.y - y0_) / h_), 0, ny_ - 1);
        double best = std::numeric_limits<double>::infinity();
        const auto zelle = [&](std::int64_t x, std::int64_t y) {
            if (x < 0 || y < 0 || x >= nx_ || y >= ny_) return;
            const std::int64_t z = y * nx_ + x;
            auto it = std::lower_bound(paare_.begin(), paare_.end(),
                                       std::pair<std::int64_t, std::uint32_t>(z, 0));
            for (; it != paare_.end() && it->first == z; ++it) {
                if (gesehen_[it->second] == runde_) continue;
                gesehen_[it->second] = runde_;
                best = std::min(best, abstand(it->second));
            }
        };
        const std::int64_t grenze = std::max(nx_, ny_);
        for (std::int64_t r = 0; r <= grenze; ++r) {
            if (r == 0) {
                zelle(cx, cy);
            } else {
                for (std::int64_t x = cx - r; x <= cx + r; ++x) {
                    zelle(x, cy - r);
                    zelle(x, cy + r);
                }
                for (std::int64_t y = cy - r + 1; y <= cy + r - 1; ++y) {
                    zelle(cx - r, y);
                    zelle(cx + r, y);
                }
            }
            // Whatever lies only in farther rings is at least r cells away, less the quarter cell
            // between an entry point and the rest of its piece.
            if (best <= (static_cast<double>(r) - 0.25) * h_) break;
        }
        return best;
    }

private:
    std::int64_t ZelleVon(P2 p) const {
        const std::int64_t x =
            std::clamp<std::int64_t>(static_cast<std::int64_t>((p.x - x0_) / h_), 0, nx_ - 1);
        const std::int64_t y =
            std::clamp<std::int64_t>(static_cast<std::int64_t>((p.y - y0_) / h_), 0, ny_ - 1);
        return y * nx_ + x;
    }
    double x0_, y0_, h_;
    std::int64_t nx_ = 1, ny_ = 1;
    std::vector<std::pair<std::int64_t, std::uint32_t>> paare_;
    std::vector<std::uint32_t> gesehen_;
    std::uint32_t runde_ = 0;
};

// Below this many piece-element pairs the plain search is quicker than a grid.
constexpr std::size_t RasterAb = 1 << 10;

} // namespace

double KonturAbweichung(const UmrissKontur& k, const std::vector<const GeoElement*>& elemente,
                        Naechstensuche suche) {
    double laengen = 0;
    for (const GeoElement* e : elemente) laengen += ElementLaenge(*e);
    // About four samples along every element, so every bulge between two joints is seen.
    const double schritt = laengen / static_cast<double>(elemente.size()) / 4;

    std::function<double(P2)> zuElementen = [&](P2 p) {
        double d = std::numeric_limits<double>::infinity();
        for (const GeoElement* e : elemente) d = std::min(d, ElementAbstand(*e, p));
        return d;
    };
    std::function<double(P2)> zumUmriss = [&](P2 p) {
        double d = std::numeric_limits<double>::infinity();
        for (const UmrissStueck& s : k.Stuecke)
            if (BoxAbstand(s, p) < d) d = std::min(d, StueckAbstand(s, p));
        return d;
    };
    std::optional<Raster> elementRaster, stueckRaster;
    const bool gross = elemente.size() * k.Stuecke.size() > RasterAb;
    if (suche != Naechstensuche::Alle && (gross || suche == Naechstensuche::Raster) &&
        std::isfinite(laengen) && !elemente.empty()) {
        double xMin = std::numeric_limits<double>::infinity(), yMin = xMin, xMax = -xMin,
               yMax = -xMin;
        double umrissLaenge = 0;
        for (const UmrissStueck& s : k.Stuecke) {
            KontrollBox(s, xMin, yMin, xMax, yMax);
            umrissLaenge += s.Tempo();
        }
        for (const GeoElement* e : elemente) {
            for (const double l : {0.0, 0.25, 0.5, 0.75, 1.0}) {
                const P2 q = ElementPunkt(*e, l * ElementLaenge(*e));
                xMin = std::min(xMin, q.x);
                yMin = std::min(yMin, q.y);
                xMax = std::max(xMax, q.x);
                yMax = std::max(yMax, q.y);
            }
        }
        const double ausdehnung = std::max(xMax - xMin, yMax - yMin);
        // Cells of about two elements' length, at most 2048 along a side.
        const double h =
            std::max({2 * laengen / static_cast<double>(elemente.size()), ausdehnung / 2048, 1e-9});
        if (std::isfinite(ausdehnung) && std::isfinite(umrissLaenge) &&
            (laengen + umrissLaenge) / (h / 4) < 3e7) {
            elementRaster.emplace(xMin - h, yMin - h, xMax + h, yMax + h, h, elemente.size());
            for (std::size_t i = 0; i < elemente.size(); ++i) {
                const double l = ElementLaenge(*elemente[i]);
                const int n = static_cast<int>(std::ceil(l / (h / 4))) + 1;
                for (int j = 0; j <= n; ++j)
                    elementRaster->Eintragen(static_cast<std::uint32_t>(i),
                                             ElementPunkt(*elemente[i], l * j / n));
            }
            elementRaster->Fertig();
            stueckRaster.emplace(xMin - h, yMin - h, xMax + h, yMax + h, h, k.Stuecke.size());
            for (std::size_t i = 0; i < k.Stuecke.size(); ++i) {
                // Tempo bounds the speed, so these steps are at most a quarter cell apart.
                const UmrissStueck& s = k.Stuecke[i];
                const int n = static_cast<int>(std::ceil(s.Tempo() / (h / 4))) + 1;
                for (int j = 0; j <= n; ++j)
                    stueckRaster->Eintragen(static_cast<std::uint32_t>(i), s.Punkt(double(j) / n));
            }
            stueckRaster->Fertig();
            zuElementen = [&](P2 p) {
                return elementRaster->Naechster(
                    p, [&](std::uint32_t i) { return ElementAbstand(*elemente[i], p); });
            };
            zumUmriss = [&](P2 p) {
                return stueckRaster->Naechster(
                    p, [&](std::uint32_t i) { return StueckAbstand(k.Stuecke[i], p); });
            };
        }
    }
    double best = 0;
    for (const UmrissStueck& s : k.Stuecke) {
        double lang = 0;
        for (int i = 0; i < s.Grad; ++i)
            lang += Laenge(s.P[static_cast<std::size_t>(i + 1)] - s.P[static_cast<std::size_t>(i)]);
        // Compared as a double: a piece far larger than the step (or of infinite length) gets
        // the most samples.
        const double proben = std::ceil(lang / std::max(schritt, 1e-9));
        const int n = proben >= 8 ? (proben < 4096 ? static_cast<int>(proben) : 4096) : 8;
        AbgetastetesMaximum([&](double t) { return zuElementen(s.Punkt(t)); }, 0, 1, n, best);
    }
    for (const GeoElement* e : elemente) {
        AbgetastetesMaximum([&](double l) { return zumUmriss(ElementPunkt(*e, l)); }, 0,
                            ElementLaenge(*e), 8, best);
    }
    return best;
}

namespace {

// The shape of a contour and its elements relative to the contour's start, rounded: contours of
// one glyph repeated along a text share it, and are measured once.
std::uint64_t Gestalt(const UmrissKontur& k, const std::vector<const GeoElement*>& elemente) {
    const P2 o = k.Stuecke.front().Anfang();
    std::uint64_t h = 1469598103934665603ULL;
    const auto dazu = [&h](double v) {
        const auto q = static_cast<std::int64_t>(std::llround(v * 1e7));
        h = (h ^ static_cast<std::uint64_t>(q)) * 1099511628211ULL;
    };
    for (const UmrissStueck& s : k.Stuecke) {
        dazu(s.Grad);
        for (int i = 0; i <= s.Grad; ++i) {
            dazu(s.P[static_cast<std::size_t>(i)].x - o.x);
            dazu(s.P[static_cast<std::size_t>(i)].y - o.y);
        }
    }
    for (const GeoElement* e : elemente) {
        dazu(e->Typ);
        dazu(e->X1 - o.x);
        dazu(e->Y1 - o.y);
        dazu(e->Typ == Linie ? e->X2 - o.x : e->X2);
        dazu(e->Typ == Linie ? e->Y2 - o.y : e->Y2);
        dazu(e->Radius);
    }
    return h;
}

} // namespace

double KonturMessung::Messen(const UmrissKontur& k,
                             const std::vector<const GeoElement*>& elemente) {
    if (k.Stuecke.empty() || elemente.empty()) return 0;
    auto [stelle, neu] = gemessen_.try_emplace(Gestalt(k, elemente), 0.0);
    if (neu) stelle->second = KonturAbweichung(k, elemente);
    return stelle->second;
}

double AbweichungMessen(const Umriss& u, const Speicher& sp, std::int32_t anzahl) {
    std::unordered_map<std::int32_t, std::vector<const GeoElement*>> jeKontur;
    for (std::int32_t i = 1; i <= std::min(anzahl, sp.ElementAnzahl()); ++i) {
        const GeoElement& e = sp.Elemente[i];
        if (e.Typ == Linie || e.Typ == Bogen || e.Typ == Kreis) jeKontur[e.KonturNr].push_back(&e);
    }
    KonturMessung messung;
    double best = 0;
    for (const UmrissKontur& k : u.Konturen) {
        const auto it = jeKontur.find(k.KonturNr);
        if (it == jeKontur.end() || k.Stuecke.empty()) continue;
        best = std::max(best, messung.Messen(k, it->second));
    }
    return best;
}

} // namespace konturo
