// Batch runs: reading the batch file, the file name of an entry, and the run over the entries.
#include "app/BatchVerarbeitung.h"

#include "app/Sitzung.h"
#include "output/Ausgabe.h"
#include "output/FSO_Funktionen.h"
#include "text/FontAuslesen.h"
#include "text/Textquelle.h"

#include <unistd.h>

#include <climits>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace konturo {

namespace {

bool NurLeer(std::string_view zeile) { return zeile.find_first_not_of(' ') == std::string::npos; }

std::int32_t Zeichnungselemente(const Speicher& sp) {
    std::int32_t n = 0;
    for (std::int32_t i = 1; i <= sp.ElementAnzahl(); ++i) {
        const std::uint8_t typ = sp.Elemente[i].Typ;
        if (typ == Linie || typ == Bogen || typ == Kreis) ++n;
    }
    return n;
}

// The longest file name the folder's file system takes, in bytes.
std::size_t NamenGrenze(const std::string& ordner) {
    const long grenze = pathconf(ordner.c_str(), _PC_NAME_MAX);
    return grenze > 0 ? static_cast<std::size_t>(grenze) : NAME_MAX;
}

// The session of one thread of a parallel run: a copy of the template's state with UI services and
// a text source of its own.
struct Arbeitssitzung {
    Sitzung s;
    UiDiensteKopflos ui{true};
    TextquelleKlartext quelle;

    Arbeitssitzung(const Sitzung& vorlage, const Zeichenformat& format) {
        s.einstellungen = vorlage.einstellungen;
        s.fenster = vorlage.fenster;
        s.text = vorlage.text;
        s.speicher = vorlage.speicher;
        s.batch = vorlage.batch;
        s.ui = &ui;
        quelle.standardFormat = format;
        s.textquelle = &quelle;
    }
};

} // namespace

std::vector<std::string> BatchZeilenLesen(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::string text(bytes);
    if (!IstUtf8(text)) text = Cp1252NachUtf8(text);

    std::vector<std::string> zeilen;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t ende = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string_view zeile = std::string_view(text).substr(pos, ende - pos);
        if (NurLeer(zeile)) break;
        std::string eintrag;
        eintrag.reserve(zeile.size());
        for (const char c : zeile) {
            if (c == '|')
                eintrag += "\r\n";
            else
                eintrag += c;
        }
        zeilen.push_back(std::move(eintrag));
        pos = ende;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return zeilen;
}

Dateifehler BatchLesen(Sitzung& s) {
    Batchzustand& b = s.batch;
    b.BatchZeilen.clear();
    std::string inhalt;
    const Dateifehler fehler = DateiEinlesen(b.BatchPfad, MaxBatchDatei, inhalt);
    if (fehler == Dateifehler::Keiner) b.BatchZeilen = BatchZeilenLesen(inhalt);
    return fehler;
}

std::string BatchName(const std::string& eintrag) {
    std::string name;
    name.reserve(eintrag.size());
    for (std::size_t i = 0; i < eintrag.size(); ++i) {
        const char c = eintrag[i];
        if (c == '\r' && i + 1 < eintrag.size() && eintrag[i + 1] == '\n') {
            name += '_';
            ++i;
            continue;
        }
        switch (c) {
        case '/':
        case '\\':
        case '+':
        case '#':
        case '<':
        case '>':
        case '|':
        case ' ':
            name += '_';
            break;
        default:
            name += c;
        }
    }
    return name;
}

std::string BatchEndung(int lastFilter) {
    switch (lastFilter) {
    case 1:
        return ".dxf";
    case 2:
        return ".geo";
    case 3:
        return ".vlg";
    case 4:
        return ".m10";
    default:
        return {};
    }
}

std::string BatchOrdner(const std::string& batchPfad) {
    const std::filesystem::path ordner = std::filesystem::path(batchPfad).parent_path();
    return ordner.empty() ? std::string(".") : ordner.string();
}

