// The import parameters window.
#include "import/qt/EPS_Parameter.h"

#include "app/Sitzung.h"
#include "import/EPS_Einlesen.h"
#include "text/SyntaxCheck.h"
#include "text/qt/TextBefehle.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace konturo {

namespace {
// Offset of the window from the main window's top left corner, in pixels (1000 twips).
constexpr int Versatz = 1000 / 15;
} // namespace

EPS_Parameter::EPS_Parameter(Sitzung& s, QWidget* hauptfenster) : QDialog(hauptfenster), s_(s) {
    setObjectName(QStringLiteral("EPS_Parameter"));
    setWindowTitle(QStringLiteral("EPS-Parameter"));
    label1_ = new QLabel(QStringLiteral("Genauigkeit"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label4_ = new QLabel(QStringLiteral("Kreistoleranz"), this);
    label4_->setObjectName(QStringLiteral("Label4"));
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text3_ = new QLineEdit(this);
    text3_->setObjectName(QStringLiteral("Text3"));
    command1_ = new QPushButton(QStringLiteral("Vorschau"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(QStringLiteral("OK"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setDefault(true);
    command3_ = new QPushButton(QStringLiteral("Statistik"), this);
    command3_->setObjectName(QStringLiteral("Command3"));

    auto* raster = new QGridLayout(this);
    raster->addWidget(label1_, 0, 0);
    raster->addWidget(text1_, 0, 1);
    raster->addWidget(label4_, 1, 0);
    raster->addWidget(text3_, 1, 1);
    raster->addWidget(command1_, 2, 0);
    raster->addWidget(command3_, 2, 1);
    raster->addWidget(command2_, 3, 0, 1, 2);

    TexteSetzen();
    if (hauptfenster) {
        const QPoint ecke = hauptfenster->geometry().topLeft();
        move(ecke.x() + Versatz, ecke.y() + Versatz);
    }
    s_.fenster.ParameterFensterOffen = true;
    const bool punkt = s_.speicher.DezimalPunkt;
    text1_->setText(QString::fromStdString(ZahlAnzeigen(s_.einstellungen.Toleranz, punkt)));
    text3_->setText(QString::fromStdString(ZahlAnzeigen(s_.einstellungen.KreisToleranz, punkt)));

    connect(text1_, &QLineEdit::textChanged, this,
            [this] { FeldGeaendert(text1_, s_.einstellungen.Toleranz, "Toleranz"); });
    connect(text3_, &QLineEdit::textChanged, this,
            [this] { FeldGeaendert(text3_, s_.einstellungen.KreisToleranz, "KreisToleranz"); });
    text1_->installEventFilter(this);
    text3_->installEventFilter(this);
    connect(command1_, &QPushButton::clicked, this, &EPS_Parameter::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &EPS_Parameter::Command2_Click);
    connect(command3_, &QPushButton::clicked, this, &EPS_Parameter::Command3_Click);
}

EPS_Parameter::~EPS_Parameter() { s_.fenster.ParameterFensterOffen = false; }

void EPS_Parameter::TexteSetzen() {
    auto setzen = [this](auto* control, int nr) {
        const std::string& t = s_.Text(nr);
        if (!t.empty()) control->setText(QString::fromStdString(t));
    };
    const std::string& titel = s_.Text(66);
    if (!titel.empty()) setWindowTitle(QString::fromStdString(titel));
    setzen(label1_, 72);
    setzen(label4_, 78);
    setzen(command3_, 74);
    setzen(command1_, 75);
}

void EPS_Parameter::FeldGeaendert(QLineEdit* feld, double& wert, const char* schluessel) {
    const auto zahl = FeldZahl(feld->text().toStdString(), s_.speicher.DezimalPunkt);
    if (zahl && EinstellungImBereich(schluessel, *zahl)) wert = *zahl;
}

bool EPS_Parameter::eventFilter(QObject* objekt, QEvent* ereignis) {
    auto* feld = qobject_cast<QLineEdit*>(objekt);
    if (feld && ereignis->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, feld, &QLineEdit::selectAll);
    }
    if (feld && ereignis->type() == QEvent::KeyPress) {
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        const QString text = taste->text();
        // Only typed characters pass the filter; cursor and editing keys work as usual.
        if (text.size() == 1 && (text[0].isPrint() || text[0] == QChar(8))) {
            std::int32_t code = text[0].unicode();
            KommaZahlTaste(code, s_.speicher.DezimalPunkt);
            if (code == 0) return true;
            if (code != text[0].unicode()) {
                feld->insert(QString(QChar(static_cast<char16_t>(code))));
                return true;
            }
        }
    }
    return QDialog::eventFilter(objekt, ereignis);
}

void EPS_Parameter::Command1_Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    s_.fenster.ParameterZeigen = false;
    EPSEinlesen(s_);
    QApplication::restoreOverrideCursor();
}

void EPS_Parameter::Command2_Click() {
    s_.fenster.ParameterZeigen = false;
    s_.fenster.ParameterFensterOffen = false;
    accept();
}

void EPS_Parameter::Command3_Click() { StatistikFensterZeigen(s_, this); }

} // namespace konturo
