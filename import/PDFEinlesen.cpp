// PDF content reader: finds every stream of a PDF file, decides by its dictionary and the soft-mask
// references whether its data is page content to keep, inflates Flate data with zlib under a size
// bound, joins the results and notes what was cut off or damaged.
#include "import/PDFEinlesen.h"

#include "import/PDFWeichmasken.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace konturo {

namespace {

// Releases the inflate state on every way out.
class InflateStrom {
public:
    explicit InflateStrom(std::string_view eingabe) {
        z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(eingabe.data()));
        z_.avail_in = static_cast<uInt>(eingabe.size());
        bereit_ = inflateInit(&z_) == Z_OK;
    }
    ~InflateStrom() {
        if (bereit_) inflateEnd(&z_);
    }
    InflateStrom(const InflateStrom&) = delete;
    InflateStrom& operator=(const InflateStrom&) = delete;

    bool Bereit() const { return bereit_; }
    z_stream& Z() { return z_; }

private:
    z_stream z_{};
    bool bereit_ = false;
};

constexpr std::size_t Wachstum = 65536;
// A reader looks for "%%EOF" this far from the end: writers may add a few bytes behind it.
constexpr std::size_t EofBereich = 1024;

// Start of the balanced "<<" whose ">>" ends at ende (exclusive), scanning back no further than
// untergrenze; npos when there is none.
std::size_t DictAnfang(std::string_view d, std::size_t ende, std::size_t untergrenze) {
    int tiefe = 0;
    std::size_t i = ende;
    while (i >= untergrenze + 2) {
        if (d[i - 1] == '>' && d[i - 2] == '>') {
            ++tiefe;
            i -= 2;
        } else if (d[i - 1] == '<' && d[i - 2] == '<') {
            --tiefe;
            i -= 2;
            if (tiefe == 0) return i;
        } else {
            --i;
        }
    }
    return std::string_view::npos;
}

// Reads the top-level keys of one dictionary body (between "<<" and ">>") and what they say
// about the stream.
class DictLeser {
public:
    explicit DictLeser(std::string_view inhalt) : t_(inhalt) {}

    StromArt Bestimmen() {
        bool wertErwartet = false;
        std::string_view schluessel;
        while (i_ < t_.size()) {
            char c = t_[i_];
            if (PDFLeerraum(c)) {
                ++i_;
            } else if (c == '/') {
                std::string_view name = Name();
                if (wertErwartet) {
                    NameWert(schluessel, name);
                    wertErwartet = false;
                } else {
                    schluessel = name;
                    wertErwartet = true;
                }
            } else if (c == '[') {
                FeldWert(schluessel, wertErwartet);
                wertErwartet = false;
            } else {
                AnderenWertUeberspringen();
                if (wertErwartet) AndererWert(schluessel);
                wertErwartet = false;
            }
        }
        if (keine_) return StromArt::Keine;
        return filter_;
    }

private:
    std::string_view Name() {
        std::size_t a = ++i_;
        while (i_ < t_.size() && !PDFTrenner(t_[i_])) ++i_;
        return t_.substr(a, i_ - a);
    }

    void NameWert(std::string_view schluessel, std::string_view name) {
        if (schluessel == "Filter")
            filter_ = name == "FlateDecode" ? StromArt::Flate : StromArt::Keine;
        else if (schluessel == "Subtype" && name == "Image")
            keine_ = true;
        Schluessel(schluessel);
    }

    void AndererWert(std::string_view schluessel) {
        // An indirect filter cannot be resolved without parsing objects: leave the stream out.
        if (schluessel == "Filter") filter_ = StromArt::Keine;
        Schluessel(schluessel);
    }

    void Schluessel(std::string_view schluessel) {
        if (schluessel == "Length1" || schluessel == "Length2" || schluessel == "Length3")
            keine_ = true;
    }

