// Reader of the rich-text files that word processors write: fonts, sizes, bold, italic,
// paragraphs, line breaks, tabs and the text with its escapes, as runs of formatted characters.
#pragma once

#include "text/Textquelle.h"

#include <string>
#include <string_view>
#include <vector>

namespace konturo {

// Characters in one format; line breaks are "\n", tabs "\t"; text in UTF-8.
struct RtfLauf {
    std::string Text;
    Zeichenformat Format;
};

struct RtfText {
    std::vector<RtfLauf> Laeufe;
    // Empty when the file was read; otherwise why it is not a rich-text file.
    std::string Fehler;
};

// Reads a rich-text file's bytes. Understood: the font table (\fonttbl with \fN names), \deffN,
// \fN, \fsN (half points), \b, \i (with 0 to switch off), \plain, \par, \line, \tab, \'hh in code
// page 1252, \uN with its \ucN substitute count, \~, \_, the typographic quote and dash symbols,
// \binN. Destinations marked {\* ...} and groups that hold no text (colour table, style sheet,
// document info, pictures, headers, footers, list tables, ...) are skipped, as is hidden text
// (\v). The paragraph mark that ends the last paragraph does not add an empty line. Nesting
// deeper than 500 groups is refused as malformed.
RtfText RtfLesen(std::string_view bytes);

// Appends the runs to a text source (the command line's and the tests' way to convert them).
void RtfAnhaengen(const RtfText& rtf, TextquelleKlartext& ziel);

} // namespace konturo
