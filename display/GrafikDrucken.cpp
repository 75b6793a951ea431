// Printing over the print-surface seam: the fit onto the page, arcs as polylines, the command flow.
#include "display/GrafikDrucken.h"

#include "app/Sitzung.h"
#include "geometry/Variablen.h"
#include "text/SyntaxCheck.h"

#include <cmath>
#include <limits>

namespace konturo {

namespace {

// Below this extent a side of the box counts as none: the scale would blow coordinates up to
// values no printer takes.
constexpr double KeineAusdehnung = 1e-9;

bool Endlich(const GeoElement& e) {
    return std::isfinite(e.X1) && std::isfinite(e.Y1) && std::isfinite(e.X2) &&
           std::isfinite(e.Y2) && std::isfinite(e.Radius);
}

// An angle brought into 0 .. 2 pi the way the stored angles need it: they stray at most one turn,
// so one turn is added or taken (2 pi itself stays, so an arc from 0 to 2 pi stays whole). Only an
// angle still outside after that is wrapped.
double Normalisiert(double a) {
    const double voll = 2.0 * Pi();
    if (a > voll) a -= voll;
    if (a < 0) a += voll;
    if (a > voll || a < 0) {
        a = std::fmod(a, voll);
        if (a < 0) a += voll;
    }
    return a;
}

std::string MeldungsText(const Sitzung& s) {
    const std::string& t = s.Text(172);
    return t.empty() ? std::string("Ausdruck aktiv ...") : t;
}

} // namespace

std::optional<DruckTransform> DruckTransformBerechnen(const Speicher& sp, double seitenBreite,
                                                      double seitenHoehe) {
    const double dx = sp.XMax - sp.XMin;
    const double dy = sp.YMax - sp.YMin;
    const double w = DruckAnteil * seitenBreite;
    const double h = DruckAnteil * seitenHoehe;
    if (!std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(sp.XMin) ||
        !std::isfinite(sp.YMin) || !(w > 0) || !(h > 0))
        return std::nullopt;
    const bool breit = dx > KeineAusdehnung;
    const bool hoch = dy > KeineAusdehnung;
    if (!breit && !hoch) return std::nullopt;

    DruckTransform t;
    t.xMin = sp.XMin;
    t.yMin = sp.YMin;
    // The ratio test H/W > dy/dx, written without dividing by an extent that may be 0.
    const bool nachBreite = !hoch || (breit && h * dx > dy * w);
    t.s = nachBreite ? w / dx : h / dy;
    t.h = dy * t.s;
    return t;
}

void BogenDrucken(const DruckTransform& t, Druckflaeche& f, double cx, double cy, double r,
                  double a0, double a1) {
    a0 = Normalisiert(a0);
    a1 = Normalisiert(a1);
    if (a1 < a0) a1 += 2.0 * Pi();
    // The point at angle a, relative to the box corner as the transform expects.
    const auto px = [&](double a) { return t.X(cx + r * std::cos(a)); };
    const auto py = [&](double a) { return t.Y(cy + r * std::sin(a)); };
    f.PositionSetzen(px(a0), py(a0));
    // Each vertex from its index, so that the steps do not add up rounding errors.
    for (int i = 1;; ++i) {
        const double a = a0 + i * DruckBogenschritt;
        if (!(a < a1)) break;
        f.LinieZu(px(a), py(a), DruckFarbe);
    }
    f.LinieZu(px(a1), py(a1), DruckFarbe);
}

void ElementeDrucken(const Speicher& sp, const DruckTransform& t, Druckflaeche& f,
                     const std::function<void(std::int32_t)>& fortschritt) {
    const std::int32_t anzahl = sp.ElementAnzahl();
    for (std::int32_t i = 1; i <= anzahl; ++i) {
        const GeoElement& e = sp.Elemente[i];
        if (Endlich(e)) {
            switch (e.Typ) {
            case Linie:
                f.Linie(t.X(e.X1), t.Y(e.Y1), t.X(e.X2), t.Y(e.Y2), DruckFarbe);
                break;
            case Kreis:
                f.Kreis(t.X(e.X1), t.Y(e.Y1), e.Radius * t.s, DruckFarbe);
                break;
            case Bogen:
                BogenDrucken(t, f, e.X1, e.Y1, e.Radius, e.X2, e.Y2);
                break;
            default:
                break;
            }
        }
        if (fortschritt) fortschritt(i);
    }
}

bool ZeichnungDrucken(const Speicher& sp, Druckflaeche& f) {
    const auto t = DruckTransformBerechnen(sp, f.SeitenBreite(), f.SeitenHoehe());
    if (!t) return false;
    ElementeDrucken(sp, *t, f);
    return true;
}

std::optional<std::int16_t> ExemplareAusText(std::string_view text, bool dezimalPunkt) {
    const auto zahl = FeldZahl(text, dezimalPunkt);
    if (!zahl) return std::nullopt;
    double ganz = std::floor(*zahl);
    const double rest = *zahl - ganz;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(ganz, 2.0) != 0)) ganz += 1;
    if (ganz < std::numeric_limits<std::int16_t>::min() ||
        ganz > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(ganz);
}

void GrafikDrucken(Sitzung& s, Druckumgebung& u) {
    Speicher& sp = s.speicher;
    const std::int32_t anzahl = sp.ElementAnzahl();
    if (anzahl < 1) return;
    // A drawing without extent has nothing to show on paper; it is treated like an empty store.
    if (!DruckTransformBerechnen(sp, 1.0, 1.0)) return;

    const std::int32_t exemplare = u.DruckerDialogZeigen(s);
    if (s.fenster.AbbruchWunsch) {
        // The request is honoured here; left set it would stop the next conversion at its start.
        s.fenster.AbbruchWunsch = false;
        return;
    }
    if (exemplare < 1) return;
    const std::unique_ptr<Druckflaeche> f = u.DokumentBeginnen(s);
    if (!f) return;

    bool ok = true;
    for (std::int32_t kopie = 1; kopie <= exemplare && ok; ++kopie) {
        // One page per copy, as the window's "Anzahl Exemplare:" promises.
        if (kopie > 1 && !f->NeueSeite()) {
            ok = false;
            break;
        }
        s.ui->Sanduhr(true);
        s.ui->FortschrittMaximum(anzahl);
        s.ui->FortschrittWert(0);
        const auto t = DruckTransformBerechnen(sp, f->SeitenBreite(), f->SeitenHoehe());
        if (!t) {
            ok = false;
            break;
        }
        ElementeDrucken(sp, *t, *f, [&](std::int32_t i) { s.ui->FortschrittWert(i); });
    }
    s.ui->FortschrittWert(0);
    u.MeldungZeigen(MeldungsText(s));
    ok = f->Beenden() && ok;
    u.MeldungSchliessen();
    s.ui->Sanduhr(false);
    if (!ok) s.Melden(179);
}

} // namespace konturo
