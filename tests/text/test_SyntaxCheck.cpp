// Keystroke filters of the number fields and the conversions between field text and number in a
// point and a comma locale.
#include "text/SyntaxCheck.h"

#include "output/LocaleHilfe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace konturo {
namespace {

using test::DeutschesLocale;

enum class Filter { Komma, PlusMinus, KommaTaste, Ziffern };

std::int32_t Anwenden(Filter f, std::int32_t taste, bool punkt) {
    switch (f) {
    case Filter::Komma:
        CheckKommaZahl(taste, punkt);
        break;
    case Filter::PlusMinus:
        CheckPlusMinusKommaZahl(taste, punkt);
        break;
    case Filter::KommaTaste:
        KommaZahlTaste(taste, punkt);
        break;
    case Filter::Ziffern:
        ZiffernTaste(taste);
        break;
    }
    return taste;
}

TEST(Tastenfilter, EachFilterOnEachKindOfKey) {
    struct Fall {
        const char* name;
        Filter filter;
        bool punkt;
        std::int32_t taste;
        std::int32_t ergebnis;
    } faelle[] = {
        {"comma becomes point in a point locale", Filter::Komma, true, ',', '.'},
        {"point stays point in a point locale", Filter::Komma, true, '.', '.'},
        {"point becomes comma in a comma locale", Filter::Komma, false, '.', ','},
        {"comma stays comma in a comma locale", Filter::Komma, false, ',', ','},
        {"digit passes", Filter::Komma, true, '7', '7'},
        {"minus passes the decimal filter", Filter::Komma, true, '-', '-'},
        {"backspace passes", Filter::Komma, false, 8, 8},
        {"letter rejected", Filter::Komma, true, 'a', 0},
        {"plus rejected", Filter::Komma, true, '+', 0},
        {"blank rejected", Filter::Komma, true, ' ', 0},
        {"signed filter has the same separator rule", Filter::PlusMinus, false, '.', ','},
        {"signed filter takes minus", Filter::PlusMinus, true, '-', '-'},
        {"signed filter rejects a letter", Filter::PlusMinus, true, 'e', 0},
        {"unsigned filter rejects minus", Filter::KommaTaste, true, '-', 0},
        {"unsigned filter separator rule", Filter::KommaTaste, false, '.', ','},
        {"unsigned filter passes 187", Filter::KommaTaste, true, 187, 187},
        {"unsigned filter passes backspace", Filter::KommaTaste, true, 8, 8},
        {"unsigned filter rejects a letter", Filter::KommaTaste, true, 'x', 0},
        {"digits filter passes a digit", Filter::Ziffern, true, '0', '0'},
        {"digits filter passes backspace", Filter::Ziffern, true, 8, 8},
        {"digits filter rejects a separator", Filter::Ziffern, true, '.', 0},
        {"digits filter rejects minus", Filter::Ziffern, false, '-', 0},
        {"digits filter rejects 187", Filter::Ziffern, true, 187, 0},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(Anwenden(f.filter, f.taste, f.punkt), f.ergebnis) << f.name;
}

TEST(Feldzahl, EmptyLoneMinusAndLocaleRules) {
    struct Fall {
        const char* name;
        const char* text;
        bool punkt;
        std::optional<double> wert;
    } faelle[] = {
        {"empty keeps the value (point)", "", true, std::nullopt},
        {"empty keeps the value (comma)", "", false, std::nullopt},
        {"lone minus is 0 in a point locale", "-", true, 0.0},
        {"lone minus keeps the value in a comma locale", "-", false, std::nullopt},
        {"lone separator keeps the value in a comma locale", ",", false, std::nullopt},
        {"comma number in a comma locale", "0,5", false, 0.5},
        {"negative comma number", "-1,25", false, -1.25},
        {"blanks around a comma number", " 2,5 ", false, 2.5},
        {"exponent in a comma locale", "1,5E2", false, 150.0},
        {"two separators are not a number", "1,2,3", false, std::nullopt},
        {"point is not the separator of a comma locale", "1.5", false, std::nullopt},
        {"point number in a point locale", "0.5", true, 0.5},
        {"longest leading number in a point locale", "12abc", true, 12.0},
        {"no number reads 0 in a point locale", "abc", true, 0.0},
        {"comma ends the number in a point locale", "1,5", true, 1.0},
        {"two separators: leading number in a point locale", "1.2.3", true, 1.2},
        {"overflow keeps the value", "1e999", true, std::nullopt},
        {"overflow keeps the value (comma)", "1e999", false, std::nullopt},
    };
    for (const Fall& f : faelle) {
        const auto wert = FeldZahl(f.text, f.punkt);
        ASSERT_EQ(wert.has_value(), f.wert.has_value()) << f.name;
        if (wert) {
            EXPECT_DOUBLE_EQ(*wert, *f.wert) << f.name;
        }
    }
}

TEST(Zahlanzeige, UsersSeparatorNoTrailingZerosExponentForm) {
    struct Fall {
        double wert;
        bool punkt;
        const char* text;
    } faelle[] = {
        {0.05, true, "0.05"},  {0.05, false, "0,05"},       {100, false, "100"},
        {-0.5, false, "-0,5"}, {1e-5, true, "1E-05"},       {0.1 + 0.2, true, "0.3"},
        {-0.0, true, "0"},     {9999.99, false, "9999,99"}, {NAN, true, "0"},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(ZahlAnzeigen(f.wert, f.punkt), f.text)
            << f.wert << (f.punkt ? " point" : " comma");
}

TEST(Zahlanzeige, IndependentOfTheProcessNumericLocale) {
    // The C library formats with a comma under a German locale; the shown text follows only the
    // flag.
    DeutschesLocale locale;
    if (!locale.Aktiv()) GTEST_SKIP() << "de_DE.UTF-8 is neither installed nor generated";
    EXPECT_EQ(ZahlAnzeigen(2.5, true), "2.5");
    EXPECT_EQ(ZahlAnzeigen(2.5, false), "2,5");
    EXPECT_EQ(ZahlAnzeigen(1e-5, false), "1E-05");
}

TEST(Tastenfilter, TypingZeroPointFiveInACommaLocaleGivesHalf) {
    // Keystrokes through the filter into a text, then the field conversion, as a field does it.
    std::string feld;
    for (char c : std::string("0.5")) {
        std::int32_t taste = static_cast<unsigned char>(c);
        CheckKommaZahl(taste, false);
        if (taste != 0) feld += static_cast<char>(taste);
    }
    EXPECT_EQ(feld, "0,5");
    EXPECT_DOUBLE_EQ(FeldZahl(feld, false).value_or(-1), 0.5);
}

} // namespace
} // namespace konturo
