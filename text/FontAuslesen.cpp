// Text layout and conversion: pen placement, tabs, line breaks, the per-character glyph step and
// the removal of duplicate elements.
#include "text/FontAuslesen.h"

#include "app/Sitzung.h"
#include "frames/Vorlagen.h"
#include "geometry/Abweichung.h"
#include "output/Maschinenpruefung.h"
#include "text/FontErzeugen.h"
#include "text/GlyphGeraet.h"
#include "text/GlyphGeraetFreetype.h"
#include "text/GlyphonBindung.h"
#include "text/Sparfitting.h"
#include "text/Textquelle.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
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

// Cells of the first point (line start, arc and circle centre), 16 duplicate distances wide: two
// duplicates lie in the same or in neighbouring cells, and a cell rarely holds more than one
// element of a glyph outline.
constexpr double ZellenBreite = 16 * DuplikatAbstand;
// Beyond this magnitude (or not finite) a first point leaves the cells (their numbers must fit
// 31 bits); such elements are compared with every element, which real drawings never need.
constexpr double GitterGrenze = 1e8;

bool ImGitter(const GeoElement& e) {
    return std::fabs(e.X1) <= GitterGrenze && std::fabs(e.Y1) <= GitterGrenze;
}

std::int64_t ZellNr(double v) { return static_cast<std::int64_t>(std::floor(v / ZellenBreite)); }

int Bitbreite(std::uint64_t v) {
    int b = 0;
    while (v >> b) ++b;
    return b;
}

struct ZellEintrag {
    std::uint64_t schluessel;
    std::int32_t index;
};

// Kind, cell column and cell row of the elements in one number each, numbered from the smallest
// column and row found with a spare row at both ends, so sorting groups each cell, the cells of a
// column follow each other and so do the columns; neighbours are a row (Zeile) or a column
// (Spalte) apart.
struct Zellen {
    std::vector<ZellEintrag> eintraege;
    std::uint64_t Zeile = 1;
    std::uint64_t Spalte = 1;
    int bits = 0;

    explicit Zellen(const GeoFeld& el, std::vector<std::int32_t>& ausserhalb) {
        std::int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
        for (std::int32_t i = 1; i <= el.Anzahl(); ++i) {
            const GeoElement& e = el[i];
            if (!Vergleichbar(e.Typ)) continue;
            if (!ImGitter(e)) {
                ausserhalb.push_back(i);
                continue;
            }
            minX = std::min(minX, ZellNr(e.X1));
            maxX = std::max(maxX, ZellNr(e.X1));
            minY = std::min(minY, ZellNr(e.Y1));
            maxY = std::max(maxY, ZellNr(e.Y1));
        }
        if (minX > maxX) return;
        const int zeilenBits = Bitbreite(static_cast<std::uint64_t>(maxY - minY) + 2);
        const int spaltenBits = Bitbreite(static_cast<std::uint64_t>(maxX - minX) + 2);
        Spalte = std::uint64_t{1} << zeilenBits;
        bits = 2 + zeilenBits + spaltenBits;
        eintraege.reserve(static_cast<std::size_t>(el.Anzahl()));
        for (std::int32_t i = 1; i <= el.Anzahl(); ++i) {
            const GeoElement& e = el[i];
            if (!Vergleichbar(e.Typ) || !ImGitter(e)) continue;
            const auto spalte = static_cast<std::uint64_t>(ZellNr(e.X1) - minX + 1);
            const auto zeile = static_cast<std::uint64_t>(ZellNr(e.Y1) - minY + 1);
            const auto art = static_cast<std::uint64_t>(e.Typ - Linie);
            eintraege.push_back({((art << spaltenBits | spalte) << zeilenBits) | zeile, i});
        }
        Sortieren();
    }

