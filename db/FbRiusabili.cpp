#include "db/FbRiusabili.h"

#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"

TFbRiusabili::TFbRiusabili(TFbDatabase& database) : FDatabase(database) {}

TFbRiusabili::~TFbRiusabili() = default;

const TFbFieldDefs& TFbRiusabili::CampiRisultato(const QStringList& sql) {
    const QString testo = sql.join('\n');
    const auto trovati = FCampi.constFind(testo);
    if (trovati != FCampi.cend()) return *trovati;
    TFbTransaction transazione(&FDatabase);
    transazione.Params() = TFbTransaction::ReadOnlyParams();
    transazione.Start();
    TFbSQL query(&FDatabase, &transazione);
    query.SetParamCheck(false);
    query.SetSQL(sql);
    TFbFieldDefs campi = query.FieldDefs();
    query.FreeHandle();
    transazione.Rollback();
    return *FCampi.insert(testo, std::move(campi));
}

void TFbRiusabili::Libera() {
    for (auto& [chiave, liberi] : FLiberi)
        for (auto& sql : liberi) sql->FreeHandle();
    FLiberi.clear();
    FCampi.clear();
}

std::unique_ptr<TFbSQL> TFbRiusabili::Prendi(const QString& chiave, const QStringList& sql, bool paramCheck) {
    auto trovati = FLiberi.find(chiave);
    if (trovati != FLiberi.end() && !trovati->second.empty()) {
        std::unique_ptr<TFbSQL> preso = std::move(trovati->second.back());
        trovati->second.pop_back();
        return preso;
    }
    auto nuovo = std::make_unique<TFbSQL>(&FDatabase);
    nuovo->SetParamCheck(paramCheck);
    nuovo->SetSQL(sql);
    return nuovo;
}

void TFbRiusabili::Restituisci(const QString& chiave, std::unique_ptr<TFbSQL> sql) {
    FLiberi[chiave].push_back(std::move(sql));
}

TFbSQLRiusato::TFbSQLRiusato(TFbDatabase* database, TFbTransaction* transaction, const QStringList& sql, bool paramCheck)
    : FChiave(QString(paramCheck ? "P\n" : "T\n") + sql.join('\n')) {
    FSQL = database ? database->Riusabili().Prendi(FChiave, sql, paramCheck) : std::make_unique<TFbSQL>();
    FSQL->SetTransaction(transaction);
    FSQL->ClearParams();
}

TFbSQLRiusato::~TFbSQLRiusato() {
    FSQL->Close();
    FSQL->SetTransaction(nullptr);
    // a connection destroyed meanwhile takes nothing back: the statement goes with this
    if (TFbDatabase* database = FSQL->Database()) {
        try {
            database->Riusabili().Restituisci(FChiave, std::move(FSQL));
        } catch (...) {
        }
    }
}
