#include "controls/TabellaDati.h"

#include <QKeyEvent>

TTabellaDati::TTabellaDati(QWidget* parent) : QTableView(parent) { setTabKeyNavigation(false); }

void TTabellaDati::keyPressEvent(QKeyEvent* event) {
    // plain Tab reaches the next control through the widget itself; with Ctrl it arrives here
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && event->modifiers().testFlag(Qt::ControlModifier)) {
        const bool indietro = event->key() == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
        focusNextPrevChild(!indietro);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TTabellaDati::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // Tab in an editor: the value has been committed; the focus leaves the table instead of
    // opening the next cell
    if (hint != QAbstractItemDelegate::EditNextItem && hint != QAbstractItemDelegate::EditPreviousItem) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
}
