// Number text for the writers (rounding table, significant digits, exponent form) and the
// locale-independent number reader.
#include "geometry/AllgLesen.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace konturo {

namespace {

int DezimalenZahlText(double a) {
    if (a < 10) return 14;
    if (a < 100) return 13;
    if (a < 1000) return 12;
    if (a < 10000) return 11;
    if (a < 100000) return 10;
    if (a < 1000000) return 9;
    if (a < 10000000) return 8;
    if (a < 100000000) return 7;
    return 0;
}

int DezimalenGeoZahlText(double a) {
    if (a < 1000000) return 9;
    if (a < 10000000) return 8;
    if (a < 100000000) return 7;
    return 0;
}

// Writes mantissa digits (first digit, then "." and the rest when there is a rest) followed by
// "E", the exponent's sign and at least two exponent digits.
std::size_t ExponentForm(char* buf, bool negativ, const char* ziffern, std::size_t anzahl,
                         int exponent) {
    std::size_t n = 0;
    if (negativ) buf[n++] = '-';
    buf[n++] = ziffern[0];
    if (anzahl > 1) {
        buf[n++] = '.';
        std::memcpy(buf + n, ziffern + 1, anzahl - 1);
        n += anzahl - 1;
    }
    buf[n++] = 'E';
    buf[n++] = exponent < 0 ? '-' : '+';
    int betrag = exponent < 0 ? -exponent : exponent;
    char exp[8];
    auto [ende, ec] = std::to_chars(exp, exp + sizeof exp, betrag);
    (void)ec;
    std::size_t laenge = static_cast<std::size_t>(ende - exp);
    if (laenge < 2) buf[n++] = '0';
    std::memcpy(buf + n, exp, laenge);
    return n + laenge;
}

// Formats the value rounded half-to-even at d decimals with the general rule of the writers.
std::size_t Formatieren(char* buf, double wert, int d) {
    if (!std::isfinite(wert)) {
        buf[0] = '0';
        return 1;
    }
    const double a = std::fabs(wert);
    if (d == 0 && a >= 1e15) {
        // Already an integer in double precision for all practical purposes: 15 significant
        // digits in exponent form.
        const double r = std::nearbyint(wert);
        char tmp[ZahlTextMax];
        auto [ende, ec] =
            std::to_chars(tmp, tmp + sizeof tmp, r, std::chars_format::scientific, 14);
        (void)ec;
        // tmp: [-]D.DDDDDDDDDDDDDDe+XX
        const char* p = tmp;
        bool negativ = *p == '-';
        if (negativ) ++p;
        char ziffern[16];
        std::size_t anzahl = 0;
        const char* e = p;
        while (e < ende && *e != 'e') {
            if (*e != '.') ziffern[anzahl++] = *e;
            ++e;
        }
        int exponent = 0;
        std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), ende, exponent);
        // Rounded up, the largest numbers would read back beyond the largest double, as infinity:
        // the text keeps the largest 15 digits that read back finite instead.
        static constexpr char groesste[] = "179769313486231";
        if (exponent == 308 && anzahl == 15 && std::memcmp(ziffern, groesste, 15) > 0)
            std::memcpy(ziffern, groesste, 15);
        while (anzahl > 1 && ziffern[anzahl - 1] == '0') --anzahl;
        return ExponentForm(buf, negativ, ziffern, anzahl, exponent);
    }

    // The value scaled by 10^d is below about 1e15 for every row of the tables, so it is held
    // exactly as a whole number: rounding it half-to-even gives the digits of the result, and a
    // value that reads as an exact half in its decimal form (7.071067811865475 at 14 decimals)
    // goes to the even digit like the number the user sees.
    static const double zehnHoch[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6, 1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14};
    const double n = std::nearbyint(wert * zehnHoch[d]);
    unsigned long long m = static_cast<unsigned long long>(std::fabs(n));
    if (m == 0) { // zero, also "-0"
        buf[0] = '0';
        return 1;
    }
    const bool negativ = n < 0;
    int dezimalen = d;
    while (dezimalen > 0 && m % 10 == 0) {
        m /= 10;
        --dezimalen;
    }
    char ziffern[24];
    auto [ende, ec] = std::to_chars(ziffern, ziffern + sizeof ziffern, m);
    (void)ec;
    const int anzahl = static_cast<int>(ende - ziffern);
    if (dezimalen == 0 && m >= 1000000000000000ULL) {
        // A carry up to 1e15: exponent form like every larger magnitude.
        std::size_t signifikant = static_cast<std::size_t>(anzahl);
        while (signifikant > 1 && ziffern[signifikant - 1] == '0') --signifikant;
        return ExponentForm(buf, negativ, ziffern, signifikant, anzahl - 1);
    }
    const int fuehrendeNullen = dezimalen - anzahl; // zeros between "0." and the first digit
    if (fuehrendeNullen >= 4) {
        // Below 0.0001 the exponent form is used.
        return ExponentForm(buf, negativ, ziffern, static_cast<std::size_t>(anzahl),
                            -(fuehrendeNullen + 1));
    }
    std::size_t laenge = 0;
    if (negativ) buf[laenge++] = '-';
    if (fuehrendeNullen >= 0) {
        buf[laenge++] = '0';
        buf[laenge++] = '.';
        for (int i = 0; i < fuehrendeNullen; ++i) buf[laenge++] = '0';
        std::memcpy(buf + laenge, ziffern, static_cast<std::size_t>(anzahl));
        return laenge + static_cast<std::size_t>(anzahl);
    }
    const std::size_t ganz = static_cast<std::size_t>(anzahl - dezimalen);
    std::memcpy(buf + laenge, ziffern, ganz);
    laenge += ganz;
    if (dezimalen > 0) {
        buf[laenge++] = '.';
        std::memcpy(buf + laenge, ziffern + ganz, static_cast<std::size_t>(dezimalen));
        laenge += static_cast<std::size_t>(dezimalen);
    }
    return laenge;
}

} // namespace

