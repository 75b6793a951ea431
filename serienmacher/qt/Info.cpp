// The about box of Serienmacher.
#include "serienmacher/qt/Info.h"

#include "serienmacher/Texte.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace konturo::serienmacher {

namespace {

QString VersionsNummer() {
    return QStringLiteral("%1.%2.%3")
        .arg(KONTURO_VERSION_MAJOR)
        .arg(KONTURO_VERSION_MINOR)
        .arg(KONTURO_VERSION_PATCH);
}

} // namespace

Info::Info(bool deutsch, QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("Info"));
    setWindowTitle(QString::fromStdString(Text(TextNr::InfoTitel, deutsch)));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->setContentsMargins(24, 18, 24, 18);
    auto label = [&](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignCenter);
        layout->addWidget(l);
        return l;
    };
    QLabel* titel = label("Label1", QString::fromStdString(Text(TextNr::Titel, deutsch)));
    QFont f = titel->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    titel->setFont(f);
    label("Label2",
          QString::fromStdString(Text(TextNr::Version, deutsch, VersionsNummer().toStdString())));
    label("Label3", QString::fromStdString(Text(TextNr::Beschreibung, deutsch)));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    setFixedSize(sizeHint());
}

} // namespace konturo::serienmacher
