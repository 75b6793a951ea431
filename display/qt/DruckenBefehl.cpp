// "Grafik drucken": the core's print command with Qt's printers, PDF output and windows.
#include "display/qt/DruckenBefehl.h"

#include "app/Sitzung.h"
#include "display/GrafikDrucken.h"
#include "display/qt/DruckflaecheQt.h"
#include "display/qt/Fensterhilfe.h"
#include "display/qt/Meldung.h"
#include "display/qt/Vorschau.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace konturo {

namespace {

// The PDF file's proposed name: the current drawing's base name.
QString PdfName(const Sitzung& s) {
    const QString basis = QFileInfo(Q(s.fenster.AktDatei)).completeBaseName();
    return (basis.isEmpty() ? QStringLiteral("Konturo") : basis) + QStringLiteral(".pdf");
}

DateiDialogErgebnis QtSpeicherDialog(QWidget* eltern, const DateiDialogAnfrage& a) {
    QFileDialog d(eltern);
    d.setObjectName(QStringLiteral("PdfDialog"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setDefaultSuffix(QStringLiteral("pdf"));
    d.setDirectory(a.ordner);
    d.selectFile(a.name);
    d.setNameFilters(FilterNachQt(a.filter));
    DateiDialogErgebnis e;
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return e;
    e.ok = true;
    e.pfad = d.selectedFiles().constFirst();
    return e;
}

class DruckumgebungQt : public Druckumgebung {
public:
    DruckumgebungQt(const Sitzung& s, QWidget* hauptfenster, DruckDienste& dienste)
        : s_(s), haupt_(hauptfenster), dienste_(dienste) {}

    std::int32_t DruckerDialogZeigen(Sitzung& s) override {
        DruckerDialog dialog(s, haupt_, dienste_.druckerListe(), dienste_.aktuell);
        dialog.exec();
        // The choice stays, as the system's current printer would, even after "Abbruch".
        dienste_.aktuell = dialog.AktuellerDrucker();
        return dialog.Exemplare();
    }

    std::unique_ptr<Druckflaeche> DokumentBeginnen(Sitzung& s) override {
        QString pdf;
        if (dienste_.aktuell.pdf) {
            pdf = PdfDateiErfragen(s);
            if (pdf.isEmpty()) return nullptr;
            drucker_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
            drucker_->setOutputFormat(QPrinter::PdfFormat);
            drucker_->setOutputFileName(pdf);
            drucker_->setPageMargins(PdfRaender(), QPageLayout::Millimeter);
        } else {
            const QPrinterInfo info = QPrinterInfo::printerInfo(dienste_.aktuell.name);
            // A printer removed since the list was read cannot take the document.
            if (info.isNull()) {
                s.Melden(179);
                return nullptr;
            }
            drucker_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        }
        drucker_->setCreator(QStringLiteral("Konturo"));
        drucker_->setDocName(QFileInfo(PdfName(s)).completeBaseName());
        QPrinter* p = drucker_.get();
        auto f = std::make_unique<DruckflaecheQt>(
            *p, [p] { return p->printerState() != QPrinter::Error; });
        if (f->Begonnen()) return f;
        if (dienste_.aktuell.pdf)
            s.Melden(178, " " + S(pdf));
        else
            s.Melden(179);
        return nullptr;
    }

    void MeldungZeigen(const std::string& text) override {
        meldung_ = std::make_unique<Meldung>(s_, haupt_);
        meldung_->Zeigen(Q(text));
    }
    void MeldungSchliessen() override { meldung_.reset(); }

private:
    // The PDF file's path from the save dialog, with ".pdf" added when the name has no extension;
    // empty when the user cancelled.
    QString PdfDateiErfragen(const Sitzung& s) {
        DateiDialogAnfrage a;
        a.speichern = true;
        a.ordner = dienste_.pdfOrdner.isEmpty() ? Q(s.einstellungen.GOutPath) : dienste_.pdfOrdner;
        a.name = PdfName(s);
        a.filter = Sprachtext(s, 180, "PDF-Dateien") + QStringLiteral(" (*.pdf)|*.pdf");
        const DateiDialogErgebnis r =
            dienste_.dateiDialog ? dienste_.dateiDialog(a) : QtSpeicherDialog(haupt_, a);
        if (!r.ok || r.pfad.isEmpty()) return {};
        QString pfad = r.pfad;
        if (QFileInfo(pfad).suffix().isEmpty()) pfad += QStringLiteral(".pdf");
        dienste_.pdfOrdner = QFileInfo(pfad).absolutePath();
        return pfad;
    }

    const Sitzung& s_;
    QWidget* haupt_;
    DruckDienste& dienste_;
    // The printer outlives the surface that paints on it: the core drops the surface first.
    std::unique_ptr<QPrinter> drucker_;
    std::unique_ptr<Meldung> meldung_;
};

} // namespace

DruckerListe InstallierteDrucker() {
    return {QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName()};
}

void DruckenBefehl(Sitzung& s, QWidget* hauptfenster, DruckDienste& dienste) {
    DruckumgebungQt umgebung(s, hauptfenster, dienste);
    GrafikDrucken(s, umgebung);
}

} // namespace konturo
