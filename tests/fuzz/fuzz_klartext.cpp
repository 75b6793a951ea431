// Plain text files: the test for text, UTF-8 or Windows-1252, and the text source built from it.
#include "FuzzZiel.h"

#include "text/Textquelle.h"

using namespace konturo;

KONTURO_FUZZ_ZIEL(klartext) {
    const std::string bytes(fuzz::Text(daten, groesse));
    std::string text;
    if (!KlartextAusBytes(bytes, text)) {
        fuzz::Pruefen(!IstTextdatei(bytes), "a text file was refused");
        return 0;
    }
    fuzz::Pruefen(IstUtf8(text), "the text is no UTF-8");
    fuzz::Pruefen(Utf8Kodieren(Utf8Dekodieren(text)) == text,
                  "UTF-8 does not decode and encode back");
    const TextquelleKlartext quelle(text, Zeichenformat{});
    const std::string klar = quelle.KlarText();
    fuzz::Pruefen(IstUtf8(klar), "the text source's text is no UTF-8");
    // The source's text read again gives the same positions: line breaks became CR LF once.
    const TextquelleKlartext wieder(klar, Zeichenformat{});
    fuzz::Pruefen(wieder.Laenge() == quelle.Laenge() && wieder.KlarText() == klar,
                  "the text source's text does not read back to the same positions");
    return 0;
}
