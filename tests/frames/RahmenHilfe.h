// Helpers of the frame tests: one expected element and its check.
#pragma once

#include "TestHilfe.h"

#include "frames/Vorlagen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace konturo::test {

struct Erwartet {
    std::uint8_t typ;
    double x1, y1, x2, y2, radius;
    std::int32_t farbe = RahmenFarbe;
};

inline void ElementPruefen(const GeoElement& e, const Erwartet& w, const std::string& fall) {
    SCOPED_TRACE(fall);
    EXPECT_EQ(e.Typ, w.typ);
    EXPECT_NEAR(e.X1, w.x1, 1e-9);
    EXPECT_NEAR(e.Y1, w.y1, 1e-9);
    EXPECT_NEAR(e.X2, w.x2, 1e-9);
    EXPECT_NEAR(e.Y2, w.y2, 1e-9);
    EXPECT_NEAR(e.Radius, w.radius, 1e-9);
    EXPECT_EQ(e.Farbe, w.farbe);
}

// The template store holds exactly the expected elements.
inline void VorlagePruefen(const Sitzung& s, const std::vector<Erwartet>& w,
                           const std::string& fall) {
    SCOPED_TRACE(fall);
    const GeoFeld& v = s.speicher.VorlageElemente;
    ASSERT_EQ(v.Anzahl(), static_cast<std::int32_t>(w.size()));
    for (std::int32_t i = 1; i <= v.Anzahl(); ++i)
        ElementPruefen(v[i], w[static_cast<std::size_t>(i - 1)], "element " + std::to_string(i));
}

} // namespace konturo::test
