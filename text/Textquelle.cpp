// The plain-text source and the UTF-8 / Windows-1252 conversions used for text files.
#include "text/Textquelle.h"

#include <array>

namespace konturo {

namespace {

// Code points of the Windows-1252 bytes 0x80..0x9F; 0 where the code page has no character
// (those bytes map to the C1 control of the same value).
constexpr std::array<char32_t, 32> Cp1252Oben = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t Cp1252Zeichen(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) {
        const char32_t z = Cp1252Oben[b - 0x80];
        return z != 0 ? z : b;
    }
    return b;
}

// Length of the valid UTF-8 sequence at i, with its code point; 0 when the bytes there are not
// valid UTF-8 (overlong forms, surrogates and values above U+10FFFF are invalid).
std::size_t Utf8Folge(const std::string& s, std::size_t i, char32_t& zeichen) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        zeichen = b0;
        return 1;
    }
    std::size_t laenge;
    char32_t z;
    char32_t minimum;
    if ((b0 & 0xE0) == 0xC0) {
        laenge = 2;
        z = b0 & 0x1F;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        laenge = 3;
        z = b0 & 0x0F;
        minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        laenge = 4;
        z = b0 & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + laenge > s.size()) return 0;
    for (std::size_t k = 1; k < laenge; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        z = (z << 6) | (b & 0x3F);
    }
    if (z < minimum || z > 0x10FFFF || (z >= 0xD800 && z <= 0xDFFF)) return 0;
    zeichen = z;
    return laenge;
}

} // namespace

std::u32string Utf8Dekodieren(const std::string& utf8) {
    std::u32string ergebnis;
    ergebnis.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t z = 0;
        const std::size_t n = Utf8Folge(utf8, i, z);
        if (n == 0) {
            ergebnis.push_back(Cp1252Zeichen(static_cast<unsigned char>(utf8[i])));
            ++i;
        } else {
            ergebnis.push_back(z);
            i += n;
        }
    }
    return ergebnis;
}

std::string Utf8Kodieren(char32_t z) {
    std::string s;
    if (z > 0x10FFFF || (z >= 0xD800 && z <= 0xDFFF)) z = 0xFFFD;
    if (z < 0x80) {
        s.push_back(static_cast<char>(z));
    } else if (z < 0x800) {
        s.push_back(static_cast<char>(0xC0 | (z >> 6)));
        s.push_back(static_cast<char>(0x80 | (z & 0x3F)));
    } else if (z < 0x10000) {
        s.push_back(static_cast<char>(0xE0 | (z >> 12)));
        s.push_back(static_cast<char>(0x80 | ((z >> 6) & 0x3F)));
        s.push_back(static_cast<char>(0x80 | (z & 0x3F)));
    } else {
        s.push_back(static_cast<char>(0xF0 | (z >> 18)));
        s.push_back(static_cast<char>(0x80 | ((z >> 12) & 0x3F)));
        s.push_back(static_cast<char>(0x80 | ((z >> 6) & 0x3F)));
        s.push_back(static_cast<char>(0x80 | (z & 0x3F)));
    }
    return s;
}

std::string Utf8Kodieren(const std::u32string& text) {
    std::string s;
    s.reserve(text.size());
    for (char32_t z : text) s += Utf8Kodieren(z);
    return s;
}

bool IstUtf8(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        char32_t z = 0;
        const std::size_t n = Utf8Folge(bytes, i, z);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string Cp1252NachUtf8(const std::string& bytes) {
    std::string s;
    s.reserve(bytes.size());
    for (char c : bytes) s += Utf8Kodieren(Cp1252Zeichen(static_cast<unsigned char>(c)));
    return s;
}

unsigned char Utf32NachCp1252(char32_t zeichen) {
    if (zeichen < 0x80 || (zeichen >= 0xA0 && zeichen <= 0xFF))
        return static_cast<unsigned char>(zeichen);
    for (std::size_t k = 0; k < Cp1252Oben.size(); ++k) {
        if (Cp1252Oben[k] == zeichen) return static_cast<unsigned char>(0x80 + k);
    }
    return '?';
}

TextquelleKlartext::TextquelleKlartext(const std::string& utf8, Zeichenformat format)
    : standardFormat(std::move(format)) {
    Anhaengen(utf8, standardFormat);
}

std::int32_t TextquelleKlartext::Laenge() const {
    return static_cast<std::int32_t>(positionen_.size());
}

TextPosition TextquelleKlartext::An(std::int32_t position) const {
    if (position < 0 || position >= Laenge()) return {};
    const Eintrag& e = positionen_[static_cast<std::size_t>(position)];
    return {e.art, e.zeichen, formate_[e.format]};
}

std::string TextquelleKlartext::KlarText() const {
    std::string s;
    s.reserve(positionen_.size());
    for (const Eintrag& p : positionen_) {
        if (p.art == TextPosition::Art::Zeichen)
            s += Utf8Kodieren(p.zeichen);
        else if (p.art == TextPosition::Art::Zeilenumbruch)
            s += "\r\n";
    }
    return s;
}

void TextquelleKlartext::TextSetzen(const std::string& utf8) {
    const Zeichenformat format =
        positionen_.empty() ? standardFormat : formate_[positionen_.front().format];
    Leeren();
    Anhaengen(utf8, format);
}

std::uint32_t TextquelleKlartext::FormatNummer(const Zeichenformat& format) {
    // Runs of one format follow each other; only a change of format adds an entry.
    if (!formate_.empty()) {
        const Zeichenformat& letztes = formate_.back();
        if (letztes.Schriftart == format.Schriftart && letztes.Groesse == format.Groesse &&
            letztes.Fett == format.Fett && letztes.Kursiv == format.Kursiv)
            return static_cast<std::uint32_t>(formate_.size() - 1);
    }
    formate_.push_back(format);
    return static_cast<std::uint32_t>(formate_.size() - 1);
}

void TextquelleKlartext::Anhaengen(const std::string& utf8, const Zeichenformat& format) {
    const std::u32string text = Utf8Dekodieren(utf8);
    const std::uint32_t nummer = FormatNummer(format);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t z = text[i];
        if (z == U'\r' || z == U'\n') {
            if (z == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
            positionen_.push_back({TextPosition::Art::Zeilenumbruch, U'\r', nummer});
            positionen_.push_back({TextPosition::Art::Leer, U'\n', nummer});
        } else {
            positionen_.push_back({TextPosition::Art::Zeichen, z, nummer});
        }
    }
}

void TextquelleKlartext::Leeren() {
    positionen_.clear();
    formate_.clear();
}

bool IstTextdatei(const std::string& bytes) {
    std::size_t steuer = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0) return false;
        if ((b < 0x20 && b != '\t' && b != '\n' && b != '\f' && b != '\r') || b == 0x7F) ++steuer;
    }
    return steuer * 50 <= bytes.size();
}

bool KlartextAusBytes(std::string bytes, std::string& text) {
    text.clear();
    if (!IstTextdatei(bytes)) return false;
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    text = IstUtf8(bytes) ? std::move(bytes) : Cp1252NachUtf8(bytes);
    return true;
}

} // namespace konturo
