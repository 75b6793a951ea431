// Format choice by file extension and the dispatch to the three writers.
#include "output/Ausgabe.h"

#include "output/DXF_Ausgeben.h"
#include "output/GEO_Ausgeben.h"
#include "output/ME10_Ausgeben.h"

#include <algorithm>
#include <cctype>

namespace konturo {

Ausgabeformat FormatNachEndung(const std::string& pfad) {
    if (pfad.size() < 3) return Ausgabeformat::Keins;
    std::string endung = pfad.substr(pfad.size() - 3);
    for (char& c : endung) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (endung == "DXF") return Ausgabeformat::Dxf;
    if (endung == "GEO" || endung == "VLG") return Ausgabeformat::Geo;
    if (endung == "INP" || endung == "M10") return Ausgabeformat::Me10;
    return Ausgabeformat::Keins;
}

std::string MitEndungDesTyps(const std::string& pfad, int typ) {
    if (FormatNachEndung(pfad) != Ausgabeformat::Keins) return pfad;
    constexpr const char* Endungen[] = {".dxf", ".geo", ".vlg", ".inp"};
    return pfad + Endungen[std::clamp(typ, 1, 4) - 1];
}

Schreibergebnis AusgabeSchreiben(Sitzung& s, Ausgabeformat f) {
    switch (f) {
    case Ausgabeformat::Dxf:
        return DxfSchreiben(s);
    case Ausgabeformat::Geo:
        return GeoSchreiben(s);
    case Ausgabeformat::Me10:
        return Me10Schreiben(s);
    case Ausgabeformat::Keins:
        break;
    }
    return Schreibergebnis::NichtErstellt;
}

} // namespace konturo
