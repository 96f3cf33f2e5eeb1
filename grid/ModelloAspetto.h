#pragma once
// The rows of the grid's layout table as the personalisation dialog shows and edits them: captions,
// colours and visibility can be typed, the field name is read-only, and the colour column is drawn
// as a plain swatch.
#include "db/FbDataSetModel.h"
#include "grid/ColoriGriglia.h"

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

class QAbstractItemView;

class TModelloAspetto : public TFbDataSetModel {
    Q_OBJECT
public:
    explicit TModelloAspetto(QObject* parent = nullptr) : TFbDataSetModel(parent) {}

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The row being edited shows its edited values.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Puts the row in edit mode (posting the row edited before, if another) and stores the value;
    // text is converted to the field's type, empty text giving NULL. False when the text is no
    // value of that type or the previous row cannot be posted.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Whether `testo` is a value of the field of `index`'s column (empty text: NULL).
    bool ValoreValido(const QModelIndex& index, const QString& testo) const;
    // Posts the row being edited, if any. Database errors propagate; the row stays in edit mode.
    void PostaRiga();
    int ColonnaColore() const;
    int ColonnaCampo(const QString& nome) const;
};

// The colour a swatch of the colour column shows: the stored colour when non-zero, else the
// window background (also for NULL).
QColor ColoreCampione(const QVariant& valore, const QPalette& tavolozza);

// Edits a cell of the dialog as text. A text that is no value of the field's type is refused with
// a message, and the cell opens again with what was typed, whatever ended the edit (Enter, Tab,
// another row, a click elsewhere).
class TDelegatoAspetto : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TDelegatoAspetto(QAbstractItemView* vista);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    // A refused text is waiting to be shown again in its cell.
    bool Rifiutato() const { return FRifiutato.isValid(); }

private:
    void Riapri();
    QAbstractItemView* FVista;
    mutable QPersistentModelIndex FRifiutato;  // the cell whose text was refused
    mutable QString FTestoRifiutato;
};

// Paints the colour column's cells as swatches instead of text.
class TDelegatoColore : public TDelegatoAspetto {
    Q_OBJECT
public:
    using TDelegatoAspetto::TDelegatoAspetto;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
