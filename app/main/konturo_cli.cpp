// konturo-cli: the converter without a window. Runs the same core operations as the main window
// (text to contours, then the writer chosen by the output file's extension) for scripts and tests.
// Nothing the command line does is saved to the user's settings.
#include "app/BatchVerarbeitung.h"
#include "app/DB_System.h"
#include "app/EinstellungenSpeicher.h"
#include "app/Sitzung.h"
#include "app/Sprache.h"
#include "app/StartParameter.h"
#include "app/adapter/EinstellungenQt.h"
#include "display/Statistik.h"
#include "display/qt/Vorschau.h"
#include "frames/Vorlagen.h"
#include "geometry/Variablen.h"
#include "import/EPS_Einlesen.h"
#include "output/Ausgabe.h"
#include "output/FSO_Funktionen.h"
#include "output/Maschinenpruefung.h"
#include "text/FontAuslesen.h"
#include "text/GlyphGeraetFreetype.h"
#include "text/GlyphonBindung.h"
#include "text/RtfLesen.h"
#include "text/Stil.h"
#include "text/Textquelle.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace konturo {
namespace {

// Exit codes: 0 success, 1 the work failed (font, text, file), 2 the command line is wrong,
// 3 the machine check found violations (the output is written all the same).
constexpr int ExitFehler = 1;
constexpr int ExitAufruf = 2;
constexpr int ExitVerstoss = 3;

constexpr const char* Hilfe =
    R"(konturo-cli: lettering and drawings to contours of lines, arcs and circles.

Usage:
  konturo-cli text [options] TEXT       convert TEXT (newlines in TEXT are line breaks)
  konturo-cli text [options] --file PATH
  konturo-cli import [options] FILE     import a drawing: .eps, .ai, .ps or .pdf (any case)
  konturo-cli batch [options] FILE.bch  convert every entry of a batch file into a file of
                                        its own
  konturo-cli --help

Output (all commands):
  -o, --output PATH     the file to write (text and import, required); the writer follows
                        the extension: .dxf DXF R12, .geo/.vlg ToPs GEO, .inp/.m10 ME10 macro
  --set KEY=VALUE       set one setting for this run (any key of the settings table,
                        for example --set Toleranz=0.02 --set Rtyp=1); repeatable
  --defaults            start from the settings' defaults instead of the stored settings
  --decimal point|comma the number format of the DXF value lines (default: the locale's)
  --stats               after the conversion print the statistics window's numbers, one
                        "Gruppe/Feld = Wert" line per field in the window's order, "." as
                        separator (for example "Kreise/Gesamtlänge = 31.42"), and the
                        largest deviation from the true outline in mm
                        ("Abweichung/max. = 0.0412"; "-" when it is not known)
  --check               after writing the output check it against the machine's limits
                        MinRadius, MinLaenge (mm) and Nachkommastellen (settings, 0 = no
                        check): one line per violation ("element 12, contour 3: Radius
                        0.1000") and a summary; exit status 3 when there are violations.
                        --set Reparieren=1 repairs what can be repaired within
                        MaxAbweichung before the output is written
  --preview FILE        after the output file also write the drawing to FILE (text and
                        import): FILE.pdf is the A4 page "Grafik drucken" prints, in
                        black, fitted and placed as on paper; FILE.png is the picture of
                        the main window, 1200 x 900 pixels, in the colours of the settings
                        (HGF, LF, BF, PF) with end points when Punkte=1. A preview that
                        cannot be written makes the exit status 1; the output file stays
  -h, --help            this text

Text options:
  --file PATH           read the text from a file: plain text in UTF-8 or Windows-1252,
                        or rich text when the name ends in .rtf (fonts from the file)
  --font NAME           font family (default: the text window's last font, setting Font)
  --size PT             font size in points (default: setting Hoehe); with one font the
                        output size does not depend on it
  --style NAME          standard, fett, kursiv, fett kursiv (or regular, bold, italic,
                        bold-italic)
  --height MM           text height Schrifthoehe: the first character's ascent comes out
                        at HEIGHT / 0.75 mm (default 100)
  --tracking N          Laufweite, extra advance per character (default 0)
  --line-spacing N      Zeilenabstand, added to each line's offset in device units;
                        positive values move lines closer (default 0)

Batch options (and the text options above except --file and TEXT):
  --format FORMAT       dxf, geo, vlg or m10: the type of every output file (default: the
                        type of the last export, setting LastFilter 1 to 4; any other value
                        converts the entries and writes nothing)
  --out-dir DIR         the folder for the output files (default: the batch file's folder;
                        created when missing)
  --jobs N              convert on N threads (default: the number of cores); the files are
                        the same bytes as with --jobs 1
  --preview pdf|png     one preview per entry (see --preview above), written beside the
                        entry's output file (or where it would be) under the same name
                        with .pdf or .png instead of the extension; an entry that fails
                        writes none

  A batch file holds one text per line (UTF-8 or Windows-1252); "|" in a line is a line
  break, and the list ends at the first empty line. Each entry is written as the entry with
  / \ + # < > | and blanks turned into "_", plus the extension; a file of that name is
  replaced. One line per entry goes to standard output: the entry number, the file and the
  number of elements. A failing entry is reported on standard error and the run goes on;
  the exit status is then 1. Ctrl+C stops the run after the entries in hand (status 130).

Economy fitting (settings, through --set):
  SparModus=1           fit lines and arcs across the outline's pieces, far fewer elements,
                        every point of the true outline within MaxAbweichung (mm, default
                        0.05) of the result and the other way round

Import options:
  --force               read an EPS/AI/PS file that has no %%EndSetup, %%EndProlog or
                        %%EndPageSetup marker as a whole (PDF files need no marker)

Frames (settings, through --set):
  Rtyp=0                no frame
  Rtyp=1 / Rtyp=3       automatic size around the geometry, offset Roff (mm), square or
                        rounded corners of radius RRad (mm)
  Rtyp=2 / Rtyp=4       fixed size Rx by Ry (mm) centred on the geometry, square or rounded
  Rtyp=5 / Rtyp=6       the ToPs GEO/VLG or DXF template RVorlage=PATH, centred on the
                        geometry; a template that does not exist is an error
  e.g. --set Rtyp=1 --set Roff=5, --set Rtyp=4 --set Rx=300 --set Ry=200,
       --set Rtyp=6 --set RVorlage=plate.dxf

The stored settings are read but never written. Exit status: 0 on success, 1 when the
conversion or writing failed (in a batch run: when any entry failed), 2 for a wrong command
line, 3 when --check found violations, 130 when a batch run was stopped with Ctrl+C. A preview that cannot be written
counts as a failed writing.
)";

// Options every command shares: the output file and the settings of the run.
struct Optionen {
    std::string ausgabe;
    std::vector<std::pair<std::string, std::string>> setzen; // --set, in order
    bool standard = false;                                   // --defaults
    std::optional<bool> dezimalPunkt;                        // --decimal
    bool statistik = false;                                  // --stats
    bool pruefen = false;                                    // --check
    std::string vorschau;                                    // --preview
};

struct TextOptionen {
    std::optional<std::string> text;
    std::optional<std::string> datei;
    std::optional<std::string> schrift;
    std::optional<double> groesse;
    std::optional<std::string> stil;
    std::optional<double> hoehe;
    std::optional<double> laufweite;
    std::optional<double> zeilenabstand;
};

struct Abbruch {
    int code;
};

[[noreturn]] void Fehler(int code, const std::string& text) {
    std::cerr << "konturo-cli: " << text << '\n';
    throw Abbruch{code};
}

std::string Klein(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// A number in "." or "," form, independent of the locale.
std::optional<double> Zahl(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    double wert = 0;
    const char* ende = text.data() + text.size();
    const auto [p, fehler] = std::from_chars(text.data(), ende, wert);
    if (text.empty() || fehler != std::errc() || p != ende || !std::isfinite(wert))
        return std::nullopt;
    return wert;
}

// The arguments after the command word, with "--opt=value" split into two.
class Argumente {
public:
    Argumente(int argc, char** argv, int ab) {
        for (int i = ab; i < argc; ++i) {
            const std::string a = argv[i];
            const auto gleich = a.find('=');
            if (a.rfind("--", 0) == 0 && gleich != std::string::npos && a != "--" &&
                a.rfind("--set", 0) != 0) {
                liste_.push_back(a.substr(0, gleich));
                liste_.push_back(a.substr(gleich + 1));
            } else if (a.rfind("--set=", 0) == 0) {
                liste_.push_back("--set");
                liste_.push_back(a.substr(6));
            } else {
                liste_.push_back(a);
            }
        }
    }
    bool Ende() const { return pos_ >= liste_.size(); }
    const std::string& Naechstes() { return liste_[pos_++]; }
    const std::string& Wert(const std::string& option) {
        if (Ende()) Fehler(ExitAufruf, "option " + option + " needs a value");
        return Naechstes();
    }
    double ZahlWert(const std::string& option) {
        const std::string w = Wert(option);
        const auto z = Zahl(w);
        if (!z) Fehler(ExitAufruf, "option " + option + ": \"" + w + "\" is not a number");
        return *z;
    }

private:
    std::vector<std::string> liste_;
    std::size_t pos_ = 0;
};

// Consumes one of the shared options; false when a is none of them.
bool GemeinsameOption(const std::string& a, Argumente& arg, Optionen& opt) {
    if (a == "-o" || a == "--output") {
        opt.ausgabe = arg.Wert(a);
    } else if (a == "--set") {
        const std::string zuweisung = arg.Wert(a);
        const auto gleich = zuweisung.find('=');
        if (gleich == std::string::npos || gleich == 0)
            Fehler(ExitAufruf, "--set needs KEY=VALUE, got \"" + zuweisung + "\"");
        opt.setzen.emplace_back(zuweisung.substr(0, gleich), zuweisung.substr(gleich + 1));
    } else if (a == "--defaults") {
        opt.standard = true;
    } else if (a == "--stats") {
        opt.statistik = true;
    } else if (a == "--check") {
        opt.pruefen = true;
    } else if (a == "--preview") {
        opt.vorschau = arg.Wert(a);
        if (opt.vorschau.empty()) Fehler(ExitAufruf, "--preview needs a file");
    } else if (a == "-h" || a == "--help") {
        std::cout << Hilfe;
        throw Abbruch{0};
    } else if (a == "--decimal") {
        const std::string w = Klein(arg.Wert(a));
        if (w == "point")
            opt.dezimalPunkt = true;
        else if (w == "comma")
            opt.dezimalPunkt = false;
        else
            Fehler(ExitAufruf, "--decimal takes point or comma, got \"" + w + "\"");
    } else {
        return false;
    }
    return true;
}

// The frame of the run: frame types 5 and 6 read their template from RVorlage once, as the frame
// parameters window reads it when the type is chosen.
void RahmenVorbereiten(Sitzung& s) {
    const Einstellungen& e = s.einstellungen;
    if (e.Rtyp > 6) Fehler(ExitAufruf, "Rtyp must be 0 to 6, got " + std::to_string(e.Rtyp));
    if (e.Rtyp != 5 && e.Rtyp != 6) return;
    const std::string art = e.Rtyp == 5 ? "ToPs GEO/VLG" : "DXF";
    if (e.RVorlage.empty())
        Fehler(ExitAufruf, "frame type " + std::to_string(e.Rtyp) + " needs a " + art +
                               " template: give --set RVorlage=PATH");
    const Dateifehler fehler = DateiPruefen(e.RVorlage, MaxVorlageDatei);
    if (fehler == Dateifehler::Fehlt)
        Fehler(ExitFehler, "frame template \"" + e.RVorlage + "\" does not exist");
    if (fehler != Dateifehler::Keiner)
        Fehler(ExitFehler, "cannot read the frame template \"" + e.RVorlage +
                               "\": " + DateifehlerText(fehler, MaxVorlageDatei));
    RahmenVorlageLesen(s);
    if (s.speicher.VorlageElemente.Anzahl() == 0)
        std::cerr << "konturo-cli: the frame template \"" << e.RVorlage
                  << "\" holds nothing readable as a " << art << " template; no frame is laid\n";
}

// Language texts, settings (stored or defaults, then --set), start values, number format.
void SitzungVorbereiten(Sitzung& s, const Optionen& opt) {
    const std::string ordner = ProgrammOrdner();
    const std::string sprachDatei = ordner + "/Konturo.dat";
    // Without the language file the messages show their numbers; a file that is there and cannot
    // be read is named.
    std::string grund;
    if (DateiPruefen(sprachDatei, UINTMAX_MAX) != Dateifehler::Fehlt &&
        !(StartSprache(s, sprachDatei, grund) && SpracheLaden(s, sprachDatei, grund)))
        std::cerr << "konturo-cli: " << grund << '\n';

    EinstellungenUmgebung umgebung;
    umgebung.programmOrdner = ordner;
    if (opt.standard) {
        EinstellungenSpeicherSpeicher leer;
        EinstellungenLaden(s, leer, umgebung);
    } else {
        // A stored value that is not taken is named through text 117 on standard error.
        EinstellungenQt gespeichert;
        EinstellungenLaden(s, gespeichert, umgebung);
    }
    StartwerteSetzen(s);
    for (const auto& [schluessel, wert] : opt.setzen) {
        std::string grund;
        if (!EinstellungSetzen(s.einstellungen, schluessel, wert, &grund))
            Fehler(ExitAufruf, "--set " + schluessel + "=" + wert + ": " + grund);
    }

    RahmenVorbereiten(s);

    if (opt.dezimalPunkt) {
        s.speicher.DezimalPunkt = *opt.dezimalPunkt;
    } else {
        std::setlocale(LC_ALL, "");
        s.speicher.DezimalPunkt = DezimalPunktErmitteln();
        // Numbers in files never follow the locale; only the flag above does.
        std::setlocale(LC_NUMERIC, "C");
    }
}

Ausgabeformat FormatPruefen(const Optionen& opt) {
    if (opt.ausgabe.empty()) Fehler(ExitAufruf, "no output file: give -o PATH");
    const Ausgabeformat f = FormatNachEndung(opt.ausgabe);
    if (f == Ausgabeformat::Keins)
        Fehler(ExitAufruf,
               "no writer for \"" + opt.ausgabe + "\": use .dxf, .geo, .vlg, .inp or .m10");
    return f;
}

// A preview file must be a .pdf or .png file.
void VorschauPruefen(const Optionen& opt) {
    if (!opt.vorschau.empty() && VorschauartVon(opt.vorschau) == Vorschauart::Keine)
        Fehler(ExitAufruf, "--preview \"" + opt.vorschau + "\": give a .pdf or .png file");
}

// The preview after the output file, so that a preview failure loses nothing already written.
void VorschauAusgeben(Sitzung& s, const Optionen& opt) {
    if (opt.vorschau.empty()) return;
    if (!VorschauSchreiben(s, opt.vorschau))
        Fehler(ExitFehler, "cannot write the preview \"" + opt.vorschau + "\"");
}

void Schreiben(Sitzung& s, const Optionen& opt, Ausgabeformat f) {
    if (s.speicher.ElementAnzahl() < 1) Fehler(ExitFehler, "the conversion produced no geometry");
    s.speicher.AusgabeDatei = opt.ausgabe;
    switch (AusgabeSchreiben(s, f)) {
    case Schreibergebnis::Ok:
        return;
    case Schreibergebnis::NichtErstellt:
        Fehler(ExitFehler, "cannot create \"" + opt.ausgabe + "\"");
    case Schreibergebnis::Schreibfehler:
        Fehler(ExitFehler, "writing \"" + opt.ausgabe + "\" failed; the file is incomplete");
    }
}

// The statistics window's numbers of the finished geometry, on standard output.
void StatistikAusgeben(const Sitzung& s) {
    for (const std::string& zeile : StatistikZeilen(s.speicher)) std::cout << zeile << '\n';
    std::cout << AbweichungZeile(s) << '\n';
    std::cout.flush();
}

// The machine check of the written geometry: each violation and a summary on standard output.
// Returns the exit status: 0, or ExitVerstoss when there are violations.
int MaschinePruefenAusgeben(const Sitzung& s) {
    const Maschinengrenzen g = GrenzenAus(s.einstellungen);
    const std::vector<Pruefbefund> befunde = MaschinePruefen(s.speicher, g);
    std::int32_t jeArt[3] = {0, 0, 0};
    for (const Pruefbefund& b : befunde) {
        char wert[64];
        std::snprintf(wert, sizeof wert, "%.6g", b.Wert);
        std::cout << "element " << b.Element << ", contour " << b.KonturNr << ": "
                  << VerstossName(b.Art) << ' ' << wert << '\n';
        ++jeArt[static_cast<int>(b.Art)];
    }
    char grenzen[160];
    std::snprintf(grenzen, sizeof grenzen, "MinRadius %g mm, MinLaenge %g mm, Nachkommastellen %d",
                  g.MinRadius, g.MinLaenge, static_cast<int>(g.Nachkommastellen));
    std::cout << "check (" << grenzen << "): " << befunde.size() << " violations, " << jeArt[0]
              << " Radius, " << jeArt[1] << " Laenge, " << jeArt[2] << " Nachkommastellen\n";
    std::cout.flush();
    return befunde.empty() ? 0 : ExitVerstoss;
}

// A text file's bytes: only a regular file of at most MaxTextDatei bytes, refused at once
// otherwise, with the reason.
std::string DateiInhalt(const std::string& pfad) {
    std::string inhalt;
    const Dateifehler fehler = DateiEinlesen(pfad, MaxTextDatei, inhalt);
    if (fehler != Dateifehler::Keiner)
        Fehler(ExitFehler,
               "cannot read \"" + pfad + "\": " + DateifehlerText(fehler, MaxTextDatei));
    return inhalt;
}

// Plain text in UTF-8 (with or without byte order mark) or, failing that, Windows-1252; bytes
// that are no text (a program, an image) are refused.
std::string KlartextDatei(const std::string& pfad) {
    std::string text;
    if (!KlartextAusBytes(DateiInhalt(pfad), text))
        Fehler(ExitFehler, "\"" + pfad + "\" is not a text file");
    return text;
}

// A rich-text file: the fonts, sizes and styles come from the file.
void RtfDateiLesen(const std::string& pfad, TextquelleKlartext& quelle) {
    const RtfText rtf = RtfLesen(DateiInhalt(pfad));
    if (!rtf.Fehler.empty()) Fehler(ExitFehler, "\"" + pfad + "\": " + rtf.Fehler);
    RtfAnhaengen(rtf, quelle);
}

bool EndetAuf(const std::string& pfad, const std::string& endung) {
    const std::string k = Klein(pfad);
    return k.size() >= endung.size() &&
           k.compare(k.size() - endung.size(), endung.size(), endung) == 0;
}

// Consumes one of the options of the font and the layout; false when a is none of them.
bool SchriftOption(const std::string& a, Argumente& arg, TextOptionen& t) {
    if (a == "--font") {
        t.schrift = arg.Wert(a);
    } else if (a == "--size") {
        t.groesse = arg.ZahlWert(a);
        if (!(*t.groesse > 0)) Fehler(ExitAufruf, "--size must be above 0");
    } else if (a == "--style") {
        t.stil = arg.Wert(a);
    } else if (a == "--height") {
        t.hoehe = arg.ZahlWert(a);
        if (!(*t.hoehe > 0)) Fehler(ExitAufruf, "--height must be above 0");
    } else if (a == "--tracking") {
        t.laufweite = arg.ZahlWert(a);
    } else if (a == "--line-spacing") {
        t.zeilenabstand = arg.ZahlWert(a);
    } else {
        return false;
    }
    return true;
}

TextOptionen TextOptionenLesen(Argumente& arg, Optionen& opt) {
    TextOptionen t;
    while (!arg.Ende()) {
        const std::string a = arg.Naechstes();
        if (GemeinsameOption(a, arg, opt) || SchriftOption(a, arg, t)) continue;
        if (a == "--file") {
            t.datei = arg.Wert(a);
        } else if (a == "--") {
            if (arg.Ende()) Fehler(ExitAufruf, "missing TEXT after --");
            if (t.text) Fehler(ExitAufruf, "more than one TEXT given");
            t.text = arg.Naechstes();
        } else if (a.size() > 1 && a[0] == '-') {
            Fehler(ExitAufruf, "unknown option \"" + a + "\" (see konturo-cli --help)");
        } else {
            if (t.text) Fehler(ExitAufruf, "more than one TEXT given (quote it)");
            t.text = a;
        }
    }
    if (t.text && t.datei) Fehler(ExitAufruf, "give either TEXT or --file, not both");
    if (!t.text && !t.datei) Fehler(ExitAufruf, "no text: give TEXT or --file PATH");
    return t;
}

// Every font the text uses must be installed (fontconfig would otherwise quietly stand in any
// sans-serif font).
void SchriftenPruefen(const TextquelleKlartext& quelle) {
    std::set<std::string> geprueft;
    for (std::int32_t p = 0; p < quelle.Laenge(); ++p) {
        const TextPosition pos = quelle.An(p);
        if (pos.art != TextPosition::Art::Zeichen) continue;
        if (!geprueft.insert(pos.format.Schriftart).second) continue;
        if (!SchriftVorhanden(pos.format.Schriftart))
            Fehler(ExitFehler, "font \"" + pos.format.Schriftart + "\" is not installed");
    }
}

// The text's font, size and style from the options or the text window's last choice, and the
// layout values of the run.
Zeichenformat TextFormatBestimmen(Sitzung& s, const TextOptionen& t) {
    Zeichenformat f;
    f.Schriftart = t.schrift.value_or(s.einstellungen.Font);
    if (t.groesse) {
        f.Groesse = *t.groesse;
    } else {
        const auto g = Zahl(s.einstellungen.Hoehe);
        f.Groesse = g && *g > 0 ? *g : 24.0;
    }
    const int stil = StilNummer(s, t.stil.value_or(s.einstellungen.Stil));
    if (t.stil && stil < 0)
        Fehler(ExitAufruf, "unknown style \"" + *t.stil +
                               "\": use standard, fett, kursiv, fett kursiv (or regular, bold, "
                               "italic, bold-italic)");
    // Without --style the text window's last style; one it does not know counts as standard.
    StilAnwenden(std::max(stil, 0), f);
    if (t.hoehe) s.text.Schrifthoehe = *t.hoehe;
    if (t.laufweite) s.text.Laufweite = *t.laufweite;
    if (t.zeilenabstand) s.text.Zeilenabstand = *t.zeilenabstand;
    return f;
}

int TextBefehl(Argumente& arg) {
    Optionen opt;
    const TextOptionen t = TextOptionenLesen(arg, opt);
    const Ausgabeformat format = FormatPruefen(opt);
    VorschauPruefen(opt);

    Sitzung s;
    UiDiensteKopflos ui(false);
    s.ui = &ui;
    SitzungVorbereiten(s, opt);
    const Zeichenformat f = TextFormatBestimmen(s, t);

    TextquelleKlartext quelle;
    quelle.standardFormat = f;
    if (t.datei && EndetAuf(*t.datei, ".rtf")) {
        RtfDateiLesen(*t.datei, quelle);
        s.fenster.AktDatei = *t.datei;
    } else if (t.datei) {
        quelle.Anhaengen(KlartextDatei(*t.datei), f);
        s.fenster.AktDatei = *t.datei;
    } else {
        quelle.Anhaengen(*t.text, f);
    }
    if (quelle.KlarText().empty()) Fehler(ExitFehler, "the text is empty");
    SchriftenPruefen(quelle);

    s.textquelle = &quelle;
    TextUmwandeln(s);

    if (opt.statistik) StatistikAusgeben(s);

    Schreiben(s, opt, format);
    VorschauAusgeben(s, opt);
    return opt.pruefen ? MaschinePruefenAusgeben(s) : 0;
}

bool IstZeichnung(const std::string& pfad) {
    for (const char* endung : {".eps", ".ai", ".ps", ".pdf"})
        if (EndetAuf(pfad, endung)) return true;
    return false;
}

int ImportBefehl(Argumente& arg) {
    Optionen opt;
    std::optional<std::string> datei;
    bool erzwingen = false;
    while (!arg.Ende()) {
        const std::string a = arg.Naechstes();
        if (GemeinsameOption(a, arg, opt)) continue;
        if (a == "--force") {
            erzwingen = true;
        } else if (a.size() > 1 && a[0] == '-' && a != "--") {
            Fehler(ExitAufruf, "unknown option \"" + a + "\" (see konturo-cli --help)");
        } else {
            if (a == "--" && arg.Ende()) Fehler(ExitAufruf, "missing FILE after --");
            const std::string pfad = a == "--" ? arg.Naechstes() : a;
            if (datei) Fehler(ExitAufruf, "more than one FILE given");
            datei = pfad;
        }
    }
    if (!datei) Fehler(ExitAufruf, "no drawing: give FILE (.eps, .ai, .ps or .pdf)");
    if (!IstZeichnung(*datei))
        Fehler(ExitAufruf, "\"" + *datei + "\" is not an .eps, .ai, .ps or .pdf file");
    const Ausgabeformat format = FormatPruefen(opt);
    VorschauPruefen(opt);
    const Dateifehler lesbar = DateiPruefen(*datei, EPSMaxDateiGroesse);
    if (lesbar != Dateifehler::Keiner)
        Fehler(ExitFehler,
               "cannot read \"" + *datei + "\": " + DateifehlerText(lesbar, EPSMaxDateiGroesse));

    Sitzung s;
    UiDiensteKopflos ui(false);
    s.ui = &ui;
    SitzungVorbereiten(s, opt);
    // The answer to "read it anyway?" after a missing start marker.
    ui.antwort = erzwingen;
    s.einstellungen.SingleLineModus = 0;
    s.fenster.AktDatei = *datei;
    s.fenster.TextModus = false;
    s.fenster.ParameterZeigen = false;
    switch (EPSEinlesen(s)) {
    case ImportErgebnis::Gelesen:
        break;
    case ImportErgebnis::NichtLesbar:
        Fehler(ExitFehler, "cannot read \"" + *datei + "\"");
    case ImportErgebnis::Abgelehnt:
        Fehler(ExitFehler, "\"" + *datei +
                               "\" was not read; give --force to read a file "
                               "without a start marker as a whole");
    }
    if (opt.statistik) StatistikAusgeben(s);
    Schreiben(s, opt, format);
    VorschauAusgeben(s, opt);
    return opt.pruefen ? MaschinePruefenAusgeben(s) : 0;
}

struct BatchOptionen {
    std::optional<std::string> datei;
    std::optional<std::uint8_t> lastFilter; // --format
    std::optional<std::string> ordner;      // --out-dir
    int faeden = 0;                         // --jobs; 0: the number of cores
    std::string vorschauEndung;             // --preview: ".pdf" or ".png", empty: none
};

std::uint8_t LastFilterVon(const std::string& format) {
    const std::string k = Klein(format);
    const char* namen[4] = {"dxf", "geo", "vlg", "m10"};
    for (int i = 0; i < 4; ++i)
        if (k == namen[i] || k == std::string(".") + namen[i])
            return static_cast<std::uint8_t>(i + 1);
    Fehler(ExitAufruf, "--format takes dxf, geo, vlg or m10, got \"" + format + "\"");
}

BatchOptionen BatchOptionenLesen(Argumente& arg, Optionen& opt, TextOptionen& t) {
    BatchOptionen b;
    while (!arg.Ende()) {
        const std::string a = arg.Naechstes();
        if (GemeinsameOption(a, arg, opt) || SchriftOption(a, arg, t)) continue;
        if (a == "--format") {
            b.lastFilter = LastFilterVon(arg.Wert(a));
        } else if (a == "--out-dir") {
            b.ordner = arg.Wert(a);
            if (b.ordner->empty()) Fehler(ExitAufruf, "--out-dir needs a folder");
        } else if (a == "--jobs") {
            const double n = arg.ZahlWert(a);
            if (!(n >= 1 && n <= 1024) || n != std::floor(n))
                Fehler(ExitAufruf, "--jobs takes a whole number from 1 to 1024");
            b.faeden = static_cast<int>(n);
        } else if (a.size() > 1 && a[0] == '-' && a != "--") {
            Fehler(ExitAufruf, "unknown option \"" + a + "\" (see konturo-cli --help)");
        } else {
            if (a == "--" && arg.Ende()) Fehler(ExitAufruf, "missing FILE after --");
            const std::string pfad = a == "--" ? arg.Naechstes() : a;
            if (b.datei) Fehler(ExitAufruf, "more than one FILE given");
            b.datei = pfad;
        }
    }
    if (!b.datei) Fehler(ExitAufruf, "no batch file: give FILE.bch");
    if (!opt.ausgabe.empty())
        Fehler(ExitAufruf, "-o does not apply to batch runs: every entry names its own file "
                           "(give --out-dir DIR and --format FORMAT)");
    if (opt.statistik) Fehler(ExitAufruf, "--stats does not apply to batch runs");
    if (opt.pruefen) Fehler(ExitAufruf, "--check does not apply to batch runs");
    if (!opt.vorschau.empty()) {
        const std::string k = Klein(opt.vorschau);
        if (k == "pdf" || k == ".pdf")
            b.vorschauEndung = ".pdf";
        else if (k == "png" || k == ".png")
            b.vorschauEndung = ".png";
        else
            Fehler(ExitAufruf, "--preview takes pdf or png in batch runs (one preview per "
                               "entry beside its file), got \"" +
                                   opt.vorschau + "\"");
    }
    return b;
}

// Why an entry failed, for standard error.
std::string BatchGrund(const BatchEintrag& e) {
    switch (e.Fehler) {
    case BatchFehler::Keiner:
        break;
    case BatchFehler::Umwandlung:
        return "the conversion failed: " + e.Meldung;
    case BatchFehler::NameUngueltig:
        return "the file name holds a NUL character";
    case BatchFehler::NameZuLang:
        return "the file name is longer than the file system allows";
    case BatchFehler::NichtErstellt:
        return "cannot create \"" + e.Datei + "\"";
    case BatchFehler::Schreibfehler:
        return "writing \"" + e.Datei + "\" failed; the file is incomplete";
    }
    return {};
}

// Where an entry's preview goes: beside its output file under the same name, or, when the run
// writes no files, where that file would be.
std::string VorschauPfad(const Sitzung& arbeit, const BatchEintrag& e, const std::string& ordner,
                         const std::string& endung) {
    if (!e.Datei.empty()) return std::filesystem::path(e.Datei).replace_extension(endung).string();
    const std::string& name = arbeit.batch.BatchZeilen.at(static_cast<std::size_t>(e.Nr - 1));
    return (std::filesystem::path(ordner) / (name + endung)).string();
}

// Ctrl+C during a batch run: no further entry starts.
std::atomic<bool> batchAbbruch{false};
void BatchSignal(int) { batchAbbruch = true; }

int BatchBefehl(Argumente& arg) {
    Optionen opt;
    TextOptionen t;
    const BatchOptionen b = BatchOptionenLesen(arg, opt, t);
    const Dateifehler lesbar = DateiPruefen(*b.datei, MaxBatchDatei);
    if (lesbar != Dateifehler::Keiner)
        Fehler(ExitFehler,
               "cannot read \"" + *b.datei + "\": " + DateifehlerText(lesbar, MaxBatchDatei));

    Sitzung s;
    UiDiensteKopflos ui(false);
    s.ui = &ui;
    SitzungVorbereiten(s, opt);
    const Zeichenformat f = TextFormatBestimmen(s, t);
    if (b.lastFilter) s.einstellungen.LastFilter = *b.lastFilter;
    if (!SchriftVorhanden(f.Schriftart))
        Fehler(ExitFehler, "font \"" + f.Schriftart + "\" is not installed");

    s.batch.BatchPfad = *b.datei;
    const Dateifehler gelesen = BatchLesen(s);
    if (gelesen != Dateifehler::Keiner)
        Fehler(ExitFehler,
               "cannot read \"" + *b.datei + "\": " + DateifehlerText(gelesen, MaxBatchDatei));
    const std::string ordner = b.ordner.value_or(BatchOrdner(*b.datei));
    std::error_code fehler;
    std::filesystem::create_directories(ordner, fehler);
    if (!OrdnerExistiert(ordner)) Fehler(ExitFehler, "cannot create the folder \"" + ordner + "\"");

    const bool schreiben = !BatchEndung(s.einstellungen.LastFilter).empty();
    if (!schreiben)
        std::cerr << "konturo-cli: LastFilter is " << int{s.einstellungen.LastFilter}
                  << ": the entries are converted and nothing is written (give --format)\n";
    const int faeden = b.faeden > 0
                           ? b.faeden
                           : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));

    // The previews are painted on the entry's own thread while its drawing is in the store; a
    // slot is written there before the entry is handed on, and read only after that.
    std::vector<std::string> vorschauFehlt(static_cast<std::size_t>(s.batch.AnzBatchZeilen()));
    std::function<void(Sitzung&, const BatchEintrag&)> vorschau;
    if (!b.vorschauEndung.empty()) {
        vorschau = [&](Sitzung& arbeit, const BatchEintrag& e) {
            if (e.Fehler != BatchFehler::Keiner) return;
            const std::string pfad = VorschauPfad(arbeit, e, ordner, b.vorschauEndung);
            if (!VorschauSchreiben(arbeit, pfad))
                vorschauFehlt[static_cast<std::size_t>(e.Nr - 1)] = pfad;
        };
    }

    batchAbbruch = false;
    std::signal(SIGINT, BatchSignal);
    std::int32_t geschrieben = 0, fehlgeschlagen = 0, ohneVorschau = 0;
    const auto gelaufen = BatchParallelAusfuehren(
        s, f, ordner, faeden, batchAbbruch,
        [&](const BatchEintrag& e) {
            if (e.Fehler != BatchFehler::Keiner) {
                ++fehlgeschlagen;
                std::cerr << "konturo-cli: entry " << e.Nr << ": " << BatchGrund(e) << '\n';
                return;
            }
            if (!e.Datei.empty()) ++geschrieben;
            std::cout << e.Nr << '\t' << (e.Datei.empty() ? "-" : e.Datei) << '\t' << e.Elemente
                      << " elements\n";
            const std::string& fehlt = vorschauFehlt[static_cast<std::size_t>(e.Nr - 1)];
            if (!fehlt.empty()) {
                ++ohneVorschau;
                std::cerr << "konturo-cli: entry " << e.Nr << ": cannot write the preview \""
                          << fehlt << "\"\n";
            }
        },
        vorschau);
    std::signal(SIGINT, SIG_DFL);

    const auto anzahl = s.batch.AnzBatchZeilen();
    std::cout << anzahl << " entries: " << geschrieben << " files written, " << fehlgeschlagen
              << " failed";
    if (static_cast<std::int32_t>(gelaufen.size()) < anzahl)
        std::cout << ", " << anzahl - static_cast<std::int32_t>(gelaufen.size()) << " not run";
    if (ohneVorschau > 0) std::cout << ", " << ohneVorschau << " previews not written";
    std::cout << '\n';
    std::cout.flush();
    if (batchAbbruch) {
        std::cerr << "konturo-cli: stopped by the user\n";
        return 130;
    }
    return fehlgeschlagen > 0 || ohneVorschau > 0 ? ExitFehler : 0;
}

int Ausfuehren(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << Hilfe;
        return ExitAufruf;
    }
    const std::string befehl = argv[1];
    if (befehl == "-h" || befehl == "--help" || befehl == "help") {
        std::cout << Hilfe;
        return 0;
    }
    Argumente arg(argc, argv, 2);
    if (befehl == "text") return TextBefehl(arg);
    if (befehl == "import") return ImportBefehl(arg);
    if (befehl == "batch") return BatchBefehl(arg);
    Fehler(ExitAufruf, "unknown command \"" + befehl + "\" (see konturo-cli --help)");
}

} // namespace
} // namespace konturo

int main(int argc, char** argv) {
    try {
        return konturo::Ausfuehren(argc, argv);
    } catch (const konturo::Abbruch& a) {
        return a.code;
    } catch (const std::exception& e) {
        std::cerr << "konturo-cli: " << e.what() << '\n';
        return konturo::ExitFehler;
    }
}
