// Rich-text files: the reader and the text source its runs go into.
#include "FuzzZiel.h"

#include "text/RtfLesen.h"

#include <cmath>

using namespace konturo;

KONTURO_FUZZ_ZIEL(rtf) {
    const RtfText rtf = RtfLesen(fuzz::Text(daten, groesse));
    fuzz::Pruefen(rtf.Fehler.empty() || rtf.Laeufe.empty(), "a refused file kept text");
    for (const RtfLauf& lauf : rtf.Laeufe) {
        fuzz::Pruefen(IstUtf8(lauf.Text), "a run is no UTF-8");
        fuzz::Pruefen(std::isfinite(lauf.Format.Groesse) && lauf.Format.Groesse > 0,
                      "a run has no font size above 0");
        fuzz::Pruefen(IstUtf8(lauf.Format.Schriftart), "a font name is no UTF-8");
    }
    TextquelleKlartext quelle;
    RtfAnhaengen(rtf, quelle);
    fuzz::Pruefen(IstUtf8(quelle.KlarText()), "the text source's text is no UTF-8");
    return 0;
}
