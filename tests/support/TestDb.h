#pragma once
// Fresh embedded databases for one test program, in a temporary folder removed at the end.
#include "db/Errore.h"
#include "db/FbDatabase.h"
#include "sql/DemoData.h"

#include <QTemporaryDir>

class TTestDir {
public:
    TTestDir();
    QString Path(const QString& name) const { return FDir.filePath(name); }
    QString Root() const { return FDir.path(); }

    // A new database from the named scripts (DemoData::ScriptArchivio(), ...).
    QString NuovoDatabase(const QString& name, const QStringList& scripts, const QString& charset = DemoData::CharsetAziendale());
    // Archive with the base demo content, and a user database whose user 1 points at it.
    QString NuovoArchivioDemo(const QString& name = QStringLiteral("archivio.fdb"),
                              const QString& charset = DemoData::CharsetAziendale());
    QString NuovoUtentiDemo(const QString& archivio, const QString& name = QStringLiteral("user.fdb"));

private:
    QTemporaryDir FDir;
};

// Opens `db` on `name` as every connection of the program does.
void Connetti(TFbDatabase& db, const QString& name);

// Runs one statement (no parameters) in its own committed transaction.
void EseguiSQL(TFbDatabase& db, const QString& sql);
// First column of the first row of a query, as text (empty when there is no row).
QString ValoreSQL(TFbDatabase& db, const QString& sql);

// Installs in `db`'s database a commit trigger that refuses the commits of a connection while
// RifiutaCommit(connection, true) is in force there, with the message "commit rifiutato".
void InstallaRifiutoCommit(TFbDatabase& db);
void RifiutaCommit(TFbDatabase& connessione, bool rifiuta);

// Host text of the loopback Firebird server the test command starts ("localhost" or "localhost/port"),
// empty when no server is running for this test run.
QString ServerDiTest();
// Folder the server can write its databases to, and the alias it knows for ALIAS_DB there.
QString CartellaServerDiTest();
