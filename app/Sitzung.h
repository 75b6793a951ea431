// The session: every piece of process-wide state of one running converter, owned by the program
// and passed to the operations, so a test starts from a fresh one.
#pragma once

#include "app/BatchVerarbeitung.h"
#include "app/DB_System.h"
#include "app/UiDienste.h"
#include "display/Fensterzustand.h"
#include "geometry/Variablen.h"
#include "text/Textzustand.h"

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

    UiDiensteKopflos kopflos{true};
};

} // namespace konturo
