#pragma once
// The user's grid preferences (table SETGRID by default) and the TABX flag that disables the
// column-layout memory.
#include "grid/ColoriGriglia.h"

#include <QString>

class TFbDatabase;

struct TPreferenzeGriglia {
    TColore ColoreRecordSelezionato = 0;
    TColore ColoreCampoIndicizzato = 0;
    TColore ColoreCampoOrdinamento = 0;
    bool AbilitaTimer = false;
    bool AbilitaRicF5Sempre = false;
};

// Reads the row of `tabella` for the user and project (defaults when there is none, and in place
// of zero or null colours) into `preferenze`, then the TABX row "DisabilitaMemPosGriglie" into
// `disabilitaMemPos`. An error of the first read reaches the caller with nothing changed; an
// error of the TABX read is swallowed and leaves `disabilitaMemPos` as it was.
void LeggiPreferenzeGriglia(TFbDatabase* database, const QString& tabella, int utente, int progetto,
                            TPreferenzeGriglia& preferenze, bool& disabilitaMemPos);
