#include "controls/ChiusuraFinestre.h"

#include "controls/MessageBoxes.h"

#include <QApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

void ChiudiModali(QWidget* finestra) {
    for (int i = 0; i < 16; ++i) {
        QWidget* modale = QApplication::activeModalWidget();
        if (!modale || modale == finestra || !modale->close()) break;
    }
}

void TastiChiusura(QWidget* finestra) {
    for (const QKeySequence& tasto : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* scorciatoia = new QShortcut(tasto, finestra);
        scorciatoia->setContext(Qt::WindowShortcut);
        QObject::connect(scorciatoia, &QShortcut::activated, finestra, &QWidget::close);
    }
}

void ChiudiProgramma() {
    SetMessageBoxes(MessageBoxesMute());
    ChiudiModali();
    QApplication::closeAllWindows();
}
