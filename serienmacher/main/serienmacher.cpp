// Serienmacher: writes numbered batch files for Konturo's batch processing. Without arguments it
// opens its window; with arguments it runs headless for scripts and needs no display.
#include "app/adapter/EinstellungenQt.h"
#include "serienmacher/Befehlszeile.h"
#include "serienmacher/qt/Main.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <iostream>
#include <string>
#include <vector>

namespace {

// The window and the messages speak German to German users and English to everyone else.
bool DeutschGewuenscht() { return QLocale::system().language() == QLocale::German; }

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        // No QApplication here: it would need a display, and scripts have none.
        const std::vector<std::string> argumente(argv + 1, argv + argc);
        return konturo::serienmacher::KopflosAusfuehren(argumente, DeutschGewuenscht(), std::cout,
                                                        std::cerr);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Serienmacher"));
    QApplication::setOrganizationName(QStringLiteral("Konturo"));
    const bool deutsch = DeutschGewuenscht();
    // Qt's own dialogs (the save dialog) speak the window's language too, where Qt's translations
    // are installed; without them, and for English, they stay English.
    QTranslator qtTexte;
    if (deutsch && qtTexte.load(QStringLiteral("qtbase_de"),
                                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexte);
    // The user's store: ~/.config/Konturo/Serienmacher.ini, section "Param".
    konturo::EinstellungenQt speicher(QStringLiteral("Konturo"), QStringLiteral("Serienmacher"));
    konturo::serienmacher::Main fenster(speicher, deutsch);
    fenster.show();
    return QApplication::exec();
}
