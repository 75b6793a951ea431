// Number text of the writers and the locale-independent number reader.
#include "geometry/AllgLesen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace konturo {
namespace {

struct Fall {
    double wert;
    const char* zahlText;
    const char* geoZahlText;
};

TEST(ZahlText, TabelleDerDezimalen) {
    const Fall faelle[] = {
        {2.5, "2.5", "2.5"},
        {0, "0", "0"},
        {-0.0, "0", "0"},
        {123456789.4, "123456789", "123456789"},
        {0.1234567894, "0.1234567894", "0.123456789"},
        {-0.00001, "-1E-05", "-1E-05"},
        {0.0001, "0.0001", "0.0001"},
        {0.00012345, "0.00012345", "0.00012345"},
        {1.0 / 3.0, "0.33333333333333", "0.333333333"},
        {2.0 / 3.0, "0.66666666666667", "0.666666667"},
        {10.0 / 3.0, "3.33333333333333", "3.333333333"},
        {100.0 / 3.0, "33.3333333333333", "33.333333333"},
        {1e6 / 3.0, "333333.333333333", "333333.333333333"},
        {1e7 / 3.0, "3333333.33333333", "3333333.33333333"},
        {1e8 / 3.0, "33333333.3333333", "33333333.3333333"},
        {1.5e15, "1.5E+15", "1.5E+15"},
        {-1e20, "-1E+20", "-1E+20"},
        // The largest doubles keep a text that reads back finite.
        {1.7976931348623157e308, "1.79769313486231E+308", "1.79769313486231E+308"},
        {-1.7976931348623157e308, "-1.79769313486231E+308", "-1.79769313486231E+308"},
        {1.7976931348623e308, "1.7976931348623E+308", "1.7976931348623E+308"},
        {1e-20, "0", "0"},
        {0.5e-9, "5E-10", "0"},
        {0.4e-9, "4E-10", "0"},
        {9.99999999999999999, "10", "10"},
        {270.0, "270", "270"},
        {-3.25, "-3.25", "-3.25"},
        {0.125, "0.125", "0.125"},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(ZahlText(f.wert), f.zahlText) << "ZahlText(" << f.wert << ")";
        EXPECT_EQ(GeoZahlText(f.wert), f.geoZahlText) << "GeoZahlText(" << f.wert << ")";
    }
}

TEST(ZahlText, ExakteHaelftenZurGeradenZiffer) {
    // 0.5 at 0 decimals: only from 1e8 up are there no decimals, and there doubles are exact.
    EXPECT_EQ(ZahlText(100000000.5), "100000000");
    EXPECT_EQ(ZahlText(100000001.5), "100000002");
    // 2^-10 = 0.0009765625 is exact; with 9 decimals the tie goes to the even digit.
    EXPECT_EQ(GeoZahlText(0.0009765625), "0.000976562");
    // Halves of the decimal form count even when the double lies a hair below them:
    // 10 sin(pi/4) = 7.071067811865475 (binary 7.07106781186547461...).
    EXPECT_EQ(ZahlText(7.071067811865475), "7.07106781186548");
}

TEST(ZahlText, NichtEndlicheZahlenWerdenNull) {
    EXPECT_EQ(ZahlText(std::numeric_limits<double>::quiet_NaN()), "0");
    EXPECT_EQ(ZahlText(std::numeric_limits<double>::infinity()), "0");
    EXPECT_EQ(GeoZahlText(-std::numeric_limits<double>::infinity()), "0");
}

TEST(WertZeile, PunktGebietPolstertKommaGebietNicht) {
    EXPECT_EQ(WertZeile("2.5", true), " 2.5 ");
    EXPECT_EQ(WertZeile("-2.5", true), "-2.5 ");
    EXPECT_EQ(WertZeile("0", true), " 0 ");
    EXPECT_EQ(WertZeile("2.5", false), "2.5");
    EXPECT_EQ(WertZeile("0", false), "0");
    EXPECT_EQ(GanzzahlZeile(0), " 0 ");
    EXPECT_EQ(GanzzahlZeile(70), " 70 ");
}

TEST(ZahlLesen, WieDieReaderLesen) {
    EXPECT_DOUBLE_EQ(ZahlLesen("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(ZahlLesen("12abc"), 12);
    EXPECT_DOUBLE_EQ(ZahlLesen("1.5D2"), 150);
    EXPECT_DOUBLE_EQ(ZahlLesen("1.5e-2"), 0.015);
    EXPECT_DOUBLE_EQ(ZahlLesen("abc"), 0);
    EXPECT_DOUBLE_EQ(ZahlLesen("."), 0);
    EXPECT_DOUBLE_EQ(ZahlLesen("-"), 0);
    EXPECT_DOUBLE_EQ(ZahlLesen("  7"), 7);
    EXPECT_DOUBLE_EQ(ZahlLesen("3E"), 3);
    EXPECT_DOUBLE_EQ(ZahlLesen("1,5"), 1);
    EXPECT_TRUE(std::isinf(ZahlLesen("1e999")));
    EXPECT_DOUBLE_EQ(ZahlLesen("1e-999"), 0);
    EXPECT_FALSE(ZahlLesenEndlich("1e999").has_value());
    EXPECT_FALSE(ZahlLesenEndlich("x").has_value());
    EXPECT_EQ(ZahlLesenEndlich("4.25").value(), 4.25);
}

TEST(ZahlLesen, LangeExponentenUndMantissenGenau) {
    struct Fall {
        const char* name;
        std::string text;
        double erwartet;
    };
    const double unendlich = std::numeric_limits<double>::infinity();
    const Fall faelle[] = {
        {"Exponent mit Nullen", "1e0000001", 10},
        {"langer Exponent", "5e0000000000000791919", unendlich},
        {"langer negativer Exponent", "5e-0000000000000791919", 0},
        {"600 Nullen, dann 7", std::string(600, '0') + "7", 7},
        {"600 Nullen hinter dem Punkt", "0." + std::string(599, '0') + "1e600", 1},
        {"400 Ziffern", "1" + std::string(400, '0'), unendlich},
        {"400 Ziffern mal 1e-400", "1" + std::string(400, '0') + "e-400", 1},
        // 2^53 + 1 lies exactly between two doubles: the even one wins, a digit far behind
        // decides for the upper one.
        {"genau die Mitte", "9007199254740993", 9007199254740992.0},
        {"knapp ueber der Mitte", "9007199254740993." + std::string(900, '0') + "1",
         9007199254740994.0},
        {"kleinste Zahl", "4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        {"ueber der halben kleinsten", "2.4703282292062328e-324",
         std::numeric_limits<double>::denorm_min()},
        {"groesste Zahl", "1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"D-Exponent", "2.5d-1x", 0.25},
    };
    for (const Fall& f : faelle) EXPECT_EQ(ZahlLesen(f.text), f.erwartet) << f.name;
    std::size_t gelesen = 0;
    ZahlLesen("1e0000001abc", gelesen);
    EXPECT_EQ(gelesen, 9u);
    EXPECT_FALSE(ZahlLesenEndlich("5e0000000000000791919").has_value());
}

} // namespace
} // namespace konturo
