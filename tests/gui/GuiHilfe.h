// The main window of the Qt tests in a temporary program folder: its language file, the message
// and dialog seams recorded, start-up, and a small drawing imported through the menu command.
#pragma once

#include "app/Sitzung.h"
#include "display/qt/Grafik_Form.h"
#include "display/qt/UiDiensteQt.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace konturo::test {

// A closed rectangle from (10, 10) to (190, 90) points.
inline const char* const RechteckEps =
    "%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 0 0 200 100\r\n%%EndProlog\r\n"
    "10 10 moveto\r\n190 10 lineto\r\n190 90 lineto\r\n10 90 lineto\r\n10 10 lineto\r\n%%EOF\r\n";

// The installed language file with its "Language" line set to nr.
inline QByteArray DatMitSprache(int nr) {
    QFile f(QStringLiteral(KONTURO_BIN "/Konturo.dat"));
    f.open(QIODevice::ReadOnly);
    QByteArray d = f.readAll();
    d.replace("0;Language;1", "0;Language;" + QByteArray::number(nr));
    return d;
}

inline void DateiAnlegen(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    f.open(QIODevice::WriteOnly);
    f.write(inhalt);
}

struct GuiAufbau {
    QTemporaryDir ordner;
    Sitzung s;
    std::unique_ptr<Grafik_Form> form;
    QList<QPair<int, QString>> meldungen;
    QList<DateiDialogAnfrage> anfragen;
    DateiDialogErgebnis antwort;

    // sprachdatei empty: the installed "Konturo.dat" as it is.
    explicit GuiAufbau(const QByteArray& sprachdatei = {}) {
        const QString dat = ordner.filePath(QStringLiteral("Konturo.dat"));
        if (sprachdatei.isEmpty())
            QFile::copy(QStringLiteral(KONTURO_BIN "/Konturo.dat"), dat);
        else
            DateiAnlegen(dat, sprachdatei);
        form = std::make_unique<Grafik_Form>(s);
        form->Ui().meldungZeigen = [this](int nr, const QString& t) { meldungen.append({nr, t}); };
        form->Ui().frageStellen = [](const QString&) { return true; };
        form->dateiDialog = [this](const DateiDialogAnfrage& a) {
            anfragen.append(a);
            return antwort;
        };
    }

    QString Ini() const { return ordner.filePath(QStringLiteral("einstellungen.ini")); }

    bool Starten(int sw = 0, int sh = 0) {
        Startumgebung u;
        u.programmOrdner = ordner.path();
        u.einstellungsDatei = Ini();
        u.bildschirmBreite = sw;
        u.bildschirmHoehe = sh;
        QString grund;
        const bool ok = form->Starten(u, grund);
        if (!ok) qWarning() << grund;
        return ok;
    }

    // Imports eps as "klein.eps" through "mnuEPS", without the parameters window.
    void Importieren(const char* eps = RechteckEps) {
        const QString pfad = ordner.filePath(QStringLiteral("klein.eps"));
        DateiAnlegen(pfad, eps);
        antwort = {true, pfad, 1};
        s.fenster.ParameterZeigen = false;
        form->mnuEPS_Click();
    }

    QList<int> MeldungsNummern() const {
        QList<int> n;
        for (const auto& m : meldungen) n.append(m.first);
        return n;
    }

    bool An(const char* name) const { return form->Aktion(QLatin1String(name))->isEnabled(); }
    bool Haken(const char* name) const { return form->Aktion(QLatin1String(name))->isChecked(); }
};

} // namespace konturo::test
