// The language file: start language, texts by number, comments, encodings and the failure rules;
// the shipped Konturo.dat in both languages.
#include "TestHilfe.h"
#include "app/Sprache.h"
#include "app/StartParameter.h"

#include <gtest/gtest.h>

namespace konturo {
namespace {

std::string Schreiben(const test::TempOrdner& ordner, const std::string& inhalt) {
    const auto pfad = ordner / "Konturo.dat";
    test::DateiSchreiben(pfad, inhalt);
    return pfad.string();
}

TEST(StartSprache, LiestDieSprachzeile) {
    const struct {
        const char* fall;
        const char* inhalt;
        int sprache;
    } faelle[] = {
        {"Englisch", "' Kommentar\r\n1;&Datei;&File\r\n0;Language;2\r\n", 2},
        {"Deutsch, LF", "0;Language;1\n1;&Datei;&File\n", 1},
        {"erstes Feld keine Zahl", "x;Language;2\r\n", 2},
        {"Kommentar sieht aus wie Sprachzeile", "'0;Language;2\r\n0;Language;1\r\n", 1},
        {"keine Sprachzeile", "1;&Datei;&File\r\n", 0},
    };
    for (const auto& f : faelle) {
        test::TempOrdner ordner;
        Sitzung s;
        std::string grund;
        EXPECT_TRUE(StartSprache(s, Schreiben(ordner, f.inhalt), grund)) << f.fall << grund;
        EXPECT_EQ(s.fenster.SprachNr, f.sprache) << f.fall;
    }
}

TEST(SpracheLaden, TexteDerGewaehltenSprache) {
    test::TempOrdner ordner;
    const std::string pfad =
        Schreiben(ordner, "' 50;Kommentar;Comment\r\n0;Language;2\r\n\r\n50;Info;About\r\n"
                          "82;B\xF6gen;Arcs\r\n82;B\xF6gen;Arcs again\r\n133;Abbruch;Cancel \r\n");
    Sitzung s;
    ASSERT_TRUE(StartSprache(s, pfad));
    ASSERT_TRUE(SpracheLaden(s, pfad));
    EXPECT_EQ(s.Text(50), "About");
    EXPECT_EQ(s.Text(82), "Arcs again"); // the later line wins
    EXPECT_EQ(s.Text(133), "Cancel ");   // blanks belong to the text
    EXPECT_EQ(s.Text(0), "2");
    EXPECT_EQ(s.Text(51), "");
    s.fenster.SprachNr = 1;
    ASSERT_TRUE(SpracheLaden(s, pfad));
    EXPECT_EQ(s.Text(50), "Info");
    EXPECT_EQ(s.Text(82), "B\xC3\xB6gen"); // Windows-1252 read as UTF-8
}

TEST(SpracheLaden, Utf8BleibtUtf8) {
    test::TempOrdner ordner;
    const std::string pfad = Schreiben(ordner, "96;H\xC3\xB6he;Height\r\n");
    Sitzung s;
    s.fenster.SprachNr = 1;
    ASSERT_TRUE(SpracheLaden(s, pfad));
    EXPECT_EQ(s.Text(96), "H\xC3\xB6he");
}

TEST(SpracheLaden, FehlerhafteZeilenHaltenAnUndBehaltenDieTexte) {
    const struct {
        const char* fall;
        const char* zeile;
    } faelle[] = {
        {"Nummer zu gross", "181;zu;gross"},
        {"negative Nummer", "-1;minus;minus"},
        {"keine Zahl", "abc;x;y"},
        {"zu wenige Felder", "12;nur Deutsch"},
    };
    for (const auto& f : faelle) {
        test::TempOrdner ordner;
        const std::string pfad =
            Schreiben(ordner, std::string("1;&Datei;&File\r\n") + f.zeile + "\r\n2;zwei;two\r\n");
        Sitzung s;
        s.fenster.SprachNr = 1;
        s.fenster.Texte[1] = "alt";
        std::string grund;
        EXPECT_FALSE(SpracheLaden(s, pfad, grund)) << f.fall;
        EXPECT_NE(grund.find("Zeile 2"), std::string::npos) << f.fall << ": " << grund;
        EXPECT_EQ(s.Text(1), "alt") << f.fall;
    }
}

TEST(SpracheLaden, FehlendeDateiNenntDieDatei) {
    test::TempOrdner ordner;
    const std::string pfad = (ordner / "Konturo.dat").string();
    Sitzung s;
    std::string grund;
    EXPECT_FALSE(StartSprache(s, pfad, grund));
    EXPECT_NE(grund.find(pfad), std::string::npos);
    EXPECT_FALSE(SpracheLaden(s, pfad, grund));
    EXPECT_NE(grund.find(pfad), std::string::npos);
    // The reporting form shows the reason through the UI services.
    s.kopflos = UiDiensteKopflos(true);
    EXPECT_FALSE(SpracheLaden(s, pfad));
    ASSERT_EQ(s.kopflos.aufrufe.size(), 1u);
    EXPECT_NE(s.kopflos.aufrufe[0].text.find("Konturo.dat"), std::string::npos);
}

TEST(KonturoDat, BeideSprachenVollstaendig) {
    const std::string pfad = std::string(KONTURO_BIN) + "/Konturo.dat";
    const std::string roh = test::DateiLesen(pfad);
    ASSERT_FALSE(roh.empty());
    EXPECT_NE(roh.find("\r\n"), std::string::npos);
    // Every text number a window or message uses.
    const int benutzt[] = {
        1,   2,   3,   4,   5,   6,   10,  11,  12,  13,  15,  20,  21,  22,  23,  24,  30,
        31,  32,  33,  34,  35,  36,  37,  38,  39,  40,  50,  51,  52,  53,  54,  61,  68,
        69,  71,  72,  73,  74,  75,  76,  77,  78,  79,  80,  81,  82,  83,  84,  85,  86,
        88,  91,  92,  93,  94,  95,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106,
        110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 122, 125, 126, 127, 129, 130, 131,
        132, 133, 140, 141, 142, 143, 144, 145, 146, 147, 148, 151, 152, 153, 159, 160, 161,
        162, 163, 164, 165, 166, 167, 170, 171, 175, 176, 177, 179, 9};
    for (std::uint8_t sprache : {1, 2}) {
        Sitzung s;
        ASSERT_TRUE(StartSprache(s, pfad));
        EXPECT_EQ(s.fenster.SprachNr, 1);
        s.fenster.SprachNr = sprache;
        std::string grund;
        ASSERT_TRUE(SpracheLaden(s, pfad, grund)) << grund;
        for (int nr : benutzt) {
            EXPECT_FALSE(s.Text(nr).empty()) << "Text " << nr << " Sprache " << int(sprache);
        }
    }
    Sitzung s;
    s.fenster.SprachNr = 1;
    ASSERT_TRUE(SpracheLaden(s, pfad));
    // The German column repeats the windows' captions.
    EXPECT_EQ(s.Text(4), "Grafik e&xportieren");
    EXPECT_EQ(s.Text(96), "H\xC3\xB6he");
    EXPECT_EQ(s.Text(161), "Unterberechungen zulassen");
}

TEST(StartwerteSetzen, KernWerte) {
    auto s = test::NeueSitzung();
    s->speicher.XMax = 99;
    s->speicher.BoxNeu = false;
    s->fenster.Gezoomt = true;
    s->fenster.TextModus = false;
    s->fenster.ParameterZeigen = false;
    s->fenster.Bogenschritt = 0.5f;
    for (int i = 0; i < 2500; ++i) s->speicher.Elemente.Anfuegen(GeoElement{});
    StartwerteSetzen(*s);
    EXPECT_EQ(s->speicher.Elemente.Kapazitaet(), 1000);
    EXPECT_EQ(s->speicher.ElementAnzahl(), 0);
    EXPECT_DOUBLE_EQ(s->speicher.XMax, 10);
    EXPECT_TRUE(s->speicher.BoxNeu);
    EXPECT_FALSE(s->fenster.Gezoomt);
    EXPECT_TRUE(s->fenster.TextModus);
    EXPECT_TRUE(s->fenster.ParameterZeigen);
    EXPECT_FLOAT_EQ(s->fenster.Bogenschritt, 0.01f);
    EXPECT_EQ(s->fenster.KurzFarbe, RGB(255, 0, 0));
    EXPECT_EQ(s->fenster.ZoomRahmenFarbe, RGB(128, 128, 128));
    EXPECT_DOUBLE_EQ(s->text.Schrifthoehe, 100);
}

} // namespace
} // namespace konturo
