// The four font styles of the text window (standard, bold, italic, bold italic): a style is known
// by its number, whatever language its name was written in.
#pragma once

#include <string>

namespace konturo {

struct Sitzung;
struct Zeichenformat;

// 0 standard, 1 bold, 2 italic, 3 bold italic for a style name in the current language (language
// texts 140 to 143) or in either of the program's languages, without regard to case; -1 for any
// other name.
int StilNummer(const Sitzung& s, const std::string& name);
// Bold and italic of style nr (0 to 3).
void StilAnwenden(int nr, Zeichenformat& f);

} // namespace konturo
