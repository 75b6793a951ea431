// The options window's list steps and its "OK" rule.
#include "app/Optionswerte.h"

#include "app/Sitzung.h"
#include "app/Umwandlung.h"

namespace konturo {

int SplineTeilungIndex(double splineT) {
    for (std::size_t i = 0; i < SplineTeilungen.size(); ++i) {
        // Exact: the list only ever stores these literals, so anything else came from elsewhere.
        if (SplineTeilungen[i] == splineT) return static_cast<int>(i);
    }
    return -1;
}

bool OptionenUebernehmen(Sitzung& s, bool neuBerechnen) {
    if (!neuBerechnen || s.speicher.ElementAnzahl() < 1) return false;
    UmwandlungWiederholen(s);
    return true;
}

} // namespace konturo
