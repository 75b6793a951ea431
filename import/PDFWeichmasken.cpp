// Soft masks of a PDF file: one pass over the indirect objects that reads only their references,
// the soft-mask dictionaries and what an object stream needs to be opened, then the objects that
// nothing but soft masks reaches.
#include "import/PDFWeichmasken.h"

#include "import/PDFEinlesen.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace konturo {

namespace {

// Object number and generation in one value.
using ObjektNr = std::uint64_t;

constexpr ObjektNr Nr(std::uint64_t nummer, std::uint64_t generation) {
    return nummer << 20 | generation;
}

// Object numbers have at most 10 digits, generations at most 5 (below 2^20).
constexpr std::size_t MaxNummerZiffern = 10;
constexpr std::size_t MaxGenerationZiffern = 5;
// White space allowed inside an object header; real files use one blank.
constexpr std::size_t MaxKopfLeerraum = 256;

bool IstZiffer(char c) { return c >= '0' && c <= '9'; }

// Reads one object's text (a dictionary, an array or a plain value) token by token: every
// reference "N G R", the /G of each soft-mask dictionary (/S /Luminosity or /S /Alpha) apart, and
// /Type, /N and /First of the outer dictionary, which an object stream needs.
class ObjektLeser {
public:
    explicit ObjektLeser(std::string_view text) : t_(text) {}

    void Lesen();

    std::vector<ObjektNr> verweise;
    std::vector<ObjektNr> masken;
    std::string_view typ;
    std::int64_t anzahl = -1; // /N
    std::int64_t erstes = -1; // /First

private:
    struct Rahmen {
        bool woerterbuch = false;
        std::string_view schluessel;
        std::uint64_t schluesselWort = 0; // token number of the key
        bool wertErwartet = false;
        std::string_view s;
        std::optional<ObjektNr> g;
    };
    struct Ganzzahl {
        std::uint64_t wert;
        std::uint64_t wortNr;
        std::size_t ziffern;
    };

    Rahmen* Woerterbuch() {
        return !rahmen_.empty() && rahmen_.back().woerterbuch ? &rahmen_.back() : nullptr;
    }
    // Whether token number wortNr is the first one after the key last read in r.
    bool ErsterWert(const Rahmen& r, std::uint64_t wortNr) const {
        return !r.schluessel.empty() && r.schluesselWort + 1 == wortNr;
    }
    void AndererWert() {
        if (Rahmen* r = Woerterbuch()) r->wertErwartet = false;
        vor1_.reset();
        vor2_.reset();
    }
    void Oeffnen(bool woerterbuch) {
        AndererWert();
        rahmen_.push_back({});
        rahmen_.back().woerterbuch = woerterbuch;
    }
    void Schliessen();
    void Name(std::string_view name);
    void Wort(std::string_view wort);
    void TextUeberspringen();

