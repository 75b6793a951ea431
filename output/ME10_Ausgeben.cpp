// ME10 macro writer. Numbers are ZahlText digits joined into the command, never padded, and
// coordinates are written as stored.
#include "output/ME10_Ausgeben.h"

#include "app/Sitzung.h"
#include "output/Schreibpuffer.h"
#include "text/FontErzeugen.h"
#include "text/Textzustand.h"

#include <cmath>

namespace konturo {

namespace {

// An arc whose middle point lies closer than this to its chord (mm) is written as a line.
constexpr double Flachheit = 0.01;

struct Punkt2 {
    double x, y;
};

// "(x,y)"
void Paar(Zeilenpuffer& aus, double x, double y) {
    aus.Zeichen('(');
    aus.Zahl(x);
    aus.Zeichen(',');
    aus.Zahl(y);
    aus.Zeichen(')');
}

void LinienBefehl(Zeilenpuffer& aus, Punkt2 a, Punkt2 b) {
    aus.Text("line two_pts ");
    Paar(aus, a.x, a.y);
    aus.Zeichen(' ');
    Paar(aus, b.x, b.y);
    aus.ZeilenEnde();
}

void Me10Linie(const GeoElement& e, Zeilenpuffer& aus) {
    LinienBefehl(aus, {e.X1, e.Y1}, {e.X2, e.Y2});
}

void Me10Kreis(const GeoElement& e, Zeilenpuffer& aus) {
    aus.Text("circle center ");
    Paar(aus, e.X1, e.Y1);
    aus.Text(" (");
    aus.Zahl(e.Radius);
    aus.Zeichen(')');
    aus.ZeilenEnde();
}

// Middle point of the counter-clockwise arc: halfway between the angles, turned by pi when the
// arc passes through angle 0.
Punkt2 Mittelpunkt(const GeoElement& e) {
    double a = (e.X2 + e.Y2) / 2;
    if (e.Y2 < e.X2) a += Pi();
    return {e.X1 + e.Radius * std::cos(a), e.Y1 + e.Radius * std::sin(a)};
}

void Me10Bogen(const GeoElement& e, Zeilenpuffer& aus) {
    const Punkt2 s{BogenStartX(e), BogenStartY(e)};
    const Punkt2 en{BogenEndeX(e), BogenEndeY(e)};
    if (std::fabs(Me10Sehnenabstand(e)) < Flachheit) {
        LinienBefehl(aus, s, en);
        return;
    }
    const Punkt2 m = Mittelpunkt(e);
    aus.Text("arc three_pts ");
    Paar(aus, s.x, s.y);
    aus.Zeichen(' ');
    Paar(aus, en.x, en.y);
    aus.Zeichen(' ');
    Paar(aus, m.x, m.y);
    aus.ZeilenEnde();
}

} // namespace

double Me10Sehnenabstand(const GeoElement& e) {
    // The chord line of the outline approximation (slope and intercept), kept in a state of its
    // own so writing a file leaves the session's line memory alone.
    Textzustand sehne;
    GeradeDurchZweiPunkte(sehne, BogenStartX(e), BogenStartY(e), BogenEndeX(e), BogenEndeY(e));
    const Punkt2 m = Mittelpunkt(e);
    return Lotabstand(sehne, m.x, m.y);
}

void Me10Schreiben(Sitzung& s, std::ostream& aus) {
    Speicher& sp = s.speicher;
    UiDienste& ui = *s.ui;
    const Schreibanzeige anzeige(ui);
    const std::int32_t anzahl = sp.ElementAnzahl();
    ui.FortschrittMaximum(anzahl);
    ui.FortschrittWert(0);
    {
        Zeilenpuffer puffer(aus);
        // The margin derives from the width alone and is used for both axes.
        const double m = (sp.XMax - sp.XMin) * 0.05;
        puffer.Text("window ");
        Paar(puffer, sp.XMin - m, sp.YMin - m);
        puffer.Zeichen(' ');
        Paar(puffer, sp.XMax + m, sp.YMax + m);
        puffer.ZeilenEnde();
        for (sp.AktElement = 1; sp.AktElement <= anzahl && !puffer.Fehler(); ++sp.AktElement) {
            const GeoElement& e = sp.Elemente[sp.AktElement];
            switch (e.Typ) {
            case Linie:
                Me10Linie(e, puffer);
                break;
            case Bogen:
                Me10Bogen(e, puffer);
                break;
            case Kreis:
                Me10Kreis(e, puffer);
                break;
            default:
                break;
            }
            if (sp.AktElement % 20 == 0) ui.FortschrittWert(sp.AktElement);
        }
        if (!puffer.Fehler()) {
            puffer.Zeile("end");
            puffer.Zeile("window fit");
        }
    }
}

Schreibergebnis Me10Schreiben(Sitzung& s) {
    return InDateiSchreiben(s, [&s](std::ostream& aus) { Me10Schreiben(s, aus); });
}

} // namespace konturo
