// The PDF content reader: inflating, the line end after "stream", the stream dictionary rule,
// soft masks, joined streams and the bound against inflation bombs.
#include "ImportHilfe.h"

#include "import/PDFEinlesen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace konturo {
namespace {

using test::Flate;
using test::FlatePdf;
using test::StromObjekt;

// zlib data of n zero bytes, made in pieces so the test never holds the whole input.
std::string NullenGepackt(std::size_t n) {
    z_stream z{};
    deflateInit(&z, 1);
    const std::string stueck(1 << 20, '\0');
    std::string aus;
    char puffer[1 << 16];
    std::size_t rest = n;
    int flush = Z_NO_FLUSH;
    do {
        const std::size_t jetzt = std::min(rest, stueck.size());
        rest -= jetzt;
        flush = rest == 0 ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stueck.data()));
        z.avail_in = static_cast<uInt>(jetzt);
        do {
            z.next_out = reinterpret_cast<Bytef*>(puffer);
            z.avail_out = sizeof puffer;
            deflate(&z, flush);
            aus.append(puffer, sizeof puffer - z.avail_out);
        } while (z.avail_out == 0);
    } while (flush != Z_FINISH);
    deflateEnd(&z);
    return aus;
}

TEST(Entpacken, ErgebnisUndTeilausgabe) {
    const std::string text = "0 0 m\n100 0 l\n100 100 l\nh\n";
    const std::string gepackt = Flate(text);
    {
        std::string aus = "vorher:";
        EXPECT_EQ(Entpacken(gepackt, aus, PDFEntpackGrenze), EntpackErgebnis::Fertig);
        EXPECT_EQ(aus, "vorher:" + text);
    }
    {
        // Output larger than twice the input and than one growth step.
        const std::string gross(300000, 'a');
        std::string aus;
        EXPECT_EQ(Entpacken(Flate(gross), aus, PDFEntpackGrenze), EntpackErgebnis::Fertig);
        EXPECT_EQ(aus, gross);
    }
    {
        // A cut-off stream keeps what was inflated before the end of its data.
        const std::string lang(50000, 'x');
        const std::string g = Flate(lang);
        std::string aus;
        EXPECT_EQ(Entpacken(std::string_view(g).substr(0, g.size() / 2), aus, PDFEntpackGrenze),
                  EntpackErgebnis::Fehler);
        EXPECT_GT(aus.size(), 0u);
        EXPECT_LT(aus.size(), lang.size());
        EXPECT_EQ(aus, lang.substr(0, aus.size()));
    }
    {
        std::string aus;
        EXPECT_EQ(Entpacken("not zlib at all", aus, PDFEntpackGrenze), EntpackErgebnis::Fehler);
        EXPECT_TRUE(aus.empty());
        EXPECT_EQ(Entpacken("", aus, PDFEntpackGrenze), EntpackErgebnis::Fehler);
        EXPECT_TRUE(aus.empty());
    }
}

TEST(Entpacken, GrenzeHaeltBombenAuf) {
    const std::string bombe = NullenGepackt(std::size_t{64} << 20);
    std::string aus;
    EXPECT_EQ(Entpacken(bombe, aus, 1000000), EntpackErgebnis::Grenze);
    EXPECT_EQ(aus.size(), 1000000u);

    // The bound holds for the whole file: the second stream gets what the first left.
    PDFBefund befund;
    const std::string pdf = StromObjekt(1, " /Filter /FlateDecode", Flate(std::string(600, 'a'))) +
                            StromObjekt(2, " /Filter /FlateDecode", bombe) +
                            StromObjekt(3, " /Filter /FlateDecode", Flate("never read"));
    const std::string inhalt = PDFInhaltLesen(pdf, 1000, &befund);
    EXPECT_TRUE(befund.grenzeErreicht);
    EXPECT_EQ(inhalt.size(), 1000u);
    EXPECT_EQ(inhalt.substr(0, 600), std::string(600, 'a'));

    PDFInhaltLesen(FlatePdf({"0 0 m\n"}), 1000, &befund);
    EXPECT_FALSE(befund.grenzeErreicht);
}

TEST(Entpacken, BombeImImportWirdGemeldet) {
    // More than the bound of 256 MiB: the import keeps what was inflated and says so.
    const std::string pdf =
        FlatePdf({"0 0 m 10 0 l h\n"}) +
        StromObjekt(9, " /Filter /FlateDecode", NullenGepackt(PDFEntpackGrenze + (1 << 20)));
    auto s = test::NeueSitzung();
    EXPECT_EQ(test::Importieren(*s, pdf, true), ImportErgebnis::Gelesen);
    EXPECT_EQ(s->kopflos.meldungen, std::vector<int>{124});
    EXPECT_EQ(s->speicher.KonturPunkte.Anzahl(), 2);
}

