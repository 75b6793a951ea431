// Statistics of the element store: counts, truncated extremes and means, rounded totals, the
// zero-length rule, arcs through 0 degrees, and the command line's lines.
#include "display/Statistik.h"

#include "geometry/Variablen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace konturo {
namespace {

GeoElement LinieVon(double x1, double y1, double x2, double y2) {
    return NeuesElement(Linie, x1, y1, x2, y2);
}

GeoElement BogenVon(double startGrad, double endeGrad, double radius) {
    return NeuesElement(Bogen, 0, 0, startGrad * Pi() / 180, endeGrad * Pi() / 180, radius);
}

GeoElement KreisVon(double radius) { return NeuesElement(Kreis, 3, 0, 0, 0, radius); }

// "Gruppe/Feld" -> shown value.
std::map<std::string, std::string> Anzeige(const Speicher& s, bool punkt = true) {
    std::map<std::string, std::string> m;
    for (const StatistikFeld& f : StatistikFelder(StatistikBerechnen(s), punkt))
        m[f.Gruppe.empty() ? f.Feld : f.Gruppe + "/" + f.Feld] = f.Wert;
    return m;
}

void Pruefen(const std::map<std::string, std::string>& anzeige,
             const std::map<std::string, std::string>& erwartet, const std::string& fall) {
    for (const auto& [feld, wert] : erwartet) {
        const auto it = anzeige.find(feld);
        ASSERT_NE(it, anzeige.end()) << fall << ": no field " << feld;
        EXPECT_EQ(it->second, wert) << fall << ": " << feld;
    }
}

TEST(Statistik, EmptyStoreShowsZeroEverywhere) {
    Speicher s;
    const auto anzeige = Anzeige(s);
    ASSERT_EQ(anzeige.size(), 18u);
    for (const auto& [feld, wert] : anzeige) EXPECT_EQ(wert, "0") << feld;
}

TEST(Statistik, LinesZeroLengthSkippedForMinimumTruncatedMeanRoundedTotal) {
    Speicher s;
    s.Elemente.Anfuegen(LinieVon(1, 1, 1, 1));
    s.Elemente.Anfuegen(LinieVon(0, 0, 2.349, 0));
    s.Elemente.Anfuegen(LinieVon(0, 0, 6, 8));
    Pruefen(Anzeige(s),
            {{"Linien/Anzahl", "3"},
             {"Linien/min. L\xC3\xA4nge", "2.34"},
             {"Linien/max. L\xC3\xA4nge", "10"},
             {"Linien/mittlere L\xC3\xA4nge", "4.11"},
             {"Linien/Gesamtl\xC3\xA4nge", "12.35"},
             {"Gesamtkontur", "12.35"}},
            "lines 0, 2.349, 10");
    Pruefen(Anzeige(s, false),
            {{"Linien/min. L\xC3\xA4nge", "2,34"}, {"Linien/Gesamtl\xC3\xA4nge", "12,35"}},
            "comma locale");
}

TEST(Statistik, ArcsRadiiAndTheArcThroughZero) {
    Speicher s;
    s.Elemente.Anfuegen(BogenVon(350, 10, 10)); // 20 degrees through 0
    s.Elemente.Anfuegen(BogenVon(0, 90, 2));
    s.Elemente.Anfuegen(BogenVon(0, 90, 0)); // zero radius: never the minimum
    Pruefen(Anzeige(s),
            {{"B\xC3\xB6gen/Anzahl", "3"},
             {"B\xC3\xB6gen/min. Radius", "2"},
             {"B\xC3\xB6gen/max. Radius", "10"},
             {"B\xC3\xB6gen/max. L\xC3\xA4nge", "3.49"},
             {"B\xC3\xB6gen/min. L\xC3\xA4nge", "3.14"},
             {"B\xC3\xB6gen/mittlere L\xC3\xA4nge", "2.21"},
             {"B\xC3\xB6gen/Gesamtl\xC3\xA4nge", "6.63"}},
            "arcs");
}

TEST(Statistik, RemovedAndOtherKindsAreNotCounted) {
    Speicher s;
    GeoElement entfernt = LinieVon(0, 0, 5, 0);
    entfernt.Typ = 0;
    s.Elemente.Anfuegen(entfernt);
    GeoElement punkt = LinieVon(0, 0, 5, 0);
    punkt.Typ = 1;
    s.Elemente.Anfuegen(punkt);
    s.Elemente.Anfuegen(LinieVon(0, 0, 1, 0));
    const StatistikWerte w = StatistikBerechnen(s);
    EXPECT_EQ(w.LinienAnzahl, 1);
    EXPECT_DOUBLE_EQ(w.LinienSumme, 1);
}

TEST(Statistik, AllZeroLengthsShowMinimumZero) {
    Speicher s;
    s.Elemente.Anfuegen(LinieVon(2, 2, 2, 2));
    s.Elemente.Anfuegen(KreisVon(0));
    Pruefen(Anzeige(s),
            {{"Linien/Anzahl", "1"},
             {"Linien/min. L\xC3\xA4nge", "0"},
             {"Kreise/Anzahl", "1"},
             {"Kreise/min. Durchmesser", "0"},
             {"Kreise/mittlere L\xC3\xA4nge", "0"}},
            "zero lengths");
}

TEST(Statistik, TruncationAndHalfToEvenRounding) {
    struct Fall {
        double x, abgeschnitten, gerundet;
    } faelle[] = {
        {2.349, 2.34, 2.35}, {31.4159, 31.41, 31.42}, {-1.239, -1.23, -1.24},
        {0.125, 0.12, 0.12}, {0.375, 0.37, 0.38},     {10, 10, 10},
    };
    for (const Fall& f : faelle) {
        EXPECT_DOUBLE_EQ(ZweiStellenAbgeschnitten(f.x), f.abgeschnitten) << f.x;
        EXPECT_DOUBLE_EQ(ZweiStellenGerundet(f.x), f.gerundet) << f.x;
    }
}

// Also the radius-5 circle: mean 31.41 truncated, total 31.42 rounded.
TEST(Statistik, CommandLineLinesInWindowOrder) {
    Speicher s;
    s.Elemente.Anfuegen(LinieVon(0, 0, 3, 4));
    s.Elemente.Anfuegen(BogenVon(0, 180, 1.25));
    s.Elemente.Anfuegen(KreisVon(5));
    const auto zeilen = StatistikZeilen(s);
    const std::vector<std::string> erwartet = {
        "Linien/Anzahl = 1",
        "Linien/min. L\xC3\xA4nge = 5",
        "Linien/max. L\xC3\xA4nge = 5",
        "Linien/mittlere L\xC3\xA4nge = 5",
        "Linien/Gesamtl\xC3\xA4nge = 5",
        "B\xC3\xB6gen/Anzahl = 1",
        "B\xC3\xB6gen/min. Radius = 1.25",
        "B\xC3\xB6gen/max. Radius = 1.25",
        "B\xC3\xB6gen/min. L\xC3\xA4nge = 3.92",
        "B\xC3\xB6gen/max. L\xC3\xA4nge = 3.92",
        "B\xC3\xB6gen/mittlere L\xC3\xA4nge = 3.92",
        "B\xC3\xB6gen/Gesamtl\xC3\xA4nge = 3.93",
        "Kreise/Anzahl = 1",
        "Kreise/min. Durchmesser = 10",
        "Kreise/max. Durchmesser = 10",
        "Kreise/mittlere L\xC3\xA4nge = 31.41",
        "Kreise/Gesamtl\xC3\xA4nge = 31.42",
        "Gesamtkontur = 40.34",
    };
    EXPECT_EQ(zeilen, erwartet);
}

} // namespace
} // namespace konturo