    std::string_view t_;
    std::size_t i_ = 0;
    std::uint64_t wortNr_ = 0;
    std::vector<Rahmen> rahmen_;
    std::optional<Ganzzahl> vor1_, vor2_; // the last two tokens when they were whole numbers
};

void ObjektLeser::Lesen() {
    const std::size_t n = t_.size();
    while (i_ < n) {
        const char c = t_[i_];
        if (PDFLeerraum(c)) {
            ++i_;
            continue;
        }
        ++wortNr_;
        if (c == '%') {
            while (i_ < n && t_[i_] != '\r' && t_[i_] != '\n') ++i_;
            --wortNr_;
        } else if (c == '<' && i_ + 1 < n && t_[i_ + 1] == '<') {
            i_ += 2;
            Oeffnen(true);
        } else if (c == '>' && i_ + 1 < n && t_[i_ + 1] == '>') {
            i_ += 2;
            // An unbalanced "]" before it is left open: the dictionary still ends here.
            while (!rahmen_.empty() && !rahmen_.back().woerterbuch) rahmen_.pop_back();
            Schliessen();
            AndererWert();
        } else if (c == '[') {
            ++i_;
            Oeffnen(false);
        } else if (c == ']') {
            ++i_;
            if (!rahmen_.empty() && !rahmen_.back().woerterbuch) rahmen_.pop_back();
            AndererWert();
        } else if (c == '(') {
            TextUeberspringen();
            AndererWert();
        } else if (c == '<') {
            while (i_ < n && t_[i_] != '>') ++i_;
            if (i_ < n) ++i_;
            AndererWert();
        } else if (c == '/') {
            const std::size_t a = ++i_;
            while (i_ < n && !PDFTrenner(t_[i_])) ++i_;
            Name(t_.substr(a, i_ - a));
        } else if (PDFTrenner(c)) {
            ++i_; // a stray ")", ">", "{" or "}"
            AndererWert();
        } else {
            const std::size_t a = i_;
            while (i_ < n && !PDFTrenner(t_[i_])) ++i_;
            Wort(t_.substr(a, i_ - a));
        }
    }
    // A cut-off object: its open dictionaries count as they stand.
    while (!rahmen_.empty()) {
        while (!rahmen_.empty() && !rahmen_.back().woerterbuch) rahmen_.pop_back();
        Schliessen();
    }
}

void ObjektLeser::Schliessen() {
    if (rahmen_.empty()) return;
    const Rahmen r = rahmen_.back();
    rahmen_.pop_back();
    if (!r.g) return;
    if (r.s == "Luminosity" || r.s == "Alpha")
        masken.push_back(*r.g);
    else
        verweise.push_back(*r.g);
}

void ObjektLeser::Name(std::string_view name) {
    Rahmen* r = Woerterbuch();
    vor1_.reset();
    vor2_.reset();
    if (r == nullptr) return;
    if (!r->wertErwartet) {
        r->schluessel = name;
        r->schluesselWort = wortNr_;
        r->wertErwartet = true;
        return;
    }
    r->wertErwartet = false;
    if (!ErsterWert(*r, wortNr_)) return;
    if (r->schluessel == "S") r->s = name;
    if (r->schluessel == "Type" && rahmen_.size() == 1) typ = name;
}

void ObjektLeser::Wort(std::string_view wort) {
    if (wort == "R" && vor1_ && vor2_ && vor2_->wortNr + 1 == vor1_->wortNr &&
        vor1_->wortNr + 1 == wortNr_ && vor2_->ziffern <= MaxNummerZiffern &&
        vor1_->ziffern <= MaxGenerationZiffern) {
        const ObjektNr nr = Nr(vor2_->wert, vor1_->wert);
        Rahmen* r = Woerterbuch();
        if (r && r->schluessel == "G" && ErsterWert(*r, vor2_->wortNr))
            r->g = nr;
        else
            verweise.push_back(nr);
        AndererWert();
        return;
    }
    const bool ganz = std::all_of(wort.begin(), wort.end(), IstZiffer);
    if (!ganz) {
        AndererWert();
        return;
    }
    std::uint64_t wert = 0;
    for (std::size_t k = 0; k < wort.size() && k <= MaxNummerZiffern; ++k)
        wert = wert * 10 + static_cast<std::uint64_t>(wort[k] - '0');
    if (Rahmen* r = Woerterbuch()) {
        if (r->wertErwartet && ErsterWert(*r, wortNr_) && rahmen_.size() == 1 &&
            wort.size() <= MaxNummerZiffern) {
            if (r->schluessel == "N") anzahl = static_cast<std::int64_t>(wert);
            if (r->schluessel == "First") erstes = static_cast<std::int64_t>(wert);
        }
        r->wertErwartet = false;
    }
    vor2_ = vor1_;
    vor1_ = Ganzzahl{wert, wortNr_, wort.size()};
}

void ObjektLeser::TextUeberspringen() { i_ = PDFTextEnde(t_, i_); }

// The reference graph of the file's objects.
struct Knoten {
    std::vector<ObjektNr> verweise;
    std::vector<std::size_t> stroeme; // positions of the keyword "stream"
    std::size_t offeneVerweiser = 0;  // referring objects not (yet) known to be soft-mask only
    bool maske = false;
};

class Objektgraph {
public:
    void Aufnehmen(ObjektNr nr, const ObjektLeser& leser, std::size_t stromPos) {
        Knoten& k = knoten_[nr];
        k.verweise.insert(k.verweise.end(), leser.verweise.begin(), leser.verweise.end());
        if (stromPos != std::string_view::npos) k.stroeme.push_back(stromPos);
        keime_.insert(keime_.end(), leser.masken.begin(), leser.masken.end());
    }

