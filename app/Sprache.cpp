// Reading the language file: comment and empty lines skipped, fields split at ";", Windows-1252
// or UTF-8 text, CR LF, LF or CR line ends.
#include "app/Sprache.h"

#include "app/Sitzung.h"
#include "output/FSO_Funktionen.h"
#include "text/Textquelle.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <vector>

namespace konturo {

namespace {

constexpr int TextAnzahl = 181;
// A language file is a few kilobytes; anything far larger is not one.
constexpr std::uintmax_t GroessteDatei = 4 * 1024 * 1024;

void Utf8Anhaengen(std::string& aus, char32_t z) {
    if (z < 0x80) {
        aus += static_cast<char>(z);
    } else if (z < 0x800) {
        aus += static_cast<char>(0xC0 | (z >> 6));
        aus += static_cast<char>(0x80 | (z & 0x3F));
    } else {
        aus += static_cast<char>(0xE0 | (z >> 12));
        aus += static_cast<char>(0x80 | ((z >> 6) & 0x3F));
        aus += static_cast<char>(0x80 | (z & 0x3F));
    }
}

std::string Cp1252AlsUtf8(const std::string& t) {
    // 0x80..0x9F of Windows-1252; 0 where the code page leaves the byte undefined.
    static constexpr std::array<char16_t, 32> obere = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string aus;
    aus.reserve(t.size() + t.size() / 8);
    for (char ch : t) {
        const auto c = static_cast<unsigned char>(ch);
        char32_t z = c;
        if (c >= 0x80 && c < 0xA0) z = obere[c - 0x80] ? obere[c - 0x80] : U'?';
        Utf8Anhaengen(aus, z);
    }
    return aus;
}

std::vector<std::string> Felder(const std::string& zeile) {
    std::vector<std::string> felder;
    std::size_t anfang = 0;
    for (;;) {
        const auto p = zeile.find(';', anfang);
        felder.push_back(zeile.substr(anfang, p == std::string::npos ? p : p - anfang));
        if (p == std::string::npos) break;
        anfang = p + 1;
    }
    return felder;
}

std::optional<int> Ganzzahl(const std::string& t) {
    std::size_t a = 0, e = t.size();
    while (a < e && t[a] == ' ') ++a;
    while (e > a && t[e - 1] == ' ') --e;
    int wert = 0;
    const auto [p, ec] = std::from_chars(t.data() + a, t.data() + e, wert);
    if (ec != std::errc() || p != t.data() + e || a == e) return std::nullopt;
    return wert;
}

// The lines (without line ends) of the file's bytes, as UTF-8.
std::vector<std::string> ZeilenTeilen(std::string_view bytes) {
    std::string inhalt(bytes);
    // Encoded surrogates, overlong forms and code points past U+10FFFF are no UTF-8: such a file
    // is read as Windows-1252 like any other that is not.
    if (!IstUtf8(inhalt)) inhalt = Cp1252AlsUtf8(inhalt);
    if (inhalt.rfind("\xEF\xBB\xBF", 0) == 0) inhalt.erase(0, 3);
    std::vector<std::string> zeilen;
    std::string zeile;
    for (std::size_t i = 0; i < inhalt.size(); ++i) {
        const char c = inhalt[i];
        if (c == '\r' || c == '\n') {
            zeilen.push_back(zeile);
            zeile.clear();
            if (c == '\r' && i + 1 < inhalt.size() && inhalt[i + 1] == '\n') ++i;
        } else {
            zeile += c;
        }
    }
    if (!zeile.empty()) zeilen.push_back(zeile);
    return zeilen;
}

// The file's bytes, or false with the reason. Only a regular file is read: a pipe in the
// program's folder would otherwise hold the start for ever.
bool DateiHolen(const std::string& pfad, std::string& inhalt, std::string& grund) {
    const Dateifehler fehler = DateiEinlesen(pfad, GroessteDatei, inhalt);
    if (fehler == Dateifehler::Keiner) return true;
    if (fehler == Dateifehler::Fehlt)
        grund = "Die Sprachdatei \"" + pfad + "\" wurde nicht gefunden (file not found).";
    else
        grund = "Die Sprachdatei \"" + pfad + "\" kann nicht gelesen werden (" +
                DateifehlerText(fehler, GroessteDatei) + ").";
    return false;
}

bool Ueberspringen(const std::string& zeile) { return zeile.empty() || zeile[0] == '\''; }

} // namespace

bool StartSpracheText(Sitzung& s, std::string_view bytes, const std::string& pfad,
                      std::string& grund) {
    const std::vector<std::string> zeilen = ZeilenTeilen(bytes);
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        if (Ueberspringen(zeilen[i])) continue;
        const auto felder = Felder(zeilen[i]);
        if (felder.size() < 2 || felder[1] != "Language") continue;
        const auto nr = felder.size() > 2 ? Ganzzahl(felder[2]) : std::nullopt;
        if (!nr || *nr < 0 || *nr > 255) {
            grund = "Sprachdatei \"" + pfad + "\", Zeile " + std::to_string(i + 1) +
                    ": die Sprachnummer ist keine Zahl von 0 bis 255.";
            return false;
        }
        s.fenster.SprachNr = static_cast<std::uint8_t>(*nr);
        return true;
    }
    return true;
}

bool SpracheLadenText(Sitzung& s, std::string_view bytes, const std::string& pfad,
                      std::string& grund) {
    const std::vector<std::string> zeilen = ZeilenTeilen(bytes);
    std::array<std::string, TextAnzahl> texte{};
    const std::size_t spalte = s.fenster.SprachNr;
    const std::size_t mindestFelder = std::max<std::size_t>(3, spalte + 1);
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        if (Ueberspringen(zeilen[i])) continue;
        const auto felder = Felder(zeilen[i]);
        const std::string ort = "Sprachdatei \"" + pfad + "\", Zeile " + std::to_string(i + 1);
        if (felder.size() < mindestFelder) {
            grund = ort + ": zu wenige Felder (" + std::to_string(felder.size()) + " statt " +
                    std::to_string(mindestFelder) + ").";
            return false;
        }
        const auto nr = Ganzzahl(felder[0]);
        if (!nr || *nr < 0 || *nr >= TextAnzahl) {
            grund = ort + ": \"" + felder[0] + "\" ist keine Textnummer von 0 bis 180.";
            return false;
        }
        texte[static_cast<std::size_t>(*nr)] = felder[spalte];
    }
    s.fenster.Texte = std::move(texte);
    return true;
}

bool StartSprache(Sitzung& s, const std::string& pfad, std::string& grund) {
    std::string inhalt;
    return DateiHolen(pfad, inhalt, grund) && StartSpracheText(s, inhalt, pfad, grund);
}

bool SpracheLaden(Sitzung& s, const std::string& pfad, std::string& grund) {
    std::string inhalt;
    return DateiHolen(pfad, inhalt, grund) && SpracheLadenText(s, inhalt, pfad, grund);
}

bool StartSprache(Sitzung& s, const std::string& pfad) {
    std::string grund;
    if (StartSprache(s, pfad, grund)) return true;
    s.ui->Meldung(0, grund);
    return false;
}

bool SpracheLaden(Sitzung& s, const std::string& pfad) {
    std::string grund;
    if (SpracheLaden(s, pfad, grund)) return true;
    s.ui->Meldung(0, grund);
    return false;
}

} // namespace konturo
