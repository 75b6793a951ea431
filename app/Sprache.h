// Language texts: the start language and the numbered German and English texts of the language
// file "Konturo.dat" beside the program.
#pragma once

#include <string>
#include <string_view>

namespace konturo {

struct Sitzung;

// Reads the language file up to its "Language" line and sets SprachNr from its third field.
// Without such a line SprachNr stays as it was. False, with the reason in grund, when the file
// cannot be read (missing, a folder, no regular file, no permission, larger than 4 MiB) or the
// language number is not a number from 0 to 255.
bool StartSprache(Sitzung& s, const std::string& pfad, std::string& grund);
// Reads every text of language SprachNr into Texte (181 slots, empty where the file gives none).
// A text number outside 0..180, a first field that is not a number or a line with fewer than
// three fields (or fewer than SprachNr + 1) stops the loading: Texte keep their previous content
// and grund names the line.
bool SpracheLaden(Sitzung& s, const std::string& pfad, std::string& grund);

// The same two over the file's bytes already in memory; pfad only names the file in grund.
bool StartSpracheText(Sitzung& s, std::string_view bytes, const std::string& pfad,
                      std::string& grund);
bool SpracheLadenText(Sitzung& s, std::string_view bytes, const std::string& pfad,
                      std::string& grund);

// The same two, reporting the reason as a message through the UI services.
bool StartSprache(Sitzung& s, const std::string& pfad);
bool SpracheLaden(Sitzung& s, const std::string& pfad);

} // namespace konturo
