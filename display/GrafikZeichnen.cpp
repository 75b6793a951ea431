// Geometry rendering over the drawing-surface seam: view math, arc polylines, the redraw loop.
#include "display/GrafikZeichnen.h"

#include "app/Sitzung.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>

namespace konturo {

namespace {

// Extent given to a box that has none (a single point): the square of the start-up box.
constexpr double MindestAusdehnung = 10.0;
// Below this extent in both directions a box counts as a single point.
constexpr double PunktAusdehnung = 1e-9;
constexpr std::int32_t Fortschrittsschritt = 20;
constexpr auto Ereignisabstand = std::chrono::milliseconds(500);

std::string OhneEndnullen(std::string t) {
    const auto punkt = t.find('.');
    if (punkt == std::string::npos) return t;
    while (!t.empty() && t.back() == '0') t.pop_back();
    if (!t.empty() && t.back() == '.') t.pop_back();
    return t;
}

// Fixed-point text with "." whatever the C locale says; the user's separator comes after.
std::string FestText(double wert, int stellen) {
    char buf[400];
    const auto [ende, fehler] =
        std::to_chars(buf, buf + sizeof buf, wert, std::chars_format::fixed, stellen);
    if (fehler != std::errc()) return "0";
    return std::string(buf, ende);
}

std::string NutzerFormat(std::string t, bool dezimalPunkt) {
    if (t == "-0") t = "0";
    if (!dezimalPunkt) {
        for (char& c : t) {
            if (c == '.') c = ',';
        }
    }
    return t;
}

// Base name of a path: after the last folder separator, cut before the last ".".
std::string Basisname(const std::string& pfad) {
    const auto trenner = pfad.find_last_of("\\/");
    std::string name = trenner == std::string::npos ? pfad : pfad.substr(trenner + 1);
    const auto punkt = name.rfind('.');
    if (punkt != std::string::npos) name.erase(punkt);
    return name;
}

bool Endlich(const GeoElement& e) {
    return std::isfinite(e.X1) && std::isfinite(e.Y1) && std::isfinite(e.X2) &&
           std::isfinite(e.Y2) && std::isfinite(e.Radius);
}

bool ReferenzpunkteImFenster(const Ansicht& a, const GeoElement& e) {
    switch (e.Typ) {
    case Linie:
        return ImZoomFenster(a, e.X1, e.Y1, e.X2, e.Y2);
    case Bogen:
        return ImZoomFenster(a, BogenStartX(e), BogenStartY(e), BogenEndeX(e), BogenEndeY(e));
    case Kreis:
        return ImZoomFenster(a, e.X1, e.Y1, e.X1, e.Y1);
    default:
        return false;
    }
}

void ElementZeichnen(Sitzung& s, Zeichenflaeche& f, const GeoElement& e) {
    const Einstellungen& ein = s.einstellungen;
    switch (e.Typ) {
    case Linie:
        f.Farbe(ein.LF);
        f.Linie(static_cast<float>(e.X1), static_cast<float>(e.Y1), static_cast<float>(e.X2),
                static_cast<float>(e.Y2));
        if (ein.Punkte == 1) {
            f.Breite(3);
            f.Farbe(ein.PF);
            f.Punkt(static_cast<float>(e.X1), static_cast<float>(e.Y1));
            f.Punkt(static_cast<float>(e.X2), static_cast<float>(e.Y2));
            f.Breite(s.fenster.Strichbreite);
        }
        break;
    case Bogen:
        BogenZeichnen(s, f, e.X1, e.Y1, e.Radius, e.X2, e.Y2, ein.BF);
        break;
    case Kreis:
        f.Farbe(ein.LF);
        f.Kreis(static_cast<float>(e.X1), static_cast<float>(e.Y1), static_cast<float>(e.Radius));
        break;
    default:
        break;
    }
}

} // namespace

float BogenschrittFuerAnzahl(std::int32_t n) {
    if (n <= 200) return 0.01f;
    if (n <= 500) return 0.05f;
    if (n <= 1000) return 0.1f;
    return 0.5f;
}

std::string AnzahlText(const Speicher& sp) {
    const std::int32_t n = sp.ElementAnzahl();
    const std::int32_t kontur = n > 0 ? sp.Elemente[n].KonturNr : 0;
    return std::to_string(n) + "/" + std::to_string(kontur);
}

std::string EineStelleText(double wert, bool dezimalPunkt) {
    if (!std::isfinite(wert)) return "0";
    return NutzerFormat(OhneEndnullen(FestText(std::round(wert * 10.0) / 10.0, 1)), dezimalPunkt);
}

float AufZweiStellenGekappt(double wert) {
    if (!std::isfinite(wert)) return 0.0f;
    return static_cast<float>(std::trunc(wert * 100.0) / 100.0);
}

std::string ZeigerText(float wert, bool dezimalPunkt) {
    return NutzerFormat(OhneEndnullen(FestText(wert, 2)), dezimalPunkt);
}

std::string FensterTitel(const Sitzung& s) {
    const Speicher& sp = s.speicher;
    return "Konturo - [" + Basisname(s.fenster.AktDatei) + "] " +
           EineStelleText(sp.XMax - sp.XMin, sp.DezimalPunkt) + "x" +
           EineStelleText(sp.YMax - sp.YMin, sp.DezimalPunkt);
}

Ansicht GesamtAnsicht(double xMin, double xMax, double yMin, double yMax, double seitenverhaeltnis,
                      float& rand) {
    double dx = xMax - xMin;
    double dy = yMax - yMin;
    // A single point (or a box that collapsed to one) has no proportions to fit: give it the
    // start-up square around that point, so the view is sound and the point is drawn.
    if (!(dx > PunktAusdehnung) && !(dy > PunktAusdehnung)) {
        const double mx = std::isfinite(xMin) ? xMin + (std::isfinite(dx) ? dx / 2 : 0) : 0;
        const double my = std::isfinite(yMin) ? yMin + (std::isfinite(dy) ? dy / 2 : 0) : 0;
        xMin = mx - MindestAusdehnung / 2;
        yMin = my - MindestAusdehnung / 2;
        yMax = my + MindestAusdehnung / 2;
        dx = dy = MindestAusdehnung;
    }
    Ansicht a;
    const float verhaeltnisBox = static_cast<float>(dx) / static_cast<float>(dy);
    if (!(verhaeltnisBox > static_cast<float>(seitenverhaeltnis))) {
        rand = static_cast<float>(0.05 * dy);
        a.Hoehe = -(dy + 2.0 * rand);
        a.Oben = yMax + rand;
        a.Breite = -a.Hoehe * seitenverhaeltnis;
        a.Links = xMin - (a.Breite - dx) / 2.0;
    } else {
        rand = static_cast<float>(0.05 * dx);
        a.Breite = dx + 2.0 * rand;
        a.Links = xMin - rand;
        a.Hoehe = -a.Breite / seitenverhaeltnis;
        a.Oben = yMin - (a.Hoehe - dy) / 2.0;
    }
    return a;
}

Ansicht ZoomAnsicht(double x1, double y1, double x2, double y2, double seitenverhaeltnis) {
    Ansicht a;
    a.Links = std::min(x1, x2);
    a.Oben = std::max(y1, y2);
    a.Breite = std::abs(x2 - x1);
    a.Hoehe = -a.Breite / seitenverhaeltnis;
    return a;
}

bool AnsichtSetzen(Sitzung& s, Zeichenflaeche& f) {
    Fensterzustand& w = s.fenster;
    const Speicher& sp = s.speicher;
    const double verhaeltnis = w.Seitenverhaeltnis;
    if (!(verhaeltnis > 0) || !std::isfinite(verhaeltnis)) {
        s.Melden(130);
        return false;
    }
    if (w.Gezoomt) {
        w.Bogenschritt = 0.01f;
        const Ansicht a = ZoomAnsicht(w.ZoomX1, w.ZoomY1, w.ZoomX2, w.ZoomY2, verhaeltnis);
        if (!(a.Breite > 0) || !std::isfinite(a.Breite) || !std::isfinite(a.Oben)) {
            s.Melden(130);
            return false;
        }
        f.AnsichtSetzen(a);
        return true;
    }
    w.Bogenschritt = BogenschrittFuerAnzahl(sp.ElementAnzahl());
    float rand = w.Rand;
    const Ansicht a = GesamtAnsicht(sp.XMin, sp.XMax, sp.YMin, sp.YMax, verhaeltnis, rand);
    if (!std::isfinite(a.Links) || !std::isfinite(a.Oben) || !std::isfinite(a.Breite) ||
        !std::isfinite(a.Hoehe)) {
        s.Melden(130);
        return false;
    }
    w.Rand = rand;
    f.AnsichtSetzen(a);
    return true;
}

bool ImZoomFenster(const Ansicht& a, double px1, double py1, double px2, double py2) {
    const float links = static_cast<float>(a.Links);
    const float rechts = static_cast<float>(a.Links + a.Breite);
    const float oben = static_cast<float>(a.Oben);
    const float unten = static_cast<float>(a.Oben + a.Hoehe);
    const float x1 = static_cast<float>(px1), y1 = static_cast<float>(py1);
    const float x2 = static_cast<float>(px2), y2 = static_cast<float>(py2);
    return (x1 > links || x2 > links) && (x1 < rechts || x2 < rechts) && (y1 < oben || y2 < oben) &&
           (y1 > unten || y2 > unten);
}

void BogenZeichnen(Sitzung& s, Zeichenflaeche& f, double cx, double cy, double r, double a1,
                   double a2, std::int32_t farbe) {
    if (a2 < a1) a2 += 2.0 * Pi();
    if (s.einstellungen.Punkte == 1) {
        f.Breite(3);
        f.Farbe(s.einstellungen.PF);
        for (const double a : {a1, a2}) {
            f.Punkt(static_cast<float>(cx + r * std::cos(a)),
                    static_cast<float>(cy + r * std::sin(a)));
        }
        f.Breite(s.fenster.Strichbreite);
    }
    f.Farbe(farbe);
    double schritt = s.fenster.Bogenschritt;
    // A step that cannot advance would never end the polyline.
    if (!(schritt > 1e-6)) schritt = 0.01;
    float vx = static_cast<float>(cx + r * std::cos(a1));
    float vy = static_cast<float>(cy + r * std::sin(a1));
    for (double a = a1 + schritt; a < a2; a += schritt) {
        const float nx = static_cast<float>(cx + r * std::cos(a));
        const float ny = static_cast<float>(cy + r * std::sin(a));
        f.Linie(vx, vy, nx, ny);
        vx = nx;
        vy = ny;
    }
    f.Linie(vx, vy, static_cast<float>(cx + r * std::cos(a2)),
            static_cast<float>(cy + r * std::sin(a2)));
}

void AllesZeichnen(Sitzung& s, Zeichenflaeche& f) {
    Speicher& sp = s.speicher;
    Fensterzustand& w = s.fenster;
    Einstellungen& ein = s.einstellungen;
    const std::int32_t anzahl = sp.ElementAnzahl();
    if (anzahl < 1) return;

    s.ui->BeschaeftigtSetzen();
    w.AbbruchWunsch = false;
    s.ui->FortschrittMaximum(anzahl);
    s.ui->FortschrittWert(0);
    const bool unterbrechen = ein.Unterbrechung == 1;
    if (unterbrechen) s.ui->EreignisseVerarbeiten();

    w.Strichbreite = 1;
    f.Breite(1);
    sp.AktElement = 0;
    std::int32_t marke = Fortschrittsschritt;
    auto naechsteEreignisse = std::chrono::steady_clock::now() + Ereignisabstand;
    const bool gezoomt = w.Gezoomt;
    const Ansicht fenster = f.AktuelleAnsicht();
    const bool hervorheben = ein.WarnDarstellung == 1;

    while (sp.AktElement < anzahl) {
        if (sp.AktElement > marke) {
            s.ui->FortschrittWert(sp.AktElement);
            marke += Fortschrittsschritt;
        }
        if (unterbrechen && std::chrono::steady_clock::now() > naechsteEreignisse) {
            f.Anzeigen();
            s.ui->EreignisseVerarbeiten();
            naechsteEreignisse = std::chrono::steady_clock::now() + Ereignisabstand;
        }
        if (w.AbbruchWunsch) {
            sp.AktElement = anzahl - 1;
            w.AbbruchWunsch = false;
        }
        sp.AktElement += 1;
        const GeoElement& e = sp.Elemente[sp.AktElement];
        if (!Endlich(e)) {
            s.Melden(129);
            f.Anzeigen();
            s.ui->BereitSetzen();
            s.ui->FortschrittWert(0);
            return;
        }
        const bool kurz = hervorheben && e.Farbe == ein.ElementWarnFarbe;
        std::int32_t altLF = 0, altBF = 0, altPF = 0;
        if (kurz) {
            altLF = ein.LF;
            altBF = ein.BF;
            altPF = ein.PF;
            ein.LF = ein.BF = ein.PF = w.KurzFarbe;
            w.Strichbreite = 3;
            f.Breite(3);
        }
        if (!gezoomt || ReferenzpunkteImFenster(fenster, e)) ElementZeichnen(s, f, e);
        if (kurz) {
            ein.LF = altLF;
            ein.BF = altBF;
            ein.PF = altPF;
            w.Strichbreite = 1;
            f.Breite(1);
        }
    }
    w.AbbruchWunsch = false;
    f.Anzeigen();
    s.ui->BereitSetzen();
    s.ui->FortschrittWert(0);
}

void Neuzeichnen(Sitzung& s, Zeichenflaeche& f) {
    f.Loeschen(s.einstellungen.HGF);
    f.Beschriften(FensterTitel(s), AnzahlText(s.speicher));
    AnsichtSetzen(s, f);
    AllesZeichnen(s, f);
    f.Anzeigen();
}

} // namespace konturo
