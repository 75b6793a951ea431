// konturo-cli text: exit codes and messages for bad command lines and inputs, plain text files in
// UTF-8 and Windows-1252, styles, the number format, and that no settings are ever written.
#include "TestHilfe.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace konturo {
namespace {

using Lauf = test::CliLauf;

class KonturoCli : public ::testing::Test {
protected:
    Lauf Starten(const std::string& argumente) {
        return test::KonturoCliStarten(ordner, argumente);
    }
    std::string Pfad(const std::string& name) const { return (ordner / name).string(); }
    test::TempOrdner ordner;
};

TEST_F(KonturoCli, BadCommandLinesAndInputsFailWithAMessage) {
    struct Fall {
        const char* name;
        std::string argumente;
        int code;
        const char* meldung;
    } faelle[] = {
        {"unknown option", "text --farbe rot Hallo -o a.dxf", 2, "unknown option"},
        {"no output", "text Hallo", 2, "-o"},
        {"extension without writer", "text Hallo -o a.txt", 2, "no writer"},
        {"missing font", "text --font 'Keine Solche Schrift' Hallo -o a.dxf", 1, "not installed"},
        {"unwritable path", "text --font 'Liberation Sans' Hallo -o /nicht/da/a.dxf", 1,
         "cannot create"},
        {"empty text", "text --font 'Liberation Sans' '' -o a.dxf", 1, "empty"},
        {"only blanks", "text --font 'Liberation Sans' '   ' -o a.dxf", 1, "no geometry"},
        {"unknown setting", "text --set Unbekannt=3 Hallo -o a.dxf", 2, "Unbekannt"},
        {"unknown style", "text --style schraeg Hallo -o a.dxf", 2, "unknown style"},
        {"size not a number", "text --size gross Hallo -o a.dxf", 2, "not a number"},
        {"decimal", "text --decimal semikolon Hallo -o a.dxf", 2, "point or comma"},
        {"missing file", "text --file fehlt.txt -o a.dxf", 1, "cannot read"},
        {"binary file", "text --file programm.txt -o a.dxf", 1, "not a text file"},
        {"two texts", "text Hallo Welt -o a.dxf", 2, "more than one"},
        {"unknown command", "zeichnen -o a.dxf", 2, "unknown command"},
    };
    test::DateiSchreiben(Pfad("programm.txt"), std::string("\x7F"
                                                           "ELF\x02\x01\x01\0\0\0",
                                                           10));
    for (const Fall& f : faelle) {
        std::filesystem::remove(Pfad("a.dxf"));
        const Lauf l = Starten(f.argumente + " --defaults");
        EXPECT_EQ(l.code, f.code) << f.name << ": " << l.fehler;
        EXPECT_NE(l.fehler.find(f.meldung), std::string::npos) << f.name << ": " << l.fehler;
        EXPECT_FALSE(std::filesystem::exists(Pfad("a.dxf"))) << f.name;
    }
}

// Only regular files are read, each refused at once with its reason: a pipe would block, a
// file beyond the bound would fill the memory.
TEST_F(KonturoCli, InputsThatAreNoRegularFilesAreNamedWithTheirReason) {
    std::filesystem::create_directory(Pfad("ordner.eps"));
    std::filesystem::create_directory(Pfad("ordner.bch"));
    ASSERT_EQ(mkfifo(Pfad("rohr.txt").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(Pfad("rohr.pdf").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(Pfad("rohr.dxf").c_str(), 0600), 0);
    test::DateiSchreiben(Pfad("gross.txt"), "");
    std::filesystem::resize_file(Pfad("gross.txt"), std::uintmax_t{2} << 30);
    struct Fall {
        const char* name;
        std::string argumente;
        int code;
        const char* meldung;
    } faelle[] = {
        {"folder as text file", "text --file ordner.eps -o a.dxf", 1, "is a directory"},
        {"pipe as text file", "text --file rohr.txt -o a.dxf", 1, "not a regular file"},
        {"2 GB text file", "text --file gross.txt -o a.dxf", 1, "larger than 64 MiB"},
        {"folder as drawing", "import ordner.eps -o a.dxf", 1, "is a directory"},
        {"pipe as drawing", "import rohr.pdf -o a.dxf", 1, "not a regular file"},
        {"folder as batch file", "batch ordner.bch --font 'Liberation Sans'", 1, "is a directory"},
        {"pipe as template", "text --set Rtyp=6 --set RVorlage=rohr.dxf Hallo -o a.dxf", 1,
         "not a regular file"},
        {"offset beyond any sheet", "text --set Roff=3.40282346e38 Hallo -o a.dxf", 2,
         "Roff must be from -100000 to 100000"},
        {"radius beyond any sheet", "text --set maxRadius=1.7976931348623157e308 Hallo -o a.dxf", 2,
         "maxRadius must be"},
    };
    for (const Fall& f : faelle) {
        const Lauf l = Starten(f.argumente + " --defaults");
        EXPECT_EQ(l.code, f.code) << f.name << ": " << l.fehler;
        EXPECT_NE(l.fehler.find(f.meldung), std::string::npos) << f.name << ": " << l.fehler;
        EXPECT_FALSE(std::filesystem::exists(Pfad("a.dxf"))) << f.name;
    }
}

TEST_F(KonturoCli, HelpExplainsTheOptions) {
    const Lauf hilfe = Starten("--help");
    EXPECT_EQ(hilfe.code, 0);
    for (const char* option : {"--output", "--font", "--size", "--style", "--height", "--tracking",
                               "--line-spacing", "--set", "--defaults", "--decimal", "--file"})
        EXPECT_NE(hilfe.ausgabe.find(option), std::string::npos) << option;
}

TEST_F(KonturoCli, Utf8AndWindows1252FilesGiveTheSameDrawingAsTheArgument) {
    test::DateiSchreiben(Pfad("utf8.txt"), "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
                                           "e\r\n\xC3\x84rger");
    test::DateiSchreiben(Pfad("ansi.txt"), "Gr\xFC\xDF"
                                           "e\n\xC4rger");
    const std::string basis = "text --defaults --font 'Liberation Sans' --size 24 --height 20 ";
    ASSERT_EQ(Starten(basis + "'Gr\xC3\xBC\xC3\x9F"
                              "e\n\xC3\x84rger' -o arg.dxf")
                  .code,
              0);
    ASSERT_EQ(Starten(basis + "--file utf8.txt -o utf8.dxf").code, 0);
    ASSERT_EQ(Starten(basis + "--file ansi.txt -o ansi.dxf").code, 0);
    const std::string arg = test::DateiLesen(Pfad("arg.dxf"));
    EXPECT_GT(arg.size(), 1000u);
    EXPECT_TRUE(test::DateiLesen(Pfad("utf8.dxf")) == arg);
    EXPECT_TRUE(test::DateiLesen(Pfad("ansi.dxf")) == arg);
}

TEST_F(KonturoCli, StyleNamesInGermanAndEnglishAndTheNumberFormat) {
    const std::string basis = "text --defaults --font 'Liberation Sans' Ab ";
    ASSERT_EQ(Starten(basis + "-o standard.dxf").code, 0);
    ASSERT_EQ(Starten(basis + "--style 'fett kursiv' -o fk.dxf").code, 0);
    ASSERT_EQ(Starten(basis + "--style bold-italic -o bi.dxf").code, 0);
    ASSERT_EQ(Starten(basis + "--style regular --decimal comma -o komma.dxf").code, 0);
    ASSERT_EQ(Starten(basis + "--style regular --decimal point -o punkt.dxf").code, 0);
    const std::string standard = test::DateiLesen(Pfad("standard.dxf"));
    EXPECT_TRUE(test::DateiLesen(Pfad("fk.dxf")) != standard);
    EXPECT_TRUE(test::DateiLesen(Pfad("fk.dxf")) == test::DateiLesen(Pfad("bi.dxf")));
    // A point locale pads the value lines with blanks; a comma locale writes them bare.
    EXPECT_TRUE(test::DateiLesen(Pfad("komma.dxf")) != test::DateiLesen(Pfad("punkt.dxf")));
    // Radii of the entities (group 40) are positive: padded " 5.2 " with a point, bare "5.2"
    // with a comma.
    auto objekte = [&](const char* name) {
        const std::string dxf = test::DateiLesen(Pfad(name));
        return dxf.substr(std::min(dxf.find("ENTITIES"), dxf.size()));
    };
    EXPECT_NE(objekte("punkt.dxf").find(" 40 \r\n "), std::string::npos);
    EXPECT_EQ(objekte("komma.dxf").find(" 40 \r\n "), std::string::npos);
    EXPECT_NE(objekte("komma.dxf").find(" 40 \r\n"), std::string::npos);
}

TEST_F(KonturoCli, SettingsOfTheRunAreNeverSaved) {
    ASSERT_EQ(Starten("text --font 'Liberation Sans' --set WarnLaenge=5 Ab -o a.dxf").code, 0);
    EXPECT_TRUE(std::filesystem::exists(Pfad("a.dxf")));
    EXPECT_FALSE(std::filesystem::exists(Pfad("config/Konturo")));
    EXPECT_FALSE(std::filesystem::exists(Pfad(".config/Konturo")));
}

// The economy fitting through the command line: far fewer elements within the stated deviation,
// which --stats reports; --check lists what the machine's limits reject with exit status 3 (here
// short lines of the glyphs' own outlines), and the repair keeps the deviation. Where the
// deviation leaves room (the default approximation of "Qgjy"), it leaves nothing to reject.
TEST_F(KonturoCli, EconomyFittingReportsItsDeviationAndChecksTheMachineLimits) {
    const std::string basis = "text --defaults --font 'Liberation Sans' 'Hallo 0815' --stats ";
    const std::string spar = "--set SparModus=1 --set MaxAbweichung=0.1 ";
    const std::string grenzen = "--set MinRadius=0.5 --set MinLaenge=0.5 --check ";
    auto wert = [](const std::string& aus, const std::string& schluessel) {
        const auto p = aus.find(schluessel + " = ");
        return p == std::string::npos ? -1.0 : std::stod(aus.substr(p + schluessel.size() + 3));
    };
    auto elemente = [&](const std::string& aus) {
        return wert(aus, "Linien/Anzahl") + wert(aus, "Bögen/Anzahl") + wert(aus, "Kreise/Anzahl");
    };
    const Lauf standard = Starten(basis + "-o standard.dxf");
    const Lauf sparsam = Starten(basis + spar + grenzen + "-o spar.dxf");
    const Lauf sparRepariert = Starten(basis + spar + grenzen + "--set Reparieren=1 -o rep.dxf");
    const std::string qgjy = "text --defaults --font 'Liberation Sans' Qgjy --stats "
                             "--set MaxAbweichung=0.1 " +
                             grenzen;
    const Lauf ungeprueft = Starten(qgjy + "-o q0.dxf");
    const Lauf repariert = Starten(qgjy + "--set Reparieren=1 -o q1.dxf");
    ASSERT_EQ(standard.code, 0) << standard.fehler;
    ASSERT_EQ(sparsam.code, 3) << sparsam.fehler;
    ASSERT_EQ(ungeprueft.code, 3) << ungeprueft.fehler;
    ASSERT_EQ(repariert.code, 0) << repariert.fehler;

    EXPECT_LT(elemente(sparsam.ausgabe), 0.8 * elemente(standard.ausgabe));
    EXPECT_GT(wert(sparsam.ausgabe, "Abweichung/max."), 0.0);
    EXPECT_LE(wert(sparsam.ausgabe, "Abweichung/max."), 0.1);
    EXPECT_LE(wert(sparRepariert.ausgabe, "Abweichung/max."), 0.1);
    EXPECT_LE(wert(repariert.ausgabe, "Abweichung/max."), 0.1);
    // The default mode's figure is measured as well.
    EXPECT_GT(wert(standard.ausgabe, "Abweichung/max."), 0.0);

    // Each violation names element, contour, kind and value; the summary counts them.
    int gelistet = 0;
    for (std::size_t p = sparsam.ausgabe.find("element "); p != std::string::npos;
         p = sparsam.ausgabe.find("element ", p + 1)) {
        const std::string zeile = sparsam.ausgabe.substr(p, sparsam.ausgabe.find('\n', p) - p);
        const auto doppelpunkt = zeile.find(": ");
        ASSERT_NE(zeile.find(", contour "), std::string::npos) << zeile;
        const std::string art = zeile.substr(doppelpunkt + 2, zeile.rfind(' ') - doppelpunkt - 2);
        const double v = std::stod(zeile.substr(zeile.rfind(' ') + 1));
        EXPECT_TRUE((art == "Radius" || art == "Laenge") && v < 0.5) << zeile;
        ++gelistet;
    }
    EXPECT_GT(gelistet, 0);
    EXPECT_NE(sparsam.ausgabe.find(": " + std::to_string(gelistet) + " violations"),
              std::string::npos)
        << sparsam.ausgabe;
    EXPECT_NE(repariert.ausgabe.find(": 0 violations"), std::string::npos) << repariert.ausgabe;
    EXPECT_EQ(Starten("batch --check x.bch --defaults").code, 2);
}

} // namespace
} // namespace konturo
