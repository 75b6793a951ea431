// Fernlader's HTTP response reading, fed as a socket delivers it: the response in blocks of
// varying size, then the close. However the bytes are cut into blocks, the body handed on, the
// status and the outcome must be those of the response read in one block.
#include "FuzzZiel.h"

#include "fernlader/HttpAntwort.h"

#include <algorithm>

using fernlader::HttpAntwort;

namespace {

struct Ergebnis {
    std::string koerper;
    HttpAntwort::Stand stand;
    int status;
    std::int64_t laenge;
    std::int64_t koerperBytes;
    std::string fehler;

    bool operator==(const Ergebnis&) const = default;
};

// Reads the response in blocks whose sizes follow a small generator seeded by `saat`; saat 0
// gives one block.
Ergebnis Lesen(std::string_view antwort, unsigned saat) {
    HttpAntwort a;
    Ergebnis e;
    const HttpAntwort::KoerperSenke senke = [&e](std::string_view d) { e.koerper.append(d); };
    unsigned zustand = saat;
    while (!antwort.empty()) {
        std::size_t n = antwort.size();
        if (saat != 0) {
            zustand = zustand * 1103515245u + 12345u;
            const unsigned wahl = (zustand >> 16) & 0xFF;
            n = wahl < 128 ? 1 + wahl % 8 : wahl < 240 ? 1 + wahl : 4096;
        }
        n = std::min(n, antwort.size());
        a.Aufnehmen(antwort.substr(0, n), senke);
        antwort.remove_prefix(n);
    }
    a.Schliessen();
    e.stand = a.Zustand();
    e.status = a.Status();
    e.laenge = a.Laenge();
    e.koerperBytes = a.KoerperBytes();
    e.fehler = a.Fehler();
    return e;
}

} // namespace

KONTURO_FUZZ_ZIEL(http) {
    if (groesse == 0) return 0;
    const unsigned saat = daten[0] | 1u;
    const std::string_view antwort = konturo::fuzz::Text(daten + 1, groesse - 1);
    const Ergebnis ganz = Lesen(antwort, 0);
    const Ergebnis stuecke = Lesen(antwort, saat);
    konturo::fuzz::Pruefen(static_cast<std::int64_t>(ganz.koerper.size()) == ganz.koerperBytes,
                           "the body bytes counted are not those handed on");
    konturo::fuzz::Pruefen(ganz.koerper.size() <= antwort.size(),
                           "more body bytes than the response holds");
    konturo::fuzz::Pruefen(ganz.fehler.empty() == (ganz.stand == HttpAntwort::Stand::Fertig),
                           "an error without a broken or cut-off response, or the reverse");
    if (ganz.stand == HttpAntwort::Stand::Fertig && ganz.laenge >= 0)
        konturo::fuzz::Pruefen(ganz.koerperBytes == ganz.laenge,
                               "a complete body of another length than Content-Length");
    konturo::fuzz::Pruefen(stuecke == ganz, "the response reads otherwise when cut into blocks");
    return 0;
}
