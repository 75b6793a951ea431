// Commands of the text workflow that the main window's menus call: the text window, the text
// parameters window and the statistics window.
#pragma once

class QString;
class QWidget;

namespace konturo {

struct Sitzung;
class Textquelle;

// mnufontErzeugen: shows the text window (created once, later only hidden) at TextPosX/TextPosY.
void TextFensterZeigen(Sitzung& s, QWidget* hauptfenster);
// mnuText after its open dialog: loads the file into the text window's rich text (".rtf" in any
// case as rich text, anything else as plain text), then shows the text window.
void TextDateiLaden(Sitzung& s, QWidget* hauptfenster, const QString& pfad);
// The text window's rich text as the session's text source (s.textquelle), loading the window
// hidden when it does not exist yet: batch runs put their lines into it. The window belongs to
// hauptfenster and lives, hidden between uses, until the main window goes.
Textquelle& TextfensterQuelle(Sitzung& s, QWidget* hauptfenster);
// After a language switch or a colour change: the text window, when it exists, takes the texts
// of the current language and the colours THF and TVF.
void TextfensterAuffrischen(Sitzung& s);
// mnuParameter: the text parameters window, modal, 1000 twips right of and below the main window.
void ParameterFensterZeigen(Sitzung& s, QWidget* hauptfenster);
// mnuStatistik, mnuStatistik2 and the "Statistik" buttons: the statistics window, modal.
void StatistikFensterZeigen(Sitzung& s, QWidget* eltern);

} // namespace konturo
