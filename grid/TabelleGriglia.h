#pragma once
// The grid's settings tables (column layout, search-dialog position, preferences, key/value
// values) and the operation that creates whichever of them is missing.
#include <QString>
#include <QStringList>
#include <QVector>

class TFbDatabase;

struct TTabellaGriglia {
    QString Nome;
    // The CREATE statement, line by line, sent as it stands: Firebird 3 accepts the trailing ";".
    QStringList Creazione;
};

// The four tables in the order they are checked: STOASP1, STOPOS1, SETGRID, TABX.
const QVector<TTabellaGriglia>& TabelleGriglia();

// Creates each missing table in one transaction on `database`; errors reach the caller with the
// transaction left uncommitted.
void CheckTabPtqGrid(TFbDatabase* database);
