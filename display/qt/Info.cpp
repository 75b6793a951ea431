// The about box.
#include "display/qt/Info.h"

#include "app/Sitzung.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace konturo {

Info::Info(const Sitzung& s, QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("Info"));
    setWindowTitle(QStringLiteral("Konturo-Info"));
    auto* layout = new QVBoxLayout(this);
    auto label = [&](const char* name, int nr, const QString& standard) {
        const std::string& text = s.Text(nr);
        auto* l = new QLabel(text.empty() ? standard : QString::fromStdString(text), this);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignCenter);
        layout->addWidget(l);
        return l;
    };
    QLabel* titel = label("Label2", 52, QStringLiteral("Konturo"));
    QFont f = titel->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    titel->setFont(f);
    auto* version = new QLabel(QStringLiteral("Version %1.%2.%3")
                                   .arg(KONTURO_VERSION_MAJOR)
                                   .arg(KONTURO_VERSION_MINOR)
                                   .arg(KONTURO_VERSION_PATCH),
                               this);
    version->setObjectName(QStringLiteral("Version"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    label("Label3", 51, QStringLiteral("TrueTypeFont, EPS, AI -> Geo / DXF-Konverter"));
    label("Label4", 53, {});
    label("Label5", 54, {});
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
}

} // namespace konturo
