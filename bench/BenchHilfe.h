// Shared pieces of the writer benchmarks: a stream that only counts bytes and mixed stores.
#pragma once

#include "app/Sitzung.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <ostream>
#include <random>
#include <streambuf>

namespace konturo::bench {

// Discards everything and counts the bytes, so a benchmark measures the writer, not the disk.
class ZaehlPuffer : public std::streambuf {
public:
    std::size_t bytes = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        bytes += static_cast<std::size_t>(n);
        return n;
    }
    int_type overflow(int_type c) override {
        ++bytes;
        return traits_type::not_eof(c);
    }
};

inline void Anfuegen(Sitzung& s, std::uint8_t typ, double x1, double y1, double x2, double y2,
                     double r, std::int32_t kontur, std::int32_t farbe = 0) {
    GeoElement e = NeuesElement(typ, x1, y1, x2, y2, r, kontur, farbe);
    s.speicher.Elemente.Anfuegen(e);
    if (typ == Linie) {
        BoxErweitern(s.speicher, x1, y1);
        BoxErweitern(s.speicher, x2, y2);
    } else {
        BoxErweitern(s.speicher, x1 - r, y1 - r);
        BoxErweitern(s.speicher, x1 + r, y1 + r);
    }
}

// Closed contours of `laenge` elements each (lines and arcs alternating in runs) around centres
// on a grid, with one point per millimetre of outline, until the store holds `anzahl` elements.
// Returns the longest contour, the value the text conversion would leave in MaxKonturLaenge.
inline std::int32_t KonturSpeicher(Sitzung& s, std::int32_t anzahl, std::int32_t minLaenge,
                                   std::int32_t maxLaenge, unsigned saat) {
    std::mt19937 zufall(saat);
    std::uniform_int_distribution<std::int32_t> laengen(minLaenge, maxLaenge);
    const double pi = Pi();
    const double raster = 2.0 * maxLaenge / (2 * pi) + 10;
    std::int32_t kontur = 0, laengste = 0;
    while (s.speicher.ElementAnzahl() < anzahl) {
        const std::int32_t n = std::min(laengen(zufall), anzahl - s.speicher.ElementAnzahl());
        laengste = std::max(laengste, n);
        const double r = n / (2 * pi);
        const double cx = (kontur % 100) * raster, cy = (kontur / 100) * raster;
        ++kontur;
        for (std::int32_t i = 0; i < n; ++i) {
            const double t0 = 2 * pi * i / n, t1 = 2 * pi * (i + 1) / n;
            if ((i / 7) % 2 == 0) {
                Anfuegen(s, Linie, cx + r * std::cos(t0), cy + r * std::sin(t0),
                         cx + r * std::cos(t1), cy + r * std::sin(t1), 0, kontur);
            } else {
                Anfuegen(s, Bogen, cx, cy, t0, t1, r, kontur);
            }
        }
    }
    return laengste;
}

} // namespace konturo::bench
