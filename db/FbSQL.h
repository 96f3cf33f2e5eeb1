#pragma once
// One SQL statement on a connection and a transaction: prepare, bind, execute, fetch.
#include "db/FbField.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <functional>

namespace Firebird { class IStatement; class IResultSet; class IMessageMetadata; }
#include "db/FbDatabase.h"
#include "db/FbTransaction.h"

class TFbSQL {
public:
    TFbSQL(TFbDatabase* database = nullptr, TFbTransaction* transaction = nullptr);
    ~TFbSQL();
    TFbSQL(const TFbSQL&) = delete;
    TFbSQL& operator=(const TFbSQL&) = delete;

    TFbDatabase* Database() const { return FDatabase; }
    void SetDatabase(TFbDatabase* database);
    TFbTransaction* Transaction() const { return FTransaction; }
    void SetTransaction(TFbTransaction* transaction);

    // The statement as lines; they are sent joined by line breaks. Changing it unprepares.
    const QStringList& SQL() const { return FSQL; }
    void SetSQL(const QStringList& lines);
    QString SQLText() const { return FSQL.join('\n'); }

    // On: ":NAME" marks a named parameter (the default). Off: the text reaches the server unchanged.
    bool ParamCheck() const { return FParamCheck; }
    void SetParamCheck(bool value);

    void Prepare();
    bool Prepared() const { return FStatement != nullptr; }
    void FreeHandle();

    QStringList ParamNames();
    void SetParam(const QString& name, const QVariant& value);  // QVariant() binds NULL
    void ClearParams();

    // Executes the statement; a SELECT opens its cursor and moves to the first row.
    void ExecQuery();
    bool Open() const { return FResultSet != nullptr; }
    bool Eof() const { return FEof; }
    bool Next();  // moves to the next row; false at the end
    void Close();
    qint64 RowsAffected() const { return FRowsAffected; }
    bool IsSelect() const { return FIsSelect; }

    const TFbFieldDefs& FieldDefs();
    int FieldIndex(const QString& name) const;  // -1 when absent (names compared without case)
    TFbField FieldByName(const QString& name) const;
    TFbField Field(int index) const;
    const TFbRecord& Record() const { return FRecord; }  // the current row

    // Called when the statement's transaction ends; closes the cursor unless an owner says otherwise.
    std::function<void()> OnTransactionEnd;

private:
    friend class TFbTransaction;
    void CheckReady();
    void ReadRow();

    // owners may destroy the connection or the transaction first
    QPointer<TFbDatabase> FDatabase;
    QPointer<TFbTransaction> FTransaction;
    QStringList FSQL;
    bool FParamCheck = true;
    QStringList FPositions;       // parameter name of each placeholder
    QStringList FNames;
    QHash<QString, QVariant> FValues;
    Firebird::IStatement* FStatement = nullptr;
    Firebird::IMessageMetadata* FInMeta = nullptr;
    Firebird::IMessageMetadata* FOutMeta = nullptr;
    Firebird::IResultSet* FResultSet = nullptr;
    QByteArray FOutBuffer;        // the output message, reused by every fetch
    TFbFieldDefs FFieldDefs;
    TFbRecord FRecord;
    bool FEof = true;
    bool FIsSelect = false;
    qint64 FRowsAffected = 0;
};
