#pragma once
// The demo installation: the user and archive databases, the files the log names, and the
// program's INI file that points at them.
#include <QStringList>

namespace Demo {

// Where the two demo databases live: without a host, user.fdb and archivio.fdb of the demo folder,
// opened by the embedded engine; with one (a Firebird server's host text, "localhost" or
// "localhost/3051"), user.fdb and archivio.fdb of `Cartella`, a folder of that server, created
// and reached through it, so the server alone opens their files.
struct TDatabasesDemo {
    QString Host;
    QString Cartella;
    // What a connection attaches: the file, or "host:file" on the server.
    QString Utenti(const QString& dir) const;
    QString Archivio(const QString& dir) const;
};

// Creates the two databases with the demo content, <dir>/files with one small text file per
// file name of the log, the empty folder <dir>/outbox, <dir>/bin (the user's "Directory bin")
// with the report launcher's folders "report" and "Report" and a link to the launcher
// "Felgora.exe" of `cartellaIni`, and writes "ParametriZelScan.ini" into `cartellaIni` (the
// program's folder): its "PercorsoDatabase" and the user's "Archivio" parameter name the
// databases as a connection attaches them. An earlier demo in the same place is replaced.
void Crea(const QString& dir, const QString& cartellaIni, const TDatabasesDemo& databases = {});

// Opens both databases and checks a few rows and the files; returns the problems found.
QStringList Verifica(const QString& dir, const TDatabasesDemo& databases = {});

}  // namespace Demo