    std::vector<std::size_t> Maskenstroeme();

private:
    void Markieren(Knoten& k, std::vector<Knoten*>& arbeit) {
        k.maske = true;
        arbeit.push_back(&k);
    }

    std::unordered_map<ObjektNr, Knoten> knoten_;
    std::vector<ObjektNr> keime_;
};

// Soft-mask groups first, then every object whose referring objects all turned out to be part of
// soft masks; each reference is counted down once, so the work stays linear.
std::vector<std::size_t> Objektgraph::Maskenstroeme() {
    for (auto& [nr, k] : knoten_) {
        std::sort(k.verweise.begin(), k.verweise.end());
        k.verweise.erase(std::unique(k.verweise.begin(), k.verweise.end()), k.verweise.end());
        for (ObjektNr ziel : k.verweise) {
            auto it = knoten_.find(ziel);
            if (it != knoten_.end() && ziel != nr) ++it->second.offeneVerweiser;
        }
    }
    std::vector<Knoten*> arbeit;
    for (ObjektNr keim : keime_) {
        auto it = knoten_.find(keim);
        if (it != knoten_.end() && !it->second.maske && it->second.offeneVerweiser == 0)
            Markieren(it->second, arbeit);
    }
    while (!arbeit.empty()) {
        Knoten* k = arbeit.back();
        arbeit.pop_back();
        for (ObjektNr ziel : k->verweise) {
            auto it = knoten_.find(ziel);
            if (it == knoten_.end() || &it->second == k || it->second.maske) continue;
            if (--it->second.offeneVerweiser == 0) Markieren(it->second, arbeit);
        }
    }
    std::vector<std::size_t> stroeme;
    for (const auto& [nr, k] : knoten_)
        if (k.maske) stroeme.insert(stroeme.end(), k.stroeme.begin(), k.stroeme.end());
    std::sort(stroeme.begin(), stroeme.end());
    return stroeme;
}

// Reads a whole number of at most maxZiffern digits that ends right before i, moving i to its
// first digit.
bool ZahlDavor(std::string_view d, std::size_t& i, std::size_t maxZiffern, std::uint64_t& wert) {
    const std::size_t ende = i;
    while (i > 0 && IstZiffer(d[i - 1]) && ende - i < maxZiffern + 1) --i;
    if (i == ende || ende - i > maxZiffern) return false;
    wert = 0;
    for (std::size_t k = i; k < ende; ++k)
        wert = wert * 10 + static_cast<std::uint64_t>(d[k] - '0');
    return true;
}

bool LeerraumDavor(std::string_view d, std::size_t& i) {
    const std::size_t ende = i;
    while (i > 0 && PDFLeerraum(d[i - 1]) && ende - i < MaxKopfLeerraum) --i;
    return i < ende;
}

// Whether the "obj" at k ends an object header "N G obj"; nr is its object number.
bool KopfLesen(std::string_view d, std::size_t k, ObjektNr& nr) {
    if (k + 3 < d.size() && !PDFTrenner(d[k + 3])) return false;
    std::size_t i = k;
    std::uint64_t nummer = 0, generation = 0;
    if (!LeerraumDavor(d, i) || !ZahlDavor(d, i, MaxGenerationZiffern, generation) ||
        !LeerraumDavor(d, i) || !ZahlDavor(d, i, MaxNummerZiffern, nummer))
        return false;
    if (i > 0 && !PDFTrenner(d[i - 1])) return false;
    nr = Nr(nummer, generation);
    return true;
}

// Reads a whole number at i of the header of an object stream.
bool ZahlDanach(std::string_view d, std::size_t& i, std::uint64_t& wert) {
    while (i < d.size() && PDFLeerraum(d[i])) ++i;
    const std::size_t a = i;
    wert = 0;
    while (i < d.size() && IstZiffer(d[i]) && i - a < MaxNummerZiffern)
        wert = wert * 10 + static_cast<std::uint64_t>(d[i++] - '0');
    return i > a;
}

// The objects of an inflated object stream: /N pairs "number offset", the objects from /First on.
// Offsets that do not grow are skipped, so that no byte is read for two objects.
void ObjektstromLesen(std::string_view daten, std::int64_t anzahl, std::int64_t erstes,
                      Objektgraph& graph) {
    if (anzahl <= 0 || erstes < 0 || static_cast<std::uint64_t>(erstes) > daten.size()) return;
    const std::size_t anfang = static_cast<std::size_t>(erstes);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> kopf;
    std::size_t i = 0;
    std::uint64_t nummer = 0, versatz = 0;
    for (std::int64_t n = 0; n < anzahl && i < anfang; ++n) {
        if (!ZahlDanach(daten, i, nummer) || !ZahlDanach(daten, i, versatz)) break;
        if (kopf.empty() || versatz > kopf.back().second) kopf.emplace_back(nummer, versatz);
    }
    const std::size_t rest = daten.size() - anfang;
    for (std::size_t j = 0; j < kopf.size(); ++j) {
        const std::size_t von = std::min<std::uint64_t>(kopf[j].second, rest);
        const std::size_t bis =
            j + 1 < kopf.size() ? std::min<std::uint64_t>(kopf[j + 1].second, rest) : rest;
        if (bis <= von) continue;
        ObjektLeser leser(daten.substr(anfang + von, bis - von));
        leser.Lesen();
        graph.Aufnehmen(Nr(kopf[j].first, 0), leser, std::string_view::npos);
    }
}

} // namespace

