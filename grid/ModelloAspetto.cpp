#include "grid/ModelloAspetto.h"

#include "controls/MessageBoxes.h"
#include "db/Errore.h"
#include "db/FbDataSet.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPainter>
#include <QWidget>

namespace {

// The text typed in a cell as a value of the field's type; false when it is none.
bool ValoreDaTesto(const TFbFieldDef& campo, const QString& testo, QVariant& valore) {
    if (testo.trimmed().isEmpty()) {
        valore = QVariant();
        return true;
    }
    bool ok = true;
    switch (campo.Type) {
    case TFbFieldType::Smallint:
    case TFbFieldType::Integer:
        valore = testo.trimmed().toInt(&ok);
        if (ok && campo.Type == TFbFieldType::Smallint) ok = valore.toInt() >= -32768 && valore.toInt() <= 32767;
        return ok;
    case TFbFieldType::Largeint:
        valore = testo.trimmed().toLongLong(&ok);
        return ok;
    default:
        valore = testo;
        return true;
    }
}

}  // namespace

int TModelloAspetto::ColonnaCampo(const QString& nome) const {
    return DataSet() && DataSet()->Active() ? DataSet()->FieldIndex(nome) : -1;
}

int TModelloAspetto::ColonnaColore() const { return ColonnaCampo(QStringLiteral("COLORECOLONNA")); }

Qt::ItemFlags TModelloAspetto::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = TFbDataSetModel::flags(index);
    if (!index.isValid() || index.column() == ColonnaCampo(QStringLiteral("NOMECAMPO"))) return f;
    return f | Qt::ItemIsEditable;
}

QVariant TModelloAspetto::data(const QModelIndex& index, int role) const {
    TFbDataSet* d = DataSet();
    const bool inModifica = d && index.isValid() && d->State() == TDataSetState::Edit && index.row() == d->RecNo();
    if (!inModifica || (role != Qt::DisplayRole && role != Qt::EditRole)) return TFbDataSetModel::data(index, role);
    const TFbField campo = d->Field(index.column());
    return role == Qt::DisplayRole ? QVariant(campo.AsString()) : campo.AsVariant();
}

bool TModelloAspetto::ValoreValido(const QModelIndex& index, const QString& testo) const {
    TFbDataSet* d = DataSet();
    if (!d || !d->Active() || index.column() < 0 || index.column() >= d->FieldCount()) return false;
    QVariant valore;
    return ValoreDaTesto(d->FieldDefs().at(index.column()), testo, valore);
}

void TModelloAspetto::PostaRiga() {
    TFbDataSet* d = DataSet();
    if (d && d->State() == TDataSetState::Edit) d->Post();
}

bool TModelloAspetto::setData(const QModelIndex& index, const QVariant& value, int role) {
    TFbDataSet* d = DataSet();
    if (role != Qt::EditRole || !d || !d->Active() || !(flags(index) & Qt::ItemIsEditable)) return false;
    QVariant valore = value;
    if (value.typeId() == QMetaType::QString && !ValoreDaTesto(d->FieldDefs().at(index.column()), value.toString(), valore))
        return false;
    try {
        if (index.row() != d->RecNo()) {
            PostaRiga();
            d->MoveTo(index.row());
        }
        if (d->State() != TDataSetState::Edit) d->Edit();
        d->SetFieldValue(index.column(), valore);
    } catch (const Exception& e) {
        // called from the view's editor: the error is shown here and the edit refused
        MessageBoxes().Errore(qobject_cast<QWidget*>(QObject::parent()), e.Message());
        return false;
    }
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

QColor ColoreCampione(const QVariant& valore, const QPalette& tavolozza) {
    const qint64 colore = valore.isNull() ? 0 : valore.toLongLong();
    return colore == 0 ? tavolozza.color(QPalette::Window) : ColoreQt(TColore(colore), tavolozza);
}

TDelegatoAspetto::TDelegatoAspetto(QAbstractItemView* vista) : QStyledItemDelegate(vista), FVista(vista) {}

QWidget* TDelegatoAspetto::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    return editor;
}

void TDelegatoAspetto::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* testo = static_cast<QLineEdit*>(editor);
    if (FRifiutato.isValid() && FRifiutato == index) {
        testo->setText(FTestoRifiutato);
        FRifiutato = QPersistentModelIndex();
        return;
    }
    // the editor opened by a typed key gets that key after this
    testo->setText(index.data(Qt::EditRole).toString());
}

void TDelegatoAspetto::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    const QString testo = static_cast<QLineEdit*>(editor)->text();
    auto* aspetto = qobject_cast<TModelloAspetto*>(model);
    if (aspetto && !aspetto->ValoreValido(index, testo)) {
        const bool inAttesa = FRifiutato.isValid();
        FRifiutato = index;
        FTestoRifiutato = testo;
        // the view closes the editor once this returns: the message and the new editor follow it
        if (!inAttesa) QMetaObject::invokeMethod(const_cast<TDelegatoAspetto*>(this), &TDelegatoAspetto::Riapri, Qt::QueuedConnection);
        return;
    }
    model->setData(index, testo);
}

void TDelegatoAspetto::Riapri() {
    if (!FRifiutato.isValid()) return;
    const QModelIndex cella = FRifiutato;
    const QString campo = cella.model()->headerData(cella.column(), Qt::Horizontal).toString();
    MessageBoxes().Avviso(FVista->window(), QString("Valore \"%1\" non valido per il campo %2").arg(FTestoRifiutato, campo));
    FVista->setCurrentIndex(cella);
    FVista->setFocus();
    FVista->edit(cella);
    // what was typed comes back as it was left, ready to be corrected
    if (auto* editor = qobject_cast<QLineEdit*>(FVista->indexWidget(cella))) editor->end(false);
}

void TDelegatoColore::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    painter->fillRect(option.rect, ColoreCampione(index.data(Qt::EditRole), option.palette));
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    }
}
