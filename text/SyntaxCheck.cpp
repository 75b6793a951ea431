// Keystroke filters and number field conversions of the number fields.
#include "text/SyntaxCheck.h"

#include "geometry/AllgLesen.h"

#include <cmath>
#include <cstdio>

namespace konturo {

namespace {

bool IstZiffer(std::int32_t taste) { return taste >= '0' && taste <= '9'; }

// The separator rule shared by the decimal filters; true when the key was a separator.
bool TrennerErsetzen(std::int32_t& taste, bool dezimalPunkt) {
    if (taste != TastePunkt && taste != TasteKomma) return false;
    taste = dezimalPunkt ? TastePunkt : TasteKomma;
    return true;
}

bool IstLeer(char c) { return c == ' ' || c == '\t'; }

} // namespace

void CheckKommaZahl(std::int32_t& Taste, bool dezimalPunkt) {
    if (TrennerErsetzen(Taste, dezimalPunkt)) return;
    if (Taste != TasteRueck && Taste != TasteMinus && !IstZiffer(Taste)) Taste = 0;
}

void CheckPlusMinusKommaZahl(std::int32_t& Taste, bool dezimalPunkt) {
    CheckKommaZahl(Taste, dezimalPunkt);
}

void KommaZahlTaste(std::int32_t& Taste, bool dezimalPunkt) {
    if (TrennerErsetzen(Taste, dezimalPunkt)) return;
    if (Taste != TasteRueck && Taste != Taste187 && !IstZiffer(Taste)) Taste = 0;
}

void ZiffernTaste(std::int32_t& Taste) {
    if (Taste != TasteRueck && !IstZiffer(Taste)) Taste = 0;
}

std::optional<double> ZahlLokalLesen(std::string_view text, bool dezimalPunkt) {
    const char trenner = dezimalPunkt ? '.' : ',';
    std::size_t a = 0, e = text.size();
    while (a < e && IstLeer(text[a])) ++a;
    while (e > a && IstLeer(text[e - 1])) --e;
    std::string normal; // the number with "." for the locale-independent reader
    std::size_t i = a;
    if (i < e && (text[i] == '-' || text[i] == '+')) normal += text[i++];
    std::size_t ziffern = 0;
    bool trennerGesehen = false;
    for (; i < e; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            normal += c;
            ++ziffern;
        } else if (c == trenner && !trennerGesehen) {
            normal += '.';
            trennerGesehen = true;
        } else {
            break;
        }
    }
    if (ziffern == 0) return std::nullopt;
    if (i < e && (text[i] == 'e' || text[i] == 'E')) {
        normal += 'E';
        ++i;
        if (i < e && (text[i] == '-' || text[i] == '+')) normal += text[i++];
        std::size_t expZiffern = 0;
        for (; i < e && text[i] >= '0' && text[i] <= '9'; ++i, ++expZiffern) normal += text[i];
        if (expZiffern == 0) return std::nullopt;
    }
    if (i != e) return std::nullopt;
    const double wert = ZahlLesen(normal);
    if (!std::isfinite(wert)) return std::nullopt;
    return wert;
}

std::optional<double> FeldZahl(std::string_view text, bool dezimalPunkt) {
    if (text.empty()) return std::nullopt;
    if (!dezimalPunkt) return ZahlLokalLesen(text, false);
    const double wert = ZahlLesen(text);
    if (!std::isfinite(wert)) return std::nullopt;
    return wert;
}

std::string ZahlAnzeigen(double wert, bool dezimalPunkt) {
    if (!std::isfinite(wert)) return "0";
    if (wert == 0) return "0"; // also for -0
    char puffer[48];
    std::snprintf(puffer, sizeof puffer, "%.15g", wert);
    std::string text = puffer;
    // snprintf follows LC_NUMERIC; normalise to "." first, then write the user's separator.
    for (char& c : text) {
        if (c == ',') c = '.';
    }
    const auto ePos = text.find('e');
    if (ePos != std::string::npos) {
        // "1e-05" as "1E-05"; the exponent keeps at least two digits.
        text[ePos] = 'E';
    }
    if (!dezimalPunkt) {
        for (char& c : text) {
            if (c == '.') c = ',';
        }
    }
    return text;
}

} // namespace konturo
