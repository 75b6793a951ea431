// Number-to-text rules of the writers and the locale-independent number reader of the readers.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace konturo {

// Longest text the formatting functions below produce (sign, 15 digits, point, exponent).
inline constexpr std::size_t ZahlTextMax = 40;

// The text of a coordinate, radius or angle for the DXF and ME10 writers: rounded half-to-even
// at 14 down to 0 decimals by magnitude, at most 15 significant digits, no trailing zeros, "." as
// separator, exponent form (1.5E-05) outside 0.0001 .. 1e15. NaN and infinities give "0": a
// non-finite number never reaches a file as garbage.
std::string ZahlText(double wert);
// The same rule with the GEO writer's table (at most 9 decimals).
std::string GeoZahlText(double wert);

// Buffer forms of the two: write into buf (at least ZahlTextMax bytes), return the length.
std::size_t ZahlTextIn(char* buf, double wert);
std::size_t GeoZahlTextIn(char* buf, double wert);

// A number written as a value line of its own: in a point locale (dezimalPunkt true) one blank
// before a text that does not start with "-" and one blank after it; in a comma locale the bare
// text.
std::string WertZeile(std::string_view text, bool dezimalPunkt);
// An integer in the integer layout of the DXF writer: blank, digits, blank.
std::string GanzzahlZeile(long long wert);

// Reads a decimal number with "." whatever the locale: optional blanks, optional sign, digits,
// optional fraction, optional exponent introduced by "E" or "D" (either case); reading stops at the
// first character that does not fit, and a text that does not begin with a number reads as 0
// ("-.5" is -0.5, "12abc" is 12). A number too large for a double gives +-infinity.
double ZahlLesen(std::string_view text);
// As ZahlLesen, but also says how many characters were used (0 when no number was found).
double ZahlLesen(std::string_view text, std::size_t& gelesen);
// As ZahlLesen, but empty when the text does not begin with a number or the number is not finite.
std::optional<double> ZahlLesenEndlich(std::string_view text);

} // namespace konturo
