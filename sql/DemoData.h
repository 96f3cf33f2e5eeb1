#pragma once
// Demo and test databases: schemas from the scripts of this folder and realistic content.
#include <QStringList>

class TFbDatabase;

namespace DemoData {

// Opens `db` on `path` as SYSDBA, as the suite's programs attach.
void Connetti(TFbDatabase& db, const QString& path);

// The default character set of the company's databases: they are written and read by Windows
// programs that attach without a character set, so their texts are in the ANSI code page.
inline QString CharsetAziendale() { return QStringLiteral("WIN1252"); }

// Creates a database file and runs the named scripts of this folder (":/sql/<name>.sql") in it.
void CreaDatabase(const QString& path, const QStringList& scripts, const QString& charset = CharsetAziendale());
inline QStringList ScriptArchivio() { return {"archive_schema", "grid_tables"}; }
inline QStringList ScriptUtenti() { return {"user_schema"}; }

// A small, hand-written archive: customers (one with an apostrophe, one with a line break in its
// name), orders with long and missing notes, machines, accepted and refused exports, a machine
// without a RET_MACCHINARI row and two log rows for one file name.
void PopolaArchivioBase(TFbDatabase& archivio);

// One customer with orders × machines × files accepted exports, written by the server in one block.
void AggiungiClienteGrande(TFbDatabase& archivio, const QString& codice, int ordini, int macchine, int file);

// Log rows of many customers and orders, for volume tests of the log table.
void AggiungiLogMassivo(TFbDatabase& archivio, int righe);

// Customers named from a word list, for lookup volume tests.
void AggiungiClienti(TFbDatabase& archivio, int quanti);

// Users of the user database; user 1 of company "01" points at the archive and the bin folder.
void PopolaUtenti(TFbDatabase& utenti, const QString& percorsoArchivio, const QString& directoryBin);

}  // namespace DemoData
