// Helpers shared by the tests.
#include "TestHilfe.h"

#include "app/EinstellungenSpeicher.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace konturo::test {

void StandardEinstellungen(Sitzung& s) {
    EinstellungenSpeicherSpeicher leer;
    EinstellungenUmgebung umgebung;
    umgebung.programmOrdner = std::filesystem::temp_directory_path().string();
    EinstellungenLaden(s, leer, umgebung);
}

std::unique_ptr<Sitzung> NeueSitzung() {
    auto s = std::make_unique<Sitzung>();
    StandardEinstellungen(*s);
    return s;
}

TempOrdner::TempOrdner() {
    std::random_device zufall;
    for (;;) {
        pfad_ =
            std::filesystem::temp_directory_path() / ("konturo-test-" + std::to_string(zufall()));
        if (std::filesystem::create_directory(pfad_)) break;
    }
}

TempOrdner::~TempOrdner() {
    std::error_code ec;
    std::filesystem::remove_all(pfad_, ec);
}

CliLauf KonturoCliStarten(const TempOrdner& ordner, const std::string& argumente) {
    const std::string fehlerDatei = (ordner / "stderr.txt").string();
    const std::string ausgabeDatei = (ordner / "stdout.txt").string();
    const std::string aufruf =
        "cd '" + ordner.Pfad().string() + "' && HOME='" + ordner.Pfad().string() +
        "' XDG_CONFIG_HOME='" + (ordner / "config").string() + "' '" + KONTURO_BIN +
        "/konturo-cli' " + argumente + " >'" + ausgabeDatei + "' 2>'" + fehlerDatei + "'";
    const int status = std::system(aufruf.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, DateiLesen(fehlerDatei),
            DateiLesen(ausgabeDatei)};
}

std::string DateiLesen(const std::filesystem::path& pfad) {
    std::ifstream ein(pfad, std::ios::binary);
    std::ostringstream inhalt;
    inhalt << ein.rdbuf();
    return inhalt.str();
}

void DateiSchreiben(const std::filesystem::path& pfad, const std::string& inhalt) {
    std::ofstream aus(pfad, std::ios::binary);
    aus << inhalt;
}

std::filesystem::path Testdaten(const std::string& relativ) {
    return std::filesystem::path(KONTURO_TESTDATEN) / relativ;
}

} // namespace konturo::test
