#pragma once
// A transaction on one connection; several may be active at once on the same connection.
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <exception>

namespace Firebird { class ITransaction; }
#include "db/FbDatabase.h"
class TFbSQL;

class TFbTransaction : public QObject {
    Q_OBJECT
public:
    explicit TFbTransaction(TFbDatabase* database = nullptr, QObject* owner = nullptr);
    ~TFbTransaction() override;

    TFbDatabase* DefaultDatabase() const { return FDatabase; }
    void SetDefaultDatabase(TFbDatabase* database);

    // Transaction parameters by name: "concurrency", "nowait", "read_committed", "rec_version",
    // "read", "write", "wait", "consistency", "no_rec_version", and "lock_timeout=N" (with "wait":
    // a locked row is waited for N seconds at most). Empty: the server's defaults.
    QStringList& Params() { return FParams; }
    // A read-only transaction that reads what is committed, for reads that never write: it takes
    // no lock and cannot conflict with a writer.
    static QStringList ReadOnlyParams() { return {"read_committed", "rec_version", "read"}; }

    // Start opens the database when it is not connected.
    void Start();
    // Commit and Rollback first close the statements (their OnTransactionEnd handlers), then end
    // the transaction; an error of a handler propagates once the transaction has ended. Ending
    // the transaction again from a handler is refused.
    void Commit();
    void CommitRetaining();
    void Rollback();
    bool Active() const { return FHandle != nullptr; }

    Firebird::ITransaction* Handle() const;

private:
    friend class TFbSQL;
    friend class TFbDatabase;
    void End(bool commit);
    std::exception_ptr EndStatements();  // the first handler's error
    void FreeStatements();
    QPointer<TFbDatabase> FDatabase;
    QStringList FParams;
    Firebird::ITransaction* FHandle = nullptr;
    QSet<TFbSQL*> FStatements;
    bool FEnding = false;
};
