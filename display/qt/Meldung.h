// The message window Meldung: caption "Hinweis", one label; shown modeless during start-up and
// other waits, centred over the main window.
#pragma once

#include <QDialog>

class QLabel;

namespace konturo {

struct Sitzung;

class Meldung : public QDialog {
    Q_OBJECT
public:
    Meldung(const Sitzung& s, QWidget* hauptfenster);
    // Sets the label, shows the window and lets it paint.
    void Zeigen(const QString& text);
    QLabel* Label1() const { return label1_; }

private:
    QLabel* label1_;
};

} // namespace konturo
