// DXF frame template reader: ASCII group pairs (a code line, then a value line), the layer
// table, and the entity loop with its state carried from one entity to the next.
#include "import/DXF_Lesen.h"

#include "app/Sitzung.h"
#include "frames/Vorlagen.h"
#include "frames/Zeilenleser.h"
#include "geometry/AllgLesen.h"
#include "output/FSO_Funktionen.h"
#include "text/FontErzeugen.h"

#include <cmath>
#include <sstream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace konturo {

std::int32_t DXFFarbe(double farbNummer) {
    if (farbNummer == 0) return RGB(64, 64, 64);
    if (farbNummer == 1) return RGB(255, 0, 0);
    if (farbNummer == 2) return RGB(255, 255, 0);
    if (farbNummer == 3) return RGB(0, 255, 0);
    if (farbNummer == 4) return RGB(0, 255, 255);
    if (farbNummer == 5) return RGB(0, 0, 255);
    if (farbNummer == 6) return RGB(255, 0, 255);
    if (farbNummer == 7) return RGB(255, 255, 255);
    return RGB(124, 124, 124);
}

namespace {

struct Layer {
    std::size_t Nr = 0; // entry number in the table
    std::string Name;
    std::int32_t Farbe = 0;
    std::string Linientyp; // read, not used
};

// Values of the entity being read. Nothing is reset between entities: a group that an entity
// does not give keeps the value of the entity before it.
struct Entitaetszustand {
    double X1 = 0, Y1 = 0; // first point, centre, insertion point, vertex
    double X2 = 0, Y2 = 0; // second point; ellipse: major axis relative to the centre
    double Radius = 0;
    double StartGrad = 0, EndGrad = 0;           // arc angles (degrees)
    double StartParameter = 0, EndParameter = 0; // ellipse parameters (radians)
    double Texthoehe = 0;
    std::string Text;
    std::int32_t Farbe = 0;
    double Woelbung = 0;
    bool WoelbungOffen = false;
    double ErsterX = 0, ErsterY = 0; // first vertex of the chain
    double VorherX = 0, VorherY = 0; // previous vertex
    bool ErsterScheitel = true;
    bool KetteOffen = false; // a vertex chain has begun and not yet met its SEQEND
};

class DXFLeser {
public:
    DXFLeser(Sitzung& s, std::istream& ein) : s_(s), sp_(s.speicher), leser_(ein) {}

    void Lesen() {
        if (!leser_.Lesen(zeile_)) return;
        if (!ZeileSuchen("LAYER")) return;
        int code = 0;
        do {
            if (!Paar(code)) return;
        } while (code != 70);
        do {
            if (!Paar(code)) return;
        } while (code != 0);
        if (!LayertabelleLesen()) return;
        if (!ZeileSuchen("ENTITIES")) return;
        if (!Paar(code)) return;
        name_ = wert_;
        EntitaetenLesen();
    }

private:
    bool ZeileSuchen(std::string_view gesucht) {
        do {
            if (!leser_.Lesen(zeile_)) return false;
        } while (Beschnitten(zeile_) != gesucht);
        return true;
    }

    // Reads one group pair into code and wert_. False at the end of the file or when the code
    // line is not a number: both end the reading.
    bool Paar(int& code) {
        if (!leser_.Lesen(zeile_)) return false;
        std::string_view text = Beschnitten(zeile_);
        std::size_t gelesen = 0;
        const double zahl = ZahlLesen(text, gelesen);
        if (text.empty() || gelesen != text.size() || !std::isfinite(zahl)) return false;
        code = std::fabs(zahl) < 2147483647.0 ? static_cast<int>(zahl) : -1;
        if (!leser_.Lesen(zeile_)) return false;
        wert_.assign(Beschnitten(zeile_));
        return true;
    }

    double Zahl() const { return ZahlLesen(wert_); }

    // The entry of the current number, created by its first field. Entries are kept only when
    // they carry a field, so a table of empty entries cannot grow memory beyond the fields read.
    Layer& Eintrag(std::size_t nr) {
        if (layer_.empty() || layer_.back().Nr != nr) layer_.push_back(Layer{nr, {}, 0, {}});
        return layer_.back();
    }

