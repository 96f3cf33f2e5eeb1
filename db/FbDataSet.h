#pragma once
// Data sets: rows of a SELECT fetched on demand, with navigation, events and row editing.
#include "db/FbField.h"
#include "db/FbSQL.h"

#include <QObject>
#include <functional>

class TFbDatabase;
class TFbTransaction;

enum class TDataSetState { Inactive, Browse, Edit, Insert };

class TFbDataSet : public QObject {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TFbDataSet*)>;

    explicit TFbDataSet(QObject* owner = nullptr);
    ~TFbDataSet() override;

    TFbDatabase* Database() const { return FCursor.Database(); }
    void SetDatabase(TFbDatabase* database);
    TFbTransaction* Transaction() const { return FCursor.Transaction(); }
    void SetTransaction(TFbTransaction* transaction);

    // Events; an owner that installs its own keeps the previous one and calls it first.
    TNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;

    // Prepares the select statement now; later opens of the same text only execute it, with the
    // parameters of that moment. Without it every open prepares the statement anew.
    void Prepare();
    void Open();
    void Close();
    bool Active() const { return FState != TDataSetState::Inactive; }
    TDataSetState State() const { return FState; }

    // Navigation over the rows fetched so far; moving past them fetches more.
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    bool IsEmpty() const { return FRows.isEmpty(); }
    int RecNo() const { return FCurrent; }  // 0-based index of the current row, -1 when none
    void MoveTo(int row);

    // Rows on demand: the cursor stays open and rows are fetched as they are needed.
    int FetchedCount() const { return int(FRows.size()); }
    bool AllFetched() const { return FAllFetched; }
    int FetchMore(int count);  // rows actually added
    TFbField FieldOfRow(int row, int index) const;  // a field of a fetched row

    const TFbFieldDefs& FieldDefs() const { return FFieldDefs; }
    int FieldCount() const { return int(FFieldDefs.size()); }
    int FieldIndex(const QString& name) const;
    int RequiredFieldIndex(const QString& name) const;  // raises when absent
    TFbField FieldByName(const QString& name) const;  // raises when absent
    TFbField Field(int index) const;

    // Row editing (see TFbQuery::UpdateObject and TFbTable).
    void Edit();
    void Append();
    void SetFieldValue(const QString& name, const QVariant& value);
    void SetFieldValue(int index, const QVariant& value);
    void Post();
    void Cancel();

signals:
    void Opened();
    void Closed();
    void RowsFetched(int first, int last);
    void RowChanged(int row);
    void RowAppended(int row);
    void CurrentChanged(int row);

protected:
    virtual QStringList SelectSQL() const = 0;
    virtual bool ParamCheckForSelect() const { return true; }
    virtual void BindSelectParams(TFbSQL&) {}
    virtual bool Accept(const TFbRecord&) const { return true; }
    // Writes the edited row; `inserting` tells a new row from a changed one.
    virtual void WriteRow(bool inserting, const TFbRow& oldRow, const TFbRow& newRow) = 0;
    void BindRow(TFbSQL& sql, const TFbRow& oldRow, const TFbRow& newRow) const;
    void CheckActive() const;

private:
    bool FetchOne();
    TFbSQL FCursor;
    TFbFieldDefs FFieldDefs;
    QVector<TFbRecord> FRows;
    TDataSetState FState = TDataSetState::Inactive;
    int FCurrent = -1;
    bool FEof = true;
    bool FBof = true;
    bool FAllFetched = true;
    bool FPrepared = false;
    TFbRow FEditRow;
};

// The modify and insert statements a query runs to post an edited or a new row, with the row's
// values bound to the parameters named after the fields (":NAME", ":OLD_NAME" for the old value).
class TFbUpdateSQL {
public:
    QStringList ModifySQL;
    QStringList InsertSQL;
};

class TFbQuery : public TFbDataSet {
    Q_OBJECT
public:
    explicit TFbQuery(QObject* owner = nullptr) : TFbDataSet(owner) {}

    QStringList SQL;  // changed only while the query is closed
    bool ParamCheck = true;
    void SetParam(const QString& name, const QVariant& value) { FParams.insert(name.toUpper(), value); }
    TFbUpdateSQL* UpdateObject = nullptr;

    // Closed, given `sql` as its text and opened again; without a text, reopened with the one it has
    // (and the parameters set meanwhile).
    void Reopen(const QStringList& sql) {
        Close();
        SQL = sql;
        Open();
    }
    void Reopen() {
        Close();
        Open();
    }
    // Closed and given `sql` as its text, prepared for the openings that follow.
    using TFbDataSet::Prepare;
    void Prepare(const QStringList& sql) {
        Close();
        SQL = sql;
        Prepare();
    }

protected:
    QStringList SelectSQL() const override { return SQL; }
    bool ParamCheckForSelect() const override { return ParamCheck; }
    void BindSelectParams(TFbSQL& sql) override;
    void WriteRow(bool inserting, const TFbRow& oldRow, const TFbRow& newRow) override;

private:
    QHash<QString, QVariant> FParams;
};
