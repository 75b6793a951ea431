// Writer choice by extension and the file step of all three writers: identical GEO and VLG
// bytes, a path that cannot be created, a disk that is full.
#include "AusgabeHilfe.h"
#include "TestHilfe.h"
#include "output/Ausgabe.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace konturo::test {
namespace {

TEST(FormatNachEndung, LetzteDreiZeichenOhneGrossKlein) {
    struct Fall {
        const char* pfad;
        Ausgabeformat format;
    };
    const Fall faelle[] = {
        {"/a/Zeichnung.dxf", Ausgabeformat::Dxf},
        {"Z.DXF", Ausgabeformat::Dxf},
        {"Z.Geo", Ausgabeformat::Geo},
        {"Z.vlg", Ausgabeformat::Geo},
        {"Z.inp", Ausgabeformat::Me10},
        {"Z.M10", Ausgabeformat::Me10},
        {"Z.txt", Ausgabeformat::Keins},
        {"Z.dx", Ausgabeformat::Keins},
        {"xf", Ausgabeformat::Keins},
        {"", Ausgabeformat::Keins},
    };
    for (const Fall& f : faelle) EXPECT_EQ(FormatNachEndung(f.pfad), f.format) << f.pfad;
}

void KleineZeichnung(Sitzung& s) {
    s.text.MaxKonturLaenge = 5;
    Element(s, Linie, 0, 0, 10, 0);
    Element(s, Bogen, 10, 5, -Pi() / 2, Pi() / 2, 5);
    Element(s, Kreis, 3, 3, 0, 0, 1.5);
    Box(s, 0, -2, 15, 10);
}

TEST(AusgabeSchreiben, GeoUndVlgGleicheBytes) {
    TempOrdner ordner;
    auto s = NeueSitzung();
    KleineZeichnung(*s);
    std::string inhalt[2];
    const char* namen[2] = {"Zeichnung.geo", "Zeichnung.vlg"};
    for (int i = 0; i < 2; ++i) {
        s->speicher.AusgabeDatei = (ordner / namen[i]).string();
        ASSERT_EQ(AusgabeSchreiben(*s, FormatNachEndung(namen[i])), Schreibergebnis::Ok);
        inhalt[i] = DateiLesen(ordner / namen[i]);
    }
    EXPECT_FALSE(inhalt[0].empty());
    EXPECT_EQ(inhalt[0], inhalt[1]);
}

TEST(AusgabeSchreiben, AndereEndungSchreibtNichts) {
    TempOrdner ordner;
    auto s = NeueSitzung();
    KleineZeichnung(*s);
    s->speicher.AusgabeDatei = (ordner / "Zeichnung.txt").string();
    EXPECT_EQ(AusgabeSchreiben(*s, FormatNachEndung(s->speicher.AusgabeDatei)),
              Schreibergebnis::NichtErstellt);
    EXPECT_FALSE(std::filesystem::exists(ordner / "Zeichnung.txt"));
    EXPECT_TRUE(s->kopflos.meldungen.empty());
}

const Ausgabeformat AlleFormate[] = {Ausgabeformat::Dxf, Ausgabeformat::Geo, Ausgabeformat::Me10};

TEST(AusgabeSchreiben, NichtErstellbarOhneMeldung) {
    TempOrdner ordner;
    for (Ausgabeformat f : AlleFormate) {
        for (const std::string& pfad :
             {(ordner / "fehlt" / "x.dxf").string(), ordner.Pfad().string()}) {
            auto s = NeueSitzung();
            KleineZeichnung(*s);
            s->speicher.AusgabeDatei = pfad;
            EXPECT_EQ(AusgabeSchreiben(*s, f), Schreibergebnis::NichtErstellt)
                << pfad << ", Format " << static_cast<int>(f);
            EXPECT_TRUE(s->kopflos.meldungen.empty()) << pfad;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(ordner / "fehlt"));
}

TEST(AusgabeSchreiben, VollerDatentraegerMeldetText122MitPfad) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "/dev/full fehlt auf diesem System";
    for (Ausgabeformat f : AlleFormate) {
        auto s = NeueSitzung();
        s->fenster.Texte[122] = "Fehler beim Schreiben der Datei";
        KleineZeichnung(*s);
        s->speicher.AusgabeDatei = "/dev/full";
        EXPECT_EQ(AusgabeSchreiben(*s, f), Schreibergebnis::Schreibfehler)
            << "Format " << static_cast<int>(f);
        ASSERT_EQ(s->kopflos.meldungen, std::vector<int>{122}) << "Format " << static_cast<int>(f);
        EXPECT_EQ(s->kopflos.aufrufe.back().text, "Fehler beim Schreiben der Datei /dev/full");
    }
}

TEST(AusgabeSchreiben, ErfolgOhneMeldungUndDateiVollstaendig) {
    TempOrdner ordner;
    const std::pair<const char*, std::string> faelle[] = {{"a.dxf", "EOF\r\n"},
                                                          {"a.geo", "#~EOF\r\n"},
                                                          {"a.inp", "window fit\r\n"},
                                                          {"a.m10", "window fit\r\n"}};
    for (const auto& [name, schluss] : faelle) {
        auto s = NeueSitzung();
        KleineZeichnung(*s);
        s->speicher.AusgabeDatei = (ordner / name).string();
        EXPECT_EQ(AusgabeSchreiben(*s, FormatNachEndung(name)), Schreibergebnis::Ok) << name;
        EXPECT_TRUE(s->kopflos.meldungen.empty()) << name;
        const std::string inhalt = DateiLesen(ordner / name);
        ASSERT_GE(inhalt.size(), schluss.size()) << name;
        EXPECT_EQ(inhalt.substr(inhalt.size() - schluss.size()), schluss) << name;
    }
}

} // namespace
} // namespace konturo::test
