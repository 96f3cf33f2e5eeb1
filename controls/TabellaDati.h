#pragma once
// A table for keyboard users: the arrows move between cells, while Tab and Shift+Tab, with or
// without Ctrl, move to the next and the previous control of the window, also from a cell that is
// being edited (its value is kept). Qt's tables otherwise move between cells on Tab and wrap
// around, so the focus never leaves them.
#include <QTableView>

class TTabellaDati : public QTableView {
    Q_OBJECT
public:
    explicit TTabellaDati(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
};
