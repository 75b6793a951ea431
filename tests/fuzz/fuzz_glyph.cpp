// Glyph outlines: Glyphon's writing of an outline as its point stream, the reading of that stream
// into the outline buffer and the approximation of the buffer; a second mode reads arbitrary
// streams, as a broken library could hand them over.
#include "FuzzZiel.h"

#include "glyphon/GlyphonStrom.h"
#include "text/FontErzeugen.h"

#include <algorithm>
#include <vector>

using namespace konturo;

namespace {

// Reads the input from front to back; past its end every value is 0.
class Leser {
public:
    Leser(const std::uint8_t* daten, std::size_t groesse) : daten_(daten), groesse_(groesse) {}
    bool Ende() const { return pos_ >= groesse_; }
    std::uint8_t Byte() { return pos_ < groesse_ ? daten_[pos_++] : 0; }
    std::int16_t Wort() {
        const auto a = Byte();
        return static_cast<std::int16_t>(a | Byte() << 8);
    }

private:
    const std::uint8_t* daten_;
    std::size_t groesse_;
    std::size_t pos_ = 0;
};

// The stream's arrays with bounds 0..obergrenze, as the converter dimensions them.
struct Felder {
    std::vector<double> x, y;
    std::vector<std::int16_t> art;
    GlyphonArray feldX{0, -1, GLYPHON_R8, nullptr};
    GlyphonArray feldY{0, -1, GLYPHON_R8, nullptr};
    GlyphonArray feldArt{0, -1, GLYPHON_I2, nullptr};

    void Dimensionieren(std::int32_t obergrenze) {
        const auto n = static_cast<std::size_t>(obergrenze) + 1;
        x.assign(n, 0.0);
        y.assign(n, 0.0);
        art.assign(n, 0);
        feldX = {0, obergrenze, GLYPHON_R8, x.data()};
        feldY = {0, obergrenze, GLYPHON_R8, y.data()};
        feldArt = {0, obergrenze, GLYPHON_I2, art.data()};
    }

    // Writes the outline's stream as get_glyph_points does; returns the running index after it.
    std::int32_t Schreiben(const FT_Outline& umriss) {
        GlyphonArray* px = &feldX;
        GlyphonArray* py = &feldY;
        GlyphonArray* pa = &feldArt;
        std::int32_t index = 1;
        glyphon::Strom strom(&px, &py, &pa, index);
        glyphon::UmrissSchreiben(umriss, strom);
        return index;
    }
};

// An outline of up to 255 points in 26.6 units (up to +-512 device units) with the curve tags
// of a TrueType or CFF outline, split into up to 8 contours.
void AusUmriss(Sitzung& s, Leser& leser, Felder& felder) {
    const int anzahl = leser.Byte();
    const int konturen = 1 + leser.Byte() % 8;
    std::vector<FT_Vector> punkte(static_cast<std::size_t>(anzahl) + 1);
    std::vector<char> tags(punkte.size());
    for (int i = 0; i < anzahl; ++i) {
        punkte[static_cast<std::size_t>(i)] = {leser.Wort(), leser.Wort()};
        const int tag = leser.Byte() % 3;
        tags[static_cast<std::size_t>(i)] = static_cast<char>(tag == 0   ? FT_CURVE_TAG_ON
                                                              : tag == 1 ? FT_CURVE_TAG_CONIC
                                                                         : FT_CURVE_TAG_CUBIC);
    }
    std::vector<short> enden;
    int ende = -1;
    for (int k = 0; k < konturen && ende + 1 < anzahl; ++k) {
        ende = k + 1 == konturen ? anzahl - 1 : std::min(anzahl - 1, ende + 1 + leser.Byte() % 64);
        enden.push_back(static_cast<short>(ende));
    }
    FT_Outline umriss{};
    umriss.n_points = static_cast<short>(anzahl);
    umriss.n_contours = static_cast<short>(enden.size());
    umriss.points = punkte.data();
    umriss.tags = tags.data();
    umriss.contours = enden.data();

    const std::int32_t groesse = felder.Schreiben(umriss);
    felder.Dimensionieren(groesse);
    fuzz::Pruefen(felder.Schreiben(umriss) == groesse, "the two calls give different sizes");
    fuzz::Pruefen(GlyphStromLesen(s, felder.x.data(), felder.y.data(), felder.art.data(), groesse),
                  "a stream Glyphon wrote does not read");
}

// An arbitrary stream: kinds and 16.16 coordinates straight from the input.
void AusStrom(Sitzung& s, Leser& leser, Felder& felder) {
    std::vector<std::int16_t> art;
    std::vector<double> x, y;
    while (!leser.Ende() && art.size() < 4096) {
        const std::uint8_t wahl = leser.Byte();
        // Mostly the markers and small counts a real stream has, sometimes any 16-bit value.
        const std::int16_t werte[] = {996, 997, 998, 999, -1, -2, -3, 0, 1, 2};
        art.push_back(wahl < 200 ? werte[wahl % 10] : leser.Wort());
        x.push_back(leser.Wort() / 64.0);
        y.push_back(leser.Wort() / 64.0);
    }
    const auto groesse = static_cast<std::int32_t>(art.size()) + 1;
    felder.Dimensionieren(groesse);
    for (std::size_t i = 0; i < art.size(); ++i) {
        felder.art[i + 1] = art[i];
        felder.x[i + 1] = x[i];
        felder.y[i + 1] = y[i];
    }
    GlyphStromLesen(s, felder.x.data(), felder.y.data(), felder.art.data(), groesse);
}

} // namespace

KONTURO_FUZZ_ZIEL(glyph) {
    Sitzung& s = fuzz::NeueSitzung();
    Leser leser(daten, groesse);
    Felder felder;
    if (leser.Byte() % 2 == 0)
        AusUmriss(s, leser, felder);
    else
        AusStrom(s, leser, felder);
    KonturApproximieren(s, false);
    fuzz::Pruefen(fuzz::ElementeGueltig(s.speicher.Elemente),
                  "the element store holds an unknown kind or a number that is not finite");
    return 0;
}