std::string BatchFehlerText(const Sitzung& s, const BatchEintrag& e) {
    switch (e.Fehler) {
    case BatchFehler::Keiner:
        return {};
    case BatchFehler::Umwandlung:
    case BatchFehler::Schreibfehler:
        return e.Meldung;
    case BatchFehler::NameUngueltig:
        return s.Text(137) + " " + e.Datei;
    case BatchFehler::NameZuLang:
        return s.Text(136) + " " + e.Datei;
    case BatchFehler::NichtErstellt:
        return s.Text(119) + " " + e.Datei;
    }
    return {};
}

void BatchDienste::Meldung(int textNr, const std::string& text) {
    if (gemeldet_) return;
    gemeldet_ = true;
    text_ = text.empty() ? "Meldung " + std::to_string(textNr) : text;
}

void BatchDienste::EreignisseVerarbeiten() {
    innen_.EreignisseVerarbeiten();
    s_.fenster.AbbruchWunsch = false;
}

void BatchDienste::MeldungVergessen() {
    gemeldet_ = false;
    text_.clear();
}

BatchLauf::BatchLauf(Sitzung& s, std::string ordner)
    : s_(s), innen_(*s.ui), dienste_(s, *s.ui), ordner_(std::move(ordner)) {
    s_.ui = &dienste_;
    s_.fenster.AbbruchWunsch = false;
    innen_.FortschrittMaximum(s_.batch.AnzBatchZeilen());
    innen_.FortschrittWert(0);
    innen_.BeschaeftigtSetzen();
    innen_.AbbruchKnopf(true);
}

BatchLauf::~BatchLauf() {
    s_.ui = &innen_;
    s_.fenster.AbbruchWunsch = false;
    innen_.FortschrittWert(0);
    innen_.AbbruchKnopf(false);
    innen_.BereitSetzen();
}

BatchEintrag BatchLauf::Ausfuehren(std::int32_t nr) {
    Batchzustand& b = s_.batch;
    b.BatchZeile = nr;
    std::string& zeile = b.BatchZeilen.at(static_cast<std::size_t>(nr - 1));
    BatchEintrag e;
    e.Nr = nr;

    dienste_.MeldungVergessen();
    s_.textquelle->TextSetzen(zeile);
    TextUmwandeln(s_);
    e.Elemente = Zeichnungselemente(s_.speicher);
    s_.ui->EreignisseVerarbeiten();

    const std::string endung = BatchEndung(s_.einstellungen.LastFilter);
    const std::string name = BatchName(zeile);
    zeile = name;
    if (!endung.empty()) e.Datei = (std::filesystem::path(ordner_) / (name + endung)).string();
    innen_.FortschrittWert(nr);

    if (dienste_.Gemeldet()) {
        e.Fehler = BatchFehler::Umwandlung;
        e.Meldung = dienste_.MeldungText();
        return e;
    }
    if (endung.empty()) return e;
    // A NUL would cut the name short in the system call and write a file of another name.
    if (name.find('\0') != std::string::npos) {
        e.Fehler = BatchFehler::NameUngueltig;
        return e;
    }
    if (name.size() + endung.size() > NamenGrenze(ordner_)) {
        e.Fehler = BatchFehler::NameZuLang;
        return e;
    }
    s_.speicher.AusgabeDatei = e.Datei;
    switch (AusgabeSchreiben(s_, FormatNachEndung(e.Datei))) {
    case Schreibergebnis::Ok:
        break;
    case Schreibergebnis::NichtErstellt:
        e.Fehler = BatchFehler::NichtErstellt;
        break;
    case Schreibergebnis::Schreibfehler:
        e.Fehler = BatchFehler::Schreibfehler;
        e.Meldung = dienste_.MeldungText();
        break;
    }
    return e;
}

std::vector<BatchEintrag> BatchAusfuehren(Sitzung& s, const std::string& ordner) {
    Fensterzustand& f = s.fenster;
    f.BatchAbbruch = false;
    std::vector<BatchEintrag> gelaufen;
    if (s.textquelle == nullptr) return gelaufen;
    const BatchEintrag* fehler = nullptr;
    {
        BatchLauf lauf(s, ordner);
        for (std::int32_t nr = 1; nr <= s.batch.AnzBatchZeilen(); ++nr) {
            gelaufen.push_back(lauf.Ausfuehren(nr));
            if (gelaufen.back().Fehler != BatchFehler::Keiner) {
                fehler = &gelaufen.back();
                break;
            }
            s.ui->EreignisseVerarbeiten();
            if (f.BatchAbbruch) break;
        }
    }
    f.BatchAbbruch = false;
    if (fehler != nullptr) {
        s.Melden(135, " " + std::to_string(fehler->Nr) + ": " + DateiName(fehler->Datei) + "\n" +
                          BatchFehlerText(s, *fehler));
    }
    return gelaufen;
}

