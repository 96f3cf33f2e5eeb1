#include "db/FbDataSet.h"

#include "db/Errore.h"
#include "db/FbDatabase.h"
#include "db/FbTransaction.h"

TFbDataSet::TFbDataSet(QObject* owner) : QObject(owner) {
    // ending the transaction closes the data set, with its events, as closing it by hand does
    FCursor.OnTransactionEnd = [this] { Close(); };
}

TFbDataSet::~TFbDataSet() = default;

void TFbDataSet::SetDatabase(TFbDatabase* database) {
    if (Active()) Close();
    FCursor.SetDatabase(database);
}

void TFbDataSet::SetTransaction(TFbTransaction* transaction) {
    if (Active()) Close();
    FCursor.SetTransaction(transaction);
}

void TFbDataSet::CheckActive() const {
    if (!Active()) throw EDatabaseError("Dataset non aperto");
}

void TFbDataSet::Prepare() {
    if (Active()) Close();
    FPrepared = false;
    FCursor.SetSQL(SelectSQL());
    FCursor.SetParamCheck(ParamCheckForSelect());
    FCursor.Prepare();
    FPrepared = true;
}

void TFbDataSet::Open() {
    if (Active()) return;
    if (BeforeOpen) BeforeOpen(this);
    // a statement prepared for this very text runs again as it is; any other is prepared anew
    if (FPrepared && FCursor.Prepared() && FCursor.SQL() == SelectSQL()) {
        FCursor.ClearParams();
    } else {
        FPrepared = false;
        FCursor.SetSQL(SelectSQL());
    }
    FCursor.SetParamCheck(ParamCheckForSelect());
    BindSelectParams(FCursor);
    FCursor.ExecQuery();
    FFieldDefs = FCursor.FieldDefs();
    FRows.clear();
    FAllFetched = false;
    FState = TDataSetState::Browse;
    FCurrent = -1;
    // the cursor already stands on its first row: keep it if the filter takes it
    if (!FCursor.Eof()) {
        if (Accept(FCursor.Record())) FRows << FCursor.Record();
        else FetchOne();
    } else {
        FAllFetched = true;
    }
    if (FRows.isEmpty() && !FAllFetched) FetchOne();
    FCurrent = FRows.isEmpty() ? -1 : 0;
    FBof = true;
    FEof = FRows.isEmpty();
    emit Opened();
    if (AfterOpen) AfterOpen(this);
}

void TFbDataSet::Close() {
    if (!Active()) return;
    if (BeforeClose) BeforeClose(this);
    FCursor.Close();
    FRows.clear();
    FRows.squeeze();
    FEditRow.clear();
    FState = TDataSetState::Inactive;
    FCurrent = -1;
    FEof = FBof = true;
    FAllFetched = true;
    emit Closed();
    if (AfterClose) AfterClose(this);
}

bool TFbDataSet::FetchOne() {
    while (!FAllFetched) {
        if (!FCursor.Next()) {
            FAllFetched = true;
            FCursor.Close();
            return false;
        }
        if (Accept(FCursor.Record())) {
            FRows << FCursor.Record();
            return true;
        }
    }
    return false;
}

int TFbDataSet::FetchMore(int count) {
    if (!Active()) return 0;
    const int first = int(FRows.size());
    for (int i = 0; i < count && FetchOne(); ++i) {
    }
    const int added = int(FRows.size()) - first;
    if (added > 0) emit RowsFetched(first, int(FRows.size()) - 1);
    return added;
}

void TFbDataSet::MoveTo(int row) {
    CheckActive();
    if (row >= FRows.size()) FetchMore(row - int(FRows.size()) + 1);
    FCurrent = qBound(FRows.isEmpty() ? -1 : 0, row, int(FRows.size()) - 1);
    FBof = FEof = false;
    emit CurrentChanged(FCurrent);
}

void TFbDataSet::First() {
    CheckActive();
    FCurrent = FRows.isEmpty() ? -1 : 0;
    FBof = true;
    FEof = FRows.isEmpty();
    emit CurrentChanged(FCurrent);
}

void TFbDataSet::Next() {
    CheckActive();
    if (FCurrent + 1 >= FRows.size() && FetchMore(1) == 0) {
        FEof = true;
        return;
    }
    ++FCurrent;
    FBof = false;
    emit CurrentChanged(FCurrent);
}

void TFbDataSet::Prior() {
    CheckActive();
    if (FCurrent <= 0) {
        FBof = true;
        return;
    }
    --FCurrent;
    FEof = false;
    emit CurrentChanged(FCurrent);
}

