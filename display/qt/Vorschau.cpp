// Preview files: a QPdfWriter page through the print code, a QImage through the redraw.
#include "display/qt/Vorschau.h"

#include "app/Sitzung.h"
#include "display/GrafikDrucken.h"
#include "display/GrafikZeichnen.h"
#include "display/qt/Bildflaeche.h"
#include "display/qt/DruckflaecheQt.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>

namespace konturo {

namespace {

bool PdfSchreiben(const Sitzung& s, const QString& pfad) {
    // The file is opened here rather than by the writer, so that a path that cannot be written is
    // a plain false instead of a painter warning on standard error.
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly)) return false;
    QPdfWriter pdf(&datei);
    pdf.setCreator(QStringLiteral("Konturo"));
    pdf.setTitle(QFileInfo(pfad).completeBaseName());
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, PdfRaender(),
                                  QPageLayout::Millimeter));
    DruckflaecheQt f(pdf);
    if (!f.Begonnen()) return false;
    // A drawing without extent leaves the page blank, as it would leave the paper.
    ZeichnungDrucken(s.speicher, f);
    return f.Beenden() && datei.flush() && datei.error() == QFileDevice::NoError;
}

bool PngSchreiben(Sitzung& s, const QString& pfad) {
    QImage bild(VorschauBreite, VorschauHoehe, QImage::Format_RGB32);
    {
        Bildflaeche f(&bild);
        s.fenster.Seitenverhaeltnis = static_cast<double>(VorschauBreite) / VorschauHoehe;
        Neuzeichnen(s, f);
    }
    return bild.save(pfad, "PNG");
}

} // namespace

Vorschauart VorschauartVon(const std::string& pfad) {
    const QString endung = QFileInfo(QString::fromStdString(pfad)).suffix().toLower();
    if (endung == QLatin1String("pdf")) return Vorschauart::Pdf;
    if (endung == QLatin1String("png")) return Vorschauart::Png;
    return Vorschauart::Keine;
}

bool VorschauSchreiben(Sitzung& s, const std::string& pfad) {
    const QString datei = QString::fromStdString(pfad);
    switch (VorschauartVon(pfad)) {
    case Vorschauart::Pdf:
        return PdfSchreiben(s, datei);
    case Vorschauart::Png:
        return PngSchreiben(s, datei);
    case Vorschauart::Keine:
        break;
    }
    return false;
}

} // namespace konturo
