// The message window.
#include "display/qt/Meldung.h"

#include "app/Sitzung.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace konturo {

Meldung::Meldung(const Sitzung& s, QWidget* hauptfenster) : QDialog(hauptfenster) {
    setObjectName(QStringLiteral("Meldung"));
    const std::string& titel = s.Text(132);
    setWindowTitle(titel.empty() ? QStringLiteral("Hinweis") : QString::fromStdString(titel));
    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    setMinimumSize(300, 80);
    setModal(false);
}

void Meldung::Zeigen(const QString& text) {
    label1_->setText(text);
    adjustSize();
    if (QWidget* haupt = parentWidget()) {
        const QRect h = haupt->geometry();
        move(h.left() + h.width() / 2 - width() / 2, h.top() + h.height() / 2 - height() / 2);
    }
    show();
    QCoreApplication::processEvents();
}

} // namespace konturo
