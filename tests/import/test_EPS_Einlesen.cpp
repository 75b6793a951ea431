// The PostScript reader: start markers, line ends, dialect choice, the line and stack readers,
// curves, mirroring, the transformation matrix, rectangles and bad numbers.
#include "ImportHilfe.h"

#include "geometry/AllgLesen.h"
#include "text/FontErzeugen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace konturo {
namespace {

using test::Datensaetze;
using test::Importieren;
using test::NeueSitzung;

constexpr double Genau = 1e-9;

struct Strecke {
    double x1, y1, x2, y2;
};

// The Linie records of the outline buffer.
std::vector<Strecke> Strecken(const Sitzung& s) {
    std::vector<Strecke> v;
    for (const GeoElement& e : Datensaetze(s))
        if (e.Typ == Linie) v.push_back({e.X1, e.Y1, e.X2, e.Y2});
    return v;
}

std::string Mit(const std::vector<Strecke>& v) {
    std::string t;
    for (const Strecke& s : v)
        t += "(" + std::to_string(s.x1) + "," + std::to_string(s.y1) + ")-(" +
             std::to_string(s.x2) + "," + std::to_string(s.y2) + ") ";
    return t;
}

void StreckenErwarten(const Sitzung& s, const std::vector<Strecke>& erwartet,
                      const std::string& fall) {
    const std::vector<Strecke> ist = Strecken(s);
    ASSERT_EQ(ist.size(), erwartet.size()) << fall << ": " << Mit(ist);
    for (std::size_t i = 0; i < ist.size(); ++i) {
        EXPECT_NEAR(ist[i].x1, erwartet[i].x1, Genau) << fall << " record " << i;
        EXPECT_NEAR(ist[i].y1, erwartet[i].y1, Genau) << fall << " record " << i;
        EXPECT_NEAR(ist[i].x2, erwartet[i].x2, Genau) << fall << " record " << i;
        EXPECT_NEAR(ist[i].y2, erwartet[i].y2, Genau) << fall << " record " << i;
    }
}

struct LeseFall {
    const char* name;
    std::string text;
    std::vector<Strecke> strecken;
};

// Every case has a start marker, so nothing is asked; only a case that reads nothing reports it
// (text 138).
TEST(EPSEinlesen, StreckenJeEingabe) {
    const std::string langeZeile = "%" + std::string(300, 'x');
    const std::vector<LeseFall> faelle = {
        {"MOVETO becomes MO: line reader",
         "%%EndSetup\n100 200 moveto\n300 200 lineto\n300 250 LI\n",
         {{100, 200, 300, 200}, {300, 200, 300, 250}}},
        {"line reader ignores lines of several operators",
         "%%EndSetup\n0 0 m\n10 0 l\n20 0 l 30 0 l\n0 5 L\n",
         {{0, 0, 10, 0}, {10, 0, 0, 5}}},
        {"stack reader closes with h",
         "%%EndSetup\n0 0 m 10 0 l 10 10 l h\n",
         {{0, 0, 10, 0}, {10, 0, 10, 10}, {10, 10, 0, 0}}},
        {"stack reader keeps its stack across lines",
         "%%EndSetup\n0 0 m 10\n 0 l\n5 5 l h f\n",
         {{0, 0, 10, 0}, {10, 0, 5, 5}, {5, 5, 0, 0}}},
        {"first moveto inside a longer line: stack reader from its start",
         "%%EndSetup\nq 1 0 0 1 0 0 cm 0 0 m 10 0 l 10 10 l h f Q\n",
         {{0, 0, 10, 0}, {10, 0, 10, 10}, {10, 10, 0, 0}}},
        {"other operators empty the stack and do not end the reading",
         "%%EndSetup\n0 0 m 10 0 l h f\n/GS1 gs 0.5 0.2 0.1 rg 2 w [3 2] 0 d BT /F1 12 Tf ET\n"
         "20 0 m 30 0 l S\n",
         {{0, 0, 10, 0}, {10, 0, 0, 0}, {20, 0, 30, 0}}},
        {"an overfull stack keeps the newest nine",
         "%%EndSetup\n0 0 m 1 2 3 4 5 6 7 8 9 10 11 l\n",
         {{0, 0, 10, 11}}},
        {"operators with too few operands are ignored",
         "%%EndSetup\n0 0 m 5 l 1 2 3 4 5 c 7 v 8 y 10 0 l\n",
         {{0, 0, 10, 0}}},
        {"y with two operands is a straight segment",
         "%%EndSetup\n0 0 m 1 1 m 5 6 y\n",
         {{1, 1, 5, 6}}},
        {"miter limit M with one operand is no moveto",
         "%%EndSetup\n0 0 m 10 M 10 0 l\n",
         {{0, 0, 10, 0}}},
        {"rectangle",
         "%%EndSetup\n0 0 m 5 5 10 20 re f\n",
         {{5, 5, 15, 5}, {15, 5, 15, 25}, {15, 25, 5, 25}, {5, 25, 5, 5}}},
        {"clipping rectangle is dropped",
         "%%EndSetup\n0 0 m 0 0 100 100 re W n 1 1 m 2 1 l\n",
         {{1, 1, 2, 1}}},
        {"line width w is no clip",
         "%%EndSetup\n0 0 m 5 5 10 20 re 0.5 w f\n",
         {{5, 5, 15, 5}, {15, 5, 15, 25}, {15, 25, 5, 25}, {5, 25, 5, 5}}},
        {"rectangle in a line reader file",
         "%%EndSetup\n0 0 m\n5 5 10 20 re\nf\n",
         {{5, 5, 15, 5}, {15, 5, 15, 25}, {15, 25, 5, 25}, {5, 25, 5, 5}}},
        {"text without moveto line reads nothing", "%%EndSetup\n10 l 20 m\n", {}},
        // Start markers and line ends.
        {"the last %%EndSetup wins",
         "%%EndSetup\n0 0 moveto\n5 5 lineto\n%%EndSetup\n100 100 moveto\n200 100 lineto\n",
         {{100, 100, 200, 100}}},
        {"%%EndProlog after %%EndSetup",
         "%%EndSetup\n0 0 moveto\n5 5 lineto\n%%EndProlog\n1 1 moveto\n2 1 lineto\n",
         {{1, 1, 2, 1}}},
        {"%%EndPageSetup after %%EndProlog",
         "%%EndProlog\n0 0 moveto\n5 5 lineto\n%%EndPageSetup\n1 1 moveto\n2 1 lineto\n",
         {{1, 1, 2, 1}}},
        {"LF only with a long first line",
         langeZeile + "\n%%EndSetup\n0 0 m\n10 0 l\n",
         {{0, 0, 10, 0}}},
        {"short LF only file", "%%EndSetup\n0 0 m\n10 0 l\n", {{0, 0, 10, 0}}},
        {"CR only", "%%EndSetup\r0 0 m\r10 0 l\r", {{0, 0, 10, 0}}},
        {"CR LF", "%%EndSetup\r\n0 0 m\r\n10 0 l\r\n", {{0, 0, 10, 0}}},
        {"mixed line ends",
         "%%EndSetup\r\n0 0 m\r10 0 l\n10 5 l\r\n",
         {{0, 0, 10, 0}, {10, 0, 10, 5}}},
        {"last line without line end",
         "%%EndSetup\n0 0 m\n10 0 l\n10 10 l",
         {{0, 0, 10, 0}, {10, 0, 10, 10}}},
        {"tabs belong to tokens", "%%EndSetup\n0 0 m\n10\t0 l\n", {}},
        {"runs of blanks fold", "%%EndSetup\n   0    0   m  \n 10  0 l\n", {{0, 0, 10, 0}}},
        // Mirroring through scale.
        {"1 -1 scale before the first moveto negates y",
         "%%EndSetup\n1 -1 scale\n0 5 m\n10 5 l\n",
         {{0, -5, 10, -5}}},
        {"-1 1 scale negates x",
         "%%EndSetup\n0 0 translate -1 1 scale\n0 5 m\n10 5 l\n",
         {{0, 5, -10, 5}}},
        {"scale after the first moveto has no effect",
         "%%EndSetup\n0 5 m\n1 -1 scale\n10 5 l\n",
         {{0, 5, 10, 5}}},
        {"scale on the first moveto line counts",
         "%%EndSetup\n1 -1 scale 0 5 m 10 5 l\n",
         {{0, -5, 10, -5}}},
        // The transformation matrix.
        {"Ghostscript scale",
         "%%EndSetup\nq 0.1 0 0 0.1 0 0 cm\n100 200 m\n300 200 l\nQ\n",
         {{10, 20, 30, 20}}},
        {"flip of cairo before the paths",
         "%%EndSetup\n1 0 0 -1 0 100 cm\n0 10 m 20 10 l\n",
         {{0, 90, 20, 90}}},
        {"bracketed matrix",
         "%%EndSetup\n[1 0 0 -1 0 100] cm\n0 10 m\n20 10 l\n",
         {{0, 90, 20, 90}}},
        {"matrices multiply",
         "%%EndSetup\n2 0 0 2 0 0 cm 1 0 0 1 5 0 cm 0 0 m 1 0 l\n",
         {{10, 0, 12, 0}}},
        {"Q restores what q saved",
         "%%EndSetup\n0 0 m q 2 0 0 2 0 0 cm 1 1 m 2 1 l Q 1 1 m 2 1 l\n",
         {{2, 2, 4, 2}, {1, 1, 2, 1}}},
        {"gsave and grestore in a line reader file",
         "%%EndSetup\ngsave\n[2 0 0 2 0 0] cm\n1 1 moveto\n2 1 lineto\ngrestore\n1 1 moveto\n"
         "2 1 lineto\n",
         {{2, 2, 4, 2}, {1, 1, 2, 1}}},
        {"Q with nothing saved leaves the matrix",
         "%%EndSetup\nQ 2 0 0 2 0 0 cm Q 1 1 m 2 1 l\n",
         {{2, 2, 4, 2}}},
        {"cm with too few numbers is ignored",
         "%%EndSetup\n2 0 0 cm 1 1 m 2 1 l\n",
         {{1, 1, 2, 1}}},
    };
    for (const LeseFall& f : faelle) {
        auto s = NeueSitzung();
        ASSERT_EQ(Importieren(*s, f.text, false, false), ImportErgebnis::Gelesen) << f.name;
        StreckenErwarten(*s, f.strecken, f.name);
        const std::vector<int> meldungen =
            f.strecken.empty() ? std::vector<int>{138} : std::vector<int>{};
        EXPECT_EQ(s->kopflos.meldungen, meldungen) << f.name;
    }
}

TEST(EPSEinlesen, KonturNummernJePfad) {
    auto s = NeueSitzung();
    Importieren(*s, "%%EndSetup\n0 0 m 10 0 l h\n20 0 m 30 0 l h\n");
    const std::vector<GeoElement> d = Datensaetze(*s);
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[0].KonturNr, 1);
    EXPECT_EQ(d[1].KonturNr, 1);
    EXPECT_EQ(d[2].KonturNr, 2);
    EXPECT_EQ(d[3].KonturNr, 2);
}

