// One fuzz target's entry point: LLVMFuzzerTestOneInput when built for libFuzzer, otherwise a
// named entry that the regression runner calls for every stored input of the target.
#pragma once

#include "app/Sitzung.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace konturo::fuzz {

using Einstieg = int (*)(const std::uint8_t*, std::size_t);

// Registers a target for the regression runner; always true (the value initialises a static).
bool Registrieren(const char* name, Einstieg einstieg);

// A broken promise of a reader (a non-finite element, a text that is no UTF-8, settings that do
// not load back). Thrown out of the entry point: libFuzzer reports it as a crash with the input,
// the regression runner names the input.
struct Verletzung : std::logic_error {
    using std::logic_error::logic_error;
};

inline void Pruefen(bool bedingung, const char* was) {
    if (!bedingung) throw Verletzung(was);
}

// A session as a freshly started program has it: the settings table's defaults, the start values,
// silent headless UI services that answer every question with Yes. One session is kept for the
// whole run and put back into that state for every input, so no input leaves anything behind for
// the next.
Sitzung& NeueSitzung();

// For targets that touch only the settings, the window state and the messages: one of a few
// sessions kept for the whole run, with exactly those reset to what a new session has (settings
// at their zero values, as before loading). Its stores are never touched, and their blocks, costly
// to allocate under the sanitizers, are allocated once.
Sitzung& LeichteSitzung(std::size_t platz);

inline std::string_view Text(const std::uint8_t* daten, std::size_t groesse) {
    return {reinterpret_cast<const char*>(daten), groesse};
}

// True when every record has a known kind (lines, arcs, circles and removed ones; in a template
// also texts) and finite numbers.
bool ElementeGueltig(const GeoFeld& feld, bool vorlage = false);

} // namespace konturo::fuzz

#ifdef KONTURO_LIBFUZZER
#define KONTURO_FUZZ_ZIEL(name)                                                                    \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse)
#else
#define KONTURO_FUZZ_ZIEL(name)                                                                    \
    static int FuzzZiel_##name(const std::uint8_t* daten, std::size_t groesse);                    \
    [[maybe_unused]] static const bool registriert_##name =                                        \
        ::konturo::fuzz::Registrieren(#name, FuzzZiel_##name);                                     \
    static int FuzzZiel_##name(const std::uint8_t* daten, std::size_t groesse)
#endif