std::vector<std::size_t> WeichmaskenStroeme(std::string_view datei, std::size_t grenze) {
    Objektgraph graph;
    std::string entpackt;
    std::size_t strom = datei.find("stream");
    std::size_t pos = 0;
    std::size_t k;
    while ((k = datei.find("obj", pos)) != std::string_view::npos) {
        pos = k + 3;
        ObjektNr nr = 0;
        if (!KopfLesen(datei, k, nr)) continue;
        const std::size_t rumpf = k + 3;
        const std::size_t ende = datei.find("endobj", rumpf);
        // The next keyword is searched again only when the scan has passed it.
        if (strom != std::string_view::npos && strom < rumpf) strom = datei.find("stream", rumpf);
        if (strom < ende) {
            ObjektLeser leser(datei.substr(rumpf, strom - rumpf));
            leser.Lesen();
            graph.Aufnehmen(nr, leser, strom);
            const std::size_t schluss = datei.find("endstream", strom);
            if (schluss == std::string_view::npos) break;
            if (leser.typ == "ObjStm" &&
                StromArtBestimmen(datei, strom, rumpf) == StromArt::Flate) {
                entpackt.clear();
                Entpacken(StromDaten(datei, strom, schluss), entpackt, grenze);
                grenze -= entpackt.size();
                ObjektstromLesen(entpackt, leser.anzahl, leser.erstes, graph);
            }
            pos = schluss + 9;
        } else {
            ObjektLeser leser(datei.substr(rumpf, std::min(ende, datei.size()) - rumpf));
            leser.Lesen();
            graph.Aufnehmen(nr, leser, std::string_view::npos);
            if (ende == std::string_view::npos) break;
            pos = ende + 6;
        }
    }
    return graph.Maskenstroeme();
}

} // namespace konturo
