// Loading and saving the four stored values of a series.
#include "serienmacher/DB_System.h"

#include "geometry/AllgLesen.h"

#include <cmath>
#include <limits>
#include <optional>

namespace konturo::serienmacher {

namespace {

std::optional<std::int32_t> GespeicherteZahl(const std::string& text) {
    std::size_t gelesen = 0;
    const double wert = std::nearbyint(ZahlLesen(text, gelesen));
    if (gelesen == 0 || !std::isfinite(wert)) return std::nullopt;
    if (wert < std::numeric_limits<std::int32_t>::min() ||
        wert > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(wert);
}

void ZahlLaden(EinstellungenSpeicher& speicher, const char* schluessel, std::int32_t& wert) {
    if (const auto text = speicher.Lesen(Abschnitt, schluessel)) {
        if (const auto zahl = GespeicherteZahl(*text)) wert = *zahl;
    }
}

} // namespace

Serie EinstellungenLaden(EinstellungenSpeicher& speicher) {
    Serie serie;
    if (auto t = speicher.Lesen(Abschnitt, "VorText")) serie.VorText = std::move(*t);
    ZahlLaden(speicher, "StartNr", serie.StartNr);
    ZahlLaden(speicher, "EndNr", serie.EndNr);
    if (auto t = speicher.Lesen(Abschnitt, "NachText")) serie.NachText = std::move(*t);
    return serie;
}

bool EinstellungenSpeichern(EinstellungenSpeicher& speicher, const Serie& serie) {
    // Every key is attempted even after a failure, so as much as possible is kept.
    bool ok = speicher.Schreiben(Abschnitt, "VorText", serie.VorText);
    ok = speicher.Schreiben(Abschnitt, "StartNr", std::to_string(serie.StartNr)) && ok;
    ok = speicher.Schreiben(Abschnitt, "EndNr", std::to_string(serie.EndNr)) && ok;
    ok = speicher.Schreiben(Abschnitt, "NachText", serie.NachText) && ok;
    return ok;
}

} // namespace konturo::serienmacher
