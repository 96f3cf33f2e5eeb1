#include "lookup/SQLRicerca.h"

#include "lookup/DatiRicerca.h"

namespace {

// Every single quote of the text replaced by `sostituto`.
QString SostituisciApice(QString testo, const QString& sostituto) { return testo.replace(QChar('\''), sostituto); }

}  // namespace

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
