#include "tools/felgora/ArchivioFelgora.h"

#include "app/Avvio.h"
#include "db/Errore.h"
#include "print/Felgora.h"

#include <QDir>
#include <QFileInfo>

QString TrovaIniFelgora(const QString& cartellaProgramma) {
    const QDir cartella(cartellaProgramma);
    for (const QString& candidato : {cartella.filePath(TAvvio::NomeFileIni()), cartella.filePath("../" + TAvvio::NomeFileIni())})
        if (QFileInfo(candidato).isFile()) return QDir::toNativeSeparators(QDir::cleanPath(candidato));
    return {};
}

QString DittaFelgora(int utente, const TParametri* ini) {
    const QString ditta = qEnvironmentVariable(AmbienteDitta);
    if (!ditta.isEmpty()) {
        const QString utenteSessione = qEnvironmentVariable(AmbienteUtente);
        bool numero = false;
        if (!utenteSessione.isEmpty() && (utenteSessione.toInt(&numero) != utente || !numero))
            throw Exception(QString("La ditta %1 (%2) è della sessione dell'utente %3 (%4), non dell'utente %5")
                                .arg(ditta, AmbienteDitta, utenteSessione, AmbienteUtente)
                                .arg(utente));
        return ditta;
    }
    if (ini && !ini->Valore("DITTA").isEmpty()) return ini->Valore("DITTA");
    throw Exception(QString("Ditta della stampa non indicata: manca %1 nell'ambiente e manca DITTA nella sezione "
                            "CONFIG di %2")
                        .arg(AmbienteDitta, TAvvio::NomeFileIni()));
}

void ConnettiArchivioFelgora(const QString& fileIni, int utente, QObject* owner, TFbDatabase& archivio) {
    TAvvio avvio({}, fileIni);
    // the user is the launcher's own argument; the databases come from the INI file
    TParametri parametri;
    parametri.Aggiungi("UTENTE", QString::number(utente));
    parametri.Aggiungi("DITTA", DittaFelgora(utente, avvio.IniParams()));
    avvio.LeggiUtenteDitta(parametri);
    avvio.ConnettiUtente(owner);
    avvio.ConnettiArchivio(archivio);
}
