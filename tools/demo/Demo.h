#pragma once
// The demo installation: the user and archive databases, the files the log names, and the
// program's INI file that points at them.
#include <QStringList>

namespace Demo {

// Creates <dir>/user.fdb and <dir>/archivio.fdb with the demo content, <dir>/files with one
// small text file per file name of the log, the empty folder <dir>/outbox, <dir>/bin (the user's
// "Directory bin") with the report launcher's folders "report" and "Report" and a link to the
// launcher "Felgora.exe" of `cartellaIni`, and writes "ParametriZelScan.ini" into `cartellaIni`
// (the program's folder). An earlier demo in <dir> is replaced.
void Crea(const QString& dir, const QString& cartellaIni);

// Opens both databases of <dir> and checks a few rows and the files; returns the problems found.
QStringList Verifica(const QString& dir);

}  // namespace Demo
