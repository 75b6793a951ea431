// Session helpers.
#include "app/Sitzung.h"

namespace konturo {

const std::string& Sitzung::Text(int nr) const {
    static const std::string leer;
    if (nr < 0 || nr >= static_cast<int>(fenster.Texte.size())) return leer;
    return fenster.Texte[static_cast<std::size_t>(nr)];
}

void Sitzung::Melden(int nr, const std::string& zusatz) {
    std::string text = Text(nr);
    if (text.empty()) text = "Meldung " + std::to_string(nr);
    ui->Meldung(nr, text + zusatz);
}

void Sitzung::DateifehlerMelden(Dateifehler fehler, const std::string& pfad,
                                std::uintmax_t grenze) {
    int grundNr = 0;
    switch (fehler) {
    case Dateifehler::Keiner:
        return;
    case Dateifehler::Fehlt:
        Melden(120, " " + pfad);
        return;
    case Dateifehler::Ordner:
        grundNr = 14;
        break;
    case Dateifehler::KeineDatei:
        grundNr = 16;
        break;
    case Dateifehler::KeinZugriff:
        grundNr = 17;
        break;
    case Dateifehler::ZuGross:
        grundNr = 18;
        break;
    case Dateifehler::Lesefehler:
        grundNr = 19;
        break;
    }
    // Without the language text the English reason stands in, so the reason is never lost.
    std::string grund = Text(grundNr);
    if (grund.empty())
        grund = DateifehlerText(fehler, grenze);
    else if (fehler == Dateifehler::ZuGross)
        grund += " " + std::to_string(grenze >> 20) + " MiB";
    Melden(121, " " + pfad + " (" + grund + ")");
}

} // namespace konturo
