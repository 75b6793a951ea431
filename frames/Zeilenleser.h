// Line-by-line reading of 8-bit text files for the template readers: CR LF, LF and CR all end a
// line, and an overlong line is cut so that a file without line ends cannot exhaust memory.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace konturo {

class Zeilenleser {
public:
    // Lines longer than maxLaenge bytes keep their first maxLaenge bytes; the rest is skipped.
    explicit Zeilenleser(std::istream& ein, std::size_t maxLaenge = 65536);

    // The next line without its line end; false at the end of the stream. A last line without
    // a line end is still returned.
    bool Lesen(std::string& zeile);

private:
    std::istream& ein_;
    std::size_t maxLaenge_;
};

// The text without leading and trailing blanks and tabs.
std::string_view Beschnitten(std::string_view text);

} // namespace konturo
