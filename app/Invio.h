#pragma once
// What a re-send needs before it asks the user: the log row and the scan server's address.
#include <QString>

class TFbDatabase;
class TParametri;

struct TRecordLog {
    bool Trovato = false;
    QString DatoInput;   // order series (NULL reads empty)
    int NrMacchina = 0;  // machine number (NULL reads 0)
};

// Reads the log row with a statement and a transaction of its own; database errors propagate,
// and a connection found lost on the way is dropped, so the next call connects again.
TRecordLog LeggiRecordLog(TFbDatabase& archivio, int id);

// The scan server's base address from the INI parameters; empty when it cannot be determined.
QString GetZelScanSrvURL(const TParametri* iniParams);