    // Radix sort over the bits the keys use, 11 bits a pass; stable, so a cell keeps store order.
    void Sortieren() {
        const std::size_t n = eintraege.size();
        std::unique_ptr<ZellEintrag[]> hilfe(new ZellEintrag[n]);
        ZellEintrag* von = eintraege.data();
        ZellEintrag* nach = hilfe.get();
        int paesse = 0;
        for (int verschiebung = 0; verschiebung < bits; verschiebung += 11, ++paesse) {
            std::size_t anfang[2049] = {};
            for (std::size_t k = 0; k < n; ++k)
                ++anfang[((von[k].schluessel >> verschiebung) & 2047) + 1];
            for (int i = 0; i < 2048; ++i) anfang[i + 1] += anfang[i];
            for (std::size_t k = 0; k < n; ++k)
                nach[anfang[(von[k].schluessel >> verschiebung) & 2047]++] = von[k];
            std::swap(von, nach);
        }
        if (paesse % 2 == 1) std::copy(von, von + n, eintraege.data());
    }
};

// The true outline of a glyph at the pen's origin in millimetres, with contour numbers from 1
// on, and in the economy mode its elements fitted there; both are placed along the text by
// moving them to the pen.
struct GlyphUmriss {
    bool gelesen = false;
    bool brauchbar = false;
    double massstab = 0;
    std::int32_t konturen = 0;
    Umriss umriss;
    bool gefittet = false;
    std::vector<GeoElement> elemente;
    bool box = false;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

// The glyphs of one conversion by font and character: a text repeats its glyphs, and a glyph
// recorded once is placed again instead of read and approximated again (GlyphWiederholen).
struct GlyphEintrag {
    GlyphAufzeichnung aufzeichnung;
    GlyphUmriss umriss;
};
// The glyphs of one conversion, and the deviations measured there by shape.
struct Glyphen {
    std::map<std::tuple<std::string, double, bool, bool, char32_t>, GlyphEintrag> eintraege;
    KonturMessung messung;
    bool sparZuGrossGemeldet = false; // text 9, once per conversion
};

// The glyph's outline at scale massstab, read when it has not been at that scale; false when it
// cannot be read (with texts 125/126 when melden).
bool UmrissHolen(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen, double massstab, GlyphUmriss& g,
                 bool melden) {
    if (g.gelesen && g.massstab == massstab) return g.brauchbar;
    g = GlyphUmriss{};
    g.gelesen = true;
    g.massstab = massstab;
    g.brauchbar = GlyphUmrissHolen(s, geraet, zeichen, massstab, g.umriss, g.konturen, melden);
    for (const UmrissKontur& k : g.umriss.Konturen) {
        if (k.Stuecke.empty()) continue;
        if (!g.box) {
            const P2 p = k.Stuecke.front().Anfang();
            g.xMin = g.xMax = p.x;
            g.yMin = g.yMax = p.y;
            g.box = true;
        }
        UmrissBox(k, g.xMin, g.yMin, g.xMax, g.yMax);
    }
    return g.brauchbar;
}

// The glyph's contours moved by (dx, dy), numbered from basis + 1 on.
std::vector<UmrissKontur> Platziert(const GlyphUmriss& g, double dx, double dy,
                                    std::int32_t basis) {
    std::vector<UmrissKontur> v;
    v.reserve(g.umriss.Konturen.size());
    for (const UmrissKontur& k : g.umriss.Konturen) {
        UmrissKontur platziert{basis + k.KonturNr, k.Stuecke};
        for (UmrissStueck& st : platziert.Stuecke)
            for (P2& p : st.P) p = p + P2{dx, dy};
        v.push_back(std::move(platziert));
    }
    return v;
}

void UmrissPlatzieren(Sitzung& s, std::vector<UmrissKontur> konturen) {
    for (UmrissKontur& k : konturen) {
        if (s.umriss.Unvollstaendig) return;
        s.umriss.KonturUebernehmen(std::move(k));
    }
}

// The economy mode's glyph step: the glyph as the default approximation places it, and its
// contours fitted once at the pen's origin and moved to the pen; contour by contour the fewer
// elements that keep the deviation (SparAuswaehlen).
void SparGlyphSetzen(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen, double massstab,
                     GlyphEintrag& eintrag, Glyphen& glyphen) {
    Textzustand& z = s.text;
    GlyphUmriss& g = eintrag.umriss;
    if (!UmrissHolen(s, geraet, zeichen, massstab, g, true)) return;
    const Sparparameter p = SparparameterAus(s.einstellungen);
    if (!g.gefittet) {
        bool zuGross = false;
        for (const UmrissKontur& k : g.umriss.Konturen)
            if (SparKonturFitten(k, p, g.elemente) < 0) zuGross = true;
        g.gefittet = true;
        if (zuGross && !glyphen.sparZuGrossGemeldet) {
            glyphen.sparZuGrossGemeldet = true;
            s.Melden(9);
        }
    }
    const std::int32_t basis = z.KonturZaehler;
    const double dx = z.StiftX * massstab, dy = z.StiftY * massstab;
    Speicher& sp = s.speicher;
    const std::int32_t vorher = sp.ElementAnzahl();
    if (!GlyphWiederholen(s, eintrag.aufzeichnung))
        GlyphUmwandeln(s, geraet, zeichen, eintrag.aufzeichnung);
    std::vector<GeoElement> spar;
    spar.reserve(g.elemente.size());
    for (GeoElement e : g.elemente) {
        e.X1 += dx;
        e.Y1 += dy;
        if (e.Typ == Linie) {
            e.X2 += dx;
            e.Y2 += dy;
        }
        e.KonturNr += basis;
        spar.push_back(e);
    }
    std::vector<UmrissKontur> konturen = Platziert(g, dx, dy, basis);
    if (z.KonturZaehler - basis == g.konturen) {
        std::vector<const UmrissKontur*> zeiger;
        for (const UmrissKontur& k : konturen) zeiger.push_back(&k);
        SparAuswaehlen(sp, vorher, spar, zeiger, p.MaxAbweichung, glyphen.messung);
    } else {
        // The approximation numbered the glyph otherwise than its outline: the fit alone.
        sp.Elemente.Kuerzen(vorher);
        for (const GeoElement& e : spar) sp.Elemente.Anfuegen(e);
        z.KonturZaehler = basis + g.konturen;
    }
    if (g.box) {
        BoxErweitern(sp, g.xMin + dx, g.yMin + dy);
        BoxErweitern(sp, g.xMax + dx, g.yMax + dy);
    }
    UmrissPlatzieren(s, std::move(konturen));
}

} // namespace

