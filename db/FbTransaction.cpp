#include "db/FbTransaction.h"

#include "db/FbClient.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"

using namespace Firebird;

TFbTransaction::TFbTransaction(TFbDatabase* database, QObject* owner) : QObject(owner) { SetDefaultDatabase(database); }

TFbTransaction::~TFbTransaction() {
    try {
        if (Active()) Rollback();
    } catch (...) {
    }
    if (FHandle) FHandle->release();
    for (TFbSQL* s : FStatements) s->FTransaction = nullptr;
    if (FDatabase) FDatabase->FTransactions.remove(this);
}

void TFbTransaction::SetDefaultDatabase(TFbDatabase* database) {
    if (database == FDatabase) return;
    if (Active()) throw EDatabaseError("Impossibile cambiare database a una transazione attiva");
    if (FDatabase) FDatabase->FTransactions.remove(this);
    FDatabase = database;
    if (FDatabase) FDatabase->FTransactions.insert(this);
}

ITransaction* TFbTransaction::Handle() const {
    if (!FHandle) throw EDatabaseError("Transazione non attiva");
    return FHandle;
}

void TFbTransaction::Start() {
    if (FHandle) throw EDatabaseError("Transazione già attiva");
    if (!FDatabase) throw EDatabaseError("Transazione senza database");
    IAttachment* att = FDatabase->Handle();
    FHandle = FbClient::Call([&](ThrowStatusWrapper& st) {
        IXpbBuilder* tpb = FbClient::Util()->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0);
        for (const QString& p : FParams) {
            const QString name = p.trimmed().toLower();
            if (name == "concurrency") tpb->insertTag(&st, isc_tpb_concurrency);
            else if (name == "consistency") tpb->insertTag(&st, isc_tpb_consistency);
            else if (name == "read_committed") tpb->insertTag(&st, isc_tpb_read_committed);
            else if (name == "rec_version") tpb->insertTag(&st, isc_tpb_rec_version);
            else if (name == "no_rec_version") tpb->insertTag(&st, isc_tpb_no_rec_version);
            else if (name == "nowait") tpb->insertTag(&st, isc_tpb_nowait);
            else if (name == "wait") tpb->insertTag(&st, isc_tpb_wait);
            else if (name == "read") tpb->insertTag(&st, isc_tpb_read);
            else if (name == "write") tpb->insertTag(&st, isc_tpb_write);
            else {
                tpb->dispose();
                throw EDatabaseError(QString("Parametro di transazione \"%1\" non supportato").arg(p));
            }
        }
        try {
            ITransaction* tra = att->startTransaction(&st, tpb->getBufferLength(&st), tpb->getBuffer(&st));
            tpb->dispose();
            return tra;
        } catch (...) {
            tpb->dispose();
            throw;
        }
    });
}

void TFbTransaction::EndStatements() {
    const QList<TFbSQL*> statements(FStatements.begin(), FStatements.end());
    for (TFbSQL* s : statements) {
        if (s->OnTransactionEnd) s->OnTransactionEnd();
        else s->Close();
    }
}

void TFbTransaction::FreeStatements() {
    const QList<TFbSQL*> statements(FStatements.begin(), FStatements.end());
    for (TFbSQL* s : statements) s->FreeHandle();
}

void TFbTransaction::Commit() {
    ITransaction* h = Handle();
    EndStatements();
    FbClient::Call([&](ThrowStatusWrapper& st) { h->commit(&st); });
    FHandle = nullptr;
}

void TFbTransaction::CommitRetaining() {
    ITransaction* h = Handle();
    FbClient::Call([&](ThrowStatusWrapper& st) { h->commitRetaining(&st); });
}

void TFbTransaction::Rollback() {
    ITransaction* h = Handle();
    EndStatements();
    FbClient::Call([&](ThrowStatusWrapper& st) { h->rollback(&st); });
    FHandle = nullptr;
}
