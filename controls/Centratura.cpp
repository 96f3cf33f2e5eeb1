#include "controls/Centratura.h"

#include <QScreen>
#include <QWidget>

void CentraSulloSchermo(QWidget* finestra) {
    const QScreen* schermo = finestra->screen();
    if (!schermo) return;
    QRect cornice = finestra->frameGeometry();
    cornice.moveCenter(schermo->availableGeometry().center());
    finestra->move(cornice.topLeft());
}
