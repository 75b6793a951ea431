// Frames: the frame step after every conversion or import, the frame type choice and the reading
// of ToPs GEO/VLG frame templates.
#pragma once

namespace konturo {

struct Sitzung;

// Appends the frame of the current frame type (setting Rtyp) to the element store.
void RahmenAnfuegen(Sitzung& s);

} // namespace konturo
