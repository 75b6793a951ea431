// The session: every piece of process-wide state of one running converter, owned by the program
// and passed to the operations, so a test starts from a fresh one.
#pragma once

#include "app/BatchVerarbeitung.h"
#include "app/DB_System.h"
#include "app/UiDienste.h"
#include "display/Fensterzustand.h"
#include "geometry/Umriss.h"
#include "geometry/Variablen.h"
#include "output/FSO_Funktionen.h"
#include "text/Textzustand.h"

#include <cstdint>
#include <memory>

namespace konturo {

class GlyphGeraet;
class Textquelle;

struct Sitzung {
    Sitzung() = default;
    Sitzung(const Sitzung&) = delete;
    Sitzung& operator=(const Sitzung&) = delete;

    Speicher speicher;
    Einstellungen einstellungen;
    Fensterzustand fenster;
    Textzustand text;
    Batchzustand batch;
    // The true outline of the last text conversion or graphic import, for the economy fitting,
    // the deviation report and the repair.
    Umriss umriss;

    // Platform seams; the program sets them, a test may replace them.
    UiDienste* ui = &kopflos;
    GlyphGeraet* glyphGeraet = nullptr;
    Textquelle* textquelle = nullptr;
    // The glyph device the text conversion creates for itself when glyphGeraet is not set.
    std::shared_ptr<GlyphGeraet> eigenesGlyphGeraet;

    // Language text nr (empty when the language file did not give it).
    const std::string& Text(int nr) const;
    // Shows language text nr, followed by zusatz, in a message box through the UI services.
    void Melden(int nr, const std::string& zusatz = "");
    // Says why the file at pfad was not read: text 120 with the path for a missing file, text 121
    // with the path and the reason (texts 14 and 16 to 19) for any other.
    void DateifehlerMelden(Dateifehler fehler, const std::string& pfad, std::uintmax_t grenze);

    UiDiensteKopflos kopflos{true};
};

} // namespace konturo
