// Glyphon's point stream: a FreeType outline (26.6 device units) written as contours of polyline
// records (998) and native quadratic B-spline records (999) into the caller's arrays.
//
// Internal to the library; the tests include it to feed synthetic outlines through the same code.
#pragma once

#include "glyphon.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace glyphon {

constexpr int16_t KonturEnde = 996;
constexpr int16_t KonturAnfang = 997;
constexpr int16_t LinienSatz = 998;
constexpr int16_t SplineSatz = 999;

// The kind array holds minus the point count of a record in 16 bits; longer runs are split.
constexpr int32_t MaxSatzPunkte = 32767;

// Largest distance between a cubic and its quadratic pieces, in 26.6 units: just under 1/64
// device unit, so that rounding to 16.16 fixed point (1/1024 of a 26.6 unit) keeps the whole
// error within 1/64.
constexpr double KubischToleranz = 1.0 - 1.0 / 64.0;

// More pieces than this cannot be needed inside the 16.16 coordinate range; the cap only bounds
// the work for absurd coordinates.
constexpr int MaxKubischStuecke = 1024;

struct Punkt {
    double x = 0; // 26.6 units
    double y = 0;
};

inline Punkt Mitte(Punkt a, Punkt b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

// A 26.6 value as the signed 16.16 fixed-point number of the native outline (saturated), read
// back as floating point: the division by 65536 is exact.
inline double Festkomma(double wert26) {
    double f = std::round(wert26 * 1024.0);
    f = std::clamp(f, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX));
    return static_cast<int32_t>(f) / 65536.0;
}

// The element of feld at index, or nullptr when the array is missing, has no data, has another
// element type or does not contain the index: the store is then skipped.
template <typename T> T* Element(GlyphonArray** feld, int32_t typ, int32_t index) {
    GlyphonArray* a = feld ? *feld : nullptr;
    if (!a || !a->daten || a->elementTyp != typ || index < a->untergrenze ||
        index > a->obergrenze) {
        return nullptr;
    }
    return static_cast<T*>(a->daten) + (static_cast<int64_t>(index) - a->untergrenze);
}

// Copies the blank array's data into ziel when both have data, element type double and the
// same bounds; otherwise nothing happens.
inline void LeerKopieren(GlyphonArray** leer, GlyphonArray** ziel) {
    GlyphonArray* q = leer ? *leer : nullptr;
    GlyphonArray* z = ziel ? *ziel : nullptr;
    if (!q || !z || !q->daten || !z->daten || q->elementTyp != GLYPHON_R8 ||
        z->elementTyp != GLYPHON_R8 || q->untergrenze != z->untergrenze ||
        q->obergrenze != z->obergrenze || q->obergrenze < q->untergrenze) {
        return;
    }
    int64_t anzahl = static_cast<int64_t>(q->obergrenze) - q->untergrenze + 1;
    std::memmove(z->daten, q->daten, static_cast<size_t>(anzahl) * sizeof(double));
}

// The running index and the three output arrays. Every entry advances the index, whether its
// stores succeed or not.
class Strom {
public:
    Strom(GlyphonArray** x, GlyphonArray** y, GlyphonArray** kind, int32_t& index)
        : x_(x), y_(y), kind_(kind), index_(index) {}

    int32_t Index() const { return index_; }

    void Kennung(int16_t kennung) {
        KindAblegen(index_, kennung);
        ++index_;
    }

    // A point entry; kennung < 0 leaves kind untouched.
    void PunktEintrag(Punkt p, int32_t kennung = -1) {
        if (double* e = Element<double>(x_, GLYPHON_R8, index_)) *e = Festkomma(p.x);
        if (double* e = Element<double>(y_, GLYPHON_R8, index_)) *e = Festkomma(p.y);
        if (kennung >= 0) KindAblegen(index_, static_cast<int16_t>(kennung));
        ++index_;
    }

    // Reserves the entry that will hold minus the record's point count.
    int32_t Platzhalter() { return index_++; }

