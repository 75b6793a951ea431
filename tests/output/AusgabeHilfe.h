// Shared pieces of the writer tests: lines joined with CR LF, a store filled element by element,
// and a stream that refuses everything after a given number of bytes.
#pragma once

#include "app/Sitzung.h"

#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace konturo::test {

inline std::string CrLf(std::initializer_list<std::string_view> zeilen) {
    std::string text;
    for (std::string_view z : zeilen) {
        text += z;
        text += "\r\n";
    }
    return text;
}

inline void Element(Sitzung& s, std::uint8_t typ, double x1, double y1, double x2, double y2,
                    double radius = 0, std::int32_t farbe = 0) {
    GeoElement e = NeuesElement(typ, x1, y1, x2, y2, radius, 0, farbe);
    s.speicher.Elemente.Anfuegen(e);
}

inline void Box(Sitzung& s, double xMin, double yMin, double xMax, double yMax) {
    s.speicher.XMin = xMin;
    s.speicher.YMin = yMin;
    s.speicher.XMax = xMax;
    s.speicher.YMax = yMax;
    s.speicher.BoxNeu = false;
}

// Accepts the first `grenze` bytes, then fails every write: a disk that fills up part-way.
class VollerPuffer : public std::streambuf {
public:
    explicit VollerPuffer(std::size_t grenze) : grenze_(grenze) {}
    std::string angenommen;

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const std::size_t platz = grenze_ - angenommen.size();
        const std::size_t teil = std::min(platz, static_cast<std::size_t>(n));
        angenommen.append(s, teil);
        return static_cast<std::streamsize>(teil);
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        if (angenommen.size() >= grenze_) return traits_type::eof();
        angenommen += traits_type::to_char_type(c);
        return c;
    }

private:
    std::size_t grenze_;
};

} // namespace konturo::test
