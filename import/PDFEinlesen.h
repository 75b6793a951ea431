// PDF content reader: the data of a PDF file's streams, inflated where they are Flate-compressed
// and joined into one text for the PostScript reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace konturo {

// Upper bound of the inflated bytes of one file: a small file must not be able to expand into
// gigabytes. Page content of real drawings stays far below it.
inline constexpr std::size_t PDFEntpackGrenze = std::size_t{256} << 20;

enum class EntpackErgebnis {
    Fertig, // the zlib stream ended properly (Z_STREAM_END)
    Fehler, // initialisation failed or inflate reported an error; partial output was kept
    Grenze, // the output reached the bound before the stream ended; output so far was kept
};

// Inflates one zlib stream (with header, default window) and appends what it produced to
// ausgabe, at most grenze bytes. The output area starts at twice the input length and grows by
// 65,536 bytes while inflate (partial flush) returns Z_OK.
EntpackErgebnis Entpacken(std::string_view gepackt, std::string& ausgabe, std::size_t grenze);

// What a stream's dictionary says about its data.
enum class StromArt {
    Roh,   // no /Filter (or an empty filter array): the data is taken as it stands
    Flate, // /FlateDecode alone: the data is inflated
    Keine, // another filter, an image, an embedded font program, or no dictionary at all
};

// Classifies the stream whose keyword "stream" starts at streamPos by the balanced "<<" ... ">>"
// that ends right before it (blanks and line ends between are allowed). The dictionary is looked
// for no further back than untergrenze.
StromArt StromArtBestimmen(std::string_view datei, std::size_t streamPos,
                           std::size_t untergrenze = 0);

// White space and delimiters of PDF syntax (NUL counts as white space).
bool PDFLeerraum(char c);
bool PDFTrenner(char c);
// The position behind the PDF string (literal, balanced parentheses, backslash escapes) that
// starts with "(" at pos; the end of the text when it is not closed.
std::size_t PDFTextEnde(std::string_view t, std::size_t pos);

// The data of the stream whose keyword "stream" starts at streamPos and whose "endstream" starts
// at endstreamPos: a CR LF and then an LF right after the keyword are dropped (a CR alone is kept).
std::string_view StromDaten(std::string_view datei, std::size_t streamPos,
                            std::size_t endstreamPos);

// What the content reader found wrong with a file.
struct PDFBefund {
    // The inflated bytes reached the bound; the rest of the file was not read.
    bool grenzeErreicht = false;
    // The file is cut off or damaged, so part of it may be missing: a Flate stream with data that
    // does not inflate to its end, a stream dictionary's "stream" without "endstream", or no
    // "%%EOF" in the last 1024 bytes.
    bool beschaedigt = false;
};

// Every "stream" ... "endstream" of the file in file order: the data (StromDaten) is taken by its
// dictionary (StromArtBestimmen) and appended without separator; the streams of soft masks
// (WeichmaskenStroeme) are left out, their drawing is never painted. The inflated bytes of the
// whole file stop at grenze. befund (when given) tells what was wrong with the file.
std::string PDFInhaltLesen(std::string_view datei, std::size_t grenze = PDFEntpackGrenze,
                           PDFBefund* befund = nullptr);

} // namespace konturo
