// The DXF writer: the element store as a DXF release 12 file (header with limits, one line type,
// one layer, empty blocks, one LINE, ARC or CIRCLE per element, optional marker circles).
#pragma once

#include "output/Ausgabe.h"

#include <cstdint>
#include <ostream>

namespace konturo {

struct Sitzung;

// The DXF standard colour number 1 to 7 (red, yellow, green, cyan, blue, magenta, white) nearest
// to an RGB value by squared distance in RGB; a tie goes to the lower number. The marker circles'
// colour, from DXFWarnFarbe; its default RGB 255, 255, 124 gives 2 (yellow).
int DxfFarbNummer(std::int32_t rgb);

// Writes the whole DXF text to aus (CR LF lines). Sets AktElement to each element in turn, moves
// the progress bar every 20 elements and shows the hourglass while it runs. Stops at the first
// block the stream refuses; the caller sees that in the stream's state.
void DxfSchreiben(Sitzung& s, std::ostream& aus);
// The same into s.speicher.AusgabeDatei.
Schreibergebnis DxfSchreiben(Sitzung& s);

} // namespace konturo
