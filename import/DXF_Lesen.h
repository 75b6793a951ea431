// The DXF reader for frame templates: the layer table for layer colours and the entities LINE,
// ARC, CIRCLE, ELLIPSE, POLYLINE with VERTEX and SEQEND, and TEXT, read into VorlageElemente.
#pragma once

#include <cstdint>
#include <istream>

namespace konturo {

struct Sitzung;

// Empties the template (elements and template points) and reads the DXF file named by the setting
// RVorlage into it. An empty path, a missing file or one that is no regular file of at most
// MaxVorlageDatei bytes leaves the template empty. A file that ends
// early, or whose group code line is not a number, ends the reading; what was read stays.
void DXFVorlageLesen(Sitzung& s);
// The same from an open stream (the template is emptied first).
void DXFVorlageLesen(Sitzung& s, std::istream& ein);

// RGB value of a DXF colour number: 0 to 7 are the standard colours, every other number (256
// "by layer" and negative numbers included) is grey (124, 124, 124).
std::int32_t DXFFarbe(double farbNummer);

} // namespace konturo
