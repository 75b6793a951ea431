// Frame step, frame type choice, frame menu commands and the ToPs GEO/VLG template reader.
#include "frames/Vorlagen.h"

#include "app/Sitzung.h"
#include "frames/Zeilenleser.h"
#include "geometry/AllgLesen.h"
#include "import/DXF_Lesen.h"
#include "output/FSO_Funktionen.h"
#include "text/FontErzeugen.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace konturo {

namespace {

// The frame box XL, XR, YB, YT of frame types 1 to 4.
struct RahmenBox {
    double XL = 0, XR = 0, YB = 0, YT = 0;
};

RahmenBox BoxBestimmen(const Speicher& sp, const Einstellungen& e) {
    RahmenBox b;
    if (e.Rtyp == 1 || e.Rtyp == 3) {
        b = {sp.XMin, sp.XMax, sp.YMin, sp.YMax};
    } else {
        double cx = (sp.XMax - sp.XMin) / 2 + sp.XMin;
        double cy = (sp.YMax - sp.YMin) / 2 + sp.YMin;
        b = {cx - e.Rx / 2, cx + e.Rx / 2, cy - e.Ry / 2, cy + e.Ry / 2};
    }
    return b;
}

void Anhaengen(Speicher& sp, std::uint8_t typ, double x1, double y1, double x2, double y2,
               double radius, std::int32_t konturNr, std::int32_t farbe) {
    GeoElement e = NeuesElement(typ, x1, y1, x2, y2, radius, konturNr, farbe);
    sp.Elemente.Anfuegen(e);
}

// The rectangle of types 1 to 4: four edges counter-clockwise from the bottom edge, then the
// four corner arcs counter-clockwise from the bottom right corner (rounded types only).
void RechteckAnfuegen(Sitzung& s, const RahmenBox& b, std::int32_t konturNr) {
    Speicher& sp = s.speicher;
    const Einstellungen& e = s.einstellungen;
    const bool automatisch = e.Rtyp == 1 || e.Rtyp == 3;
    const bool rund = e.Rtyp == 3 || e.Rtyp == 4;
    const double o = automatisch ? static_cast<double>(e.Roff) : 0.0;
    const double r = rund ? e.RRad : 0.0;
    const double links = b.XL - o, rechts = b.XR + o, unten = b.YB - o, oben = b.YT + o;
    const double pi = Pi();

    Anhaengen(sp, Linie, links + r, unten, rechts - r, unten, 0, konturNr, RahmenFarbe);
    Anhaengen(sp, Linie, rechts, unten + r, rechts, oben - r, 0, konturNr, RahmenFarbe);
    Anhaengen(sp, Linie, rechts - r, oben, links + r, oben, 0, konturNr, RahmenFarbe);
    Anhaengen(sp, Linie, links, oben - r, links, unten + r, 0, konturNr, RahmenFarbe);
    if (rund) {
        Anhaengen(sp, Bogen, rechts - r, unten + r, 3 * pi / 2, 0, r, konturNr, RahmenFarbe);
        Anhaengen(sp, Bogen, rechts - r, oben - r, 0, pi / 2, r, konturNr, RahmenFarbe);
        Anhaengen(sp, Bogen, links + r, oben - r, pi / 2, pi, r, konturNr, RahmenFarbe);
        Anhaengen(sp, Bogen, links + r, unten + r, pi, 3 * pi / 2, r, konturNr, RahmenFarbe);
    }
    BoxErweitern(sp, links, unten);
    BoxErweitern(sp, rechts, oben);
}

// Template copy: the template's origin goes on the centre of the geometry; only lines, arcs and
// circles are copied, each in its template colour.
void VorlageKopieren(Sitzung& s, std::int32_t konturNr, bool leer) {
    Speicher& sp = s.speicher;
    // An empty geometry leaves a box of no meaning (start-up values or a former conversion's);
    // the template then keeps its own coordinates.
    const double cx = leer ? 0.0 : (sp.XMax - sp.XMin) / 2 + sp.XMin;
    const double cy = leer ? 0.0 : (sp.YMax - sp.YMin) / 2 + sp.YMin;
    const GeoFeld& vorlage = sp.VorlageElemente;
    for (std::int32_t i = 1; i <= vorlage.Anzahl(); ++i) {
        const GeoElement v = vorlage[i];
        switch (v.Typ) {
        case Linie:
            Anhaengen(sp, Linie, cx + v.X1, cy + v.Y1, cx + v.X2, cy + v.Y2, 0, konturNr, v.Farbe);
            BoxErweitern(sp, cx + v.X1, cy + v.Y1);
            BoxErweitern(sp, cx + v.X2, cy + v.Y2);
            break;
        case Bogen:
        case Kreis: {
            const double mx = cx + v.X1, my = cy + v.Y1;
            Anhaengen(sp, v.Typ, mx, my, v.X2, v.Y2, v.Radius, konturNr, v.Farbe);
            BoxErweitern(sp, mx + v.Radius, my + v.Radius);
            BoxErweitern(sp, mx - v.Radius, my - v.Radius);
            break;
        }
        default:
            break;
        }
    }
}

} // namespace

