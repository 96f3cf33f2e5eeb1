#pragma once
// A table model over a data set: one column per field, rows fetched as the view scrolls.
#include <QAbstractTableModel>
#include <QPointer>

class TFbDataSet;

class TFbDataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TFbDataSetModel(QObject* parent = nullptr);

    void SetDataSet(TFbDataSet* dataSet);
    TFbDataSet* DataSet() const { return FDataSet; }

    // Rows fetched at each step while the view scrolls.
    int BatchSize = 200;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    void Reset();
    void InsertRows(int newCount);
    QPointer<TFbDataSet> FDataSet;
    int FRows = 0;     // rows the model has announced
    int FColumns = 0;
    bool FNotifying = false;
};
