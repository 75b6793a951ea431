// Start values: the first values of every process-wide value that is not a setting, set once
// after the settings are loaded. The main window sets its menu checks from the same values.
#pragma once

namespace konturo {

struct Sitzung;

void StartwerteSetzen(Sitzung& s);

} // namespace konturo