std::vector<std::vector<std::int32_t>> BatchGruppen(const Batchzustand& b, int lastFilter) {
    const std::string endung = BatchEndung(lastFilter);
    std::vector<std::vector<std::int32_t>> gruppen;
    std::map<std::string, std::size_t> gruppeVonName;
    for (std::int32_t nr = 1; nr <= b.AnzBatchZeilen(); ++nr) {
        if (endung.empty()) {
            gruppen.push_back({nr});
            continue;
        }
        const std::string name = BatchName(b.BatchZeilen[static_cast<std::size_t>(nr - 1)]);
        const auto [it, neu] = gruppeVonName.emplace(name, gruppen.size());
        if (neu) gruppen.emplace_back();
        gruppen[it->second].push_back(nr);
    }
    return gruppen;
}

std::vector<BatchEintrag> BatchParallelAusfuehren(
    const Sitzung& vorlage, const Zeichenformat& format, const std::string& ordner, int faeden,
    const std::atomic<bool>& abbruch, const std::function<void(const BatchEintrag&)>& fertig,
    const std::function<void(Sitzung&, const BatchEintrag&)>& nachEintrag) {
    const auto gruppen = BatchGruppen(vorlage.batch, vorlage.einstellungen.LastFilter);
    const std::int32_t anzahl = vorlage.batch.AnzBatchZeilen();
    std::vector<std::optional<BatchEintrag>> ergebnisse(static_cast<std::size_t>(anzahl));
    std::mutex sperre;
    std::condition_variable gemeldet;
    std::atomic<std::size_t> naechsteGruppe{0};
    const int anzahlFaeden = std::max(1, std::min<int>(faeden, static_cast<int>(gruppen.size())));
    int laufend = anzahlFaeden;

    auto ablegen = [&](BatchEintrag e) {
        const std::lock_guard<std::mutex> l(sperre);
        ergebnisse[static_cast<std::size_t>(e.Nr - 1)] = std::move(e);
        gemeldet.notify_all();
    };
    auto arbeiten = [&] {
        try {
            Arbeitssitzung a(vorlage, format);
            BatchLauf lauf(a.s, ordner);
            for (std::size_t g = naechsteGruppe++; g < gruppen.size(); g = naechsteGruppe++) {
                for (const std::int32_t nr : gruppen[g]) {
                    if (abbruch) break;
                    BatchEintrag e;
                    try {
                        e = lauf.Ausfuehren(nr);
                        if (nachEintrag) nachEintrag(a.s, e);
                    } catch (const std::exception& fehler) {
                        e.Nr = nr;
                        e.Fehler = BatchFehler::Umwandlung;
                        e.Meldung = fehler.what();
                    }
                    ablegen(std::move(e));
                }
            }
        } catch (const std::exception&) {
            // Without memory for a session this thread runs nothing; the others go on.
        }
        const std::lock_guard<std::mutex> l(sperre);
        --laufend;
        gemeldet.notify_all();
    };

    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(anzahlFaeden));
    for (int i = 0; i < anzahlFaeden; ++i) threads.emplace_back(arbeiten);

    // Entries are handed on in order as soon as they and all before them are done.
    std::vector<BatchEintrag> gelaufen;
    for (std::size_t i = 0; i < ergebnisse.size(); ++i) {
        std::unique_lock<std::mutex> l(sperre);
        gemeldet.wait(l, [&] { return ergebnisse[i].has_value() || laufend == 0; });
        if (!ergebnisse[i]) continue;
        BatchEintrag e = *ergebnisse[i];
        l.unlock();
        fertig(e);
        gelaufen.push_back(std::move(e));
    }
    for (std::thread& t : threads) t.join();
    return gelaufen;
}

} // namespace konturo
