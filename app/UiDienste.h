// The UI services seam: what long operations need of the main window (progress bar, busy state,
// message boxes, questions, pending events). The Qt implementation lives in the window layer;
// UiDiensteKopflos serves tests and the command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace konturo {

class UiDienste {
public:
    virtual ~UiDienste() = default;

    // Progress bar ProgressBar1 of the main window.
    virtual void FortschrittMaximum(std::int32_t maximum) = 0;
    virtual void FortschrittWert(std::int32_t wert) = 0;
    // BeschaeftigtSetzen / BereitSetzen of the main window (menus off, "Abbruch" on / reverse).
    virtual void BeschaeftigtSetzen() = 0;
    virtual void BereitSetzen() = 0;
    // Enables or disables the "Abbruch" button on its own.
    virtual void AbbruchKnopf(bool aktiv) = 0;
    // Hourglass pointer over the main window on or off.
    virtual void Sanduhr(bool an) = 0;
    // A message box showing language text textNr; text is the full message already joined from
    // the language text and any suffix (a blank and a path, for example).
    virtual void Meldung(int textNr, const std::string& text) = 0;
    // A yes/no question; true for Yes.
    virtual bool JaNeinFrage(const std::string& frage) = 0;
    // Lets the user interface process pending events (only where "Unterbrechung" is 1).
    virtual void EreignisseVerarbeiten() = 0;

    // The redraw with caption after a conversion or import refilled the store.
    virtual void Neuzeichnen() {}
    // Menu entries that need geometry, after a text conversion (textModus true) or an import.
    virtual void MenuesNachUmwandlung(bool /*textModus*/) {}
    // Shows the import parameters window modally before a user-started graphic import.
    virtual void ImportParameterZeigen() {}
};

// Headless services: messages go to stderr and every call is recorded for tests.
class UiDiensteKopflos : public UiDienste {
public:
    struct Aufruf {
        std::string art;
        std::int64_t wert = 0;
        std::string text;
    };

    explicit UiDiensteKopflos(bool stillSein = false) : still_(stillSein) {}

    void FortschrittMaximum(std::int32_t maximum) override;
    void FortschrittWert(std::int32_t wert) override;
    void BeschaeftigtSetzen() override;
    void BereitSetzen() override;
    void AbbruchKnopf(bool aktiv) override;
    void Sanduhr(bool an) override;
    void Meldung(int textNr, const std::string& text) override;
    bool JaNeinFrage(const std::string& frage) override;
    void EreignisseVerarbeiten() override;
    void Neuzeichnen() override;
    void MenuesNachUmwandlung(bool textModus) override;
    void ImportParameterZeigen() override;

    // Answer given to every yes/no question.
    bool antwort = false;
    bool beschaeftigt = false;
    std::int32_t fortschrittMaximum = 0;
    std::int32_t fortschrittWert = 0;
    std::vector<Aufruf> aufrufe;
    // Language text numbers of the message boxes shown, in order.
    std::vector<int> meldungen;
    // Called from EreignisseVerarbeiten, so a test can act like a user between two steps.
    void (*beiEreignissen)(void* kontext) = nullptr;
    void* ereignisKontext = nullptr;

private:
    bool still_;
};

} // namespace konturo
