// Small helpers shared by the windows: language texts with their German design captions, and
// text conversion between the core's UTF-8 strings and Qt.
#pragma once

#include "app/Sitzung.h"

#include <QString>

#include <string>

namespace konturo {

inline QString Q(const std::string& t) { return QString::fromStdString(t); }
inline std::string S(const QString& t) { return t.toStdString(); }

// Language text nr, or the control's German design caption when the language file lacks it.
inline QString Sprachtext(const Sitzung& s, int nr, const char* deutsch) {
    const std::string& t = s.Text(nr);
    return t.empty() ? QString::fromUtf8(deutsch) : QString::fromStdString(t);
}

} // namespace konturo
