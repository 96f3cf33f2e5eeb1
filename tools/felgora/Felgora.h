#pragma once
// The stand-in report launcher:  Felgora.exe [--pdf FILE] <user> <command file>
// Reads the command file and the report definition it names, runs the print's SQL on the archive
// of the user and the session's company (ArchivioFelgora.h) and shows the print preview, or the
// designer when the command file asks for it; both close with Escape, Ctrl+W, and on SIGTERM,
// SIGINT and SIGHUP. With --pdf it writes the pages to FILE instead and opens no window; a FILE
// is there only when the print succeeded. Whatever it cannot use ends in an error box (its text
// also on the error output; the program shows no box without a screen nor with --pdf) and a
// non-zero exit code.
#include <QString>
#include <QStringList>

enum TUscitaFelgora {
    ufOk = 0,
    ufArgomenti = 2,      // command line
    ufComandi = 3,        // command file
    ufDefinizione = 4,    // report definition
    ufArchivio = 5,       // INI file, user, archive
    ufStampa = 6,         // the print's data or the output
};

// `argomenti` without the program's own path; `cartellaProgramma` is where the INI file is looked for.
int EseguiFelgora(const QStringList& argomenti, const QString& cartellaProgramma);

// Arial where it is missing: a font with its metrics.
void SostituisciFontArial();
