// The writers' bytes for real drawings and texts compared with reference files kept in
// tests/output/referenz (gzip files, so they stay small): every faster path of reading,
// approximation, duplicate removal and writing must give the files the converter wrote before it.
// With KONTURO_REFERENZ_SCHREIBEN set to a folder the files are written there instead (how the
// references were made).
#include "TestHilfe.h"

#include "import/EPS_Einlesen.h"
#include "output/DXF_Ausgeben.h"
#include "output/GEO_Ausgeben.h"
#include "output/ME10_Ausgeben.h"
#include "text/FontAuslesen.h"
#include "text/FontErzeugen.h"
#include "text/GlyphGeraetFreetype.h"
#include "text/RtfLesen.h"
#include "text/Textquelle.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace konturo {
namespace {

struct Fall {
    std::string name;
    std::function<void(Sitzung&)> umwandeln;
};

void Importieren(Sitzung& s, const std::string& relativ) {
    s.fenster.AktDatei = test::Testdaten(relativ).string();
    s.fenster.ParameterZeigen = false;
    ASSERT_EQ(EPSEinlesen(s), ImportErgebnis::Gelesen) << relativ;
}

// The text source must outlive the conversion only; the store keeps the geometry.
void TextUmwandeln(Sitzung& s, const std::string& text, const Zeichenformat& format) {
    TextquelleKlartext quelle(text, format);
    s.textquelle = &quelle;
    konturo::TextUmwandeln(s);
    s.textquelle = nullptr;
}

Zeichenformat Format(const char* schrift, double groesse, bool fett = false, bool kursiv = false) {
    Zeichenformat f;
    f.Schriftart = schrift;
    f.Groesse = groesse;
    f.Fett = fett;
    f.Kursiv = kursiv;
    return f;
}

// Outline records that take the rare paths of the approximation: runs of equal points, of two
// alternating points (every chord direction is the previous one), straight runs, nearly flat
// runs whose tangent and chord slopes coincide, full circles and contours that start with a line,
// in runs after contour starts that a full-circle construction went before.
void Sonderfaelle(Sitzung& s) {
    std::mt19937 zufall(5);
    std::uniform_real_distribution<double> ort(0, 400), radius(0.5, 40);
    GeoFeld& kp = s.speicher.KonturPunkte;
    auto punkt = [&](double x, double y, std::int32_t kontur) {
        kp.Anfuegen(NeuesElement(Punkt, x, y, x, y, 0, kontur));
    };
    for (std::int32_t kontur = 1; kontur <= 300; ++kontur) {
        const double x = ort(zufall), y = ort(zufall), r = radius(zufall);
        const int art = kontur % 6;
        if (art == 5) kp.Anfuegen(NeuesElement(Linie, x - r, y, x, y, 0, kontur));
        for (int lauf = 0; lauf < 3; ++lauf) {
            for (int k = 0; k <= 20; ++k) {
                const double w = (lauf * 20 + k) * 0.1;
                switch ((art + lauf) % 6) {
                case 0:
                    punkt(x, y, kontur);
                    break;
                case 1:
                    punkt(x + r * (k % 2), y, kontur);
                    break;
                case 2:
                    punkt(x + k * r, y + k * r * 1e-9, kontur);
                    break;
                case 3:
                    punkt(x + k, y + 3 * k, kontur);
                    break;
                default:
                    punkt(x + r * std::cos(w), y + r * std::sin(w), kontur);
                    break;
                }
            }
        }
    }
    // Full circles of 60 points, one of them not closed.
    for (std::int32_t kontur = 301; kontur <= 303; ++kontur)
        for (int k = 0; k <= 60; ++k) {
            const double w = k * 2 * Pi() / (kontur == 303 ? 58 : 60);
            punkt(100 + 30 * std::cos(w), 700 + 30 * std::sin(w), kontur);
        }
    s.text.Massstab = 25.4 / 72;
    s.text.LetzterRichtungswinkel = 0.75;
    KonturApproximieren(s, false);
}

std::vector<Fall> Faelle() {
    std::vector<Fall> faelle;
    for (const char* datei : {"inkscape.eps", "inkscape.ps", "inkscape.pdf", "cairo.eps",
                              "cairo.pdf", "ghostscript.pdf", "pdftops.eps", "weichmaske.pdf"}) {
        faelle.push_back({std::string("import_") + datei, [datei](Sitzung& s) {
                              Importieren(s, std::string("import/daten/") + datei);
                          }});
    }
    faelle.push_back({"sonderfaelle", Sonderfaelle});
    faelle.push_back({"logo.eps", [](Sitzung& s) { Importieren(s, "output/referenz/logo.eps"); }});
    faelle.push_back({"logo_rahmen.pdf", [](Sitzung& s) {
                          s.einstellungen.Rtyp = 3;
                          s.einstellungen.RRad = 4;
                          s.einstellungen.Ausgabenfarbe = 1;
                          s.einstellungen.WarnAusgabe = 1;
                          Importieren(s, "output/referenz/logo.pdf");
                      }});
    faelle.push_back({"text_sans", [](Sitzung& s) {
                          TextUmwandeln(s,
                                        "Gr\xC3\xB6\xC3\x9F"
                                        "e 08%\n@gQ",
                                        Format("Liberation Sans", 24));
                      }});
    faelle.push_back({"text_serif_gespiegelt", [](Sitzung& s) {
                          s.einstellungen.GespiegelteAusgabe = 1;
                          s.text.Laufweite = 2;
                          s.text.Zeilenabstand = 50;
                          s.text.Schrifthoehe = 12.5;
                          TextUmwandeln(s,
                                        "O0o\tB&\n\xC3\x9F"
                                        "8",
                                        Format("DejaVu Serif", 30, true, true));
                      }});
    faelle.push_back({"text_einlinie", [](Sitzung& s) {
                          s.einstellungen.SingleLineModus = 1;
                          TextUmwandeln(s, "Sog 6@", Format("Liberation Serif", 18));
                      }});
    // Repeated glyphs whose full-circle tests compare the box width with their radius: at the
    // start of the text the box is narrower than it is later.
    faelle.push_back({"text_wiederholt", [](Sitzung& s) {
                          s.text.Schrifthoehe = 10;
                          s.einstellungen.KreisToleranz = 3;
                          TextUmwandeln(s,
                                        "\xE2\x97\x8B\xE2\x80\xA2\xE2\x97\x8B\xE2\x80\xA2"
                                        "o0Oo\xE2\x97\x8B\xE2\x80\xA2\xE2\x97\x8B 8%8\n"
                                        "\xE2\x80\xA2\xE2\x97\x8B\xE2\x80\xA2\xE2\x97\x8B"
                                        "o\xE2\x97\x8B\xE2\x80\xA2",
                                        Format("DejaVu Sans", 24));
                      }});
    // The second line lies on the first, so every element of "ab" has a duplicate.
    faelle.push_back({"text_doppelt", [](Sitzung& s) {
                          GlyphGeraetFreetype geraet;
                          ASSERT_TRUE(geraet.SchriftWaehlen("Liberation Sans", 240, false, false));
                          s.text.Zeilenabstand = geraet.Metrik().Height;
                          TextUmwandeln(s, "ab\nab", Format("Liberation Sans", 24));
                      }});
    faelle.push_back({"text_rtf", [](Sitzung& s) {
                          const RtfText rtf =
                              RtfLesen(test::DateiLesen(test::Testdaten("text/daten/formate.rtf")));
                          ASSERT_TRUE(rtf.Fehler.empty());
                          TextquelleKlartext quelle;
                          RtfAnhaengen(rtf, quelle);
                          s.textquelle = &quelle;
                          konturo::TextUmwandeln(s);
                          s.textquelle = nullptr;
                      }});
    return faelle;
}

std::string GzLesen(const std::filesystem::path& pfad) {
    std::string bytes;
    gzFile f = gzopen(pfad.string().c_str(), "rb");
    if (f == nullptr) return bytes;
    char puffer[65536];
    int n = 0;
    while ((n = gzread(f, puffer, sizeof puffer)) > 0)
        bytes.append(puffer, static_cast<std::size_t>(n));
    gzclose(f);
    return bytes;
}

void GzSchreiben(const std::filesystem::path& pfad, const std::string& bytes) {
    gzFile f = gzopen(pfad.string().c_str(), "wb9");
    ASSERT_NE(f, nullptr) << pfad;
    EXPECT_EQ(gzwrite(f, bytes.data(), static_cast<unsigned>(bytes.size())),
              static_cast<int>(bytes.size()));
    gzclose(f);
}

// The GEO header's fourth line is the date of the run.
std::string OhneDatum(std::string geo) {
    std::size_t p = 0;
    for (int zeile = 0; zeile < 3 && p != std::string::npos; ++zeile) p = geo.find("\r\n", p) + 2;
    const std::size_t ende = geo.find("\r\n", p);
    if (p != std::string::npos && ende != std::string::npos) geo.replace(p, ende - p, "DATUM");
    return geo;
}

struct Ausgabe {
    const char* endung;
    std::function<std::string(Sitzung&)> schreiben;
};

const std::vector<Ausgabe>& Ausgaben() {
    static const std::vector<Ausgabe> ausgaben = {
        {".dxf",
         [](Sitzung& s) {
             std::ostringstream aus;
             DxfSchreiben(s, aus);
             return aus.str();
         }},
        {".geo",
         [](Sitzung& s) {
             std::ostringstream aus;
             GeoSchreiben(s, aus);
             return OhneDatum(aus.str());
         }},
        {".inp",
         [](Sitzung& s) {
             std::ostringstream aus;
             Me10Schreiben(s, aus);
             return aus.str();
         }},
    };
    return ausgaben;
}

TEST(Referenzausgaben, GleichenDenFruherGeschriebenenDateien) {
    const char* schreibOrdner = std::getenv("KONTURO_REFERENZ_SCHREIBEN");
    for (const Fall& f : Faelle()) {
        auto s = test::NeueSitzung();
        s->speicher.DezimalPunkt = true;
        f.umwandeln(*s);
        ASSERT_GT(s->speicher.ElementAnzahl(), 0) << f.name;
        for (const Ausgabe& a : Ausgaben()) {
            const std::string name = f.name + a.endung + ".gz";
            const std::string bytes = a.schreiben(*s);
            if (schreibOrdner) {
                GzSchreiben(std::filesystem::path(schreibOrdner) / name, bytes);
                continue;
            }
            const std::string erwartet = GzLesen(test::Testdaten("output/referenz/" + name));
            ASSERT_FALSE(erwartet.empty()) << name;
            if (bytes == erwartet) continue;
            const auto unterschied =
                std::mismatch(bytes.begin(), bytes.end(), erwartet.begin(), erwartet.end());
            const auto stelle = unterschied.first - bytes.begin();
            ADD_FAILURE() << name << " differs from byte " << stelle << ": \""
                          << bytes.substr(static_cast<std::size_t>(stelle), 60)
                          << "\" instead of \""
                          << erwartet.substr(static_cast<std::size_t>(stelle), 60) << "\"";
        }
    }
}

} // namespace
} // namespace konturo
