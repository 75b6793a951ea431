// The values of one series and their place in the settings store: the four entries of section
// "Param" that survive a restart, and the two options that do not.
#pragma once

#include "app/EinstellungenSpeicher.h"

#include <cstdint>
#include <string>

namespace konturo::serienmacher {

inline constexpr const char* Abschnitt = "Param";

struct Serie {
    // Stored: "VorText", "StartNr", "EndNr", "NachText". Texts are UTF-8.
    std::string VorText;
    std::int32_t StartNr = 0;
    std::int32_t EndNr = 100;
    std::string NachText;
    // Not stored; off at every start.
    bool Senkrecht = false;       // Check1: a "|" between every two characters
    bool FuehrendeNullen = false; // Check2: numbers padded to the width of EndNr
};

// The four stored values over the defaults of Serie. A number is read with the
// locale-independent reader (a leading number counts, "12abc" is 12) and rounded half to even;
// a text without a number or a result outside the signed 32-bit range keeps the default.
Serie EinstellungenLaden(EinstellungenSpeicher& speicher);
// False when one of the four values could not be written.
bool EinstellungenSpeichern(EinstellungenSpeicher& speicher, const Serie& serie);

} // namespace konturo::serienmacher
