// Number text for the writers (rounding table, significant digits, exponent form) and the
// locale-independent number reader.
#include "geometry/AllgLesen.h"

#include <charconv>
#include <cmath>
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
        while (anzahl > 1 && ziffern[anzahl - 1] == '0') --anzahl;
        int exponent = 0;
        std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), ende, exponent);
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

double ZahlLesen(std::string_view text, std::size_t& gelesen) {
    gelesen = 0;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    // Collect sign, mantissa and exponent into a normalised copy for from_chars.
    char puffer[512];
    std::size_t n = 0;
    auto anhaengen = [&](char c) {
        if (n < sizeof puffer - 1) puffer[n++] = c;
    };
    bool negativ = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negativ = text[i] == '-';
        ++i;
    }
    std::size_t ziffern = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        anhaengen(text[i++]);
        ++ziffern;
    }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        std::size_t nachkomma = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            ++j;
            ++nachkomma;
        }
        if (ziffern + nachkomma > 0) {
            anhaengen('.');
            for (std::size_t k = i + 1; k < j; ++k) anhaengen(text[k]);
            ziffern += nachkomma;
            i = j;
        }
    }
    if (ziffern == 0) return 0.0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        bool expNegativ = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            expNegativ = text[j] == '-';
            ++j;
        }
        std::size_t k = j;
        while (k < text.size() && text[k] >= '0' && text[k] <= '9') ++k;
        if (k > j) {
            anhaengen('e');
            if (expNegativ) anhaengen('-');
            for (std::size_t m = j; m < k && m < j + 6; ++m) anhaengen(text[m]);
            if (k - j > 6) anhaengen('9'); // an exponent this long is out of range either way
            i = k;
        }
    }
    gelesen = i;
    double wert = 0.0;
    auto [ende, ec] = std::from_chars(puffer, puffer + n, wert);
    (void)ende;
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone: decide between overflow and underflow.
        const char* e = static_cast<const char*>(std::memchr(puffer, 'e', n));
        bool klein = e && e[1] == '-';
        wert = klein ? 0.0 : std::numeric_limits<double>::infinity();
    }
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
