// The glyph device context on Linux: fontconfig finds the font, FreeType opens and measures it.
#include "text/GlyphGeraetFreetype.h"

#include "glyphon/GlyphonZeichen.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>

namespace konturo {

namespace {

struct MusterFreigeben {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct SatzFreigeben {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct ObjekteFreigeben {
    void operator()(FcObjectSet* o) const { FcObjectSetDestroy(o); }
};
using Muster = std::unique_ptr<FcPattern, MusterFreigeben>;
using Schriftsatz = std::unique_ptr<FcFontSet, SatzFreigeben>;

const FcChar8* Fc(const std::string& s) { return reinterpret_cast<const FcChar8*>(s.c_str()); }

// Family names compare as fontconfig compares them: without regard to case and blanks.
std::string FamilienSchluessel(const char* name) {
    std::string s;
    for (const char* c = name; *c; ++c) {
        if (*c != ' ') s += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    }
    return s;
}

// The family names of a pattern, in order.
std::vector<std::string> Familien(const FcPattern* p) {
    std::vector<std::string> namen;
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(p, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        namen.emplace_back(reinterpret_cast<const char*>(name));
    }
    return namen;
}

} // namespace

int EmPixel(double groesse) {
    double em = std::round(groesse * 96.0 / 72.0);
    if (!(em >= 1)) return 1;
    return static_cast<int>(std::min<double>(em, MaxEmPixel));
}

void GlyphGeraetFreetype::BibliothekFreigeben::operator()(FT_LibraryRec_* bibliothek) const {
    FT_Done_FreeType(bibliothek);
}

void GlyphGeraetFreetype::GesichtFreigeben::operator()(FT_FaceRec_* gesicht) const {
    FT_Done_Face(gesicht);
}

GlyphGeraetFreetype::GlyphGeraetFreetype() {
    FT_Library bibliothek = nullptr;
    if (FT_Init_FreeType(&bibliothek) == 0) bibliothek_.reset(bibliothek);
}

GlyphGeraetFreetype::~GlyphGeraetFreetype() = default;

FT_FaceRec_* GlyphGeraetFreetype::Oeffnen(const std::string& datei, int index) {
    auto schluessel = std::make_pair(datei, index);
    if (auto it = gesichter_.find(schluessel); it != gesichter_.end()) return it->second.get();
    FT_Face face = nullptr;
    if (FT_New_Face(bibliothek_.get(), datei.c_str(), index, &face) != 0) return nullptr;
    std::unique_ptr<FT_FaceRec_, GesichtFreigeben> gesicht(face);
    if (!FT_IS_SCALABLE(face)) return nullptr;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
        FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL);
    }
    return gesichter_.emplace(schluessel, std::move(gesicht)).first->second.get();
}

GlyphGeraetFreetype::Schrift GlyphGeraetFreetype::Suchen(const std::string& name, bool fett,
                                                         bool kursiv) {
    auto schluessel = std::make_tuple(name, fett, kursiv);
    if (auto it = gefunden_.find(schluessel); it != gefunden_.end()) return it->second;

    Muster muster(FcPatternCreate());
    if (!muster) return {};
    if (!name.empty()) FcPatternAddString(muster.get(), FC_FAMILY, Fc(name));
    FcPatternAddInteger(muster.get(), FC_WEIGHT, fett ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(muster.get(), FC_SLANT, kursiv ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(muster.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, muster.get(), FcMatchPattern);
    FcDefaultSubstitute(muster.get());

    // The candidates best first; the first outline font that FreeType opens is taken.
    FcResult ergebnis = FcResultNoMatch;
    Schriftsatz satz(FcFontSort(nullptr, muster.get(), FcTrue, nullptr, &ergebnis));
    if (!satz) return {};
    for (int i = 0; i < satz->nfont; ++i) {
        FcChar8* datei = nullptr;
        int index = 0;
        if (FcPatternGetString(satz->fonts[i], FC_FILE, 0, &datei) != FcResultMatch) continue;
        FcPatternGetInteger(satz->fonts[i], FC_INDEX, 0, &index);
        std::string pfad(reinterpret_cast<const char*>(datei));
        if (FT_FaceRec_* gesicht = Oeffnen(pfad, index)) {
            Schrift schrift{gesicht, pfad};
            gefunden_.emplace(schluessel, schrift);
            return schrift;
        }
    }
    return {};
}

bool GlyphGeraetFreetype::SchriftWaehlen(const std::string& name, double groesse, bool fett,
                                         bool kursiv) {
    if (!bibliothek_ || !(groesse > 0)) return false;
    Schrift schrift = Suchen(name, fett, kursiv);
    if (!schrift.gesicht) return false;
    int em = EmPixel(groesse);
    FT_Face face = schrift.gesicht;
    if (face->size->metrics.x_ppem != em || face->size->metrics.y_ppem != em) {
        if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(em), static_cast<FT_UInt>(em)) != 0) {
            return false;
        }
    }
    aktuell_ = face;
    datei_ = schrift.datei;
    em_ = em;
    return true;
}

AbcBreiten GlyphGeraetFreetype::Breiten(char32_t zeichen) {
    AbcBreiten abc;
    FT_Face face = aktuell_;
    if (!face) return abc;
    // A missing character gets index 0, the font's missing-glyph box.
    if (FT_Load_Glyph(face, GlyphonGlyphindex(face, static_cast<uint32_t>(zeichen)),
                      FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) {
        return abc;
    }
    FT_GlyphSlot glyph = face->glyph;
    double vorschub = glyph->metrics.horiAdvance / 64.0;
    if (glyph->format == FT_GLYPH_FORMAT_OUTLINE && glyph->outline.n_points > 0) {
        FT_BBox box;
        FT_Outline_Get_BBox(&glyph->outline, &box);
        abc.A = box.xMin / 64.0;
        abc.B = (box.xMax - box.xMin) / 64.0;
    }
    abc.C = vorschub - abc.A - abc.B;
    return abc;
}

Textmetrik GlyphGeraetFreetype::Metrik() {
    Textmetrik metrik;
    FT_Face face = aktuell_;
    if (!face || face->units_per_EM == 0) return metrik;
    double oben = 0, unten = 0;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    // FreeType marks a missing OS/2 table of a TrueType font with version 0xFFFF.
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent > 0) {
        oben = os2->usWinAscent;
        unten = os2->usWinDescent;
    } else {
        oben = face->ascender;
        unten = -face->descender;
    }
    // The converter divides by the ascent: a font that claims none gets its em.
    if (oben <= 0) oben = face->units_per_EM;
    double skala = static_cast<double>(em_) / face->units_per_EM;
    metrik.Ascent = oben * skala;
    metrik.Height = (oben + std::max(unten, 0.0)) * skala;
    return metrik;
}

void* GlyphGeraetFreetype::Handle() { return aktuell_; }

bool GlyphGeraetFreetype::Vorhanden(const std::string& name) { return SchriftVorhanden(name); }

bool SchriftVorhanden(const std::string& name) {
    if (name.empty()) return false;
    Muster muster(FcPatternCreate());
    if (!muster) return false;
    FcPatternAddString(muster.get(), FC_FAMILY, Fc(name));
    FcPatternAddBool(muster.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, muster.get(), FcMatchPattern);

    // The name itself and what its aliases bind strongly or as the same font; weak entries are
    // the generic fallbacks that any unknown name gets.
    std::set<std::string> gebunden{FamilienSchluessel(name.c_str())};
    FcValue wert;
    FcValueBinding bindung;
    for (int i = 0;
         FcPatternGetWithBinding(muster.get(), FC_FAMILY, i, &wert, &bindung) == FcResultMatch;
         ++i) {
        if (bindung != FcValueBindingWeak && wert.type == FcTypeString) {
            gebunden.insert(FamilienSchluessel(reinterpret_cast<const char*>(wert.u.s)));
        }
    }

    FcDefaultSubstitute(muster.get());
    FcResult ergebnis = FcResultNoMatch;
    Muster bester(FcFontMatch(nullptr, muster.get(), &ergebnis));
    if (!bester) return false;
    for (const std::string& familie : Familien(bester.get())) {
        if (gebunden.count(FamilienSchluessel(familie.c_str()))) return true;
    }
    return false;
}

std::vector<std::string> SkalierbareSchriften() {
    Muster muster(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjekteFreigeben> objekte(
        FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr));
    if (!muster || !objekte) return {};
    FcPatternAddBool(muster.get(), FC_SCALABLE, FcTrue);
    Schriftsatz satz(FcFontList(nullptr, muster.get(), objekte.get()));
    if (!satz) return {};

    // The first family name of each font, and its further English names (a font may also be
    // listed under a narrower family such as "DejaVu Sans Condensed").
    std::vector<std::string> namen;
    for (int i = 0; i < satz->nfont; ++i) {
        FcChar8* name = nullptr;
        for (int k = 0; FcPatternGetString(satz->fonts[i], FC_FAMILY, k, &name) == FcResultMatch;
             ++k) {
            FcChar8* sprache = nullptr;
            bool englisch =
                FcPatternGetString(satz->fonts[i], FC_FAMILYLANG, k, &sprache) == FcResultMatch &&
                std::string(reinterpret_cast<const char*>(sprache)) == "en";
            if (k == 0 || englisch) namen.emplace_back(reinterpret_cast<const char*>(name));
        }
    }
    auto klein = [](const std::string& s) {
        std::string k = s;
        for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return k;
    };
    std::sort(namen.begin(), namen.end(), [&](const std::string& a, const std::string& b) {
        std::string ka = klein(a), kb = klein(b);
        return ka != kb ? ka < kb : a < b;
    });
    namen.erase(std::unique(namen.begin(), namen.end()), namen.end());
    return namen;
}

} // namespace konturo
