// A German locale for tests that need a decimal comma: the installed one, or one generated with
// localedef into a cache folder that LOCPATH then names. Restores the C locale when it goes.
#pragma once

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace konturo::test {

class DeutschesLocale {
public:
    // Sets LC_ALL to de_DE.UTF-8; Aktiv() tells whether that worked.
    DeutschesLocale() {
        aktiv_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        if (aktiv_) return;
        const std::filesystem::path ordner =
            std::filesystem::temp_directory_path() / "konturo-test-locale";
        const std::filesystem::path ziel = ordner / "de_DE.UTF-8";
        std::error_code ec;
        if (!std::filesystem::exists(ziel / "LC_NUMERIC", ec)) {
            std::filesystem::create_directories(ordner, ec);
            const std::string befehl = "localedef -i de_DE -f UTF-8 '" + ziel.string() +
                                       "' >/dev/null 2>&1";
            (void)std::system(befehl.c_str());
        }
        setenv("LOCPATH", ordner.c_str(), 1);
        aktiv_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~DeutschesLocale() { std::setlocale(LC_ALL, "C"); }
    DeutschesLocale(const DeutschesLocale&) = delete;
    DeutschesLocale& operator=(const DeutschesLocale&) = delete;

    bool Aktiv() const { return aktiv_; }

private:
    bool aktiv_ = false;
};

} // namespace konturo::test
