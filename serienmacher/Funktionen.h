// Number input of the start and end boxes and of the command line. The keystroke filter of the two
// boxes is the converter's ZiffernTaste (text/SyntaxCheck.h): backspace and digits pass.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace konturo::serienmacher {

// A whole number in the signed 32-bit range: blanks around it, an optional sign, digits and
// nothing else. Empty for anything else ("", "-", "12a", "1.5", "2147483648"), because pasted
// text is not filtered like typed keys.
std::optional<std::int32_t> GanzzahlLesen(std::string_view text);

} // namespace konturo::serienmacher
