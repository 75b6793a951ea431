// Commands of the text workflow called from the main window's menus: the text window (created
// once per session and then only hidden), loading a text file into it, the parameters window and
// the statistics window.
#include "text/qt/TextBefehle.h"

#include "app/Sitzung.h"
#include "display/qt/Grafik_Form.h"
#include "display/qt/StatistikFenster.h"
#include "text/RtfLesen.h"
#include "text/Textquelle.h"
#include "text/qt/ParameterFenster.h"
#include "text/qt/TextFenster.h"

#include <QPointer>
#include <QString>
#include <QTextEdit>
#include <QWidget>

namespace konturo {

namespace {

struct Textfensterhalter {
    const Sitzung* sitzung = nullptr;
    QPointer<TextFenster> fenster;
};

Textfensterhalter& Halter() {
    static Textfensterhalter halter;
    return halter;
}

TextFenster& TextFensterHolen(Sitzung& s, QWidget* hauptfenster) {
    Textfensterhalter& h = Halter();
    if (!h.fenster || h.sitzung != &s) {
        delete h.fenster.data();
        h.fenster = new TextFenster(s, hauptfenster);
        h.sitzung = &s;
    }
    s.textquelle = &h.fenster->Quelle();
    return *h.fenster;
}

// The top-left corner 1000 twips right of and below the main window's.
void NebenHauptfenster(QWidget& fenster, QWidget* hauptfenster) {
    if (!hauptfenster) return;
    const QPoint ecke = hauptfenster->frameGeometry().topLeft();
    fenster.move(ecke + QPoint(1000 / Twips, 1000 / Twips));
}

} // namespace

Textquelle& TextfensterQuelle(Sitzung& s, QWidget* hauptfenster) {
    return TextFensterHolen(s, hauptfenster).Quelle();
}

void TextFensterZeigen(Sitzung& s, QWidget* hauptfenster) {
    TextFenster& fenster = TextFensterHolen(s, hauptfenster);
    fenster.move(s.einstellungen.TextPosX / Twips, s.einstellungen.TextPosY / Twips);
    fenster.show();
    fenster.raise();
    fenster.activateWindow();
}

void TextDateiLaden(Sitzung& s, QWidget* hauptfenster, const QString& pfad) {
    std::string bytes;
    const Dateifehler fehler = DateiEinlesen(pfad.toStdString(), MaxTextDatei, bytes);
    if (fehler != Dateifehler::Keiner) {
        s.DateifehlerMelden(fehler, pfad.toStdString(), MaxTextDatei);
        return;
    }

    TextFenster& fenster = TextFensterHolen(s, hauptfenster);
    if (pfad.right(3).compare(QStringLiteral("rtf"), Qt::CaseInsensitive) == 0) {
        const RtfText rtf = RtfLesen(bytes);
        if (!rtf.Fehler.empty()) {
            s.Melden(124, " " + pfad.toStdString() + " (" + rtf.Fehler + ")");
            return;
        }
        LaeufeSetzen(*fenster.RTF->document(), rtf);
    } else if (!IstTextdatei(bytes)) {
        s.Melden(169, " " + pfad.toStdString());
        return;
    } else {
        KlartextSetzen(*fenster.RTF->document(), bytes);
    }
    TextFensterZeigen(s, hauptfenster);
}

void TextfensterAuffrischen(Sitzung& s) {
    Textfensterhalter& h = Halter();
    if (!h.fenster || h.sitzung != &s) return;
    h.fenster->TexteSetzen();
    h.fenster->FarbenSetzen();
}

void ParameterFensterZeigen(Sitzung& s, QWidget* hauptfenster) {
    if (Halter().fenster && Halter().sitzung == &s) s.textquelle = &Halter().fenster->Quelle();
    ParameterFenster fenster(s, hauptfenster);
    NebenHauptfenster(fenster, hauptfenster);
    fenster.exec();
}

void StatistikFensterZeigen(Sitzung& s, QWidget* eltern) {
    StatistikFenster fenster(s, eltern);
    // Centred over the window that asked for it, also when that is a dialog (the window manager
    // would otherwise put it at the screen's corner, over the menu bar).
    if (eltern) {
        fenster.adjustSize();
        const QRect ueber = eltern->window()->frameGeometry();
        fenster.move(ueber.center() - QPoint(fenster.width() / 2, fenster.height() / 2));
    }
    fenster.exec();
}

} // namespace konturo
