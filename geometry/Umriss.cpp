// True outlines: evaluating their pieces, building contours, and the geometry of the elements
// that approximate them.
#include "geometry/Umriss.h"

#include "geometry/Variablen.h"

#include <algorithm>

namespace konturo {

P2 UmrissStueck::Punkt(double t) const {
    const double u = 1 - t;
    switch (Grad) {
    case 1:
        return u * P[0] + t * P[1];
    case 2:
        return (u * u) * P[0] + (2 * u * t) * P[1] + (t * t) * P[2];
    default:
        return (u * u * u) * P[0] + (3 * u * u * t) * P[1] + (3 * u * t * t) * P[2] +
               (t * t * t) * P[3];
    }
}

P2 UmrissStueck::Ableitung(double t) const {
    const double u = 1 - t;
    switch (Grad) {
    case 1:
        return P[1] - P[0];
    case 2:
        return (2 * u) * (P[1] - P[0]) + (2 * t) * (P[2] - P[1]);
    default:
        return (3 * u * u) * (P[1] - P[0]) + (6 * u * t) * (P[2] - P[1]) +
               (3 * t * t) * (P[3] - P[2]);
    }
}

double UmrissStueck::Tempo() const {
    double seite = 0;
    for (int i = 0; i < Grad; ++i) seite = std::max(seite, Laenge(P[i + 1] - P[i]));
    return Grad * seite;
}

void Umriss::Beginnen(std::int32_t konturNr, P2 p) {
    if (offen_) Schliessen();
    Konturen.push_back({konturNr, {}});
    aktuell_ = p;
    offen_ = true;
}

void Umriss::Linie(P2 p) {
    if (!offen_) return;
    if (p.x == aktuell_.x && p.y == aktuell_.y) return;
    Konturen.back().Stuecke.push_back({1, {aktuell_, p, {}, {}}});
    aktuell_ = p;
}

void Umriss::Quadratisch(P2 c, P2 p) {
    if (!offen_) return;
    Konturen.back().Stuecke.push_back({2, {aktuell_, c, p, {}}});
    aktuell_ = p;
}

void Umriss::Kubisch(P2 c1, P2 c2, P2 p) {
    if (!offen_) return;
    Konturen.back().Stuecke.push_back({3, {aktuell_, c1, c2, p}});
    aktuell_ = p;
}

bool UmrissKontur::Geschlossen() const {
    if (Stuecke.empty()) return false;
    for (std::size_t i = 1; i < Stuecke.size(); ++i) {
        const P2 a = Stuecke[i - 1].Ende(), b = Stuecke[i].Anfang();
        if (a.x != b.x || a.y != b.y) return false;
    }
    const P2 a = Stuecke.back().Ende(), b = Stuecke.front().Anfang();
    return a.x == b.x && a.y == b.y;
}

std::size_t Umriss::AnzStuecke() const {
    std::size_t n = 0;
    for (const UmrissKontur& k : Konturen) n += k.Stuecke.size();
    return n;
}

void Umriss::Schliessen() { Abschliessen(true); }

void Umriss::Beenden() { Abschliessen(false); }

void Umriss::Aufgeben() {
    std::vector<UmrissKontur>().swap(Konturen);
    AnzElemente = 0;
    Unvollstaendig = true;
    offen_ = false;
    gezaehlt_ = 0;
}

void Umriss::KonturUebernehmen(UmrissKontur k) {
    if (Unvollstaendig) return;
    if (gezaehlt_ + k.Stuecke.size() > MaxStuecke) {
        Aufgeben();
        return;
    }
    Beenden();
    gezaehlt_ += k.Stuecke.size();
    Konturen.push_back(std::move(k));
}

void Umriss::Anfuegen(std::int32_t konturNr, const UmrissStueck& s) {
    if (Unvollstaendig) return;
    if (++gezaehlt_ > MaxStuecke) {
        Aufgeben();
        return;
    }
    if (Konturen.empty() || Konturen.back().KonturNr != konturNr) {
        Beenden();
        Konturen.push_back({konturNr, {}});
    }
    Konturen.back().Stuecke.push_back(s);
    aktuell_ = s.Ende();
    offen_ = true;
}

bool UmrissBox(const UmrissKontur& k, double& xMin, double& yMin, double& xMax, double& yMax) {
    bool etwas = false;
    const auto dazu = [&](P2 p) {
        xMin = std::min(xMin, p.x);
        yMin = std::min(yMin, p.y);
        xMax = std::max(xMax, p.x);
        yMax = std::max(yMax, p.y);
        etwas = true;
    };
    for (const UmrissStueck& s : k.Stuecke) {
        dazu(s.Anfang());
        dazu(s.Ende());
        if (s.Grad > 1)
            for (int i = 1; i < 8; ++i) dazu(s.Punkt(i / 8.0));
    }
    return etwas;
}

void Umriss::Abschliessen(bool schliessen) {
    if (!offen_) return;
    offen_ = false;
    UmrissKontur& k = Konturen.back();
    if (schliessen && !k.Stuecke.empty()) {
        const P2 anfang = k.Stuecke.front().Anfang();
        if (aktuell_.x != anfang.x || aktuell_.y != anfang.y)
            k.Stuecke.push_back({1, {aktuell_, anfang, {}, {}}});
    }
    const bool ausdehnung = std::any_of(k.Stuecke.begin(), k.Stuecke.end(), [](const auto& s) {
        for (int i = 1; i <= s.Grad; ++i)
            if (s.P[i].x != s.P[0].x || s.P[i].y != s.P[0].y) return true;
        return false;
    });
    if (!ausdehnung) Konturen.pop_back();
}

void UmrissSpiegeln(Umriss& u, double xMax) {
    for (UmrissKontur& k : u.Konturen)
        for (UmrissStueck& s : k.Stuecke)
            for (P2& p : s.P) p.x = xMax - p.x;
}

double ElementLaenge(const GeoElement& e) {
    switch (e.Typ) {
    case Linie:
        return std::hypot(e.X2 - e.X1, e.Y2 - e.Y1);
    case Bogen:
        return e.Radius * Bogenwinkel(e.X2, e.Y2);
    case Kreis:
        return 2 * Pi() * e.Radius;
    default:
        return 0;
    }
}

P2 ElementPunkt(const GeoElement& e, double s) {
    if (e.Typ == Linie) {
        const double l = ElementLaenge(e);
        const double t = l > 0 ? std::clamp(s / l, 0.0, 1.0) : 0.0;
        return {e.X1 + t * (e.X2 - e.X1), e.Y1 + t * (e.Y2 - e.Y1)};
    }
    const double winkel = (e.Typ == Bogen ? e.X2 : 0.0) + (e.Radius > 0 ? s / e.Radius : 0.0);
    return {e.X1 + e.Radius * std::cos(winkel), e.Y1 + e.Radius * std::sin(winkel)};
}

double ElementAbstand(const GeoElement& e, P2 p) {
    switch (e.Typ) {
    case Linie: {
        const P2 a{e.X1, e.Y1}, b{e.X2, e.Y2};
        const P2 ab = b - a;
        const double l2 = Skalar(ab, ab);
        const double t = l2 > 0 ? std::clamp(Skalar(p - a, ab) / l2, 0.0, 1.0) : 0.0;
        return Laenge(p - (a + t * ab));
    }
    case Kreis:
        return std::fabs(Laenge(p - P2{e.X1, e.Y1}) - e.Radius);
    case Bogen: {
        const P2 m{e.X1, e.Y1};
        const double d = Laenge(p - m);
        // Inside the arc's sweep the nearest point lies on the arc, else at one of its ends.
        double w = std::atan2(p.y - m.y, p.x - m.x) - e.X2;
        const double voll = 2 * Pi();
        w = std::fmod(std::fmod(w, voll) + voll, voll);
        if (d > 0 && w <= Bogenwinkel(e.X2, e.Y2)) return std::fabs(d - e.Radius);
        const P2 a{BogenStartX(e), BogenStartY(e)}, b{BogenEndeX(e), BogenEndeY(e)};
        return std::min(Laenge(p - a), Laenge(p - b));
    }
    default:
        return 0;
    }
}

} // namespace konturo
