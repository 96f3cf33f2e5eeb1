#include "grid/RigheGriglia.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

TRigheGriglia::TRigheGriglia(QTableView& vista) : QObject(&vista), FVista(vista) {
    QAbstractItemModel* modello = vista.model();
    connect(modello, &QAbstractItemModel::modelReset, this, &TRigheGriglia::Pianifica);
    connect(modello, &QAbstractItemModel::rowsInserted, this, &TRigheGriglia::Pianifica);
    connect(modello, &QAbstractItemModel::layoutChanged, this, &TRigheGriglia::Pianifica);
    // hiding a column resizes its section to 0
    connect(vista.horizontalHeader(), &QHeaderView::sectionResized, this, &TRigheGriglia::Pianifica);
    connect(vista.verticalScrollBar(), &QScrollBar::valueChanged, this, &TRigheGriglia::Pianifica);
    vista.viewport()->installEventFilter(this);
}

bool TRigheGriglia::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FVista.viewport() && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) Pianifica();
    return QObject::eventFilter(watched, event);
}

void TRigheGriglia::Pianifica() {
    if (FPianificato) return;
    FPianificato = true;
    QTimer::singleShot(0, this, [this] {
        FPianificato = false;
        Riempi();
    });
}

void TRigheGriglia::Riempi() {
    QAbstractItemModel* modello = FVista.model();
    while (modello->canFetchMore({})) {
        const int righe = modello->rowCount();
        // the rows' places come from the row header, which no hidden column changes
        if (righe > 0 && FVista.rowViewportPosition(righe - 1) >= FVista.viewport()->height()) return;
        modello->fetchMore({});
        if (modello->rowCount() == righe) return;  // nothing came: a fetch that failed stops here
    }
}

int TRigheGriglia::RigheDaChiedere() const {
    const int altezza = qMax(1, FVista.verticalHeader()->defaultSectionSize());
    return qMax(32, 2 * (FVista.viewport()->height() / altezza + 1));
}

void TRigheGriglia::CaricaFino(int riga) {
    QAbstractItemModel* modello = FVista.model();
    while (modello->rowCount() <= riga && modello->canFetchMore({})) {
        const int righe = modello->rowCount();
        modello->fetchMore({});
        if (modello->rowCount() == righe) return;
    }
}
