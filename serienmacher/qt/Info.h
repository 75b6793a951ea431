// The about box Info: title, version and what the program is for; "OK" closes it. Like every
// dialog with a parent, Qt opens it centred over that window (kept on the screen).
#pragma once

#include <QDialog>

namespace konturo::serienmacher {

class Info : public QDialog {
    Q_OBJECT
public:
    Info(bool deutsch, QWidget* eltern);
};

} // namespace konturo::serienmacher
