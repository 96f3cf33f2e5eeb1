#include "app/PreparazioneMotore.h"

#include "db/ConnessioneDB.h"
#include "db/Errore.h"
#include "db/FbDatabase.h"

#include <QtConcurrent>

QFuture<void> PreparaMotoreDatabase(const QString& fileIni) {
    TDBConnectionInfo info;
    LeggiDBConnectionInfo(info, fileIni, "CONFIG");
    if (!info.NomeServer.isEmpty() || info.PercorsoDatabase.isEmpty()) return QtFuture::makeReadyFuture();
    return QtConcurrent::run([info] {
        try {
            TFbDatabase database;
            ApriConnessione(database, info);
            database.Close();
        } catch (const Exception&) {
        }
    });
}
