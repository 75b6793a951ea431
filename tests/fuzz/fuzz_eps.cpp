// PostScript, EPS and AI files through the whole import: start markers, line and stack reader,
// curve flattening, approximation into the element store.
#include "FuzzZiel.h"

#include "import/EPS_Einlesen.h"

using namespace konturo;

KONTURO_FUZZ_ZIEL(eps) {
    Sitzung& s = fuzz::NeueSitzung();
    s.fenster.TextModus = false;
    EPSEinlesenText(s, std::string(fuzz::Text(daten, groesse)), false);
    fuzz::Pruefen(fuzz::ElementeGueltig(s.speicher.Elemente),
                  "the element store holds an unknown kind or a number that is not finite");
    return 0;
}
