#pragma once
// Starting a companion program from a command line and waiting for it to end.
#include <QString>
#include <QStringList>

// How the started program's first window is asked to appear.
enum class TFinestraAvvio { Nascosta, Minimizzata };

// Where the suite's companion programs are looked for: `cartellaProgramma` (this program's
// folder) with the platform separator at its end, or its subfolder "Combit" when that folder exists.
QString CartellaProgrammiSuite(const QString& cartellaProgramma);

// Splits a command line into arguments by the Windows rules (blanks and tabs separate outside
// double quotes; 2n backslashes before a quote give n and the quote toggles quoting, 2n+1 give n
// and a literal quote; "" inside quotes is a literal quote).
QStringList DividiRigaComando(const QString& riga);

// Starts `rigaComando` as a new process (handles not inherited, new process group, normal
// priority, this program's environment and folder) and waits for it without a time limit.
// False when it could not start. On Windows the line goes to CreateProcess as it stands; elsewhere
// it is split into program and arguments: when the line starts with `programma` followed by a
// blank, that text is the program even if it holds blanks, otherwise the first argument is.
bool EseguiEAttendi(const QString& rigaComando, TFinestraAvvio finestra, const QString& programma = {});
