// Binding of the Glyphon library by name: the program's own folder first, then the library path.
#include "text/GlyphonBindung.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace konturo {

namespace {

GlyphonFunktion Binden(const std::string& datei) {
    void* bibliothek = dlopen(datei.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!bibliothek) return nullptr;
    // The library stays loaded for the rest of the run.
    auto funktion = reinterpret_cast<GlyphonFunktion>(dlsym(bibliothek, "get_glyph_points"));
    if (!funktion) dlclose(bibliothek);
    return funktion;
}

} // namespace

std::string ProgrammOrdner() {
    std::error_code fehler;
    std::filesystem::path programm = std::filesystem::read_symlink("/proc/self/exe", fehler);
    if (fehler) return {};
    return programm.parent_path().string();
}

std::mutex& GlyphonSperre() {
    static std::mutex sperre;
    return sperre;
}

GlyphonFunktion GlyphonBinden() {
    // Only a successful binding is kept, so a library installed later is still found.
    static std::mutex bindung;
    static GlyphonFunktion gebunden = nullptr;
    const std::lock_guard<std::mutex> sperre(bindung);
    if (gebunden) return gebunden;
    std::string ordner = ProgrammOrdner();
    if (!ordner.empty()) gebunden = Binden(ordner + "/libglyphon.so");
    if (!gebunden) gebunden = Binden("libglyphon.so");
    return gebunden;
}

} // namespace konturo