    bool LayertabelleLesen() {
        std::size_t nr = 1;
        int code = 0;
        for (;;) {
            if (!Paar(code)) return false;
            if (code == 0) {
                ++nr;
                if (wert_ == "ENDTAB") break;
            } else if (code == 2) {
                Eintrag(nr).Name = wert_;
            } else if (code == 62) {
                Eintrag(nr).Farbe = DXFFarbe(Zahl());
            } else if (code == 6) {
                Eintrag(nr).Linientyp = wert_;
            }
        }
        for (std::size_t i = 0; i < layer_.size(); ++i)
            if (!layer_[i].Name.empty()) layerNachName_.emplace(layer_[i].Name, i);
        return true;
    }

    void EntitaetenLesen() {
        while (!ende_) {
            if (name_ == "LINE") {
                LinieLesen();
            } else if (name_ == "ARC") {
                BogenLesen();
            } else if (name_ == "CIRCLE") {
                KreisLesen();
            } else if (name_ == "ELLIPSE") {
                EllipseLesen();
            } else if (name_ == "VERTEX") {
                ScheitelLesen();
            } else if (name_ == "POLYLINE") {
                z_.ErsterScheitel = true;
                z_.WoelbungOffen = false;
                Ueberspringen();
            } else if (name_ == "TEXT") {
                TextLesen();
            } else if (name_ == "SEQEND") {
                KetteSchliessen();
                Ueberspringen();
            } else if (name_ == "ENDSEQ" || name_ == "EOF") {
                return;
            } else {
                Ueberspringen();
            }
        }
    }

    void Ueberspringen() {
        int code = 0;
        do {
            if (!Paar(code)) {
                ende_ = true;
                return;
            }
        } while (code != 0);
        name_ = wert_;
    }

    // Reads the groups of one entity up to its closing pair (code 0, whose value names the next
    // entity). Layer, colour and extrusion are handled here; every other group goes to gruppe.
    // spiegeln runs when the extrusion z is -1. False when the file ended inside the entity.
    template <class Gruppe, class Spiegeln>
    bool GruppenLesen(Gruppe&& gruppe, Spiegeln&& spiegeln) {
        int code = 0;
        for (;;) {
            if (!Paar(code)) {
                ende_ = true;
                return false;
            }
            if (code == 0) {
                name_ = wert_;
                return true;
            }
            if (code == 8) {
                auto it = layerNachName_.find(wert_);
                if (it != layerNachName_.end()) z_.Farbe = layer_[it->second].Farbe;
            } else if (code == 62) {
                z_.Farbe = DXFFarbe(Zahl());
            } else if (code == 230) {
                if (Zahl() == -1) spiegeln();
            } else {
                gruppe(code);
            }
        }
    }

    bool PunktGruppe(int code) {
        switch (code) {
        case 10:
            z_.X1 = Zahl();
            return true;
        case 20:
            z_.Y1 = Zahl();
            return true;
        default:
            return false;
        }
    }

