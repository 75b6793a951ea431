// Keystroke filters and focus selection for number fields of every window: each typed character
// goes through one of the filters of text/SyntaxCheck.h before the field sees it.
#pragma once

#include <QObject>

class QLineEdit;

namespace konturo {

enum class Tastenfilter { KommaZahl, PlusMinusKommaZahl, KommaZahlTaste, ZiffernTaste };

// Installs the filter on feld; dezimalPunkt is read at every keystroke (it must outlive the
// field, e.g. Speicher::DezimalPunkt of the session). The whole text is selected when the field
// receives the focus. Shortcuts with Ctrl (copy, paste, undo) pass unfiltered.
void TastenfilterSetzen(QLineEdit* feld, Tastenfilter art, const bool& dezimalPunkt);

// Applies the filter to one character code as the field would; 0 when it rejects the key.
std::int32_t TasteFiltern(Tastenfilter art, std::int32_t taste, bool dezimalPunkt);

} // namespace konturo
