// Serienmacher's inputs: the stored numbers, the numbers of the boxes and the command line, and
// the headless command's exit codes, messages and files.
#include "TestHilfe.h"
#include "app/EinstellungenSpeicher.h"
#include "serienmacher/Befehlszeile.h"
#include "serienmacher/DB_System.h"
#include "serienmacher/Funktionen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>

namespace konturo::serienmacher {
namespace {

TEST(Einstellungen, GespeicherteZahlenWerdenGerundetOderVerworfen) {
    struct Fall {
        const char* text;
        std::int32_t startNr; // the default 0 when the text is refused
    } faelle[] = {
        {"2.5", 2},        {"3.5", 4},
        {"-0.5", 0},       {"1e3", 1000},
        {" 12abc", 12},    {"abc", 0},
        {"", 0},           {"2147483647.4", 2147483647},
        {"2147483648", 0}, {"-2147483648", -2147483647 - 1},
        {"1e300", 0},
    };
    for (const Fall& f : faelle) {
        EinstellungenSpeicherSpeicher speicher;
        speicher.Schreiben("Param", "StartNr", f.text);
        EXPECT_EQ(EinstellungenLaden(speicher).StartNr, f.startNr) << '"' << f.text << '"';
    }
}

TEST(Eingaben, NurGanzeZweiunddreissigBitZahlen) {
    EXPECT_EQ(GanzzahlLesen("12"), 12);
    EXPECT_EQ(GanzzahlLesen(" -5 "), -5);
    EXPECT_EQ(GanzzahlLesen("+7"), 7);
    EXPECT_EQ(GanzzahlLesen("-2147483648"), std::numeric_limits<std::int32_t>::min());
    for (const char* kein : {"", " ", "-", "+", "+-1", "12a", "1.5", "1e3", "2147483648", "0x10"})
        EXPECT_FALSE(GanzzahlLesen(kein)) << '"' << kein << '"';
}

struct Lauf {
    int code;
    std::string aus, fehler;
};

Lauf Ausfuehren(std::vector<std::string> argumente) {
    std::ostringstream aus, fehler;
    const int code = KopflosAusfuehren(argumente, false, aus, fehler);
    return {code, aus.str(), fehler.str()};
}

TEST(Befehlszeile, ExitCodesUndMeldungen) {
    test::TempOrdner ordner;
    const std::string datei = (ordner / "s.bch").string();
    struct Fall {
        const char* name;
        std::vector<std::string> argumente;
        int code;
        const char* meldung;
    } faelle[] = {
        {"unknown option", {"--start", "1", "--ende", "2", "--farbe", "-o", datei}, 2, "--farbe"},
        {"flag with value",
         {"--nullen=1", "--start", "1", "--ende", "2", "-o", datei},
         2,
         "--nullen=1"},
        {"missing value", {"--start", "1", "--ende", "2", "-o"}, 2, "-o"},
        {"not a number", {"--start", "1x", "--ende", "2", "-o", datei}, 2, "1x"},
        {"beyond 32 bits", {"--start", "1", "--ende", "2147483648", "-o", datei}, 2, "2147483648"},
        {"no start", {"--ende", "2", "-o", datei}, 2, "--start"},
        {"no end", {"--start", "1", "-o", datei}, 2, "--ende"},
        {"no output", {"--start", "1", "--ende", "2"}, 2, "-o"},
        {"line break",
         {"--vor", "a\r\nb", "--start", "1", "--ende", "2", "-o", datei},
         2,
         "line break"},
        {"end before start", {"--start", "7", "--ende", "3", "-o", datei}, 1, "smaller"},
        {"not writable", {"--start", "1", "--ende", "2", "-o", datei + "/x.bch"}, 1, "s.bch/x.bch"},
    };
    for (const Fall& f : faelle) {
        const Lauf l = Ausfuehren(f.argumente);
        EXPECT_EQ(l.code, f.code) << f.name;
        EXPECT_NE(l.fehler.find(f.meldung), std::string::npos) << f.name << ": " << l.fehler;
        EXPECT_FALSE(std::filesystem::exists(datei)) << f.name;
    }

    const Lauf hilfe = Ausfuehren({"--help", "--unbekannt"});
    EXPECT_EQ(hilfe.code, 0);
    for (const char* option :
         {"--vor", "--prefix", "--start", "--first", "--ende", "--last", "--nach", "--suffix",
          "--nullen", "--zeros", "--senkrecht", "--vertical", "-o", "--output", "--help"})
        EXPECT_NE(hilfe.aus.find(option), std::string::npos) << option;
}

TEST(Befehlszeile, DeutscheUndEnglischeNamenSchreibenDieselbeDatei) {
    test::TempOrdner ordner;
    const std::string a = (ordner / "a.bch").string(), b = (ordner / "b.bch").string();
    EXPECT_EQ(Ausfuehren({"--vor", "Nr ", "--start", "-2", "--ende", "10", "--nach", "!",
                          "--nullen", "--senkrecht", "-o", a})
                  .code,
              0);
    EXPECT_EQ(Ausfuehren({"--prefix=Nr ", "--first=-2", "--last=10", "--suffix=!", "--zeros",
                          "--vertical", "--output=" + b})
                  .code,
              0);
    const std::string inhalt = test::DateiLesen(a);
    EXPECT_EQ(inhalt.substr(0, 22), "N|r| |-|2|!\r\nN|r| |-|1");
    EXPECT_EQ(inhalt, test::DateiLesen(b));
}

// The program itself, as a script runs it: no display, no platform plugin chosen, a private
// HOME so that stored settings could not be touched.
TEST(Befehlszeile, ProgrammLaeuftOhneBildschirm) {
    const std::filesystem::path programm = std::filesystem::path(KONTURO_BIN) / "serienmacher";
    if (!std::filesystem::exists(programm)) GTEST_SKIP() << "built without the Qt programs";
    test::TempOrdner ordner;
    const auto datei = ordner / "tuer.bch";
    const std::string aufruf =
        "cd '" + ordner.Pfad().string() +
        "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME=. "
        "XDG_CONFIG_HOME=./config '" +
        programm.string() + "' --vor 'Tür ' --start 8 --ende 10 --nullen -o tuer.bch 2>fehler.txt";
    const int status = std::system(aufruf.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << test::DateiLesen(ordner / "fehler.txt");
    EXPECT_EQ(test::DateiLesen(datei), "T\xFCr 08\r\nT\xFCr 09\r\nT\xFCr 10\r\n");
    EXPECT_FALSE(std::filesystem::exists(ordner / "config")) << "settings were written";

    const int falsch = std::system(("'" + programm.string() + "' --start 1 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(falsch), 2);
}

} // namespace
} // namespace konturo::serienmacher