    // An array value: for /Filter, exactly one name FlateDecode inflates and none means raw.
    void FeldWert(std::string_view schluessel, bool wertErwartet) {
        ++i_;
        int namen = 0;
        bool flate = false;
        int tiefe = 1;
        while (i_ < t_.size() && tiefe > 0) {
            char c = t_[i_];
            if (c == '[') {
                ++tiefe;
                ++i_;
            } else if (c == ']') {
                --tiefe;
                ++i_;
            } else if (c == '/') {
                std::string_view name = Name();
                ++namen;
                flate = name == "FlateDecode";
            } else if (c == '(') {
                TextUeberspringen();
            } else if (c == '<' && i_ + 1 < t_.size() && t_[i_ + 1] == '<') {
                DictUeberspringen();
            } else {
                ++i_;
            }
        }
        if (!wertErwartet) return;
        if (schluessel == "Filter") {
            if (namen == 0)
                filter_ = StromArt::Roh;
            else
                filter_ = namen == 1 && flate ? StromArt::Flate : StromArt::Keine;
        }
        Schluessel(schluessel);
    }

    void AnderenWertUeberspringen() {
        char c = t_[i_];
        if (c == '(') {
            TextUeberspringen();
        } else if (c == '<' && i_ + 1 < t_.size() && t_[i_ + 1] == '<') {
            DictUeberspringen();
        } else if (c == '<') {
            while (i_ < t_.size() && t_[i_] != '>') ++i_;
            if (i_ < t_.size()) ++i_;
        } else if (PDFTrenner(c)) {
            ++i_;
        } else {
            while (i_ < t_.size() && !PDFTrenner(t_[i_])) ++i_;
        }
    }

    void TextUeberspringen() { i_ = PDFTextEnde(t_, i_); }

    void DictUeberspringen() {
        int tiefe = 0;
        while (i_ + 1 < t_.size()) {
            if (t_[i_] == '<' && t_[i_ + 1] == '<') {
                ++tiefe;
                i_ += 2;
            } else if (t_[i_] == '>' && t_[i_ + 1] == '>') {
                i_ += 2;
                if (--tiefe == 0) return;
            } else if (t_[i_] == '(') {
                TextUeberspringen();
            } else {
                ++i_;
            }
        }
        i_ = t_.size();
    }

    std::string_view t_;
    std::size_t i_ = 0;
    StromArt filter_ = StromArt::Roh;
    bool keine_ = false;
};

// Whether a "stream" at streamPos is the keyword after a stream dictionary, not a word elsewhere.
bool NachWoerterbuch(std::string_view d, std::size_t streamPos) {
    std::size_t ende = streamPos;
    while (ende > 0 && PDFLeerraum(d[ende - 1])) --ende;
    return ende >= 2 && d[ende - 1] == '>' && d[ende - 2] == '>';
}

bool NurLeerraum(std::string_view d) { return std::all_of(d.begin(), d.end(), PDFLeerraum); }

bool EndetMitEof(std::string_view d) {
    return d.find("%%EOF", d.size() > EofBereich ? d.size() - EofBereich : 0) !=
           std::string_view::npos;
}

} // namespace

bool PDFLeerraum(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\f' || c == '\0';
}

bool PDFTrenner(char c) {
    return PDFLeerraum(c) || c == '/' || c == '[' || c == ']' || c == '<' || c == '>' || c == '(' ||
           c == ')' || c == '{' || c == '}' || c == '%';
}

std::size_t PDFTextEnde(std::string_view t, std::size_t pos) {
    int tiefe = 0;
    while (pos < t.size()) {
        const char c = t[pos++];
        if (c == '\\') {
            ++pos;
        } else if (c == '(') {
            ++tiefe;
        } else if (c == ')') {
            if (--tiefe == 0) break;
        }
    }
    return std::min(pos, t.size());
}

std::string_view StromDaten(std::string_view datei, std::size_t streamPos,
                            std::size_t endstreamPos) {
    std::string_view daten = datei.substr(streamPos + 6, endstreamPos - streamPos - 6);
    if (daten.size() >= 2 && daten[0] == '\r' && daten[1] == '\n') daten.remove_prefix(2);
    if (!daten.empty() && daten[0] == '\n') daten.remove_prefix(1);
    return daten;
}

