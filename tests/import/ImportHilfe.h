// Helpers of the import tests: Flate data, small PDF files, importing a text and reading back the
// outline buffer.
#pragma once

#include "TestHilfe.h"

#include "import/EPS_Einlesen.h"

#include <zlib.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace konturo::test {

inline std::string Flate(const std::string& daten) {
    uLongf groesse = compressBound(static_cast<uLong>(daten.size()));
    std::string aus(groesse, '\0');
    if (compress2(reinterpret_cast<Bytef*>(aus.data()), &groesse,
                  reinterpret_cast<const Bytef*>(daten.data()), static_cast<uLong>(daten.size()),
                  9) != Z_OK)
        throw std::runtime_error("compress2");
    aus.resize(groesse);
    return aus;
}

// One stream object: dictionary entries, the keyword, the line end after it, the data.
inline std::string StromObjekt(int nr, const std::string& dict, const std::string& daten,
                               const std::string& zeilenEnde = "\r\n") {
    return std::to_string(nr) + " 0 obj\n<< /Length " + std::to_string(daten.size()) + dict +
           " >>\nstream" + zeilenEnde + daten + "\nendstream\nendobj\n";
}

// A PDF whose content streams are the given texts, Flate-compressed.
inline std::string FlatePdf(const std::vector<std::string>& inhalte,
                            const std::string& zeilenEnde = "\r\n") {
    std::string pdf = "%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\n";
    int nr = 2;
    for (const std::string& inhalt : inhalte)
        pdf += StromObjekt(nr++, " /Filter /FlateDecode", Flate(inhalt), zeilenEnde);
    return pdf + "trailer\n<< /Root 1 0 R >>\n%%EOF\n";
}

// Imports text as an EPS (istPdf false) or PDF file's bytes; the answer to the start-marker
// question is Yes unless told otherwise.
inline ImportErgebnis Importieren(Sitzung& s, const std::string& text, bool istPdf = false,
                                  bool antwort = true) {
    s.kopflos.antwort = antwort;
    return EPSEinlesenText(s, text, istPdf);
}

inline std::vector<GeoElement> Datensaetze(const Sitzung& s) {
    std::vector<GeoElement> v;
    for (std::int32_t i = 1; i <= s.speicher.KonturPunkte.Anzahl(); ++i)
        v.push_back(s.speicher.KonturPunkte[i]);
    return v;
}

inline std::vector<GeoElement> Elemente(const Sitzung& s) {
    std::vector<GeoElement> v;
    for (std::int32_t i = 1; i <= s.speicher.Elemente.Anzahl(); ++i)
        v.push_back(s.speicher.Elemente[i]);
    return v;
}

} // namespace konturo::test
