// Helpers shared by the tests: a fresh session, temporary folders, reading files back.
#pragma once

#include "app/Sitzung.h"

#include <filesystem>
#include <memory>
#include <string>

namespace konturo::test {

// A session with the settings table's defaults loaded from an empty store and silent headless
// UI services.
std::unique_ptr<Sitzung> NeueSitzung();
void StandardEinstellungen(Sitzung& s);

// A fresh temporary folder, removed when the object goes.
class TempOrdner {
public:
    TempOrdner();
    ~TempOrdner();
    TempOrdner(const TempOrdner&) = delete;
    TempOrdner& operator=(const TempOrdner&) = delete;
    const std::filesystem::path& Pfad() const { return pfad_; }
    std::filesystem::path operator/(const std::string& name) const { return pfad_ / name; }

private:
    std::filesystem::path pfad_;
};

// One run of konturo-cli: exit status, standard error and standard output.
struct CliLauf {
    int code;
    std::string fehler;
    std::string ausgabe;
};
// Runs konturo-cli with the arguments (shell words) in ordner, with ordner as HOME, so the user's
// stored settings are neither read nor touched.
CliLauf KonturoCliStarten(const TempOrdner& ordner, const std::string& argumente);

std::string DateiLesen(const std::filesystem::path& pfad);
void DateiSchreiben(const std::filesystem::path& pfad, const std::string& inhalt);
// Path of a checked-in test data file below tests/.
std::filesystem::path Testdaten(const std::string& relativ);

} // namespace konturo::test
