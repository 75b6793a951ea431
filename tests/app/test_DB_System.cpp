// Settings table: defaults of an empty store, key case, the loader's special rules, load and save
// errors, locale independence and a round trip through the QSettings backend.
#include "../output/LocaleHilfe.h"
#include "TestHilfe.h"
#include "app/DB_System.h"
#include "app/EinstellungenSpeicher.h"
#include "app/adapter/EinstellungenQt.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace konturo::test {
namespace {

EinstellungenUmgebung Umgebung() {
    EinstellungenUmgebung u;
    u.programmOrdner = "/opt/konturo";
    u.bildschirmBreite = 1920 * 15;
    u.bildschirmHoehe = 1080 * 15;
    return u;
}

TEST(EinstellungenLaden, LeererSpeicherGibtJedenStandardwert) {
    auto s = std::make_unique<Sitzung>();
    EinstellungenSpeicherSpeicher leer;
    ASSERT_TRUE(EinstellungenLaden(*s, leer, Umgebung()));
    const Einstellungen& e = s->einstellungen;
    EXPECT_EQ(e.Font, "Arial");
    EXPECT_EQ(e.Hoehe, "24");
    EXPECT_EQ(e.Stil, "standard");
    EXPECT_EQ(e.Toleranz, 0.05);
    EXPECT_EQ(e.KreisToleranz, 0.1);
    EXPECT_EQ(e.HGF, 0);
    EXPECT_EQ(e.LF, 16777215);
    EXPECT_EQ(e.BF, 65280);
    EXPECT_EQ(e.PF, 65280);
    EXPECT_EQ(e.THF, 16777215);
    EXPECT_EQ(e.TVF, 0);
    EXPECT_EQ(e.DXFWarnFarbe, 255 + 256 * 255 + 65536 * 124);
    EXPECT_EQ(e.ElementWarnFarbe, 255);
    EXPECT_EQ(e.Rtyp, 0);
    EXPECT_EQ(e.RRad, 10);
    EXPECT_EQ(e.Rx, 300);
    EXPECT_EQ(e.Ry, 300);
    EXPECT_EQ(e.RVorlage, "");
    EXPECT_EQ(e.Roff, 10.0f);
    EXPECT_EQ(e.RoffArbeit, 10.0f);
    EXPECT_EQ(e.SplineT, 0.05);
    EXPECT_EQ(e.maxRadius, 9999.99);
    EXPECT_EQ(e.TInPath, "/opt/konturo");
    EXPECT_EQ(e.GInPath, "/opt/konturo");
    EXPECT_EQ(e.GOutPath, "/opt/konturo");
    EXPECT_EQ(e.WarnAusgabe, 0);
    EXPECT_EQ(e.WarnDarstellung, 0);
    EXPECT_EQ(e.WarnLaenge, 0.3);
    EXPECT_EQ(e.SizeX, 28800);
    EXPECT_EQ(e.SizeY, 16200);
    EXPECT_EQ(e.PosX, 0);
    EXPECT_EQ(e.PosY, 0);
    EXPECT_EQ(e.TextSizeX, 23040); // 80 % of the screen width
    EXPECT_EQ(e.TextSizeY, 12960);
    EXPECT_EQ(e.TextPosX, 100);
    EXPECT_EQ(e.TextPosY, 100);
    EXPECT_EQ(e.Unterbrechung, 0);
    EXPECT_EQ(e.Punkte, 1);
    EXPECT_EQ(e.LastFilter, 1);
    EXPECT_EQ(e.Ausgabenfarbe, 0);
    EXPECT_EQ(e.GespiegelteAusgabe, 0);
    EXPECT_EQ(e.SingleLineModus, 0);
    EXPECT_TRUE(s->kopflos.meldungen.empty());
}

TEST(EinstellungenLaden, TextfensterFolgtDerGeladenenFenstergroesse) {
    auto s = std::make_unique<Sitzung>();
    EinstellungenSpeicherSpeicher speicher;
    speicher.werte[{"Window", "SizeX"}] = "10000";
    speicher.werte[{"Window", "SizeY"}] = "5001";
    EinstellungenLaden(*s, speicher, Umgebung());
    EXPECT_EQ(s->einstellungen.TextSizeX, 8000);
    EXPECT_EQ(s->einstellungen.TextSizeY, 4001); // 4000.8 rounded
}

TEST(EinstellungenLaden, SchluesselOhneGrossKleinschreibung) {
    auto s = std::make_unique<Sitzung>();
    EinstellungenSpeicherSpeicher speicher;
    speicher.werte[{"Param", "AusgabenFarbe"}] = "1";
    speicher.werte[{"Param", "FONT"}] = "Liberation Serif";
    speicher.werte[{"Farbe", "hgf"}] = "255";
    EinstellungenLaden(*s, speicher, Umgebung());
    EXPECT_EQ(s->einstellungen.Ausgabenfarbe, 1);
    EXPECT_EQ(s->einstellungen.Font, "Liberation Serif");
    EXPECT_EQ(s->einstellungen.HGF, 255);

    // Saved again under its own spelling, with no second entry beside the old one.
    EinstellungenSpeicherSpeicher neu;
    ASSERT_TRUE(EinstellungenSichern(*s, neu));
    EXPECT_EQ(neu.werte.count({"Param", "AusgabenFarbe"}), 1u);
    EXPECT_EQ(neu.werte.count({"Param", "Ausgabenfarbe"}), 0u);
}

TEST(EinstellungenLaden, VorlageOhneDateiWirdLeer) {
    TempOrdner ordner;
    const std::string vorlage = (ordner / "rahmen.geo").string();
    DateiSchreiben(vorlage, "#~1\r\n");
    struct Fall {
        const char* name;
        bool loeschen;
        std::string erwartet;
    };
    const Fall faelle[] = {{"Datei da", false, vorlage}, {"Datei geloescht", true, ""}};
    for (const Fall& f : faelle) {
        if (f.loeschen) std::filesystem::remove(vorlage);
        auto s = std::make_unique<Sitzung>();
        EinstellungenSpeicherSpeicher speicher;
        speicher.werte[{"Param", "RVorlage"}] = vorlage;
        EinstellungenLaden(*s, speicher, Umgebung());
        EXPECT_EQ(s->einstellungen.RVorlage, f.erwartet) << f.name;
    }
}

TEST(EinstellungenLaden, SingleLineModusImmerAus) {
    auto s = std::make_unique<Sitzung>();
    EinstellungenSpeicherSpeicher speicher;
    speicher.werte[{"Param", "SingleLineModus"}] = "1";
    EinstellungenLaden(*s, speicher, Umgebung());
    EXPECT_EQ(s->einstellungen.SingleLineModus, 0);
}

TEST(EinstellungenLaden, ReelleWerteUnterDeutschemZahlenformat) {
    DeutschesLocale locale;
    if (!locale.Aktiv())
        GTEST_SKIP() << "de_DE.UTF-8 ist weder installiert noch mit localedef erzeugbar";
    auto s = std::make_unique<Sitzung>();
    EinstellungenSpeicherSpeicher speicher;
    speicher.werte[{"Param", "WarnLaenge"}] = "0.3";
    speicher.werte[{"Param", "Roff"}] = "2.5";
    speicher.werte[{"Param", "LastFilter"}] = "3";
    ASSERT_TRUE(EinstellungenLaden(*s, speicher, Umgebung()));
    EXPECT_EQ(s->einstellungen.WarnLaenge, 0.3);
    EXPECT_EQ(s->einstellungen.Roff, 2.5f);
    EXPECT_EQ(s->einstellungen.LastFilter, 3);
    EXPECT_EQ(s->einstellungen.maxRadius, 9999.99);
    // Written back with a point, never with the locale's comma.
    EinstellungenSpeicherSpeicher neu;
    s->einstellungen.Toleranz = 0.125;
    ASSERT_TRUE(EinstellungenSichern(*s, neu));
    EXPECT_EQ((neu.werte[{"Param", "WarnLaenge"}]), "0.3");
    EXPECT_EQ((neu.werte[{"Param", "Toleranz"}]), "0.125");
    EXPECT_EQ((neu.werte[{"Param", "maxRadius"}]), "9999.99");
}

TEST(EinstellungenLaden, EinUngueltigerWertKostetNurDiesenWert) {
    struct Fall {
        const char* name;
        const char* abschnitt;
        const char* schluessel;
        const char* wert;
    };
    // Each bad key lies between Font (read before) and RRad (read after).
    const Fall faelle[] = {
        {"Farbe als Wort", "Farbe", "HGF", "abc"},
        {"Farbe mit Rest", "Farbe", "BF", "12ab"},
        {"Farbe zu gross", "Farbe", "PF", "99999999999"},
        {"Farbe negativ", "Farbe", "LF", "-1"},
        {"leere Farbe", "Farbe", "TVF", ""},
        {"Byte ueber 255", "Param", "Rtyp", "256"},
        {"Rahmenart 7", "Param", "Rtyp", "7"},
        {"Toleranz 0", "Param", "Toleranz", "0"},
        {"Toleranz nan", "Param", "KreisToleranz", "nan"},
    };
    for (const Fall& f : faelle) {
        auto s = std::make_unique<Sitzung>();
        EinstellungenSpeicherSpeicher speicher;
        speicher.werte[{"Param", "Font"}] = "Times";
        speicher.werte[{f.abschnitt, f.schluessel}] = f.wert;
        speicher.werte[{"Param", "RRad"}] = "20";
        speicher.werte[{"Window", "TextPosX"}] = "4242";
        EXPECT_FALSE(EinstellungenLaden(*s, speicher, Umgebung())) << f.name;
        EXPECT_EQ(s->kopflos.meldungen, std::vector<int>{117}) << f.name;
        ASSERT_EQ(s->kopflos.aufrufe.size(), 1u) << f.name;
        EXPECT_NE(s->kopflos.aufrufe[0].text.find(std::string(f.schluessel) + "=" + f.wert),
                  std::string::npos)
            << f.name << ": " << s->kopflos.aufrufe[0].text;
        // The bad key has its default; every other key was read.
        EinstellungenSpeicherSpeicher standard;
        auto frisch = std::make_unique<Sitzung>();
        EinstellungenLaden(*frisch, standard, Umgebung());
        EinstellungenSpeicherSpeicher geladen, erwartet;
        frisch->einstellungen.Font = "Times";
        frisch->einstellungen.RRad = 20;
        frisch->einstellungen.TextPosX = 4242;
        EinstellungenSichern(*s, geladen);
        EinstellungenSichern(*frisch, erwartet);
        EXPECT_EQ(geladen.werte, erwartet.werte) << f.name;
    }
}

TEST(EinstellungenLaden, GespeicherteGrenzwerteLadenWiederOderWerdenStandard) {
    // The settings an earlier run saved beyond any sheet: they come back as defaults, named, and
    // what is saved then loads without a word.
    auto s = std::make_unique<Sitzung>();
    EinstellungenSpeicherSpeicher speicher;
    speicher.werte[{"Param", "Roff"}] = "3.40282346638529E+38";
    speicher.werte[{"Param", "maxRadius"}] = "1.79769313486232E+308";
    speicher.werte[{"Param", "Rx"}] = "250";
    EXPECT_FALSE(EinstellungenLaden(*s, speicher, Umgebung()));
    EXPECT_EQ(s->einstellungen.Roff, 10.0f);
    EXPECT_EQ(s->einstellungen.maxRadius, 9999.99);
    EXPECT_EQ(s->einstellungen.Rx, 250);
    ASSERT_EQ(s->kopflos.aufrufe.size(), 1u);
    EXPECT_NE(s->kopflos.aufrufe[0].text.find("Roff="), std::string::npos);
    EXPECT_NE(s->kopflos.aufrufe[0].text.find("maxRadius="), std::string::npos);

    s->einstellungen.Roff = 100000.0f;
    s->einstellungen.maxRadius = 1e9;
    EinstellungenSpeicherSpeicher neu;
    ASSERT_TRUE(EinstellungenSichern(*s, neu));
    auto wieder = std::make_unique<Sitzung>();
    EXPECT_TRUE(EinstellungenLaden(*wieder, neu, Umgebung()));
    EXPECT_EQ(wieder->einstellungen.Roff, 100000.0f);
    EXPECT_EQ(wieder->einstellungen.maxRadius, 1e9);
}

TEST(EinstellungSetzen, WerteAusserhalbIhresBereichsWerdenMitGrundAbgelehnt) {
    struct Fall {
        const char* schluessel;
        const char* wert;
        bool genommen;
        const char* grund;
    };
    const std::string langerName(5000, 'x');
    const Fall faelle[] = {
        {"Roff", "5", true, ""},
        {"Roff", "3.40282346e38", false, "Roff must be from -100000 to 100000"},
        {"maxRadius", "1.7976931348623157e308", false, "maxRadius must be"},
        {"RRad", "-1", false, "RRad must be from 0 to 100000"},
        {"SplineT", "0", false, "SplineT must be from 0.001 to 1"},
        {"SplineT", "0.01", true, ""},
        {"HGF", "16777216", false, "HGF must be from 0 to 16777215"},
        {"hgf", "255", true, ""},
        {"Punkte", "2", false, "Punkte must be from 0 to 1"},
        {"Toleranz", "abc", false, "Toleranz takes a number"},
        {"Font", langerName.c_str(), false, "Font takes a text of at most 4096"},
        {"Gibtsnicht", "1", false, "unknown setting"},
    };
    for (const Fall& f : faelle) {
        auto s = test::NeueSitzung();
        const Einstellungen vorher = s->einstellungen;
        std::string grund;
        EXPECT_EQ(EinstellungSetzen(s->einstellungen, f.schluessel, f.wert, &grund), f.genommen)
            << f.schluessel << "=" << f.wert;
        EXPECT_NE(grund.find(f.grund), std::string::npos) << f.schluessel << ": " << grund;
        if (!f.genommen) {
            EinstellungenSpeicherSpeicher a, b;
            s->einstellungen.RVorlage = vorher.RVorlage;
            EinstellungenSichern(*s, a);
            auto t = test::NeueSitzung();
            EinstellungenSichern(*t, b);
            EXPECT_EQ(a.werte, b.werte) << f.schluessel << ": a refused value changed a setting";
        }
    }
}

TEST(EinstellungenSichern, FehlerHaeltMitText118An) {
    auto s = std::make_unique<Sitzung>();
    EinstellungenSpeicherSpeicher leer;
    EinstellungenLaden(*s, leer, Umgebung());
    s->einstellungen.Font = "Neu";
    s->einstellungen.Ry = 123;
    EinstellungenSpeicherSpeicher speicher;
    speicher.werte[{"Param", "Ry"}] = "alt";
    speicher.fehlerBeiSchluessel = "Rx";
    EXPECT_FALSE(EinstellungenSichern(*s, speicher));
    EXPECT_EQ(s->kopflos.meldungen, std::vector<int>{118});
    EXPECT_EQ((speicher.werte[{"Param", "Font"}]), "Neu");
    EXPECT_EQ(speicher.werte.count({"Param", "Rx"}), 0u);
    EXPECT_EQ((speicher.werte[{"Param", "Ry"}]), "alt");
}

TEST(EinstellungenQt, RundreiseUeberIniDatei) {
    TempOrdner ordner;
    const QString ini = QString::fromStdString((ordner / "Konturo.conf").string());
    const std::string vorlage = (ordner / "rahmen.dxf").string();
    DateiSchreiben(vorlage, "0\r\nEOF\r\n");

    auto quelle = std::make_unique<Sitzung>();
    Einstellungen& a = quelle->einstellungen;
    a = Einstellungen{};
    a.Font = "Liberation Sans";
    a.Hoehe = "12,5";
    a.Stil = "fett kursiv";
    a.Toleranz = 0.02;
    a.KreisToleranz = 0.25;
    a.HGF = 1;
    a.LF = 2;
    a.BF = 3;
    a.PF = 4;
    a.THF = 5;
    a.TVF = 6;
    a.DXFWarnFarbe = 7;
    a.ElementWarnFarbe = 8;
    a.Rtyp = 2;
    a.RRad = 4.5;
    a.Rx = 210;
    a.Ry = 297;
    a.RVorlage = vorlage;
    a.Roff = 7.5f;
    a.SplineT = 0.01;
    a.maxRadius = 5000.5;
    a.TInPath = "/home/jörg/Texte";
    a.GInPath = "/home/jörg/Grafik mit Blank";
    a.GOutPath = "/tmp";
    a.WarnAusgabe = 1;
    a.WarnDarstellung = 1;
    a.WarnLaenge = 0.125;
    a.SizeX = 20000;
    a.SizeY = 15000;
    a.PosX = -120;
    a.PosY = 300;
    a.TextSizeX = 9000;
    a.TextSizeY = 8000;
    a.TextPosX = 50;
    a.TextPosY = 60;
    a.Unterbrechung = 1;
    a.Punkte = 0;
    a.LastFilter = 4;
    a.Ausgabenfarbe = 1;
    a.GespiegelteAusgabe = 1;
    a.SingleLineModus = 1;
    {
        EinstellungenQt speicher(ini);
        ASSERT_TRUE(EinstellungenSichern(*quelle, speicher));
        ASSERT_TRUE(speicher.Abschliessen());
    }
    const std::string datei = DateiLesen(ordner / "Konturo.conf");
    EXPECT_NE(datei.find("AusgabenFarbe=1"), std::string::npos) << datei;

    auto ziel = std::make_unique<Sitzung>();
    EinstellungenQt speicher(ini);
    ASSERT_TRUE(EinstellungenLaden(*ziel, speicher, Umgebung()));
    // Every key comes back: the loaded settings save to the same texts as the original, except
    // SingleLineModus, which loading always turns off.
    const Einstellungen& b = ziel->einstellungen;
    EXPECT_EQ(b.RoffArbeit, a.Roff);
    // The reals exactly, not only as texts.
    EXPECT_EQ(std::tie(b.Toleranz, b.KreisToleranz, b.RRad, b.Rx, b.Ry, b.SplineT, b.maxRadius,
                       b.WarnLaenge, b.Roff),
              std::tie(a.Toleranz, a.KreisToleranz, a.RRad, a.Rx, a.Ry, a.SplineT, a.maxRadius,
                       a.WarnLaenge, a.Roff));
    EXPECT_EQ(b.SingleLineModus, 0);
    a.SingleLineModus = 0;
    EinstellungenSpeicherSpeicher vorher, nachher;
    ASSERT_TRUE(EinstellungenSichern(*quelle, vorher));
    ASSERT_TRUE(EinstellungenSichern(*ziel, nachher));
    EXPECT_EQ(nachher.werte, vorher.werte);
    EXPECT_EQ(vorher.werte.size(), 48u);
}

TEST(EinstellungenQt, FremdeSchreibweiseInDerIniDatei) {
    TempOrdner ordner;
    DateiSchreiben(ordner / "Konturo.conf",
                   "[Param]\nausgabenfarbe=1\nWARNLAENGE=0.7\n[Window]\nsizex=9999\n");
    auto s = std::make_unique<Sitzung>();
    EinstellungenQt speicher(QString::fromStdString((ordner / "Konturo.conf").string()));
    ASSERT_TRUE(EinstellungenLaden(*s, speicher, Umgebung()));
    EXPECT_EQ(s->einstellungen.Ausgabenfarbe, 1);
    EXPECT_EQ(s->einstellungen.WarnLaenge, 0.7);
    EXPECT_EQ(s->einstellungen.SizeX, 9999);

    // Saving replaces the foreign spelling instead of adding a second key.
    s->einstellungen.Ausgabenfarbe = 0;
    ASSERT_TRUE(EinstellungenSichern(*s, speicher));
    ASSERT_TRUE(speicher.Abschliessen());
    const std::string datei = DateiLesen(ordner / "Konturo.conf");
    EXPECT_EQ(datei.find("ausgabenfarbe"), std::string::npos) << datei;
    EXPECT_NE(datei.find("AusgabenFarbe=0"), std::string::npos) << datei;
}

TEST(EinstellungenQt, NichtSchreibbareDateiMeldet118) {
    // The INI file would lie below a plain file: it can be neither created nor written, not even
    // by root.
    TempOrdner ordner;
    DateiSchreiben(ordner / "keinOrdner", "x");
    auto s = NeueSitzung();
    EinstellungenQt speicher(
        QString::fromStdString((ordner / "keinOrdner" / "Konturo.conf").string()));
    EXPECT_FALSE(EinstellungenSichern(*s, speicher));
    EXPECT_EQ(s->kopflos.meldungen, std::vector<int>{118});
}

} // namespace
} // namespace konturo::test
