// The headless face of the program: options in, batch file out, an exit code for scripts. It
// needs no display and leaves the stored settings alone.
#pragma once

#include "serienmacher/DB_System.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace konturo::serienmacher {

inline constexpr int ExitOk = 0;
inline constexpr int ExitFehler = 1; // empty number range, file not writable
inline constexpr int ExitAufruf = 2; // wrong command line

struct Aufruf {
    Serie serie;
    std::string ausgabe; // the file to write
    bool hilfe = false;
};

// The arguments after the program name. Empty, with the message in `fehler`, when they are wrong:
// an unknown option, a missing value or required option, a number that is not a whole 32-bit
// number. "--help" ends the reading, so what follows it is not checked.
std::optional<Aufruf> AufrufLesen(const std::vector<std::string>& argumente, bool deutsch,
                                  std::string& fehler);

// Reads the arguments, writes the file and gives the exit code; the help goes to `aus`, every
// message to `fehler`.
int KopflosAusfuehren(const std::vector<std::string>& argumente, bool deutsch, std::ostream& aus,
                      std::ostream& fehler);

} // namespace konturo::serienmacher
