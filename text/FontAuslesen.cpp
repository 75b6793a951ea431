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

// Grid of the first point (line start, arc and circle centre). The cell is a little wider than
// the duplicate distance, so two duplicates always lie in the same or in neighbouring cells even
// after the rounding of the division.
constexpr double ZellenBreite = DuplikatAbstand * 1.1;
// Beyond this magnitude (or not finite) a coordinate leaves the grid; such elements are compared
// with every element, which real drawings never need.
constexpr double GitterGrenze = 1e12;

struct Zelle {
    std::uint8_t typ;
    std::int64_t x, y;
    auto operator<=>(const Zelle&) const = default;
};

bool ImGitter(const GeoElement& e) {
    return std::fabs(e.X1) <= GitterGrenze && std::fabs(e.Y1) <= GitterGrenze;
}

Zelle ZelleVon(const GeoElement& e) {
    return {e.Typ, static_cast<std::int64_t>(std::floor(e.X1 / ZellenBreite)),
            static_cast<std::int64_t>(std::floor(e.Y1 / ZellenBreite))};
}

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
    // Elements sorted by (kind, cell x, cell y): the neighbours of a cell in one column of the
    // grid are one contiguous range.
    std::vector<std::pair<Zelle, std::int32_t>> gitter;
    gitter.reserve(static_cast<std::size_t>(n));
    std::vector<std::int32_t> ausserhalb;
    for (std::int32_t i = 1; i <= n; ++i) {
        if (!Vergleichbar(el[i].Typ)) continue;
        if (ImGitter(el[i]))
            gitter.emplace_back(ZelleVon(el[i]), i);
        else
            ausserhalb.push_back(i);
    }
    std::sort(gitter.begin(), gitter.end());

    // The kind of an element is read at the moment of the comparison, exactly as in the
    // quadratic loop: an earlier element already removed no longer matches.
    auto duplikatVon = [&](std::int32_t i, std::int32_t j) {
        return j != i && el[j].Typ == el[i].Typ && Duplikat(el[i], el[j]);
    };
    auto imGitterGefunden = [&](std::int32_t i) {
        const Zelle z = ZelleVon(el[i]);
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            const Zelle von{z.typ, z.x + dx, z.y - 1};
            const Zelle bis{z.typ, z.x + dx, z.y + 1};
            auto it = std::lower_bound(gitter.begin(), gitter.end(), std::make_pair(von, 0));
            for (; it != gitter.end() && it->first <= bis; ++it)
                if (duplikatVon(i, it->second)) return true;
        }
        return false;
    };

    for (std::int32_t i = 1; i <= n; ++i) {
        if (!Vergleichbar(el[i].Typ)) continue;
        bool doppelt = false;
        if (ImGitter(el[i])) {
            doppelt = imGitterGefunden(i);
            for (std::size_t k = 0; !doppelt && k < ausserhalb.size(); ++k)
                doppelt = duplikatVon(i, ausserhalb[k]);
        } else {
            for (std::int32_t j = 1; !doppelt && j <= n; ++j) doppelt = duplikatVon(i, j);
        }
        if (doppelt) el[i].Typ = Entfernt;
    }
}

} // namespace konturo
