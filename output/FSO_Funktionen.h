// File-path helpers shared by the export command, the import commands and the settings code, and
// the file name proposed for an export. "/" and "\" both separate folders, so paths written on
// Windows split as well.
#pragma once

#include <string>

namespace konturo {

// The part after the last separator; the whole text when there is none.
std::string DateiName(const std::string& pfad);
// The name part with blanks at both ends removed, cut before its last "."; a part without "."
// stays whole.
std::string DateiTitel(const std::string& pfad);
// The text after the last "." of the name part, in upper case; without "." the name part itself,
// in upper case.
std::string DateiEndung(const std::string& pfad);
// Everything before the last separator (no trailing separator); the whole text when there is none.
std::string Verzeichnis(const std::string& pfad);
bool DateiExistiert(const std::string& pfad);
bool OrdnerExistiert(const std::string& pfad);
// True for a folder of a kernel's pseudo file system (/proc, /sys, /dev and the like): no place to
// write a drawing, and listing it can take a file dialog very long.
bool PseudoDateisystem(const std::string& ordner);
// The folder for temporary files, with or without a trailing "/".
std::string TempOrdner(bool mitTrenner);
// The folder path without one trailing separator ("\\" or "/"); the root "/" stays.
std::string OhneEndtrenner(std::string pfad);

// The name proposed in the export dialog: the title of the source file, else the first 8
// characters of the text, else "Grafik". In the first two cases the characters \ / | blank " ' > <
// ; . = : become "_"; control characters stay.
std::string VorgeschlagenerName(const std::string& aktDatei, const std::string& textAnfang);

} // namespace konturo
