#pragma once
// The command line of the stand-in query utility:
//   VisualizzaConQuery Tabella=<name> "DatabaseName=<db>" "BinDir=<dir>" "NomeProgetto=<name>" Utente=<n>
#include <QString>
#include <QStringList>

struct TArgomentiTondrik {
    QString Comando;
    QString Tabella;
    QString DatabaseName;
    QString BinDir;
    QString NomeProgetto;
    int Utente = 0;

    // One "Key=value" line per item, in the order above.
    QString Testo() const;
};

// Parses the arguments after the program name; on failure returns false with `errore` set.
// A table name written with blanks arrives split: pieces without a known key join the previous value.
bool LeggiArgomenti(const QStringList& argomenti, TArgomentiTondrik& risultato, QString& errore);
