// The batch file of a series: the text of each line, the choice of encoding, and writing the
// lines to a stream or a file.
#pragma once

#include "serienmacher/DB_System.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>

namespace konturo::serienmacher {

// The decimal text of n; with leading zeros, "0" characters go in until the text is as long as
// the text of endNr. The zeros of a negative number follow its sign ("-05").
std::string NummerText(std::int64_t n, std::int32_t endNr, bool fuehrendeNullen);

// Line n of the series as UTF-8, without line end: VorText + number + NachText, with a "|"
// between every two code points when Senkrecht is set.
std::string ZeilenText(const Serie& serie, std::int64_t n);

// Lines of the series; 0 when EndNr < StartNr. Up to 2^32 for the full 32-bit range.
std::int64_t ZeilenAnzahl(const Serie& serie);

// Windows-1252 when every character of the file has a byte there and those bytes do not also
// read as valid UTF-8 with another meaning (the converter takes valid UTF-8 as UTF-8); else UTF-8
// without byte order mark.
enum class Kodierung { Cp1252, Utf8 };
Kodierung KodierungWaehlen(const Serie& serie);

// The value a progress bar with range 0..balkenMax shows after `fertig` of `gesamt` lines.
int FortschrittWert(std::int64_t fertig, std::int64_t gesamt, int balkenMax);

enum class Ergebnis {
    Ok,
    EndeVorStart,   // EndNr < StartNr: nothing written, no file created
    Zeilenumbruch,  // VorText or NachText holds CR or LF, which would split a line
    NichtGeoeffnet, // the file could not be created
    Schreibfehler,  // a write failed (disk full, ...); the lines before it stay
    Abgebrochen     // the progress callback asked to stop; the lines before it stay
};

// Checks what can be checked before a file is opened.
Ergebnis Pruefen(const Serie& serie);

// Called after each line with the number of lines written so far; returning false stops.
using Fortschritt = std::function<bool(std::int64_t fertig)>;

// Writes every line of the series, CR LF after each, in the chosen encoding. Does not check the
// series (see Pruefen).
Ergebnis BatchSchreiben(std::ostream& aus, const Serie& serie, const Fortschritt& fortschritt = {});

// Checks the series, then creates or truncates the file and writes it.
Ergebnis BatchDateiErzeugen(const std::filesystem::path& datei, const Serie& serie,
                            const Fortschritt& fortschritt = {});

} // namespace konturo::serienmacher