EntpackErgebnis Entpacken(std::string_view gepackt, std::string& ausgabe, std::size_t grenze) {
    // zlib counts input in 32-bit units; larger streams are not page content of a drawing.
    if (gepackt.size() > UINT_MAX / 2) return EntpackErgebnis::Fehler;
    InflateStrom strom(gepackt);
    if (!strom.Bereit()) return EntpackErgebnis::Fehler;
    z_stream& z = strom.Z();

    const std::size_t anfang = ausgabe.size();
    std::size_t bereich = std::min(2 * gepackt.size(), grenze);
    ausgabe.resize(anfang + bereich);
    EntpackErgebnis ergebnis = EntpackErgebnis::Fehler;
    for (;;) {
        const std::size_t erzeugt = z.total_out;
        z.next_out = reinterpret_cast<Bytef*>(ausgabe.data() + anfang + erzeugt);
        z.avail_out = static_cast<uInt>(std::min<std::size_t>(bereich - erzeugt, UINT_MAX));
        const int rc = inflate(&z, Z_PARTIAL_FLUSH);
        if (rc == Z_STREAM_END) {
            ergebnis = EntpackErgebnis::Fertig;
            break;
        }
        const bool voll = rc == Z_OK || (rc == Z_BUF_ERROR && z.avail_out == 0);
        if (voll && bereich >= grenze) {
            ergebnis = EntpackErgebnis::Grenze;
            break;
        }
        if (rc != Z_OK) break;
        bereich += std::min(Wachstum, grenze - bereich);
        ausgabe.resize(anfang + bereich);
    }
    ausgabe.resize(anfang + z.total_out);
    return ergebnis;
}

StromArt StromArtBestimmen(std::string_view datei, std::size_t streamPos, std::size_t untergrenze) {
    std::size_t ende = streamPos;
    while (ende > untergrenze && PDFLeerraum(datei[ende - 1])) --ende;
    if (ende < untergrenze + 4 || datei[ende - 1] != '>' || datei[ende - 2] != '>')
        return StromArt::Keine;
    const std::size_t anfang = DictAnfang(datei, ende, untergrenze);
    if (anfang == std::string_view::npos) return StromArt::Keine;
    return DictLeser(datei.substr(anfang + 2, ende - 2 - (anfang + 2))).Bestimmen();
}

std::string PDFInhaltLesen(std::string_view datei, std::size_t grenze, PDFBefund* befund) {
    PDFBefund b;
    std::string ergebnis;
    const std::vector<std::size_t> masken = WeichmaskenStroeme(datei, grenze);
    std::size_t entpackt = 0;
    std::size_t untergrenze = 0;
    std::size_t p = datei.find("stream");
    while (p != std::string_view::npos) {
        const std::size_t q = datei.find("endstream", p);
        if (q == std::string_view::npos) {
            if (NachWoerterbuch(datei, p)) b.beschaedigt = true;
            break;
        }
        const std::string_view daten = StromDaten(datei, p, q);
        const StromArt art = std::binary_search(masken.begin(), masken.end(), p)
                                 ? StromArt::Keine
                                 : StromArtBestimmen(datei, p, untergrenze);
        switch (art) {
        case StromArt::Roh:
            ergebnis.append(daten);
            break;
        case StromArt::Flate: {
            const std::size_t vorher = ergebnis.size();
            const EntpackErgebnis e = Entpacken(daten, ergebnis, grenze - entpackt);
            entpackt += ergebnis.size() - vorher;
            if (e == EntpackErgebnis::Grenze) b.grenzeErreicht = true;
            // An empty stream holds nothing that could be lost.
            if (e == EntpackErgebnis::Fehler && !NurLeerraum(daten)) b.beschaedigt = true;
            break;
        }
        case StromArt::Keine:
            break;
        }
        if (b.grenzeErreicht) break;
        untergrenze = q + 9;
        p = datei.find("stream", q + 8);
    }
    if (!EndetMitEof(datei)) b.beschaedigt = true;
    if (befund) *befund = b;
    return ergebnis;
}

} // namespace konturo