    void KindAblegen(int32_t index, int16_t wert) {
        if (int16_t* e = Element<int16_t>(kind_, GLYPHON_I2, index)) *e = wert;
    }

private:
    GlyphonArray** x_;
    GlyphonArray** y_;
    GlyphonArray** kind_;
    int32_t& index_;
};

// Builds the records of one contour. Consecutive on-curve points share a line record; off-curve
// points gather in a spline record that the next on-curve point ends. The implied on-curve
// midpoints between consecutive off-curve points are not written: the reader forms them.
class SatzSchreiber {
public:
    SatzSchreiber(Strom& strom, Punkt start) : strom_(strom), letzter_(start) {}

    // The current point: end of the last record (the contour start before the first record).
    Punkt Letzter() const { return letzter_; }

    void AufKurve(Punkt p) {
        if (art_ == Art::Spline) {
            Anhaengen(p);
            Abschliessen();
            return;
        }
        if (art_ == Art::Keine || anzahl_ == MaxSatzPunkte) Beginnen(Art::Linie);
        Anhaengen(p);
    }

    void Kontrollpunkt(Punkt c) {
        if (art_ == Art::Spline && anzahl_ == MaxSatzPunkte - 1) {
            // The record is full: end it at the implied on-curve point before c.
            Anhaengen(Mitte(kontrolle_, c));
            Abschliessen();
        }
        if (art_ != Art::Spline) Beginnen(Art::Spline);
        Anhaengen(c);
        kontrolle_ = c;
    }

    bool SplineOffen() const { return art_ == Art::Spline; }

    // A cubic from the current point: quadratic pieces of two points each (control, end), since
    // their joints are generally not the midpoints of neighbouring controls.
    void Kubisch(Punkt c1, Punkt c2, Punkt e);

    void Abschliessen() {
        if (art_ == Art::Keine) return;
        strom_.KindAblegen(zaehlerIndex_, static_cast<int16_t>(-anzahl_));
        art_ = Art::Keine;
    }

private:
    enum class Art { Keine, Linie, Spline };

    void Beginnen(Art art) {
        Abschliessen();
        strom_.Kennung(art == Art::Linie ? LinienSatz : SplineSatz);
        zaehlerIndex_ = strom_.Platzhalter();
        anzahl_ = 0;
        art_ = art;
    }

    void Anhaengen(Punkt p) {
        strom_.PunktEintrag(p, anzahl_);
        ++anzahl_;
        letzter_ = p;
    }

    Strom& strom_;
    Punkt letzter_;
    Punkt kontrolle_;
    Art art_ = Art::Keine;
    int32_t zaehlerIndex_ = 0;
    int32_t anzahl_ = 0;
};

// Number of equal parameter pieces for which each piece's mid-point quadratic stays within
// KubischToleranz of the cubic. The parametric distance of a cubic from the quadratic with the
// same ends and control (3(c1 + c2) - p0 - p3) / 4 is at most sqrt(3)/36 |p3 - 3c2 + 3c1 - p0|,
// and that third difference shrinks with the cube of the piece length.
inline int KubischStuecke(Punkt p0, Punkt c1, Punkt c2, Punkt p3) {
    double dx = p3.x - 3 * c2.x + 3 * c1.x - p0.x;
    double dy = p3.y - 3 * c2.y + 3 * c1.y - p0.y;
    double fehler = std::sqrt(3.0) / 36.0 * std::hypot(dx, dy);
    if (!(fehler > KubischToleranz)) return 1;
    double m = std::ceil(std::cbrt(fehler / KubischToleranz));
    return static_cast<int>(std::min<double>(m, MaxKubischStuecke));
}

inline Punkt KubischPunkt(Punkt p0, Punkt c1, Punkt c2, Punkt p3, double t) {
    double s = 1 - t;
    double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
    return {a * p0.x + b * c1.x + c * c2.x + d * p3.x, a * p0.y + b * c1.y + c * c2.y + d * p3.y};
}

inline Punkt KubischAbleitung(Punkt p0, Punkt c1, Punkt c2, Punkt p3, double t) {
    double s = 1 - t;
    double a = 3 * s * s, b = 6 * s * t, c = 3 * t * t;
    return {a * (c1.x - p0.x) + b * (c2.x - c1.x) + c * (p3.x - c2.x),
            a * (c1.y - p0.y) + b * (c2.y - c1.y) + c * (p3.y - c2.y)};
}

