// Preview files of a drawing: the page "Grafik drucken" would print, as a PDF, or the picture the
// main window shows, as a PNG. Used by the command line; they paint without any window.
#pragma once

#include <QMarginsF>
#include <QPageLayout>

#include <string>

namespace konturo {

struct Sitzung;

enum class Vorschauart { Keine, Pdf, Png };

// The kind of a preview file by its extension (.pdf, .png, any case).
Vorschauart VorschauartVon(const std::string& pfad);

// The pixel size of a preview picture: a main window drawing area of common proportions.
inline constexpr int VorschauBreite = 1200;
inline constexpr int VorschauHoehe = 900;

// The printable area of a PDF page: what most printers leave blank at the edges, so the PDF shows
// the drawing where paper would.
inline constexpr double PdfRandMm = 10.0;
inline QMarginsF PdfRaender() { return {PdfRandMm, PdfRandMm, PdfRandMm, PdfRandMm}; }

// Writes the store's drawing to pfad: a PDF holds one A4 page laid out exactly as printing lays it
// out; a PNG holds the redraw of the main window (colours, end points and view of the session)
// at VorschauBreite x VorschauHoehe pixels. The session's view values change as a redraw changes
// them. False when the file cannot be written or its kind is unknown. Safe to call on several
// threads at once, each with its own session.
bool VorschauSchreiben(Sitzung& s, const std::string& pfad);

} // namespace konturo
