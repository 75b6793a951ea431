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

} // namespace konturo
