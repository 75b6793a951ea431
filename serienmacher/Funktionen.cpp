// Reading a whole 32-bit number from a box or the command line.
#include "serienmacher/Funktionen.h"

#include <charconv>

namespace konturo::serienmacher {

std::optional<std::int32_t> GanzzahlLesen(std::string_view text) {
    const auto leer = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && leer(text.front())) text.remove_prefix(1);
    while (!text.empty() && leer(text.back())) text.remove_suffix(1);
    // from_chars takes "-" but not "+".
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    std::int32_t wert = 0;
    const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), wert);
    if (fehler != std::errc{} || ende != text.data() + text.size()) return std::nullopt;
    return wert;
}

} // namespace konturo::serienmacher
