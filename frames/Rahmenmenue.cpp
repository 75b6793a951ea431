// The frame commands of the main window and of the frame parameters window: switch the frame on
// or off, accept the window's choice, and rebuild the geometry with the new frame.
#include "frames/Vorlagen.h"

#include "app/Sitzung.h"
#include "app/Umwandlung.h"

namespace konturo {

bool RahmenParameterUebernehmen(Sitzung& s, RahmenOption option) {
    RahmenTypSetzen(s, option);
    if (s.einstellungen.Rtyp == 0) return false;
    UmwandlungWiederholen(s);
    return true;
}

namespace {

bool RahmenSchalten(Sitzung& s, std::uint8_t typ) {
    s.einstellungen.Rtyp = typ;
    if (s.speicher.ElementAnzahl() < 1) return false;
    UmwandlungWiederholen(s);
    return true;
}

} // namespace

bool RahmenEin(Sitzung& s) { return RahmenSchalten(s, 3); }

bool RahmenAus(Sitzung& s) { return RahmenSchalten(s, 0); }

} // namespace konturo
