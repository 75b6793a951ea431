// Batch runs: reading the list, the file names of entries, the window's run (what is written,
// the stop button, failing entries) and the command line's threaded run against one thread and
// against independent readers of its DXF and GEO files.
#include "TestHilfe.h"

#include "app/BatchVerarbeitung.h"
#include "frames/Vorlagen.h"
#include "text/Textquelle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace konturo {
namespace {

namespace fs = std::filesystem;

TEST(BatchLesen, ListEndsAtTheFirstBlankLineAndBarsBecomeLineBreaks) {
    struct Fall {
        const char* name;
        std::string bytes;
        std::vector<std::string> eintraege;
    } faelle[] = {
        {"blank line ends the list", "Schild 1\r\nSchild 2\r\n\r\nSchild 3\r\n",
         {"Schild 1", "Schild 2"}},
        {"a line of blanks ends it too", "a\r\n   \r\nb", {"a"}},
        {"first line blank", "\r\nSchild 1\r\n", {}},
        {"empty file", "", {}},
        {"bars", "A|B|C\r\n|x", {"A\r\nB\r\nC", "\r\nx"}},
        {"LF, CR and a last line without end", "a\nb\rc", {"a", "b", "c"}},
        {"Windows-1252", "T\xFCr 1\r\n", {"T\xC3\xBCr 1"}},
        {"UTF-8 with byte order mark", "\xEF\xBB\xBFT\xC3\xBCr 1\r\n", {"T\xC3\xBCr 1"}},
    };
    for (const Fall& f : faelle) EXPECT_EQ(BatchZeilenLesen(f.bytes), f.eintraege) << f.name;
}

TEST(BatchName, SeparatorsAndBlanksBecomeUnderscores) {
    EXPECT_EQ(BatchName("10/20"), "10_20");
    EXPECT_EQ(BatchName("Typ#5+"), "Typ_5_");
    EXPECT_EQ(BatchName("A\r\nB\r\nC"), "A_B_C");
    EXPECT_EQ(BatchName("a\\b<c>d|e f"), "a_b_c_d_e_f");
    EXPECT_EQ(BatchName("x:*?\".T\xC3\xBCr"), "x:*?\".T\xC3\xBCr");
    EXPECT_EQ(BatchEndung(4), ".m10");
    EXPECT_EQ(BatchEndung(0), "");
    EXPECT_EQ(BatchOrdner("liste.bch"), ".");
    EXPECT_EQ(BatchOrdner("/a/b/liste.bch"), "/a/b");

    Batchzustand b;
    b.BatchZeilen = {"A B", "x", "A/B", "A+B"};
    using Gruppen = std::vector<std::vector<std::int32_t>>;
    EXPECT_EQ(BatchGruppen(b, 1), (Gruppen{{1, 3, 4}, {2}}));
    EXPECT_EQ(BatchGruppen(b, 0), (Gruppen{{1}, {2}, {3}, {4}}));
}

// A session whose text source is a plain text in Liberation Sans, and a batch folder.
class BatchLauf_ : public ::testing::Test {
protected:
    void SetUp() override {
        s = test::NeueSitzung();
        quelle.standardFormat.Schriftart = "Liberation Sans";
        s->textquelle = &quelle;
    }
    // Writes the batch file, reads it and runs it the window's way.
    std::vector<BatchEintrag> Laufen(const std::string& bytes, int lastFilter = 1) {
        s->einstellungen.LastFilter = static_cast<std::uint8_t>(lastFilter);
        s->batch.BatchPfad = (ordner / "liste.bch").string();
        test::DateiSchreiben(s->batch.BatchPfad, bytes);
        EXPECT_EQ(BatchLesen(*s), Dateifehler::Keiner);
        return BatchAusfuehren(*s, BatchOrdner(s->batch.BatchPfad));
    }
    std::set<std::string> Dateien() const {
        std::set<std::string> namen;
        for (const auto& e : fs::directory_iterator(ordner.Pfad()))
            if (e.path().filename() != "liste.bch") namen.insert(e.path().filename().string());
        return namen;
    }
    std::unique_ptr<Sitzung> s;
    TextquelleKlartext quelle;
    test::TempOrdner ordner;
};

TEST_F(BatchLauf_, WritesOneFileperEntryIntoTheBatchFolder) {
    const auto gelaufen = Laufen("Schild 1\r\nSchild 2\r\n\r\nSchild 3\r\n");
    ASSERT_EQ(gelaufen.size(), 2u);
    EXPECT_EQ(Dateien(), (std::set<std::string>{"Schild_1.dxf", "Schild_2.dxf"}));
    EXPECT_GT(gelaufen[1].Elemente, 0);
    // The drawing is the last entry's; the entries hold their cleaned names.
    EXPECT_EQ(quelle.KlarText(), "Schild 2");
    EXPECT_EQ(s->batch.BatchZeilen, (std::vector<std::string>{"Schild_1", "Schild_2"}));
    EXPECT_TRUE(s->kopflos.meldungen.empty());
    EXPECT_FALSE(s->kopflos.beschaeftigt);
    EXPECT_EQ(s->ui, &s->kopflos);

    // ME10 macros end in .m10; an entry without geometry is written all the same.
    Laufen("A|B|C\r\n|\r\n", 4);
    EXPECT_TRUE(Dateien().count("A_B_C.m10"));
    EXPECT_TRUE(Dateien().count("_.m10"));
    // Another LastFilter converts and writes nothing.
    const auto ohne = Laufen("Neu\r\n", 0);
    EXPECT_FALSE(Dateien().count("Neu.dxf"));
    EXPECT_GT(ohne.at(0).Elemente, 0);
}

TEST_F(BatchLauf_, StopButtonEndsTheRunAfterTheWholeEntryInHand) {
    std::string liste;
    for (int i = 1; i <= 10; ++i) liste += "Schild Nummer " + std::to_string(i) + " im Flur Ost\r\n";
    // The conversion lets events run every ten characters: the click arrives inside entry 3.
    s->einstellungen.Unterbrechung = 1;
    s->kopflos.ereignisKontext = s.get();
    s->kopflos.beiEreignissen = [](void* k) {
        auto& sitzung = *static_cast<Sitzung*>(k);
        if (sitzung.batch.BatchZeile == 3)
            sitzung.fenster.AbbruchWunsch = sitzung.fenster.BatchAbbruch = true;
    };
    EXPECT_EQ(Laufen(liste).size(), 3u);
    EXPECT_EQ(Dateien().size(), 3u);
    EXPECT_FALSE(s->fenster.BatchAbbruch);
    const std::string abgebrochen = test::DateiLesen(ordner / "Schild_Nummer_3_im_Flur_Ost.dxf");

    // Entry 3 is the whole text, as a run without the click writes it.
    s->kopflos.beiEreignissen = nullptr;
    Laufen(liste);
    EXPECT_EQ(Dateien().size(), 10u);
    EXPECT_EQ(abgebrochen, test::DateiLesen(ordner / "Schild_Nummer_3_im_Flur_Ost.dxf"));
}

TEST_F(BatchLauf_, FailingEntryStopsTheRunWithOneMessageAndKeepsWhatWasWritten) {
    struct Fall {
        const char* name;
        std::string zweiter; // the second entry
        BatchFehler fehler;
    } faelle[] = {
        {"a folder of the file's name", "Ordner", BatchFehler::NichtErstellt},
        {"a name longer than the file system allows", std::string(300, 'x'),
         BatchFehler::NameZuLang},
    };
    fs::create_directory(ordner / "Ordner.dxf");
    for (const Fall& f : faelle) {
        s->kopflos.meldungen.clear();
        fs::remove(ordner / "Eins.dxf");
        const auto gelaufen = Laufen("Eins\r\n" + f.zweiter + "\r\nDrei\r\n");
        ASSERT_EQ(gelaufen.size(), 2u) << f.name;
        EXPECT_EQ(gelaufen[1].Fehler, f.fehler) << f.name;
        EXPECT_EQ(s->kopflos.meldungen, std::vector<int>{135}) << f.name;
        const std::string text = s->kopflos.aufrufe.back().text;
        EXPECT_NE(text.find(" 2: " + f.zweiter.substr(0, 20)), std::string::npos) << text;
        EXPECT_TRUE(fs::exists(ordner / "Eins.dxf")) << f.name;
        EXPECT_FALSE(fs::exists(ordner / "Drei.dxf")) << f.name;
    }
}

// The command line's run of a numbered series, as Serienmacher writes it.
class BatchParallel : public BatchLauf_ {
protected:
    std::vector<BatchEintrag> Parallel(int faeden, const std::string& ziel) {
        fs::create_directory(ordner / ziel);
        std::atomic<bool> abbruch{false};
        std::vector<std::int32_t> reihenfolge;
        auto gelaufen = BatchParallelAusfuehren(
            *s, quelle.standardFormat, (ordner / ziel).string(), faeden, abbruch,
            [&](const BatchEintrag& e) { reihenfolge.push_back(e.Nr); });
        for (std::size_t i = 0; i < reihenfolge.size(); ++i)
            EXPECT_EQ(reihenfolge[i], static_cast<std::int32_t>(i + 1));
        return gelaufen;
    }
};

TEST_F(BatchParallel, SeriesFilesMatchOneThreadAndReadBackAsClosedContours) {
    for (int n = 1; n <= 250; ++n) {
        char zeile[16];
        std::snprintf(zeile, sizeof zeile, "T\xC3\xBCr %03d", n);
        s->batch.BatchZeilen.push_back(zeile);
    }
    // Three entries that write one file: the last one's geometry must win.
    for (const char* e : {"A B", "A/B", "A+B"}) s->batch.BatchZeilen.push_back(e);
    s->einstellungen.LastFilter = 1;
    const auto eins = Parallel(1, "eins");
    const auto drei = Parallel(3, "drei");
    ASSERT_EQ(eins.size(), 253u);
    ASSERT_EQ(drei.size(), 253u);
    std::string dateien;
    for (std::size_t i = 0; i < eins.size(); ++i) {
        ASSERT_EQ(eins[i].Fehler, BatchFehler::Keiner) << i;
        const fs::path name = fs::path(eins[i].Datei).filename();
        ASSERT_EQ(test::DateiLesen(ordner / "eins" / name), test::DateiLesen(ordner / "drei" / name))
            << name;
        if (i < 250) dateien += " '" + eins[i].Datei + "'";
    }
    EXPECT_EQ(fs::path(eins[1].Datei).filename(), "T\xC3\xBCr_002.dxf");

    Sitzung letzte;
    test::StandardEinstellungen(letzte);
    TextquelleKlartext nurLetzte("A+B", quelle.standardFormat);
    letzte.textquelle = &nurLetzte;
    letzte.batch.BatchZeilen = {"A+B"};
    letzte.einstellungen.LastFilter = 1;
    fs::create_directory(ordner / "einzeln");
    std::atomic<bool> abbruch{false};
    BatchParallelAusfuehren(letzte, quelle.standardFormat, (ordner / "einzeln").string(), 1,
                            abbruch, [](const BatchEintrag&) {});
    EXPECT_EQ(test::DateiLesen(ordner / "drei" / "A_B.dxf"),
              test::DateiLesen(ordner / "einzeln" / "A_B.dxf"));

    const std::string python = std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") == 0
                                   ? "/usr/bin/python3"
                                   : "python3";
    const int status = std::system((python + " '" + test::Testdaten("text/dxf_pruefen.py").string() +
                                    "'" + dateien + " >/dev/null")
                                       .c_str());
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "dxf_pruefen.py found a fault";
}

TEST_F(BatchParallel, GeoFilesReadBackThroughTheTemplateReader) {
    for (int n = 1; n <= 20; ++n) s->batch.BatchZeilen.push_back("Schild " + std::to_string(n));
    s->einstellungen.LastFilter = 2;
    const auto gelaufen = Parallel(2, "geo");
    ASSERT_EQ(gelaufen.size(), 20u);
    for (const BatchEintrag& e : gelaufen) {
        auto leser = test::NeueSitzung();
        leser->einstellungen.RVorlage = e.Datei;
        GeoVorlageLesen(*leser);
        EXPECT_EQ(leser->speicher.VorlageElemente.Anzahl(), e.Elemente) << e.Datei;
    }
}

TEST(BatchKommandozeile, FailingEntryIsNamedAndTheRunGoesOn) {
    test::TempOrdner ordner;
    test::DateiSchreiben(ordner / "liste.bch", "Eins\r\nZwei\r\nDrei\r\n");
    fs::create_directories(ordner / "aus" / "Zwei.geo");
    const std::string basis = "batch --defaults --font 'Liberation Sans' ";
    const test::CliLauf l = test::KonturoCliStarten(
        ordner, basis + "liste.bch --format geo --out-dir aus --jobs 2");
    EXPECT_EQ(l.code, 1) << l.fehler;
    EXPECT_NE(l.fehler.find("entry 2: cannot create"), std::string::npos) << l.fehler;
    EXPECT_NE(l.ausgabe.find("1\taus/Eins.geo\t"), std::string::npos) << l.ausgabe;
    EXPECT_NE(l.ausgabe.find("3 entries: 2 files written, 1 failed"), std::string::npos);
    EXPECT_TRUE(fs::exists(ordner / "aus" / "Drei.geo"));

    struct Fall {
        const char* argumente;
        int code;
        const char* meldung;
    } faelle[] = {
        {"liste.bch -o a.dxf", 2, "-o does not apply"},
        {"liste.bch --format svg", 2, "--format takes"},
        {"liste.bch --jobs 0", 2, "--jobs takes"},
        {"fehlt.bch", 1, "no such file"},
        {"--font 'Keine Solche Schrift' liste.bch", 1, "not installed"},
    };
    for (const Fall& f : faelle) {
        const test::CliLauf fehler = test::KonturoCliStarten(ordner, basis + f.argumente);
        EXPECT_EQ(fehler.code, f.code) << f.argumente << ": " << fehler.fehler;
        EXPECT_NE(fehler.fehler.find(f.meldung), std::string::npos) << fehler.fehler;
    }
    // Without --format the stored type of the last export decides; the default is DXF.
    EXPECT_EQ(test::KonturoCliStarten(ordner, basis + "liste.bch").code, 0);
    EXPECT_TRUE(fs::exists(ordner / "Zwei.dxf"));
}

} // namespace
} // namespace konturo
