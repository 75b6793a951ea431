// konturo-cli --stats: the statistics lines after a conversion are the ones the core computes for
// the same text, in window order, with the largest deviation from the true outline last, and
// nothing of them lands in the written file.
#include "TestHilfe.h"

#include "display/Statistik.h"
#include "text/FontAuslesen.h"
#include "text/RtfLesen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace konturo {
namespace {

std::vector<std::string> Zeilen(const std::string& text) {
    std::vector<std::string> zeilen;
    std::istringstream ein(text);
    for (std::string z; std::getline(ein, z);) zeilen.push_back(z);
    return zeilen;
}

TEST(StatistikKommandozeile, RtfFileLinesEqualTheCoreStatisticsOfTheSameConversion) {
    test::TempOrdner ordner;
    const std::string rtf = test::Testdaten("text/daten/zwei_schriften.rtf").string();
    const std::string aus = (ordner / "aus.txt").string();
    const std::string dxf = (ordner / "t.dxf").string();
    const std::string aufruf = "HOME='" + ordner.Pfad().string() + "' XDG_CONFIG_HOME='" +
                               (ordner / "config").string() + "' '" + KONTURO_BIN +
                               "/konturo-cli' text --defaults --stats --file '" + rtf + "' -o '" +
                               dxf + "' >'" + aus + "' 2>&1";
    ASSERT_EQ(std::system(aufruf.c_str()), 0) << test::DateiLesen(aus);
    const std::vector<std::string> cli = Zeilen(test::DateiLesen(aus));

    auto s = test::NeueSitzung();
    TextquelleKlartext quelle;
    RtfAnhaengen(RtfLesen(test::DateiLesen(rtf)), quelle);
    s->textquelle = &quelle;
    TextUmwandeln(*s);
    std::vector<std::string> kern = StatistikZeilen(s->speicher);
    ASSERT_EQ(kern.size(), 18u);
    kern.push_back(AbweichungZeile(*s));

    EXPECT_EQ(cli, kern);
    EXPECT_EQ(cli.front().rfind("Linien/Anzahl = ", 0), 0u);
    EXPECT_EQ(cli.back().rfind("Abweichung/max. = 0.", 0), 0u);
    EXPECT_EQ(test::DateiLesen(dxf).find("Gesamtkontur"), std::string::npos);
}

} // namespace
} // namespace konturo
