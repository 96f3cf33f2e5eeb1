#include "controls/InvioSulPulsante.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

class TInvioSulPulsante : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        auto* tasto = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modificatori = tasto->modifiers() & ~Qt::KeypadModifier;
        if ((tasto->key() != Qt::Key_Return && tasto->key() != Qt::Key_Enter) || modificatori != Qt::NoModifier)
            return QObject::eventFilter(watched, event);
        static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

}  // namespace

void InvioSulPulsante(QPushButton* pulsante) {
    pulsante->setAutoDefault(false);
    pulsante->installEventFilter(new TInvioSulPulsante(pulsante));
}
