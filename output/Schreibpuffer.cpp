// The file step of the writers.
#include "output/Schreibpuffer.h"

#include "app/Sitzung.h"

#include <fstream>

namespace konturo {

Schreibanzeige::Schreibanzeige(UiDienste& ui) : ui_(ui) { ui_.Sanduhr(true); }

Schreibanzeige::~Schreibanzeige() {
    ui_.FortschrittWert(0);
    ui_.Sanduhr(false);
}


Schreibergebnis InDateiSchreiben(Sitzung& s, const std::function<void(std::ostream&)>& schreiber) {
    const std::string pfad = s.speicher.AusgabeDatei;
    std::ofstream datei(pfad, std::ios::binary | std::ios::out | std::ios::trunc);
    if (!datei.is_open()) return Schreibergebnis::NichtErstellt;
    schreiber(datei);
    datei.flush();
    const bool gut = static_cast<bool>(datei);
    datei.close();
    if (!gut || datei.fail()) {
        s.Melden(122, " " + pfad);
        return Schreibergebnis::Schreibfehler;
    }
    return Schreibergebnis::Ok;
}

} // namespace konturo
