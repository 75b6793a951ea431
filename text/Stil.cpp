// Style names to style numbers.
#include "text/Stil.h"

#include "app/Sitzung.h"
#include "text/Textquelle.h"

#include <algorithm>
#include <cctype>

namespace konturo {

namespace {

std::string Klein(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The names of both languages, so a style stored or typed in the other language still counts,
// and the spellings of the command line.
constexpr const char* Namen[4][4] = {
    {"standard", "regular", "normal", nullptr},
    {"fett", "bold", nullptr, nullptr},
    {"kursiv", "italic", nullptr, nullptr},
    {"fett kursiv", "bold italic", "bold-italic", "fett-kursiv"},
};

} // namespace

int StilNummer(const Sitzung& s, const std::string& name) {
    const std::string k = Klein(name);
    if (k.empty()) return -1;
    for (int nr = 0; nr < 4; ++nr) {
        if (k == Klein(s.Text(140 + nr))) return nr;
        for (const char* n : Namen[nr])
            if (n != nullptr && k == n) return nr;
    }
    return -1;
}

void StilAnwenden(int nr, Zeichenformat& f) {
    f.Fett = nr == 1 || nr == 3;
    f.Kursiv = nr == 2 || nr == 3;
}

} // namespace konturo