TEST(EPSEinlesen, OhneStartmarkeWirdGefragt) {
    const std::string text = "0 0 moveto\n10 0 lineto\n";
    {
        // The question follows the interface language.
        auto s = NeueSitzung();
        s->fenster.Texte[139] = "Shall the file be read anyway?";
        EXPECT_EQ(Importieren(*s, text, false, false), ImportErgebnis::Abgelehnt);
        EXPECT_EQ(s->kopflos.meldungen, std::vector<int>{115});
        const auto& a = s->kopflos.aufrufe;
        const auto frage =
            std::find_if(a.begin(), a.end(), [](const auto& x) { return x.art == "JaNeinFrage"; });
        ASSERT_NE(frage, a.end());
        EXPECT_EQ(frage->text, "Shall the file be read anyway?");
        EXPECT_EQ(s->speicher.KonturPunkte.Anzahl(), 0);
        EXPECT_EQ(s->speicher.ElementAnzahl(), 0);
        EXPECT_FALSE(s->kopflos.beschaeftigt);
    }
    {
        auto s = NeueSitzung();
        EXPECT_EQ(Importieren(*s, text, false, true), ImportErgebnis::Gelesen);
        StreckenErwarten(*s, {{0, 0, 10, 0}}, "answer Yes");
        EXPECT_EQ(s->speicher.ElementAnzahl(), 1);
    }
    for (bool antwort : {false, true}) {
        // From a file the question comes before the file is read whole, and only once.
        test::TempOrdner ordner;
        auto s = NeueSitzung();
        s->fenster.AktDatei = (ordner / "ohne.eps").string();
        s->fenster.ParameterZeigen = false;
        test::DateiSchreiben(s->fenster.AktDatei, text);
        s->kopflos.antwort = antwort;
        EXPECT_EQ(EPSEinlesen(*s), antwort ? ImportErgebnis::Gelesen : ImportErgebnis::Abgelehnt);
        EXPECT_EQ(s->kopflos.meldungen, std::vector<int>{115});
        const auto& a = s->kopflos.aufrufe;
        EXPECT_EQ(
            std::count_if(a.begin(), a.end(), [](const auto& x) { return x.art == "JaNeinFrage"; }),
            1);
        EXPECT_EQ(s->speicher.ElementAnzahl(), antwort ? 1 : 0);
        EXPECT_FALSE(s->kopflos.beschaeftigt);
    }
    {
        // Page content of a PDF needs no marker and nothing is asked.
        auto s = NeueSitzung();
        EXPECT_EQ(Importieren(*s, test::FlatePdf({text}), true, false), ImportErgebnis::Gelesen);
        EXPECT_TRUE(s->kopflos.meldungen.empty());
        StreckenErwarten(*s, {{0, 0, 10, 0}}, "PDF");
    }
}

