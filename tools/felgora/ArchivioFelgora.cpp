#include "tools/felgora/ArchivioFelgora.h"

#include "app/Avvio.h"

#include <QDir>
#include <QFileInfo>

QString TrovaIniFelgora(const QString& cartellaProgramma) {
    const QDir cartella(cartellaProgramma);
    for (const QString& candidato : {cartella.filePath(TAvvio::NomeFileIni()), cartella.filePath("../" + TAvvio::NomeFileIni())})
        if (QFileInfo(candidato).isFile()) return QDir::toNativeSeparators(QDir::cleanPath(candidato));
    return {};
}

void ConnettiArchivioFelgora(const QString& fileIni, int utente, QObject* owner, TFbDatabase& archivio) {
    TAvvio avvio({}, fileIni);
    // the user is the launcher's own argument; the company and the databases come from the INI file
    TParametri parametri;
    parametri.Aggiungi("UTENTE", QString::number(utente));
    if (avvio.IniParams() && avvio.IniParams()->Contiene("DITTA")) parametri.Aggiungi("DITTA", avvio.IniParams()->Valore("DITTA"));
    avvio.LeggiUtenteDitta(parametri);
    avvio.ConnettiUtente(owner);
    avvio.ConnettiArchivio(archivio);
}
