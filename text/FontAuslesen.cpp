// Text layout and conversion: pen placement, tabs, line breaks, the per-character glyph step and
// the removal of duplicate elements.
#include "text/FontAuslesen.h"

#include "app/Sitzung.h"
#include "frames/Vorlagen.h"
#include "text/FontErzeugen.h"
#include "text/GlyphGeraet.h"
#include "text/GlyphGeraetFreetype.h"
#include "text/GlyphonBindung.h"
#include "text/Textquelle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <set>
#include <string>
#include <vector>

namespace konturo {

namespace {

// The measuring device is asked for ten times the character's point size, so glyph coordinates
// keep a useful resolution in whole device units.
constexpr double MessGroesse = 10.0;

// Progress, events and the abort request are looked at every this many positions.
constexpr std::int32_t FortschrittTakt = 10;

// Selects fonts into the device, skipping the call when the same font is selected already.
class Schriftwahl {
public:
    explicit Schriftwahl(GlyphGeraet& g) : geraet_(g) {}

    bool Waehlen(const Zeichenformat& f) {
        if (gueltig_ && f.Schriftart == letzte_.Schriftart && f.Groesse == letzte_.Groesse &&
            f.Fett == letzte_.Fett && f.Kursiv == letzte_.Kursiv)
            return ok_;
        letzte_ = f;
        gueltig_ = true;
        ok_ = geraet_.SchriftWaehlen(f.Schriftart, f.Groesse * MessGroesse, f.Fett, f.Kursiv);
        return ok_;
    }

private:
    GlyphGeraet& geraet_;
    Zeichenformat letzte_;
    bool gueltig_ = false;
    bool ok_ = false;
};

GlyphGeraet* GeraetHolen(Sitzung& s) {
    if (s.glyphGeraet != nullptr) return s.glyphGeraet;
    if (!s.eigenesGlyphGeraet) s.eigenesGlyphGeraet = std::make_shared<GlyphGeraetFreetype>();
    return s.eigenesGlyphGeraet.get();
}

// "Text1.rtf", or the first eight characters of the text without its line breaks plus ".rtf".
std::string DateiNameAusText(const std::string& klarText) {
    std::u32string text = Utf8Dekodieren(klarText);
    std::u32string ohne;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
            ++i;
            continue;
        }
        ohne.push_back(text[i]);
    }
    if (ohne.empty()) return "Text1.rtf";
    ohne.resize(std::min<std::size_t>(8, ohne.size()));
    return Utf8Kodieren(ohne) + ".rtf";
}

// Largest text-metric height of the characters of the line that starts at position von; 0 for an
// empty line.
double ZeilenHoehe(const Textquelle& quelle, std::int32_t von, Schriftwahl& wahl,
                   GlyphGeraet& geraet) {
    double hoehe = 0;
    const std::int32_t laenge = quelle.Laenge();
    for (std::int32_t q = von; q < laenge; ++q) {
        const TextPosition pos = quelle.An(q);
        if (pos.art != TextPosition::Art::Zeichen) break;
        if (!wahl.Waehlen(pos.format)) continue;
        hoehe = std::max(hoehe, geraet.Metrik().Height);
    }
    return hoehe;
}

bool Nahe(double a, double b) { return std::fabs(a - b) < DuplikatAbstand; }

bool Duplikat(const GeoElement& a, const GeoElement& b) {
    switch (a.Typ) {
    case Linie:
        return Nahe(a.X1, b.X1) && Nahe(a.Y1, b.Y1) && Nahe(a.X2, b.X2) && Nahe(a.Y2, b.Y2);
    case Bogen:
        return Nahe(a.X1, b.X1) && Nahe(a.Y1, b.Y1) && Nahe(a.X2, b.X2) && Nahe(a.Y2, b.Y2) &&
               Nahe(a.Radius, b.Radius);
    case Kreis:
        return Nahe(a.X1, b.X1) && Nahe(a.Y1, b.Y1) && Nahe(a.Radius, b.Radius);
    default:
        return false;
    }
}