    // Records with a number that is not finite are dropped: they would carry infinities into
    // the frame and the bounding box.
    void Anfuegen(std::uint8_t typ, double x1, double y1, double x2, double y2, double radius,
                  const std::string& text = {}) {
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2) ||
            !std::isfinite(radius))
            return;
        sp_.VorlageElemente.Anfuegen(NeuesElement(typ, x1, y1, x2, y2, radius, 0, z_.Farbe));
        if (typ == Textelement) sp_.VorlageTexte[sp_.VorlageElemente.Anzahl()] = text;
        if (typ == Linie) {
            BoxErweitern(sp_, x1, y1);
            BoxErweitern(sp_, x2, y2);
        }
    }

    void LinieLesen() {
        auto gruppe = [this](int code) {
            if (PunktGruppe(code)) return;
            if (code == 11)
                z_.X2 = Zahl();
            else if (code == 21)
                z_.Y2 = Zahl();
        };
        auto spiegeln = [this] {
            z_.X1 = -z_.X1;
            z_.X2 = -z_.X2;
        };
        if (GruppenLesen(gruppe, spiegeln)) Anfuegen(Linie, z_.X1, z_.Y1, z_.X2, z_.Y2, 0);
    }

    void KreisLesen() {
        auto gruppe = [this](int code) {
            if (PunktGruppe(code)) return;
            if (code == 40) z_.Radius = Zahl();
        };
        auto spiegeln = [this] { z_.X1 = -z_.X1; };
        if (GruppenLesen(gruppe, spiegeln)) Anfuegen(Kreis, z_.X1, z_.Y1, 0, 0, z_.Radius);
    }

    void BogenLesen() {
        bool gespiegelt = false;
        auto gruppe = [this](int code) {
            if (PunktGruppe(code)) return;
            if (code == 40)
                z_.Radius = Zahl();
            else if (code == 50)
                z_.StartGrad = Zahl();
            else if (code == 51)
                z_.EndGrad = Zahl();
        };
        auto spiegeln = [this, &gespiegelt] {
            z_.X1 = -z_.X1;
            gespiegelt = !gespiegelt;
        };
        if (!GruppenLesen(gruppe, spiegeln)) return;
        const double pi = Pi();
        double start = z_.StartGrad * pi / 180;
        double ende = z_.EndGrad * pi / 180;
        if (gespiegelt) {
            // Seen from above, an arc drawn about the downward axis runs the other way: mirror
            // it like the centre and swap its ends so that it stays counter-clockwise.
            const double neuStart = pi - ende;
            const double neuEnde = pi - start;
            start = neuStart < 0 ? neuStart + 2 * pi : neuStart;
            ende = neuEnde < 0 ? neuEnde + 2 * pi : neuEnde;
        }
        Anfuegen(Bogen, z_.X1, z_.Y1, start, ende, z_.Radius);
    }

    // An ellipse becomes the circular arc of its semi-major axis; its parameters count from the
    // direction of the major axis.
    void EllipseLesen() {
        auto gruppe = [this](int code) {
            if (PunktGruppe(code)) return;
            if (code == 11)
                z_.X2 = Zahl();
            else if (code == 21)
                z_.Y2 = Zahl();
            else if (code == 41)
                z_.StartParameter = Zahl();
            else if (code == 42)
                z_.EndParameter = Zahl();
        };
        auto spiegeln = [this] { z_.X1 = -z_.X1; };
        if (!GruppenLesen(gruppe, spiegeln)) return;
        const double pi = Pi();
        const double radius = Abstand(0, 0, z_.X2, z_.Y2);
        const double achse = Richtungswinkel(s_.text, 0, 0, z_.X2, z_.Y2) * 180 / pi;
        double start = z_.StartParameter * 180 / pi + achse;
        double ende = z_.EndParameter * 180 / pi + achse;
        if (start > 360) start -= 360;
        if (ende > 360) ende -= 360;
        Anfuegen(Bogen, z_.X1, z_.Y1, start * pi / 180, ende * pi / 180, radius);
    }

    void TextLesen() {
        auto gruppe = [this](int code) {
            if (PunktGruppe(code)) return;
            if (code == 1)
                z_.Text = wert_;
            else if (code == 40)
                z_.Texthoehe = Zahl();
        };
        auto spiegeln = [this] { z_.X1 = -z_.X1; };
        if (!GruppenLesen(gruppe, spiegeln)) return;
        const double hoehe = z_.Texthoehe == 0 ? 5.0 : z_.Texthoehe;
        Anfuegen(Textelement, z_.X1, z_.Y1, hoehe, 0, 0, z_.Text);
    }

    void ScheitelLesen() {
        bool hatWoelbung = false;
        auto gruppe = [this, &hatWoelbung](int code) {
            if (PunktGruppe(code)) return;
            if (code == 42) {
                z_.Woelbung = Zahl();
                hatWoelbung = true;
            }
        };
        if (!GruppenLesen(gruppe, [] {})) return;
        if (z_.ErsterScheitel) {
            z_.ErsterX = z_.VorherX = z_.X1;
            z_.ErsterY = z_.VorherY = z_.Y1;
            z_.ErsterScheitel = false;
            z_.KetteOffen = true;
        } else {
            if (!z_.WoelbungOffen || z_.Woelbung == 0) {
                Anfuegen(Linie, z_.VorherX, z_.VorherY, z_.X1, z_.Y1, 0);
            } else {
                WoelbungsbogenAnfuegen(z_.VorherX, z_.VorherY, z_.X1, z_.Y1, z_.Woelbung);
            }
            z_.WoelbungOffen = false;
            z_.VorherX = z_.X1;
            z_.VorherY = z_.Y1;
        }
        if (hatWoelbung) z_.WoelbungOffen = true;
    }

    // The arc of a polyline segment from P1 to P2 with bulge b: included angle 4 atan |b|,
    // counter-clockwise from P1 to P2 for b > 0, clockwise for b < 0. Stored counter-clockwise.
    // Radius c / (2 sin(theta / 2)) and the centre's distance c / 2 * cot(theta / 2) from the
    // chord are taken in their bulge forms, so that a half circle (|b| = 1) has its centre
    // exactly on the chord.
    void WoelbungsbogenAnfuegen(double x1, double y1, double x2, double y2, double b) {
        const double pi = Pi();
        const double betrag = std::fabs(b);
        const double theta = 4 * std::atan(betrag);
        const double sehne = Abstand(x1, y1, x2, y2);
        const double radius = sehne * (1 + betrag * betrag) / (4 * betrag);
        const double abstandMitte = sehne * (1 - betrag * betrag) / (4 * betrag);
        // Run the chord counter-clockwise; the centre lies on its left when the arc is less
        // than half a circle, on its right when more.
        double vonX = x1, vonY = y1, nachX = x2, nachY = y2;
        if (b < 0) {
            std::swap(vonX, nachX);
            std::swap(vonY, nachY);
        }
        double mx = (vonX + nachX) / 2, my = (vonY + nachY) / 2;
        if (sehne > 0) {
            mx += -(nachY - vonY) / sehne * abstandMitte;
            my += (nachX - vonX) / sehne * abstandMitte;
        }
        double ende = Richtungswinkel(s_.text, mx, my, nachX, nachY);
        if (ende >= 2 * pi) ende -= 2 * pi;
        double start = ende - theta;
        if (start < 0) start += 2 * pi;
        Anfuegen(Bogen, mx, my, start, ende, radius);
    }

    // SEQEND: the chain is closed by a line from its first to its last vertex whenever the two
    // differ, closed flag or not; a bulge pending on the last vertex is dropped.
    void KetteSchliessen() {
        if (z_.KetteOffen && (z_.VorherX != z_.ErsterX || z_.VorherY != z_.ErsterY))
            Anfuegen(Linie, z_.ErsterX, z_.ErsterY, z_.VorherX, z_.VorherY, 0);
        z_.KetteOffen = false;
        z_.WoelbungOffen = false;
    }

    Sitzung& s_;
    Speicher& sp_;
    Zeilenleser leser_;
    std::string zeile_;
    std::string wert_;
    std::string name_;
    bool ende_ = false;
    std::vector<Layer> layer_;
    std::unordered_map<std::string, std::size_t> layerNachName_;
    Entitaetszustand z_;
};

} // namespace

void DXFVorlageLesen(Sitzung& s, std::istream& ein) {
    VorlageLeeren(s.speicher);
    DXFLeser(s, ein).Lesen();
}

void DXFVorlageLesen(Sitzung& s) {
    VorlageLeeren(s.speicher);
    std::string inhalt;
    if (DateiEinlesen(s.einstellungen.RVorlage, MaxVorlageDatei, inhalt) != Dateifehler::Keiner)
        return;
    std::istringstream ein(std::move(inhalt));
    DXFVorlageLesen(s, ein);
}

} // namespace konturo
