// Path helpers and the proposed export name.
#include "TestHilfe.h"
#include "output/FSO_Funktionen.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace konturo::test {
namespace {

TEST(FSO_Funktionen, PfadTeile) {
    struct Fall {
        const char* pfad;
        const char* name;
        const char* titel;
        const char* endung;
        const char* verzeichnis;
    };
    const Fall faelle[] = {
        {"C:\\Daten\\Logo.alt.eps", "Logo.alt.eps", "Logo.alt", "EPS", "C:\\Daten"},
        {"C:\\Daten\\Logo", "Logo", "Logo", "LOGO", "C:\\Daten"},
        {"/home/anna/Zeichnung.dxf", "Zeichnung.dxf", "Zeichnung", "DXF", "/home/anna"},
        {"/home/anna\\gemischt.Geo", "gemischt.Geo", "gemischt", "GEO", "/home/anna"},
        {"nurname.vlg", "nurname.vlg", "nurname", "VLG", "nurname.vlg"},
        {"/ordner.mit.punkt/datei", "datei", "datei", "DATEI", "/ordner.mit.punkt"},
        {"/tmp/  Blanks aussen.txt  ", "  Blanks aussen.txt  ", "Blanks aussen", "TXT  ", "/tmp"},
        {"/wurzel.dxf", "wurzel.dxf", "wurzel", "DXF", ""},
        {"/ordner/", "", "", "", "/ordner"},
        {"", "", "", "", ""},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(DateiName(f.pfad), f.name) << f.pfad;
        EXPECT_EQ(DateiTitel(f.pfad), f.titel) << f.pfad;
        EXPECT_EQ(DateiEndung(f.pfad), f.endung) << f.pfad;
        EXPECT_EQ(Verzeichnis(f.pfad), f.verzeichnis) << f.pfad;
    }
}

TEST(FSO_Funktionen, VorgeschlagenerName) {
    struct Fall {
        const char* aktDatei;
        const char* text;
        const char* erwartet;
    };
    const Fall faelle[] = {
        {"", "Hallo Welt", "Hallo_We"},
        {"C:\\Daten\\Logo.alt.eps", "Hallo Welt", "Logo_alt"},
        {"/home/anna/a=b;c:d.pdf", "", "a_b_c_d"},
        {"", "", "Grafik"},
        {"", "x/y\\z|\"'<>", "x_y_z___"},
        // Characters, not bytes: umlauts count once.
        {"", "Größenänderung", "Größenän"},
        // Line breaks are left as they are.
        {"", "ab\r\ncd efg", "ab\r\ncd_e"},
        {"", "kurz", "kurz"},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(VorgeschlagenerName(f.aktDatei, f.text), f.erwartet)
            << "AktDatei \"" << f.aktDatei << "\", Text \"" << f.text << "\"";
    }
}

TEST(FSO_Funktionen, DateienUndOrdner) {
    TempOrdner ordner;
    const std::string datei = (ordner / "da.txt").string();
    DateiSchreiben(datei, "x");
    EXPECT_TRUE(DateiExistiert(datei));
    EXPECT_FALSE(DateiExistiert(ordner.Pfad().string()));
    EXPECT_FALSE(DateiExistiert((ordner / "fehlt.txt").string()));
    EXPECT_FALSE(DateiExistiert(""));
    EXPECT_TRUE(OrdnerExistiert(ordner.Pfad().string()));
    EXPECT_FALSE(OrdnerExistiert(datei));
    EXPECT_FALSE(OrdnerExistiert((ordner / "weg").string()));
    EXPECT_FALSE(OrdnerExistiert(""));
}

TEST(FSO_Funktionen, NurGewoehnlicheDateienWerdenGelesen) {
    TempOrdner ordner;
    DateiSchreiben(ordner / "klein.txt", "Hallo");
    // Two gigabytes that take no disk: refused by their size before a byte is read.
    DateiSchreiben(ordner / "gross.txt", "");
    std::filesystem::resize_file(ordner / "gross.txt", std::uintmax_t{2} << 30);
    ASSERT_EQ(mkfifo((ordner / "rohr").c_str(), 0600), 0);
    struct Fall {
        std::string name;
        Dateifehler erwartet;
        const char* text;
    };
    const Fall faelle[] = {
        {"klein.txt", Dateifehler::Keiner, ""},
        {"fehlt.txt", Dateifehler::Fehlt, "no such file"},
        {"klein.txt/innen", Dateifehler::Fehlt, "no such file"},
        {".", Dateifehler::Ordner, "is a directory"},
        {"rohr", Dateifehler::KeineDatei, "not a regular file"},
        {"gross.txt", Dateifehler::ZuGross, "larger than 64 MiB"},
    };
    for (const Fall& f : faelle) {
        const std::string pfad = (ordner / f.name).string();
        std::string inhalt = "alt";
        EXPECT_EQ(DateiPruefen(pfad, std::uintmax_t{64} << 20), f.erwartet) << f.name;
        EXPECT_EQ(DateiEinlesen(pfad, std::uintmax_t{64} << 20, inhalt), f.erwartet) << f.name;
        EXPECT_EQ(inhalt, f.erwartet == Dateifehler::Keiner ? "Hallo" : "") << f.name;
        EXPECT_EQ(DateifehlerText(f.erwartet, std::uintmax_t{64} << 20), f.text) << f.name;
    }
    // The bound counts bytes: five bytes pass a bound of five and not one of four.
    std::string inhalt;
    EXPECT_EQ(DateiEinlesen((ordner / "klein.txt").string(), 5, inhalt), Dateifehler::Keiner);
    EXPECT_EQ(DateiEinlesen((ordner / "klein.txt").string(), 4, inhalt), Dateifehler::ZuGross);
}

TEST(FSO_Funktionen, TempOrdnerMitUndOhneTrenner) {
    const std::string ohne = konturo::TempOrdner(false);
    const std::string mit = konturo::TempOrdner(true);
    ASSERT_FALSE(ohne.empty());
    EXPECT_NE(ohne.back(), '/');
    EXPECT_EQ(mit, ohne + "/");
    EXPECT_TRUE(OrdnerExistiert(ohne));
}

} // namespace
} // namespace konturo::test
