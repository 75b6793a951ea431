// Keystroke filters of the number fields and the conversions between a field's text and its
// number, shared by the text parameters, frame, import, options and printer windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace konturo {

// Character codes the filters know.
inline constexpr std::int32_t TasteRueck = 8;  // Backspace
inline constexpr std::int32_t TasteMinus = 45; // "-"
inline constexpr std::int32_t TasteKomma = 44; // ","
inline constexpr std::int32_t TastePunkt = 46; // "."
inline constexpr std::int32_t Taste187 = 187;  // passed by KommaZahlTaste as it always was

// Every filter reads the code of the typed character in Taste and replaces it; 0 rejects the key.
// dezimalPunkt: the user's number format writes a decimal point (Speicher::DezimalPunkt).

// Decimal number of the text parameters window: "." and "," become the user's separator;
// Backspace, "-" and digits pass; everything else is rejected. Single keystrokes only: a second
// separator or minus in the same field is not prevented.
void CheckKommaZahl(std::int32_t& Taste, bool dezimalPunkt);
// Signed decimal number; the same rule as CheckKommaZahl.
void CheckPlusMinusKommaZahl(std::int32_t& Taste, bool dezimalPunkt);
// Unsigned decimal number of the other windows: the separator rule; Backspace, 187 and digits
// pass; "-" and everything else are rejected.
void KommaZahlTaste(std::int32_t& Taste, bool dezimalPunkt);
// Digits only (and Backspace).
void ZiffernTaste(std::int32_t& Taste);

// The locale-aware conversion of a typed number: blanks around it, an optional sign, digits with
// at most one separator of the user's format, an optional exponent ("E", either case). Empty when
// the text is not such a number (a lone "-" or ",", letters) or the number is not finite.
std::optional<double> ZahlLokalLesen(std::string_view text, bool dezimalPunkt);

// The number a field's text gives, or empty when the variable keeps its value: an empty text
// never changes it; a comma locale uses ZahlLokalLesen; a point locale reads the longest leading
// number with "." (ZahlLesen), so a lone "-" or any text without a number gives 0. A number too
// large to be finite keeps the value too.
std::optional<double> FeldZahl(std::string_view text, bool dezimalPunkt);

// A number as a window shows it: up to 15 significant digits, no trailing zeros, the user's
// separator ("," in a comma locale), exponent form as "1E-05" for very small or large values.
std::string ZahlAnzeigen(double wert, bool dezimalPunkt);

} // namespace konturo
