// DXF release 12 writer. Group code lines and fixed integers use the integer layout (blank,
// digits, blank); coordinates, radii and angles go through ZahlText and the value-line layout of
// the user's number format.
#include "output/DXF_Ausgeben.h"

#include "app/Sitzung.h"
#include "output/Schreibpuffer.h"

#include <cmath>
#include <string>

namespace konturo {

namespace {

// Warning colour that earns a marker circle: the default ElementWarnFarbe only.
constexpr std::int32_t MarkenFarbe = RGB(255, 0, 0);

struct DxfZiel {
    Zeilenpuffer& aus;
    bool dezimalPunkt;

    // Group with a text value.
    void Gruppe(std::string_view codeZeile, std::string_view wert) {
        aus.Text(codeZeile);
        aus.Zeile(wert);
    }
    // Group with a numeric value through ZahlText.
    void Wert(std::string_view codeZeile, double wert) {
        aus.Text(codeZeile);
        aus.WertZeile(wert, dezimalPunkt);
    }
};

// Group code lines, CR LF included.
constexpr std::string_view G0 = " 0 \r\n";
constexpr std::string_view G2 = " 2 \r\n";
constexpr std::string_view G8 = " 8 \r\n";
constexpr std::string_view G10 = " 10 \r\n";
constexpr std::string_view G11 = " 11 \r\n";
constexpr std::string_view G20 = " 20 \r\n";
constexpr std::string_view G21 = " 21 \r\n";
constexpr std::string_view G40 = " 40 \r\n";
constexpr std::string_view G50 = " 50 \r\n";
constexpr std::string_view G51 = " 51 \r\n";
constexpr std::string_view G62 = " 62 \r\n";
// z of every entity: group 30 or 31 with the integer 0.
constexpr std::string_view Z30 = " 30 \r\n 0 \r\n";
constexpr std::string_view Z31 = " 31 \r\n 0 \r\n";

constexpr std::string_view Kopf1 = " 0 \r\nSECTION\r\n"
                                   " 2 \r\nHEADER\r\n"
                                   " 9 \r\n$ACADVER\r\n"
                                   " 1 \r\nAC1009\r\n"
                                   " 9 \r\n$LIMMIN\r\n";
constexpr std::string_view Kopf2 = " 9 \r\n$LIMMAX\r\n";
constexpr std::string_view Kopf3 = " 0 \r\nENDSEC\r\n"
                                   " 0 \r\nSECTION\r\n"
                                   " 2 \r\nTABLES\r\n"
                                   " 0 \r\nTABLE\r\n"
                                   " 2 \r\nLTYPE\r\n"
                                   " 70 \r\n 4 \r\n"
                                   " 0 \r\nLTYPE\r\n"
                                   " 2 \r\nCONTINUOUS\r\n"
                                   " 70 \r\n 0 \r\n"
                                   " 3 \r\nSOLID LINE\r\n"
                                   " 72 \r\n 65 \r\n"
                                   " 73 \r\n 0 \r\n"
                                   " 40 \r\n 0 \r\n"
                                   " 0 \r\nENDTAB\r\n"
                                   " 0 \r\nTABLE\r\n"
                                   " 2 \r\nLAYER\r\n"
                                   " 70 \r\n 1 \r\n"
                                   " 0 \r\nLAYER\r\n"
                                   " 2 \r\nWHITE\r\n"
                                   " 70 \r\n 0 \r\n"
                                   " 62 \r\n 7 \r\n"
                                   " 6 \r\nCONTINUOUS\r\n"
                                   " 0 \r\nENDTAB\r\n"
                                   " 0 \r\nENDSEC\r\n"
                                   " 0 \r\nSECTION\r\n"
                                   " 2 \r\nBLOCKS\r\n"
                                   " 0 \r\nENDSEC\r\n"
                                   " 0 \r\nSECTION\r\n"
                                   " 2 \r\nENTITIES\r\n";
constexpr std::string_view Ende = " 0 \r\nENDSEC\r\n"
                                  " 0 \r\nEOF\r\n";

void Kopf(const Speicher& sp, DxfZiel& z) {
    const double m = (sp.XMax - sp.XMin) * 0.05;
    z.aus.Text(Kopf1);
    z.Wert(G10, sp.XMin - m);
    z.Wert(G20, sp.YMin - m);
    z.aus.Text(Kopf2);
    z.Wert(G10, sp.XMax + m);
    z.Wert(G20, sp.YMax + m);
    z.aus.Text(Kopf3);
}

// "7" (white) for frame elements and for everything when Ausgabenfarbe is off, "2" (yellow) for
// the other elements when it is on.
std::string_view Farbwert(const Sitzung& s, const GeoElement& e) {
    if (s.einstellungen.Ausgabenfarbe == 1 && e.Farbe != RahmenFarbe) return "2";
    return "7";
}

void DxfLinie(const Sitzung& s, const GeoElement& e, DxfZiel& z) {
    z.Gruppe(G0, "LINE");
    z.Gruppe(G8, "WHITE");
    z.Wert(G10, e.X1);
    z.Wert(G20, e.Y1);
    z.aus.Text(Z30);
    z.Wert(G11, e.X2);
    z.Wert(G21, e.Y2);
    z.aus.Text(Z31);
    z.Gruppe(G62, Farbwert(s, e));
}

void DxfBogen(const Sitzung& s, const GeoElement& e, DxfZiel& z) {
    const double pi = Pi();
    z.Gruppe(G0, "ARC");
    z.Gruppe(G8, "WHITE");
    z.Wert(G10, e.X1);
    z.Wert(G20, e.Y1);
    z.aus.Text(Z30);
    z.Wert(G40, e.Radius);
    z.Wert(G50, e.X2 * 180 / pi);
    z.Wert(G51, e.Y2 * 180 / pi);
    z.Gruppe(G62, Farbwert(s, e));
}

void DxfKreis(const Sitzung& s, const GeoElement& e, DxfZiel& z) {
    z.Gruppe(G0, "CIRCLE");
    z.Gruppe(G8, "WHITE");
    z.Wert(G10, e.X1);
    z.Wert(G20, e.Y1);
    z.aus.Text(Z30);
    z.Wert(G40, e.Radius);
    z.Gruppe(G62, Farbwert(s, e));
}

// Marker circle of a short element: centred on the start point of a line or arc; a circle, which
// has no start point, gets its marker at its centre. Radius 1/200 of the box width.
void DxfMarke(const Sitzung& s, const GeoElement& e, DxfZiel& z) {
    const Speicher& sp = s.speicher;
    double x = e.X1;
    double y = e.Y1;
    if (e.Typ == Bogen) {
        x = BogenStartX(e);
        y = BogenStartY(e);
    }
    z.Gruppe(G0, "CIRCLE");
    z.Gruppe(G8, "WHITE");
    z.Wert(G10, x);
    z.Wert(G20, y);
    z.aus.Text(Z30);
    z.Wert(G40, (sp.XMax - sp.XMin) / 200);
    // DXF knows colours by number only: the marker takes the nearest to the chosen RGB colour.
    z.Gruppe(G62, std::to_string(DxfFarbNummer(s.einstellungen.DXFWarnFarbe)));
}

} // namespace

int DxfFarbNummer(std::int32_t rgb) {
    struct Standardfarbe {
        int r, g, b;
    };
    // Colours 1 to 7 of the DXF colour table; 7 shows black on a light background, but its
    // value is white.
    constexpr Standardfarbe Tafel[7] = {{255, 0, 0}, {255, 255, 0}, {0, 255, 0},    {0, 255, 255},
                                        {0, 0, 255}, {255, 0, 255}, {255, 255, 255}};
    const int r = rgb & 0xFF;
    const int g = (rgb >> 8) & 0xFF;
    const int b = (rgb >> 16) & 0xFF;
    int beste = 1;
    int besterAbstand = -1;
    for (int i = 0; i < 7; ++i) {
        const int dr = r - Tafel[i].r, dg = g - Tafel[i].g, db = b - Tafel[i].b;
        const int abstand = dr * dr + dg * dg + db * db;
        // Strictly smaller, so that a tie keeps the lower number.
        if (besterAbstand < 0 || abstand < besterAbstand) {
            beste = i + 1;
            besterAbstand = abstand;
        }
    }
    return beste;
}

void DxfSchreiben(Sitzung& s, std::ostream& aus) {
    Speicher& sp = s.speicher;
    UiDienste& ui = *s.ui;
    const Schreibanzeige anzeige(ui);
    const std::int32_t anzahl = sp.ElementAnzahl();
    ui.FortschrittMaximum(anzahl);
    ui.FortschrittWert(0);
    {
        Zeilenpuffer puffer(aus);
        DxfZiel z{puffer, sp.DezimalPunkt};
        Kopf(sp, z);
        const bool marken = s.einstellungen.WarnAusgabe == 1;
        for (sp.AktElement = 1; sp.AktElement <= anzahl && !puffer.Fehler(); ++sp.AktElement) {
            const GeoElement& e = sp.Elemente[sp.AktElement];
            bool geschrieben = true;
            switch (e.Typ) {
            case Linie:
                DxfLinie(s, e, z);
                break;
            case Bogen:
                DxfBogen(s, e, z);
                break;
            case Kreis:
                DxfKreis(s, e, z);
                break;
            default:
                geschrieben = false;
                break;
            }
            if (geschrieben && marken && e.Farbe == MarkenFarbe) DxfMarke(s, e, z);
            if (sp.AktElement % 20 == 0) ui.FortschrittWert(sp.AktElement);
        }
        if (!puffer.Fehler()) puffer.Text(Ende);
    }
}

Schreibergebnis DxfSchreiben(Sitzung& s) {
    return InDateiSchreiben(s, [&s](std::ostream& aus) { DxfSchreiben(s, aus); });
}

} // namespace konturo
