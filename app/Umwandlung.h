// The re-run of the current conversion: every change of frame, options or import parameters
// rebuilds the geometry, because the frame and the approximation are never stored apart from it.
#pragma once

namespace konturo {

struct Sitzung;

// Runs the text conversion again when the geometry came from text (TextModus), otherwise the
// graphic import of the current file without showing the import parameters window.
void UmwandlungWiederholen(Sitzung& s);

} // namespace konturo
