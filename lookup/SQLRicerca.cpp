#include "lookup/SQLRicerca.h"

#include "db/ConnessioneDB.h"
#include "lookup/DatiRicerca.h"

QStringList SQLRicerca(const TDatiRicerca& dati, const QString& testo) {
    const QString ritorno = dati.CampoRitorno();
    const QString ricerca = dati.CampoRicerca();
    QStringList sql{"SELECT"};
    if (testo.isEmpty()) sql << "FIRST 1000";
    sql << "  " + ritorno + "," << "  " + ricerca << "FROM" << "  " + dati.TabellaRicerca() << "WHERE";
    if (testo.isEmpty()) sql << "  " + ricerca + " IS NOT NULL";
    else sql << "  " + ricerca + " CONTAINING '" + SostituisciApice(testo, QStringLiteral("´")) + "'";
    sql << "ORDER BY" << "  " + ricerca;
    return sql;
}
