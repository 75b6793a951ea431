// UI services of the main window.
#include "display/qt/UiDiensteQt.h"

#include "display/qt/Grafik_Form.h"
#include "import/qt/EPS_Parameter.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

namespace konturo {

UiDiensteQt::~UiDiensteQt() {
    while (sanduhren_ > 0) {
        QApplication::restoreOverrideCursor();
        --sanduhren_;
    }
}

void UiDiensteQt::FortschrittMaximum(std::int32_t maximum) {
    // A range of 0 to 0 would turn the bar into an endless busy animation: nothing to do shows
    // as an empty bar.
    form_.Fortschritt()->setMaximum(std::max(1, maximum));
}

void UiDiensteQt::FortschrittWert(std::int32_t wert) {
    QProgressBar* p = form_.Fortschritt();
    p->setValue(std::clamp(wert, p->minimum(), p->maximum()));
    Auffrischen();
}

void UiDiensteQt::Auffrischen() {
    // Ten times a second looks fluid and costs the work almost nothing.
    constexpr qint64 AuffrischAbstandMs = 100;
    if (seitAuffrischen_.isValid() && seitAuffrischen_.elapsed() < AuffrischAbstandMs) return;
    seitAuffrischen_.start();
    // Input waits in the queue: whether it may interrupt the work is the setting "Unterbrechung".
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void UiDiensteQt::BeschaeftigtSetzen() { form_.BeschaeftigtSetzen(); }
void UiDiensteQt::BereitSetzen() { form_.BereitSetzen(); }
void UiDiensteQt::AbbruchKnopf(bool aktiv) {
    form_.AbbruchKnopf()->setEnabled(aktiv && form_.AbbruchMoeglich());
}

void UiDiensteQt::Sanduhr(bool an) {
    if (an) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++sanduhren_;
    } else if (sanduhren_ > 0) {
        QApplication::restoreOverrideCursor();
        --sanduhren_;
    }
}

void UiDiensteQt::Meldung(int textNr, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (meldungZeigen) {
        meldungZeigen(textNr, t);
        return;
    }
    QMessageBox::information(&form_, QStringLiteral("Konturo"), t);
}

bool UiDiensteQt::JaNeinFrage(const std::string& frage) {
    const QString t = QString::fromStdString(frage);
    if (frageStellen) return frageStellen(t);
    return QMessageBox::question(&form_, QStringLiteral("Konturo"), t,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void UiDiensteQt::EreignisseVerarbeiten() { QCoreApplication::processEvents(); }

void UiDiensteQt::Neuzeichnen() { form_.Neuzeichnen(); }

void UiDiensteQt::MenuesNachUmwandlung(bool textModus) { form_.MenuesNachUmwandlung(textModus); }

void UiDiensteQt::ImportParameterZeigen() {
    EPS_Parameter fenster(form_.Sitz(), &form_);
    fenster.exec();
}

} // namespace konturo
