#pragma once
// The archive database the launcher reads the print's data from, found as the suite's programs
// find it: "ParametriZelScan.ini" in the launcher's folder or in the folder above (the launcher
// may sit in the program's "Combit" subfolder), its section CONFIG for the user database, the
// user given to the launcher, and that user's archive parameter for the session's company.
#include <QString>

class QObject;
class TFbDatabase;
class TParametri;

// The INI file's path, or empty when neither folder holds one.
QString TrovaIniFelgora(const QString& cartellaProgramma);

// The company of the print for `utente`: the one the calling program runs with, from its
// environment (ZELSCANFILE_DITTA, print/Felgora.h), else the INI file's DITTA. Raises Exception
// when neither names one, or when the environment's session (ZELSCANFILE_UTENTE) is another
// user's.
QString DittaFelgora(int utente, const TParametri* ini);

// Opens `archivio` for `utente` and DittaFelgora's company; raises Exception with the reason.
void ConnettiArchivioFelgora(const QString& fileIni, int utente, QObject* owner, TFbDatabase& archivio);
