#include "db/FbDataSetModel.h"

#include "db/FbDataSet.h"

TFbDataSetModel::TFbDataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

void TFbDataSetModel::SetDataSet(TFbDataSet* dataSet) {
    if (FDataSet) disconnect(FDataSet, nullptr, this, nullptr);
    FDataSet = dataSet;
    if (FDataSet) {
        connect(FDataSet, &TFbDataSet::Opened, this, &TFbDataSetModel::Reset);
        connect(FDataSet, &TFbDataSet::Closed, this, &TFbDataSetModel::Reset);
        connect(FDataSet, &TFbDataSet::RowsFetched, this, [this](int, int last) {
            // rows fetched by navigation become visible too
            if (last + 1 > FRows) InsertRows(last + 1);
        });
        connect(FDataSet, &TFbDataSet::RowAppended, this, [this](int row) {
            if (row >= FRows) InsertRows(row + 1);
        });
        connect(FDataSet, &TFbDataSet::RowChanged, this, [this](int row) {
            if (row < FRows) emit dataChanged(index(row, 0), index(row, FColumns - 1));
        });
    }
    Reset();
}

void TFbDataSetModel::Reset() {
    // views react to a change by asking for more rows; they get them once it has been announced
    FNotifying = true;
    beginResetModel();
    const bool active = FDataSet && FDataSet->Active();
    FColumns = active ? FDataSet->FieldCount() : 0;
    FRows = active ? FDataSet->FetchedCount() : 0;
    endResetModel();
    FNotifying = false;
}

int TFbDataSetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FRows; }

int TFbDataSetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FColumns; }

QVariant TFbDataSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !FDataSet || index.row() >= FRows || index.column() >= FColumns) return {};
    const TFbField field = FDataSet->FieldOfRow(index.row(), index.column());
    if (role == Qt::DisplayRole)
        return field.Def().Type == TFbFieldType::Blob ? QVariant(QStringLiteral("(BLOB)")) : QVariant(field.AsString());
    if (role == Qt::EditRole) return field.AsVariant();
    return {};
}

QVariant TFbDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (!FDataSet || section >= FColumns) return {};
    return FDataSet->FieldDefs().at(section).Name;
}

bool TFbDataSetModel::canFetchMore(const QModelIndex& parent) const {
    if (FNotifying || parent.isValid() || !FDataSet || !FDataSet->Active()) return false;
    return FRows < FDataSet->FetchedCount() || !FDataSet->AllFetched();
}

void TFbDataSetModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    const int wanted = FRows + BatchSize;
    if (FDataSet->FetchedCount() < wanted) FDataSet->FetchMore(wanted - FDataSet->FetchedCount());
    // rows fetched before (the first one at open) are announced here
    if (FDataSet->FetchedCount() > FRows) InsertRows(FDataSet->FetchedCount());
}

void TFbDataSetModel::InsertRows(int newCount) {
    FNotifying = true;
    beginInsertRows({}, FRows, newCount - 1);
    FRows = newCount;
    endInsertRows();
    FNotifying = false;
}
