// Headless UI services for tests and the command line.
#include "app/UiDienste.h"

#include <iostream>

namespace konturo {

void UiDiensteKopflos::FortschrittMaximum(std::int32_t maximum) { fortschrittMaximum = maximum; }

void UiDiensteKopflos::FortschrittWert(std::int32_t wert) { fortschrittWert = wert; }

void UiDiensteKopflos::BeschaeftigtSetzen() {
    beschaeftigt = true;
    aufrufe.push_back({"BeschaeftigtSetzen", 0, {}});
}

void UiDiensteKopflos::BereitSetzen() {
    beschaeftigt = false;
    aufrufe.push_back({"BereitSetzen", 0, {}});
}

void UiDiensteKopflos::AbbruchKnopf(bool aktiv) { aufrufe.push_back({"AbbruchKnopf", aktiv, {}}); }

void UiDiensteKopflos::Sanduhr(bool an) { aufrufe.push_back({"Sanduhr", an, {}}); }

void UiDiensteKopflos::Meldung(int textNr, const std::string& text) {
    meldungen.push_back(textNr);
    aufrufe.push_back({"Meldung", textNr, text});
    if (!still_) std::cerr << "konturo: " << text << '\n';
}

bool UiDiensteKopflos::JaNeinFrage(const std::string& frage) {
    aufrufe.push_back({"JaNeinFrage", antwort, frage});
    return antwort;
}

void UiDiensteKopflos::EreignisseVerarbeiten() {
    aufrufe.push_back({"EreignisseVerarbeiten", 0, {}});
    if (beiEreignissen) beiEreignissen(ereignisKontext);
}

void UiDiensteKopflos::Neuzeichnen() { aufrufe.push_back({"Neuzeichnen", 0, {}}); }

void UiDiensteKopflos::MenuesNachUmwandlung(bool textModus) {
    aufrufe.push_back({"MenuesNachUmwandlung", textModus, {}});
}

void UiDiensteKopflos::ImportParameterZeigen() {
    aufrufe.push_back({"ImportParameterZeigen", 0, {}});
}

} // namespace konturo