void TFbDataSet::Last() {
    CheckActive();
    FetchMore(std::numeric_limits<int>::max());
    FCurrent = int(FRows.size()) - 1;
    FEof = true;
    FBof = FRows.isEmpty();
    emit CurrentChanged(FCurrent);
}

int TFbDataSet::FieldIndex(const QString& name) const {
    for (int i = 0; i < FFieldDefs.size(); ++i)
        if (FFieldDefs[i].Name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int TFbDataSet::RequiredFieldIndex(const QString& name) const {
    const int i = FieldIndex(name);
    if (i < 0) throw EDatabaseError(QString("Campo %1 non trovato").arg(name));
    return i;
}

TFbField TFbDataSet::FieldByName(const QString& name) const { return Field(RequiredFieldIndex(name)); }

TFbField TFbDataSet::Field(int index) const {
    if (FState == TDataSetState::Edit || FState == TDataSetState::Insert)
        return TFbField(&FFieldDefs[index], TFbRecord::FromValues(FEditRow), index);
    if (FCurrent < 0 || FCurrent >= FRows.size()) return TFbField(&FFieldDefs[index], TFbRecord(), index);
    return TFbField(&FFieldDefs[index], FRows[FCurrent], index);
}

TFbField TFbDataSet::FieldOfRow(int row, int index) const { return TFbField(&FFieldDefs[index], FRows[row], index); }

void TFbDataSet::Edit() {
    CheckActive();
    if (FCurrent < 0) throw EDatabaseError("Nessun record da modificare");
    FEditRow = FRows[FCurrent].Values(FFieldDefs);
    FState = TDataSetState::Edit;
}

void TFbDataSet::Append() {
    CheckActive();
    FEditRow = TFbRow(FieldCount());
    FState = TDataSetState::Insert;
}

void TFbDataSet::SetFieldValue(const QString& name, const QVariant& value) {
    const int i = FieldIndex(name);
    if (i < 0) throw EDatabaseError(QString("Campo %1 non trovato").arg(name));
    SetFieldValue(i, value);
}

void TFbDataSet::SetFieldValue(int index, const QVariant& value) {
    if (FState != TDataSetState::Edit && FState != TDataSetState::Insert)
        throw EDatabaseError("Dataset non in modifica");
    FEditRow[index] = value;
}

void TFbDataSet::Post() {
    if (FState != TDataSetState::Edit && FState != TDataSetState::Insert) return;
    const bool inserting = FState == TDataSetState::Insert;
    const TFbRow oldRow = inserting ? TFbRow(FieldCount()) : FRows[FCurrent].Values(FFieldDefs);
    WriteRow(inserting, oldRow, FEditRow);
    if (inserting) {
        FRows << TFbRecord::FromValues(FEditRow);
        FCurrent = int(FRows.size()) - 1;
        emit RowAppended(FCurrent);
    } else {
        FRows[FCurrent] = TFbRecord::FromValues(FEditRow);
        emit RowChanged(FCurrent);
    }
    FEditRow.clear();
    FState = TDataSetState::Browse;
}

void TFbDataSet::Cancel() {
    if (FState == TDataSetState::Edit || FState == TDataSetState::Insert) FState = TDataSetState::Browse;
    FEditRow.clear();
}

void TFbDataSet::BindRow(TFbSQL& sql, const TFbRow& oldRow, const TFbRow& newRow) const {
    for (const QString& name : sql.ParamNames()) {
        const bool old = name.startsWith("OLD_") && FieldIndex(name) < 0;
        const int i = FieldIndex(old ? name.mid(4) : name);
        if (i < 0) throw EDatabaseError(QString("Campo %1 non trovato").arg(name));
        sql.SetParam(name, old ? oldRow.value(i) : newRow.value(i));
    }
}

void TFbQuery::BindSelectParams(TFbSQL& sql) {
    if (!ParamCheck || FParams.isEmpty()) return;
    for (auto it = FParams.cbegin(); it != FParams.cend(); ++it) sql.SetParam(it.key(), it.value());
}

void TFbQuery::WriteRow(bool inserting, const TFbRow& oldRow, const TFbRow& newRow) {
    if (!UpdateObject) throw EDatabaseError("Query senza oggetto di aggiornamento");
    TFbSQL sql(Database(), Transaction());
    sql.SetSQL(inserting ? UpdateObject->InsertSQL : UpdateObject->ModifySQL);
    BindRow(sql, oldRow, newRow);
    sql.ExecQuery();
}
