// Window state of the main window that long operations and the core read: busy and cancel flags,
// zoom rectangle, view values of the renderer and the language texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace konturo {

struct Fensterzustand {
    bool Bereit = false;
    bool AbbruchWunsch = false;
    bool BatchAbbruch = false;
    // A batch run is going on: it lets pending events run after every entry, whatever
    // "Unterbrechung" says, so its stop button always works.
    bool BatchLaeuft = false;
    std::uint8_t SprachNr = 0;
    std::string AktDatei;
    bool TextModus = true;

    double ZoomX1 = 0, ZoomY1 = 0, ZoomX2 = 0, ZoomY2 = 0;
    double AltX1 = 0, AltY1 = 0, AltX2 = 0, AltY2 = 0;
    bool ZoomAufziehen = false;
    bool Gezoomt = false;
    double Seitenverhaeltnis = 4.0 / 3.0;
    std::int32_t ZoomRahmenFarbe = 128 + 256 * 128 + 65536 * 128;
    float ZeigerX = 0, ZeigerY = 0;

    // Renderer values.
    float Bogenschritt = 0.01f;
    float Rand = 0;
    std::uint8_t Strichbreite = 1;
    std::int32_t KurzFarbe = 255;

    // A parameter window (text or import) is open.
    bool ParameterFensterOffen = false;
    // Show the import parameters window before the next graphic import.
    bool ParameterZeigen = true;

    // Language texts 0..180 of the current language.
    std::array<std::string, 181> Texte{};
};

} // namespace konturo