struct MeldungsFall {
    const char* name;
    const char* datei;
    std::string inhalt;
    std::vector<int> meldungen;
    bool gelesen; // something reached the outline buffer
};

// Why a drawing stays empty or incomplete is said once, after the drawing, with the file's path.
TEST(EPSEinlesen, LeereOderUnvollstaendigeDateiWirdGemeldet) {
    std::string inhalt;
    for (int i = 0; i < 400; ++i)
        inhalt += std::to_string(i) + " 0 m " + std::to_string(i) + " 9 l\n";
    const std::string pdf = test::FlatePdf({inhalt});
    const std::string zwei = test::FlatePdf({inhalt, inhalt});
    const std::string gepackt = test::Flate(inhalt);
    const std::string mitText = pdf.substr(0, pdf.find("trailer")) +
                                "9 0 obj\n(a stream of words)\nendobj\n" +
                                pdf.substr(pdf.find("trailer"));
    const std::vector<MeldungsFall> faelle = {
        {"complete PDF", "ganz.pdf", pdf, {}, true},
        {"bytes behind %%EOF", "nachsatz.pdf", pdf + std::string("\r\n\0\0", 4), {}, true},
        {"the word stream outside a stream", "wort.pdf", mitText, {}, true},
        {"an empty Flate stream",
         "leerstrom.pdf",
         test::FlatePdf({inhalt}) + test::StromObjekt(9, " /Filter /FlateDecode", "") + "%%EOF\n",
         {},
         true},
        {"PDF without a path",
         "text.pdf",
         test::FlatePdf({"BT /F1 12 Tf (Hallo) Tj ET\n"}),
         {138},
         false},
        {"EPS without a path",
         "text.eps",
         "%!PS\n%%EndSetup\n/Helvetica findfont 12 scalefont\n",
         {138},
         false},
        {"cut off inside the second stream: the first is read",
         "abgeschnitten.pdf",
         zwei.substr(0, zwei.rfind("endstream") - 5),
         {90},
         true},
        {"Flate data broken part-way",
         "halb.pdf",
         "%PDF-1.4\n" +
             test::StromObjekt(2, " /Filter /FlateDecode", gepackt.substr(0, gepackt.size() / 2)) +
             "trailer\n<< >>\n%%EOF\n",
         {90},
         true},
        {"no %%EOF at the end", "ohneende.pdf", pdf.substr(0, pdf.rfind("%%EOF")), {90}, true},
        {"cut off before the first path",
         "kopf.pdf",
         pdf.substr(0, pdf.find("stream")),
         {90},
         false},
    };
    test::TempOrdner ordner;
    for (const MeldungsFall& f : faelle) {
        const std::string pfad = (ordner / f.datei).string();
        test::DateiSchreiben(pfad, f.inhalt);
        auto s = NeueSitzung();
        s->fenster.AktDatei = pfad;
        s->fenster.ParameterZeigen = false;
        EXPECT_EQ(EPSEinlesen(*s), ImportErgebnis::Gelesen) << f.name;
        EXPECT_EQ(s->kopflos.meldungen, f.meldungen) << f.name;
        EXPECT_EQ(s->speicher.KonturPunkte.Anzahl() > 0, f.gelesen) << f.name;
        if (f.meldungen.empty()) continue;
        const auto& meldung = s->kopflos.aufrufe.back();
        EXPECT_EQ(meldung.art, "Meldung") << f.name;
        EXPECT_TRUE(meldung.text.size() > pfad.size() &&
                    meldung.text.compare(meldung.text.size() - pfad.size() - 1, std::string::npos,
                                         " " + pfad) == 0)
            << f.name << ": " << meldung.text;
    }
}

