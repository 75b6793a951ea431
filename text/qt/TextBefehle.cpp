// Commands of the text workflow called from the main window's menus.
#include "text/qt/TextBefehle.h"

#include "app/Sitzung.h"

#include <QString>
#include <QWidget>

namespace konturo {

void TextFensterZeigen(Sitzung&, QWidget*) {}

void TextDateiLaden(Sitzung&, QWidget*, const QString&) {}

void ParameterFensterZeigen(Sitzung&, QWidget*) {}

void StatistikFensterZeigen(Sitzung&, QWidget*) {}

} // namespace konturo
