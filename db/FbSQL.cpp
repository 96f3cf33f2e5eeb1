#include "db/FbSQL.h"

#include "db/Charset.h"
#include "db/ContatoriDB.h"
#include "db/FbClient.h"
#include "db/FbDatabase.h"
#include "db/FbParams.h"
#include "db/FbTransaction.h"
#include "db/FbValues.h"

using namespace Firebird;

TFbSQL::TFbSQL(TFbDatabase* database, TFbTransaction* transaction) {
    SetDatabase(database);
    SetTransaction(transaction);
}

TFbSQL::~TFbSQL() {
    try {
        FreeHandle();
    } catch (...) {
    }
    if (FTransaction) FTransaction->FStatements.remove(this);
}

void TFbSQL::SetDatabase(TFbDatabase* database) {
    if (database == FDatabase) return;
    FreeHandle();
    FDatabase = database;
}

void TFbSQL::SetTransaction(TFbTransaction* transaction) {
    if (transaction == FTransaction) return;
    Close();
    if (FTransaction) FTransaction->FStatements.remove(this);
    FTransaction = transaction;
    if (FTransaction) FTransaction->FStatements.insert(this);
}

void TFbSQL::SetSQL(const QStringList& lines) {
    FreeHandle();
    FSQL = lines;
    FValues.clear();
}

void TFbSQL::SetParamCheck(bool value) {
    if (value == FParamCheck) return;
    FreeHandle();
    FParamCheck = value;
}

void TFbSQL::CheckReady() {
    if (!FDatabase) throw EDatabaseError("Database non assegnato");
    if (!FTransaction) throw EDatabaseError("Transazione non assegnata");
    if (!FDatabase->Connected()) FDatabase->Open();
    if (!FTransaction->Active()) FTransaction->Start();
}

void TFbSQL::Prepare() {
    if (FStatement) return;
    CheckReady();
    QString text = SQLText();
    FPositions.clear();
    FNames.clear();
    if (FParamCheck) {
        TParsedSQL parsed = ParseNamedParams(text);
        text = parsed.Text;
        FPositions = parsed.Positions;
        FNames = parsed.Names;
    }
    const QByteArray bytes = Charset::Encode(text, FDatabase->DefaultCharset());
    IAttachment* att = FDatabase->Handle();
    ITransaction* tra = FTransaction->Handle();
    FbClient::Call([&](ThrowStatusWrapper& st) {
        ContatoriDB::Preparazione(FSQL);
        IStatement* stmt = att->prepare(&st, tra, bytes.size(), bytes.constData(), 3,
                                        IStatement::PREPARE_PREFETCH_METADATA);
        try {
            FInMeta = stmt->getInputMetadata(&st);
            FOutMeta = stmt->getOutputMetadata(&st);
            const unsigned type = stmt->getType(&st);
            // The engine would end or replace the transaction behind TFbTransaction's back.
            if (type == isc_info_sql_stmt_start_trans || type == isc_info_sql_stmt_commit ||
                type == isc_info_sql_stmt_rollback)
                throw EDatabaseError(
                    "COMMIT, ROLLBACK e SET TRANSACTION non sono ammessi come comandi SQL: "
                    "la transazione si conclude con Commit o Rollback del suo componente");
            FIsSelect = type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
            FFieldDefs = FbValues::DescribeFields(st, FOutMeta, FDatabase->DefaultCharset());
            FOutBuffer = QByteArray(int(FOutMeta->getMessageLength(&st)), 0);
            if (!FParamCheck) {
                for (unsigned i = 0; i < FInMeta->getCount(&st); ++i) FPositions << QString::number(i);
            } else if (unsigned(FPositions.size()) != FInMeta->getCount(&st)) {
                throw EDatabaseError("Parametri del comando SQL non riconosciuti");
            }
        } catch (...) {
            if (FInMeta) FInMeta->release();
            if (FOutMeta) FOutMeta->release();
            FInMeta = FOutMeta = nullptr;
            stmt->release();
            throw;
        }
        FStatement = stmt;
    });
}

