// The writers' output path: lines assembled in one large block that goes to the stream in few big
// writes, numbers formatted straight into that block, and the file step that opens AusgabeDatei,
// runs a writer on it and reports a failed write.
#pragma once

#include "geometry/AllgLesen.h"
#include "output/Ausgabe.h"

#include <charconv>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string_view>

namespace konturo {

class UiDienste;

// The busy pointer of a writer run: on for the run, and on every way out the pointer goes back to
// normal and the progress bar back to 0.
class Schreibanzeige {
public:
    explicit Schreibanzeige(UiDienste& ui);
    ~Schreibanzeige();
    Schreibanzeige(const Schreibanzeige&) = delete;
    Schreibanzeige& operator=(const Schreibanzeige&) = delete;

private:
    UiDienste& ui_;
};

class Zeilenpuffer {
public:
    // 256 KiB: large enough that the stream sees few writes, small enough to stay in cache.
    static constexpr std::size_t Groesse = std::size_t{1} << 18;

    explicit Zeilenpuffer(std::ostream& aus)
        : aus_(aus), block_(std::make_unique<char[]>(Groesse)) {}
    ~Zeilenpuffer() { Leeren(); }
    Zeilenpuffer(const Zeilenpuffer&) = delete;
    Zeilenpuffer& operator=(const Zeilenpuffer&) = delete;

    // True once the stream refused a block; a writer then stops.
    bool Fehler() const { return fehler_; }

    void Text(std::string_view t) {
        if (t.size() > Groesse) {
            Leeren();
            if (!fehler_ && !aus_.write(t.data(), static_cast<std::streamsize>(t.size())))
                fehler_ = true;
            return;
        }
        Platz(t.size());
        std::memcpy(block_.get() + n_, t.data(), t.size());
        n_ += t.size();
    }
    void Zeichen(char c) {
        Platz(1);
        block_[n_++] = c;
    }
    void ZeilenEnde() {
        Platz(2);
        block_[n_++] = '\r';
        block_[n_++] = '\n';
    }
    // A text line ending in CR LF.
    void Zeile(std::string_view t) {
        Text(t);
        ZeilenEnde();
    }
    // A number as joined into a line: the plain ZahlText or GeoZahlText digits.
    void Zahl(double wert) {
        Platz(ZahlTextMax);
        n_ += ZahlTextIn(block_.get() + n_, wert);
    }
    void GeoZahl(double wert) {
        Platz(ZahlTextMax);
        n_ += GeoZahlTextIn(block_.get() + n_, wert);
    }
    // A whole number in plain decimal digits.
    void Ganz(long long wert) {
        Platz(24);
        auto [ende, ec] = std::to_chars(block_.get() + n_, block_.get() + n_ + 24, wert);
        (void)ec;
        n_ = static_cast<std::size_t>(ende - block_.get());
    }
    // A number written as a value line of its own: in a point locale a blank before a value that
    // is not negative and one after it; in a comma locale the bare text.
    void WertZeile(double wert, bool dezimalPunkt, bool geo = false) {
        Platz(ZahlTextMax + 4);
        char* p = block_.get() + n_;
        std::size_t laenge = geo ? GeoZahlTextIn(p + 1, wert) : ZahlTextIn(p + 1, wert);
        if (dezimalPunkt) {
            if (p[1] == '-') {
                std::memmove(p, p + 1, laenge);
            } else {
                p[0] = ' ';
                ++laenge;
            }
            p[laenge++] = ' ';
        } else {
            std::memmove(p, p + 1, laenge);
        }
        p[laenge++] = '\r';
        p[laenge++] = '\n';
        n_ += laenge;
    }
    // Hands the block to the stream.
    void Leeren() {
        if (n_ > 0 && !fehler_) {
            if (!aus_.write(block_.get(), static_cast<std::streamsize>(n_))) fehler_ = true;
        }
        n_ = 0;
    }

private:
    void Platz(std::size_t bedarf) {
        if (Groesse - n_ < bedarf) Leeren();
    }

    std::ostream& aus_;
    std::unique_ptr<char[]> block_;
    std::size_t n_ = 0;
    bool fehler_ = false;
};

// Creates or truncates s.speicher.AusgabeDatei and runs the writer on it. A file that cannot be
// created gives NichtErstellt with no message; a write that fails part-way shows language text 122,
// a blank and the path, keeps what was written and gives Schreibfehler.
Schreibergebnis InDateiSchreiben(Sitzung& s, const std::function<void(std::ostream&)>& schreiber);

} // namespace konturo