bool Vergleichbar(std::uint8_t typ) { return typ == Linie || typ == Bogen || typ == Kreis; }

// Grid of the first point (line start, arc and circle centre), hashed by cell. A duplicate lies
// within the duplicate distance in every field, so its first point is found in the cells under
// x +- 1.5 distances (y alike): the half distance of slack covers the rounding of the bounds, and
// with cells four distances wide that span never reaches more than two cells per axis.
constexpr double ZellenBreite = 4 * DuplikatAbstand;
constexpr double Suchweite = 1.5 * DuplikatAbstand;
// Beyond this magnitude (or not finite) a coordinate leaves the grid; such elements are compared
// with every element, which real drawings never need.
constexpr double GitterGrenze = 1e12;

bool ImGitter(const GeoElement& e) {
    return std::fabs(e.X1) <= GitterGrenze && std::fabs(e.Y1) <= GitterGrenze;
}

std::int64_t ZellNr(double v) { return static_cast<std::int64_t>(std::floor(v / ZellenBreite)); }

class DuplikatGitter {
public:
    explicit DuplikatGitter(std::int32_t elemente)
        : naechster_(static_cast<std::size_t>(elemente) + 1, 0) {
        std::size_t slots = 1024;
        while (slots < 2 * static_cast<std::size_t>(elemente)) slots *= 2;
        zellen_.resize(slots);
    }

    void Einfuegen(const GeoElement& e, std::int32_t i) {
        Zelle& z = Finden(e.Typ, ZellNr(e.X1), ZellNr(e.Y1));
        if (z.kopf == 0) {
            z.typ = e.Typ;
            z.cx = ZellNr(e.X1);
            z.cy = ZellNr(e.Y1);
        }
        naechster_[static_cast<std::size_t>(i)] = z.kopf;
        z.kopf = i;
    }

    // Calls f for the elements of e's kind in the cells around its first point until f is true.
    template <class F> bool Suchen(const GeoElement& e, std::uint8_t typ, F&& f) {
        const std::int64_t x0 = ZellNr(e.X1 - Suchweite), x1 = ZellNr(e.X1 + Suchweite);
        const std::int64_t y0 = ZellNr(e.Y1 - Suchweite), y1 = ZellNr(e.Y1 + Suchweite);
        for (std::int64_t cx = x0; cx <= x1; ++cx) {
            for (std::int64_t cy = y0; cy <= y1; ++cy) {
                for (std::int32_t j = Finden(typ, cx, cy).kopf; j != 0;
                     j = naechster_[static_cast<std::size_t>(j)])
                    if (f(j)) return true;
            }
        }
        return false;
    }

private:
    struct Zelle {
        std::int64_t cx = 0, cy = 0;
        std::int32_t kopf = 0; // newest element of the cell; 0 = unused slot
        std::uint8_t typ = 0;
    };

    // The cell's slot, or the empty slot where it would go (the table is at most half full).
    Zelle& Finden(std::uint8_t typ, std::int64_t cx, std::int64_t cy) {
        std::uint64_t h = static_cast<std::uint64_t>(cx) * 0x9E3779B97F4A7C15ULL ^
                          static_cast<std::uint64_t>(cy) * 0xC2B2AE3D27D4EB4FULL ^ typ;
        h ^= h >> 29;
        const std::size_t maske = zellen_.size() - 1;
        for (std::size_t i = h & maske;; i = (i + 1) & maske) {
            Zelle& z = zellen_[i];
            if (z.kopf == 0 || (z.cx == cx && z.cy == cy && z.typ == typ)) return z;
        }
    }

    std::vector<Zelle> zellen_;
    std::vector<std::int32_t> naechster_;
};

} // namespace