struct KurvenFall {
    const char* name;
    std::string text;
    std::size_t punkte;    // Punkt records expected (0: one straight segment instead)
    double mitteX, mitteY; // the point at t = 0.5
};

TEST(EPSEinlesen, Kurven) {
    // SplineT 0.1: eleven points per curve, the sixth at t = 0.5.
    const std::vector<KurvenFall> faelle = {
        {"line reader c", "%%EndSetup\n0 0 moveto\n0 10 10 10 10 0 c\n", 11, 5, 7.5},
        {"line reader five-token v: first control point is the current point",
         "%%EndSetup\n0 0 moveto\n0 10 10 10 v\n", 11, 1.25, 5},
        {"line reader five-token y: second control point is the end point",
         "%%EndSetup\n0 0 moveto\n0 10 10 10 y\n", 11, 5, 8.75},
        {"stack reader v with four operands", "%%EndSetup\n0 0 m 0 10 10 10 v\n", 11, 1.25, 5},
        {"stack reader y is a curve", "%%EndSetup\n0 0 m 0 10 10 10 y\n", 11, 5, 8.75},
        {"stack reader c", "%%EndSetup\n0 0 m 0 10 10 10 10 0 c\n", 11, 5, 7.5},
        {"flat curve: circles larger than maxRadius",
         "%%EndSetup\n0 0 moveto\n10 0.001 20 0.001 30 0 c\n", 0, 0, 0},
        {"collinear control points: neither circle exists",
         "%%EndSetup\n0 0 moveto\n10 0 20 0 30 0 c\n", 0, 0, 0},
        {"c with P0 = P1 and P2 = P3", "%%EndSetup\n0 0 moveto\n0 0 30 10 30 10 c\n", 0, 0, 0},
        {"v whose only circle is flat", "%%EndSetup\n0 0 moveto\n15 0.001 30 0 v\n", 0, 0, 0},
    };
    for (const KurvenFall& f : faelle) {
        auto s = NeueSitzung();
        s->einstellungen.SplineT = 0.1;
        Importieren(*s, f.text);
        const std::vector<GeoElement> d = Datensaetze(*s);
        if (f.punkte == 0) {
            ASSERT_EQ(d.size(), 1u) << f.name;
            EXPECT_EQ(d[0].Typ, Linie) << f.name;
            continue;
        }
        ASSERT_EQ(d.size(), f.punkte) << f.name;
        for (const GeoElement& e : d) {
            EXPECT_EQ(e.Typ, Punkt) << f.name;
            EXPECT_EQ(e.X1, e.X2) << f.name;
            EXPECT_EQ(e.Y1, e.Y2) << f.name;
        }
        EXPECT_NEAR(d.front().X1, 0, Genau) << f.name;
        EXPECT_NEAR(d.front().Y1, 0, Genau) << f.name;
        EXPECT_NEAR(d[5].X1, f.mitteX, 1e-9) << f.name;
        EXPECT_NEAR(d[5].Y1, f.mitteY, 1e-9) << f.name;
    }
}

