// Runs every stored input of every fuzz target through its entry point: the inputs that once
// crashed, hung or broke an invariant (regression/<target>/) and the hand-made seeds
// (saat/<target>/). Built with the normal compiler; libFuzzer is not needed.
#include "FuzzZiel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace konturo::fuzz {

namespace {

namespace fs = std::filesystem;

std::map<std::string, Einstieg>& Ziele() {
    static std::map<std::string, Einstieg> ziele;
    return ziele;
}

const fs::path Wurzel = fs::path(KONTURO_FUZZ_DATEN);

std::vector<fs::path> Eingaben(const std::string& ziel) {
    std::vector<fs::path> dateien;
    for (const char* art : {"regression", "saat"}) {
        const fs::path ordner = Wurzel / art / ziel;
        if (!fs::is_directory(ordner)) continue;
        for (const auto& e : fs::directory_iterator(ordner))
            if (e.is_regular_file()) dateien.push_back(e.path());
    }
    std::sort(dateien.begin(), dateien.end());
    return dateien;
}

std::string Lesen(const fs::path& pfad) {
    std::ifstream ein(pfad, std::ios::binary);
    return {std::istreambuf_iterator<char>(ein), std::istreambuf_iterator<char>()};
}

// Every input of the target, each within the fuzzer's time limit and without an exception.
class ZielTest : public ::testing::Test {
public:
    ZielTest(std::string name, Einstieg einstieg) : name_(std::move(name)), einstieg_(einstieg) {}

    void TestBody() override {
        const auto dateien = Eingaben(name_);
        ASSERT_FALSE(dateien.empty()) << "no stored input for the target " << name_;
        for (const fs::path& datei : dateien) {
            const std::string bytes = Lesen(datei);
            const auto anfang = std::chrono::steady_clock::now();
            try {
                einstieg_(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            } catch (const std::exception& e) {
                ADD_FAILURE() << datei.string() << ": " << e.what();
            }
            const std::chrono::duration<double> dauer = std::chrono::steady_clock::now() - anfang;
            EXPECT_LT(dauer.count(), 10.0) << datei.string();
        }
    }

private:
    std::string name_;
    Einstieg einstieg_;
};

// A folder of inputs whose target does not exist would never run.
TEST(FuzzRegression, JederOrdnerHatSeinZiel) {
    for (const char* art : {"regression", "saat"}) {
        const fs::path ordner = Wurzel / art;
        if (!fs::is_directory(ordner)) continue;
        for (const auto& e : fs::directory_iterator(ordner))
            EXPECT_EQ(Ziele().count(e.path().filename().string()), 1u) << e.path().string();
    }
}

} // namespace

bool Registrieren(const char* name, Einstieg einstieg) {
    Ziele()[name] = einstieg;
    return true;
}

} // namespace konturo::fuzz

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (const auto& [name, einstieg] : konturo::fuzz::Ziele()) {
        ::testing::RegisterTest("FuzzRegression", name.c_str(), nullptr, nullptr, __FILE__,
                                __LINE__, [name = name, einstieg = einstieg]() -> ::testing::Test* {
                                    return new konturo::fuzz::ZielTest(name, einstieg);
                                });
    }
    return RUN_ALL_TESTS();
}