void RahmenAnfuegen(Sitzung& s) {
    const std::uint8_t typ = s.einstellungen.Rtyp;
    if (typ == 0 || typ > 6) return;
    const bool leer = s.speicher.ElementAnzahl() == 0;
    if (leer && typ <= 4) return;
    const std::int32_t konturNr = ++s.text.KonturZaehler;
    if (typ >= 5) {
        VorlageKopieren(s, konturNr, leer);
    } else {
        RechteckAnfuegen(s, BoxBestimmen(s.speicher, s.einstellungen), konturNr);
    }
}

void RahmenTypSetzen(Sitzung& s, RahmenOption option) {
    Einstellungen& e = s.einstellungen;
    if (e.Rtyp == 0) return;
    switch (option) {
    case RahmenOption::Automatisch:
        e.Rtyp = e.RRad <= 0 ? 1 : 3;
        break;
    case RahmenOption::Fix:
        e.Rtyp = e.RRad <= 0 ? 2 : 4;
        break;
    case RahmenOption::ToPsVorlage:
        e.Rtyp = 5;
        RahmenVorlageLesen(s);
        break;
    case RahmenOption::DxfVorlage:
        e.Rtyp = 6;
        RahmenVorlageLesen(s);
        break;
    }
}

void RahmenVorlageLesen(Sitzung& s) {
    if (s.einstellungen.Rtyp == 5) {
        GeoVorlageLesen(s);
    } else if (s.einstellungen.Rtyp == 6) {
        DXFVorlageLesen(s);
    }
}

void VorlageLeeren(Speicher& sp) {
    sp.VorlageElemente.Leeren();
    sp.VorlageTexte.clear();
    sp.VorlagePunkteX.assign(1, 0.0);
    sp.VorlagePunkteY.assign(1, 0.0);
}

// ToPs GEO/VLG template reading.

namespace {

std::vector<std::string_view> Teile(std::string_view zeile) {
    std::vector<std::string_view> teile;
    std::size_t i = 0;
    while (i < zeile.size()) {
        while (i < zeile.size() && (zeile[i] == ' ' || zeile[i] == '\t')) ++i;
        std::size_t anfang = i;
        while (i < zeile.size() && zeile[i] != ' ' && zeile[i] != '\t') ++i;
        if (i > anfang) teile.push_back(zeile.substr(anfang, i - anfang));
    }
    return teile;
}

std::string Gross(std::string_view text) {
    std::string gross(text);
    for (char& c : gross) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return gross;
}

// Colour code 3 marks a red element; every other code is a frame element.
std::int32_t FarbeAusCode(std::string_view farbZeile) {
    auto teile = Teile(farbZeile);
    double code = teile.empty() ? 0.0 : ZahlLesen(teile[0]);
    return code == 3 ? RGB(255, 0, 0) : RahmenFarbe;
}

class GeoVorlagenLeser {
public:
    GeoVorlagenLeser(Sitzung& s, std::istream& ein) : s_(s), sp_(s.speicher), leser_(ein) {}

    void Lesen() {
        std::string zeile;
        if (!leser_.Lesen(zeile)) return;
        do {
            if (!leser_.Lesen(zeile)) return;
        } while (zeile.find("#~31") == std::string::npos);
        if (!PunkteLesen()) return;
        ElementeLesen();
    }

private:
    // The point section; false when the file ended inside it.
    bool PunkteLesen() {
        std::string zeile, nummer, koordinaten, ende;
        if (!leser_.Lesen(zeile)) return false;
        while (zeile == "P") {
            if (!leser_.Lesen(nummer) || !leser_.Lesen(koordinaten)) return false;
            auto teile = Teile(koordinaten);
            sp_.VorlagePunkteX.push_back(teile.size() > 0 ? ZahlLesen(teile[0]) : 0.0);
            sp_.VorlagePunkteY.push_back(teile.size() > 1 ? ZahlLesen(teile[1]) : 0.0);
            if (!leser_.Lesen(ende) || !leser_.Lesen(zeile)) return false;
        }
        return true;
    }

