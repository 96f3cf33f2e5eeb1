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

// Key of a user's rows in the layout and dialog-position tables: the table's name, the project,
// the working situation (negative while layout memory is disabled) and the user.
struct TChiaveImpostazioni {
    QString Tabella;
    int Progetto = 0;
    int Situazione = 0;
    int Utente = 0;
};

// The three lines that select a key's rows: "WHERE (CodiceSituazione=..)", "AND (CodiceUtente=..)",
// "AND (CodiceProgetto=..)".
QStringList LineeChiave(const TChiaveImpostazioni& chiave);
// The table's name between double quotes, as the statements on these tables write it.
QString TabellaQuotata(const TChiaveImpostazioni& chiave);

// Seconds a write to the settings tables waits for a row that another connection holds (the same
// user's other window, say) before it fails with the database's message.
extern int AttesaBloccoImpostazioni;
// Parameters of the transactions that write settings rows: read committed, so a row committed
// meanwhile is written over, and a locked row waited for AttesaBloccoImpostazioni seconds at most.
QStringList ParametriScritturaImpostazioni();

// Creates each missing table in one transaction on `database`; errors reach the caller with the
// transaction left uncommitted.
void CheckTabPtqGrid(TFbDatabase* database);
