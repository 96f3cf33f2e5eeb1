#include "bench/datalayer/ArchivioBench.h"

#include "db/Errore.h"
#include "sql/DemoData.h"

namespace {

QString Modello(const TModalitaBench& modalita) {
    return modalita.Server() ? modalita.Cartella + "/bench-XXXXXX" : QString();
}

}  // namespace

TArchivioBench::TArchivioBench(const QString& nome, const TModalitaBench& modalita)
    : Dir(Modello(modalita)), Path(Dir.filePath(nome)),
      Connessione(modalita.Server() ? modalita.Host + ":" + Path : Path) {
    if (!Dir.isValid()) throw Exception("cannot create a folder for the archive: " + Dir.errorString());
    Preparazione.start();
    DemoData::CreaDatabase(Connessione, DemoData::ScriptArchivio());
    DemoData::Connetti(Db, Connessione);
}
