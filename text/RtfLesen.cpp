// Rich-text reader: a single pass over the bytes with a stack of group states.
#include "text/RtfLesen.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <map>

namespace konturo {

namespace {

constexpr std::size_t MaxTiefe = 500;
constexpr std::size_t MaxWortLaenge = 32;
constexpr int StandardHalbpunkte = 24; // \fs default: 12 points

enum class Ziel { Text, Schrifttabelle, Ueberspringen };

struct Gruppenzustand {
    int schrift = -1; // -1: the default font (\deff)
    int halbpunkte = StandardHalbpunkte;
    bool fett = false;
    bool kursiv = false;
    bool versteckt = false;
    int uc = 1; // characters that stand in for each \uN
    Ziel ziel = Ziel::Text;
};

// Destinations that hold no text of the document; their groups are skipped whole.
bool IstTextloseGruppe(std::string_view wort) {
    static constexpr std::string_view woerter[] = {
        "aftncn",    "aftnsep",      "aftnsepc",    "annotation",
        "atnauthor", "atnid",        "author",      "bkmkend",
        "bkmkstart", "blipuid",      "colortbl",    "colorschememapping",
        "comment",   "company",      "datafield",   "datastore",
        "docvar",    "doccomm",      "fchars",      "filetbl",
        "fldinst",   "footer",       "footerf",     "footerl",
        "footerr",   "footnote",     "ftncn",       "ftnsep",
        "ftnsepc",   "generator",    "gridtbl",     "header",
        "headerf",   "headerl",      "headerr",     "info",
        "keywords",  "latentstyles", "lchars",      "listoverridetable",
        "listtable", "listtext",     "mmathPr",     "nonshppict",
        "object",    "objdata",      "operator",    "pgdsctbl",
        "pict",      "picprop",      "pntext",      "pntxta",
        "pntxtb",    "private",      "protusertbl", "revtbl",
        "rsidtbl",   "rxe",          "shp",         "shpinst",
        "shppict",   "sn",           "sp",          "stylesheet",
        "subject",   "sv",           "tc",          "template",
        "themedata", "title",        "txe",         "userprops",
    };
    return std::find(std::begin(woerter), std::end(woerter), wort) != std::end(woerter);
}

// Code page 1252 bytes 0x80..0x9F; the rest of the page equals Latin-1.
char32_t Cp1252Zeichen(unsigned char b) {
    static constexpr std::array<char32_t, 32> tabelle = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
    };
    if (b >= 0x80 && b < 0xA0) return tabelle[b - 0x80];
    return b;
}

int HexWert(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IstBuchstabe(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IstZiffer(char c) { return c >= '0' && c <= '9'; }

std::string Getrimmt(const std::string& s) {
    const auto a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t");
    return s.substr(a, e - a + 1);
}

class Leser {
public:
    explicit Leser(std::string_view bytes) : b_(bytes) {}

    RtfText Lesen() {
        std::size_t start = 0;
        if (b_.substr(0, 3) == "\xEF\xBB\xBF") start = 3;
        while (start < b_.size() &&
               (b_[start] == ' ' || b_[start] == '\r' || b_[start] == '\n' || b_[start] == '\t'))
            ++start;
        if (b_.substr(start, 5) != "{\\rtf") {
            ergebnis_.Fehler = "keine RTF-Datei (beginnt nicht mit {\\rtf)";
            return std::move(ergebnis_);
        }
        p_ = start;
        while (p_ < b_.size() && !fertig_) Schritt();
        if (!ergebnis_.Fehler.empty()) {
            ergebnis_.Laeufe.clear();
            return std::move(ergebnis_);
        }
        LetztenAbsatzSchliessen();
        return std::move(ergebnis_);
    }

private:
    void Schritt() {
        const char c = b_[p_++];
        switch (c) {
        case '{':
            if (stapel_.size() >= MaxTiefe) {
                ergebnis_.Fehler = "zu tief geschachtelte Gruppen";
                fertig_ = true;
                return;
            }
            stapel_.push_back(z_);
            ausstehend_ = 0;
            break;
        case '}':
            GruppeSchliessen();
            break;
        case '\\':
            Steuerung();
            break;
        case '\r':
        case '\n':
        case '\0':
            break;
        case '\t':
            Zeichen(U'\t');
            break;
        default:
            Zeichen(Cp1252Zeichen(static_cast<unsigned char>(c)));
            break;
        }
    }

    void GruppeSchliessen() {
        if (z_.ziel == Ziel::Schrifttabelle) SchriftnameUebernehmen();
        if (stapel_.empty()) {
            fertig_ = true; // the document's closing brace; what follows is not part of it
            return;
        }
        z_ = stapel_.back();
        stapel_.pop_back();
        ausstehend_ = 0;
        if (stapel_.empty()) fertig_ = true;
    }

    void Steuerung() {
        if (p_ >= b_.size()) return;
        const char c = b_[p_];
        if (!IstBuchstabe(c)) {
            ++p_;
            Symbol(c);
            return;
        }
        std::size_t a = p_;
        while (p_ < b_.size() && IstBuchstabe(b_[p_]) && p_ - a < MaxWortLaenge) ++p_;
        const std::string_view wort = b_.substr(a, p_ - a);
        while (p_ < b_.size() && IstBuchstabe(b_[p_])) ++p_; // an absurdly long word: drop rest
        bool hatZahl = false;
        long long zahl = 0;
        bool negativ = false;
        if (p_ < b_.size() && b_[p_] == '-' && p_ + 1 < b_.size() && IstZiffer(b_[p_ + 1])) {
            negativ = true;
            ++p_;
        }
        int ziffern = 0;
        while (p_ < b_.size() && IstZiffer(b_[p_])) {
            if (ziffern < 10) zahl = zahl * 10 + (b_[p_] - '0');
            ++ziffern;
            ++p_;
            hatZahl = true;
        }
        if (negativ) zahl = -zahl;
        if (p_ < b_.size() && b_[p_] == ' ') ++p_;
        Wort(wort, hatZahl, static_cast<int>(std::clamp<long long>(zahl, -2147483647, 2147483647)));
    }

    void Symbol(char c) {
        switch (c) {
        case '\'': {
            // Two hex digits; a malformed escape is dropped with the digits it has.
            int wert = 0, ziffern = 0;
            while (ziffern < 2 && p_ < b_.size() && HexWert(b_[p_]) >= 0) {
                wert = wert * 16 + HexWert(b_[p_++]);
                ++ziffern;
            }
            if (ziffern == 2) Zeichen(Cp1252Zeichen(static_cast<unsigned char>(wert)));
            break;
        }
        case '\\':
        case '{':
        case '}':
            Zeichen(static_cast<unsigned char>(c));
            break;
        case '~':
            Zeichen(0xA0);
            break;
        case '_':
            Zeichen(U'-');
            break;
        case '*':
            z_.ziel = Ziel::Ueberspringen;
            break;
        case '\r':
        case '\n':
            Umbruch(true);
            break;
        default: // \- optional hyphen, \: index sub-entry, \| formula: no text
            break;
        }
    }

    void Wort(std::string_view w, bool hatZahl, int zahl) {
        if (ausstehend_ > 0 && w != "u") {
            // A control word standing in for the last \uN counts as one substitute character.
            --ausstehend_;
            return;
        }
        if (w == "par") return Umbruch(true);
        if (w == "line" || w == "sect" || w == "page" || w == "row") return Umbruch(false);
        if (w == "tab" || w == "cell") return Zeichen(U'\t');
        if (w == "emdash") return Zeichen(0x2014);
        if (w == "endash") return Zeichen(0x2013);
        if (w == "bullet") return Zeichen(0x2022);
        if (w == "lquote") return Zeichen(0x2018);
        if (w == "rquote") return Zeichen(0x2019);
        if (w == "ldblquote") return Zeichen(0x201C);
        if (w == "rdblquote") return Zeichen(0x201D);
        if (w == "emspace" || w == "enspace" || w == "qmspace") return Zeichen(U' ');
        if (w == "u") return Unicode(zahl);
        if (w == "uc") {
            z_.uc = hatZahl ? std::clamp(zahl, 0, 10) : 1;
            return;
        }
        if (w == "f") {
            if (z_.ziel == Ziel::Schrifttabelle) {
                SchriftnameUebernehmen();
                tabellenSchrift_ = zahl;
            } else {
                z_.schrift = zahl;
            }
            return;
        }
        if (w == "deff") {
            standardSchrift_ = zahl;
            return;
        }
        if (w == "fs") {
            z_.halbpunkte = hatZahl && zahl > 0 ? std::min(zahl, 3276) : StandardHalbpunkte;
            return;
        }
        if (w == "b") {
            z_.fett = !hatZahl || zahl != 0;
            return;
        }
        if (w == "i") {
            z_.kursiv = !hatZahl || zahl != 0;
            return;
        }
        if (w == "v") {
            z_.versteckt = !hatZahl || zahl != 0;
            return;
        }
        if (w == "plain") {
            z_.schrift = -1;
            z_.halbpunkte = StandardHalbpunkte;
            z_.fett = z_.kursiv = z_.versteckt = false;
            return;
        }
        if (w == "bin") {
            // Binary data of the given length follows the control word's delimiter.
            if (hatZahl && zahl > 0) p_ = std::min(b_.size(), p_ + static_cast<std::size_t>(zahl));
            return;
        }
        if (w == "fonttbl") {
            z_.ziel = Ziel::Schrifttabelle;
            tabellenSchrift_ = -1;
            schriftname_.clear();
            return;
        }
        if (IstTextloseGruppe(w)) z_.ziel = Ziel::Ueberspringen;
    }

    void Unicode(int zahl) {
        char32_t code = static_cast<char32_t>(zahl < 0 ? zahl + 65536 : zahl) & 0xFFFF;
        ausstehend_ = 0;
        if (code >= 0xD800 && code < 0xDC00) {
            hoheHaelfte_ = code;
            ausstehend_ = z_.uc;
            return;
        }
        if (code >= 0xDC00 && code < 0xE000) {
            if (hoheHaelfte_ == 0) {
                ausstehend_ = z_.uc;
                return;
            }
            code = 0x10000 + ((hoheHaelfte_ - 0xD800) << 10) + (code - 0xDC00);
        }
        hoheHaelfte_ = 0;
        Zeichen(code);
        ausstehend_ = z_.uc;
    }

    void Zeichen(char32_t zeichen) {
        if (ausstehend_ > 0) {
            --ausstehend_;
            return;
        }
        if (z_.ziel == Ziel::Schrifttabelle) {
            if (zeichen == U';')
                SchriftnameUebernehmen();
            else
                schriftname_ += Utf8Kodieren(zeichen);
            return;
        }
        if (z_.ziel == Ziel::Ueberspringen || z_.versteckt) return;
        if (zeichen < 0x20 && zeichen != U'\t') return;
        offenerAbsatz_ = false;
        Anfuegen(Utf8Kodieren(zeichen));
    }

    // A paragraph mark or line break; absatz tells a \par apart, so the mark that closes the
    // last paragraph can be dropped at the end.
    void Umbruch(bool absatz) {
        if (z_.ziel != Ziel::Text || z_.versteckt) return;
        Anfuegen("\n");
        offenerAbsatz_ = absatz;
    }

    void LetztenAbsatzSchliessen() {
        if (!offenerAbsatz_ || ergebnis_.Laeufe.empty()) return;
        std::string& t = ergebnis_.Laeufe.back().Text;
        if (!t.empty() && t.back() == '\n') t.pop_back();
        if (t.empty()) ergebnis_.Laeufe.pop_back();
    }

    void Anfuegen(const std::string& utf8) {
        const Zeichenformat f = AktuellesFormat();
        auto& laeufe = ergebnis_.Laeufe;
        if (laeufe.empty() || !GleichesFormat(laeufe.back().Format, f)) laeufe.push_back({{}, f});
        laeufe.back().Text += utf8;
    }

    static bool GleichesFormat(const Zeichenformat& a, const Zeichenformat& b) {
        return a.Schriftart == b.Schriftart && a.Groesse == b.Groesse && a.Fett == b.Fett &&
               a.Kursiv == b.Kursiv;
    }

    Zeichenformat AktuellesFormat() const {
        Zeichenformat f;
        const int nr = z_.schrift >= 0 ? z_.schrift : standardSchrift_;
        const auto it = schriften_.find(nr);
        if (it != schriften_.end() && !it->second.empty()) f.Schriftart = it->second;
        f.Groesse = z_.halbpunkte / 2.0;
        f.Fett = z_.fett;
        f.Kursiv = z_.kursiv;
        return f;
    }

    void SchriftnameUebernehmen() {
        const std::string name = Getrimmt(schriftname_);
        if (tabellenSchrift_ >= 0 && !name.empty() && !schriften_.count(tabellenSchrift_))
            schriften_[tabellenSchrift_] = name;
        schriftname_.clear();
    }

    std::string_view b_;
    std::size_t p_ = 0;
    bool fertig_ = false;
    std::vector<Gruppenzustand> stapel_;
    Gruppenzustand z_;
    std::map<int, std::string> schriften_;
    int standardSchrift_ = 0;
    int tabellenSchrift_ = -1;
    std::string schriftname_;
    int ausstehend_ = 0;
    char32_t hoheHaelfte_ = 0;
    bool offenerAbsatz_ = false;
    RtfText ergebnis_;
};

} // namespace

RtfText RtfLesen(std::string_view bytes) { return Leser(bytes).Lesen(); }

void RtfAnhaengen(const RtfText& rtf, TextquelleKlartext& ziel) {
    for (const RtfLauf& lauf : rtf.Laeufe) ziel.Anhaengen(lauf.Text, lauf.Format);
}

} // namespace konturo
