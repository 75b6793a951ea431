// PDF files: the content reader with inflate, then the PostScript reader and the approximation
// over what it extracted.
#include "FuzzZiel.h"

#include "import/EPS_Einlesen.h"
#include "import/PDFEinlesen.h"

using namespace konturo;

namespace {

// Far below the program's bound: an input of a few kilobytes can still reach it with a deflate
// bomb, and a run spends its time on the readers instead of on inflating zeros.
constexpr std::size_t EntpackGrenze = std::size_t{4} << 20;

} // namespace

KONTURO_FUZZ_ZIEL(pdf) {
    PDFBefund befund;
    std::string inhalt = PDFInhaltLesen(fuzz::Text(daten, groesse), EntpackGrenze, &befund);
    fuzz::Pruefen(inhalt.size() <= EntpackGrenze, "the inflated text exceeds its bound");
    Sitzung& s = fuzz::NeueSitzung();
    s.fenster.TextModus = false;
    // Already extracted: the PostScript reader reads it as the text of a PDF file without the
    // start marker question (every question is answered Yes).
    EPSEinlesenText(s, std::move(inhalt), false);
    fuzz::Pruefen(fuzz::ElementeGueltig(s.speicher.Elemente),
                  "the element store holds an unknown kind or a number that is not finite");
    return 0;
}