// ZeichenUmwandeln with the glyph taken from or recorded into eintrag.
static void ZeichenUmwandeln(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen,
                             GlyphEintrag& eintrag, Glyphen& glyphen) {
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
        if (s.einstellungen.SparModus == 1) {
            SparGlyphSetzen(s, geraet, zeichen, massstab, eintrag, glyphen);
        } else {
            const std::int32_t basis = z.KonturZaehler;
            const double dx = z.StiftX * massstab, dy = z.StiftY * massstab;
            if (!GlyphWiederholen(s, eintrag.aufzeichnung))
                GlyphUmwandeln(s, geraet, zeichen, eintrag.aufzeichnung);
            // The outline for the deviation report, unless it has been given up.
            if (!s.umriss.Unvollstaendig && z.KonturZaehler > basis) {
                if (UmrissHolen(s, geraet, zeichen, massstab, eintrag.umriss, false))
                    UmrissPlatzieren(s, Platziert(eintrag.umriss, dx, dy, basis));
                else
                    s.umriss.Aufgeben();
            }
        }
        z.Vorschub = vorschub;
        z.StiftX += z.Vorschub;
    } catch (const std::exception&) {
        KonturPunkteLeeren(s.speicher);
        s.Melden(125);
    }
}

// One position: a character, a tab or a line break (which also skips the line feed after it).
static void PositionUmwandeln(Sitzung& s, const Textquelle& quelle, GlyphGeraet& geraet,
                              Schriftwahl& wahl, Glyphen& glyphen, std::int32_t& p,
                              bool& schriftFehlerGemeldet) {
    Textzustand& z = s.text;
    const TextPosition pos = quelle.An(p);
    if (pos.art == TextPosition::Art::Zeichen) {
        if (pos.zeichen == U'\t') {
            z.StiftX += TabBreite;
        } else if (wahl.Waehlen(pos.format)) {
            const Zeichenformat& f = pos.format;
            ZeichenUmwandeln(
                s, geraet, pos.zeichen,
                glyphen.eintraege[{f.Schriftart, f.Groesse, f.Fett, f.Kursiv, pos.zeichen}],
                glyphen);
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
    Glyphen glyphen;
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
            PositionUmwandeln(s, quelle, geraet, wahl, glyphen, p, schriftFehlerGemeldet);
        } catch (const std::exception&) {
            // A fault at one position skips that position; the walk goes on.
        }
    }
}

