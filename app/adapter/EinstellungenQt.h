// The settings backend over QSettings: an INI file in the user's configuration folder (by default
// organisation and application "Konturo"), keys matched without regard to case.
#pragma once

#include "app/EinstellungenSpeicher.h"

#include <QSettings>

#include <memory>

namespace konturo {

class EinstellungenQt : public EinstellungenSpeicher {
public:
    // The user's store; with a file path, that INI file instead (tests).
    EinstellungenQt();
    explicit EinstellungenQt(const QString& iniDatei);
    // The user's store of another program of the suite (Serienmacher).
    EinstellungenQt(const QString& organisation, const QString& anwendung);

    std::optional<std::string> Lesen(const std::string& abschnitt,
                                     const std::string& schluessel) override;
    bool Schreiben(const std::string& abschnitt, const std::string& schluessel,
                   const std::string& wert) override;
    // Writes pending changes to disk; false when the file could not be written.
    bool Abschliessen();

private:
    // The key as stored in the section, found without regard to case.
    QString GespeicherterSchluessel(const QString& abschnitt, const QString& schluessel);
    std::unique_ptr<QSettings> einstellungen_;
};

} // namespace konturo
