// Rich-text reader: files written by LibreOffice, the escapes and skipped groups of hand-made
// files, and malformed input. (The conversion of a two-font file in its fonts is tested through
// the text window's source in tests/gui.)
#include "TestHilfe.h"

#include "text/RtfLesen.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace konturo {
namespace {

struct Lauf {
    std::string text;
    std::string schrift;
    double groesse;
    bool fett;
    bool kursiv;
};

std::string Beschreibung(const std::vector<RtfLauf>& laeufe) {
    std::string b;
    for (const RtfLauf& l : laeufe)
        b += "[" + l.Text + "|" + l.Format.Schriftart + "|" + std::to_string(l.Format.Groesse) +
             (l.Format.Fett ? "|b" : "") + (l.Format.Kursiv ? "|i" : "") + "]";
    return b;
}

void LaeufePruefen(const RtfText& rtf, const std::vector<Lauf>& erwartet, const std::string& fall) {
    ASSERT_TRUE(rtf.Fehler.empty()) << fall << ": " << rtf.Fehler;
    ASSERT_EQ(rtf.Laeufe.size(), erwartet.size()) << fall << ": " << Beschreibung(rtf.Laeufe);
    for (std::size_t i = 0; i < erwartet.size(); ++i) {
        const RtfLauf& l = rtf.Laeufe[i];
        const Lauf& e = erwartet[i];
        EXPECT_EQ(
            std::tie(l.Text, l.Format.Schriftart, l.Format.Groesse, l.Format.Fett, l.Format.Kursiv),
            std::tie(e.text, e.schrift, e.groesse, e.fett, e.kursiv))
            << fall << " run " << i;
    }
}

RtfText DateiLesen(const std::string& name) {
    return RtfLesen(test::DateiLesen(test::Testdaten("text/daten/" + name)));
}

TEST(RtfLibreOffice, TwoFontsWithUmlautAndBold) {
    LaeufePruefen(DateiLesen("zwei_schriften.rtf"),
                  {{"T\xC3\xBCr", "DejaVu Sans", 24, false, false},
                   {" 08", "Liberation Serif", 24, true, false}},
                  "zwei_schriften.rtf");
}

TEST(RtfLibreOffice, SizesStylesTabLineBreakAndEscapes) {
    // The tab and the paragraph mark sit in groups that carry only the paragraph's font.
    LaeufePruefen(DateiLesen("formate.rtf"),
                  {{"\xC3\x84pfel ", "DejaVu Sans", 12, false, false},
                   {"fett", "DejaVu Sans", 12, true, false},
                   {"\t", "Liberation Serif", 12, false, false},
                   {"kursiv", "Liberation Serif", 24, false, true},
                   {"\n", "Liberation Serif", 12, false, false},
                   {"\xC3\x96l{}\\ \xE2\x82\xAC", "Liberation Serif", 18, true, true},
                   {"\n", "Liberation Serif", 12, false, false},
                   {"Gr\xC3\xB6\xC3\x9F"
                    "e \xC3\x9F",
                    "DejaVu Sans", 12, false, false}},
                  "formate.rtf");
}

TEST(RtfLibreOffice, PlainTextFileKeepsItsLinesWithoutATrailingEmptyLine) {
    const RtfText rtf = DateiLesen("klartext.rtf");
    ASSERT_TRUE(rtf.Fehler.empty()) << rtf.Fehler;
    TextquelleKlartext quelle;
    RtfAnhaengen(rtf, quelle);
    EXPECT_EQ(quelle.KlarText(), "Zeile eins\r\nT\xC3\xBCr 08");
    EXPECT_EQ(quelle.An(10).art, TextPosition::Art::Zeilenumbruch);
    EXPECT_EQ(quelle.An(11).art, TextPosition::Art::Leer);
}

// Hand-made files for the escapes and groups the LibreOffice files do not use.
TEST(RtfEscapes, TextOfEachCase) {
    const std::string kopf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}";
    struct Fall {
        const char* name;
        std::string koerper;
        std::string text;
    } faelle[] = {
        {"hex escapes in code page 1252", "\\'80\\'e4\\'df\\'93x\\'94",
         "\xE2\x82\xAC\xC3\xA4\xC3\x9F\xE2\x80\x9Cx\xE2\x80\x9D"},
        {"unicode with one substitute", "\\u8364?a",
         "\xE2\x82\xAC"
         "a"},
        {"uc2 skips two substitutes", "\\uc2\\u8364\\'80\\'80b",
         "\xE2\x82\xAC"
         "b"},
        {"uc0 skips nothing", "\\uc0\\u252 b",
         "\xC3\xBC"
         "b"},
        {"negative unicode", "\\u-3912?", "\xEF\x82\xB8"},
        {"surrogate pair", "\\u-10179?\\u-8704?", "\xF0\x9F\x98\x80"},
        {"substitute count ends at a group", "{\\uc3\\u252 ab}c",
         "\xC3\xBC"
         "c"},
        {"starred destination skipped", "a{\\*\\foo hidden}b", "ab"},
        {"colour table, style sheet and info skipped",
         "{\\colortbl;\\red0;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}x", "x"},
        {"field result kept, instruction skipped",
         "{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt Link}}", "Link"},
        {"picture skipped", "a{\\pict\\pngblip 89504e47}b", "ab"},
        {"binary data skipped", "a{\\*\\blob\\bin4 {}\\}}b", "ab"},
        {"escaped braces and backslash", "\\{\\}\\\\", "{}\\"},
        {"symbols", "a\\~b\\_c\\-d\\emdash\\endash\\bullet",
         "a\xC2\xA0"
         "b-cd\xE2\x80\x94\xE2\x80\x93\xE2\x80\xA2"},
        {"quotes", "\\lquote\\rquote\\ldblquote\\rdblquote",
         "\xE2\x80\x98\xE2\x80\x99\xE2\x80\x9C\xE2\x80\x9D"},
        {"hidden text", "a{\\v hidden}b", "ab"},
        {"raw line ends ignored, escaped line end is a paragraph", "a\r\nb\\\nc", "ab\nc"},
        {"line and paragraph", "a\\line b\\par c", "a\nb\nc"},
        {"only the last paragraph mark is dropped", "a\\par\\par ", "a\n"},
        {"tab", "a\\tab b", "a\tb"},
        {"control word delimiter space eaten once", "\\b  x", " x"},
        {"text after the closing brace ignored", "a}b", "a"},
        {"unclosed groups end with the file", "{a{b", "ab"},
        {"raw 8-bit byte as code page 1252", "\x80", "\xE2\x82\xAC"},
    };
    for (const Fall& f : faelle) {
        const RtfText rtf = RtfLesen(kopf + f.koerper + "}");
        ASSERT_TRUE(rtf.Fehler.empty()) << f.name << ": " << rtf.Fehler;
        std::string text;
        for (const RtfLauf& l : rtf.Laeufe) text += l.Text;
        EXPECT_EQ(text, f.text) << f.name;
    }
}