    void ElementeLesen() {
        std::string zeile;
        while (leser_.Lesen(zeile)) {
            const std::string name = Gross(zeile);
            bool weiter = true;
            if (name == "LIN" || name == "CHA") {
                weiter = LinieLesen();
            } else if (name == "ARC" || name == "FIL") {
                weiter = BogenLesen();
            } else if (name == "CIR") {
                weiter = KreisLesen();
            } else if (name == "#~EOF") {
                return;
            }
            if (!weiter) return;
        }
    }

    // The point of a number in an element record: empty when the number is not a whole number
    // of the point table or the point's coordinates are not finite.
    std::optional<std::int32_t> PunktNr(const std::vector<std::string_view>& teile,
                                        std::size_t i) const {
        if (i >= teile.size()) return std::nullopt;
        auto wert = ZahlLesenEndlich(teile[i]);
        const auto anzahl = static_cast<double>(sp_.VorlagePunkteX.size() - 1);
        if (!wert || *wert < 1 || *wert > anzahl || std::floor(*wert) != *wert) return std::nullopt;
        auto nr = static_cast<std::int32_t>(*wert);
        if (!std::isfinite(X(nr)) || !std::isfinite(Y(nr))) return std::nullopt;
        return nr;
    }

    double X(std::int32_t nr) const { return sp_.VorlagePunkteX[static_cast<std::size_t>(nr)]; }
    double Y(std::int32_t nr) const { return sp_.VorlagePunkteY[static_cast<std::size_t>(nr)]; }

    void Anfuegen(std::uint8_t typ, double x1, double y1, double x2, double y2, double radius,
                  std::int32_t farbe) {
        GeoElement e = NeuesElement(typ, x1, y1, x2, y2, radius, 0, farbe);
        sp_.VorlageElemente.Anfuegen(e);
    }

    bool LinieLesen() {
        std::string farbe, punkte;
        if (!leser_.Lesen(farbe) || !leser_.Lesen(punkte)) return false;
        auto teile = Teile(punkte);
        auto a = PunktNr(teile, 0), b = PunktNr(teile, 1);
        if (a && b) Anfuegen(Linie, X(*a), Y(*a), X(*b), Y(*b), 0, FarbeAusCode(farbe));
        return true;
    }

    bool KreisLesen() {
        std::string farbe, mitte, radiusZeile;
        if (!leser_.Lesen(farbe) || !leser_.Lesen(mitte) || !leser_.Lesen(radiusZeile))
            return false;
        auto m = PunktNr(Teile(mitte), 0);
        const double radius = ZahlLesen(Beschnitten(radiusZeile));
        if (m && std::isfinite(radius))
            Anfuegen(Kreis, X(*m), Y(*m), 0, 0, radius, FarbeAusCode(farbe));
        return true;
    }

    bool BogenLesen() {
        std::string farbe, punkte, richtung;
        if (!leser_.Lesen(farbe) || !leser_.Lesen(punkte) || !leser_.Lesen(richtung)) return false;
        auto teile = Teile(punkte);
        auto m = PunktNr(teile, 0), a = PunktNr(teile, 1), b = PunktNr(teile, 2);
        if (!m || !a || !b) return true;
        const double winkelA = Richtungswinkel(s_.text, X(*m), Y(*m), X(*a), Y(*a));
        const double winkelB = Richtungswinkel(s_.text, X(*m), Y(*m), X(*b), Y(*b));
        const bool linksherum = richtung == "1";
        const double radius = Abstand(X(*m), Y(*m), X(*a), Y(*a));
        // Finite points may still lie farther apart than the largest double.
        if (!std::isfinite(radius)) return true;
        Anfuegen(Bogen, X(*m), Y(*m), linksherum ? winkelA : winkelB,
                 linksherum ? winkelB : winkelA, radius, FarbeAusCode(farbe));
        return true;
    }

    Sitzung& s_;
    Speicher& sp_;
    Zeilenleser leser_;
};

} // namespace

void GeoVorlageLesen(Sitzung& s, std::istream& ein) {
    VorlageLeeren(s.speicher);
    GeoVorlagenLeser(s, ein).Lesen();
}

void GeoVorlageLesen(Sitzung& s) {
    VorlageLeeren(s.speicher);
    std::string inhalt;
    if (DateiEinlesen(s.einstellungen.RVorlage, MaxVorlageDatei, inhalt) != Dateifehler::Keiner)
        return;
    std::istringstream ein(std::move(inhalt));
    GeoVorlageLesen(s, ein);
}

} // namespace konturo
