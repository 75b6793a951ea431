// Re-run of the current text conversion or graphic import.
#include "app/Umwandlung.h"

#include "app/Sitzung.h"
#include "import/EPS_Einlesen.h"
#include "text/FontAuslesen.h"

namespace konturo {

void UmwandlungWiederholen(Sitzung& s) {
    if (s.fenster.TextModus) {
        TextUmwandeln(s);
    } else {
        s.fenster.ParameterZeigen = false;
        EPSEinlesen(s);
    }
}

} // namespace konturo
