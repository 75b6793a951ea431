// Reading the command line and the headless run.
#include "serienmacher/Befehlszeile.h"

#include "serienmacher/BatchDatei.h"
#include "serienmacher/Funktionen.h"
#include "serienmacher/Texte.h"

#include <array>
#include <ostream>
#include <string_view>

namespace konturo::serienmacher {

namespace {

enum class Option { Vor, Start, Ende, Nach, Nullen, Senkrecht, Ausgabe, Hilfe };

struct OptionName {
    std::string_view name;
    Option option;
};

// The German names of the window's fields and their English aliases.
constexpr std::array<OptionName, 16> Optionen{{
    {"--vor", Option::Vor},
    {"--prefix", Option::Vor},
    {"--start", Option::Start},
    {"--first", Option::Start},
    {"--ende", Option::Ende},
    {"--last", Option::Ende},
    {"--nach", Option::Nach},
    {"--suffix", Option::Nach},
    {"--nullen", Option::Nullen},
    {"--zeros", Option::Nullen},
    {"--senkrecht", Option::Senkrecht},
    {"--vertical", Option::Senkrecht},
    {"-o", Option::Ausgabe},
    {"--output", Option::Ausgabe},
    {"-h", Option::Hilfe},
    {"--help", Option::Hilfe},
}};

std::optional<Option> OptionSuchen(std::string_view name) {
    for (const OptionName& o : Optionen) {
        if (o.name == name) return o.option;
    }
    return std::nullopt;
}

bool BrauchtWert(Option o) {
    return o == Option::Vor || o == Option::Start || o == Option::Ende || o == Option::Nach ||
           o == Option::Ausgabe;
}

} // namespace

std::optional<Aufruf> AufrufLesen(const std::vector<std::string>& argumente, bool deutsch,
                                  std::string& fehler) {
    Aufruf aufruf;
    bool start = false, ende = false, ausgabe = false;
    for (std::size_t i = 0; i < argumente.size(); ++i) {
        std::string_view name = argumente[i];
        std::optional<std::string> wert;
        // "--vor=TEXT" as well as "--vor TEXT"
        if (const std::size_t gleich = name.find('=');
            name.starts_with("--") && gleich != name.npos) {
            wert = std::string(name.substr(gleich + 1));
            name = name.substr(0, gleich);
        }
        const std::optional<Option> option = OptionSuchen(name);
        if (!option || (wert && !BrauchtWert(*option))) {
            fehler = Text(TextNr::UnbekannteOption, deutsch, argumente[i]);
            return std::nullopt;
        }
        if (BrauchtWert(*option) && !wert) {
            // The next argument is the value even when it starts with "-" (--start -5).
            if (i + 1 == argumente.size()) {
                fehler = Text(TextNr::WertFehlt, deutsch, name);
                return std::nullopt;
            }
            wert = argumente[++i];
        }
        auto zahl = [&](std::int32_t& ziel) {
            const auto z = GanzzahlLesen(*wert);
            if (!z)
                fehler = Text(TextNr::KeineGanzzahl, deutsch, name, *wert);
            else
                ziel = *z;
            return z.has_value();
        };
        switch (*option) {
        case Option::Vor:
            aufruf.serie.VorText = *wert;
            break;
        case Option::Nach:
            aufruf.serie.NachText = *wert;
            break;
        case Option::Start:
            if (!zahl(aufruf.serie.StartNr)) return std::nullopt;
            start = true;
            break;
        case Option::Ende:
            if (!zahl(aufruf.serie.EndNr)) return std::nullopt;
            ende = true;
            break;
        case Option::Nullen:
            aufruf.serie.FuehrendeNullen = true;
            break;
        case Option::Senkrecht:
            aufruf.serie.Senkrecht = true;
            break;
        case Option::Ausgabe:
            aufruf.ausgabe = *wert;
            ausgabe = !wert->empty();
            break;
        case Option::Hilfe:
            aufruf.hilfe = true;
            return aufruf;
        }
    }
    const char* fehlt = !start     ? "--start (--first)"
                        : !ende    ? "--ende (--last)"
                        : !ausgabe ? "-o (--output)"
                                   : nullptr;
    if (fehlt) {
        fehler = Text(TextNr::PflichtFehlt, deutsch, fehlt);
        return std::nullopt;
    }
    return aufruf;
}

int KopflosAusfuehren(const std::vector<std::string>& argumente, bool deutsch, std::ostream& aus,
                      std::ostream& fehler) {
    const auto meldung = [&](const std::string& text) {
        fehler << "serienmacher: " << text << '\n';
    };
    std::string grund;
    const std::optional<Aufruf> aufruf = AufrufLesen(argumente, deutsch, grund);
    if (!aufruf) {
        meldung(grund);
        fehler << Text(TextNr::HilfeHinweis, deutsch) << '\n';
        return ExitAufruf;
    }
    if (aufruf->hilfe) {
        aus << Text(TextNr::Hilfe, deutsch);
        return ExitOk;
    }
    switch (BatchDateiErzeugen(aufruf->ausgabe, aufruf->serie)) {
    case Ergebnis::Ok:
        return ExitOk;
    case Ergebnis::EndeVorStart:
        meldung(Text(TextNr::EndeVorStart, deutsch));
        return ExitFehler;
    case Ergebnis::Zeilenumbruch:
        meldung(Text(TextNr::Zeilenumbruch, deutsch));
        return ExitAufruf;
    case Ergebnis::NichtGeoeffnet:
        meldung(Text(TextNr::NichtGeoeffnet, deutsch, aufruf->ausgabe));
        return ExitFehler;
    case Ergebnis::Schreibfehler:
    case Ergebnis::Abgebrochen:
        break;
    }
    meldung(Text(TextNr::Schreibfehler, deutsch, aufruf->ausgabe));
    return ExitFehler;
}

} // namespace konturo::serienmacher
