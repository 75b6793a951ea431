// Serienmacher's batch file: line texts at the edges of the rules, the encoding choice, the bytes
// of whole files, the full 32-bit range and failed writes.
#include "TestHilfe.h"
#include "serienmacher/BatchDatei.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <sstream>

namespace konturo::serienmacher {
namespace {

constexpr std::int32_t Min32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Max32 = std::numeric_limits<std::int32_t>::max();

Serie SerieAus(std::string vor, std::int32_t start, std::int32_t ende, std::string nach = {},
               bool nullen = false, bool senkrecht = false) {
    Serie s;
    s.VorText = std::move(vor);
    s.StartNr = start;
    s.EndNr = ende;
    s.NachText = std::move(nach);
    s.FuehrendeNullen = nullen;
    s.Senkrecht = senkrecht;
    return s;
}

std::string Bytes(const Serie& s) {
    std::ostringstream aus;
    EXPECT_EQ(BatchSchreiben(aus, s), Ergebnis::Ok);
    return aus.str();
}

TEST(Zeilen, RandfaelleDerZeilenregel) {
    struct Fall {
        const char* name;
        Serie serie;
        std::int64_t n;
        const char* zeile;
    } faelle[] = {
        {"zeros to EndNr's width", SerieAus("Tür ", 8, 10, "", true), 8, "Tür 08"},
        {"no zeros when off", SerieAus("", 8, 100), 8, "8"},
        {"number wider than EndNr", SerieAus("", 100, 5, "", true), 100, "100"},
        {"zeros follow the sign", SerieAus("", -5, 100, "", true), -5, "-05"},
        {"EndNr's sign counts", SerieAus("", 3, -10, "", true), 3, "003"},
        {"widest numbers", SerieAus("", Min32, Max32, "", true), Min32, "-2147483648"},
        {"vertical", SerieAus("Tür ", 8, 10, "", true, true), 8, "T|ü|r| |0|8"},
        {"vertical counts code points", SerieAus("€", 1, 1, "☃x", false, true), 1, "€|1|☃|x"},
        {"vertical negative", SerieAus("", -12, 0, "", false, true), -12, "-|1|2"},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(ZeilenText(f.serie, f.n), f.zeile) << f.name;
    }
}

TEST(Datei, ZeilenMitCrLfOhneLeerzeileAmEnde) {
    EXPECT_EQ(Bytes(SerieAus("Tür ", 8, 10, "", true)), "T\xFCr 08\r\nT\xFCr 09\r\nT\xFCr 10\r\n");
    EXPECT_EQ(Bytes(SerieAus("Tür ", 8, 10, "", true, true)),
              "T|\xFC|r| |0|8\r\nT|\xFC|r| |0|9\r\nT|\xFC|r| |1|0\r\n");
    EXPECT_EQ(Bytes(SerieAus("", 7, 7, ".")), "7.\r\n");
}

TEST(Datei, KodierungNachDemGanzenInhalt) {
    // Every character of Windows-1252, the euro sign included: one byte each.
    EXPECT_EQ(Bytes(SerieAus("€ ", 1, 1, " Œ")), "\x80 1 \x8C\r\n");
    // One character outside it: the whole file in UTF-8, without byte order mark.
    EXPECT_EQ(Bytes(SerieAus("ä", 1, 2, "☃")), "\xC3\xA4"
                                               "1\xE2\x98\x83\r\n\xC3\xA4"
                                               "2\xE2\x98\x83\r\n");
    // "Ã¼" in Windows-1252 is C3 BC, which a reader takes for the UTF-8 of "ü": UTF-8 then.
    const Serie tarnung = SerieAus("Ã¼", 1, 1);
    EXPECT_EQ(KodierungWaehlen(tarnung), Kodierung::Utf8);
    EXPECT_EQ(Bytes(tarnung), "\xC3\x83\xC2\xBC"
                              "1\r\n");
    // Split by "|", the same bytes are no longer valid UTF-8.
    Serie senkrecht = tarnung;
    senkrecht.Senkrecht = true;
    EXPECT_EQ(Bytes(senkrecht), "\xC3|\xBC|1\r\n");
}

TEST(Datei, GanzerZweiunddreissigBitBereich) {
    // The counter must step past the largest 32-bit number and stop.
    EXPECT_EQ(Bytes(SerieAus("", Max32 - 1, Max32)), "2147483646\r\n2147483647\r\n");
    EXPECT_EQ(Bytes(SerieAus("", Min32, Min32 + 1, "", true)), "-2147483648\r\n-2147483647\r\n");
    const Serie alles = SerieAus("", Min32, Max32);
    EXPECT_EQ(ZeilenAnzahl(alles), std::int64_t{1} << 32);
    EXPECT_EQ(ZeilenAnzahl(SerieAus("", 7, 3)), 0);
    const int max = std::numeric_limits<int>::max();
    EXPECT_EQ(FortschrittWert(ZeilenAnzahl(alles), ZeilenAnzahl(alles), max), max);
    EXPECT_EQ(FortschrittWert(std::int64_t{1} << 31, ZeilenAnzahl(alles), 1000), 500);
}

TEST(Datei, FehlerWerdenGemeldetUndGeschriebenesBleibt) {
    test::TempOrdner ordner;
    const auto datei = ordner / "serie.bch";

    EXPECT_EQ(BatchDateiErzeugen(datei, SerieAus("", 7, 3)), Ergebnis::EndeVorStart);
    EXPECT_FALSE(std::filesystem::exists(datei));
    EXPECT_EQ(BatchDateiErzeugen(datei, SerieAus("a\nb", 1, 2)), Ergebnis::Zeilenumbruch);
    EXPECT_FALSE(std::filesystem::exists(datei));

    EXPECT_EQ(BatchDateiErzeugen(ordner / "fehlt" / "serie.bch", SerieAus("", 1, 2)),
              Ergebnis::NichtGeoeffnet);
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(BatchDateiErzeugen("/dev/full", SerieAus("", 1, 100000)),
                  Ergebnis::Schreibfehler);
    }

    // Stopped after the third line: those three lines are in the file.
    const Ergebnis e = BatchDateiErzeugen(datei, SerieAus("S", 1, 10),
                                          [](std::int64_t fertig) { return fertig < 3; });
    EXPECT_EQ(e, Ergebnis::Abgebrochen);
    EXPECT_EQ(test::DateiLesen(datei), "S1\r\nS2\r\nS3\r\n");
}

} // namespace
} // namespace konturo::serienmacher
