// Building and writing the lines of a batch file.
#include "serienmacher/BatchDatei.h"

#include "text/Textquelle.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <ostream>
#include <vector>

namespace konturo::serienmacher {

namespace {

// Room for any 64-bit number, or a 32-bit one padded to the width of another.
constexpr std::size_t NummerMax = 24;

std::size_t NummerIn(char* puffer, std::int64_t n, std::int32_t endNr, bool fuehrendeNullen) {
    auto laenge =
        static_cast<std::size_t>(std::to_chars(puffer, puffer + NummerMax, n).ptr - puffer);
    if (!fuehrendeNullen) return laenge;
    char endText[NummerMax];
    const auto zielLaenge =
        static_cast<std::size_t>(std::to_chars(endText, endText + NummerMax, endNr).ptr - endText);
    if (laenge >= zielLaenge) return laenge;
    const std::size_t nullen = zielLaenge - laenge;
    const std::size_t vorzeichen = n < 0 ? 1 : 0; // the zeros go after the sign
    std::copy_backward(puffer + vorzeichen, puffer + laenge, puffer + zielLaenge);
    std::fill(puffer + vorzeichen, puffer + vorzeichen + nullen, '0');
    return zielLaenge;
}

bool PasstInCp1252(char32_t zeichen) { return zeichen == U'?' || Utf32NachCp1252(zeichen) != '?'; }

void Anhaengen(std::string& ziel, char32_t zeichen, Kodierung kodierung) {
    if (kodierung == Kodierung::Utf8)
        ziel += Utf8Kodieren(zeichen);
    else
        ziel += static_cast<char>(Utf32NachCp1252(zeichen));
}

// The parts of a line that are the same for every number, encoded once.
class Zeilenbauer {
public:
    Zeilenbauer(const Serie& serie, Kodierung kodierung)
        : endNr_(serie.EndNr), nullen_(serie.FuehrendeNullen), senkrecht_(serie.Senkrecht) {
        for (char32_t z : Utf8Dekodieren(serie.VorText)) {
            Anhaengen(vor_, z, kodierung);
            if (senkrecht_) vor_ += '|';
        }
        for (char32_t z : Utf8Dekodieren(serie.NachText)) {
            if (senkrecht_) nach_ += '|';
            Anhaengen(nach_, z, kodierung);
        }
    }

    // Line n without line end into ziel (reused, so the loop does not allocate per line).
    void Zeile(std::int64_t n, std::string& ziel) const {
        char nummer[NummerMax];
        const std::size_t laenge = NummerIn(nummer, n, endNr_, nullen_);
        ziel = vor_;
        for (std::size_t i = 0; i < laenge; ++i) {
            if (senkrecht_ && i > 0) ziel += '|';
            ziel += nummer[i];
        }
        ziel += nach_;
    }

private:
    std::string vor_, nach_;
    std::int32_t endNr_;
    bool nullen_, senkrecht_;
};

bool HatZeilenumbruch(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

} // namespace

std::string NummerText(std::int64_t n, std::int32_t endNr, bool fuehrendeNullen) {
    char puffer[NummerMax];
    return std::string(puffer, NummerIn(puffer, n, endNr, fuehrendeNullen));
}

std::string ZeilenText(const Serie& serie, std::int64_t n) {
    std::string zeile;
    Zeilenbauer(serie, Kodierung::Utf8).Zeile(n, zeile);
    return zeile;
}

std::int64_t ZeilenAnzahl(const Serie& serie) {
    const std::int64_t anzahl = std::int64_t{serie.EndNr} - serie.StartNr + 1;
    return std::max<std::int64_t>(anzahl, 0);
}

Kodierung KodierungWaehlen(const Serie& serie) {
    for (const std::string* text : {&serie.VorText, &serie.NachText}) {
        for (char32_t z : Utf8Dekodieren(*text)) {
            if (!PasstInCp1252(z)) return Kodierung::Utf8;
        }
    }
    // Bytes above 127 come only from VorText and NachText, and they have the same ASCII
    // neighbours (digits, "|", CR LF) in every line, so whether the file would read as UTF-8
    // shows in one line.
    std::string zeile;
    Zeilenbauer(serie, Kodierung::Cp1252).Zeile(serie.StartNr, zeile);
    zeile += "\r\n";
    const bool nurAscii = std::all_of(zeile.begin(), zeile.end(),
                                      [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return !nurAscii && IstUtf8(zeile) ? Kodierung::Utf8 : Kodierung::Cp1252;
}

int FortschrittWert(std::int64_t fertig, std::int64_t gesamt, int balkenMax) {
    if (gesamt <= 0) return balkenMax;
    fertig = std::clamp<std::int64_t>(fertig, 0, gesamt);
    // fertig <= 2^32 and balkenMax < 2^31: the product stays below 2^63.
    return static_cast<int>(fertig * balkenMax / gesamt);
}

Ergebnis Pruefen(const Serie& serie) {
    if (serie.EndNr < serie.StartNr) return Ergebnis::EndeVorStart;
    if (HatZeilenumbruch(serie.VorText) || HatZeilenumbruch(serie.NachText))
        return Ergebnis::Zeilenumbruch;
    return Ergebnis::Ok;
}

Ergebnis BatchSchreiben(std::ostream& aus, const Serie& serie, const Fortschritt& fortschritt) {
    const Zeilenbauer bauer(serie, KodierungWaehlen(serie));
    std::string zeile;
    std::int64_t fertig = 0;
    // 64-bit counter: with EndNr at the top of the 32-bit range the loop must still end.
    for (std::int64_t n = serie.StartNr; n <= serie.EndNr; ++n) {
        bauer.Zeile(n, zeile);
        zeile += "\r\n";
        aus.write(zeile.data(), static_cast<std::streamsize>(zeile.size()));
        if (!aus) return Ergebnis::Schreibfehler;
        ++fertig;
        if (fortschritt && !fortschritt(fertig)) {
            aus.flush();
            return aus ? Ergebnis::Abgebrochen : Ergebnis::Schreibfehler;
        }
    }
    aus.flush();
    return aus ? Ergebnis::Ok : Ergebnis::Schreibfehler;
}

Ergebnis BatchDateiErzeugen(const std::filesystem::path& datei, const Serie& serie,
                            const Fortschritt& fortschritt) {
    if (const Ergebnis e = Pruefen(serie); e != Ergebnis::Ok) return e;
    // A larger buffer than the default: a series can run to gigabytes.
    std::vector<char> puffer(std::size_t{1} << 16);
    std::ofstream aus;
    aus.rdbuf()->pubsetbuf(puffer.data(), static_cast<std::streamsize>(puffer.size()));
    aus.open(datei, std::ios::binary | std::ios::trunc);
    if (!aus.is_open()) return Ergebnis::NichtGeoeffnet;
    Ergebnis e = BatchSchreiben(aus, serie, fortschritt);
    aus.close();
    if (e == Ergebnis::Ok && aus.fail()) e = Ergebnis::Schreibfehler;
    return e;
}

} // namespace konturo::serienmacher
