// The settings table with its sections, keys, types and defaults, and the load and save walks
// over the settings backend.
#include "app/DB_System.h"

#include "app/EinstellungenSpeicher.h"
#include "app/Sitzung.h"
#include "geometry/AllgLesen.h"
#include "output/FSO_Funktionen.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace konturo {

namespace {

enum class Art { Text, Reell, Einfach, Farbe, Ganz, Byte, ByteWert };

// One key of the table. Byte: an 8-bit value through the integer conversion; ByteWert
// (Unterbrechung, Punkte, LastFilter) the same, rounded from any number such as "1.0".
struct Schluessel {
    const char* abschnitt;
    const char* name;        // read under this name (case-insensitive)
    const char* schreibName; // written under this name
    Art art;
    std::function<std::string(const Einstellungen&, const EinstellungenUmgebung&)> standard;
    std::function<void(Einstellungen&, const std::string&)> textSetzen;
    std::function<void(Einstellungen&, double)> zahlSetzen;
    std::function<std::string(const Einstellungen&)> wertText;
};

std::string Ganz(long long v) { return std::to_string(v); }

std::string Trimmen(const std::string& t) {
    std::size_t a = 0, b = t.size();
    while (a < b && std::isspace(static_cast<unsigned char>(t[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(t[b - 1]))) --b;
    return t.substr(a, b - a);
}

// A stored number: the whole text, blanks at both ends aside, must be a finite number, with a
// decimal point or comma. A value with anything after the number ("0.05abc", "abc") is damaged
// and gets the key's default rather than whatever its first characters read as.
std::optional<double> ZahlKonvertieren(const std::string& text) {
    std::string t = Trimmen(text);
    std::replace(t.begin(), t.end(), ',', '.');
    if (t.empty()) return std::nullopt;
    std::size_t gelesen = 0;
    const double wert = ZahlLesen(t, gelesen);
    if (gelesen != t.size() || !std::isfinite(wert)) return std::nullopt;
    return wert;
}

// The locale's integer conversion: a number as above, rounded half to even.
std::optional<double> GanzzahlKonvertieren(const std::string& text) {
    const auto wert = ZahlKonvertieren(text);
    if (!wert) return std::nullopt;
    return std::nearbyint(*wert);
}

template <typename T> std::optional<T> ImBereich(double wert) {
    if (wert < static_cast<double>(std::numeric_limits<T>::min()) ||
        wert > static_cast<double>(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(wert);
}

// Converts a stored text by the key's type; empty when the conversion fails.
std::optional<double> Konvertieren(Art art, const std::string& text) {
    switch (art) {
    case Art::Reell:
    case Art::Einfach: {
        const auto w = ZahlKonvertieren(text);
        if (!w || (art == Art::Einfach && std::fabs(*w) > std::numeric_limits<float>::max()))
            return std::nullopt;
        return w;
    }
    case Art::Farbe:
    case Art::Ganz: {
        auto w = GanzzahlKonvertieren(text);
        if (!w || !ImBereich<std::int32_t>(*w)) return std::nullopt;
        return w;
    }
    case Art::Byte: {
        auto w = GanzzahlKonvertieren(text);
        if (!w || !ImBereich<std::uint8_t>(*w)) return std::nullopt;
        return w;
    }
    case Art::ByteWert: {
        const auto w = GanzzahlKonvertieren(text);
        if (!w || !ImBereich<std::uint8_t>(*w)) return std::nullopt;
        return w;
    }
    case Art::Text:
        break;
    }
    return std::nullopt;
}

#define K_TEXT(ab, key, def)                                                                       \
    Schluessel {                                                                                   \
        ab, #key, #key, Art::Text,                                                                 \
            [](const Einstellungen&, const EinstellungenUmgebung&) { return std::string(def); },   \
            [](Einstellungen& e, const std::string& t) { e.key = t; }, nullptr,                    \
            [](const Einstellungen& e) { return e.key; }                                           \
    }
#define K_PFAD(ab, key)                                                                            \
    Schluessel {                                                                                   \
        ab, #key, #key, Art::Text,                                                                 \
            [](const Einstellungen&, const EinstellungenUmgebung& u) { return u.programmOrdner; }, \
            [](Einstellungen& e, const std::string& t) { e.key = t; }, nullptr,                    \
            [](const Einstellungen& e) { return e.key; }                                           \
    }
#define K_REELL(ab, key, def)                                                                      \
    Schluessel {                                                                                   \
        ab, #key, #key, Art::Reell,                                                                \
            [](const Einstellungen&, const EinstellungenUmgebung&) { return std::string(def); },   \
            nullptr, [](Einstellungen& e, double w) { e.key = w; },                                \
            [](const Einstellungen& e) { return ZahlText(e.key); }                                 \
    }
#define K_ZAHL(ab, key, art, typ, def)                                                             \
    Schluessel {                                                                                   \
        ab, #key, #key, art,                                                                       \
            [](const Einstellungen&, const EinstellungenUmgebung&) { return std::string(def); },   \
            nullptr, [](Einstellungen& e, double w) { e.key = static_cast<typ>(w); },              \
            [](const Einstellungen& e) { return Ganz(e.key); }                                     \
    }
#define K_FARBE(key, r, g, b) K_ZAHL("Farbe", key, Art::Farbe, std::int32_t, Ganz(RGB(r, g, b)))

const std::vector<Schluessel>& Tabelle() {
    static const std::vector<Schluessel> tabelle = {
        K_TEXT("Param", Font, "Arial"),
        K_TEXT("Param", Hoehe, "24"),
        K_TEXT("Param", Stil, "standard"),
        K_REELL("Param", Toleranz, "0.05"),
        K_REELL("Param", KreisToleranz, "0.1"),
        K_FARBE(HGF, 0, 0, 0),
        K_FARBE(LF, 255, 255, 255),
        K_FARBE(BF, 0, 255, 0),
        K_FARBE(PF, 0, 255, 0),
        K_FARBE(THF, 255, 255, 255),
        K_FARBE(TVF, 0, 0, 0),
        K_FARBE(DXFWarnFarbe, 255, 255, 124),
        K_FARBE(ElementWarnFarbe, 255, 0, 0),
        K_ZAHL("Param", Rtyp, Art::Byte, std::uint8_t, "0"),
        K_REELL("Param", RRad, "10"),
        K_REELL("Param", Rx, "300"),
        K_REELL("Param", Ry, "300"),
        K_TEXT("Param", RVorlage, ""),
        Schluessel{
            "Param", "Roff", "Roff", Art::Einfach,
            [](const Einstellungen&, const EinstellungenUmgebung&) { return std::string("10"); },
            nullptr,
            [](Einstellungen& e, double w) {
                e.Roff = static_cast<float>(w);
                e.RoffArbeit = e.Roff;
            },
            [](const Einstellungen& e) { return ZahlText(static_cast<double>(e.Roff)); }},
        K_REELL("Param", SplineT, "0.05"),
        K_REELL("Param", maxRadius, "9999.99"),
        K_PFAD("Param", TInPath),
        K_PFAD("Param", GInPath),
        K_PFAD("Param", GOutPath),
        K_ZAHL("Param", WarnAusgabe, Art::Byte, std::uint8_t, "0"),
        K_ZAHL("Param", WarnDarstellung, Art::Byte, std::uint8_t, "0"),
        K_REELL("Param", WarnLaenge, "0.3"),
        Schluessel{"Window", "SizeX", "SizeX", Art::Ganz,
                   [](const Einstellungen&, const EinstellungenUmgebung& u) {
                       return Ganz(u.bildschirmBreite);
                   },
                   nullptr,
                   [](Einstellungen& e, double w) { e.SizeX = static_cast<std::int32_t>(w); },
                   [](const Einstellungen& e) { return Ganz(e.SizeX); }},
        Schluessel{"Window", "SizeY", "SizeY", Art::Ganz,
                   [](const Einstellungen&, const EinstellungenUmgebung& u) {
                       return Ganz(u.bildschirmHoehe);
                   },
                   nullptr,
                   [](Einstellungen& e, double w) { e.SizeY = static_cast<std::int32_t>(w); },
                   [](const Einstellungen& e) { return Ganz(e.SizeY); }},
        K_ZAHL("Window", PosX, Art::Ganz, std::int32_t, "0"),
        K_ZAHL("Window", PosY, Art::Ganz, std::int32_t, "0"),
        Schluessel{"Window", "TextSizeX", "TextSizeX", Art::Ganz,
                   [](const Einstellungen& e, const EinstellungenUmgebung&) {
                       return Ganz(static_cast<long long>(std::nearbyint(0.8 * e.SizeX)));
                   },
                   nullptr,
                   [](Einstellungen& e, double w) { e.TextSizeX = static_cast<std::int32_t>(w); },
                   [](const Einstellungen& e) { return Ganz(e.TextSizeX); }},
        Schluessel{"Window", "TextSizeY", "TextSizeY", Art::Ganz,
                   [](const Einstellungen& e, const EinstellungenUmgebung&) {
                       return Ganz(static_cast<long long>(std::nearbyint(0.8 * e.SizeY)));
                   },
                   nullptr,
                   [](Einstellungen& e, double w) { e.TextSizeY = static_cast<std::int32_t>(w); },
                   [](const Einstellungen& e) { return Ganz(e.TextSizeY); }},
        K_ZAHL("Window", TextPosX, Art::Ganz, std::int32_t, "100"),
        K_ZAHL("Window", TextPosY, Art::Ganz, std::int32_t, "100"),
        K_ZAHL("Param", Unterbrechung, Art::ByteWert, std::uint8_t, "0"),
        K_ZAHL("Param", Punkte, Art::ByteWert, std::uint8_t, "1"),
        K_ZAHL("Param", LastFilter, Art::ByteWert, std::uint8_t, "1"),
        Schluessel{
            "Param", "Ausgabenfarbe", "AusgabenFarbe", Art::Byte,
            [](const Einstellungen&, const EinstellungenUmgebung&) { return std::string("0"); },
            nullptr,
            [](Einstellungen& e, double w) { e.Ausgabenfarbe = static_cast<std::uint8_t>(w); },
            [](const Einstellungen& e) { return Ganz(e.Ausgabenfarbe); }},
        K_ZAHL("Param", GespiegelteAusgabe, Art::Byte, std::uint8_t, "0"),
        K_ZAHL("Param", SingleLineModus, Art::Byte, std::uint8_t, "0"),
        K_TEXT("Param", UpdateAdresse, ""),
        K_ZAHL("Param", SparModus, Art::Byte, std::uint8_t, "0"),
        K_REELL("Param", MaxAbweichung, "0.05"),
        K_REELL("Param", MinRadius, "0"),
        K_REELL("Param", MinLaenge, "0"),
        K_ZAHL("Param", Nachkommastellen, Art::Byte, std::uint8_t, "0"),
        K_ZAHL("Param", Reparieren, Art::Byte, std::uint8_t, "0"),
    };
    return tabelle;
}

bool GleicherName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The range a number setting may take: outside it frames and radii lie far beyond any sheet,
// windows beyond any screen, or the curve flattening never ends (a step of 0) or never fits in
// memory. The bounds have few digits, so a value inside saved with ZahlText reads back inside.
struct Bereich {
    double kleinster;
    double groesster;
};

std::optional<Bereich> BereichVon(std::string_view name) {
    static const std::pair<std::string_view, Bereich> bereiche[] = {
        {"Toleranz", {0.000001, 1000}},
        {"KreisToleranz", {0.000001, 1000}},
        {"Rtyp", {0, 6}},
        {"RRad", {0, 100000}},
        {"Rx", {0, 100000}},
        {"Ry", {0, 100000}},
        {"Roff", {-100000, 100000}},
        {"SplineT", {0.001, 1}},
        {"maxRadius", {0.001, 1000000000}},
        {"WarnAusgabe", {0, 1}},
        {"WarnDarstellung", {0, 1}},
        {"WarnLaenge", {0, 100000}},
        {"SizeX", {0, 1000000}},
        {"SizeY", {0, 1000000}},
        {"PosX", {-1000000, 1000000}},
        {"PosY", {-1000000, 1000000}},
        {"TextSizeX", {0, 1000000}},
        {"TextSizeY", {0, 1000000}},
        {"TextPosX", {-1000000, 1000000}},
        {"TextPosY", {-1000000, 1000000}},
        {"Unterbrechung", {0, 1}},
        {"Punkte", {0, 1}},
        {"Ausgabenfarbe", {0, 1}},
        {"GespiegelteAusgabe", {0, 1}},
        {"SingleLineModus", {0, 1}},
        {"SparModus", {0, 1}},
        {"MaxAbweichung", {0, 100000}},
        {"MinRadius", {0, 100000}},
        {"MinLaenge", {0, 100000}},
        {"Nachkommastellen", {0, 15}},
        {"Reparieren", {0, 1}},
    };
    for (const auto& [name_, bereich] : bereiche)
        if (name_ == name) return bereich;
    return std::nullopt;
}

Bereich BereichVon(const Schluessel& k) {
    if (auto b = BereichVon(k.name)) return *b;
    switch (k.art) {
    case Art::Farbe:
        return {0, 16777215}; // red + 256 green + 65536 blue
    case Art::Byte:
    case Art::ByteWert:
        return {0, 255};
    case Art::Ganz:
        return {-2147483648.0, 2147483647.0};
    case Art::Einfach:
        return {-std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
    case Art::Reell:
    case Art::Text:
        break;
    }
    return {-std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
}

// Texts (font names, paths, addresses) longer than any path a system takes are no setting.
constexpr std::size_t MaxTextLaenge = 4096;

enum class Uebernahme { Ok, KeineZahl, AusserhalbBereich, UngueltigerText };

// Puts a text into the value of the key, or says why it does not fit.
Uebernahme Uebernehmen(const Schluessel& k, Einstellungen& e, const std::string& text) {
    if (k.art == Art::Text) {
        if (text.size() > MaxTextLaenge || text.find('\0') != std::string::npos)
            return Uebernahme::UngueltigerText;
        k.textSetzen(e, text);
        return Uebernahme::Ok;
    }
    const auto wert = Konvertieren(k.art, text);
    if (!wert) return Uebernahme::KeineZahl;
    const Bereich b = BereichVon(k);
    if (!(*wert >= b.kleinster && *wert <= b.groesster)) return Uebernahme::AusserhalbBereich;
    k.zahlSetzen(e, *wert);
    return Uebernahme::Ok;
}

// A stored value as the message shows it: cut short, control characters as "?".
std::string WertZeigen(const std::string& text) {
    std::string kurz = text.substr(0, 40);
    for (char& c : kurz)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return text.size() > kurz.size() ? kurz + "..." : kurz;
}

std::string BereichText(const Bereich& b) {
    return "from " + ZahlText(b.kleinster) + " to " + ZahlText(b.groesster);
}

} // namespace

bool EinstellungenLaden(Sitzung& s, EinstellungenSpeicher& speicher,
                        const EinstellungenUmgebung& umgebung) {
    Einstellungen& e = s.einstellungen;
    std::string ungueltig;
    for (const Schluessel& k : Tabelle()) {
        const auto gespeichert = speicher.Lesen(k.abschnitt, k.name);
        if (gespeichert && Uebernehmen(k, e, *gespeichert) == Uebernahme::Ok) continue;
        // A missing or unusable value gets its default; later keys are read all the same, and
        // the computed defaults that follow see the value actually taken.
        Uebernehmen(k, e, k.standard(e, umgebung));
        if (gespeichert) {
            if (!ungueltig.empty()) ungueltig += ",";
            ungueltig += " " + std::string(k.name) + "=" + WertZeigen(*gespeichert);
        }
    }
    if (!DateiExistiert(e.RVorlage)) e.RVorlage.clear();
    e.SingleLineModus = 0;
    if (!ungueltig.empty()) s.Melden(117, ungueltig);
    return ungueltig.empty();
}

bool EinstellungenSichern(Sitzung& s, EinstellungenSpeicher& speicher) {
    for (const Schluessel& k : Tabelle()) {
        if (!speicher.Schreiben(k.abschnitt, k.schreibName, k.wertText(s.einstellungen))) {
            s.Melden(118);
            return false;
        }
    }
    return true;
}

void FarbenZuruecksetzen(Einstellungen& e) {
    // Colour defaults depend on nothing around them, so an empty surrounding serves.
    const EinstellungenUmgebung umgebung;
    for (const Schluessel& k : Tabelle()) {
        if (std::string_view(k.abschnitt) == "Farbe") Uebernehmen(k, e, k.standard(e, umgebung));
    }
}

bool EinstellungSetzen(Einstellungen& e, const std::string& schluessel, const std::string& wert,
                       std::string* grund) {
    for (const Schluessel& k : Tabelle()) {
        if (!GleicherName(k.name, schluessel)) continue;
        const Uebernahme u = Uebernehmen(k, e, wert);
        if (grund) {
            const std::string name = k.name;
            switch (u) {
            case Uebernahme::Ok:
                break;
            case Uebernahme::KeineZahl:
                *grund = name + " takes a number, not \"" + WertZeigen(wert) + "\"";
                break;
            case Uebernahme::AusserhalbBereich:
                *grund =
                    name + " must be " + BereichText(BereichVon(k)) + ", not " + WertZeigen(wert);
                break;
            case Uebernahme::UngueltigerText:
                *grund = name + " takes a text of at most " + std::to_string(MaxTextLaenge) +
                         " bytes without NUL";
                break;
            }
        }
        return u == Uebernahme::Ok;
    }
    if (grund) *grund = "unknown setting \"" + WertZeigen(schluessel) + "\"";
    return false;
}

bool EinstellungImBereich(const std::string& schluessel, double wert) {
    for (const Schluessel& k : Tabelle()) {
        if (!GleicherName(k.name, schluessel)) continue;
        const Bereich b = BereichVon(k);
        return wert >= b.kleinster && wert <= b.groesster;
    }
    return false;
}

std::optional<std::string> EinstellungenSpeicherSpeicher::Lesen(const std::string& abschnitt,
                                                                const std::string& schluessel) {
    for (const auto& [ort, wert] : werte) {
        if (ort.first == abschnitt && GleicherName(ort.second, schluessel)) return wert;
    }
    return std::nullopt;
}

bool EinstellungenSpeicherSpeicher::Schreiben(const std::string& abschnitt,
                                              const std::string& schluessel,
                                              const std::string& wert) {
    if (fehlerBeiSchluessel && GleicherName(*fehlerBeiSchluessel, schluessel)) return false;
    for (auto it = werte.begin(); it != werte.end(); ++it) {
        if (it->first.first == abschnitt && GleicherName(it->first.second, schluessel)) {
            werte.erase(it);
            break;
        }
    }
    werte[{abschnitt, schluessel}] = wert;
    return true;
}

} // namespace konturo
