#pragma once
// What an operation asks of the database, beside what its steps require: the data layer's
// counters (statements prepared and executed, fetch calls, transactions started) and the
// statements the operation sent, compared with the list of statements its steps need, so that a
// reader sees at once what runs beyond them. On a server each request is a network round trip.
#include "db/ContatoriDB.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class TFbDatabase;
class TFbSQL;
class TFbTransaction;

// Where a step's statement runs.
enum class TTransazionePasso {
    Propria,     // in a transaction of its own, started for it
    Precedente,  // in the transaction of the step before
    InCorso,     // in the data set's transaction, already running
};

// One statement a step of the operation requires, as the data layer sends it.
struct TPassoRichiesto {
    TPassoRichiesto(QString passo, QStringList sql, int esecuzioni = 1,
                    TTransazionePasso transazione = TTransazionePasso::Propria, int righe = -1)
        : Passo(std::move(passo)), SQL(std::move(sql)), Esecuzioni(esecuzioni), Transazione(transazione), Righe(righe) {}

    QString Passo;         // the step ("sort read, single column")
    QStringList SQL;       // its lines, exactly as sent
    int Esecuzioni = 1;    // 0: prepared only, to learn its result fields
    TTransazionePasso Transazione = TTransazionePasso::Propria;
    int Righe = -1;        // rows each execution of a SELECT fetches; -1 all of them
    // the parameters of execution `i` (from 0), for a statement with named parameters
    std::function<void(TFbSQL&, int i)> Parametri;
    // A statement on the grid's settings (or the origins of a base text, prepared only) that a
    // grid can prepare once per connection and run again with parameters: then its prepare, and
    // for one prepared only its transaction too, are no part of each operation.
    bool Riusabile = false;
};
using TPassi = QVector<TPassoRichiesto>;

// `passo` marked reusable.
TPassoRichiesto Riusabile(TPassoRichiesto passo);

// The steps run bare through the data layer, one statement object each, `inCorso` being the
// running transaction; a transaction of its own ends with a commit when one of its statements
// writes, else with a rollback.
void EseguiNudo(TFbDatabase& db, TFbTransaction& inCorso, const TPassi& passi);

// What the steps need: each statement prepared once and executed as listed, the transactions of
// their own; with `riusando`, the least they need once the reusable statements are prepared
// already. The fetches depend on the rows and are left at 0.
TContatoriDB CostoRichiesto(const TPassi& passi, bool riusando = false);

// The requests of what runs while it lives: the counters' difference and, per statement text,
// how often it was prepared and executed. One at a time.
class TRegistroRichieste {
public:
    TRegistroRichieste();
    ~TRegistroRichieste();
    TRegistroRichieste(const TRegistroRichieste&) = delete;
    TRegistroRichieste& operator=(const TRegistroRichieste&) = delete;

    TContatoriDB Costo() const { return FMisura.Costo(); }
    int Preparazioni(const QString& sql) const { return FTesti.value(sql).first; }
    int Esecuzioni(const QString& sql) const { return FTesti.value(sql).second; }
    QStringList Testi() const { return FTesti.keys(); }

private:
    static void Registra(ContatoriDB::TRichiesta richiesta, const QString& sql);
    ContatoriDB::TMisura FMisura;
    QMap<QString, QPair<int, int>> FTesti;  // text -> (prepared, executed)
};

// The requests of `operazione`, run once, beside the steps `passi` gives for the run just made.
struct TRichiesteOperazione {
    TContatoriDB Costo;
    TPassi Passi;
    QStringList Oltre;  // what ran beyond the steps (and steps that did not run), one line each
};
TRichiesteOperazione Richieste(const std::function<void()>& operazione, const std::function<TPassi()>& passi);

// Prints, indented: the operation's requests, the bare run's, the steps with the requests they
// need, and what ran beyond them (or that nothing did).
void StampaRichieste(const TRichiesteOperazione& operazione, const TContatoriDB& nudo);

// "4/5/60/3": prepared/executed/fetches/transactions; "-" for the fetches of a required cost.
QString Breve(const TContatoriDB& costo, bool conFetch = true);

// The figures of each operation in every mode, printed together at the end of the run.
class TRiepilogo {
public:
    void Aggiungi(const QString& modalita, const QString& operazione, qint64 tempo, qint64 tempoNudo,
                  const TRichiesteOperazione& richieste);
    // One line per operation and mode: the times, the ratio to bare and the requests beside those
    // of the steps; with two modes, the second's ratio over the first's.
    void Stampa(const QString& oggetto) const;

private:
    struct TRiga {
        qint64 Tempo = 0, TempoNudo = 0;
        TContatoriDB Costo, Richiesto, Minimo;
    };
    QStringList FModalita, FOperazioni;
    QMap<QString, QMap<QString, TRiga>> FRighe;  // operation -> mode -> figures
};
