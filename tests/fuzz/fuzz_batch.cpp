// Batch files: the entries and the file names made from them.
#include "FuzzZiel.h"

#include "app/BatchVerarbeitung.h"
#include "text/Textquelle.h"

using namespace konturo;

KONTURO_FUZZ_ZIEL(batch) {
    const std::vector<std::string> zeilen = BatchZeilenLesen(fuzz::Text(daten, groesse));
    for (const std::string& eintrag : zeilen) {
        fuzz::Pruefen(eintrag.find_first_not_of(' ') != std::string::npos, "a blank entry");
        fuzz::Pruefen(eintrag.find('|') == std::string::npos, "a \"|\" stayed in an entry");
        fuzz::Pruefen(IstUtf8(eintrag), "an entry is no UTF-8");
        const std::string name = BatchName(eintrag);
        fuzz::Pruefen(name.find_first_of("/\\+#<>| \r\n") == std::string::npos,
                      "a file name keeps a separator, blank or line break");
    }
    return 0;
}
