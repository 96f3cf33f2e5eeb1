#pragma once
// What a connection keeps for the statements that run again and again (a grid's settings reads and
// writes at every opening of its source): the statements prepared for their text, lent out by
// TFbSQLRiusato to one transaction at a time, and the result fields of a text, learnt once. On a
// server each prepare is a round trip; these are paid once per connection. Everything is dropped
// when the connection closes, so a connection opened again prepares anew.
#include "db/FbFieldDef.h"

#include <QHash>
#include <QStringList>
#include <memory>
#include <unordered_map>
#include <vector>

class TFbDatabase;
class TFbSQL;
class TFbTransaction;

class TFbRiusabili {
public:
    explicit TFbRiusabili(TFbDatabase& database);
    ~TFbRiusabili();

    // The result fields of `sql` (names, types, origins), learnt at the first call by preparing the
    // text in a read-only transaction of its own. Database errors reach the caller.
    const TFbFieldDefs& CampiRisultato(const QStringList& sql);

    // Frees every statement kept, while the connection is still attached.
    void Libera();

private:
    friend class TFbSQLRiusato;
    std::unique_ptr<TFbSQL> Prendi(const QString& chiave, const QStringList& sql, bool paramCheck);
    void Restituisci(const QString& chiave, std::unique_ptr<TFbSQL> sql);

    TFbDatabase& FDatabase;
    std::unordered_map<QString, std::vector<std::unique_ptr<TFbSQL>>> FLiberi;  // idle, by parameter mode and text
    QHash<QString, TFbFieldDefs> FCampi;                            // by text
};

// A statement of `database` for `sql`, borrowed from the connection's kept ones and bound to
// `transaction`: prepared at the first use of its text, given back (closed) when this ends. Two at
// once for the same text are two statements.
class TFbSQLRiusato {
public:
    TFbSQLRiusato(TFbDatabase* database, TFbTransaction* transaction, const QStringList& sql, bool paramCheck = true);
    ~TFbSQLRiusato();
    TFbSQLRiusato(const TFbSQLRiusato&) = delete;
    TFbSQLRiusato& operator=(const TFbSQLRiusato&) = delete;

    TFbSQL& operator*() const { return *FSQL; }
    TFbSQL* operator->() const { return FSQL.get(); }

private:
    QString FChiave;
    std::unique_ptr<TFbSQL> FSQL;
};