TEST(EPSEinlesen, KurvenpunkteJeSplineT) {
    for (auto [schritt, punkte] : {std::pair{0.05, 21u}, {0.1, 11u}, {0.01, 101u}}) {
        auto s = NeueSitzung();
        s->einstellungen.SplineT = schritt;
        Importieren(*s, "%%EndSetup\n0 0 moveto\n10 20 30 40 50 60 c\n");
        const std::vector<GeoElement> d = Datensaetze(*s);
        ASSERT_EQ(d.size(), punkte) << "SplineT " << schritt;
        EXPECT_NEAR(d.back().X1, 50, 1e-6) << "SplineT " << schritt;
        EXPECT_NEAR(d.back().Y1, 60, 1e-6) << "SplineT " << schritt;
    }
}

TEST(EPSEinlesen, UnendlicheZahlenErreichenDenSpeicherNie) {
    auto s = NeueSitzung();
    Importieren(*s, "%%EndSetup\n0 0 m 1e999 5 l 10 10 l 20 20 m 30 20 l 1e400 0 0 0 0 0 cm "
                    "40 20 l\n20 20 m 1e300 1e300 2e300 2e300 3e300 3e300 c\n");
    for (const GeoElement& e : Datensaetze(*s)) {
        EXPECT_TRUE(std::isfinite(e.X1) && std::isfinite(e.Y1) && std::isfinite(e.X2) &&
                    std::isfinite(e.Y2));
    }
    StreckenErwarten(*s, {{20, 20, 30, 20}, {30, 20, 40, 20}}, "finite records only");
    for (const GeoElement& e : test::Elemente(*s))
        EXPECT_TRUE(std::isfinite(e.X1) && std::isfinite(e.Y1));
}

TEST(EPSEinlesen, ZweimalGleicheGeometrie) {
    // A circle of radius 8 pt: the full-circle test compares the box width with the radius, so
    // whether it becomes a Kreis depends on the box, which must start from its start-up values at
    // every import and not from what a small drawing before left.
    const std::string kreis = "%%EndSetup\n8 0 m 8 4.418 4.418 8 0 8 c -4.418 8 -8 4.418 -8 0 c "
                              "-8 -4.418 -4.418 -8 0 -8 c 4.418 -8 8 -4.418 8 0 c h\n";
    const std::string klein = "%%EndSetup\n0 0 m 1 0 l\n";
    auto frisch = NeueSitzung();
    Importieren(*frisch, kreis);
    ASSERT_GE(frisch->speicher.ElementAnzahl(), 1);
    EXPECT_EQ(frisch->speicher.Elemente[1].Typ, Kreis);
    auto s = NeueSitzung();
    Importieren(*s, klein);
    Importieren(*s, kreis);
    const std::vector<GeoElement> a = test::Elemente(*frisch), b = test::Elemente(*s);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].Typ, b[i].Typ) << i;
        EXPECT_DOUBLE_EQ(a[i].X1, b[i].X1) << i;
        EXPECT_DOUBLE_EQ(a[i].Radius, b[i].Radius) << i;
    }
    EXPECT_DOUBLE_EQ(frisch->speicher.XMin, s->speicher.XMin);
    EXPECT_DOUBLE_EQ(frisch->speicher.XMax, s->speicher.XMax);
}

