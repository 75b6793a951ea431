// The writer-by-extension step shared by the export command, batch runs and konturo-cli: picks the
// output format from a file name and runs its writer on AusgabeDatei.
#pragma once

#include <string>

namespace konturo {

struct Sitzung;

enum class Schreibergebnis {
    Ok,
    NichtErstellt, // the file could not be created; nothing written, nothing shown
    Schreibfehler  // writing failed part-way; language text 122 shown, the part written stays
};

enum class Ausgabeformat { Keins, Dxf, Geo, Me10 };

// The format named by the last three characters of the path, compared in upper case: "DXF",
// "GEO" and "VLG" (GEO bytes), "INP" and "M10" (ME10 macro). Anything else gives Keins.
Ausgabeformat FormatNachEndung(const std::string& pfad);

// The path as the export writes it: a name without one of the endings above gets the ending of
// the export dialog's type (1 ".dxf", 2 ".geo", 3 ".vlg", 4 ".inp"), so the proposed name, which has
// none, is written in the chosen type instead of not at all.
std::string MitEndungDesTyps(const std::string& pfad, int typ);

// Writes s.speicher.AusgabeDatei with the writer of the format. Keins writes nothing and gives
// NichtErstellt. Callers check ElementAnzahl >= 1 before, as the export command does.
Schreibergebnis AusgabeSchreiben(Sitzung& s, Ausgabeformat f);

} // namespace konturo
