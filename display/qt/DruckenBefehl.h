// "Grafik drucken" in the window layer: the printer window, the document on a printer through
// QPrinter or into a PDF file, and the message window while the document is sent.
#pragma once

#include "display/qt/DruckerDialog.h"
#include "display/qt/Grafik_Form.h"

#include <functional>

class QWidget;

namespace konturo {

struct Sitzung;

// The printers Qt knows (QPrinterInfo): device names and the default printer.
DruckerListe InstallierteDrucker();

// What printing needs of the platform, kept by the main window for the whole session so that the
// printer chosen last is offered again. Tests replace the functions.
struct DruckDienste {
    std::function<DruckerListe()> druckerListe = InstallierteDrucker;
    // The save dialog that names the PDF file; empty: Qt's own file dialog.
    std::function<DateiDialogErgebnis(const DateiDialogAnfrage&)> dateiDialog;
    // The printer chosen last in the printer window.
    DruckerWahl aktuell;
    // The folder of the last PDF file; empty: the export folder (setting GOutPath).
    QString pdfOrdner;
};

// The menu command "Grafik drucken" of the main window hauptfenster.
void DruckenBefehl(Sitzung& s, QWidget* hauptfenster, DruckDienste& dienste);

} // namespace konturo
