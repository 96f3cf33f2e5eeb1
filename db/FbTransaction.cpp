#include "db/FbTransaction.h"

#include "db/ContatoriDB.h"
#include "db/FbClient.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"

#include <exception>

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
    // as a statement does: a connection dropped after a lost server attaches anew
    if (!FDatabase->Connected()) FDatabase->Open();
    IAttachment* att = FDatabase->Handle();
    FHandle = FbClient::Call([&](ThrowStatusWrapper& st) {
        IXpbBuilder* tpb = FbClient::Util()->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0);
        for (const QString& p : FParams) {
            const int eq = p.indexOf('=');
            const QString name = (eq < 0 ? p : p.left(eq)).trimmed().toLower();
            bool numero = false;
            const int valore = eq < 0 ? 0 : p.mid(eq + 1).trimmed().toInt(&numero);
            if (name == "lock_timeout" && numero && valore > 0) tpb->insertInt(&st, isc_tpb_lock_timeout, valore);
            else if (name == "concurrency") tpb->insertTag(&st, isc_tpb_concurrency);
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
            ContatoriDB::Transazione();
            ITransaction* tra = att->startTransaction(&st, tpb->getBufferLength(&st), tpb->getBuffer(&st));
            tpb->dispose();
            return tra;
        } catch (...) {
            tpb->dispose();
            throw;
        }
    });
}

std::exception_ptr TFbTransaction::EndStatements() {
    std::exception_ptr erroreGestore;
    const QList<TFbSQL*> statements(FStatements.begin(), FStatements.end());
    for (TFbSQL* s : statements) {
        if (!FStatements.contains(s)) continue;  // freed by an earlier handler
        try {
            if (s->OnTransactionEnd) s->OnTransactionEnd();
        } catch (...) {
            if (!erroreGestore) erroreGestore = std::current_exception();
        }
        if (FStatements.contains(s)) s->Close();
    }
    return erroreGestore;
}

void TFbTransaction::FreeStatements() {
    const QList<TFbSQL*> statements(FStatements.begin(), FStatements.end());
    for (TFbSQL* s : statements)
        if (FStatements.contains(s)) s->FreeHandle();
}

void TFbTransaction::End(bool commit) {
    ITransaction* h = Handle();
    if (FEnding) throw EDatabaseError("Transazione già in chiusura");
    FEnding = true;
    std::exception_ptr erroreGestore;
    try {
        erroreGestore = EndStatements();
        FbClient::Call([&](ThrowStatusWrapper& st) {
            if (commit) h->commit(&st);
            else h->rollback(&st);
        });
    } catch (...) {
        FEnding = false;
        // A failed commit leaves the transaction to roll back; a failed rollback (the connection
        // is lost) leaves nothing to end.
        if (!commit) {
            h->release();
            FHandle = nullptr;
        }
        throw;
    }
    FEnding = false;
    FHandle = nullptr;
    if (erroreGestore) std::rethrow_exception(erroreGestore);
}

void TFbTransaction::Commit() { End(true); }

void TFbTransaction::CommitRetaining() {
    ITransaction* h = Handle();
    FbClient::Call([&](ThrowStatusWrapper& st) { h->commitRetaining(&st); });
}

void TFbTransaction::Rollback() { End(false); }
