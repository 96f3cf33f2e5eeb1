#pragma once
// The rows of the grid's layout table as the personalisation dialog shows and edits them: captions,
// colours and visibility can be typed, the field name is read-only, and the colour column is drawn
// as a plain swatch.
#include "db/FbDataSetModel.h"
#include "grid/ColoriGriglia.h"

#include <QStyledItemDelegate>

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

    // Posts the row being edited, if any. Database errors propagate; the row stays in edit mode.
    void PostaRiga();
    int ColonnaColore() const;
    int ColonnaCampo(const QString& nome) const;
};

// The colour a swatch of the colour column shows: the stored colour when non-zero, else the
// window background (also for NULL).
QColor ColoreCampione(const QVariant& valore, const QPalette& tavolozza);

// Paints the colour column's cells as swatches instead of text.
class TDelegatoColore : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
