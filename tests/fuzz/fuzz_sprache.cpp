// The language file: the start language and the numbered texts of the chosen language.
#include "FuzzZiel.h"

#include "app/Sprache.h"
#include "text/Textquelle.h"

using namespace konturo;

KONTURO_FUZZ_ZIEL(sprache) {
    Sitzung& s = fuzz::LeichteSitzung(0);
    const std::string_view bytes = fuzz::Text(daten, groesse);
    std::string grund;
    if (!StartSpracheText(s, bytes, "Konturo.dat", grund)) {
        fuzz::Pruefen(!grund.empty(), "a refused start language without a reason");
        return 0;
    }
    if (!SpracheLadenText(s, bytes, "Konturo.dat", grund)) {
        fuzz::Pruefen(!grund.empty(), "a refused language file without a reason");
        return 0;
    }
    for (const std::string& t : s.fenster.Texte)
        fuzz::Pruefen(IstUtf8(t), "a language text is no UTF-8");
    return 0;
}