TEST(PDFInhaltLesen, ZeilenendeNachStream) {
    const std::string inhalt = "0 0 m\n100 0 l\n";
    struct Fall {
        const char* name;
        std::string ende;
        std::string erwartet;
    };
    const std::vector<Fall> faelle = {
        {"CR LF", "\r\n", inhalt},
        {"LF", "\n", inhalt},
        {"CR alone is kept and spoils the zlib header", "\r", ""},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(PDFInhaltLesen(FlatePdf({inhalt}, f.ende)), f.erwartet) << f.name;
}

TEST(PDFInhaltLesen, ZweiStroemeWerdenVerbunden) {
    const std::string pdf = FlatePdf({"0 0 m\n10 0 l\n10", " 10 l\n"});
    EXPECT_EQ(PDFInhaltLesen(pdf), "0 0 m\n10 0 l\n10 10 l\n");
    auto s = test::NeueSitzung();
    test::Importieren(*s, pdf, true);
    ASSERT_EQ(s->speicher.KonturPunkte.Anzahl(), 2);
    EXPECT_EQ(s->speicher.KonturPunkte[2].X2, 10);
    EXPECT_EQ(s->speicher.KonturPunkte[2].Y2, 10);
}

TEST(PDFInhaltLesen, FlatePdfMitEinemOperatorJeZeile) {
    // One operator per line: the line reader, for which the closing h is no operator.
    auto s = test::NeueSitzung();
    test::Importieren(*s, FlatePdf({"0 0 m\n100 0 l\n100 100 l\nh\n"}), true);
    const std::vector<GeoElement> d = test::Datensaetze(*s);
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[0].X2, 100);
    EXPECT_EQ(d[1].Y2, 100);
    EXPECT_EQ(s->speicher.ElementAnzahl(), 2);
}

TEST(PDFInhaltLesen, StromWoerterbuch) {
    const std::string daten = "0 0 m\n";
    struct Fall {
        const char* name;
        std::string dict;
        std::string daten;
        StromArt art;
    };
    const std::vector<Fall> faelle = {
        {"no filter: raw", "", daten, StromArt::Roh},
        {"FlateDecode", " /Filter /FlateDecode", Flate(daten), StromArt::Flate},
        {"FlateDecode without blank", "/Filter/FlateDecode", Flate(daten), StromArt::Flate},
        {"FlateDecode in an array", " /Filter [/FlateDecode]", Flate(daten), StromArt::Flate},
        {"empty filter array", " /Filter []", daten, StromArt::Roh},
        {"two filters", " /Filter [/ASCII85Decode /FlateDecode]", daten, StromArt::Keine},
        {"other filter", " /Filter /ASCIIHexDecode", "3020306d0a", StromArt::Keine},
        {"image", " /Type /XObject /Subtype /Image /Width 2", daten, StromArt::Keine},
        {"font program", " /Length1 3000", daten, StromArt::Keine},
        {"Type1 font program", " /Length2 3000 /Length3 0", daten, StromArt::Keine},
        {"nested dictionaries", " /Resources << /Font << /F1 5 0 R >> >> /Filter /FlateDecode",
         Flate(daten), StromArt::Flate},
        {"filter of a nested dictionary does not count",
         " /DecodeParms << /Filter /LZWDecode /Subtype /Image >>", daten, StromArt::Roh},
        {"form XObject", " /Type /XObject /Subtype /Form /BBox [0 0 10 10]", daten, StromArt::Roh},
        {"string value with brackets", " /Name (a >> b << c) /Filter /FlateDecode", Flate(daten),
         StromArt::Flate},
    };
    for (const Fall& f : faelle) {
        const std::string pdf = "%PDF-1.4\n" + StromObjekt(1, f.dict, f.daten);
        const std::size_t p = pdf.find("stream");
        EXPECT_EQ(StromArtBestimmen(pdf, p), f.art) << f.name;
        // Raw data keeps the line end before "endstream"; inflated data ends with the zlib stream.
        std::string erwartet;
        if (f.art == StromArt::Roh) erwartet = daten + "\n";
        if (f.art == StromArt::Flate) erwartet = daten;
        EXPECT_EQ(PDFInhaltLesen(pdf), erwartet) << f.name;
    }
    EXPECT_EQ(StromArtBestimmen("stream\ndata\nendstream", 0), StromArt::Keine);
}

