// The settings backend seam: one text per (section, key) under the application name, keys
// matched without regard to letter case.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace konturo {

class EinstellungenSpeicher {
public:
    virtual ~EinstellungenSpeicher() = default;
    // The stored text, or nothing when the key is missing.
    virtual std::optional<std::string> Lesen(const std::string& abschnitt,
                                             const std::string& schluessel) = 0;
    // False when the value could not be written.
    virtual bool Schreiben(const std::string& abschnitt, const std::string& schluessel,
                           const std::string& wert) = 0;
};

// An in-memory store for tests and for runs that must not touch the user's settings.
class EinstellungenSpeicherSpeicher : public EinstellungenSpeicher {
public:
    std::optional<std::string> Lesen(const std::string& abschnitt,
                                     const std::string& schluessel) override;
    bool Schreiben(const std::string& abschnitt, const std::string& schluessel,
                   const std::string& wert) override;

    // (section, key as written) -> value; lookups ignore the case of the key.
    std::map<std::pair<std::string, std::string>, std::string> werte;
    // When set, writing this key fails (to test the save error path).
    std::optional<std::string> fehlerBeiSchluessel;
};

} // namespace konturo
