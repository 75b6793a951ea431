// A German locale for tests that need a decimal comma: the installed one, or one generated with
// localedef into a cache folder that LOCPATH then names. Restores the C locale and LOCPATH when
// it goes.
#pragma once

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace konturo::test {

class DeutschesLocale {
public:
    // Sets LC_ALL to de_DE.UTF-8; Aktiv() tells whether that worked.
    DeutschesLocale() {
        if (const char* alt = std::getenv("LOCPATH")) altLocpath_ = alt;
        aktiv_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        if (aktiv_) return;
        namespace fs = std::filesystem;
        const fs::path ordner = fs::temp_directory_path() / "konturo-test-locale";
        const fs::path ziel = ordner / "de_DE.UTF-8";
        std::error_code ec;
        if (!fs::exists(ziel / "LC_NUMERIC", ec)) {
            // Generated beside and renamed into place, so test programs running at the same
            // time never see half a locale.
            fs::create_directories(ordner, ec);
            const fs::path neu = ordner / ("neu-" + std::to_string(getpid()));
            const std::string befehl =
                "localedef -i de_DE -f UTF-8 '" + neu.string() + "' >/dev/null 2>&1";
            (void)std::system(befehl.c_str());
            fs::rename(neu, ziel, ec);
            fs::remove_all(neu, ec);
        }
        setenv("LOCPATH", ordner.c_str(), 1);
        aktiv_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~DeutschesLocale() {
        std::setlocale(LC_ALL, "C");
        if (altLocpath_)
            setenv("LOCPATH", altLocpath_->c_str(), 1);
        else
            unsetenv("LOCPATH");
    }
    DeutschesLocale(const DeutschesLocale&) = delete;
    DeutschesLocale& operator=(const DeutschesLocale&) = delete;

    bool Aktiv() const { return aktiv_; }

private:
    bool aktiv_ = false;
    std::optional<std::string> altLocpath_;
};

} // namespace konturo::test
