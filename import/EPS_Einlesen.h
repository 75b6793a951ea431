// PostScript reader: the path drawing of an EPS, AI or PS file, or the page content of a PDF file,
// into the outline buffer, then approximated into the element store.
#pragma once

#include <cstddef>
#include <string>

namespace konturo {

struct Sitzung;

enum class ImportErgebnis {
    Gelesen,     // read (possibly an empty drawing) and approximated; frame and redraw done
    NichtLesbar, // the file is missing, not a regular file, too large or unreadable
    Abgelehnt,   // no start marker and the user said No to reading anyway (text 115)
};

// Largest file the import reads into memory.
inline constexpr std::size_t EPSMaxDateiGroesse = std::size_t{1} << 30;

// Imports the file s.fenster.AktDatei: shows the import parameters window first when
// s.fenster.ParameterZeigen is set (and sets the flag again afterwards), reads the file and
// continues with EPSEinlesenText. A file that cannot be read is named with its reason (text 120
// for a missing file, else text 121 with the reason, Sitzung::DateifehlerMelden) and leaves both
// stores as they were.
ImportErgebnis EPSEinlesen(Sitzung& s);

// The import of a file's bytes already in memory; istPdf passes them through the PDF content
// reader first (a PDF that inflates past the bound shows language text 124 and goes on with what
// was inflated). The outline records are approximated while they are read (KonturStrom), so the
// outline buffer keeps only the last of them. A file without start marker asks language text 139
// after text 115. After the redraw, one message with s.fenster.AktDatei says why the drawing may
// not be what the file holds: text 90 for a damaged or cut-off PDF (PDFBefund::beschaedigt), else
// text 138 when the reading stored nothing and was not cancelled (no moveto with a segment after
// it).
ImportErgebnis EPSEinlesenText(Sitzung& s, std::string inhalt, bool istPdf);

// The reading part of EPSEinlesenText alone: both stores cleared, the whole drawing in the outline
// buffer; the approximation (KonturApproximieren gives the elements EPSEinlesenText gives), frame,
// redraw and the message about an empty or damaged file left to the caller.
ImportErgebnis EPSKonturPunkteLesen(Sitzung& s, std::string inhalt, bool istPdf);

} // namespace konturo
