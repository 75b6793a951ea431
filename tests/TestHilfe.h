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

std::string DateiLesen(const std::filesystem::path& pfad);
void DateiSchreiben(const std::filesystem::path& pfad, const std::string& inhalt);
// Path of a checked-in test data file below tests/.
std::filesystem::path Testdaten(const std::string& relativ);

} // namespace konturo::test