// One position: a character, a tab or a line break (which also skips the line feed after it).
static void PositionUmwandeln(Sitzung& s, const Textquelle& quelle, GlyphGeraet& geraet,
                              Schriftwahl& wahl, std::int32_t& p, bool& schriftFehlerGemeldet) {
    Textzustand& z = s.text;
    const TextPosition pos = quelle.An(p);
    if (pos.art == TextPosition::Art::Zeichen) {
        if (pos.zeichen == U'\t') {
            z.StiftX += TabBreite;
        } else if (wahl.Waehlen(pos.format)) {
            ZeichenUmwandeln(s, geraet, pos.zeichen);
        } else if (!schriftFehlerGemeldet) {
            schriftFehlerGemeldet = true;
            s.Melden(125, " " + pos.format.Schriftart);
        }
    } else if (pos.art == TextPosition::Art::Zeilenumbruch) {
        const double hoehe = ZeilenHoehe(quelle, p + 2, wahl, geraet);
        z.StiftY = z.StiftY - hoehe + z.Zeilenabstand;
        z.StiftX = 0;
        z.Vorschub = 0;
        ++p;
    }
}

// Every font of the text must be installed: one that is not would be converted in another font
// than the one the user chose. Shows language text 89 with the first missing name.
static bool SchriftenVorhanden(Sitzung& s, const Textquelle& quelle, GlyphGeraet& geraet) {
    std::set<std::string> geprueft;
    for (std::int32_t p = 0; p < quelle.Laenge(); ++p) {
        const TextPosition pos = quelle.An(p);
        if (pos.art != TextPosition::Art::Zeichen || !geprueft.insert(pos.format.Schriftart).second)
            continue;
        if (!geraet.Vorhanden(pos.format.Schriftart)) {
            s.Melden(89, " " + pos.format.Schriftart);
            return false;
        }
    }
    return true;
}

// The walk over all positions of the text, with progress, events and the abort request.
static void TextDurchlaufen(Sitzung& s, const Textquelle& quelle, GlyphGeraet& geraet) {
    const std::int32_t laenge = quelle.Laenge();
    Schriftwahl wahl(geraet);
    bool schriftFehlerGemeldet = false;
    bool letzte = false;
    std::int32_t schwelle = FortschrittTakt;
    for (std::int32_t p = 0; p < laenge && !letzte; ++p) {
        if (p >= schwelle) {
            schwelle += FortschrittTakt;
            // An abort ends the walk after the character at p.
            if (s.fenster.AbbruchWunsch) {
                s.fenster.AbbruchWunsch = false;
                letzte = true;
            }
            s.ui->FortschrittWert(p);
            if (s.einstellungen.Unterbrechung == 1) s.ui->EreignisseVerarbeiten();
        }
        try {
            PositionUmwandeln(s, quelle, geraet, wahl, p, schriftFehlerGemeldet);
        } catch (const std::exception&) {
            // A fault at one position skips that position; the walk goes on.
        }
    }
}

void ZeichenUmwandeln(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen) {
    Textzustand& z = s.text;
    try {
        const AbcBreiten abc = geraet.Breiten(zeichen);
        const Textmetrik metrik = geraet.Metrik();
        if (z.Oberlaenge == 0) z.Oberlaenge = metrik.Ascent;
        const double massstab = z.Schrifthoehe / z.Oberlaenge / 0.75;
        const double vorschub = z.Laufweite * massstab * 10.0 + (abc.A + abc.B + abc.C);
        if (!std::isfinite(massstab) || !std::isfinite(vorschub)) {
            s.Melden(125);
            return;
        }
        z.Massstab = massstab;
        GlyphEinlesen(s, geraet, zeichen);
        KonturApproximieren(s, false);
        KonturPunkteLeeren(s.speicher);
        z.Vorschub = vorschub;
        z.StiftX += z.Vorschub;
    } catch (const std::exception&) {
        KonturPunkteLeeren(s.speicher);
        s.Melden(125);
    }
}