TEST(EPSEinlesen, ErgebnisInMillimeternUndOberflaeche) {
    auto s = NeueSitzung();
    s->speicher.Elemente.Anfuegen(GeoElement{});
    Importieren(*s, "%%EndSetup\n0 0 m\n72 0 l\n72 36 l\n");
    ASSERT_EQ(s->speicher.ElementAnzahl(), 2);
    const GeoElement& e = s->speicher.Elemente[1];
    EXPECT_EQ(e.Typ, Linie);
    EXPECT_NEAR(e.X2, 25.4, 1e-9);
    EXPECT_NEAR(s->speicher.Elemente[2].Y2, 12.7, 1e-9);
    EXPECT_EQ(s->speicher.Elemente.Kapazitaet(), 1000);

    std::vector<std::string> arten;
    for (const auto& a : s->kopflos.aufrufe) arten.push_back(a.art);
    const auto pos = [&](const std::string& art) {
        return std::find(arten.begin(), arten.end(), art) - arten.begin();
    };
    EXPECT_LT(pos("Neuzeichnen"), static_cast<long>(arten.size()));
    EXPECT_LT(pos("Neuzeichnen"), pos("MenuesNachUmwandlung"));
    EXPECT_EQ(arten.back(), "MenuesNachUmwandlung");
    EXPECT_FALSE(s->kopflos.beschaeftigt);
}

TEST(EPSEinlesen, AbbruchBeendetDasLesen) {
    struct Ziel {
        Sitzung* s;
        int aufrufe = 0;
    };
    for (bool stapel : {false, true}) {
        auto s = NeueSitzung();
        s->einstellungen.Unterbrechung = 1;
        Ziel ziel{s.get()};
        s->kopflos.ereignisKontext = &ziel;
        s->kopflos.beiEreignissen = [](void* k) {
            auto* z = static_cast<Ziel*>(k);
            if (++z->aufrufe == 1) z->s->fenster.AbbruchWunsch = true;
        };
        std::string text = "%%EndSetup\n";
        for (int i = 0; i < 100; ++i) {
            const std::string x = std::to_string(i * 10);
            text += stapel ? x + " 0 m " + x + " 5 l\n" : x + " 0 m\n" + x + " 5 l\n";
        }
        Importieren(*s, text);
        const std::size_t anzahl = Strecken(*s).size();
        // The stack reader stops at the moveto after the first event processing, the line
        // reader at its next check ten movetos later.
        EXPECT_EQ(anzahl, stapel ? 1u : 20u) << (stapel ? "stack reader" : "line reader");
        EXPECT_FALSE(s->fenster.AbbruchWunsch);
        EXPECT_FALSE(s->kopflos.beschaeftigt);
        EXPECT_EQ(s->speicher.ElementAnzahl(), static_cast<std::int32_t>(anzahl));
    }
}

TEST(EPSEinlesen, FehlendeDateiLaesstDenSpeicher) {
    auto s = NeueSitzung();
    Importieren(*s, "%%EndSetup\n0 0 m\n10 0 l\n");
    ASSERT_EQ(s->speicher.ElementAnzahl(), 1);
    test::TempOrdner ordner;
    // A missing file is text 120; any other refusal text 121 with the path and the reason.
    const struct {
        std::string pfad;
        int meldung;
        std::string grund;
    } faelle[] = {{(ordner / "fehlt.eps").string(), 120, ""},
                  {ordner.Pfad().string(), 121, "(is a directory)"},
                  {"", 120, ""}};
    for (const auto& f : faelle) {
        s->kopflos.meldungen.clear();
        s->fenster.AktDatei = f.pfad;
        s->fenster.ParameterZeigen = false;
        EXPECT_EQ(EPSEinlesen(*s), ImportErgebnis::NichtLesbar) << f.pfad;
        EXPECT_EQ(s->kopflos.meldungen, std::vector<int>{f.meldung}) << f.pfad;
        const std::string& text = s->kopflos.aufrufe.back().text;
        EXPECT_NE(text.find(f.pfad + (f.grund.empty() ? "" : " " + f.grund)), std::string::npos)
            << text;
        EXPECT_EQ(s->speicher.ElementAnzahl(), 1) << f.pfad;
        EXPECT_TRUE(s->fenster.ParameterZeigen);
    }
}

