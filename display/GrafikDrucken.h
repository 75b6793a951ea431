// Printing: the print transform that fits the whole drawing onto the printable area, the drawing
// of every element in black over the print-surface seam, and the print command "Grafik drucken"
// with the printer window, the copies, the progress and the message while the document is sent.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace konturo {

struct Sitzung;
struct Speicher;

// Left margin of the printed drawing, in printer units.
inline constexpr double DruckRand = 300.0;
// Share of the page's width and height the drawing may fill.
inline constexpr double DruckAnteil = 0.8;
// Angle step (radians) of the polylines that stand for arcs on paper.
inline constexpr double DruckBogenschritt = 0.05;
// Every element is printed in this colour (RGB value), whatever its colour on screen.
inline constexpr std::int32_t DruckFarbe = 0;

// The print-surface seam: one document on the chosen printer. Coordinates are printer units from
// the top left corner of the printable area, y pointing down.
class Druckflaeche {
public:
    virtual ~Druckflaeche() = default;

    // Size of the printable area of a page, in printer units.
    virtual double SeitenBreite() const = 0;
    virtual double SeitenHoehe() const = 0;
    virtual void Linie(double x1, double y1, double x2, double y2, std::int32_t farbe) = 0;
    virtual void Kreis(double cx, double cy, double r, std::int32_t farbe) = 0;
    // Sets the current position; LinieZu draws from it to (x, y), which becomes the position.
    virtual void PositionSetzen(double x, double y) = 0;
    virtual void LinieZu(double x, double y, std::int32_t farbe) = 0;
    // Starts the next page. False when the printer failed.
    virtual bool NeueSeite() = 0;
    // Ends the document, which sends it to the printer. False when that failed.
    virtual bool Beenden() = 0;
};

// Drawing units to printer units: x' = m + (x - xMin) * s, y' = h - (y - yMin) * s, so the top of
// the drawing touches the top of the printable area and its left edge lies m units in.
struct DruckTransform {
    double s = 0;
    double m = DruckRand;
    double h = 0;
    double xMin = 0;
    double yMin = 0;

    double X(double x) const { return m + (x - xMin) * s; }
    double Y(double y) const { return h - (y - yMin) * s; }
};

// The transform for the store's box on a page of the given size: the drawing fills 0.8 of the
// page's width or height, whichever the ratio test picks. A drawing without width is fitted by its
// height and one without height by its width. Empty when the box has no extent at all (a single
// point) or is not finite: there is nothing to scale.
std::optional<DruckTransform> DruckTransformBerechnen(const Speicher& sp, double seitenBreite,
                                                      double seitenHoehe);

// Draws every line, arc and full circle of the store in store order, in black; other kinds and
// elements with coordinates that are not finite are skipped. fortschritt, when given, is called
// with each element's number after it was drawn.
void ElementeDrucken(const Speicher& sp, const DruckTransform& t, Druckflaeche& f,
                     const std::function<void(std::int32_t)>& fortschritt = {});

// One arc, counter-clockwise from a0 to a1 (radians, each first brought into 0 .. 2 pi), as a
// polyline of DruckBogenschritt steps that ends exactly at the end angle.
void BogenDrucken(const DruckTransform& t, Druckflaeche& f, double cx, double cy, double r,
                  double a0, double a1);

// The whole drawing on the surface's first page, fitted as the print command fits it (the preview
// files of the command line). False, with nothing drawn, when the drawing has no extent.
bool ZeichnungDrucken(const Speicher& sp, Druckflaeche& f);

// The number of copies a text of the copies field gives: the field's number in the user's format
// rounded to a whole number, an exact half to the even one. Empty when the field keeps its value:
// an empty text, a text that is not a number, or a count beyond 16 bits.
std::optional<std::int16_t> ExemplareAusText(std::string_view text, bool dezimalPunkt);

// What the print command needs of the window layer.
class Druckumgebung {
public:
    virtual ~Druckumgebung() = default;

    // Shows the printer window DruckerDialog modally and returns the number of copies chosen in
    // it. The window leaves AbbruchWunsch set unless "OK" closed it.
    virtual std::int32_t DruckerDialogZeigen(Sitzung& s) = 0;
    // Starts the document on the chosen printer. Empty when nothing is to be printed: the user
    // declined to name a file, or the document could not be started (the reason is shown).
    virtual std::unique_ptr<Druckflaeche> DokumentBeginnen(Sitzung& s) = 0;
    // The message window Meldung with a text, shown and painted; closing it.
    virtual void MeldungZeigen(const std::string& text) = 0;
    virtual void MeldungSchliessen() = 0;
};

// "Grafik drucken": nothing for an empty store (or one without extent); otherwise the printer
// window, then each copy on a page of its own with the hourglass and the progress bar following
// the elements, then the message "Ausdruck aktiv ..." while the document is ended. A printer
// failure shows language text 179.
void GrafikDrucken(Sitzung& s, Druckumgebung& u);

} // namespace konturo