std::size_t ZahlTextIn(char* buf, double wert) {
    return Formatieren(buf, wert, DezimalenZahlText(std::fabs(wert)));
}

std::size_t GeoZahlTextIn(char* buf, double wert) {
    return Formatieren(buf, wert, DezimalenGeoZahlText(std::fabs(wert)));
}

std::string ZahlText(double wert) {
    char buf[ZahlTextMax];
    return std::string(buf, ZahlTextIn(buf, wert));
}

std::string GeoZahlText(double wert) {
    char buf[ZahlTextMax];
    return std::string(buf, GeoZahlTextIn(buf, wert));
}

std::string WertZeile(std::string_view text, bool dezimalPunkt) {
    if (!dezimalPunkt) return std::string(text);
    std::string zeile;
    zeile.reserve(text.size() + 2);
    if (text.empty() || text[0] != '-') zeile += ' ';
    zeile += text;
    zeile += ' ';
    return zeile;
}

std::string GanzzahlZeile(long long wert) {
    std::string zeile = wert < 0 ? "" : " ";
    zeile += std::to_string(wert);
    zeile += ' ';
    return zeile;
}

namespace {

bool IstZiffer(char c) { return c >= '0' && c <= '9'; }

// Significant digits handed to from_chars. A double is decided by at most 768 significant
// digits; more are cut, and a last digit 1 stands for the non-zero rest, so the rounding
// comes out as with all digits.
constexpr std::size_t MaxZiffern = 800;
// An exponent beyond this gives infinity or zero with any mantissa a file can hold.
constexpr std::int64_t MaxExponent = 100000000;

// Room for the digits, "e" and the exponent.
constexpr std::size_t ZiffernPuffer = MaxZiffern + 24;

// The decimal number of the n digits in puffer (no leading zeros, at least one, at most
// MaxZiffern) times 10^exponent, rounded to the nearest double.
double ZiffernWert(char (&puffer)[ZiffernPuffer], std::size_t n, std::int64_t exponent) {
    const std::int64_t groessenordnung = exponent + static_cast<std::int64_t>(n) - 1;
    // The largest double is below 1e309, the smallest above zero 4.9e-324.
    if (groessenordnung > 309) return std::numeric_limits<double>::infinity();
    if (groessenordnung < -325) return 0.0;
    puffer[n++] = 'e';
    const auto [ende, ec] = std::to_chars(puffer + n, puffer + ZiffernPuffer, exponent);
    (void)ec;
    double wert = 0.0;
    const auto [p, fehler] = std::from_chars(puffer, ende, wert);
    (void)p;
    if (fehler == std::errc::result_out_of_range)
        wert = groessenordnung > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return wert;
}

} // namespace

