// Konturo, the converter's window program. It takes no arguments: everything comes from the
// language file beside the program and the user's settings.
#include "app/Sitzung.h"
#include "display/qt/Grafik_Form.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Konturo"));
    QApplication::setOrganizationName(QStringLiteral("Konturo"));

    konturo::Sitzung sitzung;
    konturo::Grafik_Form form(sitzung);
    konturo::Startumgebung umgebung;
    umgebung.programmOrdner = QCoreApplication::applicationDirPath();
    QString grund;
    if (!form.Starten(umgebung, grund)) {
        QMessageBox::critical(nullptr, QStringLiteral("Konturo"),
                              grund + QStringLiteral("\nKonturo wird beendet."));
        return 1;
    }
    form.show();
    return QApplication::exec();
}