TEST(RtfFormat, FontTableSwitchesAndResets) {
    const std::string rtf =
        "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman{\\*\\panose 0}"
        "Times New Roman{\\*\\falt Tms};}\\f2 Courier New;}"
        "a\\f0\\fs48 b\\b c\\b0\\i d{\\f2\\b e}f\\plain g\\f9 h}";
    LaeufePruefen(RtfLesen(rtf),
                  {{"a", "Times New Roman", 12, false, false},
                   {"b", "Arial", 24, false, false},
                   {"c", "Arial", 24, true, false},
                   {"d", "Arial", 24, false, true},
                   {"e", "Courier New", 24, true, true},
                   {"f", "Arial", 24, false, true},
                   {"g", "Times New Roman", 12, false, false},
                   // An undefined font number gives the default format's font.
                   {"h", "Arial", 12, false, false}},
                  "font table");
}

TEST(RtfFehler, MalformedInputIsRefusedWithoutRuns) {
    struct Fall {
        const char* name;
        std::string bytes;
    } faelle[] = {
        {"empty file", ""},
        {"plain text", "Hallo Welt"},
        {"missing rtf keyword", "{\\ansi text}"},
        {"nesting too deep", "{\\rtf1 " + std::string(100000, '{') + "x"},
    };
    for (const Fall& f : faelle) {
        const RtfText rtf = RtfLesen(f.bytes);
        EXPECT_FALSE(rtf.Fehler.empty()) << f.name;
        EXPECT_TRUE(rtf.Laeufe.empty()) << f.name;
    }
    // A byte order mark and blank lines before the header are accepted.
    EXPECT_TRUE(RtfLesen("\xEF\xBB\xBF\r\n{\\rtf1 x}").Fehler.empty());
    // A truncated escape at the end of the file reads what came before it.
    const RtfText abgeschnitten = RtfLesen("{\\rtf1 ab\\'4");
    ASSERT_EQ(abgeschnitten.Laeufe.size(), 1u);
    EXPECT_EQ(abgeschnitten.Laeufe[0].Text, "ab");
}

TEST(RtfFehler, RandomTokenSoupReadsToValidUtf8) {
    // Seeded mixtures of the reader's tokens and raw bytes: every run must come out as valid
    // UTF-8 without control characters other than tab and line feed.
    const char* stuecke[] = {
        "{",       "}",    "\\",    "\\'",       "\\'e4",  "\\u-1", "\\u55357", "\\uc3 ",
        "\\bin9 ", "\\*",  "\\f1 ", "\\fonttbl", "\\par ", "\\b",   "\\fs-5 ",  "\\u99999999999 ",
        "a",       "\xFF", "\x81",  "\\\n",      ";"};
    std::mt19937 zufall(20261207);
    for (int fall = 0; fall < 300; ++fall) {
        std::string rtf = "{\\rtf1 ";
        const int anzahl = static_cast<int>(zufall() % 200);
        for (int i = 0; i < anzahl; ++i) rtf += stuecke[zufall() % std::size(stuecke)];
        const RtfText ergebnis = RtfLesen(rtf);
        for (const RtfLauf& l : ergebnis.Laeufe) {
            EXPECT_TRUE(IstUtf8(l.Text)) << "case " << fall << ": " << rtf;
            for (unsigned char c : l.Text)
                EXPECT_TRUE(c >= 0x20 || c == '\t' || c == '\n') << "case " << fall << ": " << rtf;
            EXPECT_GT(l.Format.Groesse, 0) << "case " << fall;
        }
    }
}

} // namespace
} // namespace konturo
