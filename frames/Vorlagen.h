// Frames: the frame step after every conversion or import, the frame type choice, the frame menu
// commands and the reading of ToPs GEO/VLG frame templates.
#pragma once

#include <cstdint>
#include <istream>

namespace konturo {

struct Sitzung;
struct Speicher;

// The four choices of the frame parameters window.
enum class RahmenOption { Automatisch, Fix, ToPsVorlage, DxfVorlage };

// Appends the frame of the current frame type (setting Rtyp) to the element store as one further
// contour and extends the bounding box. Type 0 appends nothing; types 1 to 4 append nothing when
// the store is empty (its bounding box then describes no geometry).
void RahmenAnfuegen(Sitzung& s);

// Turns the window's option into Rtyp (only while a frame is switched on, Rtyp != 0) and reads the
// template for the template options.
void RahmenTypSetzen(Sitzung& s, RahmenOption option);

// Reads the template of the current frame type: the GEO/VLG template for Rtyp 5, the DXF template
// for Rtyp 6 (both from RVorlage); other types read nothing.
void RahmenVorlageLesen(Sitzung& s);

// "OK" of the frame parameters window: RahmenTypSetzen, then the current conversion is re-run when
// a frame is on. Returns true when it re-ran.
bool RahmenParameterUebernehmen(Sitzung& s, RahmenOption option);

// Frame menu "ein" (Rtyp 3) and "aus" (Rtyp 0). Each re-runs the current conversion when the
// store holds at least one element and returns true when it did. The menu checks follow Rtyp.
bool RahmenEin(Sitzung& s);
bool RahmenAus(Sitzung& s);

// Empties the template elements and the template point table.
void VorlageLeeren(Speicher& sp);

// A frame template larger than this is no frame; the bound keeps a wrong file from filling the
// memory with template elements.
inline constexpr std::uintmax_t MaxVorlageDatei = std::uintmax_t{256} << 20;

// Reads the ToPs GEO/VLG template named by the setting RVorlage into VorlageElemente. An empty
// path, a missing file or one that is no regular file of at most MaxVorlageDatei bytes leaves the
// template empty.
void GeoVorlageLesen(Sitzung& s);
// The same from an open stream (the template is emptied first).
void GeoVorlageLesen(Sitzung& s, std::istream& ein);

} // namespace konturo
