#pragma once
// The archive database the launcher reads the print's data from, found as the suite's programs
// find it: "ParametriZelScan.ini" in the launcher's folder or in the folder above (the launcher
// may sit in the program's "Combit" subfolder), its section CONFIG for the user database and the
// company (DITTA), the user given to the launcher, and that user's archive parameter there.
#include <QString>

class QObject;
class TFbDatabase;

// The INI file's path, or empty when neither folder holds one.
QString TrovaIniFelgora(const QString& cartellaProgramma);

// Opens `archivio` for `utente`; raises Exception with the reason.
void ConnettiArchivioFelgora(const QString& fileIni, int utente, QObject* owner, TFbDatabase& archivio);