void ZeichenUmwandeln(Sitzung& s, GlyphGeraet& geraet, char32_t zeichen) {
    GlyphEintrag eintrag;
    Glyphen glyphen;
    ZeichenUmwandeln(s, geraet, zeichen, eintrag, glyphen);
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
    s.umriss.Leeren();
    s.umriss.MaxStuecke = std::size_t{1} << 20;
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
    UmrissAbschliessen(s);
    RahmenAnfuegen(s);
    if (s.einstellungen.GespiegelteAusgabe == 1) {
        Spiegeln(s.speicher);
        UmrissSpiegeln(s.umriss, s.speicher.XMax);
    }
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
    // Pairs of duplicates, found cell by cell in sorted order.
    std::vector<std::int32_t> ausserhalb;
    const Zellen zellen(el, ausserhalb);
    const std::vector<ZellEintrag>& z = zellen.eintraege;
    std::vector<std::pair<std::int32_t, std::int32_t>> paare;
    auto vergleichen = [&](std::size_t a, std::size_t b) {
        const std::int32_t i = z[a].index, j = z[b].index;
        if (!Duplikat(el[i], el[j])) return;
        paare.emplace_back(i, j);
        paare.emplace_back(j, i);
    };
    // Each cell with itself, the next cell of its column and the three neighbours in the next
    // column; the other four neighbours see it from their side.
    const std::size_t m = z.size();
    std::size_t nachbar = 0;
    for (std::size_t a = 0; a < m;) {
        const std::uint64_t schluessel = z[a].schluessel;
        std::size_t ende = a;
        while (ende < m && z[ende].schluessel == schluessel) ++ende;
        for (std::size_t i = a; i < ende; ++i) {
            for (std::size_t j = i + 1; j < ende; ++j) vergleichen(i, j);
            for (std::size_t j = ende; j < m && z[j].schluessel == schluessel + zellen.Zeile; ++j)
                vergleichen(i, j);
        }
        const std::uint64_t von = schluessel + zellen.Spalte - zellen.Zeile;
        const std::uint64_t bis = schluessel + zellen.Spalte + zellen.Zeile;
        while (nachbar < m && z[nachbar].schluessel < von) ++nachbar;
        for (std::size_t j = nachbar; j < m && z[j].schluessel <= bis; ++j)
            for (std::size_t i = a; i < ende; ++i) vergleichen(i, j);
        a = ende;
    }
    for (std::int32_t j : ausserhalb) {
        for (std::int32_t i = 1; i <= n; ++i) {
            if (i == j || el[i].Typ != el[j].Typ || !Duplikat(el[i], el[j])) continue;
            paare.emplace_back(i, j);
            if (ImGitter(el[i])) paare.emplace_back(j, i);
        }
    }

    // The literal loop removes element i when a duplicate follows it, or precedes it and was not
    // removed itself: decided in store order over the elements that have duplicates.
    std::sort(paare.begin(), paare.end());
    std::vector<std::int32_t> entfernt;
    for (std::size_t k = 0; k < paare.size();) {
        const std::int32_t i = paare[k].first;
        bool weg = false;
        for (; k < paare.size() && paare[k].first == i; ++k) {
            const std::int32_t j = paare[k].second;
            weg = weg || j > i || !std::binary_search(entfernt.begin(), entfernt.end(), j);
        }
        if (weg) entfernt.push_back(i);
    }
    for (std::int32_t i : entfernt) el[i].Typ = Entfernt;
}

} // namespace konturo
