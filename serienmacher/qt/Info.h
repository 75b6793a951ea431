// The about box Info: title, version and what the program is for; "OK" closes it. It opens
// centred over its parent window.
#pragma once

#include <QDialog>

namespace konturo::serienmacher {

class Info : public QDialog {
    Q_OBJECT
public:
    Info(bool deutsch, QWidget* eltern);

protected:
    void showEvent(QShowEvent* ereignis) override;
};

} // namespace konturo::serienmacher
