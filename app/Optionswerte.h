// What the options window decides without a window: the curve steps behind its list and whether
// its "OK" makes the geometry again.
#pragma once

#include <array>

namespace konturo {

struct Sitzung;

// SplineT of the list entries in list order (language texts 144, 145 and 146).
inline constexpr std::array<double, 3> SplineTeilungen{0.05, 0.01, 0.1};

// The list entry whose step equals splineT exactly, or -1: a step set elsewhere (0.02, say)
// selects no entry and stays until the user chooses one.
int SplineTeilungIndex(double splineT);

// "OK" of the options window. A change that needs new geometry (neuBerechnen) runs the current
// text conversion or graphic import again, but only when the store holds geometry; true when it
// ran.
bool OptionenUebernehmen(Sitzung& s, bool neuBerechnen);

} // namespace konturo
