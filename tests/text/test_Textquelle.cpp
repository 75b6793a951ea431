// The plain-text source (positions, line breaks) and the UTF-8 / Windows-1252 conversions that
// decide how a text file is read.
#include "text/Textquelle.h"

#include <gtest/gtest.h>

namespace konturo {
namespace {

TEST(Utf8, ValidityDecidesBetweenUtf8AndWindows1252) {
    struct Fall {
        const char* name;
        std::string bytes;
        bool utf8;
        std::u32string zeichen;
    } faelle[] = {
        {"ascii", "Ab 1", true, U"Ab 1"},
        {"umlauts", "\xC3\xA4\xC3\x9F", true, U"\u00E4\u00DF"},
        {"euro, 3 bytes", "\xE2\x82\xAC", true, U"\u20AC"},
        {"4 bytes", "\xF0\x9F\x98\x80", true, U"\U0001F600"},
        {"cp1252 umlaut",
         "Gr\xFC\xDF"
         "e",
         false,
         U"Gr\u00FC\u00DF"
         "e"},
        {"cp1252 euro and quotes", "\x80\x84\x93", false, U"\u20AC\u201E\u201C"},
        {"overlong slash", "\xC0\xAF", false, U"\u00C0\u00AF"},
        {"surrogate", "\xED\xA0\x80", false, U"\u00ED\u00A0\u20AC"},
        {"cut short", "a\xC3", false, U"a\u00C3"},
        {"cp1252 hole stays a C1 control", "\x81", false, U"\u0081"},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(IstUtf8(f.bytes), f.utf8) << f.name;
        const std::string utf8 = f.utf8 ? f.bytes : Cp1252NachUtf8(f.bytes);
        EXPECT_TRUE(IstUtf8(utf8)) << f.name;
        EXPECT_TRUE(Utf8Dekodieren(utf8) == f.zeichen) << f.name;
        // Undecodable bytes read as Windows-1252 directly, too.
        EXPECT_TRUE(Utf8Dekodieren(f.bytes) == f.zeichen) << f.name;
        EXPECT_EQ(Utf8Kodieren(f.zeichen), utf8) << f.name;
    }
    EXPECT_EQ(Utf32NachCp1252(U'\u00FC'), 0xFC);
    EXPECT_EQ(Utf32NachCp1252(U'\u20AC'), 0x80);
    EXPECT_EQ(Utf32NachCp1252(U'\u4E2D'), '?');
}

TEST(TextquelleKlartext, EveryLineBreakFormIsOneCrLfPairOfTwoPositions) {
    Zeichenformat f;
    f.Schriftart = "Liberation Serif";
    f.Fett = true;
    for (const char* text : {"a\r\nb", "a\nb", "a\rb"}) {
        TextquelleKlartext q(text, f);
        ASSERT_EQ(q.Laenge(), 4) << text;
        EXPECT_EQ(q.An(0).art, TextPosition::Art::Zeichen) << text;
        EXPECT_EQ(q.An(1).art, TextPosition::Art::Zeilenumbruch) << text;
        EXPECT_EQ(q.An(2).art, TextPosition::Art::Leer) << text;
        EXPECT_EQ(q.An(3).zeichen, U'b') << text;
        EXPECT_TRUE(q.An(3).format.Fett) << text;
        EXPECT_EQ(q.An(4).art, TextPosition::Art::Leer) << text;
        EXPECT_EQ(q.An(-1).art, TextPosition::Art::Leer) << text;
        EXPECT_EQ(q.KlarText(), "a\r\nb") << text;
    }
    TextquelleKlartext q("\xC3\xA4\n\n", f);
    EXPECT_EQ(q.Laenge(), 5);
    EXPECT_EQ(q.An(0).zeichen, U'\u00E4');
    // A new text keeps the format at the start of the old one.
    q.TextSetzen("xy");
    EXPECT_EQ(q.Laenge(), 2);
    EXPECT_EQ(q.An(1).format.Schriftart, "Liberation Serif");
}

} // namespace
} // namespace konturo
