#pragma once
// A whole table as a data set: rows in the order of its index fields, optionally filtered.
#include "db/FbDataSet.h"

struct TFbIndexDef {
    QString Name;
    QStringList Fields;
    bool Unique = false;
    bool Descending = false;
    bool Primary = false;
};

class TFbTable : public TFbDataSet {
    Q_OBJECT
public:
    explicit TFbTable(QObject* owner = nullptr) : TFbDataSet(owner) {}

    QString TableName;
    QString IndexFieldNames;  // fields of the row order, separated by ";"

    // Row filter: while Filtered is on, rows the callback refuses are skipped.
    std::function<bool(const TFbDataSet&, const TFbRow&)> OnFilterRecord;
    bool Filtered = false;

    // A detail table names its master data set; the grid only asks whether there is one.
    TFbDataSet* MasterSource = nullptr;

    // Index definitions of the table, read from the RDB$ tables.
    QVector<TFbIndexDef> IndexDefs();
    // Deletes every row of the table.
    void EmptyTable();

protected:
    QStringList SelectSQL() const override;
    bool ParamCheckForSelect() const override { return false; }
    bool Accept(const TFbRecord& row) const override;
    void WriteRow(bool inserting, const TFbRow& oldRow, const TFbRow& newRow) override;
};
