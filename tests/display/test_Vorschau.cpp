// konturo-cli --preview: the PNG in the main window's colours, the PDF as the printed A4 page, one
// preview per batch entry beside its file, and a preview that cannot be written.
#include "TestHilfe.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace konturo {
namespace {

namespace fs = std::filesystem;

// Imports a corpus drawing into a.dxf in the run's folder, with the preview.
std::string Import(const fs::path& vorschau) {
    return "import --defaults '" + test::Testdaten("import/daten/inkscape.eps").string() +
           "' -o a.dxf --preview '" + vorschau.string() + "'";
}

TEST(VorschauKommandozeile, PngInDenFarbenDerEinstellungen) {
    test::TempOrdner o;
    const test::CliLauf l = test::KonturoCliStarten(
        o,
        Import(o / "a.png") + " --set HGF=16777215 --set LF=255 --set BF=65280 --set PF=16711680");
    ASSERT_EQ(l.code, 0) << l.fehler;
    const QImage bild(QString::fromStdString((o / "a.png").string()));
    ASSERT_EQ(bild.size(), QSize(1200, 900));
    // White ground, red lines and circle, green arcs, blue end points, and nothing else: the
    // drawing is not smoothed, so every pixel has one of the four colours.
    std::map<QRgb, int> anzahl;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) ++anzahl[bild.pixel(x, y) & 0xFFFFFF];
    EXPECT_EQ(bild.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_GT(anzahl[0xFF0000], 1000);
    EXPECT_GT(anzahl[0x00FF00], 1000);
    EXPECT_GT(anzahl[0x0000FF], 20);
    EXPECT_EQ(anzahl.size(), 4u);
}

// The page at 50 dpi: A4 with the drawing's top at the printable area's top (10 mm), its left
// edge 300 twips further in, and either 0.8 of the printable width or of its height filled.
TEST(VorschauKommandozeile, PdfIstDieGedruckteSeite) {
    test::TempOrdner o;
    const test::CliLauf l = test::KonturoCliStarten(o, Import(o / "a.pdf"));
    ASSERT_EQ(l.code, 0) << l.fehler;
    const std::string seite = (o / "seite").string();
    ASSERT_EQ(std::system(("pdfinfo '" + (o / "a.pdf").string() + "' >'" + seite +
                           ".txt' && pdftoppm -r 50 -png -singlefile '" + (o / "a.pdf").string() +
                           "' '" + seite + "'")
                              .c_str()),
              0)
        << "pdfinfo and pdftoppm (poppler-utils) are needed: scripts/install-deps.sh";
    const std::string info = test::DateiLesen(seite + ".txt");
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;

    const QImage bild(QString::fromStdString(seite + ".png"));
    ASSERT_FALSE(bild.isNull());
    QRect box;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            if (qGray(bild.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    const double mm = 50 / 25.4;
    const double links = (10 + 300 / 1440.0 * 25.4) * mm, oben = 10 * mm;
    EXPECT_NEAR(box.left(), links, 2);
    EXPECT_NEAR(box.top(), oben, 2);
    const bool breitGefuellt = std::abs(box.right() - (links + 0.8 * 190 * mm)) <= 2;
    const bool hochGefuellt = std::abs(box.bottom() - (oben + 0.8 * 277 * mm)) <= 2;
    EXPECT_TRUE(breitGefuellt || hochGefuellt)
        << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
}

TEST(VorschauKommandozeile, BatchUndFehler) {
    test::TempOrdner o;
    test::DateiSchreiben(o / "liste.bch", "Eins\r\nZwei\r\n");
    const test::CliLauf batch = test::KonturoCliStarten(
        o, "batch --defaults --font 'Liberation Sans' liste.bch --format dxf --out-dir aus "
           "--jobs 2 --preview png");
    ASSERT_EQ(batch.code, 0) << batch.fehler;
    for (const char* name : {"Eins", "Zwei"}) {
        EXPECT_TRUE(fs::exists(o / "aus" / (std::string(name) + ".dxf"))) << name;
        EXPECT_EQ(QImage(QString::fromStdString((o / "aus" / name).string() + ".png")).width(),
                  1200)
            << name;
    }

    // The output is written before the preview fails.
    const test::CliLauf fehler = test::KonturoCliStarten(o, Import("/kein/ordner/a.pdf"));
    EXPECT_EQ(fehler.code, 1);
    EXPECT_NE(fehler.fehler.find("cannot write the preview"), std::string::npos) << fehler.fehler;
    EXPECT_GT(fs::file_size(o / "a.dxf"), 0u);
    EXPECT_EQ(test::KonturoCliStarten(o, Import(o / "a.svg")).code, 2);
}

} // namespace
} // namespace konturo