void TFbSQL::FreeHandle() {
    Close();
    if (FInMeta) FInMeta->release();
    if (FOutMeta) FOutMeta->release();
    FInMeta = FOutMeta = nullptr;
    if (FStatement) {
        IStatement* stmt = FStatement;
        FStatement = nullptr;
        const bool connected = FDatabase && FDatabase->Connected();
        if (connected) {
            try {
                FbClient::Call([&](ThrowStatusWrapper& st) { stmt->free(&st); });
                stmt = nullptr;
            } catch (const EDatabaseError&) {
            }
        }
        if (stmt) stmt->release();
    }
    FFieldDefs.clear();
}

QStringList TFbSQL::ParamNames() {
    Prepare();
    return FParamCheck ? FNames : FPositions;
}

void TFbSQL::SetParam(const QString& name, const QVariant& value) { FValues.insert(name.toUpper(), value); }

void TFbSQL::ClearParams() { FValues.clear(); }

void TFbSQL::ExecQuery() {
    Close();
    Prepare();
    CheckReady();
    IAttachment* att = FDatabase->Handle();
    ITransaction* tra = FTransaction->Handle();
    FbClient::Call([&](ThrowStatusWrapper& st) {
        TFbRow values;
        for (const QString& name : FPositions) values << FValues.value(name);
        FbValues::InputMessage in(st, att, tra, FInMeta, values, FDatabase->DefaultCharset());
        ContatoriDB::Esecuzione(FSQL);
        if (FIsSelect) {
            FResultSet = FStatement->openCursor(&st, tra, in.Meta(), in.Buffer(), FOutMeta, 0);
            FEof = false;
            FRowsAffected = 0;
        } else {
            const bool hasOutput = FOutMeta->getCount(&st) > 0;
            FStatement->execute(&st, tra, in.Meta(), in.Buffer(), FOutMeta, hasOutput ? FOutBuffer.data() : nullptr);
            FRowsAffected = qint64(FStatement->getAffectedRecords(&st));
            FEof = !hasOutput;
            if (hasOutput) FRecord = FbValues::ReadRecord(st, att, tra, FOutBuffer.constData(), FFieldDefs);
        }
    });
    if (FIsSelect) Next();
}

bool TFbSQL::Next() {
    if (!FResultSet) {
        FEof = true;
        return false;
    }
    IAttachment* att = FDatabase->Handle();
    ITransaction* tra = FTransaction->Handle();
    const bool got = FbClient::Call([&](ThrowStatusWrapper& st) {
        ContatoriDB::Fetch();
        if (FResultSet->fetchNext(&st, FOutBuffer.data()) != IStatus::RESULT_OK) return false;
        FRecord = FbValues::ReadRecord(st, att, tra, FOutBuffer.constData(), FFieldDefs);
        return true;
    });
    if (!got) {
        FEof = true;
        FRecord = TFbRecord();
    }
    return got;
}

void TFbSQL::Close() {
    FEof = true;
    FRecord = TFbRecord();
    if (!FResultSet) return;
    IResultSet* rs = FResultSet;
    FResultSet = nullptr;
    try {
        FbClient::Call([&](ThrowStatusWrapper& st) { rs->close(&st); });
        rs = nullptr;
    } catch (const EDatabaseError&) {
    }
    if (rs) rs->release();
}

const TFbFieldDefs& TFbSQL::FieldDefs() {
    Prepare();
    return FFieldDefs;
}

int TFbSQL::FieldIndex(const QString& name) const {
    for (int i = 0; i < FFieldDefs.size(); ++i)
        if (FFieldDefs[i].Name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

TFbField TFbSQL::FieldByName(const QString& name) const {
    const int i = FieldIndex(name);
    if (i < 0) throw EDatabaseError(QString("Campo %1 non trovato").arg(name));
    return Field(i);
}

TFbField TFbSQL::Field(int index) const {
    return TFbField(&FFieldDefs[index], FRecord, index);
}
