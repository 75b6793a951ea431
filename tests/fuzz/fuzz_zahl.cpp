// The number reader of every file format, against the C library's exact reading, and the number
// text of the writers read back.
#include "FuzzZiel.h"

#include "geometry/AllgLesen.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

using namespace konturo;

namespace {

bool GleichesBitmuster(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

KONTURO_FUZZ_ZIEL(zahl) {
    const std::string_view text = fuzz::Text(daten, groesse);
    std::size_t gelesen = 0;
    const double wert = ZahlLesen(text, gelesen);
    fuzz::Pruefen(gelesen <= text.size(), "more characters used than there are");
    fuzz::Pruefen(!std::isnan(wert), "a number read as NaN");
    if (gelesen == 0) {
        fuzz::Pruefen(wert == 0, "no number, yet not 0");
        return 0;
    }
    // strtod reads the same characters exactly (the C locale: "." is the decimal point); only
    // the exponent letter D is the reader's own.
    std::string kopie(text.substr(0, gelesen));
    for (char& c : kopie)
        if (c == 'D' || c == 'd') c = 'e';
    char* ende = nullptr;
    const double genau = std::strtod(kopie.c_str(), &ende);
    fuzz::Pruefen(ende == kopie.c_str() + kopie.size(), "the reader used other characters");
    fuzz::Pruefen(GleichesBitmuster(wert, genau), "the number is not the nearest double");
    if (std::isfinite(wert)) {
        const std::string geschrieben = ZahlText(wert);
        fuzz::Pruefen(ZahlText(ZahlLesen(geschrieben)) == geschrieben,
                      "a written number does not read back to the same text");
    }
    return 0;
}
