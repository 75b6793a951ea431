// Frame step (types 1 to 6 arrive with the frame generation).
#include "frames/Vorlagen.h"

#include "app/Sitzung.h"

namespace konturo {

void RahmenAnfuegen(Sitzung& s) {
    if (s.einstellungen.Rtyp == 0) return;
}

} // namespace konturo
