// File-path helpers shared by the export command, the import commands and the settings code, and
// the file name proposed for an export. "/" and "\" both separate folders, so paths written on
// Windows split as well.
#pragma once

#include <cstdint>
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

// Why a file was not read.
enum class Dateifehler {
    Keiner,
    Fehlt,       // no such file (or a folder on the way is missing)
    Ordner,      // the path names a folder
    KeineDatei,  // a pipe, device or socket: reading it could block or never end
    KeinZugriff, // permission denied
    ZuGross,     // larger than the reader's bound
    Lesefehler,  // the system reported an error while reading
};

// Reads a regular file whole into inhalt, at most grenze bytes. Only regular files are opened
// for reading (a pipe or device is looked at without blocking and refused), a file larger than
// grenze is refused before anything is read, and one that grows past it while being read is
// refused too. A file cut short while it is read yields what was there.
Dateifehler DateiEinlesen(const std::string& pfad, std::uintmax_t grenze, std::string& inhalt);
// The same checks without reading: Keiner when DateiEinlesen would read the file.
Dateifehler DateiPruefen(const std::string& pfad, std::uintmax_t grenze);
// The reason in a few English words ("is a directory", "not a regular file", "permission
// denied", "no such file", "larger than 64 MiB", "read error").
std::string DateifehlerText(Dateifehler fehler, std::uintmax_t grenze);
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
