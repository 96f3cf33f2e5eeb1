#pragma once
// The launcher's command file: ANSI text, CR LF after every line, one tagged item after the other
// between "<PtqForm>" and "</PtqForm>". An item's text runs from its opening tag to its closing
// tag and may span lines (the print's SQL does); nothing in it is escaped.
#include "tools/felgora/Esito.h"

#include <QByteArray>
#include <QStringList>

struct TComandoFelgora {
    QStringList SQLStampa;     // the print's data statement, one entry per line
    QString NomeReport;        // path of the report definition
    QString TitoloStampa;      // title of the print and of the launcher's window
    bool AnteprimaDiretta = false;
    bool EditaReportDiretto = false;
};

// Reads the bytes of a command file; never throws.
TEsito<TComandoFelgora> LeggiComandoFelgora(const QByteArray& contenuto);