std::string Objekt(int nr, const std::string& rumpf) {
    return std::to_string(nr) + " 0 obj\n" + rumpf + "\nendobj\n";
}

struct MaskenFall {
    const char* name;
    std::string objekte; // the page's resources (3) and what they lead to
    bool maskeGelesen;   // the soft-mask group (9)
    bool formGelesen;    // the form 11, when there is one
};

// The content of a soft-mask group is never painted: it stays out, and so does a form that only
// the mask draws; a form the page paints as well stays in.
TEST(PDFInhaltLesen, WeichmaskenBleibenDraussen) {
    const std::string seite = "1 1 m 2 1 l\n", maske = "0 0 m 600 0 l\n", form = "5 5 m 6 5 l\n";
    const std::string gruppe = " /Type /XObject /Subtype /Form /BBox [0 0 600 400]";
    const std::string maskenGruppe = test::StromObjekt(9, gruppe, maske);
    const std::string formObjekt = test::StromObjekt(11, gruppe, form);
    const std::string maskeImObjektstrom = [] {
        const std::string a = "<< /Type /ExtGState /SMask 8 0 R >>\n";
        const std::string b = "<< /Type /Mask /S /Luminosity /G 9 0 R >>\n";
        const std::string kopf = "7 0 8 " + std::to_string(a.size()) + "\n";
        return test::StromObjekt(5,
                                 " /Type /ObjStm /N 2 /First " + std::to_string(kopf.size()) +
                                     " /Filter /FlateDecode",
                                 Flate(kopf + a + b));
    }();
    const std::vector<MaskenFall> faelle = {
        {"mask dictionary of its own, /S /Luminosity",
         Objekt(3, "<< /ExtGState << /s7 7 0 R >> >>") +
             Objekt(7, "<< /Type /ExtGState /SMask 8 0 R /ca 1 >>") +
             Objekt(8, "<< /Type /Mask /S /Luminosity /G 9 0 R >>") + maskenGruppe,
         false, false},
        {"soft mask inside the resources, /S /Alpha",
         Objekt(3, "<< /ExtGState << /s7 << /SMask << /S /Alpha /G 9 0 R /BC [0] >> >> >> >>") +
             maskenGruppe,
         false, false},
        {"a form that only the mask draws",
         Objekt(3, "<< /ExtGState << /s7 << /SMask << /S /Alpha /G 9 0 R >> >> >> >>") +
             test::StromObjekt(9, gruppe + " /Resources 10 0 R", maske) +
             Objekt(10, "<< /XObject << /x11 11 0 R >> >>") + formObjekt,
         false, false},
        {"a form that the page paints as well",
         Objekt(3, "<< /ExtGState << /s7 << /SMask << /S /Alpha /G 9 0 R >> >> >> "
                   "/XObject << /x11 11 0 R >> >>") +
             test::StromObjekt(9, gruppe + " /Resources << /XObject << /x11 11 0 R >> >>", maske) +
             formObjekt,
         false, true},
        {"mask dictionary in an object stream",
         Objekt(3, "<< /ExtGState << /s7 7 0 R >> >>") + maskeImObjektstrom + maskenGruppe, false,
         false},
        {"/G of a dictionary that is no soft mask",
         Objekt(3, "<< /Properties << /p << /S /Transparency /G 9 0 R >> >> >>") + maskenGruppe,
         true, false},
    };
    for (const MaskenFall& f : faelle) {
        const std::string pdf = "%PDF-1.5\n" +
                                Objekt(2, "<< /Type /Page /Contents 4 0 R /Resources 3 0 R >>") +
                                test::StromObjekt(4, "", seite) + f.objekte + "%%EOF\n";
        const std::string inhalt = PDFInhaltLesen(pdf);
        EXPECT_NE(inhalt.find(seite), std::string::npos) << f.name;
        EXPECT_EQ(inhalt.find(maske) != std::string::npos, f.maskeGelesen) << f.name;
        EXPECT_EQ(inhalt.find(form) != std::string::npos, f.formGelesen) << f.name;
    }
}

TEST(PDFInhaltLesen, OhneEndstream) {
    const std::string pdf = FlatePdf({"0 0 m\n"}) + "5 0 obj\n<< >>\nstream\n0 0 m";
    EXPECT_EQ(PDFInhaltLesen(pdf), "0 0 m\n");
    EXPECT_EQ(PDFInhaltLesen("%PDF-1.4\nno streams here\n"), "");
}

} // namespace
} // namespace konturo