inline void SatzSchreiber::Kubisch(Punkt c1, Punkt c2, Punkt e) {
    Abschliessen();
    Punkt p0 = letzter_;
    int m = KubischStuecke(p0, c1, c2, e);
    double h = 1.0 / m;
    Punkt a = p0;
    Punkt da = KubischAbleitung(p0, c1, c2, e, 0);
    for (int i = 1; i <= m; ++i) {
        double t = i == m ? 1.0 : i * h;
        Punkt b = i == m ? e : KubischPunkt(p0, c1, c2, e, t);
        Punkt db = KubischAbleitung(p0, c1, c2, e, t);
        // Control points of the piece as a cubic, then its mid-point quadratic.
        Punkt q1{a.x + da.x * h / 3, a.y + da.y * h / 3};
        Punkt q2{b.x - db.x * h / 3, b.y - db.y * h / 3};
        Punkt q{(3 * (q1.x + q2.x) - a.x - b.x) / 4, (3 * (q1.y + q2.y) - a.y - b.y) / 4};
        Beginnen(Art::Spline);
        Anhaengen(q);
        Anhaengen(b);
        Abschliessen();
        a = b;
        da = db;
    }
}

// Writes contour [erster, letzter] of an outline: 997, start point, the records ending with the
// closing segment back to the start point, 996, start point. The start is the first on-curve
// point; a contour without one starts at the implied on-curve point between its last and first
// points. A cubic control not followed by a second one and an end point is taken as on-curve.
inline void KonturSchreiben(const FT_Vector* punkte, const char* tags, int erster, int letzter,
                            Strom& strom) {
    int n = letzter - erster + 1;
    if (n <= 0) return;
    auto P = [&](int j) {
        const FT_Vector& v = punkte[erster + j % n];
        return Punkt{static_cast<double>(v.x), static_cast<double>(v.y)};
    };
    auto T = [&](int j) { return FT_CURVE_TAG(tags[erster + j % n]); };

    int s = 0;
    while (s < n && T(s) != FT_CURVE_TAG_ON) ++s;
    bool ohneAufKurve = s == n;
    Punkt start = ohneAufKurve ? Mitte(P(n - 1), P(0)) : P(s);
    // Points walked after the start, in contour order; the start closes the contour.
    int von = ohneAufKurve ? 0 : s + 1;
    int bis = ohneAufKurve ? n : s + n;

    strom.Kennung(KonturAnfang);
    strom.PunktEintrag(start);
    SatzSchreiber satz(strom, start);
    bool geschlossen = false;
    for (int j = von; j < bis; ++j) {
        int tag = ohneAufKurve ? FT_CURVE_TAG_CONIC : T(j);
        if (tag == FT_CURVE_TAG_CONIC) {
            satz.Kontrollpunkt(P(j));
        } else if (tag == FT_CURVE_TAG_CUBIC && !satz.SplineOffen() && j + 1 < bis &&
                   T(j + 1) == FT_CURVE_TAG_CUBIC &&
                   (j + 2 == bis || T(j + 2) == FT_CURVE_TAG_ON)) {
            geschlossen = j + 2 == bis;
            satz.Kubisch(P(j), P(j + 1), geschlossen ? start : P(j + 2));
            j += 2;
        } else {
            satz.AufKurve(P(j));
        }
    }
    if (!geschlossen) satz.AufKurve(start);
    satz.Abschliessen();
    strom.Kennung(KonturEnde);
    strom.PunktEintrag(start);
}

inline void UmrissSchreiben(const FT_Outline& umriss, Strom& strom) {
    int erster = 0;
    for (int k = 0; k < umriss.n_contours; ++k) {
        int letzter = umriss.contours[k];
        if (letzter >= umriss.n_points) return;
        KonturSchreiben(umriss.points, umriss.tags, erster, letzter, strom);
        erster = letzter + 1;
    }
}

} // namespace glyphon
