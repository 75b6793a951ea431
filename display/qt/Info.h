// The about box Info: program title, version and what the program converts; "OK" closes it.
#pragma once

#include <QDialog>

namespace konturo {

struct Sitzung;

class Info : public QDialog {
    Q_OBJECT
public:
    Info(const Sitzung& s, QWidget* eltern);
};

} // namespace konturo
