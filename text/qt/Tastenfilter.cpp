// Keystroke filter of the number fields as an event filter on the line edit.
#include "text/qt/Tastenfilter.h"

#include "text/SyntaxCheck.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace konturo {

namespace {

class TastenfilterObjekt : public QObject {
public:
    TastenfilterObjekt(QLineEdit* feld, Tastenfilter art, const bool& dezimalPunkt)
        : QObject(feld), feld_(feld), art_(art), dezimalPunkt_(dezimalPunkt) {}

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (objekt != feld_) return false;
        if (ereignis->type() == QEvent::FocusIn) {
            // After the click that gave the focus has placed the caret.
            QTimer::singleShot(0, feld_, [f = feld_] { f->selectAll(); });
            return false;
        }
        if (ereignis->type() != QEvent::KeyPress) return false;
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
        const QString text = taste->text();
        if (text.size() != 1) return false; // navigation keys, Delete, dead keys
        const std::int32_t code = text.at(0).unicode();
        if (code == 127 || (code < 32 && code != 8)) return false; // Delete, Enter, Tab, Escape
        const std::int32_t neu = TasteFiltern(art_, code, dezimalPunkt_);
        if (neu == code) return false;
        if (neu != 0) feld_->insert(QString(QChar(static_cast<char16_t>(neu))));
        return true;
    }

private:
    QLineEdit* feld_;
    Tastenfilter art_;
    const bool& dezimalPunkt_;
};

} // namespace

std::int32_t TasteFiltern(Tastenfilter art, std::int32_t taste, bool dezimalPunkt) {
    switch (art) {
    case Tastenfilter::KommaZahl:
        CheckKommaZahl(taste, dezimalPunkt);
        break;
    case Tastenfilter::PlusMinusKommaZahl:
        CheckPlusMinusKommaZahl(taste, dezimalPunkt);
        break;
    case Tastenfilter::KommaZahlTaste:
        KommaZahlTaste(taste, dezimalPunkt);
        break;
    case Tastenfilter::ZiffernTaste:
        ZiffernTaste(taste);
        break;
    }
    return taste;
}

void TastenfilterSetzen(QLineEdit* feld, Tastenfilter art, const bool& dezimalPunkt) {
    feld->installEventFilter(new TastenfilterObjekt(feld, art, dezimalPunkt));
}

} // namespace konturo