void TextUmwandeln(Sitzung& s) {
    if (s.textquelle == nullptr) return;
    const Textquelle& quelle = *s.textquelle;
    const std::string klarText = quelle.KlarText();
    const std::int32_t laenge = quelle.Laenge();
    if (klarText.empty() || laenge == 0) return;

    // Without the glyph library or a glyph device no character could convert: one message, and
    // the previous geometry stays instead of being replaced by an empty store.
    GlyphGeraet* geraet = nullptr;
    try {
        geraet = GeraetHolen(s);
    } catch (const std::exception&) {
        geraet = nullptr;
    }
    if (geraet == nullptr || GlyphonBinden() == nullptr) {
        s.Melden(125);
        return;
    }

    if (!SchriftenVorhanden(s, quelle, *geraet)) return;
    if (s.fenster.AktDatei.empty()) s.fenster.AktDatei = DateiNameAusText(klarText);

    Textzustand& z = s.text;
    s.fenster.TextModus = true;
    // Only a request made while this conversion runs may stop it.
    s.fenster.AbbruchWunsch = false;
    KonturPunkteLeeren(s.speicher);
    ElementeLeeren(s.speicher);
    z.KonturZaehler = 0;
    z.StiftX = z.StiftY = z.Vorschub = z.Oberlaenge = 0;
    z.MaxKonturLaenge = 1;
    s.speicher.BoxNeu = true;
    s.ui->FortschrittMaximum(laenge);
    s.ui->FortschrittWert(0);
    s.ui->BeschaeftigtSetzen();
    s.ui->AbbruchKnopf(true);

    TextDurchlaufen(s, quelle, *geraet);

    s.ui->FortschrittWert(0);
    s.ui->AbbruchKnopf(false);
    s.ui->BereitSetzen();
    try {
        DoppelteEntfernen(s.speicher);
    } catch (const std::exception&) {
        // Without memory for the grid the duplicates stay; the geometry itself is complete.
    }
    RahmenAnfuegen(s);
    if (s.einstellungen.GespiegelteAusgabe == 1) Spiegeln(s.speicher);
    s.ui->Neuzeichnen();
    s.ui->MenuesNachUmwandlung(true);
}

void DoppelteEntfernenQuadratisch(Speicher& sp) {
    GeoFeld& el = sp.Elemente;
    const std::int32_t n = el.Anzahl();
    for (std::int32_t i = 1; i <= n; ++i) {
        if (!Vergleichbar(el[i].Typ)) continue;
        for (std::int32_t j = 1; j <= n; ++j) {
            if (j != i && el[j].Typ == el[i].Typ && Duplikat(el[i], el[j])) {
                el[i].Typ = Entfernt;
                break;
            }
        }
    }
}

void DoppelteEntfernen(Speicher& sp) {
    GeoFeld& el = sp.Elemente;
    const std::int32_t n = el.Anzahl();
    DuplikatGitter gitter(n);
    std::vector<std::int32_t> ausserhalb;
    for (std::int32_t i = 1; i <= n; ++i) {
        const GeoElement& e = el[i];
        if (!Vergleichbar(e.Typ)) continue;
        if (ImGitter(e))
            gitter.Einfuegen(e, i);
        else
            ausserhalb.push_back(i);
    }

    // The kind of an element is read at the moment of the comparison, exactly as in the
    // quadratic loop: an earlier element already removed no longer matches.
    auto duplikatVon = [&](std::int32_t i, std::int32_t j) {
        return j != i && el[j].Typ == el[i].Typ && Duplikat(el[i], el[j]);
    };
    for (std::int32_t i = 1; i <= n; ++i) {
        const GeoElement& e = el[i];
        if (!Vergleichbar(e.Typ)) continue;
        bool doppelt = false;
        if (ImGitter(e)) {
            doppelt = gitter.Suchen(e, e.Typ, [&](std::int32_t j) { return duplikatVon(i, j); });
            for (std::size_t k = 0; !doppelt && k < ausserhalb.size(); ++k)
                doppelt = duplikatVon(i, ausserhalb[k]);
        } else {
            for (std::int32_t j = 1; !doppelt && j <= n; ++j) doppelt = duplikatVon(i, j);
        }
        if (doppelt) el[i].Typ = Entfernt;
    }
}

} // namespace konturo
