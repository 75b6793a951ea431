// The UI services over the main window: progress bar, busy state and pointer, message boxes with
// language texts, the yes/no question and pending events.
#pragma once

#include "app/UiDienste.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>

namespace konturo {

class Grafik_Form;

class UiDiensteQt : public UiDienste {
public:
    explicit UiDiensteQt(Grafik_Form& form) : form_(form) {}
    ~UiDiensteQt() override;

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

    // The message box and the question; tests replace them so nothing waits for a click.
    std::function<void(int textNr, const QString& text)> meldungZeigen;
    std::function<bool(const QString& frage)> frageStellen;

private:
    // Lets the window paint what changed (progress bar, drawing area, a dialog closed over it) at
    // most every AuffrischAbstandMs while work runs, without taking any user input.
    void Auffrischen();

    Grafik_Form& form_;
    int sanduhren_ = 0;
    QElapsedTimer seitAuffrischen_;
};

} // namespace konturo
