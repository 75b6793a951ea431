// konturo-cli import: drawings to files, the extension in any case, --force, the exit status for
// files that cannot be read and the message for an empty drawing.
#include "TestHilfe.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace konturo {
namespace {

std::filesystem::path Programm() { return std::filesystem::path(KONTURO_BIN) / "konturo-cli"; }

int Ausfuehren(const std::string& argumente) {
    const std::string befehl =
        "'" + Programm().string() + "' import --defaults " + argumente + " 2>/dev/null";
    const int status = std::system(befehl.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Zitiert(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

TEST(ImportKommandozeile, DateienUndExitStatus) {
    if (!std::filesystem::exists(Programm())) GTEST_SKIP() << "konturo-cli is not built";
    test::TempOrdner ordner;
    const auto daten = test::Testdaten("import/daten");
    std::filesystem::copy_file(daten / "cairo.eps", ordner / "ZEICHNUNG.EPS");
    test::DateiSchreiben(ordner / "ohne.ps", "0 0 moveto\n10 0 lineto\n10 10 lineto\n");
    test::DateiSchreiben(ordner / "leer.pdf", "%PDF-1.4\n%%EOF\n");

    struct Fall {
        const char* name;
        std::string argumente;
        int status;
        bool ausgabe;
    };
    const auto aus = ordner / "aus.dxf";
    const std::vector<Fall> faelle = {
        {"Ghostscript PDF to DXF", "-o " + Zitiert(aus) + " " + Zitiert(daten / "ghostscript.pdf"),
         0, true},
        {"upper-case extension", "-o " + Zitiert(aus) + " " + Zitiert(ordner / "ZEICHNUNG.EPS"), 0,
         true},
        {"GEO output", "-o " + Zitiert(ordner / "aus.geo") + " " + Zitiert(daten / "inkscape.ps"),
         0, false},
        {"missing file", "-o " + Zitiert(aus) + " " + Zitiert(ordner / "fehlt.eps"), 1, false},
        {"a folder named like a drawing", "-o " + Zitiert(aus) + " " + Zitiert(ordner / "x.eps"), 1,
         false},
        {"no start marker", "-o " + Zitiert(aus) + " " + Zitiert(ordner / "ohne.ps"), 1, false},
        {"no start marker with --force",
         "--force -o " + Zitiert(aus) + " " + Zitiert(ordner / "ohne.ps"), 0, true},
        {"PDF without any path", "-o " + Zitiert(aus) + " " + Zitiert(ordner / "leer.pdf"), 1,
         false},
        {"not a drawing", "-o " + Zitiert(aus) + " " + Zitiert(daten / "README.md"), 2, false},
        {"no output", Zitiert(daten / "cairo.eps"), 2, false},
        {"unknown option", "--schnell -o " + Zitiert(aus) + " " + Zitiert(daten / "cairo.eps"), 2,
         false},
    };
    std::filesystem::create_directory(ordner / "x.eps");
    for (const Fall& f : faelle) {
        std::filesystem::remove(aus);
        EXPECT_EQ(Ausfuehren(f.argumente), f.status) << f.name;
        EXPECT_EQ(std::filesystem::exists(aus), f.ausgabe) << f.name;
        if (f.ausgabe) {
            EXPECT_NE(test::DateiLesen(aus).find("LINE"), std::string::npos) << f.name;
        }
    }
    EXPECT_GT(std::filesystem::file_size(ordner / "aus.geo"), 0u);

    // Before it gives up on an empty drawing, the import says why, with the file's path.
    const test::CliLauf leer =
        test::KonturoCliStarten(ordner, "import --defaults -o x.dxf leer.pdf");
    EXPECT_EQ(leer.code, 1);
    EXPECT_NE(leer.fehler.find(": leer.pdf\n"), std::string::npos) << leer.fehler;
}

} // namespace
} // namespace konturo