TEST(EPSEinlesen, DateiMitParameterfenster) {
    test::TempOrdner ordner;
    const auto pfad = ordner / "Zeichnung.PDF";
    test::DateiSchreiben(pfad, test::FlatePdf({"0 0 m 10 0 l 10 10 l h f\n"}));
    auto s = NeueSitzung();
    s->fenster.AktDatei = pfad.string();
    ASSERT_EQ(EPSEinlesen(*s), ImportErgebnis::Gelesen);
    EXPECT_EQ(s->kopflos.aufrufe.front().art, "ImportParameterZeigen");
    EXPECT_TRUE(s->fenster.ParameterZeigen);
    EXPECT_EQ(Strecken(*s).size(), 3u);

    s->kopflos.aufrufe.clear();
    s->fenster.ParameterZeigen = false;
    ASSERT_EQ(EPSEinlesen(*s), ImportErgebnis::Gelesen);
    for (const auto& a : s->kopflos.aufrufe) EXPECT_NE(a.art, "ImportParameterZeigen");
    EXPECT_TRUE(s->fenster.ParameterZeigen);
}

TEST(EPSEinlesen, ZahlenWieZahlLesen) {
    // The reader's fast number path must give exactly what ZahlLesen gives, for the decimals
    // that drawings write and for every other form.
    std::vector<std::string> woerter = {"-.5",
                                        "12abc",
                                        "1e3",
                                        "1D2",
                                        "+7",
                                        "0.",
                                        "-0",
                                        ".25e-1",
                                        "1E400",
                                        "3.14159265358979323846",
                                        "12345678901234567",
                                        "0.000000000000000001",
                                        "7.d"};
    std::mt19937 zufall(7);
    std::uniform_real_distribution<double> wert(-2000, 2000);
    std::uniform_int_distribution<int> stellen(0, 9);
    for (int i = 0; i < 200; ++i) {
        char puffer[64];
        std::snprintf(puffer, sizeof puffer, "%.*f", stellen(zufall), wert(zufall));
        woerter.push_back(puffer);
    }
    for (const std::string& w : woerter) {
        auto s = NeueSitzung();
        Importieren(*s, "%%EndSetup\n0 0 m " + w + " 1 l\n");
        const double erwartet = ZahlLesen(w);
        if (!std::isfinite(erwartet)) {
            EXPECT_EQ(s->speicher.KonturPunkte.Anzahl(), 0) << w;
            continue;
        }
        ASSERT_EQ(s->speicher.KonturPunkte.Anzahl(), 1) << w;
        EXPECT_EQ(s->speicher.KonturPunkte[1].X2, erwartet) << w;
    }
}

// A drawing of some hundred thousand outline records in either dialect: lines, curves (some with
// all points equal, some straight, some with a point that overflows and is never stored),
// circles of four curves, rectangles with and without a clip, contours that start with a curve,
// and optionally one contour of more records than the full-circle test takes.
std::string GrosseZeichnung(bool einOperatorJeZeile, bool entarteterAnfang, bool langeKontur) {
    std::mt19937 zufall(11);
    std::uniform_real_distribution<double> ort(0, 500), zittern(-3, 3);
    std::uniform_int_distribution<int> art(0, 9);
    const char trenner = einOperatorJeZeile ? '\n' : ' ';
    std::string t = "%%EndSetup\n";
    auto zahlen = [&](std::initializer_list<double> werte) {
        for (double w : werte) t += std::to_string(w) + ' ';
    };
    auto op = [&](const char* name) {
        t += name;
        t += trenner;
    };
    if (entarteterAnfang) zahlen({7, 7}), op("m"), zahlen({7, 7, 7, 7, 7, 7}), op("c");
    for (int pfad = 0; pfad < 3000; ++pfad) {
        double x = ort(zufall), y = ort(zufall);
        const int form = art(zufall);
        if (form == 0) {
            const double r = 2 + pfad % 7;
            zahlen({x + r, y}), op("m");
            zahlen({x + r, y + 0.552 * r, x + 0.552 * r, y + r, x, y + r}), op("c");
            zahlen({x - 0.552 * r, y + r, x - r, y + 0.552 * r, x - r, y}), op("c");
            zahlen({x - r, y - 0.552 * r, x - 0.552 * r, y - r, x, y - r}), op("c");
            zahlen({x + 0.552 * r, y - r, x + r, y - 0.552 * r, x + r, y}), op("c");
            continue;
        }
        if (form == 1 && !einOperatorJeZeile) {
            zahlen({x, y, 20, 10}), op("re");
            if (pfad % 2) op("W"), op("n");
            continue;
        }
        zahlen({x, y}), op("m");
        for (int k = 0; k < 6; ++k) {
            const double nx = x + zittern(zufall), ny = y + zittern(zufall);
            switch ((form + k) % 5) {
            case 0:
                zahlen({nx, ny}), op("l");
                break;
            case 1:
                zahlen({x, y, x, y, x, y}), op("c");
                break;
            case 2:
                zahlen({(x + nx) / 2, (y + ny) / 2, (x + 3 * nx) / 4, (y + 3 * ny) / 4, nx, ny});
                op("c");
                break;
            case 3:
                t += "1e400 ";
                zahlen({y, nx + 2, ny - 1, nx, ny}), op("c");
                break;
            default:
                zahlen({x + 1, y + 2, nx - 2, ny + 1, nx, ny}), op("c");
                break;
            }
            x = nx;
            y = ny;
        }
        if (!einOperatorJeZeile) op("h");
    }
    if (langeKontur) {
        // 110,000 curves around one circle: a contour of twice MaxVollkreisLaenge records.
        zahlen({300, 200}), op("m");
        for (int k = 0; k < 110000; ++k) {
            const double w0 = k * 0.001, w1 = (k + 1) * 0.001;
            zahlen({200 + 100 * std::cos(w0 + 0.0003), 200 + 100 * std::sin(w0 + 0.0003),
                    200 + 100 * std::cos(w1 - 0.0003), 200 + 100 * std::sin(w1 - 0.0003),
                    200 + 100 * std::cos(w1), 200 + 100 * std::sin(w1)});
            op("c");
        }
    }
    return t;
}

