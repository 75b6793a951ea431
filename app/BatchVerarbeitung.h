// Batch runs: the entries of a ".bch" file, each converted with the current font and parameters
// and written as one file, in the type of the last export, into the batch file's folder.
#pragma once

#include "app/UiDienste.h"
#include "output/FSO_Funktionen.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace konturo {

struct Sitzung;
struct Zeichenformat;

struct Batchzustand {
    std::string BatchPfad;
    // Entries 1 .. AnzBatchZeilen at index 0 .. AnzBatchZeilen - 1: the text as read with every
    // "|" already a CR LF line break; after its run an entry holds its cleaned file name.
    std::vector<std::string> BatchZeilen;
    std::int32_t BatchZeile = 0;

    std::int32_t AnzBatchZeilen() const { return static_cast<std::int32_t>(BatchZeilen.size()); }
};

// A batch file larger than this is no list of sign texts; refusing it keeps a wrong choice in the
// open dialog from filling the memory.
inline constexpr std::uintmax_t MaxBatchDatei = 64ULL * 1024 * 1024;

// The entries of a batch file's bytes: UTF-8 when the bytes are valid UTF-8 (a byte order mark is
// skipped), Windows-1252 otherwise; lines end in CR LF, LF or CR. The list ends at the first line
// that is empty or holds only blanks. Every "|" becomes CR LF.
std::vector<std::string> BatchZeilenLesen(std::string_view bytes);

// Fills BatchZeilen from BatchPfad. Only a regular file of at most MaxBatchDatei bytes is read;
// otherwise BatchZeilen stays empty and the result says why.
Dateifehler BatchLesen(Sitzung& s);

// An entry as a file name: "/", "\", "+", "#", "<", ">" and "|" become blanks, then every blank
// and every CR LF becomes "_". Everything else is kept.
std::string BatchName(const std::string& eintrag);

// The extension of the batch output for LastFilter 1 to 4 (".dxf", ".geo", ".vlg", ".m10");
// empty for any other value: the entries are converted and nothing is written.
std::string BatchEndung(int lastFilter);

// The folder the outputs of a batch file go into: the batch file's own folder.
std::string BatchOrdner(const std::string& batchPfad);

enum class BatchFehler {
    Keiner,
    Umwandlung,    // the conversion gave a message (font, outline, approximation)
    NameUngueltig, // the file name holds a character no file name may hold
    NameZuLang,    // the file name is longer than the folder's file system allows
    NichtErstellt, // the file could not be created
    Schreibfehler  // writing failed part-way
};

struct BatchEintrag {
    std::int32_t Nr = 0;
    // The output file; empty when LastFilter writes nothing.
    std::string Datei;
    // Lines, arcs and circles of the entry's drawing.
    std::int32_t Elemente = 0;
    BatchFehler Fehler = BatchFehler::Keiner;
    // The first message the conversion or the writer gave (language text with its suffix).
    std::string Meldung;
};

// The failure of an entry in the current language; empty for an entry without failure.
std::string BatchFehlerText(const Sitzung& s, const BatchEintrag& e);

// The UI services of a run: the run owns the busy state, the "Abbruch" button and the progress bar
// (one step per entry), so the operations inside it must not switch them; their messages are kept
// as the entry's failure instead of being shown; after pending events a cancel request of the
// conversion is dropped, so every entry is converted whole and the stop button's BatchAbbruch
// ends the run after the entry in hand.
class BatchDienste : public UiDienste {
public:
    BatchDienste(Sitzung& s, UiDienste& innen) : s_(s), innen_(innen) {}

    void FortschrittMaximum(std::int32_t) override {}
    void FortschrittWert(std::int32_t) override {}
    void BeschaeftigtSetzen() override {}
    void BereitSetzen() override {}
    void AbbruchKnopf(bool) override {}
    void Sanduhr(bool an) override { innen_.Sanduhr(an); }
    void Meldung(int textNr, const std::string& text) override;
    bool JaNeinFrage(const std::string& frage) override { return innen_.JaNeinFrage(frage); }
    void EreignisseVerarbeiten() override;
    void Neuzeichnen() override { innen_.Neuzeichnen(); }
    void MenuesNachUmwandlung(bool textModus) override { innen_.MenuesNachUmwandlung(textModus); }
    void ImportParameterZeigen() override { innen_.ImportParameterZeigen(); }

    // Forgets the kept message (before each entry).
    void MeldungVergessen();
    bool Gemeldet() const { return gemeldet_; }
    const std::string& MeldungText() const { return text_; }

private:
    Sitzung& s_;
    UiDienste& innen_;
    bool gemeldet_ = false;
    std::string text_;
};

// One batch run over s.batch.BatchZeilen through s.textquelle: while it lives the session's UI
// services are its BatchDienste, the window is busy with the "Abbruch" button on, and the
// progress bar counts the entries.
class BatchLauf {
public:
    BatchLauf(Sitzung& s, std::string ordner);
    ~BatchLauf();
    BatchLauf(const BatchLauf&) = delete;
    BatchLauf& operator=(const BatchLauf&) = delete;

    // Entry nr (1-based): puts it into the text source, converts it, lets pending events run and,
    // for LastFilter 1 to 4, writes it as BatchName + extension into the folder, even when the
    // conversion produced nothing. Nothing is written when the conversion failed. Afterwards the
    // entry in BatchZeilen holds its cleaned name.
    BatchEintrag Ausfuehren(std::int32_t nr);

    // The UI services of the window or command line around the run.
    UiDienste& Innen() { return innen_; }

private:
    Sitzung& s_;
    UiDienste& innen_;
    BatchDienste dienste_;
    std::string ordner_;
};

// The window's run (menu "B&atch-Datei laden" after BatchLesen): entries 1 .. AnzBatchZeilen in
// order, pending events after each, ending after the entry in hand when BatchAbbruch is set. A
// failing entry stops the run with one message (language text 135) naming the entry, its file and
// the reason; the files written before it stay. The drawing shows the last entry converted.
// Returns the entries run.
std::vector<BatchEintrag> BatchAusfuehren(Sitzung& s, const std::string& ordner);

// Entry numbers grouped by the file they write, each group in entry order, the groups in the
// order of their first entry; entries that write nothing form groups of their own. The groups of a
// parallel run go to the threads whole, so a file written twice ends with the later entry.
std::vector<std::vector<std::int32_t>> BatchGruppen(const Batchzustand& b, int lastFilter);

// The command line's run: the entries of vorlage.batch.BatchZeilen on `faeden` threads, each with a
// session of its own that starts as a copy of vorlage's settings, window state, layout values and
// frame template, and a plain text source in `format`. Entries that give the same file are run in
// order on one thread, so the files are the same bytes as those of a run on one thread. A failing
// entry does not stop the others. `fertig` is called on the calling thread for every entry, in
// entry order. When `abbruch` becomes true no further entry is started. `nachEintrag`, when given,
// is called on the entry's own thread right after the entry ran, with the session that ran it
// (its store holds the entry's drawing), before the entry is handed to `fertig`. Returns the
// entries run, in order.
std::vector<BatchEintrag> BatchParallelAusfuehren(
    const Sitzung& vorlage, const Zeichenformat& format, const std::string& ordner, int faeden,
    const std::atomic<bool>& abbruch, const std::function<void(const BatchEintrag&)>& fertig,
    const std::function<void(Sitzung&, const BatchEintrag&)>& nachEintrag = {});

} // namespace konturo
