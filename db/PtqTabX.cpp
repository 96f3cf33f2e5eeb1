#include "db/PtqTabX.h"

#include "db/ConnessioneDB.h"
#include "db/Errore.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"

#include <QDebug>

namespace {

const QStringList SQLLettura{"SELECT", "  TESTO,", "  MEMO", "FROM", "  TABX", "WHERE", "  NOME=:NOME", "  AND",
                             "  UTENTE IS NOT DISTINCT FROM :UTENTE"};

// The MERGE that updates the named value column of the matching row or inserts a new row.
QStringList SQLScrittura(const QString& colonna) {
    return {"MERGE INTO TABX A", "USING(", "  SELECT", "    CAST(:NOME AS VARCHAR(64)) AS NOME", "  FROM",
            "    RDB$DATABASE", ") B ON", "A.NOME=B.NOME", "AND", "A.UTENTE IS NOT DISTINCT FROM :UTENTE",
            "WHEN MATCHED THEN UPDATE SET", "A." + colonna + "=:VALORE", "WHEN NOT MATCHED THEN INSERT(", "CODICE,",
            "NOME,", colonna + ",", "UTENTE", ")", "VALUES(", "GEN_ID(CODICETABXCOUNTER,1),", ":NOME,", ":VALORE,",
            ":UTENTE", ")"};
}

QVariant ParametroUtente(int utente) { return utente == 0 ? QVariant() : QVariant(utente); }

}  // namespace

TPtqTabX::TPtqTabX(QObject* owner) : QObject(owner) {}

TPtqTabX::~TPtqTabX() {
    if (!FOnUpdating) return;
    try {
        EndUpdate();
    } catch (const Exception& e) {
        qWarning().noquote() << "TABX: commit del blocco non riuscito:" << e.Message();
    }
}

TFbTransaction& TPtqTabX::Transazione() {
    if (!FTransaction) {
        FTransaction = std::make_unique<TFbTransaction>(FDatabase);
        FTransaction->Params() = QStringList{"concurrency", "nowait"};
    }
    return *FTransaction;
}

TFbSQL& TPtqTabX::Statement(std::unique_ptr<TFbSQL>& statement, const QStringList& righe) {
    if (!statement) {
        statement = std::make_unique<TFbSQL>(FDatabase, &Transazione());
        statement->SetSQL(righe);
    }
    return *statement;
}

void TPtqTabX::BeginUpdate() {
    Transazione().Start();
    FOnUpdating = true;
}

void TPtqTabX::EndUpdate() {
    // a failed commit leaves the batch open: its writes are still there to commit
    Transazione().Commit();
    FOnUpdating = false;
}

QString TPtqTabX::Leggi(const QString& nome, int utente, const QString& colonna) {
    TFbSQL& lettura = Statement(FSQLRead, SQLLettura);
    if (!FOnUpdating) Transazione().Start();
    QString risultato;
    try {
        lettura.SetParam("NOME", nome);
        lettura.SetParam("UTENTE", ParametroUtente(utente));
        lettura.ExecQuery();
        if (!lettura.Eof()) risultato = lettura.FieldByName(colonna).AsString();
        lettura.Close();
    } catch (...) {
        if (!FOnUpdating) Transazione().Rollback();
        throw;
    }
    if (!FOnUpdating) Transazione().Rollback();
    return risultato;
}

void TPtqTabX::Scrivi(std::unique_ptr<TFbSQL>& statement, const QString& colonna, const QString& nome,
                      const QString& valore, int utente) {
    TFbSQL& scrittura = Statement(statement, SQLScrittura(colonna));
    if (!FOnUpdating) Transazione().Start();
    try {
        scrittura.SetParam("NOME", nome);
        scrittura.SetParam("VALORE", SostituisciApice(valore, "''"));
        scrittura.SetParam("UTENTE", ParametroUtente(utente));
        scrittura.ExecQuery();
    } catch (...) {
        // The failed write's transaction holds nothing, yet it is ended so the next call can start one.
        if (!FOnUpdating) {
            try {
                Transazione().Commit();
            } catch (const Exception&) {
            }
        }
        throw;
    }
    if (!FOnUpdating) Transazione().Commit();
}

QString TPtqTabX::GetParametroTesto(const QString& nome, int utente) { return Leggi(nome, utente, "TESTO"); }
QString TPtqTabX::GetParametroMemo(const QString& nome, int utente) { return Leggi(nome, utente, "MEMO"); }

void TPtqTabX::SetParametroTesto(const QString& nome, const QString& valore, int utente) {
    Scrivi(FSQLWriteTesto, "TESTO", nome, valore, utente);
}

void TPtqTabX::SetParametroMemo(const QString& nome, const QString& valore, int utente) {
    Scrivi(FSQLWriteMemo, "MEMO", nome, valore, utente);
}