// The import approximates while it reads and drops what it approximated; the elements, the box
// and the circle values left behind must be those of one approximation over the whole buffer
// after the reading, bit for bit.
TEST(EPSEinlesen, StueckweiseWieNachDemLesen) {
    const struct {
        const char* name;
        bool zeilen, entartet, lang;
    } faelle[] = {{"stack reader", false, false, false},
                  {"stack reader, first curve degenerate", false, true, false},
                  {"line reader", true, false, false},
                  {"line reader, first curve degenerate", true, true, false},
                  {"stack reader, one contour beyond the full-circle test", false, false, true}};
    for (const auto& f : faelle) {
        const std::string text = GrosseZeichnung(f.zeilen, f.entartet, f.lang);
        auto stueckweise = NeueSitzung();
        auto ganz = NeueSitzung();
        for (Sitzung* s : {stueckweise.get(), ganz.get()}) {
            // A direction memory that a pass reading it before setting it would carry into the
            // elements.
            s->text.LetzterRichtungswinkel = 1.25;
        }
        Importieren(*stueckweise, text);
        ASSERT_EQ(EPSKonturPunkteLesen(*ganz, text, false), ImportErgebnis::Gelesen);
        const std::int32_t datensaetze = ganz->speicher.KonturPunkte.Anzahl();
        KonturApproximieren(*ganz, false);
        EXPECT_LT(stueckweise->speicher.KonturPunkte.Anzahl(), datensaetze / 4) << f.name;

        const GeoFeld& a = stueckweise->speicher.Elemente;
        const GeoFeld& b = ganz->speicher.Elemente;
        ASSERT_EQ(a.Anzahl(), b.Anzahl()) << f.name;
        for (std::int32_t i = 1; i <= a.Anzahl(); ++i) {
            ASSERT_TRUE(a[i].Typ == b[i].Typ && a[i].X1 == b[i].X1 && a[i].Y1 == b[i].Y1 &&
                        a[i].X2 == b[i].X2 && a[i].Y2 == b[i].Y2 && a[i].Radius == b[i].Radius &&
                        a[i].KonturNr == b[i].KonturNr && a[i].Farbe == b[i].Farbe)
                << f.name << ", element " << i;
        }
        const Speicher& p = stueckweise->speicher;
        const Speicher& q = ganz->speicher;
        EXPECT_TRUE(p.XMin == q.XMin && p.XMax == q.XMax && p.YMin == q.YMin && p.YMax == q.YMax)
            << f.name;
        const Textzustand& z = stueckweise->text;
        const Textzustand& w = ganz->text;
        EXPECT_EQ(z.MaxKonturLaenge, w.MaxKonturLaenge) << f.name;
        EXPECT_TRUE(z.Bogen.MX == w.Bogen.MX && z.Bogen.MY == w.Bogen.MY &&
                    z.Bogen.Radius == w.Bogen.Radius && z.Bogen.Start == w.Bogen.Start &&
                    z.Bogen.Ende == w.Bogen.Ende &&
                    z.LetzterRichtungswinkel == w.LetzterRichtungswinkel)
            << f.name;
    }
}

} // namespace
} // namespace konturo
