#include "tools/tondrik/ArgomentiTondrik.h"

#include <QMap>

QString TArgomentiTondrik::Testo() const {
    return "Comando=" + Comando + "\nTabella=" + Tabella + "\nDatabaseName=" + DatabaseName + "\nBinDir=" + BinDir +
           "\nNomeProgetto=" + NomeProgetto + "\nUtente=" + QString::number(Utente) + "\n";
}

bool LeggiArgomenti(const QStringList& argomenti, TArgomentiTondrik& risultato, QString& errore) {
    static const QStringList chiavi{"Tabella", "DatabaseName", "BinDir", "NomeProgetto", "Utente"};
    if (argomenti.isEmpty() || argomenti.first() != "VisualizzaConQuery") {
        errore = "comando mancante o sconosciuto: atteso VisualizzaConQuery";
        return false;
    }
    QMap<QString, QString> valori;
    QString ultima;
    for (const QString& argomento : argomenti.mid(1)) {
        const int uguale = argomento.indexOf('=');
        const QString chiave = uguale > 0 ? argomento.left(uguale) : QString();
        if (chiavi.contains(chiave)) {
            if (valori.contains(chiave)) {
                errore = "argomento ripetuto: " + chiave;
                return false;
            }
            valori.insert(chiave, argomento.mid(uguale + 1));
            ultima = chiave;
        } else if (!ultima.isEmpty()) {
            valori[ultima] += ' ' + argomento;
        } else {
            errore = "argomento non riconosciuto: " + argomento;
            return false;
        }
    }
    for (const QString& chiave : chiavi) {
        if (!valori.contains(chiave)) {
            errore = "argomento mancante: " + chiave;
            return false;
        }
    }
    bool numero = false;
    const int utente = valori.value("Utente").toInt(&numero);
    if (!numero) {
        errore = "Utente non numerico: " + valori.value("Utente");
        return false;
    }
    if (valori.value("Tabella").isEmpty() || valori.value("DatabaseName").isEmpty()) {
        errore = "Tabella e DatabaseName non possono essere vuoti";
        return false;
    }
    risultato = {argomenti.first(), valori.value("Tabella"), valori.value("DatabaseName"), valori.value("BinDir"),
                 valori.value("NomeProgetto"), utente};
    return true;
}