double ZahlLesen(std::string_view text, std::size_t& gelesen) {
    gelesen = 0;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negativ = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negativ = text[i] == '-';
        ++i;
    }
    const std::size_t ganzAnfang = i;
    while (i < text.size() && IstZiffer(text[i])) ++i;
    std::string_view ganz = text.substr(ganzAnfang, i - ganzAnfang);
    std::string_view bruch;
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < text.size() && IstZiffer(text[j])) ++j;
        if (!ganz.empty() || j > i + 1) {
            bruch = text.substr(i + 1, j - i - 1);
            i = j;
        }
    }
    if (ganz.empty() && bruch.empty()) return 0.0;
    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        bool expNegativ = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            expNegativ = text[j] == '-';
            ++j;
        }
        std::size_t k = j;
        while (k < text.size() && IstZiffer(text[k])) {
            // Leading zeros add nothing; a value past the bound stays there.
            exponent = std::min(exponent * 10 + (text[k] - '0'), MaxExponent);
            ++k;
        }
        if (k > j) {
            if (expNegativ) exponent = -exponent;
            i = k;
        } else {
            exponent = 0;
        }
    }
    gelesen = i;

    // The digits of both parts as one whole number: the point moves into the exponent. Only
    // the significant digits are copied, and no more than the rounding can need.
    exponent -= static_cast<std::int64_t>(bruch.size());
    const std::size_t anzahl = ganz.size() + bruch.size();
    auto ziffer = [&](std::size_t k) { return k < ganz.size() ? ganz[k] : bruch[k - ganz.size()]; };
    std::size_t erste = 0;
    while (erste < anzahl && ziffer(erste) == '0') ++erste;
    if (erste == anzahl) return negativ ? -0.0 : 0.0;
    std::size_t letzte = anzahl - 1;
    while (ziffer(letzte) == '0') --letzte;
    exponent += static_cast<std::int64_t>(anzahl - 1 - letzte);
    char puffer[ZiffernPuffer];
    std::size_t n = 0;
    const std::size_t signifikant = letzte - erste + 1;
    const bool gekuerzt = signifikant > MaxZiffern;
    const std::size_t bis = gekuerzt ? erste + MaxZiffern - 1 : letzte + 1;
    for (std::size_t k = erste; k < bis; ++k) puffer[n++] = ziffer(k);
    if (gekuerzt) {
        puffer[n++] = '1';
        exponent += static_cast<std::int64_t>(signifikant - MaxZiffern);
    }
    const double wert = ZiffernWert(puffer, n, exponent);
    return negativ ? -wert : wert;
}

double ZahlLesen(std::string_view text) {
    std::size_t gelesen = 0;
    return ZahlLesen(text, gelesen);
}

std::optional<double> ZahlLesenEndlich(std::string_view text) {
    std::size_t gelesen = 0;
    double wert = ZahlLesen(text, gelesen);
    if (gelesen == 0 || !std::isfinite(wert)) return std::nullopt;
    return wert;
}

} // namespace konturo
