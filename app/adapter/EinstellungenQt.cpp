// QSettings backend of the settings store.
#include "app/adapter/EinstellungenQt.h"

namespace konturo {

EinstellungenQt::EinstellungenQt()
    : EinstellungenQt(QStringLiteral("Konturo"), QStringLiteral("Konturo")) {}

EinstellungenQt::EinstellungenQt(const QString& organisation, const QString& anwendung)
    : einstellungen_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                 organisation, anwendung)) {}

EinstellungenQt::EinstellungenQt(const QString& iniDatei)
    : einstellungen_(std::make_unique<QSettings>(iniDatei, QSettings::IniFormat)) {}

QString EinstellungenQt::GespeicherterSchluessel(const QString& abschnitt,
                                                 const QString& schluessel) {
    einstellungen_->beginGroup(abschnitt);
    const QStringList schluesselListe = einstellungen_->childKeys();
    einstellungen_->endGroup();
    for (const QString& k : schluesselListe) {
        if (k.compare(schluessel, Qt::CaseInsensitive) == 0) return k;
    }
    return {};
}

std::optional<std::string> EinstellungenQt::Lesen(const std::string& abschnitt,
                                                  const std::string& schluessel) {
    const QString ab = QString::fromStdString(abschnitt);
    const QString k = GespeicherterSchluessel(ab, QString::fromStdString(schluessel));
    if (k.isEmpty()) return std::nullopt;
    const QVariant wert = einstellungen_->value(ab + QLatin1Char('/') + k);
    return wert.toString().toStdString();
}

bool EinstellungenQt::Schreiben(const std::string& abschnitt, const std::string& schluessel,
                                const std::string& wert) {
    const QString ab = QString::fromStdString(abschnitt);
    const QString neu = QString::fromStdString(schluessel);
    const QString alt = GespeicherterSchluessel(ab, neu);
    if (!alt.isEmpty() && alt != neu) einstellungen_->remove(ab + QLatin1Char('/') + alt);
    einstellungen_->setValue(ab + QLatin1Char('/') + neu, QString::fromStdString(wert));
    return einstellungen_->status() == QSettings::NoError && einstellungen_->isWritable();
}

bool EinstellungenQt::Abschliessen() {
    einstellungen_->sync();
    return einstellungen_->status() == QSettings::NoError;
}

} // namespace konturo
