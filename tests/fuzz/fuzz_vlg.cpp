// ToPs GEO/VLG frame templates: the reader, the frame step copying the template, and the three
// writers writing the result.
#include "FuzzZiel.h"

#include "frames/Vorlagen.h"
#include "output/DXF_Ausgeben.h"
#include "output/GEO_Ausgeben.h"
#include "output/ME10_Ausgeben.h"

#include <sstream>

using namespace konturo;

KONTURO_FUZZ_ZIEL(vlg) {
    Sitzung& s = fuzz::NeueSitzung();
    std::istringstream ein{std::string(fuzz::Text(daten, groesse))};
    GeoVorlageLesen(s, ein);
    fuzz::Pruefen(fuzz::ElementeGueltig(s.speicher.VorlageElemente, true),
                  "the template holds an unknown kind or a number that is not finite");
    s.einstellungen.Rtyp = 5;
    RahmenAnfuegen(s);
    fuzz::Pruefen(fuzz::ElementeGueltig(s.speicher.Elemente),
                  "the frame holds an unknown kind or a number that is not finite");
    if (s.speicher.ElementAnzahl() > 0) {
        std::ostringstream dxf, geo, me10;
        DxfSchreiben(s, dxf);
        GeoSchreiben(s, geo);
        Me10Schreiben(s, me10);
    }
    return 0;
}
